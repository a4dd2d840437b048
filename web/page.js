// SPDX-License-Identifier: GPL-3.0-or-later
// The page around the game's picture: the canvas at the window's device
// pixels (the game's scaler draws it crisp at any size), the text layer
// built from the model of the texts the game has on screen, the keys the
// current screen asks for as buttons and as places on the picture, what a
// screen reader hears, the names form, the loading progress, the service
// worker, and what the page says when the game has ended. The game itself
// is zelvanos.js; this page never decides anything the game decides: it
// shows what the game drew and offers what the game declared it reads.
'use strict';

(function() {
  var $ = function(id) { return document.getElementById(id); };
  var canvas = $('screen');
  var textsEl = $('texts');
  var keysEl = $('keys');
  var live = $('live');
  var notice = $('notice');
  var params = new URLSearchParams(location.search);

  // The 16 colours as the text layer shows them: the picture's hues, light
  // enough to read on the layer's dark ground.
  var COLOURS = ['#000000', '#9a9aff', '#3fd23f', '#3fd2d2', '#ff7070', '#ff70ff', '#e0a040', '#c8c8c8',
                 '#a8a8a8', '#9a9aff', '#54fc54', '#54fcfc', '#fc6464', '#fc64fc', '#fcfc54', '#fcfcfc'];
  function colour(index) { return COLOURS[index & 15]; }

  var ready = false;      // the game reads keys: the page's own buffer is done
  var pending = [];       // keys typed before that
  var model = null;       // the texts on screen: {revision, texts}
  var offer = null;       // what the screen asks for now
  var sent = false;       // a key was sent for this wait
  var lastWait = -1;
  var heard = {keys: {}, question: '', item: '', items: ''};

  function game() { return window.Module && Module.ZelvanosWeb; }
  // The module's exports, called on a stack of their own (the game sleeps).
  function call(name) {
    return Module.ZelvanosWeb.text(name);
  }
  function callText(name, texts) {
    return Module.ZelvanosWeb.text(name, texts);
  }

  // --- The picture -------------------------------------------------------

  // The canvas takes the place the style gives it, at the device's pixels;
  // the game's scaler fills them (crisp at whole and between whole sizes).
  function layout() {
    placeCorner();
    var ratio = window.devicePixelRatio || 1;
    canvas.style.width = '';
    canvas.style.height = '';
    var rect = canvas.getBoundingClientRect();
    var w = Math.max(1, Math.round(rect.width * ratio));
    var h = Math.max(1, Math.round(rect.height * ratio));
    canvas.style.width = w / ratio + 'px';
    canvas.style.height = h / ratio + 'px';
    if (canvas.width !== w || canvas.height !== h) {
      canvas.width = w;
      canvas.height = h;
      if (game() && Module.ZelvanosWeb.context) Module.ZelvanosWeb.present();
    }
  }
  // On a desktop the page's own buttons stand in the window's margin beside
  // the picture; a window without one gives them a row under the picture,
  // which is that much smaller: they never cover it.
  function placeCorner() {
    var root = document.documentElement;
    var margin = (innerWidth - Math.min(innerWidth, innerHeight * 4 / 3)) / 2;
    root.classList.toggle('corner-row', !root.classList.contains('touch') && margin < 56);
  }
  window.addEventListener('resize', layout);
  document.addEventListener('fullscreenchange', layout);
  layout();

  function toggleFullscreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (document.documentElement.requestFullscreen) {
      document.documentElement.requestFullscreen().catch(function() {});
    }
  }
  $('fullscreen').addEventListener('click', function(e) {
    toggleFullscreen();
    e.currentTarget.blur();
  });

  // --- Keys --------------------------------------------------------------

  // The names form and other fields keep their keys from the game.
  function inField(e) {
    return e.target && e.target.closest && e.target.closest('dialog, input, textarea');
  }
  window.addEventListener('keydown', function(e) {
    if (inField(e)) {
      e.stopPropagation();
      return;
    }
    if (e.altKey && e.key === 'Enter') {
      toggleFullscreen();
      e.preventDefault();
      e.stopPropagation();
      return;
    }
    // A key on a focused button of the page is the button's.
    if ((e.key === 'Enter' || e.key === ' ') && e.target && e.target.tagName === 'BUTTON') {
      e.stopPropagation();
      return;
    }
    // Before the game reads keys the page keeps those that are the game's.
    if (!ready && !e.ctrlKey && !e.altKey && !e.metaKey &&
        (e.key.length === 1 || /^(Enter|Escape|Backspace|Arrow(Up|Down|Left|Right))$/.test(e.key))) {
      pending.push(e.key);
      e.preventDefault();
    }
  }, true);

  // Sends the offered key `index` of this wait, once.
  function choose(index) {
    if (!offer || sent || !offer.asking) return false;
    if (!Module.ZelvanosWeb.call('zelvanos_web_choose', [offer.wait, index])) return false;
    sent = true;
    document.querySelectorAll('.target, #keys button').forEach(function(b) { b.disabled = true; });
    return true;
  }

  // A control that asks twice when its key ends something.
  function confirmable(button, index, key) {
    var armed = 0;
    button.addEventListener('click', function() {
      if (!key.confirm || (armed && performance.now() - armed < 4000)) {
        choose(index);
        return;
      }
      armed = performance.now();
      button.classList.add('confirming');
      button.textContent = 'Biztos? ' + key.label;
      say('Még egy érintés: ' + key.label);
      setTimeout(function() {
        if (!button.isConnected) return;
        armed = 0;
        button.classList.remove('confirming');
        button.textContent = key.label;
      }, 4000);
    });
  }

  // A tap or click on the picture: the offered place under it, if it holds text.
  canvas.addEventListener('click', function(e) {
    if (!offer || !offer.asking || !model) return;
    var rect = canvas.getBoundingClientRect();
    var x = (e.clientX - rect.left) / rect.width * 800;
    var y = (e.clientY - rect.top) / rect.height * 600;
    offer.keys.forEach(function(key, index) {
      var p = key.place;
      if (!p || x < p[0] - 3 || x > p[2] + 3 || y < p[1] - 3 || y > p[3] + 3) return;
      if (textsIn(p).length === 0) return;  // an emptied box answers nothing
      choose(index);
    });
  });

  // --- The text layer ----------------------------------------------------

  // Box-drawing characters that frame a text are no words; a text of
  // nothing else is a drawn rule.
  var FRAME_START = /^[\u2500-\u257f\s]+/;
  var FRAME_END = /[\u2500-\u257f\s]+$/;
  var GLYPHS = /^[\s\u0000-\u001f]*$/;                   // picture glyphs alone (the tree's faces)
  var WORDLESS = /^[^0-9A-Za-z\u00c0-\u024f]*$/;          // no letter or digit: a drawing of marks
  var LETTER = /^[A-Za-z\u00c0-\u024f]$/;

  function inside(t, p) {
    return t.x >= p[0] - 1 && t.y >= p[1] - 1 && t.x + t.w - 1 <= p[2] + 1 && t.y + t.h - 1 <= p[3] + 1;
  }
  function textsIn(p) {
    return model.texts.filter(function(t) { return inside(t, p); }).sort(function(a, b) { return a.x - b.x; });
  }
  function byReading(a, b) { return a.y - b.y || a.x - b.x; }
  function joined(texts) { return texts.map(function(t) { return t.t; }).join(' '); }
  function span(t) {
    var s = document.createElement('span');
    s.textContent = t.t;
    s.style.color = colour(t.c);
    if (t.b & 15) s.style.backgroundColor = colour(t.b);
    return s;
  }
  function element(tag, className, text) {
    var e = document.createElement(tag);
    if (className) e.className = className;
    if (text !== undefined) e.textContent = text;
    return e;
  }
  function hidden(text) { return element('span', 'visually-hidden', text); }

  // Letters drawn one by one, each on a row of its own (the greeting on the
  // arc around the tree), joined into their words in the order drawn: a gap
  // twice the usual between two letters parts two words.
  function joinLetters(texts) {
    var out = [];
    var run = [];
    var single = function(t) { return LETTER.test(t.t); };
    function flush() {
      if (run.length < 3) {
        out.push.apply(out, run);
      } else {
        var gaps = run.slice(1).map(function(t, i) { return Math.hypot(t.x - run[i].x, t.y - run[i].y); });
        var usual = gaps.slice().sort(function(a, b) { return a - b; })[Math.floor(gaps.length / 2)];
        var words = run[0].t;
        gaps.forEach(function(g, i) { words += (g > 2 * usual ? ' ' : '') + run[i + 1].t; });
        var left = Math.min.apply(null, run.map(function(t) { return t.x; }));
        var top = Math.min.apply(null, run.map(function(t) { return t.y; }));
        var right = Math.max.apply(null, run.map(function(t) { return t.x + t.w; }));
        out.push({x: left, y: top, w: right - left, h: run[0].h, ax: left, m: run[0].m, c: run[0].c, b: run[0].b,
                  f: -1, n: run[0].n, t: words, letters: run.length});
      }
      run = [];
    }
    texts.slice().sort(function(a, b) { return a.n - b.n; }).forEach(function(t) {
      var last = run[run.length - 1];
      if (single(t) && last && t.n === last.n + 1 && t.m === last.m && Math.abs(t.y - last.y) > 2) {
        run.push(t);
        return;
      }
      flush();
      if (single(t)) {
        run.push(t);
      } else {
        out.push(t);
      }
    });
    flush();
    return out;
  }

  // The texts as the page shows them: picture glyphs alone left out, frames
  // taken off, letters drawn one by one joined.
  function prepare(texts) {
    var out = [];
    texts.forEach(function(t) {
      if (GLYPHS.test(t.t)) return;
      var lead = t.t.length - t.t.replace(FRAME_START, '').length;
      var bare = t.t.replace(FRAME_START, '').replace(FRAME_END, '');
      if (bare !== t.t) {
        var cell = t.w / t.t.length;
        t = Object.assign({}, t, bare ? {t: bare, x: t.x + lead * cell, w: bare.length * cell} : {rule: true});
      }
      if (!t.rule && WORDLESS.test(t.t)) t.marks = true;
      out.push(t);
    });
    return joinLetters(out);
  }

  // What an answer box's fill means: the marked answer, the right one.
  function answerState(texts) {
    var filled = texts.filter(function(t) { return t.b & 15; })[0];
    if (!filled) return null;
    var roles = JSON.parse(call('zelvanos_web_colours'));
    var b = filled.b & 255;
    if (b === roles.mark && b === roles.flash) return {cls: 'marked', word: 'kiemelve'};
    if (b === roles.flash) return {cls: 'right', word: '✔ helyes válasz'};
    if (b === roles.mark) return {cls: 'marked', word: '◆ megjelölve'};
    return {cls: 'marked', word: 'kiemelve'};
  }

  // Rows of texts (the same row of the picture), in reading order. A row's
  // columns are where its texts were drawn from (a right-aligned amount
  // starts with blanks), so rows drawn to the same columns make a table.
  function lines(texts) {
    var rows = [];
    texts.slice().sort(byReading).forEach(function(t) {
      var row = rows[rows.length - 1];
      if (row && Math.abs(row.y - t.y) <= 2) {
        row.texts.push(t);
      } else {
        rows.push({y: t.y, texts: [t]});
      }
    });
    rows.forEach(function(r) {
      r.texts.sort(function(a, b) { return a.x - b.x; });
      r.columns = r.texts.length + ':' + r.texts.slice(1).map(function(t) { return t.ax; }).join(',');
      r.marks = r.texts.every(function(t) { return t.marks; });
      r.rule = r.texts.every(function(t) { return t.rule; });
    });
    return rows;
  }
  function tableRun(rows, i) {
    var j = i;
    while (j < rows.length && rows[j].texts.length > 1 && rows[j].columns === rows[i].columns) ++j;
    return j - i >= 2 ? j : i;
  }
  // A single text over a table whose words fall into the table's columns
  // is its heading row (the list's "H. Név ... Dátum").
  function headings(row, first) {
    if (!row || row.texts.length !== 1 || row.marks || row.rule) return null;
    var t = row.texts[0];
    var anchors = first.texts.map(function(c) { return c.ax; });
    if (t.x < anchors[0] - 8 * t.m) return null;
    var cell = t.w / t.t.length;
    var cells = anchors.map(function() { return ''; });
    for (var k = 0; k < t.t.length; ++k) {
      var at = t.x + cell * k;
      var column = 0;
      while (column + 1 < anchors.length && at >= anchors[column + 1]) ++column;
      cells[column] += t.t[k];
    }
    cells = cells.map(function(c) { return c.trim(); });
    return cells.every(Boolean) ? cells : null;
  }
  // A drawing of marks alone (the about screen's letters of commas), as it
  // stands, for the eye only.
  function drawing(rows) {
    var all = [].concat.apply([], rows.map(function(r) { return r.texts; }));
    var cell = 8 * all[0].m;
    var left = Math.min.apply(null, all.map(function(t) { return t.x; }));
    var pre = element('pre', 'drawing');
    pre.setAttribute('role', 'img');
    pre.setAttribute('aria-label', 'Írásjelekből rajzolt kép');
    pre.textContent = rows.map(function(r) {
      var line = '';
      r.texts.forEach(function(t) {
        var at = Math.round((t.x - left) / cell);
        while (line.length < at) line += ' ';
        line = line.slice(0, at) + t.t;
      });
      return line;
    }).join('\n');
    return pre;
  }
  function renderRows(rows, into) {
    for (var i = 0; i < rows.length;) {
      var r = rows[i];
      if (r.rule) {
        if (!into.lastChild || into.lastChild.tagName !== 'HR') into.appendChild(element('hr'));
        ++i;
        continue;
      }
      if (r.marks) {
        var k = i;
        while (k < rows.length && rows[k].marks) ++k;
        into.appendChild(drawing(rows.slice(i, k)));
        i = k;
        continue;
      }
      var head = null;
      var from = i;
      if (tableRun(rows, i) === i && i + 1 < rows.length && tableRun(rows, i + 1) > i + 1) {
        head = headings(r, rows[i + 1]);
        if (head) from = i + 1;
      }
      var j = tableRun(rows, from);
      if (j > from) {
        into.appendChild(table(rows.slice(from, j), head, into.tagName === 'ASIDE'));
        i = j;
        continue;
      }
      var line = element(r.texts.length > 1 ? 'div' : 'p', r.texts.length > 1 ? 'line' : '');
      if (r.texts.every(function(t) { return t.m >= 3; })) line.classList.add('large');
      r.texts.forEach(function(t) { line.appendChild(span(t)); });
      into.appendChild(line);
      ++i;
    }
  }
  function table(rows, head, folding) {
    var t = element('table');
    if (head) {
      var tr = element('tr');
      head.forEach(function(h) {
        var th = element('th', '', h);
        th.scope = 'col';
        tr.appendChild(th);
      });
      t.appendChild(element('thead')).appendChild(tr);
    }
    var body = t.appendChild(element('tbody'));
    rows.forEach(function(r) {
      var tr = element('tr');
      r.texts.forEach(function(x) { tr.appendChild(element('td')).appendChild(span(x)); });
      tr.dataset.frame = r.texts.map(function(x) { return x.f; }).join(',');
      body.appendChild(tr);
    });
    var current = markOddRow(body);
    if (!current || !folding) return t;
    // The ladder folds away; its current prize stays in sight.
    var details = element('details');
    var summary = element('summary', '', 'Nyeremény most: ');
    var cells = Array.prototype.slice.call(current.cells, 0, -1).map(function(c) { return c.textContent.trim(); });
    // The prize, then its row's label (the question's number).
    summary.appendChild(element('strong', '', cells.slice(1).join(' ') || cells[0]));
    if (cells.length > 1) summary.appendChild(element('span', 'number', '(' + cells[0] + '. kérdés)'));
    details.appendChild(summary);
    details.appendChild(t);
    return details;
  }
  // The one row framed unlike the rest (the ladder's current prize).
  function markOddRow(body) {
    var counts = {};
    var trs = Array.prototype.slice.call(body.rows);
    trs.forEach(function(tr) { counts[tr.dataset.frame] = (counts[tr.dataset.frame] || 0) + 1; });
    var odd = trs.filter(function(tr) { return counts[tr.dataset.frame] === 1; });
    if (trs.length >= 3 && odd.length === 1) {
      odd[0].classList.add('current');
      odd[0].setAttribute('aria-current', 'step');
      odd[0].appendChild(element('td', '', '◀ most'));
      return odd[0];
    }
    return null;
  }

  // A chart's columns: a row of single letters with a number standing over
  // each (the audience's answer). Returns {letters, numbers, texts} or null.
  function chart(texts) {
    var rows = lines(texts);
    for (var i = 0; i < rows.length; ++i) {
      var letters = rows[i].texts;
      if (letters.length < 2 || !letters.every(function(t) { return /^[A-Z]$/.test(t.t); })) continue;
      var numbers = letters.map(function(l) {
        return texts.filter(function(t) {
          return /^\d+$/.test(t.t) && t.y < l.y && t.y > l.y - 130 && Math.abs(t.x - l.x) <= 8;
        })[0];
      });
      if (numbers.every(Boolean)) return {letters: letters, numbers: numbers, texts: letters.concat(numbers)};
    }
    return null;
  }
  function chartTable(c) {
    var t = element('table', 'chart');
    var head = element('tr');
    var values = element('tr');
    c.letters.forEach(function(l, i) {
      var th = element('th', '', l.t);
      th.scope = 'col';
      head.appendChild(th);
      values.appendChild(element('td')).appendChild(span(c.numbers[i]));
    });
    t.appendChild(element('thead')).appendChild(head);
    t.appendChild(element('tbody')).appendChild(values);
    return t;
  }
  function chartWords(c) {
    return c.letters.map(function(l, i) { return l.t + ': ' + c.numbers[i].t; }).join(', ');
  }

  // Blocks in the order they stand on the picture; rows next to each other
  // with the same columns stay one table.
  function renderBlocks(blocks, into) {
    blocks.sort(function(a, b) { return a.y - b.y; });
    var rows = [];
    function flush() {
      if (rows.length) renderRows(rows, into);
      rows = [];
    }
    blocks.forEach(function(b) {
      if (b.row) {
        rows.push(b.row);
      } else {
        flush();
        into.appendChild(b.node);
      }
    });
    flush();
  }

  // The question's box and the answers' boxes of the question screen on
  // show: taken from the question's key read, they hold until the screen
  // is cleared. No other screen has answers.
  var standing = null;  // {screen, focus, answers}

  function render() {
    textsEl.textContent = '';
    keysEl.textContent = '';
    if (!model) return;
    var asking = offer && offer.asking;
    var keys = asking ? offer.keys : [];
    var claimed = new Set();
    var blocks = [];

    var answerKeys = asking === 'question' ? keys.filter(function(k) { return k.place; }) : [];
    if (answerKeys.length) {
      standing = {screen: model.screen, focus: offer.focus, answers: answerKeys.map(function(k) { return k.place; })};
    } else if (standing && standing.screen !== model.screen) {
      standing = null;
    }

    // The header: the title and the date line above every screen.
    var header = model.texts.filter(function(t) { return t.y + t.h <= 45; });
    if (header.length) {
      var top = element('header', 'header');
      header.sort(byReading).forEach(function(t) {
        claimed.add(t);
        top.appendChild(span(t));
      });
      blocks.push({y: -1, node: top});
    }

    // The question's box.
    if (standing && standing.focus) {
      var q = textsIn(standing.focus).filter(function(t) { return !claimed.has(t); });
      q.forEach(function(t) { claimed.add(t); });
      if (q.length) {
        var h = element('h2', 'question');
        h.setAttribute('aria-label', 'Kérdés: ' + joined(q.sort(byReading)));
        q.forEach(function(t, i) {
          if (i) h.appendChild(document.createTextNode(' '));
          h.appendChild(span(t));
        });
        blocks.push({y: standing.focus[1], node: h});
      }
    }

    // The answers: offered, or standing from the question on this screen.
    if (standing) {
      var grid = element('div', 'answers');
      grid.setAttribute('role', 'group');
      grid.setAttribute('aria-label', 'Válaszok');
      standing.answers.forEach(function(place, i) {
        var key = answerKeys[i] || null;
        var texts = textsIn(place);
        texts.forEach(function(t) { claimed.add(t); });
        if (!texts.length) return;
        var b = element('button', 'target' + (key ? '' : ' plain'));
        b.type = 'button';
        texts.forEach(function(t) { b.appendChild(span(t)); });
        var state = answerState(texts);
        if (state) {
          b.classList.add(state.cls);
          b.appendChild(element('span', 'state', state.word));
        }
        if (key) {
          confirmable(b, offer.keys.indexOf(key), key);
        } else {
          b.setAttribute('aria-disabled', 'true');
        }
        grid.appendChild(b);
      });
      if (grid.firstChild) blocks.push({y: standing.answers[0][1], node: grid});
    }

    // A menu's items: a tap chooses the item.
    var itemKeys = asking === 'menu' ? keys.filter(function(k) { return k.place; }) : [];
    if (itemKeys.length) {
      var list = element('div', 'items');
      list.setAttribute('role', 'group');
      list.setAttribute('aria-label', 'Menü');
      itemKeys.forEach(function(k) {
        // The item's label, and what is drawn from its place on its row (a switch's [BE] or [KI]).
        var own = textsIn(k.place);
        var texts = own.concat(model.texts.filter(function(t) {
          return Math.abs(t.y - k.place[1]) <= 1 && t.ax === k.place[0] && t.x > k.place[2];
        }));
        texts.forEach(function(t) { claimed.add(t); });
        if (!texts.length) return;
        var b = element('button', 'target');
        b.type = 'button';
        var current = k.bytes.length === 1 && k.bytes[0] === 13;
        if (current) {
          b.setAttribute('aria-current', 'true');
          b.appendChild(element('span', '', '▶ '));
        }
        texts.forEach(function(t, i) {
          if (i) b.appendChild(document.createTextNode(' '));
          b.appendChild(span(t));
        });
        if (own.some(function(t) { return (t.c & 15) === 2; })) {
          b.appendChild(element('span', 'state', '✓'));
          b.appendChild(hidden(' (beállítva)'));
        }
        if (current) b.appendChild(hidden(' (kijelölve)'));
        confirmable(b, offer.keys.indexOf(k), k);
        list.appendChild(b);
      });
      blocks.push({y: itemKeys[0].place[1], node: list});
    }

    // Everything else, row by row: the picture's main part, then its
    // right-hand column (the ladder, the audience's chart, the small logo).
    var rest = model.texts.filter(function(t) { return !claimed.has(t); });
    var main = rest.filter(function(t) { return t.x < 640; });
    var side = rest.filter(function(t) { return t.x >= 640; });
    lines(main).forEach(function(r) { blocks.push({y: r.y, row: r}); });
    renderBlocks(blocks, textsEl);
    if (side.length) {
      var aside = element('aside');
      aside.setAttribute('aria-label', 'Jobb oldal');
      var sideBlocks = [];
      var c = chart(side);
      if (c) {
        side = side.filter(function(t) { return c.texts.indexOf(t) < 0; });
        sideBlocks.push({y: Math.min.apply(null, c.numbers.map(function(t) { return t.y; })), node: chartTable(c)});
      }
      lines(side).forEach(function(r) { sideBlocks.push({y: r.y, row: r}); });
      renderBlocks(sideBlocks, aside);
      textsEl.appendChild(aside);
    }

    // The keys with no place of their own.
    keys.forEach(function(k, index) {
      if (k.place) return;
      var b = element('button', '', k.label);
      b.type = 'button';
      b.dataset.index = index;
      confirmable(b, index, k);
      keysEl.appendChild(b);
    });
    if (sent) document.querySelectorAll('.target, #keys button').forEach(function(b) { b.disabled = true; });

    // The names: this page is where a browser player sets them.
    var names = asking && offer.topic === 'names';
    notice.hidden = !names;
    if (names && !notice.firstChild) {
      notice.appendChild(element('p', '', 'A böngészőben a játékos és a műsorvezető nevét itt állíthatja be.'));
      var open = element('button', '', 'Nevek beállítása');
      open.type = 'button';
      open.addEventListener('click', openNames);
      notice.appendChild(open);
    }
    if (!names) notice.textContent = '';
  }

  // --- What a screen reader hears -----------------------------------------

  function say(text) {
    if (!text) return;
    live.textContent = '';
    // A new text node each time, so that the same words are said again.
    setTimeout(function() { live.textContent = text; }, 30);
  }

  function textKey(t) { return t.x + ',' + t.y + ',' + t.t; }
  // New texts in reading order, a drawing of marks said as such once.
  function spoken(texts) {
    var words = [];
    var drawn = false;
    texts.forEach(function(t) {
      if (t.rule) return;
      if (t.marks) {
        if (!drawn) words.push('(írásjelekből rajzolt kép)');
        drawn = true;
        return;
      }
      words.push(t.t);
    });
    return words.join(' ');
  }
  function announce() {
    if (!model || !offer || !offer.asking) return;
    var now = {};
    model.texts.forEach(function(t) { now[textKey(t)] = true; });
    var fresh = model.texts.filter(function(t) { return !heard.keys[textKey(t)]; }).sort(byReading);
    var parts = [];
    if (offer.asking === 'question') {
      var q = offer.focus ? joined(textsIn(offer.focus).sort(byReading)) : '';
      var answers = offer.keys.filter(function(k) { return k.place; }).map(function(k) { return joined(textsIn(k.place)); })
          .filter(Boolean);
      if (q !== heard.question) {
        parts.push('Kérdés: ' + q);
        parts.push(answers.join('. '));
        heard.question = q;
      } else {
        parts.push(spoken(fresh.filter(function(t) { return t.x < 640; })));
        var side = fresh.filter(function(t) { return t.x >= 640; });
        var c = chart(side);
        if (c) parts.push('A közönség: ' + chartWords(c) + '.');
        parts.push('Válaszok: ' + answers.join('. '));
      }
    } else if (offer.asking === 'menu') {
      var items = offer.keys.filter(function(k) { return k.place; });
      var labels = items.map(function(k) { return joined(textsIn(k.place)); }).join('|');
      var current = items.filter(function(k) { return k.bytes.length === 1 && k.bytes[0] === 13; })[0];
      var label = current ? joined(textsIn(current.place)) : '';
      if (labels !== heard.items) {
        parts.push('Menü, ' + items.length + ' elem.');
        heard.items = labels;
        heard.item = '';
      }
      if (label !== heard.item) parts.push('Kijelölve: ' + label);
      heard.item = label;
    } else {
      heard.items = '';
      parts.push(spoken(fresh));
      (standing ? standing.answers : []).forEach(function(p) {
        var texts = textsIn(p);
        var state = texts.length && answerState(texts);
        if (state) parts.push(state.word.replace(/^[^\wÁÉÍÓÖŐÚÜŰáéíóöőúüű]+/, '') + ': ' + joined(texts));
      });
    }
    if (offer.topic === 'names' && notice.firstChild) parts.push(notice.firstChild.textContent);
    heard.keys = now;
    say(parts.filter(Boolean).join(' '));
  }

  // --- Keeping up with the game -----------------------------------------

  function update() {
    var w = game();
    if (!w) return;
    var changed = false;
    var next = JSON.parse(call('zelvanos_web_texts'));
    if (!model || next.revision !== model.revision) {
      next.texts = prepare(next.texts);
      model = next;
      changed = true;
    }
    var nextOffer = JSON.parse(call('zelvanos_web_offer'));
    if (!offer || nextOffer.wait !== offer.wait || nextOffer.asking !== offer.asking) {
      if (nextOffer.wait !== lastWait && nextOffer.asking) sent = false;
      offer = nextOffer;
      changed = true;
    }
    if (changed) render();
    if (offer.asking && offer.wait !== lastWait) {
      lastWait = offer.wait;
      announce();
    }
    // For tests and tools: the key wait the page has shown.
    document.body.dataset.wait = offer.wait;
  }

  // --- Loading ------------------------------------------------------------

  var loading = $('loading');
  var loadingText = $('loading-text');
  var loadingBar = $('loading-bar');
  var needTimer = 0;
  function showNeed(s) {
    clearTimeout(needTimer);
    if (!s.needing) {
      if (s.frames > 0) loading.hidden = true;
      return;
    }
    // Only a wait one notices gets a sign.
    needTimer = setTimeout(function() {
      if (!s.needing) return;
      var what = s.needing.indexOf('Questions/') === 0 ? 'Kérdések betöltése…' : 'Betöltés…';
      loadingText.textContent = what + ' ' + Math.round(s.loaded / 1024) + ' KB';
      if (s.total) {
        loadingBar.max = s.total;
        loadingBar.value = s.loaded;
      } else {
        loadingBar.removeAttribute('value');
      }
      loading.hidden = false;
    }, loading.hidden ? 150 : 0);
  }

  // --- The names ----------------------------------------------------------

  var dialog = $('names-dialog');
  var player = $('name-player');
  var host = $('name-host');
  var error = $('names-error');
  function openNames() {
    if (!game()) return;
    var names = JSON.parse(call('zelvanos_web_names'));
    player.value = names.player || '';
    host.value = names.host || '';
    error.textContent = names.error || '';
    [player, host].forEach(function(f) { f.removeAttribute('aria-invalid'); });
    if (dialog.showModal) {
      dialog.showModal();
    } else {
      dialog.setAttribute('open', '');
    }
    player.focus();
  }
  function check(field) {
    var why = callText('zelvanos_web_check_name', [field.value]);
    if (why) {
      field.setAttribute('aria-invalid', 'true');
    } else {
      field.removeAttribute('aria-invalid');
    }
    return why;
  }
  [player, host].forEach(function(f) {
    f.addEventListener('input', function() { error.textContent = check(f); });
  });
  $('names-open').addEventListener('click', openNames);
  $('names-cancel').addEventListener('click', function() { dialog.close(); });
  var saving = false;
  $('names-form').addEventListener('submit', function(e) {
    e.preventDefault();
    if (saving || !game() || Module.ZelvanosWeb.state.exitCode !== null) return;
    var why = callText('zelvanos_web_set_names', [player.value, host.value]);
    if (why) {
      error.textContent = why;
      check(player);
      check(host);
      return;
    }
    // The game's side writes the file and says when it is done.
    saving = true;
    error.textContent = 'Mentés…';
  });
  function namesSaved(result) {
    saving = false;
    error.textContent = result;
    if (!result) {
      dialog.close();
      say('A nevek elmentve.');
    }
  }

  // --- The game's module ---------------------------------------------------

  function message(text, restart) {
    $('message-text').textContent = text;
    $('restart').hidden = !restart;
    $('message').hidden = false;
  }
  $('restart').addEventListener('click', function() { location.reload(); });

  var errors = [];
  window.Module = {
    canvas: canvas,
    print: function(text) { console.log(text); },
    printErr: function(text) {
      errors.push(text);
      console.warn(text);
    },
    onReady: function() {
      ready = true;
      pending.forEach(function(key) { Module.ZelvanosWeb.callText('zelvanos_web_key_event', [key], [0, 0, 0]); });
      pending = [];
    },
    onFrame: function(s) {
      if (s.frames === 1) {
        loading.hidden = true;
        setTimeout(registerWorker, 500);
      }
      update();
    },
    onKeyWait: function() { update(); },
    onNeed: showNeed,
    onTaskDone: namesSaved,
    onFinished: function(code) {
      offer = null;
      render();
      if (code === 0) {
        message('Viszontlátásra!', true);
      } else {
        message('A játék hibával állt le: ' + errors.join(' '), true);
      }
    },
    onAbort: function(what) {
      message('A játék nem indítható: ' + what, true);
    },
  };

  // --- Offline --------------------------------------------------------------

  // The service worker keeps the whole site once the game has shown its
  // first picture; a new version takes over at the next start.
  function registerWorker() {
    if (!('serviceWorker' in navigator) || params.get('sw') === '0') return;
    navigator.serviceWorker.register('sw.js').catch(function(e) { console.warn('service worker: ' + e); });
  }
})();
