// Debian's Firefox ESR through WebDriver BiDi (puppeteer-core), in a window on a display of its
// own: headless Firefox has no WebGL. The tests' driver interface (see webkit.mjs).
import puppeteer from 'puppeteer-core';
import fs from 'node:fs';
import path from 'node:path';
import { execFileSync, spawn } from 'node:child_process';
import { poll, sleep, startDisplay, tempFolder } from '../site.mjs';
import { wrap } from './chromium.mjs';

export async function launch() {
  const display = await startDisplay();
  const downloads = tempFolder('firefox-downloads');
  // No sound card here: the page's audio plays into a PulseAudio server of the test's own, whose
  // only output is a null sink (as root the server warns that it is meant for a user; it runs).
  const home = tempFolder('firefox-home');
  const socket = path.join(home, 'sound');
  const pulse = spawn('pulseaudio', ['-n', '--daemonize=no', '--exit-idle-time=-1', '--use-pid-file=no',
    '-L', 'module-null-sink sink_name=null', '-L', `module-native-protocol-unix socket=${socket} auth-anonymous=1`],
  { stdio: 'ignore', env: { ...process.env, HOME: home, XDG_RUNTIME_DIR: home } });
  process.on('exit', () => pulse.kill());
  for (let i = 0; i < 100 && !fs.existsSync(socket); ++i) await sleep(50);
  const browser = await puppeteer.launch({
    browser: 'firefox', protocol: 'webDriverBiDi', headless: false,
    executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr', userDataDir: tempFolder('firefox'),
    env: { ...process.env, DISPLAY: display.display, HOME: home, PULSE_SERVER: `unix:${socket}` }, defaultViewport: { width: 1024, height: 768 },
    extraPrefsFirefox: {
      // A download goes into the test's folder without asking; a page asking to keep its
      // storage for good gets the answer of a player who allows it.
      'browser.download.dir': downloads, 'browser.download.folderList': 2,
      'browser.download.useDownloadDir': true, 'browser.download.always_ask_before_handling_new_types': false,
      'dom.storageManager.prompt.testing': true, 'dom.storageManager.prompt.testing.allow': true,
      'full-screen-api.warning.timeout': 0, 'intl.accept_languages': 'cs-CZ', 'media.cubeb.backend': 'pulse',
    },
  });
  const errors = [], dialogs = [];
  // Firefox gives a window's page the focus (without which it refuses full screen) only after a
  // click of the display's own on the window, as a player's first click gives it.
  const focus = () => execFileSync('xdotool', ['getactivewindow', 'mousemove', '--window', '%1', '100', '100', 'click', '1'],
    { env: { ...process.env, DISPLAY: display.display } });
  const tab = async page => {
    await page.setViewport({ width: 1024, height: 768 });
    focus();
    return wrap(page, errors, dialogs, {
      resize: (width, height) => page.setViewport({ width, height }),
      setFiles: async (selector, files) => (await page.$(selector)).uploadFile(...[files].flat()),
      async download(selector) {
        const before = new Set(fs.readdirSync(downloads));
        await page.click(selector);
        return poll(() => {
          const names = fs.readdirSync(downloads);
          const name = names.find(n => !before.has(n) && !/\.part$/.test(n));
          return name && !names.some(n => /\.part$/.test(n)) && { name, bytes: fs.readFileSync(path.join(downloads, name)) };
        }, { what: 'the download' });
      },
    });
  };
  return {
    engine: 'firefox', first: await tab((await browser.pages())[0] || await browser.newPage()),
    errors: async () => errors, dialogs: async () => dialogs,
    // Each tab a window of its own: Firefox draws no frame of a tab behind another.
    newTab: async () => tab(await browser.newPage({ type: 'window' })),
    async quit() {
      await browser.close();
      display.stop();
      pulse.kill();
    },
  };
}
