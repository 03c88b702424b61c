// The page around the game: loads it with a progress bar, starts it on "Hrát" (browsers let a
// page play sound only after the player has clicked or pressed a key), and when the game has
// ended through its exit button offers to play again.
'use strict';
(function () {
  const panel = document.getElementById('panel');
  const status = document.getElementById('status');
  const progress = document.getElementById('progress');
  const play = document.getElementById('play');
  const canvas = document.getElementById('canvas');

  function show(text, button) {
    status.textContent = text;
    progress.hidden = true;
    play.textContent = button;
    play.hidden = false;
    panel.hidden = false;
    play.focus();
  }

  window.Module = {
    canvas: canvas,
    noInitialRun: true,
    // Emscripten reports the download as "text (done/total)".
    setStatus: function (text) {
      const m = text.match(/\((\d+(?:\.\d+)?)\/(\d+)\)/);
      if (m) progress.value = Number(m[1]) / Number(m[2]);
    },
    onRuntimeInitialized: function () {
      progress.value = 1;
      show('Hra je připravena.', 'Hrát');
    },
    onGameEnded: function () {
      show('Hra skončila.', 'Hrát znovu');
      play.onclick = function () { location.reload(); };
    },
    onAbort: function (what) {
      status.textContent = 'Hru se nepodařilo spustit: ' + what;
      progress.hidden = true;
      panel.hidden = false;
    },
  };

  // F11 and Alt+Enter switch the page between the whole screen and the window. The switch is
  // made here, in the key's own handler, since a browser grants full screen only there; the game
  // never sees these keys. The picture keeps its 4:3 shape either way.
  window.addEventListener('keydown', function (event) {
    const enter = event.key === 'Enter' && event.altKey;
    if (event.key !== 'F11' && !enter) return;
    event.preventDefault();
    event.stopImmediatePropagation();
    if (event.repeat) return;
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else {
      document.documentElement.requestFullscreen().catch(function () {});
    }
  }, true);

  play.onclick = function () {
    panel.hidden = true;
    canvas.focus();
    Module.callMain([]);
  };
})();
