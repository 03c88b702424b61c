// WebKitGTK's MiniBrowser through Debian's WebKitWebDriver (the W3C WebDriver protocol, spoken
// here over HTTP), in a window on a display of its own.
// The interface every driver offers the tests: launch() gives a browser on a fresh profile
// with `first` tab, newTab(), errors() and dialogs() (the page's errors and its asking before
// it is left, so far), quit(); a tab offers goto(url), evaluate(function, argument) in the page,
// click(selector), mouse.move(x, y), mouse.down(), mouse.up(), press(key, as "Alt+Enter"),
// resize(width, height) of its viewport, setFiles(selector, paths) on a file input, shot(selector)
// (a PNG of the element), download(selector) ({ name, bytes } of the file a click gives), close().
// A classic WebDriver sees no events: the errors and the asking are those the test's own script
// in the page keeps (site.mjs), and a download is the file the page hands the browser.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import { poll, sleep, startDisplay } from '../site.mjs';

const element = 'element-6066-11e4-a52e-4f735466cecf';
const keys = { Escape: '\uE00C', F11: '\uE03B', Enter: '\uE007', Alt: '\uE00A', Shift: '\uE008' };
const miniBrowser = () => {
  const lib = '/usr/lib/x86_64-linux-gnu';
  const folder = fs.readdirSync(lib).find(n => /^webkit2gtk-4\.\d$/.test(n));
  return process.env.MINIBROWSER || `${lib}/${folder}/MiniBrowser`;
};

export async function launch() {
  const display = await startDisplay();
  const port = await new Promise(resolve => {
    const probe = net.createServer().listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
  const driver = spawn('WebKitWebDriver', [`--port=${port}`], { stdio: 'ignore', env: { ...process.env, DISPLAY: display.display, LANGUAGE: 'cs' } });
  process.on('exit', () => driver.kill());
  let base = `http://127.0.0.1:${port}`;
  async function send(method, path, body) {
    const response = await fetch(base + path, { method, headers: { 'Content-Type': 'application/json' },
      body: body && JSON.stringify(body) });
    const { value } = await response.json();
    if (!response.ok) throw new Error(`${path}: ${value.error}: ${value.message}`);
    return value;
  }
  for (let i = 0; i < 100; ++i, await sleep(50)) if (await send('GET', '/status').catch(() => null)) break;
  const session = await send('POST', '/session', { capabilities: { alwaysMatch: {
    'webkitgtk:browserOptions': { binary: miniBrowser(), args: ['--automation'] },
    unhandledPromptBehavior: 'accept', timeouts: { script: 120000, pageLoad: 120000 } } } });
  base += `/session/${session.sessionId}`;
  const errors = [], dialogs = [];
  let current = await send('GET', '/window');
  const tabs = new Set();
  const tab = handle => {
    const command = async (method, path, body) => {
      if (current !== handle) await send('POST', '/window', { handle });
      current = handle;
      return send(method, path, body);
    };
    const find = async selector => (await command('POST', '/element', { using: 'css selector', value: selector }))[element];
    const act = (type, actions) => command('POST', '/actions', {
      actions: [{ type, id: type, ...(type === 'pointer' ? { parameters: { pointerType: 'mouse' } } : {}), actions }] });
    const evaluate = async (f, arg) => {
      const result = await command('POST', '/execute/async', { args: [arg], script: `const done = arguments[1];
        Promise.resolve().then(() => (${f})(arguments[0])).then(v => done({ v: v === undefined ? null : v }),
          e => done({ e: String(e && e.message || e) }));` });
      if (result && 'e' in result) throw new Error(result.e);
      return result && result.v;
    };
    const kept = async () => {
      const [e, d] = await evaluate(() => ['kelvora-test-errors', 'kelvora-test-dialogs'].map(key => {
        const list = JSON.parse(sessionStorage[key] || '[]');
        sessionStorage.removeItem(key);
        return list;
      })).catch(() => [[], []]);
      errors.push(...e);
      dialogs.push(...d);
    };
    const t = {
      // The page 1024 x 768 as it loads, as in the other engines: MiniBrowser may have put a bar of
      // its own over the page meanwhile (a download's).
      goto: async url => {
        await command('POST', '/url', { url });
        await t.resize(1024, 768);
      },
      evaluate,
      click: async selector => command('POST', `/element/${await find(selector)}/click`, {}),
      mouse: {
        move: (x, y) => act('pointer', [{ type: 'pointerMove', duration: 0, origin: 'viewport', x: Math.round(x), y: Math.round(y) }]),
        down: () => act('pointer', [{ type: 'pointerDown', button: 0 }]),
        up: () => act('pointer', [{ type: 'pointerUp', button: 0 }]),
      },
      press: key => {
        const down = key.split('+').map(k => keys[k] || k);
        return act('key', [...down.map(value => ({ type: 'keyDown', value })),
          ...down.reverse().map(value => ({ type: 'keyUp', value }))]);
      },
      // The window is sized until its page has the size asked, its frame around the page measured
      // anew each time: it changes as WebKit leaves full screen, a while after the page asked.
      async resize(width, height) {
        for (let i = 0; i < 40 && await evaluate(() => !!document.fullscreenElement); ++i) await sleep(50);
        let inner;
        for (let i = 0; i < 100; ++i, await sleep(50)) {
          const [outerW, outerH, ...size] = await evaluate(() => [outerWidth, outerHeight, innerWidth, innerHeight]);
          inner = size;
          if (String(inner) === String([width, height])) return;
          if (i % 10 === 0) await command('POST', '/window/rect', { width: width + outerW - inner[0], height: height + outerH - inner[1] });
        }
        throw new Error(`the page stayed ${inner.join(' x ')}, not ${width} x ${height}`);
      },
      setFiles: async (selector, files) => command('POST', `/element/${await find(selector)}/value`, { text: [files].flat().join('\n') }),
      shot: async selector => Buffer.from(await command('GET', `/element/${await find(selector)}/screenshot`), 'base64'),
      async download(selector) {
        await evaluate(() => {
          HTMLAnchorElement.prototype.click = function () { window.kelvoraTestDownload = [this.download, this.href]; };
        });
        await t.click(selector);
        const file = await poll(() => evaluate(async () => window.kelvoraTestDownload && [window.kelvoraTestDownload[0],
          btoa(String.fromCharCode(...new Uint8Array(await (await fetch(window.kelvoraTestDownload[1])).arrayBuffer())))]),
        { what: 'the download' });
        return { name: file[0], bytes: Buffer.from(file[1], 'base64') };
      },
      kept,
      async close() {
        await kept();
        tabs.delete(t);
        await command('DELETE', '/window');
      },
    };
    tabs.add(t);
    return t;
  };
  const keptOfAll = async () => { for (const t of [...tabs]) await t.kept(); };
  // Each tab a window of its own (WebKit, like Firefox, draws no frame of a tab behind another),
  // its page 1024 x 768 as in the other engines.
  const sized = async t => { await t.resize(1024, 768); return t; };
  return {
    engine: 'webkit', first: await sized(tab(current)),
    errors: async () => { await keptOfAll(); return errors; },
    dialogs: async () => { await keptOfAll(); return dialogs; },
    // A new window is asked of a window still open (the current one may have been closed).
    async newTab() {
      const open = await send('GET', '/window/handles');
      if (!open.includes(current)) {
        current = open[0];
        await send('POST', '/window', { handle: current });
      }
      return sized(tab((await send('POST', '/window/new', { type: 'window' })).handle));
    },
    async quit() {
      await send('DELETE', '');
      driver.kill();
      display.stop();
    },
  };
}
