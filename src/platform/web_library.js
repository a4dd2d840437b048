// SPDX-License-Identifier: GPL-3.0-or-later
// The page's side of the web backend: the canvas, the key wait, the
// browser's storage, the files fetched from the site when the game needs
// them, and the page's address. The game's module calls these; the page
// (page.js) reads ZelvanosWeb.state for its own display and for tests.

mergeInto(LibraryManager.library, {
  $ZelvanosWeb__deps: ['malloc', 'free'],
  $ZelvanosWeb: {
    canvas: null,
    context: null,
    image: null,
    wake: null,
    framePending: false,
    syncing: null,  // the storage sync under way
    // What tests and the page watch: key waits so far, whether the game is
    // waiting for a key now, frames drawn, the exit code once it ended, the
    // file the game waits for (with the bytes loaded so far and, where
    // known, of how many) and the files the site could not give.
    state: {keyWaits: 0, waiting: false, frames: 0, firstFrameAt: 0, readyAt: 0, exitCode: null,
            needing: null, loaded: 0, total: 0, missing: []},

    // Calls the module's export `name` from the page. The game sleeps then,
    // its frames kept on the module's stack: the call runs on a stack of its
    // own, so that it never writes over them.
    pageStack: 0,
    call: function(name, args) {
      if (!ZelvanosWeb.pageStack) {
        var size = 256 * 1024;
        ZelvanosWeb.pageStack = (_malloc(size) + size) & ~15;
      }
      var saved = stackSave();
      stackRestore(ZelvanosWeb.pageStack);
      try {
        return Module['_' + name].apply(null, args || []);
      } finally {
        stackRestore(saved);
      }
    },
    // The same with texts for arguments (then numbers); returns what the export returns.
    callText: function(name, texts, numbers) {
      var pointers = texts.map(function(text) {
        var size = lengthBytesUTF8(text) + 1;
        var p = _malloc(size);
        stringToUTF8(text, p, size);
        return p;
      });
      try {
        return ZelvanosWeb.call(name, pointers.concat(numbers || []));
      } finally {
        pointers.forEach(function(p) { _free(p); });
      }
    },
    // The text an export returns.
    text: function(name, texts) {
      return UTF8ToString(texts ? ZelvanosWeb.callText(name, texts) : ZelvanosWeb.call(name));
    },

    // The keyboard: a key the game has bytes for is the game's.
    onKey: function(e) {
      if (ZelvanosWeb.callText('zelvanos_web_key_event', [e.key],
                               [e.ctrlKey ? 1 : 0, e.altKey ? 1 : 0, e.metaKey ? 1 : 0])) {
        e.preventDefault();
      }
    },

    // Draws the picture at the canvas's size (the page sets it in device pixels).
    present: function() {
      ZelvanosWeb.framePending = false;
      var canvas = ZelvanosWeb.canvas;
      var w = canvas.width, h = canvas.height;
      if (!ZelvanosWeb.image || ZelvanosWeb.image.width !== w || ZelvanosWeb.image.height !== h) {
        ZelvanosWeb.image = ZelvanosWeb.context.createImageData(w, h);
      }
      var pixels = ZelvanosWeb.call('zelvanos_web_frame', [w, h]);
      ZelvanosWeb.image.data.set(HEAPU8.subarray(pixels, pixels + w * h * 4));
      ZelvanosWeb.context.putImageData(ZelvanosWeb.image, 0, 0);
      var s = ZelvanosWeb.state;
      if (s.frames++ === 0) s.firstFrameAt = performance.now();
      if (Module['onFrame']) Module['onFrame'](s);
    },

    // A file of the site (a path such as "Sounds/Main.mp3"), fetched once:
    // a promise of its bytes, or of null when the site does not give it.
    files: {},
    fetchFile: function(path) {
      if (!ZelvanosWeb.files[path]) {
        ZelvanosWeb.files[path] = fetch(locateFile(path)).then(function(response) {
          if (!response.ok) return null;
          var s = ZelvanosWeb.state;
          var coded = response.headers.get('Content-Encoding');
          var total = coded ? 0 : Number(response.headers.get('Content-Length')) || 0;
          if (!response.body || !response.body.getReader) {
            return response.arrayBuffer().then(function(b) { return new Uint8Array(b); });
          }
          var reader = response.body.getReader();
          var parts = [], length = 0;
          function pump() {
            return reader.read().then(function(step) {
              if (step.done) {
                var bytes = new Uint8Array(length), at = 0;
                parts.forEach(function(p) { bytes.set(p, at); at += p.length; });
                return bytes;
              }
              parts.push(step.value);
              length += step.value.length;
              if (s.needing === path) {
                s.loaded = length;
                s.total = total;
                if (Module['onNeed']) Module['onNeed'](s);
              }
              return pump();
            });
          }
          return pump();
        }).catch(function() { return null; });
      }
      return ZelvanosWeb.files[path];
    },

    mounts: {},  // folder -> promise of 0 (loaded) or 1 (no storage)
    mount: function(path) {
      if (!ZelvanosWeb.mounts[path]) {
        try {
          FS.mkdirTree(path);
          FS.mount(IDBFS, {}, path);
          ZelvanosWeb.mounts[path] = ZelvanosWeb.sync(true);
        } catch (e) {
          ZelvanosWeb.mounts[path] = Promise.resolve(1);
        }
      }
      return ZelvanosWeb.mounts[path];
    },

    // Runs one storage sync after the one before it.
    sync: function(populate) {
      var next = (ZelvanosWeb.syncing || Promise.resolve()).then(function() {
        return new Promise(function(resolve) {
          FS.syncfs(populate, function(error) { resolve(error ? 1 : 0); });
        });
      });
      ZelvanosWeb.syncing = next;
      return next;
    },
  },

  zelvanos_web_open__deps: ['$ZelvanosWeb'],
  zelvanos_web_open: function(title) {
    document.title = UTF8ToString(title);
    var canvas = Module['canvas'] || document.getElementById('screen');
    if (!canvas.width || !canvas.height) {
      canvas.width = 800;
      canvas.height = 600;
    }
    ZelvanosWeb.canvas = canvas;
    ZelvanosWeb.context = canvas.getContext('2d', {alpha: false});
    ZelvanosWeb.image = ZelvanosWeb.context.createImageData(800, 600);
    Module['ZelvanosWeb'] = ZelvanosWeb;
  },

  // The game reads keys from now on: keys the page kept meanwhile go to it.
  zelvanos_web_ready__deps: ['$ZelvanosWeb'],
  zelvanos_web_ready: function() {
    Module['ZelvanosWeb'] = ZelvanosWeb;
    ZelvanosWeb.state.readyAt = performance.now();
    window.addEventListener('keydown', ZelvanosWeb.onKey);
    if (Module['onReady']) Module['onReady']();
  },

  // At most one present per animation frame, however many drawing calls.
  zelvanos_web_surface_changed__deps: ['$ZelvanosWeb'],
  zelvanos_web_surface_changed: function() {
    if (ZelvanosWeb.framePending || !ZelvanosWeb.context) return;
    ZelvanosWeb.framePending = true;
    requestAnimationFrame(ZelvanosWeb.present);
  },

  zelvanos_web_wait_key__deps: ['$ZelvanosWeb'],
  zelvanos_web_wait_key: function() {
    return Asyncify.handleSleep(function(wakeUp) {
      var s = ZelvanosWeb.state;
      s.keyWaits++;
      s.waiting = true;
      ZelvanosWeb.wake = function() {
        s.waiting = false;
        wakeUp(0);
      };
      // The page looks once the game has gone to sleep.
      if (Module['onKeyWait']) Promise.resolve().then(function() { Module['onKeyWait'](s); });
    });
  },

  // Called from a key event inside the module: the game resumes after the
  // event's handler has returned.
  zelvanos_web_wake__deps: ['$ZelvanosWeb'],
  zelvanos_web_wake: function() {
    var wake = ZelvanosWeb.wake;
    if (!wake) return;
    ZelvanosWeb.wake = null;
    Promise.resolve().then(wake);
  },

  // The storage starts loading while the page still downloads the module;
  // the program's mount call then only waits for it.
  $ZelvanosWeb__postset: 'addOnPreRun(function() { ZelvanosWeb.mount("/zelvanos/Data"); });',

  zelvanos_web_mount__deps: ['$ZelvanosWeb', '$IDBFS'],
  zelvanos_web_mount: function(folder) {
    var path = UTF8ToString(folder);
    return Asyncify.handleAsync(function() { return ZelvanosWeb.mount(path); });
  },

  zelvanos_web_store__deps: ['$ZelvanosWeb'],
  zelvanos_web_store: function() {
    return Asyncify.handleAsync(function() { return ZelvanosWeb.sync(false); });
  },

  // The game reads a file it has not got yet: it waits while the page
  // fetches it (the page shows how far); keys pressed meanwhile are kept.
  zelvanos_web_fetch__deps: ['$ZelvanosWeb'],
  zelvanos_web_fetch: function(path) {
    var name = UTF8ToString(path);
    return Asyncify.handleAsync(function() {
      var s = ZelvanosWeb.state;
      s.needing = name;
      s.loaded = 0;
      s.total = 0;
      if (Module['onNeed']) Module['onNeed'](s);
      return ZelvanosWeb.fetchFile(name).then(function(bytes) {
        s.needing = null;
        if (Module['onNeed']) Module['onNeed'](s);
        if (!bytes) {
          s.missing.push(name);
          return 1;
        }
        var full = FS.cwd() + '/' + name;
        FS.mkdirTree(full.substring(0, full.lastIndexOf('/')));
        FS.writeFile(full, bytes);
        return 0;
      });
    });
  },

  zelvanos_web_task_done: function(result) {
    if (Module['onTaskDone']) Module['onTaskDone'](UTF8ToString(result));
  },

  zelvanos_web_option: function(name, out, size) {
    var value = new URLSearchParams(location.search).get(UTF8ToString(name));
    if (value === null) return 0;
    stringToUTF8(value, out, size);
    return 1;
  },

  zelvanos_web_finished__deps: ['$ZelvanosWeb'],
  zelvanos_web_finished: function(code) {
    window.removeEventListener('keydown', ZelvanosWeb.onKey);
    ZelvanosWeb.state.exitCode = code;
    if (Module['onFinished']) Module['onFinished'](code);
  },
});
