// SPDX-License-Identifier: GPL-3.0-or-later
// Web Audio for the sound unit. A handle names one loaded sound; its file
// is fetched from the site and decoded in the background (once per file),
// and a play asked for before the decoding is done starts when it is. The output opens
// at the player's first key or tap; until then plays are only remembered,
// and the last one still wanted starts at that gesture.

mergeInto(LibraryManager.library, {
  $ZelvanosAudio: {
    context: null,
    next: 1,
    asked: 0,
    sounds: {},   // handle -> {buffer, wanted, source}
    decoded: {},  // file -> promise of an AudioBuffer

    decoder: null,  // an offline context: decodes without opening an output

    playing: 0,     // sources sounding now
    resting: null,  // the timer that suspends an output with nothing to play

    start: function(sound) {
      var context = ZelvanosAudio.context;
      if (!sound.buffer || !context) return;
      ZelvanosAudio.halt(sound);
      clearTimeout(ZelvanosAudio.resting);
      if (context.state === 'suspended') context.resume().catch(function() {});
      var source = context.createBufferSource();
      source.buffer = sound.buffer;
      source.connect(context.destination);
      source.onended = function() {
        if (sound.source === source) {
          sound.source = null;
          sound.wanted = false;
        }
        // A silent output still costs CPU: it rests after a while with nothing to play.
        if (--ZelvanosAudio.playing === 0) {
          ZelvanosAudio.resting = setTimeout(function() { context.suspend().catch(function() {}); }, 2000);
        }
      };
      sound.source = source;
      ZelvanosAudio.playing++;
      source.start();
    },

    halt: function(sound) {
      if (!sound.source) return;
      var source = sound.source;
      sound.source = null;
      try { source.stop(); } catch (e) {}
    },

    // The first key or tap opens the output (opening it sooner would only
    // give a suspended one, and costs the page's start a noticeable time).
    unlock: function() {
      if (ZelvanosAudio.context) return;
      ['keydown', 'pointerup', 'touchend', 'click'].forEach(function(type) {
        window.removeEventListener(type, ZelvanosAudio.unlock, true);
      });
      var Context = window.AudioContext || window.webkitAudioContext;
      try {
        ZelvanosAudio.context = new Context();
      } catch (e) {
        return;
      }
      // Only the sound asked for last: older ones would sound out of place.
      var last = null;
      for (var handle in ZelvanosAudio.sounds) {
        var sound = ZelvanosAudio.sounds[handle];
        if (sound.wanted && !sound.source && (!last || sound.asked > last.asked)) last = sound;
      }
      if (last) ZelvanosAudio.start(last);
    },
  },

  zelvanos_audio_open__deps: ['$ZelvanosAudio'],
  zelvanos_audio_open: function() {
    if (ZelvanosAudio.decoder) return 1;
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context || !window.OfflineAudioContext) return 0;
    try {
      ZelvanosAudio.decoder = new OfflineAudioContext(2, 1, 44100);
    } catch (e) {
      return 0;
    }
    ['keydown', 'pointerup', 'touchend', 'click'].forEach(function(type) {
      window.addEventListener(type, ZelvanosAudio.unlock, true);
    });
    return 1;
  },

  zelvanos_audio_close__deps: ['$ZelvanosAudio'],
  zelvanos_audio_close: function() {
    for (var handle in ZelvanosAudio.sounds) ZelvanosAudio.halt(ZelvanosAudio.sounds[handle]);
    ZelvanosAudio.sounds = {};
  },

  zelvanos_audio_load__deps: ['$ZelvanosAudio', '$ZelvanosWeb'],
  zelvanos_audio_load: function(path) {
    var name = UTF8ToString(path);
    var decoding = ZelvanosAudio.decoded[name];
    if (!decoding) {
      decoding = ZelvanosWeb.fetchFile(name).then(function(bytes) {
        if (!bytes) return null;
        return new Promise(function(resolve) {
          // decodeAudioData takes the buffer over: a copy of its own.
          ZelvanosAudio.decoder.decodeAudioData(bytes.slice().buffer, resolve, function() { resolve(null); });
        });
      });
      ZelvanosAudio.decoded[name] = decoding;
    }
    var handle = ZelvanosAudio.next++;
    var sound = {buffer: null, wanted: false, source: null, asked: 0};
    ZelvanosAudio.sounds[handle] = sound;
    decoding.then(function(buffer) {
      if (ZelvanosAudio.sounds[handle] !== sound) return;
      sound.buffer = buffer;
      if (sound.wanted) ZelvanosAudio.start(sound);
    });
    return handle;
  },

  zelvanos_audio_play__deps: ['$ZelvanosAudio'],
  zelvanos_audio_play: function(handle) {
    var sound = ZelvanosAudio.sounds[handle];
    if (!sound) return;
    sound.wanted = true;
    sound.asked = ZelvanosAudio.asked++;
    ZelvanosAudio.start(sound);
  },

  zelvanos_audio_stop__deps: ['$ZelvanosAudio'],
  zelvanos_audio_stop: function(handle) {
    var sound = ZelvanosAudio.sounds[handle];
    if (!sound) return;
    sound.wanted = false;
    ZelvanosAudio.halt(sound);
  },

  zelvanos_audio_free__deps: ['$ZelvanosAudio'],
  zelvanos_audio_free: function(handle) {
    var sound = ZelvanosAudio.sounds[handle];
    if (!sound) return;
    ZelvanosAudio.halt(sound);
    delete ZelvanosAudio.sounds[handle];
  },
});
