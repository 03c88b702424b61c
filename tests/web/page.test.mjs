// The browser build, played in one engine (chromium, firefox or webkit, through its driver in
// drivers/) against the page served on 127.0.0.1 by this script; each group below says what it
// checks. Every engine runs every check: only the DevTools protocol's own reading of the manifest
// is Chromium's alone (said as a skip elsewhere); the page itself is read in the page everywhere.
// Fresh storage is a new origin (another port of the test's server), not a new profile.
// The game is read through the page's test hooks: the state dump the runner writes, and the
// last frame presented. Usage: node page.test.mjs ENGINE WEB_FOLDER MENU_PNG OUT_FOLDER
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { game, meanDifference, newBuild, playSays, readPng, refuseFullScreen, serve, shown, sleep, tempFolder, waitFor }
  from './site.mjs';

const [engine, webDir, menuPng, outDir] = [process.argv[2], ...process.argv.slice(3).map(p => path.resolve(p))];
fs.mkdirSync(outDir, { recursive: true });
const { launch } = await import(`./drivers/${engine}.mjs`);

// What the test's own script runs in some pages before their own scripts.
// The event the page's audio context is made in: a phone starts a page's audio only inside the
// player's own tap or click, never after it.
function recordAudio() {
  const Made = window.AudioContext;
  if (Made) window.AudioContext = class extends Made {
    constructor(...args) { super(...args); window.kelvoraAudioMadeIn = window.event ? window.event.type : 'no event'; }
  };
}
// Whether the browser hands F11 to the page (Firefox keeps it), seen before the page's own
// handler, which stops the keys it takes.
const seeF11 = () => addEventListener('keydown', e => { if (e.key === 'F11') window.kelvoraSawF11 = true; }, true);
const noServiceWorker = () => { delete Navigator.prototype.serviceWorker; };
const languages = list => `function () { Object.defineProperty(navigator, 'languages', { get: () => ${JSON.stringify(list)} }); ` +
  `Object.defineProperty(navigator, 'language', { get: () => '${list[0]}' }); }`;
// A player's storage that refuses to be opened (site data blocked).
const blockStorage = () => { IDBFactory.prototype.open = () => { throw new DOMException('refused', 'SecurityError'); }; };
// Put into the store refused for the files of `keys` (the quota is full); `null` restores it.
const refusePut = keys => {
  window.realPut = window.realPut || IDBObjectStore.prototype.put;
  IDBObjectStore.prototype.put = !keys ? window.realPut : function (value, key) {
    if (keys.some(k => String(key).endsWith(k))) throw new DOMException('full', 'QuotaExceededError');
    return window.realPut.call(this, value, key);
  };
};

let browser, site, page, g, url;
const sites = [];
const origin = async (options, dir = webDir) => { const s = await serve(dir, options); sites.push(s); return s; };
// A new origin whose browser asks for the languages of `list`, without a service worker.
const originIn = (list, ...init) => origin({ init: [noServiceWorker, languages(list), ...init] });
before(async () => {
  site = await origin({ init: [recordAudio, seeF11, languages(['cs-CZ', 'cs'])] });
  ({ url } = site);
  browser = await launch();
  g = game(page = browser.first);
});
after(async () => { await browser?.quit(); for (const s of sites) await s.stop().catch(() => {}); });
// A failed group leaves a picture of the page behind.
// A group that hangs (a tab left holding the lock by an earlier failure) fails in 4 minutes.
const group = (name, body) => test(name, { timeout: 240000 }, t => body(t).catch(async e => {
  await page.shot('body').then(png => fs.writeFileSync(path.join(outDir, `${engine}-failure.png`), png), () => {});
  throw e;
}));
const errorsBefore = async () => (await browser.errors()).length;
// The errors of a page that was made to fail are its point: kept apart, as [from, to).
const forgiven = [];
const forgive = async body => {
  const from = await errorsBefore();
  await body().finally(async () => forgiven.push([from, await errorsBefore()]));
};
// The game in a new tab, and in one started on the given site's page (its own origin).
const newGame = async () => game(await browser.newTab());
const freshGame = async s => { const h = await newGame(); await h.openToMenu(s.url); return h; };
const slotsMoney = (listed, ...slots) => slots.map(n => listed.SaveSlots[n].Money);
const savedFiles = ['Save2.dat', 'Save3.dat', 'Nastaveni.dat'];  // in the storage once both tabs have saved
// The panel of a page that stopped or could not start: it says `why` and offers to load the page again.
const stoppedFor = (panel, why) => why.test(panel.status) && panel.play === 'Načíst znovu';

let czechMenu, level, bought;
group('the page loads, "Hrát" starts the intro, Escape the menu; audio runs; the storage kept for good', async t => {
  const first = await g.openToMenu(url);
  t.diagnostic(`the page offered "Hrát" after ${first.ready} ms and showed the menu ${first.menu} ms after it`);
  assert.ok(site.bytes < 20 * 1024 * 1024, `the page downloaded ${(site.bytes / 1048576).toFixed(1)} MB (under 20)`);
  // A page in Czech fetches no language's pictures, nor the font of other letters.
  czechMenu = (await g.atRest()).Surfaces.MenuSurface.Pixels;
  assert.ok(!site.log.some(n => /^(Grafika|Andika)-/.test(n)), 'a Czech page fetched no other language\'s pictures or font');
  // The sound system may take a moment to start the context the click made (Firefox's PulseAudio).
  await g.audio(5000);
  const audio = await page.evaluate(() => ({ state: Module.SDL2?.audioContext?.state, madeIn: window.kelvoraAudioMadeIn }));
  assert.deepEqual(audio, { state: 'running', madeIn: 'click' }, 'the page\'s audio is made in the click on "Hrát" and runs');
  // Asked to keep its storage for good, the page says what the browser answered (where it cannot
  // be asked, that it made no promise).
  const said = await g.said('kept', 5000);
  const asked = await page.evaluate(() => navigator.storage && navigator.storage.persist ? navigator.storage.persisted() : 'no');
  assert.ok(said && (asked === true) !== /neslíbil/.test(said), `the browser's answer to keeping the storage: ${asked}, "${said}"`);
});

group('installable: the manifest, its icons; the service worker serves the page after the first visit', async t => {
  assert.ok(await page.evaluate(() => !!navigator.serviceWorker.controller), 'the service worker serves the page');
  const manifest = await page.evaluate(async () => {
    const link = document.querySelector('link[rel=manifest]').href;
    const parsed = await (await fetch(link)).json();
    const icons = await Promise.all(parsed.icons.map(async icon => {
      const image = new Image();
      image.src = new URL(icon.src, link).href;
      await image.decode();
      return `${icon.purpose || 'any'} ${icon.sizes}: ${image.naturalWidth}x${image.naturalHeight}`;
    }));
    return { ...parsed, start: new URL(parsed.start_url, link).href, icons };
  });
  assert.deepEqual([manifest.name, manifest.display, manifest.orientation, manifest.start], ['Kelvora', 'fullscreen', 'landscape', url]);
  assert.ok(manifest.icons.length === 3 && manifest.icons.every(i => i.split(': ')[0].endsWith(i.split(': ')[1])) &&
    manifest.icons.some(i => i.startsWith('maskable 512x512')), `the manifest's icons: ${manifest.icons.join(', ')}`);
  const skip = !page.cdp && 'the browser\'s own reading of a manifest is the DevTools protocol\'s (Chromium)';
  await t.test('the browser reads the manifest without an error', { skip }, async () => {
    assert.deepEqual((await (await page.cdp()).send('Page.getAppManifest')).errors, []);
  });
});

// The menu's frame against the runner's picture, and the canvas showing it.
const reference = () => readPng(fs.readFileSync(menuPng));
async function showsTheMenu(name) {
  const shot = await page.shot('#canvas');
  if (name) fs.writeFileSync(path.join(outDir, name), shot);
  return meanDifference(readPng(shot), reference());
}
group('the menu\'s frame is the runner\'s picture, and the canvas shows it, also scaled and after a lost WebGL context', async () => {
  await page.mouse.move(5, 5);  // as the runner's script moves it
  await g.frames(3);
  const frame = await g.pixels();
  const { data: rgb, width } = reference();
  const differing = frame.filter((v, i) => (((rgb[4 * i] >> 3) << 11) | ((rgb[4 * i + 1] >> 2) << 5) | (rgb[4 * i + 2] >> 3)) !== v).length;
  assert.ok(width === 1024 && differing === 0, `the menu's frame is the runner's picture (${differing} pixels differ)`);
  // Compared at its scale (1 here), within the browser's rounding.
  const mean = await showsTheMenu(`menu-${engine}.png`);
  assert.ok(mean < 2, `the canvas shows the menu (mean difference ${mean.toFixed(2)} of 255)`);
  // In a larger window the picture is scaled by 1.25, keeping its shape, within the smoothing.
  await page.resize(1400, 960);
  await g.frames(3);
  const box = await g.box();
  const scaled = await showsTheMenu();
  await page.resize(1024, 768);
  await g.frames(3);
  const [x, y, w, h] = [box.x, box.y, box.width, box.height].map(Math.round);
  assert.ok(w === 1280 && h === 960 && x === 60 && scaled < 8,
    `in a 1400 x 960 window the canvas is ${w} x ${h} at ${x}, ${y} (1280 x 960 at 60) and shows the menu (${scaled.toFixed(2)})`);
  // A lost WebGL context: the game goes on and shows the menu again, without a reload.
  await page.evaluate(() => new Promise(resolve => {
    window.kelvoraNotReloaded = true;
    const lose = document.getElementById('canvas').getContext('webgl').getExtension('WEBGL_lose_context');
    lose.loseContext();
    setTimeout(() => { lose.restoreContext(); setTimeout(resolve, 500); }, 500);
  }));
  await g.frames(5);
  const again = await showsTheMenu();
  assert.ok(again < 2 && await page.evaluate(() => window.kelvoraNotReloaded),
    `after the context came back the same page shows the menu (mean difference ${again.toFixed(2)})`);
});

// Firefox keeps F11 for its own full screen, and the page never sees it: Alt+Enter takes it there.
group('F11 (where the browser gives it to the page) takes the whole screen and Alt+Enter leaves it; a key resumes sound', async () => {
  const states = [await page.evaluate(() => !!document.fullscreenElement)];
  await page.press('F11');
  await sleep(300);
  if (!await page.evaluate(() => window.kelvoraSawF11)) await page.press('Alt+Enter');
  states.push(!!await g.fullScreen(true));
  await page.press('Alt+Enter');
  states.push(!await g.fullScreen(false));
  assert.deepEqual(states, [false, true, false]);
  await page.resize(1024, 768);
  // Sound suspended as a phone's screen locks runs again after the player's next key.
  await page.evaluate(() => Module.SDL2.audioContext.suspend());
  await page.press('x');
  assert.ok(await g.audio(3000), 'suspended sound runs again after a key');
});

group('the options: the effects knob follows the pointer', async () => {
  await g.options();
  await page.mouse.move(880, 290);
  await page.mouse.down();
  for (let x = 824; x >= 600; x -= 56) await page.mouse.move(x, 290);
  await page.mouse.up();
  // Firefox's input returns before the game has taken every move: the knob settles where it ends.
  const dragged = await g.soft('the knob', s => s.EffectsVolume === 158, 5000);
  assert.equal(dragged.EffectsVolume, 158, 'the knob dragged from 880 to 600 sets 254 - 96');
  await g.closeOptions();
});

group('a new game reaches level 1 with 2000, and a plot costs 50; saved into slot 2, keeping files the tab never read', async () => {
  level = await g.newLevel();
  assert.deepEqual([level.LevelNumber, level.Money], [1, 2000]);
  bought = await g.buy(0);
  assert.equal(bought.Money, level.Money - 50);
  await g.save(2);
  assert.ok((await g.stored()).includes('Save2.dat'), 'Data/Save2.dat in the browser\'s storage');
  // A file as another tab or a newer page would store it.
  await page.evaluate(() => new Promise((resolve, reject) => {
    const open = indexedDB.open('/player/Data');
    open.onsuccess = () => {
      const transaction = open.result.transaction('FILE_DATA', 'readwrite');
      const file = { timestamp: new Date(), mode: 0o100644, contents: new Uint8Array([1, 2, 3]) };
      transaction.objectStore('FILE_DATA').put(file, '/player/Data/Cizi.dat');
      transaction.oncomplete = () => { open.result.close(); resolve(); };
      transaction.onerror = () => reject(transaction.error);
    };
  }));
  await g.save(2);
  const stored = await g.stored();
  assert.ok(stored.includes('Cizi.dat') && stored.includes('Save2.dat'), stored.join(', '));
});

group('after a reload, which asks first: only sw.js is downloaded, the volume is kept, the game listed and loaded', async t => {
  const asked = (await browser.dialogs()).length;
  let second;
  const visit = await site.served(async () => { second = await g.openToMenu(url); });
  assert.deepEqual((await browser.dialogs()).slice(asked), ['beforeunload'], 'leaving the page while a level runs asks first');
  assert.ok(visit.names.every(name => name === 'sw.js'),
    `a second visit downloads only sw.js (${visit.names.join(', ') || 'nothing'}; ${visit.bytes} bytes)`);
  t.diagnostic(`after a reload, "Hrát" after ${second.ready} ms and the menu ${second.menu} ms after it`);
  assert.equal((await g.state()).EffectsVolume, 158, 'the effects volume survives a reload');
  const { listed, loaded } = await g.load(2);
  assert.deepEqual([listed.SaveSlots[2].Money, listed.SaveSlots[2].Level], [bought.Money, 1], 'the saved game is listed');
  assert.ok(loaded.Money === bought.Money && loaded.Field[0][0].Owned, `the saved game loads with its money and plot (${loaded.Money})`);
});

group('two tabs: the second offers to play there and stops the first; the saves of both stay', async () => {
  const second = await newGame();
  const asked = await second.offered(url);
  assert.ok(asked.play === 'Hrát zde' && /v jiné záložce/.test(asked.status), `the second tab offers to play here ("${asked.status}")`);
  await second.toMenu();
  await waitFor(page, () => /jiné záložce/.test(document.getElementById('status').textContent) &&
    !document.getElementById('panel').hidden, null, { timeout: 10000, soft: true });
  const stopped = await g.panel();
  const framesBefore = (await g.state()).Frames;
  await sleep(500);
  const framed = (await g.state()).Frames - framesBefore;
  const refused = await page.evaluate(() => {
    FS.writeFile('/kelvora-test.dat', 'a test');
    return Module.kelvoraStorage.put('/kelvora-test.dat', '/player/Data/Save4.dat');
  });
  assert.ok(stopped.shown && stoppedFor(stopped, /jiné záložce/) && framed <= 1 && refused === false,
    `the first tab's game stops, says so and stores nothing more ("${stopped.status}", ${framed} frames in 0.5 s, store: ${refused})`);
  await second.newLevel();
  await second.save(3);
  await g.offered(url);
  await g.toMenu();
  const both = await g.listing();
  assert.deepEqual(slotsMoney(both, 2, 3), [bought.Money, 2000], 'the games saved in both tabs are listed');
  await second.tab.close();
});

let slot, resumed;
group('a reload in the middle of a save leaves the slot\'s old game whole, and the other slots', async () => {
  // The browser drops a transaction it has not committed when the page goes: forced here at the
  // moment the game's file is put into the store.
  await g.to(300, 450, 'the loaded game', s => s.InGame);
  const more = await g.buy(1);
  await g.saveScreen();
  // What the page going away in the middle of the store's write throws, and the requests its
  // reload cuts short (Firefox reports both), are the test's doing.
  await forgive(async () => {
    await page.evaluate(() => {
      window.kelvoraBeforeTheReload = true;
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
    await page.mouse.move(300, 450);
    await g.frames(1);
    // The slot saves as it is pressed: the page may be going from then on.
    await page.mouse.down().catch(() => {});
    await page.mouse.up().catch(() => {});
    await waitFor(page, () => !window.kelvoraBeforeTheReload && document.readyState === 'complete');
    await g.openToMenu(url);
  });
  const { listed, loaded } = await g.load(2);
  slot = listed.SaveSlots[2].Money;
  resumed = loaded;
  assert.deepEqual([slot, resumed.Money, resumed.Field[0][0].Owned, resumed.Field[1][0].Owned, listed.SaveSlots[3].Money],
    [bought.Money, bought.Money, true, false, 2000], `slot 2 listed and loaded as before the save of ${more.Money}; slot 3 kept`);
});

group('a write the browser refuses (its quota full) fails the save and says so; the slot keeps its old game', async () => {
  const more = await g.buy(1);
  await page.evaluate(refusePut, ['/Save4.dat', '/Save2.dat']);
  for (const n of [4, 2]) {
    await g.saveInto(n);
    const full = await g.soft('the failed save', s => s.SaveFailed, 5000);
    assert.ok(full.SaveFailed && full.SaveScreenOpen, `a refused save into slot ${n} is reported as failed`);
    await g.to(900, 700, 'the level', s => !s.SaveScreenOpen);
  }
  await page.evaluate(refusePut, null);
  assert.ok(!(await g.stored()).includes('Save4.dat'), 'an empty slot\'s refused save stores nothing');
  // In the same session and after a reload, slot 2 lists and loads its old game.
  for (const reload of [false, true]) {
    await (reload ? g.openToMenu(url) : g.leave());
    const { listed, loaded } = await g.load(2);
    assert.deepEqual([listed.SaveSlots[2].Money, loaded.Money, loaded.Field[1][0].Owned], [slot, slot, false],
      `${reload ? 'after a reload' : 'in the same session'} slot 2 holds the old game, not the refused one of ${more.Money}`);
  }
  // "Konec" ends the game and the page offers to play again.
  await g.leave();
  await g.end();
  await shown(page, '#play:not([hidden])', 30000);
  assert.equal((await g.panel()).play.trim(), 'Hrát znovu');
});

group('storage that cannot be read is told; every save then fails, and the stored files stay', async () => {
  site.init.push(blockStorage);
  const blocked = await newGame();
  await blocked.open(url);
  site.init.pop();
  await blocked.tab.click('#play');
  await shown(blocked.tab, '#other:not([hidden])', 20000);
  const unreadable = await blocked.panel();
  assert.ok(stoppedFor(unreadable, /nepodařilo přečíst/) && unreadable.other === 'Hrát bez ukládání',
    `the player is told ("${unreadable.status}")`);
  await blocked.tab.click('#other');
  await blocked.toMenu();
  await blocked.newLevel();
  await blocked.saveInto(1);
  const unsaved = await blocked.soft('the failed save', s => s.SaveFailed, 5000);
  await blocked.tab.close();
  // The browser frees a closed tab's lock a moment later; the export below needs it.
  await waitFor(page, async () => (await navigator.locks.query()).held.length === 0, null, { timeout: 10000 });
  const stored = await g.stored();
  assert.ok(unsaved.SaveFailed && unsaved.SaveScreenOpen && !stored.includes('Save1.dat') && savedFiles.every(f => stored.includes(f)),
    `SaveFailed ${unsaved.SaveFailed}, the save screen open ${unsaved.SaveScreenOpen}; stored ${stored.join(', ')}`);
});

// A member of a pack archive (a directory of 32-byte entries, then the data), by name; all names.
function members(archive) {
  const found = {};
  for (let at = 4; at < 4 + archive.readUInt32LE(0); at += 32) {
    const from = 8 + archive.readUInt32LE(0) + archive.readUInt32LE(at + 24);
    found[archive.toString('latin1', at, at + 24).replace(/\0+$/, '')] = archive.subarray(from, from + archive.readUInt32LE(at + 28));
  }
  return found;
}
let fresh, travelled;
group('saved games out to one file, through the desktop game, and into fresh storage', async () => {
  const { name, bytes } = await page.download('#export');
  const exported = path.join(outDir, `${engine}-${name}`);
  fs.writeFileSync(exported, bytes);
  const sent = members(bytes);
  assert.ok(name === 'kelvora-ulozene-hry.dat' && savedFiles.every(m => sent[m]),
    `"Stáhnout uložené hry" gives ${name}, with the slots and their summaries (${Object.keys(sent).join(', ')})`);
  // The desktop game (KELVORA_DESKTOP, the Linux build) takes the browser's file into a player's
  // folder of its own and writes them out again, and that file is what the fresh storage takes.
  // (The desktop and Windows builds read each other's files: scripts/test-windows.)
  travelled = exported;
  if (process.env.KELVORA_DESKTOP) {
    const folder = tempFolder('desktop');
    fs.mkdirSync(path.join(folder, 'Data'));
    travelled = path.join(outDir, `${engine}-from-the-desktop.dat`);
    // Either call throws when the game ends with another status than 0.
    execFileSync(process.env.KELVORA_DESKTOP, ['--import-saves', exported], { cwd: folder });
    execFileSync(process.env.KELVORA_DESKTOP, ['--export-saves', travelled], { cwd: folder });
    const taken = fs.readdirSync(path.join(folder, 'Data')).filter(n => /^Save\d\.dat$/.test(n)).sort();
    const saves = Object.keys(sent).filter(n => /^Save\d\.dat$/.test(n)).sort();
    assert.ok(taken.join() === saves.join() && saves.every(n => fs.readFileSync(path.join(folder, 'Data', n)).equals(sent[n])),
      `the desktop game takes the browser's file byte for byte (${taken.join(', ')})`);
  }
  // Fresh storage takes the file, lists and loads its games; a damaged file is refused by name.
  fresh = await originIn(['cs-CZ']);
  const other = await newGame();
  await other.open(fresh.url, '#saves');
  const damaged = path.join(outDir, 'Save1.dat');
  fs.writeFileSync(damaged, 'not a saved game');
  await other.tab.setFiles('#import-file', damaged);
  const refused = await other.said('transfer');
  await other.tab.setFiles('#import-file', travelled);
  const imported = await waitFor(other.tab, r => document.getElementById('transfer').textContent !== r &&
    document.getElementById('transfer').textContent, refused);
  await other.play();
  const { listed, loaded } = await other.load(2);
  assert.match(refused, /Save1\.dat/, 'a damaged file is refused by name');
  assert.deepEqual([...slotsMoney(listed, 1, 2, 3), loaded.Money], [0, slot, 2000, resumed.Money], `fresh storage took "${imported}"`);
  await other.tab.close();
});

group('a transfer racing "Hrát": the buttons wait for it, then the game starts and keeps running', async () => {
  const h = await newGame();
  const tab = h.tab;
  await h.open(fresh.url, '#saves');
  await tab.evaluate(() => {
    const load = Module.kelvoraStorage.load;
    Module.kelvoraStorage.load = (...args) => new Promise(resolve => setTimeout(resolve, 1500)).then(() => load.apply(Module.kelvoraStorage, args));
  });
  await tab.click('#export');
  const disabled = await tab.evaluate(() => ['play', 'export', 'import'].map(id => document.getElementById(id).disabled));
  const play = await h.box('#play');
  await h.press(play.x + play.width / 2, play.y + play.height / 2);
  await shown(tab, '#transfer:not([hidden])', 20000);
  const after = await tab.evaluate(() => [document.getElementById('play').disabled, document.getElementById('panel').hidden]);
  assert.deepEqual([disabled, after], [[true, true, true], [false, false]],
    'while the transfer runs "Hrát", and the transfers, are disabled, and a click on "Hrát" starts nothing');
  await h.play();
  const from = (await h.state()).Frames;
  await sleep(1000);
  const running = await h.state();
  const locks = await tab.evaluate(async () => (await navigator.locks.query()).held.map(l => l.name));
  assert.ok(running.Frames > from + 10 && !/jiné záložce/.test((await h.panel()).status || '') && locks.join() === 'kelvora',
    `the game runs (${running.Frames - from} frames in 1 s), holding the one lock (${locks.join(', ')})`);
  await tab.close();
});

group('with the server stopped the page loads, plays and loads the saved game', async () => {
  await site.stop();
  try {
    await g.openToMenu(url);
    const { listed, loaded } = await g.load(2);
    assert.ok(listed.SaveSlots[2].Money === slot && loaded.Money === resumed.Money, `${loaded.Money}`);
  } finally {
    await site.start();
  }
});

// The site `s` serving another build of the page, from a folder of its own, whose page sets
// window[marker]: its cache's name, and what `tab` downloads as it opens the page until it runs it.
async function update(s, tab, marker) {
  const folder = tempFolder('build'), cache = newBuild(webDir, folder, marker);
  s.dir = folder;
  return { cache, ...await s.served(async () => {
    await tab.goto(s.url);
    await waitFor(tab, m => window[m] === true && !document.getElementById('play').hidden, marker, { timeout: 60000 });
  }) };
}
group('a new build is taken whole, downloading only the files that changed; it plays', async () => {
  const second = await update(site, page, 'kelvoraSecondBuild');
  const taken = await page.evaluate(async () => ({
    caches: await caches.keys(), html: document.documentElement.innerHTML.includes('<!-- kelvoraSecondBuild -->') }));
  const downloaded = [...new Set(second.names)].sort();
  assert.ok(taken.html && taken.caches.length === 1 && taken.caches[0].endsWith(second.cache) &&
    downloaded.every(name => ['index.html', 'page.js', 'sw.js'].includes(name)), `kept ${taken.caches}; downloaded ${downloaded}`);
  await g.openToMenu(url);
  const played = await g.newLevel();
  assert.ok(played.LevelNumber === 1 && await page.evaluate(() => window.kelvoraSecondBuild === true), 'the new build plays');
  site.dir = webDir;
});

group('an update waits while a tab plays', async () => {
  const s = await origin({ init: [languages(['cs-CZ'])] });
  const playing = await freshGame(s);
  const old = await playing.tab.evaluate(() => caches.keys());
  const third = tempFolder('build');
  newBuild(webDir, third, 'kelvoraThirdBuild');
  s.dir = third;
  const idle = await browser.newTab();
  await idle.goto(s.url);
  await waitFor(idle, async () => !!(await navigator.serviceWorker.getRegistration())?.waiting, null, { timeout: 60000 });
  await sleep(2000);
  const meanwhile = await playing.tab.evaluate(async () =>
    [await caches.keys(), (await (await fetch('page.js')).text()).includes('kelvoraThirdBuild')]);
  assert.ok(old.every(c => meanwhile[0].includes(c)) && !meanwhile[1],
    `while a tab plays its version's copy stays and serves it (${meanwhile[0].join(', ')}; the new page.js: ${meanwhile[1]})`);
  // The game ends ("Konec"): the new version is taken, the idle tab loads it, and the old copy goes.
  await playing.end();
  const taken = await waitFor(idle, async () => window.kelvoraThirdBuild === true && !document.getElementById('play').hidden &&
    (await caches.keys()).length === 1, null, { timeout: 30000, soft: true });
  const after = await idle.evaluate(async () => [window.kelvoraThirdBuild === true, await caches.keys()]);
  assert.ok(taken, `once the game has ended the idle tab runs the new version (${after[0]}), only its copy kept (${after[1].join(', ')})`);
  await idle.close();
  await playing.tab.close();
});

group('two builds on one origin: each keeps its own offline copy', async () => {
  const parent = tempFolder('two-builds');
  fs.symlinkSync(webDir, path.join(parent, 'a'));
  newBuild(webDir, path.join(parent, 'b'), 'kelvoraBuildB');
  const s = await origin({ init: [languages(['cs-CZ'])] }, parent);
  const tab = await browser.newTab();
  for (const folder of ['a/', 'b/']) {
    await tab.goto(s.url + folder);
    await waitFor(tab, () => !!navigator.serviceWorker.controller && !document.getElementById('play').hidden, null, { timeout: 60000 });
  }
  const kept = await tab.evaluate(() => caches.keys());
  assert.equal(kept.length, 2, `a cache for each build (${kept.join(', ')})`);
  await s.stop();
  for (const [folder, marker] of [['a/', false], ['b/', true]]) {
    await tab.goto(s.url + folder);
    const ready = await playSays(tab, 'Hrát');
    assert.ok(ready && await tab.evaluate(() => !!window.kelvoraBuildB) === marker, `offline, ${folder} loads to "Hrát", its own build`);
  }
  await tab.close();
});

let germanMenu;
group('a language played offline after an update, its pictures not downloaded again', async () => {
  const s = await origin({ init: [languages(['de-DE'])] });
  const german = await freshGame(s);
  const spoken = await german.atRest();
  germanMenu = spoken.Surfaces.MenuSurface.Pixels;
  assert.ok(spoken.Language === 'de' && s.log.includes('Grafika-de.dat') && germanMenu !== czechMenu,
    `a German page fetched its pictures (${s.log.filter(n => /^Grafika-/.test(n))}) and its menu differs from Czech's`);
  const updated = await update(s, german.tab, 'kelvoraGermanBuild');
  assert.ok(!updated.names.includes('Grafika-de.dat'), `the update downloads ${[...new Set(updated.names)]}, not Grafika-de.dat`);
  await s.stop();
  await german.openToMenu(s.url);
  const offline = await german.atRest();
  assert.ok(offline.Language === 'de' && offline.Surfaces.MenuSurface.Pixels === germanMenu,
    `offline the page plays in German (${offline.Language}) with German pictures`);
  await german.tab.close();
});

group('after an abort the page says so and its button loads the page again', async () => {
  let aborted;
  await forgive(async () => {
    await page.evaluate(() => { try { abort('a test'); } catch (e) { /* the abort throws, as in the game */ } });
    await shown(page, '#play:not([hidden])', 10000);
    aborted = await g.panel();
  });
  await page.click('#play').catch(() => {});
  assert.ok(stoppedFor(aborted, /zastavila/) && await playSays(page, 'Hrát'), aborted.status);
});

group('a lock another tab keeps (as a browser may after a reload): "Hrát zde" starts the game', async () => {
  const holder = await browser.newTab();
  await holder.goto(url + 'kelvora-test-blank.html');
  await holder.evaluate(() => new Promise(resolve => {
    navigator.locks.request('kelvora', () => { resolve(); return new Promise(() => {}); })
      .catch(e => { window.kelvoraLockTaken = e.name; });
  }));
  assert.equal((await g.offered(url)).play, 'Hrát zde', '"Hrát" offers "Hrát zde"');
  await g.until('the intro running', s => s.IntroPending && s.Frames > 10);
  assert.equal(await waitFor(holder, () => window.kelvoraLockTaken, null, { timeout: 5000, soft: true }), 'AbortError',
    'the game took the lock over');
  await holder.close();
});

// The game speaks the first of the browser's languages it has, and so does the page; a text the
// catalogue lacks shows in Czech. A language beyond code page 1250 is spoken too, and its pictures
// and the font of its letters (drawn where the informal face lacks them, as in the load screen's
// title) come when they are needed.
group('a browser asking for French, then Austrian German, gets German; one asking for Ukrainian gets it, with its font', async () => {
  const speaking = async s => { const h = await freshGame(s); return [h, await h.atRest(), await h.texts()]; };
  let s = await originIn(['fr-FR', 'de-AT', 'en'], () => {
    Object.defineProperty(self, 'kelvoraTexts', {  // a German catalogue without "Hra je připravena."
      configurable: true, get() { return this.keptTexts; }, set(texts) { delete texts.de['Hra je připravena.']; this.keptTexts = texts; },
    });
  });
  let [h, spoken, texts] = await speaking(s);
  assert.deepEqual([spoken.Language, texts.lang, texts.choice, texts.play, texts.status], ['de', 'de', 'de', 'Spielen', 'Hra je připravena.']);
  assert.ok(s.log.filter(n => /^Grafika-/.test(n)).join() === 'Grafika-de.dat' && spoken.Surfaces.MenuSurface.Pixels === germanMenu,
    'it fetched German pictures alone, and shows the German menu');
  await h.tab.close();
  s = await originIn(['uk-UA']);
  [h, spoken, texts] = await speaking(s);
  assert.deepEqual([spoken.Language, texts.lang, texts.play], ['uk', 'uk', 'Грати']);
  assert.ok(s.log.includes('Grafika-uk.dat') && spoken.Surfaces.MenuSurface.Pixels !== czechMenu,
    'it fetched Ukrainian pictures and shows its own menu');
  await h.listing();
  await h.atRest();
  assert.ok(s.log.includes('Andika-Bold.ttf'), `the load screen's title fetched Andika (${s.log.filter(n => /^Andika/.test(n))})`);
  await h.tab.close();
});

group('the page\'s language: Polish asked, German and Czech and English chosen, in the page or the game', async () => {
  const s = await originIn(['pl-PL']);
  const h = await newGame();
  const tab = h.tab;
  const choose = code => tab.evaluate(c => {
    Object.assign(document.getElementById('language'), { value: c }).dispatchEvent(new Event('change', { bubbles: true }));
  }, code);
  const lang = code => waitFor(tab, c => document.documentElement.lang === c, code, { timeout: 5000, soft: true });
  await h.open(s.url);
  const before = await h.texts();
  assert.deepEqual([before.lang, before.play, before.status, before.export, before.choice],
    ['pl', 'Graj', 'Gra jest gotowa.', 'Pobierz zapisane gry', 'pl']);
  assert.ok(before.options.length === 7 && before.options[0] === 'cs čeština' && before.options.includes('pl polski') &&
    before.options.every(o => o.split(' ')[0] !== o.split(' ')[1]), `each language by its own name (${before.options.join(', ')})`);
  // The saves' transfer before the game starts speaks the page's language too.
  await tab.setFiles('#import-file', path.join(outDir, 'Save1.dat'));
  assert.match(await h.said('transfer'), /^Plik „Save1\.dat”/);
  const menu = await h.play();
  assert.ok(menu.Language === 'pl' && !(await h.texts()).choiceShown, 'the game speaks Polish; the list hides in a 4:3 window');
  // German chosen on the panel while the game runs, in a wider window, where the list stands
  // beside the picture: the game speaks it with its German pictures, and the page too.
  await tab.resize(1280, 720);
  await shown(tab, '#language:not([hidden])', 5000);
  const wide = await h.texts();
  assert.ok(wide.choiceShown && wide.choiceLeft >= wide.pictureRight, `the list beside the picture (${wide.choiceLeft}, ${wide.pictureRight})`);
  await h.atRest();
  await choose('de');
  const spoken = await h.soft('German and its pictures', st => st.Language === 'de' && st.Surfaces.MenuSurface.Pixels === germanMenu, 10000);
  // The game tells the page each language it speaks.
  await lang('de');
  const germanNow = await h.texts();
  assert.ok(spoken.Language === 'de' && spoken.Surfaces.MenuSurface.Pixels === germanMenu && germanNow.lang === 'de' &&
    germanNow.note.startsWith('Vollbild') && germanNow.turn === 'Drehen Sie das Gerät ins Querformat.', `German chosen in play: ${germanNow.note}`);
  // After a reload the page and the game speak German still, though the browser asks for Polish.
  await tab.resize(1024, 768);
  await h.open(s.url);
  const reloaded = await h.texts();
  const again = await h.play();
  assert.deepEqual([reloaded.play, reloaded.choice, again.Language], ['Spielen', 'de', 'de'], 'the choice survives a reload');
  // Czech chosen on the game's options screen (its row of languages, Czech first) shows on the page.
  await h.options();
  await h.click(165, 372);
  const czech = await h.soft('Czech', st => st.Language === 'cs', 5000);
  assert.ok(czech.Language === 'cs' && await lang('cs') && (await h.texts()).choice === 'cs', 'Czech chosen in the game shows on the page');
  await h.closeOptions();
  // English chosen on the panel before the game starts is kept at once: after a reload the page
  // and the game speak it.
  await h.open(s.url);
  const czechPage = await h.texts();
  await choose('en');
  const english = await h.texts();
  await waitFor(tab, () => !document.getElementById('play').disabled);
  await h.open(s.url);
  const reloadedInEnglish = await h.texts();
  const started = await h.play();
  assert.deepEqual([czechPage.play, english.play, english.lang, reloadedInEnglish.play, started.Language], ['Hrát', 'Play', 'en', 'Play', 'en'],
    'English chosen before the start, kept across a reload');
  await tab.close();
});

// A page that cannot load says what happened and what to do, and its button loads it again.
group('a failed download of each of the game\'s files, no WebAssembly, the page opened from the disk', async () => {
  const s = await originIn(['cs-CZ']);
  const old = await originIn(['cs-CZ'], () => { delete window.WebAssembly; });
  const h = await newGame();
  await forgive(async () => {
    for (const [what, at, why, file] of [
      ...['kelvora.js', 'kelvora.wasm', 'kelvora.data'].map(f => [`a failed download of ${f}`, s.url, /nepodařilo stáhnout/, f]),
      ['without WebAssembly', old.url, /jiném, novějším prohlížeči/],
      ['opened from the disk', 'file://' + path.join(webDir, 'index.html'), /scripts\/run-web/]]) {
      s.failing = new Set([file]);
      await h.tab.goto(at);
      await playSays(h.tab, 'Načíst znovu', 30000);
      const said = await h.panel();
      s.failing.clear();
      if (file) await h.tab.click('#play').catch(() => {});
      assert.ok(stoppedFor(said, why) && (!file || await playSays(h.tab, 'Hrát')), `${what}: "${said.status}", then "${said.play}"`);
    }
    await h.tab.close();
  });
});

group('full screen and the orientation lock refused by throwing: F11 changes nothing, and no error', async () => {
  const s = await originIn(['cs-CZ'], refuseFullScreen);
  const from = await errorsBefore();
  const h = await freshGame(s);
  await h.tab.press('F11');
  await h.frames(5);
  const box = await h.box();
  assert.deepEqual([(await browser.errors()).slice(from), Math.round(box.width), Math.round(box.height)], [[], 1024, 768]);
  await h.tab.close();
});

test('the page logged no error', async () => {
  const errors = (await browser.errors()).filter((e, i) => !forgiven.some(([from, to]) => i >= from && i < to));
  assert.deepEqual(errors, []);
});
