// The browser build, played in Debian's headless Chromium through playwright-core, against the
// page served on 127.0.0.1 by this script:
//   - the page loads, "Hrát" starts the intro, Escape leads to the main menu, whose frame is the
//     headless runner's picture of the same frame pixel for pixel (MENU_PNG), and the canvas
//     shows it;
//   - the manifest is valid, its icons have their sizes, the page is installable and its service
//     worker serves it after the first visit; the page asked to keep its storage for good;
//   - a new game reaches level 1 and buying a plot costs 50;
//   - a game saved into a slot is listed after a reload and loads with its state; the volumes
//     set in the options survive a reload; leaving a level asks first; a second visit downloads
//     only the service worker's script;
//   - the saves are safe: a write keeps stored files the tab never read; a second tab offers to
//     play there and stops the first tab's game, and both tabs' saves stay; a reload during a
//     save leaves the slot whole; storage that refuses a write, or cannot be read at all, makes
//     the save fail and say so, and nothing stored is lost;
//   - the page's audio runs after the click; "Konec" ends the game and the page offers to play
//     again, and to download the saved games in one file, which a fresh browser profile takes
//     (refusing a damaged file by name), lists and loads; with the server stopped the page loads, plays and loads a saved game; a new build
//     served is taken whole, downloading only the files that changed;
//   - the page speaks the game's language: a browser asking for Polish gets the page's texts in
//     Polish and a game speaking Polish; German chosen on the page's panel while the game runs
//     is the game's language and the page's, with the game's German pictures, and both survive a
//     reload; Czech chosen on the game's options screen shows on the page; English chosen on the
//     panel before the game starts is the language the game starts in;
//   - an abort, a failed download of each of the game's files, a browser without WebAssembly and
//     the page opened from the disk each show a Czech message whose button loads the page again;
//     the page logs no error.
// The game is read through the page's test hooks: the state dump the runner writes, and the
// last frame presented. Usage: node test.mjs WEB_FOLDER MENU_PNG OUT_FOLDER
import { chromium } from 'playwright-core';
import { chromiumArgs, chromiumPath, checks, launch, serve } from './site.mjs';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import zlib from 'node:zlib';

const [webDir, menuPng, outDir] = process.argv.slice(2).map(p => path.resolve(p));
fs.mkdirSync(outDir, { recursive: true });

// ---------------------------------------------------------------- the server
const site = await serve(webDir);
const url = site.url;
const stopServer = site.stop, startServer = site.start, served = site.served;

// ---------------------------------------------------------------- checks
const { check, failures } = checks();

// A member of a pack archive (a directory of 32-byte entries, then the data), by name.
function memberOf(archive, name) {
  const size = archive.readUInt32LE(0);
  for (let at = 4; at < 4 + size; at += 32) {
    if (archive.toString('latin1', at, at + 24).replace(/\0+$/, '') !== name) continue;
    const from = 8 + size + archive.readUInt32LE(at + 24);
    return archive.subarray(from, from + archive.readUInt32LE(at + 28));
  }
  return Buffer.alloc(0);
}

// ---------------------------------------------------------------- the browser
const context = await launch({ viewport: { width: 1024, height: 768 } });
const page = context.pages()[0] || await context.newPage();
const errors = [];

const dialogs = [];
function watch(p) {
  p.on('console', m => { if (m.type() === 'error') errors.push(m.text()); });
  p.on('pageerror', e => errors.push(e.message));
  // Leaving a level asks first (beforeunload); the test records it and leaves.
  p.on('dialog', d => { dialogs.push(d.type()); d.accept().catch(() => {}); });
}
watch(page);
// The event the page's audio context is made in: a phone starts a page's audio only inside the
// player's own tap or click, never after it.
await page.addInitScript(() => {
  const Made = window.AudioContext;
  if (!Made) return;
  window.AudioContext = class extends Made {
    constructor(...args) {
      super(...args);
      window.kelvoraAudioMadeIn = window.event ? window.event.type : 'no event';
    }
  };
});

const state = (p = page) => p.evaluate(() => JSON.parse(UTF8ToString(Module._kelvora_state())));
async function until(what, test, timeout = 20000, p = page) {
  const end = Date.now() + timeout;
  for (;;) {
    const s = await state(p);
    if (test(s)) return s;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await p.waitForTimeout(50);
  }
}
// Frames pass in the game: waits until `n` more have been presented.
async function frames(n, p = page) {
  const from = (await state(p)).Frames;
  return until(`${n} frames`, s => s.Frames >= from + n, 20000, p);
}
// A click as a player makes it: the press and the release in frames of their own.
async function click(x, y, p = page) {
  await p.mouse.move(x, y);
  await frames(1, p);
  await p.mouse.down();
  await frames(1, p);
  await p.mouse.up();
  await frames(1, p);
}
const atMenu = s => s.DisplayReady && !s.IntroPending && !s.InGame && !s.LoadScreenOpen && !s.OptionsOpen;

// Opens the page, starts the game with "Hrát" and skips the intro to the main menu. Returns the
// milliseconds from opening the page to "Hrát" and from there to the menu.
async function openToMenu(p = page) {
  const opened = Date.now();
  await p.goto(url);
  await p.waitForSelector('#play:not([hidden])', { timeout: 60000 });
  const ready = Date.now() - opened;
  await p.click('#play');
  const started = Date.now();
  await until('the intro', s => s.Frames > 0 && s.IntroPending, 20000, p);
  await p.keyboard.press('Escape');
  await until('the main menu', atMenu, 20000, p);
  return { ready, menu: Date.now() - started };
}
// The panel's text and its buttons' labels.
const panelText = (p = page) => p.evaluate(() => ({
  shown: !document.getElementById('panel').hidden,
  status: document.getElementById('status').textContent,
  play: document.getElementById('play').hidden ? null : document.getElementById('play').textContent,
  other: document.getElementById('other').hidden ? null : document.getElementById('other').textContent,
}));
// The page's language and its texts, and where its list of languages stands.
const pageTexts = (p = page) => p.evaluate(() => {
  const choice = document.getElementById('language');
  const canvas = document.getElementById('canvas');
  return {
    lang: document.documentElement.lang,
    status: document.getElementById('status').textContent,
    play: document.getElementById('play').textContent,
    export: document.getElementById('export').textContent,
    note: document.getElementById('note').textContent,
    turn: document.getElementById('turn').textContent,
    choice: choice.value,
    options: Array.from(choice.options, o => `${o.value} ${o.textContent}`),
    choiceShown: !choice.hidden && choice.offsetWidth > 0,
    choiceLeft: Math.round(choice.getBoundingClientRect().left),
    pictureRight: Math.round(canvas.getBoundingClientRect().right),
  };
});
// The records of the browser's storage of the player's Data folder, by file name.
const storedFiles = (p = page) => p.evaluate(() => new Promise((resolve, reject) => {
  const open = indexedDB.open('/player/Data');
  open.onerror = () => reject(open.error);
  open.onsuccess = () => {
    const request = open.result.transaction('FILE_DATA').objectStore('FILE_DATA').getAllKeys();
    request.onsuccess = () => { resolve(request.result.map(String)); open.result.close(); };
    request.onerror = () => reject(request.error);
  };
}));
// From the menu: a new game's level 1 (its intro passed).
async function newLevel(p = page) {
  await click(500, 255, p);
  await until('the level intro', s => s.LevelIntroOpen, 20000, p);
  await click(500, 670, p);
  return until('the level', s => s.InGame && !s.LevelIntroOpen, 20000, p);
}
// In a level: the save screen (key 4) and a click on a slot (0 to 4).
async function saveInto(slot, p = page) {
  await p.keyboard.press('Digit4');
  await until('the save screen', s => s.SaveScreenOpen, 20000, p);
  await click(300, 350 + 55 * slot, p);
}

try {
  // The page, the intro and the menu.
  const first = await openToMenu();
  console.log(`report: the page offered "Hrát" after ${first.ready} ms and showed the menu ${first.menu} ms after it`);
  check(site.bytes < 20 * 1024 * 1024, `the page downloaded ${(site.bytes / 1048576).toFixed(1)} MB (under 20)`);
  // A page in Czech fetches no language's pictures; the others' stay on the server.
  const czechMenu = (await state()).Surfaces.MenuSurface.Pixels;
  check(!site.log.some(n => /^Grafika-/.test(n)), 'a Czech page fetched no other language\'s pictures');
  const audio = await page.evaluate(() => ({
    state: Module.SDL2 && Module.SDL2.audioContext && Module.SDL2.audioContext.state,
    madeIn: window.kelvoraAudioMadeIn,
  }));
  check(audio.state === 'running' && audio.madeIn === 'click',
    `the page's audio was made in the click on "Hrát" (${audio.madeIn}) and runs (${audio.state})`);
  const kept = await page.textContent('#kept');
  check(/natrvalo/.test(kept), `the page asked to keep its storage for good and says what the browser answered ("${kept}")`);

  // Installable: the manifest as the browser reads it, its icons, and no installability error;
  // the service worker controls the page after the first visit.
  const controlled = await page.evaluate(() => !!navigator.serviceWorker.controller);
  check(controlled, 'after the first visit the service worker serves the page');
  const cdp = await context.newCDPSession(page);
  const manifest = await cdp.send('Page.getAppManifest');
  const parsed = JSON.parse(manifest.data || '{}');
  check(manifest.errors.length === 0 && parsed.name === 'Kelvora' && parsed.display === 'fullscreen' &&
    parsed.orientation === 'landscape' && new URL(parsed.start_url, manifest.url).href === url,
    `the manifest is valid: ${JSON.stringify(manifest.errors)} ${parsed.name}, ${parsed.display}, ${parsed.orientation}`);
  const icons = await page.evaluate(list => Promise.all(list.map(async icon => {
    const image = new Image();
    image.src = icon.src;
    await image.decode();
    return `${icon.purpose || 'any'} ${icon.sizes}: ${image.naturalWidth}x${image.naturalHeight}`;
  })), parsed.icons || []);
  check(icons.length === 3 && icons.every(i => i.split(': ')[0].endsWith(i.split(': ')[1])) &&
    icons.some(i => i.startsWith('maskable 512x512')), `the manifest's icons have their sizes (${icons.join(', ')})`);
  const installability = await cdp.send('Page.getInstallabilityErrors')
    .catch(e => ({ installabilityErrors: [{ errorId: e.message }] }));
  check(installability.installabilityErrors.length === 0,
    `the page is installable (${JSON.stringify(installability.installabilityErrors)})`);

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

  // Saved into slot 2 from the save screen (key 4), into the browser's storage.
  await saveInto(2);
  await until('the save', s => !s.SaveScreenOpen);
  check((await storedFiles()).includes('/player/Data/Save2.dat'),
    'the game is saved into slot 2 (Data/Save2.dat in the browser\'s storage)');
  // A file this tab never read (as another tab or a newer page would store it) stays when the
  // tab writes its own files.
  await page.evaluate(() => new Promise((resolve, reject) => {
    const open = indexedDB.open('/player/Data');
    open.onsuccess = () => {
      const transaction = open.result.transaction('FILE_DATA', 'readwrite');
      transaction.objectStore('FILE_DATA').put({ timestamp: new Date(), mode: 0o100644,
        contents: new Uint8Array([1, 2, 3]) }, '/player/Data/Cizi.dat');
      transaction.oncomplete = () => { open.result.close(); resolve(); };
      transaction.onerror = () => reject(transaction.error);
    };
  }));
  await saveInto(2);
  await until('the save', s => !s.SaveScreenOpen);
  const afterWrite = await storedFiles();
  check(afterWrite.includes('/player/Data/Cizi.dat') && afterWrite.includes('/player/Data/Save2.dat'),
    `a write keeps the stored files the tab never read (${afterWrite.join(', ')})`);

  // After a reload, which asks first as a level is played: the slot is listed, loads with its
  // state, and the volume is kept. The second visit of the same build downloads only the
  // service worker's script.
  dialogs.length = 0;
  let second;
  const visit = await served(async () => { second = await openToMenu(); });
  check(dialogs.includes('beforeunload'), `leaving the page while a level runs asks first (${dialogs.join(', ')})`);
  check(visit.names.every(name => name === 'sw.js'),
    `a second visit downloads only the service worker's script (${visit.names.join(', ') || 'nothing'}; ${visit.bytes} bytes)`);
  console.log(`report: after a reload, "Hrát" after ${second.ready} ms and the menu ${second.menu} ms after it`);
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

  // Two tabs: the second one says that the game runs in another tab and offers to play there;
  // playing there stops the first tab's game, which stores nothing more. A game saved in the
  // second tab is there when the first one takes the game back.
  const tab = await context.newPage();
  watch(tab);
  await tab.goto(url);
  await tab.waitForSelector('#play:not([hidden])', { timeout: 60000 });
  await tab.click('#play');
  await tab.waitForFunction(() => document.getElementById('play').textContent === 'Hrát zde' &&
    !document.getElementById('play').hidden, null, { timeout: 10000 }).catch(() => {});
  const asked = await panelText(tab);
  check(asked.play === 'Hrát zde' && /v jiné záložce/.test(asked.status),
    `a second tab says that the game runs in another one and offers to play here ("${asked.status}")`);
  await tab.click('#play');
  await until('the intro in the second tab', s => s.Frames > 0 && s.IntroPending, 20000, tab);
  await page.waitForFunction(() => /jiné záložce/.test(document.getElementById('status').textContent) &&
    !document.getElementById('panel').hidden, null, { timeout: 10000 }).catch(() => {});
  const stopped = await panelText();
  const framesBefore = (await state()).Frames;
  await page.waitForTimeout(500);
  const framesAfter = (await state()).Frames;
  const refused = await page.evaluate(() => Module.kelvoraStorage.store('/player/Data'));
  check(stopped.shown && /jiné záložce/.test(stopped.status) && stopped.play === 'Načíst znovu' &&
    framesAfter - framesBefore <= 1 && refused === false,
    `the first tab's game stops, says so and stores nothing more ("${stopped.status}", ` +
    `${framesAfter - framesBefore} frames in 0.5 s, store: ${refused})`);
  await tab.keyboard.press('Escape');
  await until('the menu in the second tab', atMenu, 20000, tab);
  await newLevel(tab);
  await saveInto(3, tab);
  await until('the save in the second tab', s => !s.SaveScreenOpen, 20000, tab);
  await page.goto(url);
  await page.waitForSelector('#play:not([hidden])', { timeout: 60000 });
  await page.click('#play');
  await page.waitForFunction(() => document.getElementById('play').textContent === 'Hrát zde', null, { timeout: 10000 });
  await page.click('#play');
  await until('the intro', s => s.Frames > 0 && s.IntroPending);
  await page.keyboard.press('Escape');
  await until('the main menu', atMenu);
  await click(500, 370);
  const both = await until('the load screen', s => s.LoadScreenOpen);
  check(both.SaveSlots[3].Money === 2000 && both.SaveSlots[2].Money === bought.Money,
    `the games saved in both tabs are listed (${both.SaveSlots[2].Money}, ${both.SaveSlots[3].Money})`);
  await tab.close();

  // A reload in the middle of a save: the browser drops a transaction it has not committed when
  // the page goes, which is forced here at the moment the game's file is put into the store. The
  // slot then holds the old game, whole, and the other slots stay.
  await click(300, 450);
  await until('the loaded game', s => s.InGame);
  await click(200, 130);
  await frames(2);
  await click(60, 60);
  await frames(2);
  await click(93, 295);
  const more = await until('the second plot', s => s.Field[1][0].Owned);
  await page.keyboard.press('Digit4');
  await until('the save screen', s => s.SaveScreenOpen);
  await page.evaluate(() => {
    const put = IDBObjectStore.prototype.put;
    IDBObjectStore.prototype.put = function (value, key) {
      const request = put.call(this, value, key);
      if (String(key).endsWith('/Save2.dat')) {
        this.transaction.abort();
        location.reload();
      }
      return request;
    };
  });
  dialogs.length = 0;
  await page.mouse.move(300, 450);
  await frames(1);
  // The slot saves as it is pressed: the page may be going from then on.
  const reloadedMidSave = page.waitForEvent('load', { timeout: 20000 });
  await page.mouse.down().catch(() => {});
  await page.mouse.up().catch(() => {});
  await reloadedMidSave;
  await openToMenu();
  await click(500, 370);
  const interrupted = await until('the load screen', s => s.LoadScreenOpen);
  const slot = interrupted.SaveSlots[2].Money;
  await click(300, 450);
  const resumed = await until('the game of the slot whose save was interrupted', s => s.InGame);
  check(slot === bought.Money && resumed.Money === bought.Money && resumed.Field[0][0].Owned &&
    !resumed.Field[1][0].Owned && interrupted.SaveSlots[3].Money === 2000,
    `a reload during a save leaves the slot's old game whole (listed ${slot}, loaded ` +
    `${resumed.Money}, of ${bought.Money} before and ${more.Money} in the interrupted save) and ` +
    'the other slots as they were');

  // The browser refuses to store a file (its quota is full): the save fails and says so.
  await page.evaluate(() => {
    window.realPut = IDBObjectStore.prototype.put;
    IDBObjectStore.prototype.put = function () { throw new DOMException('full', 'QuotaExceededError'); };
  });
  await saveInto(4);
  const full = await until('the failed save', s => s.SaveFailed, 5000).catch(() => state());
  await page.evaluate(() => { IDBObjectStore.prototype.put = window.realPut; });
  check(full.SaveFailed && full.SaveScreenOpen && !(await storedFiles()).includes('/player/Data/Save4.dat'),
    `a save the browser refuses to store is reported as failed (SaveFailed ${full.SaveFailed})`);
  await click(900, 700);
  await until('the level', s => !s.SaveScreenOpen);

  // "Konec": the game ends and the page offers to play again.
  await click(960, 50);
  await until('the menu from the level', atMenu);
  await page.mouse.click(512, 611);  // the game ends: no frame follows
  await page.waitForSelector('#play:not([hidden])', { timeout: 30000 });
  check((await page.textContent('#play')).trim() === 'Hrát znovu', 'after "Konec" the page offers to play again');
  await page.screenshot({ path: path.join(outDir, 'again.png') });

  // The browser's storage cannot be read (site data blocked): the page says so and offers to
  // play without saving; every save then fails and says so, and the stored files stay.
  const blocked = await context.newPage();
  watch(blocked);
  await blocked.addInitScript(() => {
    IDBFactory.prototype.open = function () { throw new DOMException('refused', 'SecurityError'); };
  });
  await blocked.goto(url);
  await blocked.waitForSelector('#play:not([hidden])', { timeout: 60000 });
  await blocked.click('#play');
  await blocked.waitForSelector('#other:not([hidden])', { timeout: 20000 }).catch(() => {});
  const unreadable = await panelText(blocked);
  check(/nepodařilo přečíst/.test(unreadable.status) && unreadable.other === 'Hrát bez ukládání' &&
    unreadable.play === 'Načíst znovu', `storage that cannot be read is told to the player ("${unreadable.status}")`);
  await blocked.click('#other');
  await until('the intro', s => s.Frames > 0 && s.IntroPending, 20000, blocked);
  await blocked.keyboard.press('Escape');
  await until('the main menu', atMenu, 20000, blocked);
  await newLevel(blocked);
  await saveInto(1, blocked);
  const unsaved = await until('the failed save', s => s.SaveFailed, 5000, blocked).catch(() => state(blocked));
  await blocked.close();
  // The browser frees a closed tab's lock a moment later; the export below needs it.
  await page.waitForFunction(async () => (await navigator.locks.query()).held.length === 0,
    null, { timeout: 10000 });
  const stillStored = await storedFiles();
  check(unsaved.SaveFailed && unsaved.SaveScreenOpen && !stillStored.includes('/player/Data/Save1.dat') &&
    ['Save2.dat', 'Save3.dat', 'Nastaveni.dat'].every(f => stillStored.includes('/player/Data/' + f)),
    `with the storage unreadable a save fails and says so, and the stored files stay (SaveFailed ${unsaved.SaveFailed})`);

  // Saved games out to a file and back: the ended game's panel downloads every slot in one pack
  // archive; a fresh browser profile takes it, lists and loads its games; a damaged file is
  // refused with a message naming it and changes nothing.
  const [download] = await Promise.all([page.waitForEvent('download', { timeout: 20000 }), page.click('#export')]);
  const exported = path.join(outDir, 'kelvora-ulozene-hry.dat');
  await download.saveAs(exported);
  const archive = fs.readFileSync(exported);
  const members = [];
  for (let at = 4; at < 4 + archive.readUInt32LE(0); at += 32) {
    members.push(archive.toString('latin1', at, at + 24).replace(/\0+$/, ''));
  }
  check(['Save2.dat', 'Save3.dat', 'Nastaveni.dat'].every(m => members.includes(m)),
    `"Stáhnout uložené hry" gives one file with the slots and their summaries (${members.join(', ')})`);
  // The same games through the desktop game (KELVORA_DESKTOP, the Linux build): it takes the
  // browser's file into a player's folder of its own and writes them out again, and that file
  // is what the fresh profile takes, so saved games travel from the browser to the desktop and
  // back. (The desktop and Windows builds read each other's files: scripts/test-windows.)
  let travelled = exported;
  if (process.env.KELVORA_DESKTOP) {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'kelvora-desktop-'));
    fs.mkdirSync(path.join(folder, 'Data'));
    travelled = path.join(outDir, 'from-the-desktop.dat');
    // Either call throws when the game ends with another status than 0.
    execFileSync(process.env.KELVORA_DESKTOP, ['--import-saves', exported], { cwd: folder });
    execFileSync(process.env.KELVORA_DESKTOP, ['--export-saves', travelled], { cwd: folder });
    const taken = fs.readdirSync(path.join(folder, 'Data')).filter(n => /^Save\d\.dat$/.test(n));
    const sent = members.filter(n => /^Save\d\.dat$/.test(n));
    check(taken.sort().join() === sent.sort().join() && sent.every(n =>
      fs.readFileSync(path.join(folder, 'Data', n)).equals(memberOf(archive, n))),
    `the desktop game takes the browser's file byte for byte (${taken.join(', ')}) and writes it out again`);
    fs.rmSync(folder, { recursive: true, force: true });
  } else {
    console.log('skip the desktop game\'s part: KELVORA_DESKTOP names no game');
  }
  const fresh = await chromium.launch({ executablePath: chromiumPath, headless: true, args: chromiumArgs });
  const freshContext = await fresh.newContext({ serviceWorkers: 'block', locale: 'cs-CZ', viewport: { width: 1024, height: 768 } });
  const freshPage = await freshContext.newPage();
  watch(freshPage);
  await freshPage.goto(url);
  await freshPage.waitForSelector('#import:not([hidden])', { timeout: 60000 });
  const damaged = path.join(outDir, 'Save1.dat');
  fs.writeFileSync(damaged, 'not a saved game');
  await freshPage.setInputFiles('#import-file', damaged);
  await freshPage.waitForSelector('#transfer:not([hidden])', { timeout: 20000 }).catch(() => {});
  const refusedImport = await freshPage.textContent('#transfer');
  await freshPage.setInputFiles('#import-file', travelled);
  await freshPage.waitForFunction(t => document.getElementById('transfer').textContent !== t,
    refusedImport, { timeout: 20000 }).catch(() => {});
  const imported = await freshPage.textContent('#transfer');
  await freshPage.click('#play');
  await until('the intro', s => s.Frames > 0 && s.IntroPending, 20000, freshPage);
  await freshPage.keyboard.press('Escape');
  await until('the main menu', atMenu, 20000, freshPage);
  await click(500, 370, freshPage);
  const importedList = await until('the load screen', s => s.LoadScreenOpen, 20000, freshPage);
  await click(300, 450, freshPage);
  const importedGame = await until('the loaded game', s => s.InGame, 20000, freshPage);
  check(/Save1\.dat/.test(refusedImport) && importedList.SaveSlots[1].Money === 0 &&
    importedList.SaveSlots[2].Money === slot && importedList.SaveSlots[3].Money === 2000 &&
    importedGame.Money === resumed.Money,
    `a fresh profile takes the file ("${imported.replace(/\n/g, ' ')}"), lists and loads its games ` +
    `(${importedList.SaveSlots[2].Money}, ${importedList.SaveSlots[3].Money}); a damaged file is refused ` +
    `("${refusedImport.replace(/\n/g, ' ')}")`);
  await fresh.close();

  // Offline: with the test's server stopped the page loads from the service worker's copy,
  // plays, and lists and loads the saved game.
  await stopServer();
  await openToMenu();
  await click(500, 370);
  const offline = await until('the load screen', s => s.LoadScreenOpen);
  await click(300, 450);
  const offlineGame = await until('the loaded game', s => s.InGame);
  check(offline.SaveSlots[2].Money === slot && offlineGame.Money === resumed.Money,
    `with the server stopped the page loads, plays and loads the saved game (${offlineGame.Money})`);
  await startServer();

  // A new build is served: the page takes the new version whole, downloading only the files
  // whose content changed, and the older version's copy is removed.
  const newBuild = fs.mkdtempSync(path.join(os.tmpdir(), 'kelvora-new-build-'));
  fs.cpSync(webDir, newBuild, { recursive: true });
  fs.appendFileSync(path.join(newBuild, 'page.js'), '\nwindow.kelvoraSecondBuild = true;\n');
  const html = path.join(newBuild, 'index.html');
  fs.writeFileSync(html, fs.readFileSync(html, 'utf8').replace('</body>', '<!-- second build -->\n</body>'));
  const worker = fs.readFileSync(path.join(webDir, 'sw.js'), 'utf8');
  const names = [...worker.matchAll(/^  '([^']+)': \{ sha256/gm)].map(m => m[1]);
  execFileSync('cmake', [`-DWEB_DIR=${newBuild}`, `-DVERSION=${worker.match(/const VERSION = '([^']+)'/)[1]}`,
    `-DFILES=${names.join(',')}`, '-P', fileURLToPath(new URL('../../tools/web/ServiceWorker.cmake', import.meta.url))]);
  const newCache = fs.readFileSync(path.join(newBuild, 'sw.js'), 'utf8').match(/const CACHE = '([^']+)'/)[1];
  site.dir = newBuild;
  const update = await served(async () => {
    await page.goto(url);
    await page.waitForFunction(() => window.kelvoraSecondBuild === true, null, { timeout: 60000 });
    await page.waitForSelector('#play:not([hidden])', { timeout: 60000 });
  });
  const taken = await page.evaluate(async () => ({
    caches: await caches.keys(),
    html: document.documentElement.innerHTML.includes('second build'),
  }));
  const downloaded = [...new Set(update.names)].sort();
  check(taken.html && taken.caches.length === 1 && taken.caches[0] === newCache &&
    downloaded.every(name => ['index.html', 'page.js', 'sw.js'].includes(name)),
    `after a new build the page takes it whole (${taken.caches.join(', ')}), downloading only ` +
    `${downloaded.join(', ')} (${update.bytes} bytes)`);
  // The new build's page starts its game: a level of it runs.
  await openToMenu();
  const played = await newLevel();
  check(played.LevelNumber === 1 && await page.evaluate(() => window.kelvoraSecondBuild === true),
    `the new build plays (level ${played.LevelNumber})`);
  site.dir = webDir;
  fs.rmSync(newBuild, { recursive: true, force: true });

  // After the game aborts, the page says so and its button loads the page again.
  await page.evaluate(() => { try { abort('a test'); } catch (e) { /* the abort throws, as in the game */ } });
  await page.waitForSelector('#play:not([hidden])', { timeout: 10000 }).catch(() => {});
  const aborted = await panelText();
  await page.click('#play').catch(() => {});
  const again = await page.waitForFunction(() => document.getElementById('play').textContent === 'Hrát' &&
    !document.getElementById('play').hidden, null, { timeout: 60000 }).then(() => true, () => false);
  check(/zastavila/.test(aborted.status) && aborted.play === 'Načíst znovu' && again,
    `after an abort the page says so ("${aborted.status}") and its button loads the page again`);
  errors.splice(0, errors.length, ...errors.filter(e => !/Aborted\(a test\)|a test/.test(e)));

  // A page that cannot load: a failed download of each of the game's files, a browser without
  // WebAssembly, the page opened from the disk. Each says what happened and what to do, and its
  // button loads the page again. In a browser of their own, without service workers.
  const other = await chromium.launch({ executablePath: chromiumPath, headless: true, args: chromiumArgs });
  // The game speaks the first of the browser's languages it has.
  let germanMenu;
  {
    const fresh = await other.newContext({ serviceWorkers: 'block', locale: 'fr-FR' });
    const p = await fresh.newPage();
    await p.addInitScript(() => {
      Object.defineProperty(navigator, 'languages', { get: () => ['fr-FR', 'de-AT', 'en'] });
      // A German catalogue without "Hra je připravena.": the page shows that text in Czech.
      Object.defineProperty(self, 'kelvoraTexts', {
        configurable: true,
        get() { return this.keptTexts; },
        set(texts) {
          delete texts.de['Hra je připravena.'];
          this.keptTexts = texts;
        },
      });
    });
    const from = site.log.length;
    await openToMenu(p);
    const german = await state(p);
    germanMenu = german.Surfaces.MenuSurface.Pixels;
    const germanPage = await pageTexts(p);
    check(german.Language === 'de' && germanPage.lang === 'de' && germanPage.choice === 'de',
      `a browser asking for French, then Austrian German, gets German, the page too (${german.Language}, ${germanPage.lang})`);
    check(germanPage.play === 'Spielen' && germanPage.status === 'Hra je připravena.',
      `a text the catalogue lacks shows in Czech beside the German ones ("${germanPage.status}", "${germanPage.play}")`);
    const pictures = site.log.slice(from).filter(n => /^Grafika-/.test(n));
    check(pictures.join() === 'Grafika-de.dat' &&
      german.Surfaces.MenuSurface.Pixels !== czechMenu,
    `its page fetched German pictures alone (${pictures.join(', ')}), and its menu differs from Czech's`);
    await fresh.close();
  }
  // The page's language. A browser asking for Polish: the page's texts are Polish before the
  // game starts, and the game speaks Polish.
  {
    const polish = await other.newContext({ serviceWorkers: 'block', locale: 'pl-PL', viewport: { width: 1024, height: 768 } });
    const p = await polish.newPage();
    watch(p);
    await p.goto(url);
    await p.waitForSelector('#play:not([hidden])', { timeout: 60000 });
    const before = await pageTexts(p);
    check(before.lang === 'pl' && before.play === 'Graj' && before.status === 'Gra jest gotowa.' &&
      before.export === 'Pobierz zapisane gry' && before.choice === 'pl',
    `a browser asking for Polish shows the page in Polish ("${before.play}", "${before.status}", "${before.export}")`);
    check(before.options.length === 5 && before.options[0] === 'cs čeština' && before.options.includes('pl polski') &&
      before.options.every(o => o.split(' ')[0] !== o.split(' ')[1]),
    `the panel offers each language by its own name (${before.options.join(', ')})`);
    // The saves' transfer before the game starts speaks the page's language too.
    await p.setInputFiles('#import-file', path.join(outDir, 'Save1.dat'));
    await p.waitForSelector('#transfer:not([hidden])', { timeout: 20000 }).catch(() => {});
    const told = await p.textContent('#transfer');
    check(/^Plik „Save1\.dat”/.test(told), `the saves' transfer before the start speaks Polish ("${told.replace(/\n/g, ' ')}")`);
    await p.click('#play');
    await until('the intro', s => s.Frames > 0 && s.IntroPending, 20000, p);
    await p.keyboard.press('Escape');
    const menu = await until('the main menu', atMenu, 20000, p);
    const playing = await pageTexts(p);
    check(menu.Language === 'pl' && !playing.choiceShown,
      `the game speaks Polish (${menu.Language}); in a window of the picture's shape the list of languages hides (${playing.choiceShown})`);

    // German chosen on the page's panel while the game runs, in a wider window, where the list
    // stands beside the picture: the game speaks it with its German pictures, and the page too.
    await p.setViewportSize({ width: 1280, height: 720 });
    await p.waitForSelector('#language:not([hidden])', { timeout: 5000 }).catch(() => {});
    const wide = await pageTexts(p);
    check(wide.choiceShown && wide.choiceLeft >= wide.pictureRight,
      `in a wider window the list of languages shows beside the picture (from ${wide.choiceLeft}, the picture to ${wide.pictureRight})`);
    await p.selectOption('#language', 'de');
    // The language changes before the pictures have been reloaded: waits for both.
    const spoken = await until('German and its pictures', s => s.Language === 'de' &&
      s.Surfaces.MenuSurface.Pixels === germanMenu, 10000, p).catch(() => state(p));
    const germanNow = await pageTexts(p);
    check(spoken.Language === 'de' && spoken.Surfaces.MenuSurface.Pixels === germanMenu &&
      germanNow.lang === 'de' && germanNow.note.startsWith('Vollbild') &&
      germanNow.turn === 'Drehen Sie das Gerät ins Querformat.',
    `German chosen on the panel while the game runs: the game speaks it (${spoken.Language}), its menu is ` +
      `German's (${spoken.Surfaces.MenuSurface.Pixels === germanMenu}), and the page's texts are German ("${germanNow.note}")`);

    // After a reload the page and the game speak German still, though the browser asks for Polish.
    await p.setViewportSize({ width: 1024, height: 768 });
    await p.goto(url);
    await p.waitForSelector('#play:not([hidden])', { timeout: 60000 });
    const reloaded = await pageTexts(p);
    await p.click('#play');
    await until('the intro', s => s.Frames > 0 && s.IntroPending, 20000, p);
    await p.keyboard.press('Escape');
    const again = await until('the main menu', atMenu, 20000, p);
    check(reloaded.play === 'Spielen' && reloaded.choice === 'de' && again.Language === 'de',
      `the choice survives a reload: the page says "${reloaded.play}" and the game speaks ${again.Language}`);

    // Czech chosen on the game's options screen (its row of languages, Czech first) shows on the
    // page.
    await click(500, 495, p);
    await until('the options', s => s.OptionsOpen, 20000, p);
    await click(165, 372, p);
    const czech = await until('Czech', s => s.Language === 'cs', 5000, p).catch(() => state(p));
    const followed = await p.waitForFunction(() => document.documentElement.lang === 'cs', null, { timeout: 5000 })
      .then(() => true, () => false);
    check(czech.Language === 'cs' && followed && (await pageTexts(p)).choice === 'cs',
      `Czech chosen on the game's options screen (${czech.Language}) shows on the page (${followed})`);
    await click(500, 600, p);
    await until('the menu again', atMenu, 20000, p);

    // English chosen on the panel before the game starts: the game starts in it.
    await p.goto(url);
    await p.waitForSelector('#play:not([hidden])', { timeout: 60000 });
    const czechPage = await pageTexts(p);
    await p.selectOption('#language', 'en');
    const english = await pageTexts(p);
    await p.click('#play');
    await until('the intro', s => s.Frames > 0 && s.IntroPending, 20000, p);
    await p.keyboard.press('Escape');
    const started = await until('the main menu', atMenu, 20000, p);
    check(czechPage.play === 'Hrát' && english.play === 'Play' && english.lang === 'en' && started.Language === 'en',
      `English chosen on the panel before the start shows at once ("${czechPage.play}" -> "${english.play}") and the game starts in it (${started.Language})`);
    await polish.close();
  }
  for (const file of ['kelvora.js', 'kelvora.wasm', 'kelvora.data']) {
    const fresh = await other.newContext({ serviceWorkers: 'block', locale: 'cs-CZ' });
    const p = await fresh.newPage();
    site.failing = new Set([file]);
    await p.goto(url);
    await p.waitForFunction(() => document.getElementById('play').textContent === 'Načíst znovu' &&
      !document.getElementById('play').hidden, null, { timeout: 30000 }).catch(() => {});
    const said = await panelText(p);
    site.failing.clear();
    await p.click('#play', { timeout: 5000 }).catch(() => {});
    const reloaded = await p.waitForFunction(() => document.getElementById('play').textContent === 'Hrát' &&
      !document.getElementById('play').hidden, null, { timeout: 60000 }).then(() => true, () => false);
    check(/nepodařilo stáhnout/.test(said.status) && said.play === 'Načíst znovu' && reloaded,
      `a failed download of ${file} says so ("${said.status}") and the button loads the page again`);
    await fresh.close();
  }
  for (const [what, open, expect] of [
    ['a browser without WebAssembly', async p => {
      await p.addInitScript(() => { delete window.WebAssembly; });
      await p.goto(url);
    }, /jiném, novějším prohlížeči/],
    ['the page opened from the disk', p => p.goto('file://' + path.join(webDir, 'index.html')),
      /scripts\/run-web/]]) {
    const fresh = await other.newContext({ serviceWorkers: 'block', locale: 'cs-CZ' });
    const p = await fresh.newPage();
    await open(p);
    await p.waitForSelector('#play:not([hidden])', { timeout: 10000 }).catch(() => {});
    const said = await panelText(p);
    check(expect.test(said.status) && said.play === 'Načíst znovu', `${what}: the page says what to do ("${said.status}")`);
    await fresh.close();
  }
  await other.close();
} catch (e) {
  check(false, `the test ran to its end (${e.message})`);
  await page.screenshot({ path: path.join(outDir, 'failure.png') }).catch(() => {});
}
check(errors.length === 0, `the page logged no error${errors.length ? ': ' + errors.join(' | ') : ''}`);
await context.close();
await stopServer();
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
