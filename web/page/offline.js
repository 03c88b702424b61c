// The offline copy: the service worker (sw.js) keeps every file of one version of the page; a
// newer version's worker downloads its files whole and waits. A page that has not started the
// game asks the newer version to take over and loads again from it; the worker does so only
// while no tab of the browser plays (a running game is never mixed with another version's
// files), and otherwise the page goes on with the version it has.
import { N_ } from './language.js';
import { lockHeld } from './lock.js';
import { loaded, say, saying } from './panel.js';

let started = () => false;  // whether this page has started its game
let ready = () => false;    // whether the game's files have all come

// Asks the waiting `worker` to take over. Resolves when the page goes on with its version.
function takeOver(worker, quietly) {
  if (started()) return Promise.resolve();
  const before = saying();
  if (!quietly) say(N_('Načítám novou verzi hry…'));
  return new Promise((resolve) => {
    let goneOn = false;
    function goOn() {
      if (goneOn) return;
      goneOn = true;
      if (!quietly) say(before);
      resolve();
      // A game plays in a tab (or one has just ended and not yet let go, or the worker did not
      // answer): the page asks again a little later, without a word, until the new version
      // takes over or this page plays.
      setTimeout(() => {
        if (!started() && worker.state === 'installed') takeOver(worker, true);
      }, 2000);
    }
    const answer = new MessageChannel();
    answer.port1.onmessage = (event) => {
      if (!(event.data && event.data.tookOver)) goOn();  // else the page loads again
    };
    // Only while no tab plays: a running game never mixes files of two versions.
    lockHeld().then((plays) => {
      if (plays) goOn();
      else worker.postMessage('take-over', [answer.port2]);
    });
    // A worker that neither answers nor takes over in time leaves the page its version for now,
    // and is asked again.
    setTimeout(goOn, 5000);
  });
}

// Registers the service worker. Resolves when the page may load the game: on the first visit
// once the worker has the page's files and serves them, so that each is downloaded once.
// `page` tells whether the page has started its game and whether its files have come.
export async function keepOffline(page) {
  ({ started, ready } = page);
  if (!('serviceWorker' in navigator)) return;
  let registration;
  try {
    registration = await navigator.serviceWorker.register('sw.js');
  } catch (error) {
    console.warn('Kelvora: no offline copy of the page:', error);
    return;
  }
  if (!registration) return;  // the browser was told to run no service worker
  navigator.serviceWorker.addEventListener('message', (event) => {
    if (event.data && event.data.kept !== undefined && !ready()) {
      loaded(event.data.kept / event.data.total);
    }
  });
  const controlled = !!navigator.serviceWorker.controller;
  // Whichever tab made a newer version take over, a page that has not started its game loads
  // again from it at once.
  if (controlled) {
    navigator.serviceWorker.addEventListener('controllerchange', () => {
      if (!started()) location.reload();
    });
  }
  if (controlled && registration.waiting) {
    await takeOver(registration.waiting);
    return;
  }
  // A newer version found now, or already being fetched as the page loads (another tab's visit
  // started it), is asked to take over once it has all its files.
  function whenInstalled(worker) {
    worker.addEventListener('statechange', () => {
      if (worker.state === 'installed' && navigator.serviceWorker.controller) takeOver(worker);
    });
  }
  registration.addEventListener('updatefound', () => { whenInstalled(registration.installing); });
  if (controlled && registration.installing) whenInstalled(registration.installing);
  if (controlled) return;
  // The first visit: the worker downloads the page's files into its copy and takes the page over.
  const installing = registration.installing || registration.waiting;
  if (!installing) return;  // a forced reload, past the worker: the files come from the network
  await new Promise((resolve) => {
    navigator.serviceWorker.addEventListener('controllerchange', resolve, { once: true });
    installing.addEventListener('statechange', () => {
      if (installing.state === 'redundant') resolve();
    });
  });
}
