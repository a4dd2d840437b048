// SPDX-License-Identifier: GPL-3.0-or-later
// The page's side of the web backend: the canvas, the key wait, the
// browser's storage and the page's address. The game's module calls these;
// the page (web/page.js) reads ZelvanosWeb.state for its own display and
// for tests.

mergeInto(LibraryManager.library, {
  $ZelvanosWeb: {
    canvas: null,
    context: null,
    image: null,
    wake: null,
    framePending: false,
    syncing: null,  // the storage sync under way
    // What tests and the page watch: key waits so far, whether the game is
    // waiting for a key now, frames drawn, the exit code once it ended.
    state: {keyWaits: 0, waiting: false, frames: 0, firstFrameAt: 0, exitCode: null},

    present: function() {
      ZelvanosWeb.framePending = false;
      var pixels = Module['_zelvanos_web_frame']();
      ZelvanosWeb.image.data.set(HEAPU8.subarray(pixels, pixels + 800 * 600 * 4));
      ZelvanosWeb.context.putImageData(ZelvanosWeb.image, 0, 0);
      var s = ZelvanosWeb.state;
      if (s.frames++ === 0) s.firstFrameAt = performance.now();
      if (Module['onFrame']) Module['onFrame'](s);
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
    canvas.width = 800;
    canvas.height = 600;
    ZelvanosWeb.canvas = canvas;
    ZelvanosWeb.context = canvas.getContext('2d', {alpha: false});
    ZelvanosWeb.image = ZelvanosWeb.context.createImageData(800, 600);
    Module['ZelvanosWeb'] = ZelvanosWeb;
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
      if (Module['onKeyWait']) Module['onKeyWait'](s);
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

  zelvanos_web_option: function(name, out, size) {
    var value = new URLSearchParams(location.search).get(UTF8ToString(name));
    if (value === null) return 0;
    stringToUTF8(value, out, size);
    return 1;
  },

  zelvanos_web_finished__deps: ['$ZelvanosWeb'],
  zelvanos_web_finished: function(code) {
    ZelvanosWeb.state.exitCode = code;
    if (Module['onFinished']) Module['onFinished'](code);
  },
});
