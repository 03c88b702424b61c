// The browser build on a phone held sideways: Debian's headless Chromium emulating one (touch,
// 844 x 390 CSS pixels, 3 device pixels to one), played by the browser's touch input alone (the
// DevTools protocol's touch events, never mouse events, except where a mouse is the point): taps,
// a held finger, a dragged finger and two fingers' pinch and tap, and the page held upright.
// It reports how soon a tap's press and release and a held finger's details reach the game, and
// takes two pictures of the page for the README. Touch emulation is Chromium's alone: in the
// other engines the test says so and skips. Usage: node touch.test.mjs ENGINE WEB_FOLDER OUT_FOLDER
import { test } from 'node:test';
import assert from 'node:assert/strict';
import path from 'node:path';
import { atMenu, game, refuseFullScreen, serve, sleep } from './site.mjs';

const [engine, webDir, outDir] = [process.argv[2], ...process.argv.slice(3).map(p => path.resolve(p))];
const skip = engine !== 'chromium' && 'touch emulation is Chromium\'s (the DevTools protocol\'s touch events)';
const phone = { width: 844, height: 390 };
let browser, page, cdp, g, state, until, frames;
// A test on the phone: the page of a site of its own whose pages run `init`, opened to "Hrát" in
// a browser emulating the phone; a failure leaves a picture of the page behind.
const onPhone = (name, init, body) => test(name, { skip }, async t => {
  const site = await serve(webDir, { init });
  browser = await (await import('./drivers/chromium.mjs')).launch({ viewport: phone, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
  g = game(page = browser.first);
  ({ state, until, frames } = g);
  cdp = await page.cdp();
  try {
    await g.open(site.url);
    await body(t);
  } catch (e) {
    await shot('touch-failure.png').catch(() => {});
    throw e;
  } finally {
    await browser.quit();
    await site.stop();
  }
});

// Fingers, through the browser's touch input. Each is { x, y } in CSS pixels of the page; the
// fingers given are all those on the glass after the event.
const touch = (type, fingers) => cdp.send('Input.dispatchTouchEvent', {
  type, touchPoints: fingers.map((f, i) => ({ x: f.x, y: f.y, id: f.id ?? i, radiusX: 4, radiusY: 4, force: 1 })),
});
const tap = async p => { await touch('touchStart', [p]); await sleep(60); await touch('touchEnd', []); };
// The fingers on the glass moved in `n` steps, 20 ms apart, to where `fingers(step)` has them.
const slide = async (fingers, n) => { for (let i = 1; i <= n; ++i) await sleep(20).then(() => touch('touchMove', fingers(i))); };
const centre = b => ({ x: b.x + b.width / 2, y: b.y + b.height / 2 });
const tapOn = async selector => tap(centre(await g.box(selector)));
// A point of the game's 1024 x 768 picture on the page, where the canvas is now (zoomed or not).
async function at(gx, gy) {
  const b = await g.box();
  return { x: b.x + (gx + 0.5) * b.width / 1024, y: b.y + (gy + 0.5) * b.height / 768 };
}
// A tap on the picture, and the state once it has done `what` (passes `test`).
const tapTo = async (gx, gy, what, test) => { await tap(await at(gx, gy)); await frames(3); return until(what, test); };
// The middle of a plot of the field (24 x 13 plots of 40 x 35 from (33, 280)).
const plot = (col, row) => [33 + 40 * col + 20, 280 + 35 * row + 17];
const owned = s => s.Field.flat().filter(p => p.Owned).length;
const shot = name => page.page.screenshot({ path: path.join(outDir, name), scale: 'css' });

// The page's side of the latency report: when the last finger touched and lifted (and the
// game's frame count then), and the mouse events the page gives the game, with the frame each
// came after.
const recordTouches = () => page.evaluate(() => {
  const frame = () => JSON.parse(UTF8ToString(Module._kelvora_state())).Frames;
  window.touchLog = {};
  for (const type of ['touchstart', 'touchend']) {
    window.addEventListener(type, () => { window.touchLog[type] = { t: performance.now(), frame: frame() }; }, true);
  }
  window.mouseLog = [];
  for (const type of ['mousemove', 'mousedown', 'mouseup']) {
    document.getElementById('canvas').addEventListener(type, event => {
      if (!event.isTrusted) window.mouseLog.push({ type, button: event.button, frame: frame() });
    });
  }
});
// The first frame whose state passes `test` (within 5 s) after `action`, and the touches' times.
async function watching(test, action) {
  await page.evaluate(source => {
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
  await action();
  return page.evaluate(async () => ({ seen: await window.watched, touches: window.touchLog }));
}
const latencies = [];
const latency = (what, { seen, touches }, from = 'touchend') => latencies.push(`${what}: ${seen.frame - touches[from].frame} frames ` +
  `(${(seen.t - touches[from].t).toFixed(0)} ms) after the ${from === 'touchend' ? 'lift' : 'touch'}`);

const differing = (a, b) => a.filter((v, i) => v !== b[i]).length;
const turnShown = () => page.evaluate(() => getComputedStyle(document.getElementById('turn')).display !== 'none');

onPhone('a phone held sideways, played by touch alone', [], async t => {
  assert.ok(!(await turnShown()), 'held sideways, the page does not ask to be turned');
  await tapOn('#play');
  await until('the intro', s => s.Frames > 0 && s.IntroPending);
  assert.ok(await page.evaluate(() => !!document.fullscreenElement), '"Hrát" tapped takes the page to the whole screen');
  const button = await page.evaluate(() => getComputedStyle(document.getElementById('fullscreen')).display !== 'none');
  assert.ok(button, 'the full-screen button shows for a touch player');
  await tapOn('#fullscreen');
  const left = await g.fullScreen(false);
  await tapOn('#fullscreen');
  assert.ok(left && await g.fullScreen(true), 'a tap on it leaves the whole screen, and another takes it again');
  await recordTouches();

  // The intro, skipped by a tap where the main menu has no button.
  const skipPoint = [100, 720];
  const skipped = await watching('!s.IntroPending', async () => tap(await at(...skipPoint)));
  assert.ok(skipped.seen.passed, `a tap skips the intro (${skipped.seen.frame - skipped.touches.touchstart.frame} frames after the touch)`);
  const menu = await until('the main menu', atMenu);
  // The game's back end counts the pointer in whole pixels of the canvas's size on the page
  // (520 x 390 here), each 2 of the game's.
  assert.ok(Math.abs(menu.MouseX - skipPoint[0]) <= 2 && Math.abs(menu.MouseY - skipPoint[1]) <= 2,
    `the tap points where the finger touched (${menu.MouseX}, ${menu.MouseY} for ${skipPoint})`);

  // No arrow while the game is played by touch; a mouse brings it back; a finger hides it again.
  await frames(3);
  const square = async () => { await frames(3); return g.pixels(menu.MouseX, menu.MouseY, 32, 32); };
  const byTouch = await g.pixels(menu.MouseX, menu.MouseY, 32, 32);
  const tapped = await at(...skipPoint);
  await page.mouse.move(tapped.x, tapped.y);
  await until('the mouse', s => s.MouseX === menu.MouseX && s.MouseY === menu.MouseY);
  const byMouse = await square();
  await tap(tapped);
  const byTouchAgain = await square();
  assert.ok(differing(byTouch, byMouse) > 30 && differing(byTouch, byTouchAgain) === 0, `the arrow is drawn only after a mouse ` +
    `moved (${differing(byTouch, byMouse)} pixels differ under the pointer, ${differing(byTouch, byTouchAgain)} after a tap again)`);
  // Sound that a phone suspended with the page hidden runs again after the next tap.
  await page.evaluate(() => Module.SDL2.audioContext.suspend());
  await tap(tapped);
  assert.ok(await g.audio(3000), 'suspended sound runs again after a tap');

  // The options: the effects knob dragged by a finger from 880 to 600 (volume 254 - 96 = 158).
  await tapTo(500, 495, 'the options', s => s.OptionsOpen);
  const from = await at(880, 290), to = await at(600, 290);
  await touch('touchStart', [from]);
  await slide(i => [{ x: from.x + (to.x - from.x) * i / 8, y: from.y }], 8);
  await sleep(50);
  await touch('touchEnd', []);
  await until('the knob', s => s.EffectsVolume !== 254, 3000);
  await frames(3);
  const knob = (await state()).EffectsVolume;
  assert.ok(Math.abs(knob - 158) <= 2, `a finger drags the effects knob from 880 to 600 (volume ${knob}, 158 within a CSS pixel)`);
  await tapTo(500, 600, 'the menu again', atMenu);

  // A new game, the buying tool, a plot bought: taps alone.
  await tapTo(500, 255, 'the level intro', s => s.LevelIntroOpen);
  const level = await tapTo(500, 670, 'the level', s => s.InGame && !s.LevelIntroOpen);
  assert.ok(level.LevelNumber === 1 && level.Money === 2000, `taps start level 1 (${level.LevelNumber}, ${level.Money})`);
  const shed = await watching('s.PlotMenuOpen', async () => tap(await at(200, 130)));
  latency('a tap\'s press reached the game (the shed\'s menu opened, the finger down for 60 ms)', shed);
  assert.ok(shed.seen.passed, 'a tap on the shed opens its menu');
  await frames(2);
  await tapTo(60, 60, 'the buying tool', s => s.ToolBuy);
  // A quick tap (lifted before the game drew a frame): its press and release still come after
  // the game has drawn the pointer on the plot, which the buying acts on.
  const quick = await at(...plot(0, 0));
  await page.evaluate(() => { window.mouseLog = []; });
  const buy = await watching('s.Field[0][0].Owned', () => Promise.all([touch('touchStart', [quick]), touch('touchEnd', [])]));
  const given = await page.evaluate(() => window.mouseLog);
  assert.ok(given.map(e => e.type).join() === 'mousemove,mousedown,mouseup' && given.every((e, i) => !i || e.frame > given[i - 1].frame),
    `a tap gives the game a move, a press and a release, each after a frame of its own (${given.map(e => `${e.type} after ${e.frame}`)})`);
  latency('a tap\'s release reached the game (a plot bought by a tap lifted before the game drew the pointer there)', buy);
  const bought = await until('the plot', s => s.Field[0][0].Owned);
  assert.ok(bought.Money === level.Money - 50, `a tap buys a plot for 50 (${level.Money} -> ${bought.Money})`);

  // A finger held on a plot: its details while it stays, nothing bought, gone when it lifts.
  const [hx, hy] = [3, 1];
  const held = await watching(`s.PlotInfoOpen && s.HoverX === ${hx} && s.HoverY === ${hy}`,
    async () => touch('touchStart', [await at(...plot(hx, hy))]));
  await sleep(300);
  const holding = await state();
  await shot('web-phone-details.png');
  latency('a held finger\'s details showed', held, 'touchstart');
  assert.ok(held.seen.passed && holding.PlotInfoOpen && holding.HoverX === hx && holding.HoverY === hy,
    `a finger held on a plot shows its details (${holding.PlotInfoOpen}, plot ${holding.HoverX}, ${holding.HoverY})`);
  await touch('touchEnd', []);
  const lifted = await until('the details to go', s => !s.PlotInfoOpen, 3000);
  await frames(3);
  const after = await state();
  assert.ok(!after.PlotInfoOpen && after.Money === bought.Money && owned(after) === owned(bought) && !lifted.Field[hx][hy].Owned,
    `lifting the finger hides them, and nothing is bought or paid (${after.Money}, ${owned(after)} plots)`);

  // Two fingers zoom the picture in about its middle, the second finger a moment after the first.
  const unzoomed = await g.box();
  const middle = centre(unzoomed);
  const pair = d => [{ id: 1, x: middle.x - d, y: middle.y }, { id: 2, x: middle.x + d, y: middle.y }];
  await touch('touchStart', [pair(30)[0]]);
  await sleep(40);
  await touch('touchStart', pair(30));
  await slide(i => pair(30 + 10 * i), 7);
  await touch('touchEnd', [pair(100)[1]]);
  await touch('touchEnd', []);
  await frames(3);
  const zoomed = await g.box();
  const pinched = await state();
  const [zx, zy] = Object.values(centre(zoomed));
  assert.ok(Math.abs(zoomed.width / unzoomed.width - 3) < 0.01 && Math.abs(zx - middle.x) < 1 && Math.abs(zy - middle.y) < 1,
    `two fingers zoom the picture 3 times about its middle (${(zoomed.width / unzoomed.width).toFixed(2)} times, about ${zx}, ${zy})`);
  assert.ok(pinched.Money === bought.Money && owned(pinched) === owned(bought), 'the pinch itself buys nothing');
  const [tx, ty] = [11, 2];
  const target = await at(...plot(tx, ty));
  latency('a tap\'s release reached the game (a plot bought, the finger down for 60 ms)', await watching(`s.Field[${tx}][${ty}].Owned`,
    () => tap(target)));
  const zoomBuy = await until('the plot under the finger', s => s.Field[tx][ty].Owned, 3000).catch(() => null);
  await frames(2);
  await shot('web-phone-zoom.png');
  const afterZoomBuy = await state();
  assert.ok(zoomBuy && afterZoomBuy.Money === bought.Money - 50 && owned(afterZoomBuy) === owned(bought) + 1,
    `zoomed in, a tap at (${Math.round(target.x)}, ${Math.round(target.y)}) buys the plot under it, ${tx}, ${ty} (${afterZoomBuy.Money})`);
  // The same fingers on a page that let the browser have them zoom the page itself (5 times).
  const view = await page.evaluate(() => [window.scrollX, window.scrollY, document.scrollingElement.scrollTop,
    visualViewport.scale, visualViewport.offsetLeft, visualViewport.offsetTop].map(v => v + 0));
  assert.deepEqual(view, [0, 0, 0, 1, 0, 0], 'the page itself scrolls and zooms nowhere under the pinch');

  // A tap with two fingers shows the picture whole again (both sent at once: a busy machine's
  // round trips would make a tap with a pause between them a long press).
  await Promise.all([touch('touchStart', pair(40)), touch('touchEnd', [])]);
  await frames(2);
  const whole = await g.box();
  assert.ok(Math.abs(whole.width - unzoomed.width) < 0.5 && Math.abs(whole.x - unzoomed.x) < 0.5,
    `a tap with two fingers shows the picture whole (${Math.round(whole.width)} x ${Math.round(whole.height)} at ${Math.round(whole.x)})`);

  // Saved by taps: the main panel's save button, then slot 2.
  await tapTo(882, 50, 'the save screen', s => s.SaveScreenOpen);
  await tapTo(300, 450, 'the save', s => !s.SaveScreenOpen);
  assert.ok(await page.evaluate(() => FS.analyzePath('/player/Data/Save2.dat').exists), 'taps save the game into slot 2');

  // Held upright, the page asks to be turned; sideways again, the picture fills the height.
  await page.resize(phone.height, phone.width);
  const upright = await page.evaluate(() => document.getElementById('turn').textContent.trim());
  assert.ok(await turnShown() && upright === 'Otočte zařízení na šířku.', `held upright, the page says "${upright}"`);
  await page.resize(phone.width, phone.height);
  await frames(3);
  const sideways = await g.box();
  const [w, h] = [sideways.width, sideways.height].map(Math.round);
  assert.ok(!(await turnShown()) && h === phone.height && w === Math.round(phone.height * 4 / 3),
    `sideways the picture fills the height at 4:3 (${w} x ${h})`);
  for (const line of latencies) t.diagnostic(line);
  assert.deepEqual(await browser.errors(), [], 'the page logged no error');
});

onPhone('full screen and the orientation lock refused by throwing: taps on "Hrát" and the corner button, and no error',
  [refuseFullScreen], async () => {
    await tapOn('#play');
    await until('the intro', s => s.Frames > 0 && s.IntroPending);
    await tapOn('#fullscreen');
    await frames(3);
    const picture = await g.box();
    assert.deepEqual([await browser.errors(), Math.round(picture.width), Math.round(picture.height)], [[], 520, 390]);
  });
