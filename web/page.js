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
  var questionPlaces = null;  // the answer boxes of the last question, while they stand
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

  function inside(t, p) {
    return t.x >= p[0] - 1 && t.y >= p[1] - 1 && t.x + t.w - 1 <= p[2] + 1 && t.y + t.h - 1 <= p[3] + 1;
  }
  function textsIn(p) {
    return model.texts.filter(function(t) { return inside(t, p); }).sort(function(a, b) { return a.x - b.x; });
  }
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

  // Lines of texts (same row of the picture), in reading order; a run of
  // lines with the same columns becomes a table.
  function lines(texts) {
    var rows = [];
    texts.slice().sort(function(a, b) { return a.y - b.y || a.x - b.x; }).forEach(function(t) {
      var row = rows[rows.length - 1];
      if (row && Math.abs(row.y - t.y) <= 2) {
        row.texts.push(t);
      } else {
        rows.push({y: t.y, texts: [t]});
      }
    });
    rows.forEach(function(r) {
      r.texts.sort(function(a, b) { return a.x - b.x; });
      // The first column may start a character later (" 9." under "10.").
      r.columns = r.texts.length + ':' + r.texts.slice(1).map(function(t) { return t.x; }).join(',');
    });
    return rows;
  }
  function renderRows(rows, into, header) {
    for (var i = 0; i < rows.length;) {
      var j = i;
      while (j < rows.length && rows[j].texts.length > 1 && rows[j].columns === rows[i].columns) ++j;
      if (j - i >= 2) {
        var table = element('table');
        rows.slice(i, j).forEach(function(r) {
          var tr = element('tr');
          var frames = r.texts.map(function(t) { return t.f; });
          r.texts.forEach(function(t) {
            var td = element('td');
            td.appendChild(span(t));
            tr.appendChild(td);
          });
          tr.dataset.frame = frames.join(',');
          table.appendChild(tr);
        });
        var current = markOddRow(table);
        if (current && into.tagName === 'ASIDE') {
          // The ladder folds away; its current prize stays in sight.
          var details = element('details');
          var summary = element('summary', '', 'Nyeremény most: ');
          var cells = Array.prototype.slice.call(current.cells, 0, -1).map(function(c) { return c.textContent; });
          summary.appendChild(element('strong', '', cells.join('  ')));
          details.appendChild(summary);
          details.appendChild(table);
          into.appendChild(details);
        } else {
          into.appendChild(table);
        }
        i = j;
        continue;
      }
      var r = rows[i];
      var line = element(r.texts.length > 1 ? 'div' : 'p', r.texts.length > 1 ? 'line' : '');
      if (header && r.y < header) line.classList.add('header');
      r.texts.forEach(function(t) { line.appendChild(span(t)); });
      into.appendChild(line);
      ++i;
    }
  }
  // The one row framed unlike the rest (the ladder's current prize).
  function markOddRow(table) {
    var counts = {};
    var trs = Array.prototype.slice.call(table.rows);
    trs.forEach(function(tr) { counts[tr.dataset.frame] = (counts[tr.dataset.frame] || 0) + 1; });
    var odd = trs.filter(function(tr) { return counts[tr.dataset.frame] === 1; });
    if (trs.length >= 3 && odd.length === 1) {
      odd[0].classList.add('current');
      odd[0].setAttribute('aria-current', 'step');
      var td = element('td', '', '◀ most');
      odd[0].appendChild(td);
      return odd[0];
    }
    return null;
  }

  function render() {
    textsEl.textContent = '';
    keysEl.textContent = '';
    if (!model) return;
    var asking = offer && offer.asking;
    var keys = asking ? offer.keys : [];
    var claimed = new Set();
    var blocks = [];

    // The question's box.
    var focus = asking && offer.focus;
    if (focus) {
      var q = textsIn(focus);
      q.forEach(function(t) { claimed.add(t); });
      if (q.length) {
        var h = element('h2', 'question');
        h.setAttribute('aria-label', 'Kérdés: ' + joined(q));
        q.sort(function(a, b) { return a.y - b.y || a.x - b.x; }).forEach(function(t, i) {
          if (i) h.appendChild(document.createTextNode(' '));
          h.appendChild(span(t));
        });
        blocks.push({y: focus[1], node: h});
      }
    }

    // The answers: offered, or standing from the last question.
    var answerKeys = keys.filter(function(k) { return k.place && offer.asking === 'question'; });
    if (answerKeys.length) {
      questionPlaces = answerKeys.map(function(k) { return k.place; });
    } else if (questionPlaces && !questionPlaces.some(function(p) { return textsIn(p).length; })) {
      questionPlaces = null;
    }
    var places = answerKeys.length ? answerKeys.map(function(k) { return {key: k, place: k.place}; })
        : (questionPlaces || []).map(function(p) { return {key: null, place: p}; });
    if (places.length) {
      var grid = element('div', 'answers');
      grid.setAttribute('role', 'group');
      grid.setAttribute('aria-label', 'Válaszok');
      places.forEach(function(a) {
        var texts = textsIn(a.place);
        texts.forEach(function(t) { claimed.add(t); });
        if (!texts.length) return;
        var b = element('button', 'target' + (a.key ? '' : ' plain'));
        b.type = 'button';
        texts.forEach(function(t) { b.appendChild(span(t)); });
        var state = answerState(texts);
        if (state) {
          b.classList.add(state.cls);
          b.appendChild(element('span', 'state', state.word));
        }
        if (a.key) {
          confirmable(b, offer.keys.indexOf(a.key), a.key);
        } else {
          b.setAttribute('aria-disabled', 'true');
        }
        grid.appendChild(b);
      });
      blocks.push({y: places[0].place[1], node: grid});
    }

    // A menu's items: a tap chooses the item.
    var itemKeys = offer && offer.asking === 'menu' ? keys.filter(function(k) { return k.place; }) : [];
    if (itemKeys.length) {
      var list = element('div', 'items');
      list.setAttribute('role', 'group');
      list.setAttribute('aria-label', 'Menü');
      itemKeys.forEach(function(k) {
        // The item's label, and what stands beside it on its row (a switch's [BE] or [KI]).
        var texts = textsIn(k.place).concat(model.texts.filter(function(t) {
          return Math.abs(t.y - k.place[1]) <= 1 && t.x > k.place[2] && t.x < 640;
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
        texts.forEach(function(t) { b.appendChild(span(t)); });
        if (texts.some(function(t) { return (t.c & 15) === 2; })) {
          b.appendChild(element('span', 'state', '✓'));
          b.appendChild(hidden(' (beállítva)'));
        }
        if (current) b.appendChild(hidden(' (kijelölve)'));
        confirmable(b, offer.keys.indexOf(k), k);
        list.appendChild(b);
      });
      blocks.push({y: itemKeys[0].place[1], node: list});
    }

    // Everything else, line by line: the picture's main part, then its
    // right-hand column (the ladder, the audience's chart).
    var rest = model.texts.filter(function(t) { return !claimed.has(t); });
    var main = rest.filter(function(t) { return t.x < 640; });
    var side = rest.filter(function(t) { return t.x >= 640; });
    var firstBlock = blocks.length ? Math.min.apply(null, blocks.map(function(b) { return b.y; })) : 0;
    lines(main).forEach(function(r) {
      var holder = document.createDocumentFragment();
      renderRows([r], holder, firstBlock);
      blocks.push({y: r.y, node: holder, row: r});
    });
    blocks.sort(function(a, b) { return a.y - b.y; });
    // Rows next to each other with the same columns stay one table.
    var pendingRows = [];
    function flush() {
      if (pendingRows.length) renderRows(pendingRows, textsEl, firstBlock);
      pendingRows = [];
    }
    blocks.forEach(function(b) {
      if (b.row) {
        pendingRows.push(b.row);
      } else {
        flush();
        textsEl.appendChild(b.node);
      }
    });
    flush();
    if (side.length) {
      var aside = element('aside');
      aside.setAttribute('aria-label', 'Jobb oldal');
      renderRows(lines(side), aside);
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
  function announce() {
    if (!model || !offer || !offer.asking) return;
    var now = {};
    model.texts.forEach(function(t) { now[textKey(t)] = true; });
    var fresh = model.texts.filter(function(t) { return !heard.keys[textKey(t)]; })
        .sort(function(a, b) { return a.y - b.y || a.x - b.x; });
    var parts = [];
    if (offer.asking === 'question') {
      var q = offer.focus ? joined(textsIn(offer.focus).sort(function(a, b) { return a.y - b.y || a.x - b.x; })) : '';
      var answers = offer.keys.filter(function(k) { return k.place; }).map(function(k) { return joined(textsIn(k.place)); })
          .filter(Boolean);
      if (q !== heard.question) {
        parts.push('Kérdés: ' + q);
        parts.push(answers.join('. '));
        heard.question = q;
      } else {
        parts.push(joined(fresh.filter(function(t) { return t.x < 640; })));
        var side = fresh.filter(function(t) { return t.x >= 640; });
        if (side.length) parts.push('A közönség: ' + joined(side));
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
      parts.push(joined(fresh));
      (questionPlaces || []).forEach(function(p) {
        var texts = textsIn(p);
        var state = texts.length && answerState(texts);
        if (state) parts.push(state.word.replace(/^[^\wÁÉÍÓÖŐÚÜŰáéíóöőúüű]+/, '') + ': ' + joined(texts));
      });
    }
    if (offer.topic === 'names') parts.push(notice.textContent);
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
      // A text of picture glyphs alone has no words to show.
      next.texts = next.texts.filter(function(t) { return t.t.trim(); });
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
