// Debian's Firefox ESR through WebDriver BiDi (puppeteer-core), in a window on a display of its
// own: headless Firefox has no WebGL. The tests' driver interface (see webkit.mjs).
import puppeteer from 'puppeteer-core';
import fs from 'node:fs';
import path from 'node:path';
import { sleep, startDisplay, tempFolder } from '../site.mjs';
import { wrap } from './chromium.mjs';

export async function launch() {
  const display = await startDisplay();
  const downloads = tempFolder('firefox-downloads');
  const browser = await puppeteer.launch({
    browser: 'firefox', protocol: 'webDriverBiDi', headless: false,
    executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr', userDataDir: tempFolder('firefox'),
    env: { ...process.env, DISPLAY: display.display }, defaultViewport: { width: 1024, height: 768 },
    extraPrefsFirefox: {
      // A download goes into the test's folder without asking; a page asking to keep its
      // storage for good gets the answer of a player who allows it.
      'browser.download.dir': downloads, 'browser.download.folderList': 2,
      'browser.download.useDownloadDir': true, 'browser.download.always_ask_before_handling_new_types': false,
      'dom.storageManager.prompt.testing': true, 'dom.storageManager.prompt.testing.allow': true,
      'full-screen-api.warning.timeout': 0, 'intl.accept_languages': 'cs-CZ',
    },
  });
  const errors = [], dialogs = [];
  const tab = page => wrap(page, errors, dialogs, {
    resize: (width, height) => page.setViewport({ width, height }),
    setFiles: async (selector, files) => (await page.$(selector)).uploadFile(...[files].flat()),
    async download(selector) {
      const before = new Set(fs.readdirSync(downloads));
      await page.click(selector);
      for (let i = 0; i < 400; ++i, await sleep(50)) {
        const names = fs.readdirSync(downloads);
        const name = names.find(n => !before.has(n) && !/\.part$/.test(n));
        if (name && !names.some(n => /\.part$/.test(n))) return { name, bytes: fs.readFileSync(path.join(downloads, name)) };
      }
      throw new Error('no download');
    },
  });
  return {
    engine: 'firefox', first: tab((await browser.pages())[0] || await browser.newPage()),
    errors: async () => errors, dialogs: async () => dialogs,
    newTab: async () => tab(await browser.newPage()),
    async quit() {
      await browser.close();
      display.stop();
    },
  };
}
