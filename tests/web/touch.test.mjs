// The browser build on a phone held sideways: Debian's headless Chromium emulating one (touch,
// 844 x 390 CSS pixels, 3 device pixels to one), played by the browser's touch input alone
// (the DevTools protocol's touch events, never mouse events, except where a mouse is the point):
//   - "Hrát" tapped takes the page to the whole screen, and the corner button leaves it and takes
//     it again; a tap skips the intro;
//   - the game draws no arrow while it is played by touch, and draws it again when a mouse moves;
//   - a finger dragged moves the options' knob;
//   - taps start a new game, choose the buying tool and buy a plot, and save the game through
//     the main panel's save button into a slot;
//   - a finger held on a plot shows its details while it stays and hides them when it lifts,
//     and buys nothing;
//   - two fingers zoom the picture in, and a tap then buys the plot under the finger; a tap with
//     two fingers shows the picture whole again; the pinch itself buys nothing;
//   - the page itself scrolls and zooms nowhere under those fingers;
//   - held upright the page asks to be turned; sideways the picture fills the height at 4:3;
//   - a page whose full screen and orientation lock throw still plays after its taps.
// It reports how soon a tap's press and release and a held finger's details reach the game, and
// takes two pictures of the page for the README. Touch emulation is Chromium's alone: in the
// other engines the test says so and skips. Usage: node touch.test.mjs ENGINE WEB_FOLDER OUT_FOLDER
import { test } from 'node:test';
import assert from 'node:assert/strict';
import path from 'node:path';
import { atMenu, game, serve, shown, waitFor } from './site.mjs';

const [engine, webDir, outDir] = [process.argv[2], ...process.argv.slice(3).map(p => path.resolve(p))];
const skip = engine !== 'chromium' && 'touch emulation is Chromium\'s (the DevTools protocol\'s touch events)';
const phone = { width: 844, height: 390 };
let site, url, browser, page, cdp, state, until, frames;
async function open(init = []) {
  site = await serve(webDir, { init });
  url = site.url;
  browser = await (await import('./drivers/chromium.mjs')).launch({ viewport: phone, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
  page = browser.first;
  cdp = await page.cdp();
  ({ state, until, frames } = game(page));
}
const close = async () => { await browser.quit(); await site.stop(); };
const wait = ms => new Promise(resolve => setTimeout(resolve, ms));

// Fingers, through the browser's touch input. Each is { x, y } in CSS pixels of the page; the
// fingers given are all those on the glass after the event.
const touch = (type, fingers) => cdp.send('Input.dispatchTouchEvent', {
  type, touchPoints: fingers.map((f, i) => ({ x: f.x, y: f.y, id: f.id ?? i, radiusX: 4, radiusY: 4, force: 1 })),
});
async function tap(p) {
  await touch('touchStart', [p]);
  await wait(60);
  await touch('touchEnd', []);
}
// A point of the game's 1024 x 768 picture on the page, where the canvas is now (zoomed or not).
const box = () => page.evaluate(() => {
  const r = document.getElementById('canvas').getBoundingClientRect();
  return { x: r.left, y: r.top, width: r.width, height: r.height };
});
async function at(gx, gy) {
  const b = await box();
  return { x: b.x + (gx + 0.5) * b.width / 1024, y: b.y + (gy + 0.5) * b.height / 768 };
}
async function tapGame(gx, gy) {
  await tap(await at(gx, gy));
  await frames(3);
}
// The middle of a plot of the field (24 x 13 plots of 40 x 35 from (33, 280)).
const plot = (col, row) => [33 + 40 * col + 20, 280 + 35 * row + 17];
const owned = s => s.Field.flat().filter(p => p.Owned).length;

// The page's side of the latency report: when the last finger touched and lifted (and the
// game's frame count then), and a watcher that notes the first frame whose state passes a test.
async function recordTouches() {
  await page.evaluate(() => {
    const frame = () => JSON.parse(UTF8ToString(Module._kelvora_state())).Frames;
    window.touchLog = {};
    for (const type of ['touchstart', 'touchend']) {
      window.addEventListener(type, () => { window.touchLog[type] = { t: performance.now(), frame: frame() }; }, true);
    }
    // The mouse events the page gives the game, with the frame each came after.
    window.mouseLog = [];
    for (const type of ['mousemove', 'mousedown', 'mouseup']) {
      document.getElementById('canvas').addEventListener(type, event => {
        if (!event.isTrusted) window.mouseLog.push({ type, button: event.button, frame: frame() });
      });
    }
  });
}
function watch(test) {
  return page.evaluate(source => {
    const passes = new Function('s', `return ${source};`);
    window.watched = new Promise(resolve => {
      const end = performance.now() + 5000;
      const step = () => {
        const s = JSON.parse(UTF8ToString(Module._kelvora_state()));
        if (passes(s) || performance.now() > end) resolve({ t: performance.now(), frame: s.Frames, passed: passes(s) });
        else requestAnimationFrame(step);
      };
      requestAnimationFrame(step);
    });
  }, test);
}
const watched = () => page.evaluate(async () => ({ seen: await window.watched, touches: window.touchLog }));

// The pixels of the last frame in a square of `size` from (x, y).
const region = (x, y, size) => page.evaluate(([x, y, size]) => {
  const at = Module._kelvora_frame() / 2;
  const out = [];
  for (let j = y; j < Math.min(768, y + size); ++j) {
    for (let i = x; i < Math.min(1024, x + size); ++i) out.push(HEAPU16[at + j * 1024 + i]);
  }
  return out;
}, [x, y, size]);
const differing = (a, b) => a.filter((v, i) => v !== b[i]).length;

const scrolled = () => page.evaluate(() => ({
  x: window.scrollX, y: window.scrollY, top: document.scrollingElement.scrollTop,
  scale: visualViewport.scale, left: visualViewport.offsetLeft, above: visualViewport.offsetTop,
}));
const still = v => v.x === 0 && v.y === 0 && v.top === 0 && v.scale === 1 && v.left === 0 && v.above === 0;
const latencies = [];

const turnShown = () => page.evaluate(() => getComputedStyle(document.getElementById('turn')).display !== 'none');
const centre = b => ({ x: b.x + b.width / 2, y: b.y + b.height / 2 });

test('a phone held sideways, played by touch alone', { skip }, async t => {
  await open();
  try {
    await page.goto(url);
    await shown(page, '#play:not([hidden])');
    assert.ok(!(await turnShown()), 'held sideways, the page does not ask to be turned');
    await tap(centre(await page.page.locator('#play').boundingBox()));
    await until('the intro', s => s.Frames > 0 && s.IntroPending);
    const full = await page.evaluate(() => !!document.fullscreenElement);
    assert.ok(full, `"Hrát" tapped takes the page to the whole screen (${full})`);
    const button = await page.evaluate(() => {
      const b = document.getElementById('fullscreen');
      return b && getComputedStyle(b).display !== 'none';
    });
    assert.ok(button, 'the full-screen button shows for a touch player');
    const fullScreen = () => page.evaluate(() => !!document.fullscreenElement);
    const cornerTap = centre(await page.page.locator('#fullscreen').boundingBox());
    await tap(cornerTap);
    await waitFor(page, () => !document.fullscreenElement, null, { timeout: 5000, soft: true });
    const left = !(await fullScreen());
    await tap(cornerTap);
    await waitFor(page, () => !!document.fullscreenElement, null, { timeout: 5000, soft: true });
    assert.ok(left && await fullScreen(), 'a tap on it leaves the whole screen, and another takes it again');
    await recordTouches();

    // The intro, skipped by a tap where the main menu has no button.
    const skipPoint = [100, 720];
    await watch('!s.IntroPending');
    await tap(await at(...skipPoint));
    const skip = await watched();
    assert.ok(skip.seen.passed, `a tap skips the intro (${skip.seen.frame - skip.touches.touchstart.frame} frames after the touch)`);
    const menu = await until('the main menu', atMenu);
    // The game's back end counts the pointer in whole pixels of the canvas's size on the page
    // (520 x 390 here), each 2 of the game's.
    const near = (x, y, gx, gy) => Math.abs(x - gx) <= 2 && Math.abs(y - gy) <= 2;
    assert.ok(near(menu.MouseX, menu.MouseY, ...skipPoint),
      `the tap points where the finger touched (${menu.MouseX}, ${menu.MouseY} for ${skipPoint})`);

    // No arrow while the game is played by touch; a mouse brings it back; a finger hides it again.
    await frames(3);
    const square = () => region(menu.MouseX, menu.MouseY, 32);
    const byTouch = await square();
    const tapped = await at(...skipPoint);
    await page.mouse.move(tapped.x, tapped.y);
    await until('the mouse', s => s.MouseX === menu.MouseX && s.MouseY === menu.MouseY);
    await frames(3);
    const byMouse = await square();
    await tap(tapped);
    await frames(3);
    const byTouchAgain = await square();
    assert.ok(differing(byTouch, byMouse) > 30 && differing(byTouch, byTouchAgain) === 0,
      `the arrow is drawn only after a mouse moved (${differing(byTouch, byMouse)} pixels differ under the ` +
      `pointer, ${differing(byTouch, byTouchAgain)} after a tap again)`);
    // Sound that a phone suspended with the page hidden runs again after the next tap.
    await page.evaluate(() => Module.SDL2.audioContext.suspend());
    await tap(tapped);
    assert.ok(await waitFor(page, () => Module.SDL2.audioContext.state === 'running', null, { timeout: 3000, soft: true }),
      'suspended sound runs again after a tap');

    // The options: the effects knob dragged by a finger from 880 to 600 (volume 254 - 96 = 158).
    await tapGame(500, 495);
    await until('the options', s => s.OptionsOpen);
    const from = await at(880, 290), to = await at(600, 290);
    await touch('touchStart', [from]);
    for (let i = 1; i <= 8; ++i) {
      await wait(20);
      await touch('touchMove', [{ x: from.x + (to.x - from.x) * i / 8, y: from.y }]);
    }
    await wait(50);
    await touch('touchEnd', []);
    await until('the knob', s => s.EffectsVolume !== 254, 3000);
    await frames(3);
    const knob = (await state()).EffectsVolume;
    assert.ok(Math.abs(knob - 158) <= 2, `a finger drags the effects knob from 880 to 600 (volume ${knob}, 158 within a CSS pixel)`);
    await tapGame(500, 600);
    await until('the menu again', atMenu);

    // A new game, the buying tool, a plot bought: taps alone.
    await tapGame(500, 255);
    await until('the level intro', s => s.LevelIntroOpen);
    await tapGame(500, 670);
    const level = await until('the level', s => s.InGame && !s.LevelIntroOpen);
    assert.ok(level.LevelNumber === 1 && level.Money === 2000, `taps start level 1 (${level.LevelNumber}, ${level.Money})`);
    await watch('s.PlotMenuOpen');
    await tap(await at(200, 130));
    const shed = await watched();
    latencies.push(`a tap's press reached the game ${shed.seen.frame - shed.touches.touchend.frame} frames ` +
      `(${(shed.seen.t - shed.touches.touchend.t).toFixed(0)} ms) after the lift (the shed's menu opened, the finger down for 60 ms)`);
    assert.ok(shed.seen.passed, 'a tap on the shed opens its menu');
    await frames(2);
    await tapGame(60, 60);
    await until('the buying tool', s => s.ToolBuy);
    // A quick tap (lifted before the game drew a frame): its press and release still come after
    // the game has drawn the pointer on the plot, which the buying acts on.
    await watch('s.Field[0][0].Owned');
    const quick = await at(...plot(0, 0));
    await page.evaluate(() => { window.mouseLog = []; });
    await Promise.all([touch('touchStart', [quick]), touch('touchEnd', [])]);
    const buy = await watched();
    const given = await page.evaluate(() => window.mouseLog);
    assert.ok(given.map(e => e.type).join() === 'mousemove,mousedown,mouseup' &&
      given.every((e, i) => i === 0 || e.frame > given[i - 1].frame),
      `a tap gives the game a move, a press and a release, each after a frame of its own (${given.map(e => `${e.type} after ${e.frame}`).join(', ')})`);
    latencies.push(`a tap's release reached the game ${buy.seen.frame - buy.touches.touchend.frame} frames ` +
      `(${(buy.seen.t - buy.touches.touchend.t).toFixed(0)} ms) after the lift (a plot bought by a tap lifted at once, before the game drew the pointer there)`);
    const bought = await until('the plot', s => s.Field[0][0].Owned);
    assert.ok(bought.Money === level.Money - 50, `a tap buys a plot for 50 (${level.Money} -> ${bought.Money})`);

    // A finger held on a plot: its details while it stays, nothing bought, gone when it lifts.
    const heldPlot = [3, 1];
    await watch(`s.PlotInfoOpen && s.HoverX === ${heldPlot[0]} && s.HoverY === ${heldPlot[1]}`);
    await touch('touchStart', [await at(...plot(...heldPlot))]);
    const held = await watched();
    await wait(300);
    const holding = await state();
    await page.page.screenshot({ path: path.join(outDir, 'web-phone-details.png'), scale: 'css' });
    latencies.push(`a held finger's details showed ${(held.seen.t - held.touches.touchstart.t).toFixed(0)} ms ` +
      'after its touch');
    assert.ok(held.seen.passed && holding.PlotInfoOpen && holding.HoverX === heldPlot[0] && holding.HoverY === heldPlot[1],
      `a finger held on a plot shows its details (${holding.PlotInfoOpen}, plot ${holding.HoverX}, ${holding.HoverY})`);
    await touch('touchEnd', []);
    const lifted = await until('the details to go', s => !s.PlotInfoOpen, 3000);
    await frames(3);
    const after = await state();
    assert.ok(!after.PlotInfoOpen && after.Money === bought.Money && owned(after) === owned(bought) &&
      !lifted.Field[heldPlot[0]][heldPlot[1]].Owned,
      `lifting the finger hides them, and nothing is bought or paid (${after.Money}, ${owned(after)} plots)`);

    // Two fingers zoom the picture in about its middle, the second finger a moment after the first.
    const unzoomed = await box();
    const middle = { x: unzoomed.x + unzoomed.width / 2, y: unzoomed.y + unzoomed.height / 2 };
    const pair = d => [{ id: 1, x: middle.x - d, y: middle.y }, { id: 2, x: middle.x + d, y: middle.y }];
    await touch('touchStart', [pair(30)[0]]);
    await wait(40);
    await touch('touchStart', pair(30));
    for (let d = 40; d <= 100; d += 10) {
      await wait(20);
      await touch('touchMove', pair(d));
    }
    await touch('touchEnd', [pair(100)[1]]);
    await touch('touchEnd', []);
    await frames(3);
    const zoomed = await box();
    const pinched = await state();
    assert.ok(Math.abs(zoomed.width / unzoomed.width - 3) < 0.01 &&
      Math.abs(zoomed.x + zoomed.width / 2 - middle.x) < 1 && Math.abs(zoomed.y + zoomed.height / 2 - middle.y) < 1,
      `two fingers zoom the picture 3 times about its middle (${(zoomed.width / unzoomed.width).toFixed(2)} times, ` +
      `${Math.round(zoomed.width)} x ${Math.round(zoomed.height)})`);
    assert.ok(pinched.Money === bought.Money && owned(pinched) === owned(bought), 'the pinch itself buys nothing');
    const target = [11, 2];
    const targetPoint = await at(...plot(...target));
    await watch(`s.Field[${target[0]}][${target[1]}].Owned`);
    await tap(targetPoint);
    const zoomTap = await watched();
    latencies.push(`a tap's release reached the game ${zoomTap.seen.frame - zoomTap.touches.touchend.frame} frames ` +
      `(${(zoomTap.seen.t - zoomTap.touches.touchend.t).toFixed(0)} ms) after the lift (a plot bought, the finger down for 60 ms)`);
    const zoomBuy = await until('the plot under the finger', s => s.Field[target[0]][target[1]].Owned, 3000).catch(() => null);
    await frames(2);
    await page.page.screenshot({ path: path.join(outDir, 'web-phone-zoom.png'), scale: 'css' });
    const afterZoomBuy = await state();
    assert.ok(zoomBuy && afterZoomBuy.Money === bought.Money - 50 && owned(afterZoomBuy) === owned(bought) + 1,
      `zoomed in, a tap at (${Math.round(targetPoint.x)}, ${Math.round(targetPoint.y)}) buys the plot under it, ` +
      `${target[0]}, ${target[1]} (${afterZoomBuy.Money})`);
    const view = await scrolled();
    // The same fingers on a page that let the browser have them zoom the page itself (5 times).
    assert.ok(still(view), `the page itself scrolls and zooms nowhere under the pinch (${JSON.stringify(view)})`);

    // A tap with two fingers shows the picture whole again (both sent at once: a busy machine's
    // round trips would make a tap with a pause between them a long press).
    await Promise.all([touch('touchStart', pair(40)), touch('touchEnd', [])]);
    await frames(2);
    const whole = await box();
    assert.ok(Math.abs(whole.width - unzoomed.width) < 0.5 && Math.abs(whole.x - unzoomed.x) < 0.5,
      `a tap with two fingers shows the picture whole (${Math.round(whole.width)} x ${Math.round(whole.height)} at ${Math.round(whole.x)})`);

    // Saved by taps: the main panel's save button, then slot 2.
    await tapGame(882, 50);
    await until('the save screen', s => s.SaveScreenOpen);
    await tapGame(300, 450);
    await until('the save', s => !s.SaveScreenOpen);
    const saved = await page.evaluate(() => FS.analyzePath('/player/Data/Save2.dat').exists);
    assert.ok(saved, 'taps save the game into slot 2');

    // Held upright, the page asks to be turned; sideways again, the picture fills the height.
    await page.resize(phone.height, phone.width);
    const upright = await page.evaluate(() => {
      const turn = document.getElementById('turn');
      return { shown: getComputedStyle(turn).display !== 'none', text: turn.textContent.trim() };
    });
    assert.ok(upright.shown && upright.text === 'Otočte zařízení na šířku.', `held upright, the page says "${upright.text}"`);
    await page.resize(phone.width, phone.height);
    await frames(3);
    const sideways = await box();
    assert.ok(!(await turnShown()) && Math.round(sideways.height) === phone.height &&
      Math.round(sideways.width) === Math.round(phone.height * 4 / 3),
      `sideways the picture fills the height at 4:3 (${Math.round(sideways.width)} x ${Math.round(sideways.height)})`);
    for (const line of latencies) t.diagnostic(line);
    assert.deepEqual(await browser.errors(), [], 'the page logged no error');
  } catch (e) {
    await page.page.screenshot({ path: path.join(outDir, 'touch-failure.png'), scale: 'css' }).catch(() => {});
    throw e;
  } finally {
    await close();
  }
});

test('full screen and the orientation lock refused by throwing: taps on "Hrát" and the corner button, and no error', { skip }, async () => {
  await open([() => {
    Element.prototype.requestFullscreen = () => { throw new TypeError('refused'); };
    screen.orientation.lock = () => { throw new TypeError('refused'); };
  }]);
  try {
    await page.goto(url);
    await shown(page, '#play:not([hidden])');
    await tap(centre(await page.page.locator('#play').boundingBox()));
    await until('the intro', s => s.Frames > 0 && s.IntroPending);
    await tap(centre(await page.page.locator('#fullscreen').boundingBox()));
    await frames(3);
    const picture = await box();
    assert.deepEqual([await browser.errors(), Math.round(picture.width), Math.round(picture.height)], [[], 520, 390]);
  } finally {
    await close();
  }
});
