// Touch play. The game knows a mouse: a left button that clicks and drags, a right button held
// for a plot's details, and a pointer that hovers. Fingers on the game are caught here, before
// the browser (its scrolling, zooming, selection and long-press menu) or the game's own touch
// handling see them, and become that mouse:
//   - a tap is a left click where the finger touched: the pointer moves there as the finger
//     touches, and when it lifts the press and the release follow, each in a frame of its own,
//     so that the game has drawn the pointer's place before the release acts on it;
//   - a finger held still (less than 10 CSS pixels) for half a second holds the right button
//     there until it lifts, and makes no click;
//   - a finger that moves further first drags with the left button (the options' sliders);
//   - every touch also gives the game the digit 1, which skips the intro and does nothing else;
//   - two fingers zoom the picture (up to 3 times) and move it; a tap with two fingers shows it
//     whole again.
// While the player plays by touch the game draws no arrow (Module.pointerShown is false); a
// mouse that moves brings it back. On a touch device "Hrát" also takes the page to the whole
// screen held sideways where the browser allows it, and a button in the corner switches it.
import { N_, tr, whenLanguageChanges } from './language.js';

const canvas = document.getElementById('canvas');
const panel = document.getElementById('panel');
const root = document.documentElement;

const HOLD_MS = 500;      // a finger held this long is the right button
const SLOP = 10;          // CSS pixels a finger may move and still tap or hold
const TWO_TAP_MS = 350;   // two fingers lifted within this are a tap
const MAX_ZOOM = 3;

// ---------------------------------------------------------------- the game's mouse
// The game takes its input between two frames. A finger's mouse events go to it one at a
// time: the next once the game has drawn a frame after the last (it says so as it draws the
// pointer's place, Module.onPointerDrawn), or, where it draws none for a while (its intro, a
// fade), a moment later. A move that waits its turn is replaced by a newer one, so that a
// dragging finger is followed without lag.
const queue = [];
let sending = false;
let fallback = 0;
let pointerAt = null;  // where the last move put the pointer

function post(event) {
  const last = queue[queue.length - 1];
  if (event.type === 'mousemove') pointerAt = { x: event.x, y: event.y };
  if (event.type === 'mousemove' && last && last.type === 'mousemove') {
    queue[queue.length - 1] = event;
  } else {
    queue.push(event);
  }
  if (!sending) sendNext();
}

function sendNext() {
  clearTimeout(fallback);
  const event = queue.shift();
  sending = !!event;
  if (!event) return;
  // The game's back end listens for presses and moves on the canvas and for releases on the
  // document, and maps the point through the canvas's box on the page, zoomed or not.
  canvas.dispatchEvent(new MouseEvent(event.type, {
    bubbles: true, cancelable: true, view: window, clientX: event.x, clientY: event.y,
    button: event.button, buttons: event.buttons,
  }));
  fallback = setTimeout(sendNext, 100);
}

// Called inside the game's frame: the next event goes once the frame is done.
if (window.Module) {
  Module.onPointerDrawn = function () {
    if (sending) queueMicrotask(sendNext);
  };
}

const move = (p) => post({ type: 'mousemove', x: p.x, y: p.y, button: 0, buttons: 0 });
const press = (p, right) =>
  post({ type: 'mousedown', x: p.x, y: p.y, button: right ? 2 : 0, buttons: right ? 2 : 1 });
const release = (p, right) =>
  post({ type: 'mouseup', x: p.x, y: p.y, button: right ? 2 : 0, buttons: 0 });

// The digit 1, as the keyboard gives it (the game reads the key's place, `code`).
function skipKey() {
  for (const type of ['keydown', 'keyup']) {
    window.dispatchEvent(new KeyboardEvent(type, { key: '1', code: 'Digit1', bubbles: true }));
  }
}

// ---------------------------------------------------------------- the picture's zoom
// The canvas is scaled about its top left corner and moved; it is never smaller than the
// picture laid out by the page, and never leaves a gap on a side it overhangs.
const zoom = { scale: 1, x: 0, y: 0 };

function layout() {
  return { left: canvas.offsetLeft, top: canvas.offsetTop,
    width: canvas.offsetWidth, height: canvas.offsetHeight,
    viewWidth: root.clientWidth, viewHeight: root.clientHeight };
}

function applyZoom() {
  const l = layout();
  zoom.scale = Math.min(MAX_ZOOM, Math.max(1, zoom.scale));
  const fit = (shift, start, size, view) => {
    const scaled = size * zoom.scale;
    if (scaled <= view) return (view - scaled) / 2 - start;
    return Math.min(-start, Math.max(view - scaled - start, shift));
  };
  zoom.x = fit(zoom.x, l.left, l.width, l.viewWidth);
  zoom.y = fit(zoom.y, l.top, l.height, l.viewHeight);
  canvas.style.transform = zoom.scale === 1 && Math.abs(zoom.x) < 0.5 && Math.abs(zoom.y) < 0.5
    ? '' : `translate(${zoom.x}px, ${zoom.y}px) scale(${zoom.scale})`;
}

function resetZoom() {
  zoom.scale = 1;
  zoom.x = zoom.y = 0;
  applyZoom();
}
window.addEventListener('resize', applyZoom);

// The game sizes its drawing buffer by the picture's size, and scales the pointer by the two,
// as it finds them on the window's resize event. WebKit, leaving full screen, may send its last
// resize while the picture still has the full screen's size, and none once it has the window's:
// the game would go on drawing, and reading the pointer, at the full screen's scale. Whenever
// the picture's size may have changed, and before the game reads the pointer, a drawing buffer
// that is not the picture's size has the resize told again.
function tellTheSize() {
  if (panel.hidden && (canvas.width !== canvas.clientWidth || canvas.height !== canvas.clientHeight)) {
    window.dispatchEvent(new Event('resize'));
  }
}
for (const type of ['fullscreenchange', 'webkitfullscreenchange']) document.addEventListener(type, tellTheSize);
for (const type of ['mousedown', 'mousemove', 'mouseup']) window.addEventListener(type, tellTheSize, true);
if (window.ResizeObserver) new ResizeObserver(tellTheSize).observe(canvas);

// ---------------------------------------------------------------- gestures
const fingers = new Map();  // identifier -> { x0, y0, x, y }
// null, or { kind: 'one', id, phase: 'pending' | 'drag' | 'hold' | 'outside', timer },
// { kind: 'two', start, moved, pinch } or { kind: 'rest' } (fingers left after two).
let gesture = null;

const far = (f) => Math.hypot(f.x - f.x0, f.y - f.y0) >= SLOP;

// A point on the picture; a point beside it (a finger that dragged off it) is kept on its edge.
function onPicture(f, clampToEdge) {
  const r = canvas.getBoundingClientRect();
  const inside = f.x >= r.left && f.x < r.right && f.y >= r.top && f.y < r.bottom;
  if (inside || !clampToEdge) return inside ? { x: f.x, y: f.y } : null;
  return { x: Math.min(r.right - 0.5, Math.max(r.left, f.x)),
    y: Math.min(r.bottom - 0.5, Math.max(r.top, f.y)) };
}

function startOne(id) {
  const f = fingers.get(id);
  const at = onPicture(f, false);
  gesture = { kind: 'one', id, phase: at ? 'pending' : 'outside', timer: 0 };
  if (!at) return;
  skipKey();
  move(at);
  gesture.timer = setTimeout(function () {
    if (!gesture || gesture.kind !== 'one' || gesture.phase !== 'pending') return;
    gesture.phase = 'hold';
    const p = onPicture(fingers.get(id), true);
    if (p.x !== pointerAt.x || p.y !== pointerAt.y) move(p);
    press(p, true);
  }, HOLD_MS);
}

// Ends the one-finger gesture: `lifted` when its finger left the glass as it should, not when
// the browser cancelled it or a second finger turned it into a zoom.
function endOne(lifted) {
  const g = gesture;
  clearTimeout(g.timer);
  const f = fingers.get(g.id);
  if (g.phase === 'pending' && lifted) {
    // Where the finger touched: the pointer went there then, and the game has drawn it there.
    const p = onPicture({ x: f.x0, y: f.y0 }, true);
    press(p, false);
    release(p, false);
  } else if (g.phase === 'drag' || g.phase === 'hold') {
    release(onPicture(f, true), g.phase === 'hold');
  }
}

function startTwo(now) {
  gesture = { kind: 'two', start: now, moved: false, pinch: null };
  basePinch();
}

// The pinch is measured from the first two fingers as they are now: their distance, and the
// point of the unzoomed picture under their middle, which stays under it.
function basePinch() {
  const [a, b] = [...fingers.values()];
  const l = layout();
  const mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
  gesture.pinch = { distance: Math.max(1, Math.hypot(a.x - b.x, a.y - b.y)), scale: zoom.scale,
    px: (mx - l.left - zoom.x) / zoom.scale, py: (my - l.top - zoom.y) / zoom.scale };
}

function pinch() {
  const [a, b] = [...fingers.values()];
  const p = gesture.pinch, l = layout();
  zoom.scale = Math.min(MAX_ZOOM, Math.max(1,
    p.scale * Math.hypot(a.x - b.x, a.y - b.y) / p.distance));
  zoom.x = (a.x + b.x) / 2 - l.left - p.px * zoom.scale;
  zoom.y = (a.y + b.y) / 2 - l.top - p.py * zoom.scale;
  applyZoom();
}

// Touches on the game (the canvas, or the black beside it) are the game's; the page's own
// buttons and texts keep theirs.
const onGame = (target) => target === canvas || target === document.body || target === root;

function setTouchPlay() {
  root.classList.add('touch');
  if (window.Module && Module.pointerShown !== false) Module.pointerShown = false;
}

function onTouch(event) {
  if (event.type === 'touchstart') setTouchPlay();
  if (!onGame(event.target)) {
    // The portrait notice and the like: nothing of the browser's own happens over them either.
    if (event.cancelable &&
        !(event.target instanceof Element && event.target.closest('button, #panel'))) {
      event.preventDefault();
    }
    return;
  }
  // The game's back end has touch handlers of its own on the canvas: they never see these.
  // (A browser busy for long may send a touch it no longer lets the page cancel.)
  event.stopPropagation();
  if (event.cancelable) event.preventDefault();
  const now = event.timeStamp;
  for (const t of event.changedTouches) {
    const f = fingers.get(t.identifier);
    if (event.type === 'touchstart') {
      fingers.set(t.identifier, { x0: t.clientX, y0: t.clientY, x: t.clientX, y: t.clientY });
    } else if (f) {
      f.x = t.clientX;
      f.y = t.clientY;
    }
  }
  if (event.type === 'touchstart') {
    if (!gesture) {
      if (fingers.size === 1) startOne(fingers.keys().next().value);
      else startTwo(now);
    } else if (gesture.kind === 'one') {
      endOne(false);
      startTwo(now);
    } else if (fingers.size >= 2) {
      if (gesture.kind === 'two') basePinch();
      else startTwo(now);
    }
    return;
  }
  if (event.type === 'touchmove') {
    if (gesture && gesture.kind === 'one' && gesture.phase !== 'outside') {
      const f = fingers.get(gesture.id);
      if (gesture.phase === 'pending' && far(f)) {
        clearTimeout(gesture.timer);
        gesture.phase = 'drag';
        press(onPicture({ x: f.x0, y: f.y0 }, true), false);
      }
      if (gesture.phase !== 'pending') move(onPicture(f, true));
    } else if (gesture && gesture.kind === 'two' && fingers.size >= 2) {
      if ([...fingers.values()].some(far)) gesture.moved = true;
      pinch();
    }
    return;
  }
  // touchend, touchcancel
  const lifted = event.type === 'touchend';
  if (gesture && gesture.kind === 'one') {
    if ([...event.changedTouches].some((t) => t.identifier === gesture.id)) {
      endOne(lifted);
      gesture = null;
    }
  } else if (gesture && gesture.kind === 'two') {
    if (lifted && !gesture.moved && now - gesture.start <= TWO_TAP_MS) resetZoom();
    gesture = { kind: 'rest' };
  }
  for (const t of event.changedTouches) fingers.delete(t.identifier);
  if (gesture && fingers.size === 0) gesture = null;
  if (gesture && gesture.kind === 'rest' && fingers.size >= 2) startTwo(now);
}

for (const type of ['touchstart', 'touchmove', 'touchend', 'touchcancel']) {
  window.addEventListener(type, onTouch, { capture: true, passive: false });
}
// Safari's own pinch events, the long-press menu, and a double tap's zoom.
for (const type of ['gesturestart', 'gesturechange', 'gestureend', 'contextmenu']) {
  window.addEventListener(type, (event) => event.preventDefault(), { capture: true });
}
window.addEventListener('dblclick', (event) => event.preventDefault(), { capture: true });

// A mouse that really moves shows the game's arrow again (the mouse events made above are the
// page's own, not trusted, and fingers give pointer events of the type "touch").
window.addEventListener('pointermove', function (event) {
  if (event.isTrusted && event.pointerType === 'mouse' && window.Module &&
      Module.pointerShown === false) {
    Module.pointerShown = true;
  }
}, true);

// ---------------------------------------------------------------- the whole screen
const fullScreenElement = () => document.fullscreenElement || document.webkitFullscreenElement;
const canFullScreen = () => !!(document.fullscreenEnabled || document.webkitFullscreenEnabled);

// Each asks the browser, which may lack the interface (an iPhone has neither full screen nor
// the orientation lock), refuse it, or throw where it should reject: the page then simply
// fills the window, as it does anyway.
function ask(call) {
  try {
    Promise.resolve(call()).catch(function () {});
  } catch (e) { /* refused: the page stays in the window */ }
}
function enterFullScreen() {
  const request = root.requestFullscreen || root.webkitRequestFullscreen;
  if (!request || fullScreenElement()) return;
  ask(function () {
    return Promise.resolve(request.call(root, { navigationUI: 'hide' })).then(function () {
      if (screen.orientation && screen.orientation.lock) {
        ask(function () { return screen.orientation.lock('landscape'); });
      }
    });
  });
}

function leaveFullScreen() {
  const exit = document.exitFullscreen || document.webkitExitFullscreen;
  if (exit && fullScreenElement()) ask(function () { return exit.call(document); });
}

// F11 and Alt+Enter switch the page between the whole screen and the window. The switch is
// made here, in the key's own handler, since a browser grants full screen only there; the game
// never sees these keys. The picture keeps its 4:3 shape either way.
window.addEventListener('keydown', function (event) {
  const enter = event.key === 'Enter' && event.altKey;
  if (event.key !== 'F11' && !enter) return;
  event.preventDefault();
  event.stopImmediatePropagation();
  if (event.repeat) return;
  if (fullScreenElement()) leaveFullScreen();
  else enterFullScreen();
}, true);

// A game started by a finger ("Hrát", or any button of the panel that gives the picture back)
// takes the whole screen, where the browser grants it: only while the tap's activation lasts,
// which the panel's hiding, right after it, still is. Where it cannot (an iPhone), the page
// fills the browser's window.
let lastPointer = 'mouse';
window.addEventListener('pointerdown', (event) => { lastPointer = event.pointerType; }, true);
new MutationObserver(function () {
  if (panel.hidden && lastPointer === 'touch') enterFullScreen();
}).observe(panel, { attributes: true, attributeFilter: ['hidden'] });

// The corner button of touch players (F11 and Alt+Enter stay for keyboards).
const button = document.createElement('button');
button.id = 'fullscreen';
button.type = 'button';
whenLanguageChanges(function () {
  button.title = tr(N_('Celá obrazovka'));
  button.setAttribute('aria-label', button.title);
});
button.innerHTML = '<svg viewBox="0 0 24 24" aria-hidden="true"><path d="M3 9V3h6M15 3h6v6M21 ' +
  '15v6h-6M9 21H3v-6" fill="none" stroke="currentColor" stroke-width="2.5"/></svg>';
button.hidden = !canFullScreen();
button.addEventListener('click', function () {
  if (fullScreenElement()) leaveFullScreen();
  else enterFullScreen();
  canvas.focus();
});
document.body.appendChild(button);

if (window.matchMedia && matchMedia('(pointer: coarse)').matches) root.classList.add('touch');
