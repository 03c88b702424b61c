// The game's start: checks that this browser can run the game, keeps the page for playing
// offline (offline.js), loads the game with a progress bar, and starts it on "Hrát" (browsers
// let a page play sound only after the player has clicked or pressed a key) once this tab holds
// the lock of the one tab that plays (lock.js). Whatever goes wrong (a failed download, a
// browser the game cannot run in, a game that stopped) the panel says so with a button that
// loads the page again; when the game has ended through its exit button it offers to play again.
import * as game from './game.js';
import { N_, languages, ownName, pageLanguage, showIn, tr, whenLanguageChanges } from './language.js';
import { takeLock, whenTakenOver } from './lock.js';
import { keepOffline } from './offline.js';
import * as panel from './panel.js';
import { offerTransfer, withPlayerFolder } from './transfer.js';

const canvas = document.getElementById('canvas');
const choice = document.getElementById('language');
const play = panel.playButton;

let ready = false;    // the game is loaded and may start
let started = false;  // the player started it in this page
let running = false;  // its main loop runs, reading and writing the player's folder
let over = false;     // it ended, stopped, or plays in another tab now
let gameLock = null;  // the game's handle of the lock, while it runs in this tab
// A language chosen on the page while the game does not run, until the player's settings keep it.
let chosen = null;

function reload() { location.reload(); }

// The page cannot go on: says why and offers to load it again.
function fail(text) {
  if (over) return;
  over = true;
  offerTransfer(false);
  panel.show(text, N_('Načíst znovu'), reload, null, null, started);
}
function failedDownload(file) {
  // TRANSLATORS: {file} is the name of a file of the page ("kelvora.wasm") or an error.
  fail([N_('Hru se nepodařilo stáhnout ({file}). Zkontrolujte připojení k internetu a ' +
    'načtěte stránku znovu.'), { file }]);
}

// Another tab took the game over: this one stores nothing more, stays still at its next frame
// and falls silent.
whenTakenOver(() => {
  Module.kelvoraStorage.stop();
  Module.kelvoraHalted = true;
  const audio = Module.SDL2 && Module.SDL2.audioContext;
  if (audio) audio.suspend();
  over = true;
  offerTransfer(false);
  panel.show(N_('Hra teď běží v jiné záložce. Tady skončila, aby si záložky navzájem ' +
    'nepřepsaly uložené hry.'), N_('Načíst znovu'), reload, null, null, started);
});

// ------------------------------------------------------------ sound
// Phones let a page's audio start only inside the player's own tap or click, and the start below
// waits (for the one-tab lock) before the game runs: so the game's audio context is made and
// started here, at once, in the tap on "Hrát", and the game's sound takes it as its own (SDL
// makes one only where Module.SDL2 has none). Where the browser offers it, the page's sound is a
// game's ambient sound, which the device's silent switch mutes.
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
  if (sdl.audioContext.state !== 'running') sdl.audioContext.resume().catch(() => {});
}
// A phone suspends the page's audio when the page is hidden or the screen locks, and lets it
// resume only inside the player's next gesture (iOS takes the end of a touch, not its start): the
// game's sound comes back with the next touch, click or key.
function resumeAudio() {
  const audio = started && !over && Module.SDL2 && Module.SDL2.audioContext;
  if (audio && audio.state !== 'running' && audio.state !== 'closed') {
    audio.resume().catch(() => {});
  }
}
for (const type of ['touchend', 'mouseup', 'keydown']) {
  window.addEventListener(type, resumeAudio, true);
}

// ------------------------------------------------------------ the choice of language
// The list of languages in the page's top right corner, each by its own name. A choice shows the
// page's texts in it at once; the running game speaks it after its next frame and keeps it as
// the player's choice, as its options screen does; before the game runs the game keeps it as it
// starts. What the game speaks (chosen on its options screen, or at its start) the page speaks.
for (const code of languages) {
  const option = document.createElement('option');
  option.value = code;
  option.textContent = ownName(code);
  choice.appendChild(option);
}
choice.onchange = () => {
  const code = choice.value;
  showIn(code);
  if (running && !over) {
    game.chooseLanguage(code);
  } else {
    chosen = code;
    if (ready && !running) keepTheChoice();
  }
  if (!panel.shown()) canvas.focus();
};
// Keeps the language chosen on the page in the player's settings: at once where the game is
// loaded and not running and this tab may write the folder, else as the game starts (begin).
async function keepTheChoice() {
  const code = chosen;
  if (await withPlayerFolder(() => game.keepLanguage(code)) && chosen === code) chosen = null;
}
whenLanguageChanges(() => {
  choice.title = tr(N_('Jazyk'));
  choice.setAttribute('aria-label', choice.title);
  choice.value = pageLanguage();
});
// While the game runs the list stays where the window leaves room beside its picture (a wide
// window, a phone held sideways), and hides where it would cover the picture: the game's options
// screen offers the languages then.
let choiceWidth = 0;
function placeTheChoice() {
  if (!choice.hidden) choiceWidth = choice.offsetWidth || choiceWidth;
  const playing = started && !panel.shown();
  const room = window.innerWidth - (canvas.offsetLeft + canvas.offsetWidth);
  choice.hidden = playing && room < choiceWidth + 16;
}
window.addEventListener('resize', placeTheChoice);
panel.whenShownOrHidden(placeTheChoice);

// ------------------------------------------------------------ starting
async function begin() {
  started = true;
  offerTransfer(false);
  panel.hide();
  canvas.focus();
  // Some browsers (WebKitGTK's) cannot be asked at all: they have promised nothing either.
  if (navigator.storage && navigator.storage.persist) {
    navigator.storage.persist().then(panel.sayKept, () => { panel.sayKept(false); });
  } else {
    panel.sayKept(false);
  }
  // The language chosen on the page, kept where the game reads its start's language. Where the
  // storage cannot be read the game's start tells the player.
  if (chosen !== null && await game.enterPlayerFolder() && await game.keepLanguage(chosen)) {
    chosen = null;
  }
  running = true;
  Module.callMain([]);
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
  panel.show(N_('Kelvora už běží v jiné záložce tohoto prohlížeče. Hrát se dá jen v jedné, aby ' +
    'si záložky nepřepsaly uložené hry. Budete-li hrát tady, hra v té druhé skončí.'),
  N_('Hrát zde'), async () => {
    startAudio();
    panel.hideButtons();
    gameLock = await takeLock(true);
    begin();
  });
}

// Closing the tab, or leaving the page, while a level is played asks first.
window.addEventListener('beforeunload', (event) => {
  if (!running || over || !game.levelRunning()) return;
  event.preventDefault();
  event.returnValue = '';
});

window.Module = {
  canvas,
  noInitialRun: true,
  // Emscripten reports the download as "text (done/total)".
  setStatus(text) {
    const m = text.match(/\((\d+(?:\.\d+)?)\/(\d+)\)/);
    if (m) panel.loaded(Number(m[1]) / Number(m[2]));
  },
  // The game speaks the language of the player's choice, or of the browser, before it offers to
  // start; a choice made on the page meanwhile stays the page's.
  async onRuntimeInitialized() {
    if (over) return;
    ready = true;
    panel.loaded(1);
    const code = await game.speakStartLanguage();
    if (chosen === null) showIn(code);
    else await game.speak(chosen);
    if (over) return;
    panel.show(N_('Hra je připravena.'), N_('Hrát'), start);
    offerTransfer(true);
  },
  // The game speaks another language: the page shows its texts in it.
  onLanguageSpoken(code) {
    if (chosen === null || running) showIn(code);
  },
  // The saved games could not be read (Storage.js). As the game starts, it waits for the
  // player's choice; before, the page's own reads say so where they need them.
  onStorageUnreadable() {
    if (!running) return Promise.resolve();
    return new Promise((resolve) => {
      panel.show(N_('Uložené hry a nastavení se nepodařilo přečíst z úložiště prohlížeče. Aby ' +
        'je hra nepřepsala, nebude nic ukládat. Načtěte stránku znovu; když to nepomůže, ' +
        'povolte tomuto webu ukládání dat (anonymní okno to často nedovolí).'),
      N_('Načíst znovu'), reload, N_('Hrát bez ukládání'), () => {
        panel.hide();
        canvas.focus();
        resolve();
      }, started);
    });
  },
  onGameEnded() {
    over = true;
    running = false;
    if (gameLock) gameLock.release();
    gameLock = null;
    panel.show(N_('Hra skončila.'), N_('Hrát znovu'), reload, null, null, true);
    offerTransfer(true);
  },
  onAbort(what) {
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
window.addEventListener('error', (event) => {
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

async function load() {
  if (location.protocol === 'file:') return;  // no game from the disk: disk.js says so
  panel.say(N_('Načítám hru…'));
  if (!canRunTheGame()) {
    fail(N_('Tento prohlížeč neumí spustit WebAssembly, ve kterém je hra napsaná (nebo jen ' +
      'jeho starší podobu). Otevřete hru v jiném, novějším prohlížeči: Firefox, Chrome, ' +
      'Edge nebo Safari.'));
    return;
  }
  // Without the offline copy the game still loads, from the network.
  await keepOffline({ started: () => started, ready: () => ready }).catch((error) => {
    console.warn('Kelvora: no offline copy of the page:', error);
  });
  const script = document.createElement('script');
  script.src = 'kelvora.js';
  script.onerror = () => { failedDownload('kelvora.js'); };
  document.body.appendChild(script);
}
load();
