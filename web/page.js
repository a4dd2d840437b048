// SPDX-License-Identifier: GPL-3.0-or-later
// The page around the game's canvas: sizing it crisply, the fullscreen
// button, the on-screen keys of phones and tablets, and what the page says
// when the game has ended. The game itself is zelvanos.js.
'use strict';

(function() {
  var canvas = document.getElementById('screen');
  var box = document.getElementById('screen-box');
  var params = new URLSearchParams(location.search);
  var touch = params.get('touch') === '1' ||
      (params.get('touch') !== '0' && (matchMedia('(pointer: coarse)').matches || navigator.maxTouchPoints > 0));
  if (touch) document.documentElement.classList.add('touch');

  // The largest whole multiple of 800 x 600 device pixels that fits, or, when
  // not even one fits (phones) or in fullscreen, the largest size that fits.
  function layout() {
    var ratio = window.devicePixelRatio || 1;
    var width = box.clientWidth, height = box.clientHeight;
    var fit = Math.min(width / 800, height / 600);
    var whole = Math.floor(fit * ratio) / ratio;
    var scale = document.fullscreenElement || whole < 1 ? fit : whole;
    canvas.style.width = Math.floor(800 * scale) + 'px';
    canvas.style.height = Math.floor(600 * scale) + 'px';
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
  document.getElementById('fullscreen').addEventListener('click', function(e) {
    toggleFullscreen();
    e.currentTarget.blur();
  });
  window.addEventListener('keydown', function(e) {
    if (e.altKey && e.key === 'Enter') {
      toggleFullscreen();
      e.preventDefault();
    }
  });

  // On-screen keys: the same key names as the keyboard's, the same bytes.
  document.querySelectorAll('.keys button').forEach(function(button) {
    button.addEventListener('pointerdown', function(e) {
      e.preventDefault();
      if (Module.calledRun) Module.ccall('zelvanos_web_key', null, ['string'], [button.dataset.key]);
    });
    button.addEventListener('contextmenu', function(e) { e.preventDefault(); });
  });

  function say(text, restart) {
    document.getElementById('message-text').textContent = text;
    document.getElementById('restart').hidden = !restart;
    document.getElementById('message').hidden = false;
  }
  document.getElementById('restart').addEventListener('click', function() { location.reload(); });

  var errors = [];
  window.Module = {
    canvas: canvas,
    print: function(text) { console.log(text); },
    printErr: function(text) {
      errors.push(text);
      console.warn(text);
    },
    onFinished: function(code) {
      if (code === 0) {
        say('Viszontlátásra! (The game has ended.)', true);
      } else {
        say('A játék hibával állt le (the game stopped with an error): ' + errors.join(' '), true);
      }
    },
    onAbort: function(what) {
      say('A játék nem indítható (the game could not start): ' + what, true);
    },
  };
})();
