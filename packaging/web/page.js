// The page around the game: checks that this browser can run it, keeps the page's files for
// playing offline (the service worker, sw.js), loads the game with a progress bar, and starts it
// on "Hrát" (browsers let a page play sound only after the player has clicked or pressed a key).
// One tab of the browser plays at a time, so that no tab writes over saves another one made.
// Whatever goes wrong (a failed download, a browser the game cannot run in, a game that stopped)
// the panel says so with a button that loads the page again; when the game has ended through its
// exit button it offers to play again.
// The page speaks the game's language: each text is written here in Czech, marked with N_ for
// the translators' template (scripts/update-pot), and shown through tr in the page's language,
// from the tables the build writes from the catalogues (texts.js, loaded before this script).
'use strict';
(function () {
  // ------------------------------------------------------------ the page's language
  const texts = self.kelvoraTexts || {};
  // Czech, then the languages of the catalogues by code, as the game's options screen lists them.
  const languages = ['cs'].concat(Object.keys(texts).filter(function (code) {
    return code !== 'cs';
  }).sort());
  let language = 'cs';

  // Marks a Czech text for the translators' template: the text itself.
  function N_(czech) { return czech; }
  // A text of the page in its language: `message` is a marked text, or a marked text and its
  // fields ([text, { file: 'kelvora.js' }]), each "{file}" of the translation filled in; a text
  // the language lacks is shown in Czech.
  function tr(message) {
    const czech = Array.isArray(message) ? message[0] : message;
    const fields = Array.isArray(message) ? message[1] : {};
    const table = texts[language] || {};
    const form = Object.prototype.hasOwnProperty.call(table, czech) ? table[czech] : czech;
    return form.replace(/\{(\w+)\}/g, function (field, name) {
      return Object.prototype.hasOwnProperty.call(fields, name) ? String(fields[name]) : field;
    });
  }
  // Each language by the name its catalogue gives it, the translation of Czech's own.
  function ownName(code) {
    // TRANSLATORS: the name of your language in your language, as a list of languages shows it
    // ("English", "polski"): the options screen offers it so.
    const czech = N_('čeština');
    return code === 'cs' ? czech : (texts[code] || {})[czech] || code;
  }
  // The language of the page's tables that a browser's or the game's name of one means: "de-AT"
  // and "de_AT" mean "de" where there is no table of its country.
  function languageOf(name) {
    const code = String(name || '').split(/[.@]/)[0].replace(/-/g, '_');
    for (const candidate of [code, code.split('_')[0]]) {
      if (languages.indexOf(candidate) >= 0) return candidate;
    }
    return null;
  }
  // The page keeps the language the game last spoke, or the player last chose on the panel
  // (kelvora-language), and a choice made on the panel that the game has not kept yet
  // (kelvora-language-choice), which the game keeps as it starts.
  function remembered(key) {
    try {
      return localStorage.getItem(key);
    } catch (e) {
      return null;  // site data blocked: the browser's languages decide
    }
  }
  function remember(key, value) {
    try {
      if (value === null) localStorage.removeItem(key);
      else localStorage.setItem(key, value);
    } catch (e) { /* site data blocked: the choice lasts for this visit */ }
  }
  // The player's last language, or else the first of the browser's the page has, or else Czech.
  function startLanguage() {
    const last = languageOf(remembered('kelvora-language'));
    if (last) return last;
    const asked = navigator.languages && navigator.languages.length ? navigator.languages
      : [navigator.language];
    for (const name of asked) {
      const code = languageOf(name);
      if (code) return code;
    }
    return 'cs';
  }

  const panel = document.getElementById('panel');
  const status = document.getElementById('status');
  const progress = document.getElementById('progress');
  const play = document.getElementById('play');
  const other = document.getElementById('other');
  const kept = document.getElementById('kept');
  const canvas = document.getElementById('canvas');
  const choice = document.getElementById('language');

  let ready = false;    // the game is loaded and may start
  let started = false;  // the player started it in this page
  let over = false;     // it ended, stopped, or plays in another tab now

  // What the panel says (a marked text, or one with its fields) and its buttons' labels, shown
  // again in another language when the page changes to it.
  let said = N_('Načítám hru…');
  let buttons = [null, null];
  let keptSaid = null;
  // The installed game's description, that of kelvora.webmanifest, which the build writes in
  // each language as kelvora.CODE.webmanifest: the page names the one of its language, so that
  // a browser installing it describes the game in the player's language.
  // TRANSLATORS: the game installed from its web page, as the system's list of apps describes it.
  N_('Zahradnická hra: kupte záhony, pěstujte zeleninu a plňte objednávky zákazníků.');
  const manifest = document.querySelector('link[rel="manifest"]');
  function showTexts() {
    document.documentElement.lang = language;
    manifest.href = language === 'cs' ? 'kelvora.webmanifest' : 'kelvora.' + language + '.webmanifest';
    status.textContent = tr(said);
    if (buttons[0]) play.textContent = tr(buttons[0]);
    if (buttons[1]) other.textContent = tr(buttons[1]);
    if (keptSaid) kept.textContent = tr(keptSaid);
    document.getElementById('export').textContent = tr(N_('Stáhnout uložené hry'));
    document.getElementById('import').textContent = tr(N_('Nahrát uložené hry'));
    document.getElementById('note').textContent =
      tr(N_('Celá obrazovka: F11 nebo Alt+Enter. Uložené hry a nastavení si pamatuje tento prohlížeč.'));
    document.getElementById('turn').textContent = tr(N_('Otočte zařízení na šířku.'));
    choice.title = tr(N_('Jazyk'));
    choice.setAttribute('aria-label', choice.title);
    choice.value = language;
    languageListeners.forEach(function (listener) { listener(); });
  }
  function say(message) {
    said = message;
    status.textContent = tr(message);
  }
  // The page's other scripts (touch.js) show their texts through this too.
  const languageListeners = [];
  self.kelvoraPage = {
    N_: N_,
    tr: tr,
    whenLanguageChanges: function (listener) {
      languageListeners.push(listener);
      listener();
    },
  };

  // The panel with a text and one or two buttons, each with what it does.
  function show(text, button, action, second, secondAction) {
    say(text);
    progress.hidden = true;
    buttons = [button, second || null];
    play.textContent = tr(button);
    play.onclick = action;
    play.hidden = false;
    other.hidden = !second;
    if (second) {
      other.textContent = tr(second);
      other.onclick = secondAction;
    }
    panel.classList.toggle('over', started);
    panel.hidden = false;
    play.focus();
  }
  function reload() { location.reload(); }

  // The page cannot go on: says why and offers to load it again.
  function fail(text) {
    if (over) return;
    over = true;
    offerTransfer(false);
    show(text, N_('Načíst znovu'), reload);
  }
  function failedDownload(file) {
    // TRANSLATORS: {file} is the name of a file of the page ("kelvora.wasm") or an error.
    fail([N_('Hru se nepodařilo stáhnout ({file}). Zkontrolujte připojení k internetu a ' +
      'načtěte stránku znovu.'), { file: file }]);
  }

  // ------------------------------------------------------------ one tab at a time
  // The tab that plays holds the lock "kelvora" of the Web Locks API, and so does a tab while it
  // carries saves out or back. Each holder (the game, a transfer) takes a handle of its own and
  // releases only that. Another tab may take the lock over ("Hrát zde", which also ends a lock
  // that a closed page left behind, as Safari may keep one across a reload); the holder's tab
  // then stops before the new one reads the saves. Resolves to the handle, or to null where
  // another tab holds the lock.
  function takeLock(steal) {
    if (!navigator.locks) return Promise.resolve({ release: function () {} });
    return new Promise(function (resolve) {
      navigator.locks.request('kelvora', steal ? { steal: true } : { ifAvailable: true },
        function (lock) {
          if (!lock) {
            resolve(null);
            return null;
          }
          return new Promise(function (release) { resolve({ release: release }); });
        }).catch(function (error) {
        if (error.name === 'AbortError') lostTheGame();
      });
    });
  }
  // Another tab took the game over: this one stores nothing more, stays still at its next frame
  // and falls silent.
  function lostTheGame() {
    Module.kelvoraStorage.stop();
    Module.kelvoraHalted = true;
    const audio = Module.SDL2 && Module.SDL2.audioContext;
    if (audio) audio.suspend();
    over = true;
    offerTransfer(false);
    show(N_('Hra teď běží v jiné záložce. Tady skončila, aby si záložky navzájem nepřepsaly ' +
      'uložené hry.'), N_('Načíst znovu'), reload);
  }
  let gameLock = null;  // the game's handle, while it runs in this tab
  // Whether a tab of the browser plays: one holds the game's lock.
  async function gamePlays() {
    if (!navigator.locks || !navigator.locks.query) return false;
    try {
      return (await navigator.locks.query()).held.some(function (lock) {
        return lock.name === 'kelvora';
      });
    } catch (e) {
      return false;
    }
  }

  // ------------------------------------------------------------ persistent storage
  // Browsers may delete a site's storage when space runs short (Safari after seven days without
  // a visit); a site they agree to keep for good they delete only when the player asks.
  function sayKept(granted) {
    keptSaid = granted
      ? N_('Prohlížeč slíbil uložené hry a nastavení uchovat natrvalo.')
      : N_('Prohlížeč neslíbil uložené hry uchovat natrvalo: při nedostatku místa (Safari po ' +
        'sedmi dnech bez návštěvy) je může smazat. Pomůže přidat si hru na plochu nebo do ' +
        'záložek.');
    kept.textContent = tr(keptSaid);
    kept.hidden = false;
  }
  if (navigator.storage && navigator.storage.persisted) {
    navigator.storage.persisted().then(function (granted) { if (granted) sayKept(true); },
      function () {});
  }

  // ------------------------------------------------------------ saves out and back
  // Before "Hrát" and after the game's end the panel offers to download every saved game in
  // one file and to take such files back, or single SaveN.dat files of the desktop game
  // (game/SaveTransfer checks each one as a load would). The tab holds the game's lock
  // meanwhile, as a playing tab does, and works on the player's folder as the game does.
  const saves = document.getElementById('saves');
  const transfer = document.getElementById('transfer');
  const importFile = document.getElementById('import-file');
  function offerTransfer(on) {
    saves.hidden = !on;
    if (!on) transfer.hidden = true;
  }
  function tell(text) {
    transfer.textContent = text;
    transfer.hidden = false;
  }
  // "OK KEPT" and the messages, one a line.
  function transferResult(text) {
    const lines = text.split('\n');
    return { ok: lines[0][0] === '1', kept: lines[0][2] === '1', messages: lines.slice(1) };
  }
  // While a transfer runs, neither another transfer nor the game can start in this tab.
  const transferButtons = [play, document.getElementById('export'),
    document.getElementById('import')];
  async function withPlayerFolder(work) {
    transferButtons.forEach(function (button) { button.disabled = true; });
    const lock = await takeLock(false);
    try {
      if (!lock) {
        tell(tr(N_('Hra běží v jiné záložce: uložené hry teď přenést nejde.')));
        return;
      }
      const storage = Module.kelvoraStorage;
      if (!storage.readable() && !await storage.load('/player/Data')) {
        tell(tr(N_('Uložené hry se nepodařilo přečíst z úložiště prohlížeče.')));
        return;
      }
      await Module.ccall('kelvora_enter_player_folder', null, [], [], { async: true });
      // The game's messages about the files, in the page's language.
      await Module.ccall('kelvora_speak_language', 'number', ['string'], [language],
        { async: true });
      await work();
    } finally {
      if (lock) lock.release();
      transferButtons.forEach(function (button) { button.disabled = false; });
    }
  }
  document.getElementById('export').onclick = function () {
    withPlayerFolder(async function () {
      const result = transferResult(Module.ccall('kelvora_export_saves', 'string', [], []));
      const size = Module._kelvora_exported_size();
      let link = { download: 'kelvora-ulozene-hry.dat' };
      if (size > 0) {
        const at = Module._kelvora_exported_file();
        const file = new Blob([HEAPU8.slice(at, at + size)], { type: 'application/octet-stream' });
        link = document.createElement('a');
        link.href = URL.createObjectURL(file);
        link.download = 'kelvora-ulozene-hry.dat';
        document.body.appendChild(link);
        link.click();
        link.remove();
        setTimeout(function () { URL.revokeObjectURL(link.href); }, 60000);
      }
      // TRANSLATORS: {file} is the name of the downloaded file.
      const where = N_('Uložené hry jsou v souboru {file}.');
      tell((size > 0 ? tr([where, { file: link.download }]) + '\n' : '') +
        result.messages.join('\n'));
    });
  };
  document.getElementById('import').onclick = function () { importFile.click(); };
  importFile.onchange = function () {
    const files = Array.from(importFile.files);
    importFile.value = '';
    withPlayerFolder(async function () {
      const told = [];
      for (const file of files) {
        const bytes = new Uint8Array(await file.arrayBuffer());
        const at = Module._malloc(Math.max(1, bytes.length));
        HEAPU8.set(bytes, at);
        const take = function (replace) {
          return Module.ccall('kelvora_import_saves', 'string',
            ['string', 'number', 'number', 'number'], [file.name, at, bytes.length, replace],
            { async: true });
        };
        try {
          let result = transferResult(await take(0));
          // TRANSLATORS: {file} is the name of the file the player chose.
          if (result.kept && confirm(tr([N_('Soubor {file} obsahuje hry pro pozice, na kterých ' +
            'už nějaká hra je. Nahradit je?'), { file: file.name }]))) {
            result = transferResult(await take(1));
          }
          told.push.apply(told, result.messages);
        } finally {
          Module._free(at);
        }
      }
      tell(told.join('\n'));
    });
  };

  // ------------------------------------------------------------ sound
  // Phones let a page's audio start only inside the player's own tap or click, and the start
  // below waits (for the one-tab lock) before the game runs: so the game's audio context is made
  // and started here, at once, in the tap on "Hrát", and the game's sound takes it as its own
  // (SDL makes one only where Module.SDL2 has none). Where the browser offers it, the page's
  // sound is a game's ambient sound, which the device's silent switch mutes.
  function startAudio() {
    if (navigator.audioSession) {
      try {
        navigator.audioSession.type = 'ambient';
      } catch (e) { /* an older form of the interface: its default stays */ }
    }
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return;
    const sdl = Module.SDL2 || (Module.SDL2 = {});
    if (!sdl.audioContext) sdl.audioContext = new Context();
    if (sdl.audioContext.state !== 'running') sdl.audioContext.resume().catch(function () {});
  }
  // A phone suspends the page's audio when the page is hidden or the screen locks, and lets it
  // resume only inside the player's next gesture (iOS takes the end of a touch, not its start):
  // the game's sound comes back with the next touch, click or key.
  function resumeAudio() {
    const audio = started && !over && Module.SDL2 && Module.SDL2.audioContext;
    if (audio && audio.state !== 'running' && audio.state !== 'closed') {
      audio.resume().catch(function () {});
    }
  }
  for (const type of ['touchend', 'mouseup', 'keydown']) {
    window.addEventListener(type, resumeAudio, true);
  }

  // ------------------------------------------------------------ the choice of language
  // The panel's list of languages (in the top right corner of the page), each by its own name.
  // A choice shows the page's texts in it at once; the game, while it runs, speaks it after its
  // next frame and keeps it as the player's choice, as its options screen does; before the game
  // runs the choice waits, and the game keeps it as it starts (below). A language the game
  // speaks (chosen on its options screen) is the page's too.
  for (const code of languages) {
    const option = document.createElement('option');
    option.value = code;
    option.textContent = ownName(code);
    choice.appendChild(option);
  }
  function speak(code) {
    if (code === language) return;
    language = code;
    remember('kelvora-language', code);
    showTexts();
  }
  choice.onchange = function () {
    const code = choice.value;
    speak(code);
    if (started && !over) {
      Module.ccall('kelvora_choose_language', null, ['string'], [code]);
    } else {
      remember('kelvora-language-choice', code);
    }
    if (panel.hidden) canvas.focus();
  };
  // What the game speaks, looked at a few times a second while it runs.
  let gameSpoke = null;
  function followTheGame() {
    if (!Module._kelvora_spoken_language) return;
    const code = languageOf(Module.UTF8ToString(Module._kelvora_spoken_language()));
    if (code && code !== gameSpoke) {
      gameSpoke = code;
      speak(code);
    }
  }
  // The game keeps the choice made on the panel before it starts, in the player's settings, and
  // starts in it.
  async function keepTheChoice() {
    const code = languageOf(remembered('kelvora-language-choice'));
    if (!code) return;
    const storage = Module.kelvoraStorage;
    if (!storage.readable() && !await storage.load('/player/Data')) return;
    await Module.ccall('kelvora_enter_player_folder', null, [], [], { async: true });
    if (await Module.ccall('kelvora_keep_language', 'number', ['string'], [code], { async: true })) {
      remember('kelvora-language-choice', null);
    }
  }
  // While the game runs the list stays where the window leaves room beside its picture (a wide
  // window, a phone held sideways), and hides where it would cover the picture: the game's
  // options screen offers the languages then.
  let choiceWidth = 0;
  function placeTheChoice() {
    if (!choice.hidden) choiceWidth = choice.offsetWidth || choiceWidth;
    const playing = started && panel.hidden;
    const room = window.innerWidth - (canvas.offsetLeft + canvas.offsetWidth);
    choice.hidden = playing && room < choiceWidth + 16;
  }
  window.addEventListener('resize', placeTheChoice);
  new MutationObserver(placeTheChoice).observe(panel, { attributes: true, attributeFilter: ['hidden'] });

  language = startLanguage();
  showTexts();

  // ------------------------------------------------------------ starting
  async function begin() {
    started = true;
    offerTransfer(false);
    panel.hidden = true;
    canvas.focus();
    // Some browsers (WebKitGTK's) cannot be asked at all: they have promised nothing either.
    if (navigator.storage && navigator.storage.persist) {
      navigator.storage.persist().then(sayKept, function () { sayKept(false); });
    } else {
      sayKept(false);
    }
    await keepTheChoice();
    Module.callMain([]);
    setInterval(function () { if (!over) followTheGame(); }, 250);
  }
  async function start() {
    if (play.disabled) return;
    startAudio();
    play.hidden = true;
    offerTransfer(false);
    gameLock = await takeLock(false);
    if (gameLock) {
      begin();
      return;
    }
    show(N_('Kelvora už běží v jiné záložce tohoto prohlížeče. Hrát se dá jen v jedné, aby si ' +
      'záložky nepřepsaly uložené hry. Budete-li hrát tady, hra v té druhé skončí.'),
    N_('Hrát zde'), async function () {
      startAudio();
      play.hidden = true;
      other.hidden = true;
      gameLock = await takeLock(true);
      begin();
    });
  }

  // Closing the tab, or leaving the page, while a level is played asks first.
  window.addEventListener('beforeunload', function (event) {
    if (!started || over || !Module._kelvora_level_running || !Module._kelvora_level_running()) {
      return;
    }
    event.preventDefault();
    event.returnValue = '';
  });

  window.Module = {
    canvas: canvas,
    noInitialRun: true,
    // Emscripten reports the download as "text (done/total)".
    setStatus: function (text) {
      const m = text.match(/\((\d+(?:\.\d+)?)\/(\d+)\)/);
      if (m) progress.value = Number(m[1]) / Number(m[2]);
    },
    onRuntimeInitialized: function () {
      if (over) return;
      ready = true;
      progress.value = 1;
      show(N_('Hra je připravena.'), N_('Hrát'), start);
      offerTransfer(true);
    },
    // The saved games could not be read (Storage.js): the game waits for the player's choice.
    onStorageUnreadable: function () {
      return new Promise(function (resolve) {
        show(N_('Uložené hry a nastavení se nepodařilo přečíst z úložiště prohlížeče. Aby je ' +
          'hra nepřepsala, nebude nic ukládat. Načtěte stránku znovu; když to nepomůže, povolte ' +
          'tomuto webu ukládání dat (anonymní okno to často nedovolí).'),
        N_('Načíst znovu'), reload, N_('Hrát bez ukládání'), function () {
          panel.hidden = true;
          canvas.focus();
          resolve();
        });
      });
    },
    onGameEnded: function () {
      followTheGame();
      over = true;
      if (gameLock) gameLock.release();
      gameLock = null;
      show(N_('Hra skončila.'), N_('Hrát znovu'), reload);
      offerTransfer(true);
    },
    onAbort: function (what) {
      if (!ready) {
        // Before the game could start, most likely kelvora.wasm did not come.
        // TRANSLATORS: {error} is what went wrong, as the browser says it (in English).
        fail([N_('Hru se nepodařilo stáhnout nebo spustit ({error}). Načtěte stránku znovu; ' +
          'když to nepomůže, zkuste jiný prohlížeč.'), { error: what }]);
      } else {
        // TRANSLATORS: {error} is what went wrong, as the browser says it (in English).
        fail([N_('Hra se zastavila kvůli chybě ({error}). Načtěte stránku znovu; uložené hry ' +
          'zůstaly, jak byly naposledy uloženy.'), { error: what }]);
      }
    },
  };

  // An error thrown while the game loads means a file that did not come (kelvora.data's loader
  // throws when its download fails).
  window.addEventListener('error', function (event) {
    if (ready) return;
    const text = String(event.message || '');
    // TRANSLATORS: {error} is what went wrong, as the browser says it (in English).
    failedDownload(/kelvora\.data/.test(text) || /NetworkError/.test(text) ? 'kelvora.data'
      : tr([N_('chyba: {error}'), { error: text }]));
  });

  // ------------------------------------------------------------ what the browser can run
  // A WebAssembly module of one function using a SIMD instruction, as the game's code does.
  const simd = new Uint8Array([0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0,
    10, 10, 1, 8, 0, 65, 0, 253, 15, 253, 98, 11]);
  function canRunTheGame() {
    return typeof WebAssembly === 'object' && typeof WebAssembly.instantiate === 'function' &&
      WebAssembly.validate(simd);
  }

  // ------------------------------------------------------------ the offline copy
  // The service worker keeps every file of one version of the page; a newer version's worker
  // downloads its files whole and waits. A page that has not started the game asks the newer
  // version to take over and loads again from it; the worker does so only while no tab of the
  // browser plays (a running game is never mixed with another version's files), and otherwise
  // the page goes on with the version it has. Resolves when the page goes on.
  function takeOver(worker, quietly) {
    if (started) return Promise.resolve();
    const before = said;
    if (!quietly) say(N_('Načítám novou verzi hry…'));
    return new Promise(function (resolve) {
      let goneOn = false;
      function goOn(askAgain) {
        if (goneOn) return;
        goneOn = true;
        if (!quietly) say(before);
        resolve();
        // A game plays in a tab (or one has just ended and not yet let go, or the worker did not
        // answer): the page asks again a little later, without a word, until the new version
        // takes over or this page plays.
        if (askAgain) {
          setTimeout(function () {
            if (!started && worker.state === 'installed') takeOver(worker, true);
          }, 2000);
        }
      }
      const answer = new MessageChannel();
      answer.port1.onmessage = function (event) {
        if (!(event.data && event.data.tookOver)) goOn(true);  // else the page loads again
      };
      // Only while no tab plays: a running game never mixes files of two versions.
      gamePlays().then(function (plays) {
        if (plays) goOn(true);
        else worker.postMessage('take-over', [answer.port2]);
      });
      // A worker that neither answers nor takes over in time leaves the page its version for
      // now, and is asked again.
      setTimeout(function () { goOn(true); }, 5000);
    });
  }
  async function keepOffline() {
    if (!('serviceWorker' in navigator)) return;
    let registration;
    try {
      registration = await navigator.serviceWorker.register('sw.js');
    } catch (error) {
      console.warn('Kelvora: no offline copy of the page:', error);
      return;
    }
    if (!registration) return;  // the browser was told to run no service worker
    navigator.serviceWorker.addEventListener('message', function (event) {
      if (event.data && event.data.kept !== undefined && !ready) {
        progress.value = event.data.kept / event.data.total;
      }
    });
    const controlled = !!navigator.serviceWorker.controller;
    // Whichever tab made a newer version take over, a page that has not started its game loads
    // again from it at once.
    if (controlled) {
      navigator.serviceWorker.addEventListener('controllerchange', function () {
        if (!started) reload();
      });
    }
    if (controlled && registration.waiting) {
      await takeOver(registration.waiting);
      return;
    }
    // A newer version found now, or already being fetched as the page loads (another tab's
    // visit started it), is asked to take over once it has all its files.
    function whenInstalled(worker) {
      worker.addEventListener('statechange', function () {
        if (worker.state === 'installed' && navigator.serviceWorker.controller) takeOver(worker);
      });
    }
    registration.addEventListener('updatefound', function () {
      whenInstalled(registration.installing);
    });
    if (controlled && registration.installing) whenInstalled(registration.installing);
    if (controlled) return;
    // The first visit: the worker downloads the page's files into its copy and takes the page
    // over, and the game's files then come from that copy, each downloaded once.
    const installing = registration.installing || registration.waiting;
    if (!installing) return;  // a forced reload, past the worker: the files come from the network
    await new Promise(function (resolve) {
      navigator.serviceWorker.addEventListener('controllerchange', resolve, { once: true });
      installing.addEventListener('statechange', function () {
        if (installing.state === 'redundant') resolve();
      });
    });
  }

  async function load() {
    if (location.protocol === 'file:') {
      fail(N_('Stránka je otevřená přímo ze souboru na disku a prohlížeč z ní hru nespustí. ' +
        'Zpřístupněte její složku webovým serverem (ve zdrojích hry scripts/run-web, jinak ' +
        'třeba příkaz „python3 -m http.server“ spuštěný v té složce) a otevřete adresu, ' +
        'kterou vypíše.'));
      return;
    }
    if (!canRunTheGame()) {
      fail(N_('Tento prohlížeč neumí spustit WebAssembly, ve kterém je hra napsaná (nebo jen ' +
        'jeho starší podobu). Otevřete hru v jiném, novějším prohlížeči: Firefox, Chrome, ' +
        'Edge nebo Safari.'));
      return;
    }
    // Without the offline copy the game still loads, from the network.
    await keepOffline().catch(function (error) {
      console.warn('Kelvora: no offline copy of the page:', error);
    });
    const script = document.createElement('script');
    script.src = 'kelvora.js';
    script.onerror = function () { failedDownload('kelvora.js'); };
    document.body.appendChild(script);
  }
  load();
})();
