// What the page's tests share: the page served from a folder on 127.0.0.1 by a server of the
// test's own, a display for the browsers that need a window, a new build of the page, the PNG
// reader, and the game as the tests read and play it in a tab of any engine's driver.
import { execFileSync, spawn } from 'node:child_process';
import crypto from 'node:crypto';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import pngjs from 'pngjs';

const { PNG } = pngjs;

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm', '.png': 'image/png',
  '.data': 'application/octet-stream', '.css': 'text/css', '.webmanifest': 'application/manifest+json',
};
const sha256 = bytes => crypto.createHash('sha256').update(bytes).digest('hex');

// The test's own script, put into index.html before the page's scripts in every engine (a
// classic WebDriver has no init scripts of its own): it keeps the page's errors and its asking
// before it is left in the tab's session storage, for a driver that sees no events, and runs the
// site's `init` scripts, fetched from the server as the tab first opens a page of the site and
// kept in its session storage, so that they run offline too.
// The service worker's list of files gets index.html's hash with it.
const own = `<script>(function () {
  function keep(key, value) {
    try { sessionStorage[key] = JSON.stringify(JSON.parse(sessionStorage[key] || '[]').concat([value])); } catch (e) {}
  }
  addEventListener('error', function (e) { keep('kelvora-test-errors', e.message); });
  addEventListener('unhandledrejection', function (e) { keep('kelvora-test-errors', String(e.reason)); });
  const error = console.error;
  console.error = function () { keep('kelvora-test-errors', Array.from(arguments).join(' ')); error.apply(console, arguments); };
  addEventListener('DOMContentLoaded', function () {
    addEventListener('beforeunload', function (e) { if (e.defaultPrevented) keep('kelvora-test-dialogs', 'beforeunload'); });
  });
  if (sessionStorage['kelvora-test-init'] === undefined) {
    const init = new XMLHttpRequest();
    init.open('GET', 'kelvora-test-init.js', false);
    init.send();
    sessionStorage['kelvora-test-init'] = init.responseText;
  }
  (0, eval)(sessionStorage['kelvora-test-init']);
})();</script>
`;
function withOwnScript(html) {
  const at = html.indexOf('<script');
  return Buffer.from(html.slice(0, at) + own + html.slice(at));
}

// Serves the folder `dir` on a free port of 127.0.0.1: a new origin, with storage of its own.
// The server's `dir` may be changed (another build takes the page's place); it answers 404 for
// the file names in `failing`, keeps the names asked for in `log` and the bytes it sent in
// `bytes`, and can be stopped and started again on its port (a page offline). `init` holds
// functions each page of the site runs before its own scripts; `headers` go with every file.
// Besides the page it serves kelvora-test-blank.html, an empty page of the same origin.
export async function serve(dir, { init = [], headers = {} } = {}) {
  const sockets = new Set();
  const site = { dir, failing: new Set(), log: [], bytes: 0, init: [...init] };
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://page').pathname);
    const file = path.join(site.dir, name.endsWith('/') ? name + 'index.html' : name);
    const base = path.basename(file);
    const send = (body, type) => response.writeHead(200, { 'Content-Type': type, ...headers }).end(body);
    if (base === 'kelvora-test-init.js') return send(site.init.map(f => `(${f})();`).join('\n'), types['.js']);
    if (base === 'kelvora-test-blank.html') return send('<!doctype html><title>test</title><link rel="icon" href="data:,">', types['.html']);
    site.log.push(base);
    const found = file.startsWith(site.dir + path.sep) && fs.statSync(file, { throwIfNoEntry: false })?.isFile();
    if (!found || site.failing.has(base)) return response.writeHead(404).end();
    let body = fs.readFileSync(file);
    if (base === 'index.html') body = withOwnScript(body.toString());
    if (base === 'sw.js') {
      const html = withOwnScript(fs.readFileSync(path.join(path.dirname(file), 'index.html'), 'utf8'));
      body = Buffer.from(body.toString().replace(/('index\.html': \{ sha256: ')[0-9a-f]+(', size: )\d+/,
        `$1${sha256(html)}$2${html.length}`));
    }
    site.bytes += body.length;
    send(body, types[path.extname(file)] || 'application/octet-stream');
  });
  server.on('connection', socket => { sockets.add(socket); socket.on('close', () => sockets.delete(socket)); });
  await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
  const port = server.address().port;
  site.url = `http://127.0.0.1:${port}/`;
  site.stop = () => new Promise(resolve => { server.close(resolve); for (const socket of sockets) socket.destroy(); });
  site.start = () => new Promise(resolve => server.listen(port, '127.0.0.1', resolve));
  // What the browser asked the server for while `action` ran, and how many bytes it got.
  site.served = async action => {
    const from = site.log.length, bytes = site.bytes;
    await action();
    return { names: site.log.slice(from), bytes: site.bytes - bytes };
  };
  return site;
}

// A display of its own (Xvfb) for a browser that needs a window: WebGL needs one in Firefox and
// WebKitGTK. A window manager (openbox) gives the browser's window the focus a player's desktop
// gives it, without which Firefox refuses full screen. Stopped as the test ends.
export async function startDisplay() {
  let n = 90;
  while (fs.existsSync(`/tmp/.X${n}-lock`)) ++n;
  const server = spawn('Xvfb', [`:${n}`, '-screen', '0', '1920x1200x24', '-nolisten', 'tcp'], { stdio: 'ignore' });
  process.on('exit', () => server.kill());
  for (let i = 0; i < 100 && !fs.existsSync(`/tmp/.X11-unix/X${n}`); ++i) await sleep(50);
  const manager = spawn('openbox', [], { stdio: 'ignore', env: { ...process.env, DISPLAY: `:${n}` } });
  process.on('exit', () => manager.kill());
  await sleep(500);
  return { display: `:${n}`, stop: () => { manager.kill(); server.kill(); } };
}

// Folders made for the test, removed as it ends.
const folders = [];
process.on('exit', () => { for (const folder of folders) fs.rmSync(folder, { recursive: true, force: true }); });
export function tempFolder(name) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), `kelvora-${name}-`));
  folders.push(folder);
  return folder;
}

// Another build of the page in `folder`: a copy of `from` whose page.js sets `marker` on the
// window and whose index.html names it, with its service worker written again by the build's
// own tool for the same files. Returns the new build's name, which ends its cache's name.
export function newBuild(from, folder, marker) {
  fs.cpSync(from, folder, { recursive: true });
  fs.appendFileSync(path.join(folder, 'page.js'), `\nwindow.${marker} = true;\n`);
  const html = path.join(folder, 'index.html');
  fs.writeFileSync(html, fs.readFileSync(html, 'utf8').replace('</body>', `<!-- ${marker} -->\n</body>`));
  const worker = fs.readFileSync(path.join(from, 'sw.js'), 'utf8');
  // The files it keeps, and those fetched only when the game asks (a language's pictures).
  const files = [...worker.matchAll(/^  '([^']+)': \{ sha256[^}]*\}/gm)];
  const names = onDemand => files.filter(m => m[0].includes('onDemand: true') === onDemand).map(m => m[1]).join(',');
  execFileSync('cmake', [`-DWEB_DIR=${folder}`, `-DVERSION=${worker.match(/const VERSION = '([^']+)'/)[1]}`,
    `-DFILES=${names(false)}`, `-DON_DEMAND=${names(true)}`, '-P', fileURLToPath(new URL('../../web/ServiceWorker.cmake', import.meta.url))]);
  return fs.readFileSync(path.join(folder, 'sw.js'), 'utf8').match(/const (?:CACHE|BUILD) = '([^']+)'/)[1];
}

// A PNG's pixels, as RGBA (pngjs).
export const readPng = png => PNG.sync.read(png);
// The mean difference of a picture from the 1024 x 768 reference, each of its pixels compared
// with the reference's nearest one.
export function meanDifference(picture, reference) {
  let error = 0;
  for (let y = 0; y < picture.height; ++y) {
    for (let x = 0; x < picture.width; ++x) {
      const rx = Math.min(1023, Math.floor(x * 1024 / picture.width));
      const ry = Math.min(767, Math.floor(y * 768 / picture.height));
      for (let c = 0; c < 3; ++c) {
        error += Math.abs(picture.data[(y * picture.width + x) * 4 + c] - reference.data[(ry * 1024 + rx) * 4 + c]);
      }
    }
  }
  return error / (picture.width * picture.height * 3);
}

// What a page whose full screen and orientation lock are refused by throwing runs first.
export const refuseFullScreen = () => {
  Element.prototype.requestFullscreen = () => { throw new TypeError('refused'); };
  if (screen.orientation) screen.orientation.lock = () => { throw new TypeError('refused'); };
};

// ---------------------------------------------------------------- the game in a tab
export const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));
export const atMenu = s => s.DisplayReady && !s.IntroPending && !s.InGame && !s.LoadScreenOpen && !s.OptionsOpen;

// Asks `get` every 50 ms until it gives a value (not false or null), and returns it; on time-out
// null where `soft`, else an error naming `what`.
export async function poll(get, { timeout = 20000, soft = false, what } = {}) {
  for (const end = Date.now() + timeout; ; await sleep(50)) {
    const value = await get();
    if (value) return value;
    if (Date.now() > end) {
      if (soft) return null;
      throw new Error(`timed out waiting for ${what}`);
    }
  }
}
// Waits until `test` (run in the page with `arg`) is true, through reloads.
export const waitFor = (tab, test, arg, { what = String(test), ...options } = {}) =>
  poll(() => tab.evaluate(test, arg).catch(() => null), { what, ...options });
export const shown = (tab, selector, timeout = 60000) =>
  waitFor(tab, s => document.querySelector(s)?.hidden === false, selector, { timeout, soft: timeout < 60000, what: selector });
export const playSays = (tab, label, timeout = 60000) => waitFor(tab, t => {
  const play = document.getElementById('play');
  return play.textContent === t && !play.hidden;
}, label, { timeout, soft: true });

// The game of one tab: its state dump, waits on it, clicks as a player makes them, and the
// page's panel.
export function game(tab) {
  const state = () => tab.evaluate(() => JSON.parse(UTF8ToString(Module._kelvora_state())));
  const until = (what, test, timeout) => poll(async () => {
    const s = await state().catch(() => null);
    return s && test(s) && s;
  }, { timeout, what });
  const soft = (what, test, timeout) => until(what, test, timeout).catch(() => state());
  // Frames pass in the game: waits until `n` more have been presented.
  const frames = async n => { const from = (await state()).Frames; return until(`${n} frames`, s => s.Frames >= from + n); };
  // A click as a player makes it: the move, the press and the release each followed by a frame.
  async function click(x, y) {
    for (const step of [() => tab.mouse.move(x, y), () => tab.mouse.down(), () => tab.mouse.up()]) {
      await step();
      await frames(1);
    }
  }
  // A click, and the state once it has done `what` (passes `test`).
  const to = async (x, y, what, test) => { await click(x, y); return until(what, test); };
  const g = {
    tab, state, until, soft, frames, click, to,
    // The state with the pointer at rest in the window's corner, over no button (the menu's
    // pictures are drawn with the button under the pointer lit).
    async atRest() { await tab.mouse.move(5, 5); await frames(2); return state(); },
    // The page opened until it shows its button (or the element `what`).
    async open(url, what = '#play') { await tab.goto(url); await shown(tab, `${what}:not([hidden])`); },
    // From "Hrát" (clicked, by `play`) through the intro to the main menu.
    async toMenu() {
      await until('the intro', s => s.Frames > 0 && s.IntroPending);
      await tab.press('Escape');
      return until('the main menu', atMenu);
    },
    async play() { await tab.click('#play'); return g.toMenu(); },
    // Opens the page, starts the game with "Hrát" and skips the intro to the main menu. Returns
    // the milliseconds from opening the page to "Hrát" and from there to the menu.
    async openToMenu(url) {
      const opened = Date.now();
      await g.open(url);
      const ready = Date.now() - opened, started = Date.now();
      await g.play();
      return { ready, menu: Date.now() - started };
    },
    // "Hrát" on a page opened while another tab holds the game: the panel as it offers
    // "Hrát zde", which is then clicked.
    async offered(url) {
      await g.open(url);
      await tab.click('#play');
      await playSays(tab, 'Hrát zde', 10000);
      const panel = await g.panel();
      await tab.click('#play');
      return panel;
    },
    // The panel's text and its buttons' labels.
    panel: () => tab.evaluate(() => {
      const text = id => (document.getElementById(id).hidden ? null : document.getElementById(id).textContent);
      return { shown: !document.getElementById('panel').hidden, status: text('status'), play: text('play'),
        other: text('other'), kept: text('kept'), transfer: text('transfer') };
    }),
    // The text of the panel's `id` once it shows; null where it has not within a `timeout` given.
    said: (id, timeout) => waitFor(tab, i => !document.getElementById(i).hidden && document.getElementById(i).textContent,
      id, { timeout, soft: !!timeout, what: `#${id}` }),
    // The page's language and its texts, and where its list of languages stands.
    texts: () => tab.evaluate(() => {
      const choice = document.getElementById('language'), text = id => document.getElementById(id).textContent;
      return { lang: document.documentElement.lang, status: text('status'), play: text('play'), export: text('export'),
        note: text('note'), turn: text('turn'), choice: choice.value, options: Array.from(choice.options, o => `${o.value} ${o.textContent}`),
        choiceShown: !choice.hidden && choice.offsetWidth > 0, choiceLeft: Math.round(choice.getBoundingClientRect().left),
        pictureRight: Math.round(document.getElementById('canvas').getBoundingClientRect().right) };
    }),
    // Where an element (the canvas unless `selector` says) stands on the page, in CSS pixels.
    box: (selector = '#canvas') => tab.evaluate(s => document.querySelector(s).getBoundingClientRect().toJSON(), selector),
    // The last frame's pixels (RGB 565) in the rectangle from (x, y), by rows.
    pixels: (x = 0, y = 0, width = 1024, height = 768) => tab.evaluate(([x, y, width, height]) => {
      const at = Module._kelvora_frame() / 2, out = [], row = j => at + j * 1024;
      for (let j = y; j < Math.min(768, y + height); ++j) out.push(...HEAPU16.subarray(row(j) + x, row(j) + Math.min(1024, x + width)));
      return out;
    }, [x, y, width, height]),
    // Whether the page's sound runs (within `timeout`), and whether it is in full screen as `want`s.
    audio: timeout => waitFor(tab, () => Module.SDL2?.audioContext?.state === 'running', null, { timeout, soft: true }),
    fullScreen: want => waitFor(tab, w => !!document.fullscreenElement === w, want, { timeout: 5000, soft: true }),
    // The records of the browser's storage of the player's Data folder, by file name (in the folder).
    stored: () => tab.evaluate(() => new Promise((resolve, reject) => {
      const open = indexedDB.open('/player/Data');
      open.onerror = () => reject(open.error);
      open.onsuccess = () => {
        const request = open.result.transaction('FILE_DATA').objectStore('FILE_DATA').getAllKeys();
        request.onsuccess = () => { resolve(request.result.map(k => String(k).replace('/player/Data/', ''))); open.result.close(); };
        request.onerror = () => reject(request.error);
      };
    })),
    // From the menu: a new game's level 1 (its intro passed).
    async newLevel() {
      await to(500, 255, 'the level intro', s => s.LevelIntroOpen);
      return to(500, 670, 'the level', s => s.InGame && !s.LevelIntroOpen);
    },
    // In a level: the buying tool and the plot of column `col` of the first row bought.
    async buy(col) {
      for (const [x, y] of [[200, 130], [60, 60]]) {
        await click(x, y);
        await frames(2);
      }
      return to(50 + 43 * col, 295, 'the plot', s => s.Field[col][0].Owned);
    },
    // In a level: the save screen (key 4), a click on a slot (0 to 4), and with `save` the screen closed.
    async saveScreen() { await tab.press('4'); return until('the save screen', s => s.SaveScreenOpen); },
    async saveInto(slot) { await g.saveScreen(); await click(300, 350 + 55 * slot); },
    async save(slot) { await g.saveInto(slot); return until('the save', s => !s.SaveScreenOpen); },
    // From a level to the main menu, and from the menu to the options screen and back.
    leave: () => to(960, 50, 'the menu from the level', atMenu),
    options: () => to(500, 495, 'the options', s => s.OptionsOpen),
    closeOptions: () => to(500, 600, 'the menu again', atMenu),
    // A click with no frame awaited between its events, as on "Konec", which ends the game.
    async press(x, y) { await tab.mouse.move(x, y); await tab.mouse.down(); await tab.mouse.up(); },
    end: () => g.press(512, 611),
    // From the menu: the load screen's list of slots (`listing`), and the game of `slot` loaded.
    listing: () => to(500, 370, 'the load screen', s => s.LoadScreenOpen),
    async load(slot = 2) {
      const listed = await g.listing();
      return { listed, loaded: await to(300, 350 + 55 * slot, 'the loaded game', s => s.InGame) };
    },
  };
  return g;
}
