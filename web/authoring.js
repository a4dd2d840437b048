// SPDX-License-Identifier: GPL-3.0-or-later
// The page's panel for a question author's own questions: a question source
// (the question tool's text format) from a file, pasted or dropped, checked
// by the tool's own compiler inside the game's module, with its messages in
// Hungarian; a source without errors is kept in the browser's storage and
// stands in for the chosen set's bank whenever the game reads it, until it
// is removed. The source can be saved back as a file byte for byte, and the
// bank it compiles to too. The game's module does all the checking and
// storing (zelvanos_web_own_*); this file only shows it.
'use strict';

(function() {
  var $ = function(id) { return document.getElementById(id); };
  var dialog = $('own-dialog');
  var setSelect = $('own-set');
  var status = $('own-status');
  var text = $('own-text');
  var fileInput = $('own-file');
  var result = $('own-result');
  var list = $('own-messages');
  var saveButton = $('own-save');
  var bankButton = $('own-bank');
  var removeButton = $('own-remove');
  var loadButton = $('own-load');

  var bytes = null;  // the source as read from its file, byte for byte; null once edited
  var busy = false;  // a change waits for the game's side
  var done = '';     // what to say once it has been stored
  var sets = [];

  function web() { return window.Module && Module.ZelvanosWeb; }
  function running() { return web() && web().state.exitCode === null; }
  function chosen() { return sets.filter(function(s) { return s.key === setSelect.value; })[0] || sets[0]; }
  // The text an export answers for the texts and bytes given.
  function answer(name, texts, data) {
    return Module.UTF8ToString(web().callBytes(name, texts, data));
  }
  function bytesOf(pointer) {
    return web().bytesAt(pointer, web().call('zelvanos_web_own_length'));
  }

  // The source to check: the file's own bytes while the text is unchanged.
  function source() { return bytes || new TextEncoder().encode(text.value); }

  function refresh() {
    var keep = setSelect.value;
    sets = JSON.parse(web().text('zelvanos_web_own_sets'));
    setSelect.textContent = '';
    sets.forEach(function(s) {
      var o = document.createElement('option');
      o.value = s.key;
      o.textContent = s.name + (s.own ? ' (saját kérdések)' : '');
      setSelect.appendChild(o);
    });
    if (keep) setSelect.value = keep;
    var s = chosen();
    status.textContent = s.own
        ? 'A(z) ' + s.name + ' csomag helyett most az Ön kérdései szólnak.'
        : 'A(z) ' + s.name + ' csomag a játékkal érkezett kérdéseket adja.';
    [saveButton, bankButton, removeButton].forEach(function(b) { b.disabled = !s.own || busy; });
    loadButton.disabled = busy;
  }

  // The checker's messages, in Hungarian, each with its line and column.
  function show(verdict) {
    list.textContent = '';
    verdict.messages.forEach(function(m) {
      var li = document.createElement('li');
      li.className = m.error ? 'error' : 'warning';
      var where = m.line > 0 ? m.line + '. sor' + (m.column > 0 ? ', ' + m.column + '. oszlop' : '') : 'A forrás';
      li.textContent = where + ': ' + (m.error ? 'hiba' : 'figyelmeztetés') + ': ' + m.text;
      list.appendChild(li);
    });
    list.hidden = verdict.messages.length === 0;
    var errors = verdict.messages.filter(function(m) { return m.error; }).length;
    var warnings = verdict.messages.length - errors;
    result.className = errors ? 'error' : '';
    if (errors) {
      result.textContent = 'A forrás hibás: ' + errors + ' hiba' + (warnings ? ', ' + warnings + ' figyelmeztetés' : '') +
          '. Javítsa ki, és töltse be újra; a kérdéscsomag nem változott.';
    } else {
      result.textContent = 'A forrás hibátlan: ' + verdict.count + ' kérdés' +
          (warnings ? ', ' + warnings + ' figyelmeztetés (tanács, nem hiba)' : '') + '. Mentés…';
    }
  }

  // Whether a change can go to the game's side now; says so when the game
  // has stopped.
  function canChange() {
    if (!web() || busy) return false;
    if (!running()) {
      result.textContent = 'A játék leállt; töltse be újra a lapot.';
      return false;
    }
    return true;
  }

  // Checks the source and, when it has no error, makes it the chosen set's.
  function load() {
    if (!canChange()) return;
    var s = chosen();
    var verdict = JSON.parse(answer('zelvanos_web_own_put', [s.key], source()));
    show(verdict);
    if (!verdict.ok) return;
    busy = true;
    done = 'Betöltve: ' + verdict.count + ' saját kérdés a(z) ' + s.name + ' csomag helyett. A játékban: ' +
        'Beállítások → Kérdések → ' + s.name + ', majd Játék kezdése.';
    refresh();
  }

  // Removing asks a second tap: the stored source goes with it.
  var armed = 0;
  function remove() {
    if (!canChange()) return;
    var s = chosen();
    if (!armed || performance.now() - armed > 4000) {
      armed = performance.now();
      removeButton.textContent = 'Biztos? Eltávolítás';
      result.className = '';
      result.textContent = 'A tárolt forrás törlődik; ha kell még, előbb mentse fájlba. Még egy érintés: eltávolítás.';
      setTimeout(function() {
        armed = 0;
        removeButton.textContent = 'Eltávolítás';
      }, 4000);
      return;
    }
    armed = 0;
    removeButton.textContent = 'Eltávolítás';
    if (!web().callText('zelvanos_web_own_remove', [s.key])) return;
    busy = true;
    list.hidden = true;
    result.className = '';
    result.textContent = 'Eltávolítás…';
    done = 'A(z) ' + s.name + ' csomag újra a játékkal érkezett kérdéseket adja.';
    refresh();
  }

  function finished(why) {
    busy = false;
    result.className = why ? 'error' : '';
    result.textContent = why ? 'Nem sikerült menteni: ' + why : done;
    refresh();
  }

  function download(data, name, type) {
    var url = URL.createObjectURL(new Blob([data], {type: type}));
    var a = document.createElement('a');
    a.href = url;
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(function() { URL.revokeObjectURL(url); }, 10000);
  }

  function saveSource() {
    var s = chosen();
    var data = bytesOf(web().callText('zelvanos_web_own_source', [s.key]));
    if (data) download(data, s.key + '.txt', 'text/plain');
  }
  function saveBank() {
    var s = chosen();
    var source = bytesOf(web().callText('zelvanos_web_own_source', [s.key]));
    if (!source) return;
    var bank = bytesOf(web().callBytes('zelvanos_web_compile_source', [], source));
    if (bank) download(bank, s.key + '.lmk', 'application/octet-stream');
  }

  // A file, picked or dropped: its bytes are the source, shown as text.
  function take(file) {
    if (!file || !web()) return;
    // Beyond the checker's limit only enough for it to say so.
    var limit = web().call('zelvanos_web_source_limit');
    var tooLarge = file.size > limit;
    (tooLarge ? file.slice(0, limit + 1) : file).arrayBuffer().then(function(buffer) {
      var data = new Uint8Array(buffer);
      // What is no source is not shown either.
      text.value = tooLarge ? '' : new TextDecoder().decode(data);
      bytes = data;
      load();
    });
  }

  function open() {
    if (!web()) return;
    refresh();
    if (dialog.showModal) {
      dialog.showModal();
    } else {
      dialog.setAttribute('open', '');
    }
  }

  $('own-open').addEventListener('click', open);
  $('own-close').addEventListener('click', function() { dialog.close(); });
  $('own-form').addEventListener('submit', function(e) {
    e.preventDefault();
    load();
  });
  setSelect.addEventListener('change', refresh);
  text.addEventListener('input', function() { bytes = null; });
  fileInput.addEventListener('change', function() {
    take(fileInput.files[0]);
    fileInput.value = '';
  });
  dialog.addEventListener('dragover', function(e) { e.preventDefault(); });
  dialog.addEventListener('drop', function(e) {
    if (!e.dataTransfer || !e.dataTransfer.files.length) return;
    e.preventDefault();
    take(e.dataTransfer.files[0]);
  });
  saveButton.addEventListener('click', saveSource);
  bankButton.addEventListener('click', saveBank);
  removeButton.addEventListener('click', remove);
  Module.onOwnQuestions = finished;
})();
