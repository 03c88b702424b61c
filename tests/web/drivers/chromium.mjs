// Debian's Chromium, headless, through playwright-core: the tests' driver interface (see
// webkit.mjs), and the DevTools protocol for what only Chromium offers (touch, throttling, its
// own reading of the manifest).
import { chromium } from 'playwright-core';
import fs from 'node:fs';
import { tempFolder } from '../site.mjs';

// Chromium as this machine runs it: as root without its sandbox, with none of its own
// connections to the network (which is closed here).
export const args = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// A tab of playwright's or puppeteer's, whose pages speak alike, with the operations `own` to
// each; its errors and dialogs (accepted) are kept.
export function wrap(page, errors, dialogs, own) {
  page.on('console', m => { if (m.type() === 'error') errors.push(m.text()); });
  page.on('pageerror', e => errors.push(e.message));
  page.on('dialog', d => { dialogs.push(d.type()); d.accept().catch(() => {}); });
  return {
    page, goto: url => page.goto(url), evaluate: (f, arg) => page.evaluate(f, arg), click: selector => page.click(selector),
    mouse: { move: (x, y) => page.mouse.move(x, y), down: () => page.mouse.down(), up: () => page.mouse.up() },
    async press(keys) {
      const held = keys.split('+');
      const key = held.pop();
      for (const k of held) await page.keyboard.down(k);
      await page.keyboard.press(key);
      for (const k of held.reverse()) await page.keyboard.up(k);
    },
    shot: async selector => Buffer.from(await (await page.$(selector)).screenshot()),
    close: () => page.close(), ...own,
  };
}

// A browser on a fresh profile of its own, with the context options given (viewport, touch).
export async function launch(options = {}) {
  const context = await chromium.launchPersistentContext(tempFolder('chromium'), {
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true, args,
    viewport: { width: 1024, height: 768 }, locale: 'cs-CZ', acceptDownloads: true, ...options,
  });
  const errors = [], dialogs = [];
  const tab = page => wrap(page, errors, dialogs, {
    resize: (width, height) => page.setViewportSize({ width, height }),
    setFiles: (selector, files) => page.setInputFiles(selector, files),
    async download(selector) {
      const [file] = await Promise.all([page.waitForEvent('download', { timeout: 20000 }), page.click(selector)]);
      return { name: file.suggestedFilename(), bytes: fs.readFileSync(await file.path()) };
    },
    cdp: () => context.newCDPSession(page),
  });
  return {
    engine: 'chromium', first: tab(context.pages()[0] || await context.newPage()),
    errors: async () => errors, dialogs: async () => dialogs,
    newTab: async () => tab(await context.newPage()),
    quit: () => context.close(),
  };
}
