// The browser build, played in Debian's headless Chromium through playwright-core, against the
// page served on 127.0.0.1 by this script:
//   - the page loads, "Hrát" starts the intro, Escape leads to the main menu, whose frame is the
//     headless runner's picture of the same frame pixel for pixel (MENU_PNG), and the canvas
//     shows it;
//   - a new game reaches level 1 and buying a plot costs 50;
//   - a game saved into a slot is listed after a reload and loads with its state; the volumes
//     set in the options survive a reload;
//   - the page's audio runs after the click; "Konec" ends the game and the page offers to play
//     again; the page logs no error.
// The game is read through the page's test hooks: the state dump the runner writes, and the
// last frame presented. Usage: node test.mjs WEB_FOLDER MENU_PNG OUT_FOLDER
import { chromium } from 'playwright-core';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';

const [webDir, menuPng, outDir] = process.argv.slice(2).map(p => path.resolve(p));
fs.mkdirSync(outDir, { recursive: true });

// ---------------------------------------------------------------- the server
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.png': 'image/png', '.data': 'application/octet-stream',
};
let bytesServed = 0;
const server = http.createServer((request, response) => {
  const name = decodeURIComponent(new URL(request.url, 'http://page').pathname);
  const file = path.join(webDir, name === '/' ? 'index.html' : name);
  if (!file.startsWith(webDir + path.sep) || !fs.statSync(file, { throwIfNoEntry: false })?.isFile()) {
    response.writeHead(404).end();
    return;
  }
  const body = fs.readFileSync(file);
  bytesServed += body.length;
  response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
  response.end(body);
});
await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
const url = `http://127.0.0.1:${server.address().port}/`;

// ---------------------------------------------------------------- checks
const failures = [];
function check(condition, what) {
  console.log(`${condition ? 'ok  ' : 'FAIL'} ${what}`);
  if (!condition) failures.push(what);
}

// ---------------------------------------------------------------- the browser
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'kelvora-chromium-'));
const context = await chromium.launchPersistentContext(profile, {
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  viewport: { width: 1024, height: 768 },
});
const page = context.pages()[0] || await context.newPage();
const errors = [];
page.on('console', m => { if (m.type() === 'error') errors.push(m.text()); });
page.on('pageerror', e => errors.push(e.message));

const state = () => page.evaluate(() => JSON.parse(UTF8ToString(Module._kelvora_state())));
async function until(what, test, timeout = 20000) {
  const end = Date.now() + timeout;
  for (;;) {
    const s = await state();
    if (test(s)) return s;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await page.waitForTimeout(50);
  }
}
// Frames pass in the game: waits until `n` more have been presented.
async function frames(n) {
  const from = (await state()).Frames;
  return until(`${n} frames`, s => s.Frames >= from + n);
}
// A click as a player makes it: the press and the release in frames of their own.
async function click(x, y) {
  await page.mouse.move(x, y);
  await frames(1);
  await page.mouse.down();
  await frames(1);
  await page.mouse.up();
  await frames(1);
}
const atMenu = s => s.DisplayReady && !s.IntroPending && !s.InGame && !s.LoadScreenOpen && !s.OptionsOpen;

// Opens the page, starts the game with "Hrát" and skips the intro to the main menu. Returns the
// milliseconds from opening the page to "Hrát" and from there to the menu.
async function openToMenu() {
  const opened = Date.now();
  await page.goto(url);
  await page.waitForSelector('#play:not([hidden])', { timeout: 30000 });
  const ready = Date.now() - opened;
  await page.click('#play');
  const started = Date.now();
  await until('the intro', s => s.Frames > 0 && s.IntroPending);
  await page.keyboard.press('Escape');
  await until('the main menu', atMenu);
  return { ready, menu: Date.now() - started };
}

try {
  // The page, the intro and the menu.
  const first = await openToMenu();
  check(true, `the page offered "Hrát" after ${first.ready} ms and showed the menu ${first.menu} ms after it`);
  check(bytesServed < 20 * 1024 * 1024, `the page downloaded ${(bytesServed / 1048576).toFixed(1)} MB (under 20)`);
  const audio = await page.evaluate(() => Module.SDL2 && Module.SDL2.audioContext && Module.SDL2.audioContext.state);
  check(audio === 'running', `the page's audio runs after the click (${audio})`);

  // The menu's frame against the runner's picture of it, the pointer at (5, 5) in both.
  await page.mouse.move(5, 5);
  await until('the pointer', s => s.MouseX === 5 && s.MouseY === 5);
  await frames(3);
  const frame = await page.evaluate(() => {
    const at = Module._kelvora_frame() / 2;
    return Array.from(HEAPU16.subarray(at, at + 1024 * 768));
  });
  const reference = readPng(fs.readFileSync(menuPng));
  let differing = 0;
  for (let i = 0; i < frame.length; ++i) {
    const r = reference.rgb[3 * i], g = reference.rgb[3 * i + 1], b = reference.rgb[3 * i + 2];
    if ((((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)) !== frame[i]) ++differing;
  }
  check(reference.width === 1024 && differing === 0,
    `the menu's frame is the runner's picture pixel for pixel (${differing} pixels differ)`);
  // The canvas shows that frame: compared at its scale (1 here), within the browser's rounding.
  const shot = await page.locator('#canvas').screenshot({ path: path.join(outDir, 'menu.png') });
  const canvas = readPng(shot);
  let error = 0;
  for (let y = 0; y < 768; ++y) {
    for (let x = 0; x < 1024; ++x) {
      for (let c = 0; c < 3; ++c) {
        error += Math.abs(canvas.rgb[(y * canvas.width + x) * canvas.channels + c] - reference.rgb[(y * 1024 + x) * 3 + c]);
      }
    }
  }
  const mean = error / (1024 * 768 * 3);
  check(canvas.width === 1024 && mean < 2, `the canvas shows the menu (mean difference ${mean.toFixed(2)} of 255)`);
  // In a larger window the picture is scaled by 1.25, keeping its shape: compared pixel by pixel
  // with the runner's picture at that scale (nearest pixel), within the smoothing of the scaling.
  await page.setViewportSize({ width: 1400, height: 960 });
  await frames(3);
  const box = await page.locator('#canvas').boundingBox();
  const scaled = readPng(await page.locator('#canvas').screenshot());
  let scaledError = 0;
  for (let y = 0; y < scaled.height; ++y) {
    for (let x = 0; x < scaled.width; ++x) {
      const rx = Math.min(1023, Math.floor(x * 1024 / scaled.width));
      const ry = Math.min(767, Math.floor(y * 768 / scaled.height));
      for (let c = 0; c < 3; ++c) {
        scaledError += Math.abs(scaled.rgb[(y * scaled.width + x) * scaled.channels + c] - reference.rgb[(ry * 1024 + rx) * 3 + c]);
      }
    }
  }
  const scaledMean = scaledError / (scaled.width * scaled.height * 3);
  check(Math.round(box.width) === 1280 && Math.round(box.height) === 960 && Math.round(box.x) === 60 &&
    scaledMean < 8, `in a 1400 x 960 window the canvas is 1280 x 960 in the middle and shows the menu ` +
    `(at ${Math.round(box.x)}, ${Math.round(box.y)}; mean difference ${scaledMean.toFixed(2)} of 255)`);
  await page.setViewportSize({ width: 1024, height: 768 });
  await frames(3);

  // F11 and Alt+Enter switch the page to the whole screen and back; the game stays in the page.
  const fullScreen = () => page.evaluate(() => !!document.fullscreenElement);
  const startedFull = await fullScreen();
  await page.keyboard.press('F11');
  await page.waitForFunction(() => !!document.fullscreenElement, null, { timeout: 5000 }).catch(() => {});
  const afterF11 = await fullScreen();
  await page.keyboard.press('Alt+Enter');
  await page.waitForFunction(() => !document.fullscreenElement, null, { timeout: 5000 }).catch(() => {});
  const afterAltEnter = await fullScreen();
  check(!startedFull && afterF11 && !afterAltEnter,
    `F11 takes the whole screen and Alt+Enter leaves it (${startedFull}, ${afterF11}, ${afterAltEnter})`);

  // The options: the effects knob dragged from 880 to 600 (volume 254 - 96 = 158).
  await click(500, 495);
  await until('the options', s => s.OptionsOpen);
  await page.mouse.move(880, 290);
  await page.mouse.down();
  await page.mouse.move(600, 290, { steps: 5 });
  await page.mouse.up();
  const dragged = await until('the knob', s => s.EffectsVolume !== 254);
  check(dragged.EffectsVolume === 158, `the effects volume follows the knob (${dragged.EffectsVolume})`);
  await click(500, 600);
  await until('the menu again', atMenu);

  // A new game: level 1, and a plot bought for 50.
  await click(500, 255);
  await until('the level intro', s => s.LevelIntroOpen);
  await click(500, 670);
  const level = await until('the level', s => s.InGame && !s.LevelIntroOpen);
  check(level.LevelNumber === 1 && level.Money === 2000, `a new game reaches level 1 with 2000 (level ${level.LevelNumber}, ${level.Money})`);
  await click(200, 130);
  await frames(2);
  await click(60, 60);
  await frames(2);
  await click(50, 295);
  const bought = await until('the plot', s => s.Field[0][0].Owned);
  check(bought.Money === level.Money - 50, `buying a plot costs 50 (${level.Money} -> ${bought.Money})`);

  // Saved into slot 2 from the save screen (key 4).
  await page.keyboard.press('Digit4');
  await until('the save screen', s => s.SaveScreenOpen);
  await click(300, 450);
  await until('the save', s => !s.SaveScreenOpen);
  const file = await page.evaluate(() => FS.analyzePath('/player/Data/Save2.dat').exists);
  check(file, 'the game is saved into slot 2 (Data/Save2.dat in the browser\'s storage)');

  // After a reload: the slot is listed, loads with its state, and the volume is kept.
  const second = await openToMenu();
  check(true, `after a reload, "Hrát" after ${second.ready} ms and the menu ${second.menu} ms after it`);
  const reloaded = await state();
  check(reloaded.EffectsVolume === 158, `the effects volume survives a reload (${reloaded.EffectsVolume})`);
  await click(500, 370);
  const listed = await until('the load screen', s => s.LoadScreenOpen);
  check(listed.SaveSlots[2].Money === bought.Money && listed.SaveSlots[2].Level === 1,
    `the saved game is listed after the reload (${listed.SaveSlots[2].Money})`);
  await click(300, 450);
  const loaded = await until('the loaded game', s => s.InGame);
  check(loaded.Money === bought.Money && loaded.Field[0][0].Owned,
    `the saved game loads with its money and its plot (${loaded.Money})`);

  // "Konec": the game ends and the page offers to play again.
  await click(960, 50);
  await until('the menu from the level', atMenu);
  await page.mouse.click(512, 611);  // the game ends: no frame follows
  await page.waitForSelector('#play:not([hidden])', { timeout: 30000 });
  check((await page.textContent('#play')).trim() === 'Hrát znovu', 'after "Konec" the page offers to play again');
  await page.screenshot({ path: path.join(outDir, 'again.png') });

  // The frame-time report (measured, not a check): the heaviest game-view scene, set again
  // before every animation frame, for five seconds of a new level. The page records when each
  // frame began; the game's own work on a frame is the time from showing the frame before to
  // presenting it (the browser's drawing of the picture is not in it).
  await openToMenu();
  await click(500, 255);
  await until('the level intro', s => s.LevelIntroOpen);
  await click(500, 670);
  await until('the level', s => s.InGame && !s.LevelIntroOpen);
  const { starts, work } = await page.evaluate(async () => {
    let filling = true;
    const work = [];
    const fill = () => {
      if (!filling) return;
      work.push(Module._kelvora_frame_work_ms());
      Module._kelvora_fill_field(0);
      requestAnimationFrame(fill);
    };
    fill();
    Module.frameStarts = [];
    await new Promise(resolve => setTimeout(resolve, 5000));
    filling = false;
    return { starts: Module.frameStarts.slice(), work: work.slice(2) };
  });
  await page.locator('#canvas').screenshot({ path: path.join(outDir, 'heaviest.png') });
  const quantile = (values, q) => {
    const sorted = [...values].sort((a, b) => a - b);
    return sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
  };
  const intervals = starts.slice(1).map((t, i) => t - starts[i]);
  console.log(`report: heaviest scene, ${starts.length} frames in 5 s; frame time median ` +
    `${quantile(intervals, 0.5).toFixed(2)} ms, 99th percentile ${quantile(intervals, 0.99).toFixed(2)} ms; ` +
    `the game's own work per frame median ${quantile(work, 0.5).toFixed(2)} ms, ` +
    `99th percentile ${quantile(work, 0.99).toFixed(2)} ms`);
} catch (e) {
  check(false, `the test ran to its end (${e.message})`);
  await page.screenshot({ path: path.join(outDir, 'failure.png') }).catch(() => {});
}
check(errors.length === 0, `the page logged no error${errors.length ? ': ' + errors.join(' | ') : ''}`);
await context.close();
server.close();
fs.rmSync(profile, { recursive: true, force: true });
console.log(failures.length ? `test-web: ${failures.length} checks failed` : 'test-web: passed');
process.exit(failures.length ? 1 : 0);

// An 8-bit RGB or RGBA PNG, as the runner and Chromium write them.
function readPng(png) {
  const width = png.readUInt32BE(16), height = png.readUInt32BE(20);
  const channels = png[25] === 6 ? 4 : 3;
  const chunks = [];
  for (let at = 8; at < png.length;) {
    const length = png.readUInt32BE(at);
    if (png.toString('latin1', at + 4, at + 8) === 'IDAT') chunks.push(png.subarray(at + 8, at + 8 + length));
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(chunks));
  const stride = width * channels;
  const out = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    for (let x = 0; x < stride; ++x) {
      const value = raw[y * (stride + 1) + 1 + x];
      const a = x >= channels ? out[y * stride + x - channels] : 0;
      const b = y > 0 ? out[(y - 1) * stride + x] : 0;
      const c = x >= channels && y > 0 ? out[(y - 1) * stride + x - channels] : 0;
      const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
      const predictor = [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : pb <= pc ? b : c][filter];
      out[y * stride + x] = (value + predictor) & 255;
    }
  }
  return { width, height, channels, rgb: out };
}
