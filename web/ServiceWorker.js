// The page's service worker: keeps every file of one version of the page in a cache of its own
// and serves the page from it, so that after one visit the game loads and plays without the
// network. The build writes VERSION, BUILD (the version and a hash of the files' contents) and
// FILES (each file's SHA-256 and size) above this text (web/ServiceWorker.cmake).
//
// The caches are named by the page's folder (its scope) and the build, so that two builds of
// the page served from one origin (a test build beside the release) keep their copies apart.
// A new version's worker gets its whole set before it may take over: a file whose content an
// older version's cache already holds is copied from there, every other one is downloaded and
// checked against its hash (a file that changed on the server meanwhile fails the install, to be
// tried again later). A language's pictures (FILES marked onDemand) are fetched only when the
// game asks for them, checked in the same way, and carried into the next version where they did
// not change. The new worker then waits: it takes over only when a page asks it to, which a
// page does only while no game of this origin runs (no tab holds the game's lock), and the page
// loads again from it (page.js). Taking over, it removes the older versions' caches of its
// folder, unless a game still plays with one of them.
const SCOPE = new URL('./', self.location).href;
const PREFIX = 'kelvora ' + SCOPE + ' ';
const CACHE = PREFIX + BUILD;
const HASH_HEADER = 'X-Kelvora-Sha256';

function hex(buffer) {
  return Array.from(new Uint8Array(buffer), function (b) { return b.toString(16).padStart(2, '0'); })
    .join('');
}

// Tells the pages how much of the set is kept so far, for their progress bars.
async function report(kept, total) {
  const pages = await self.clients.matchAll({ includeUncontrolled: true, type: 'window' });
  pages.forEach(function (page) { page.postMessage({ kept: kept, total: total }); });
}

// The caches of this folder's other versions; those of the page's earlier versions, named
// "kelvora-VERSION-HASH", where they hold this folder's files.
async function olderCaches() {
  const older = [];
  for (const name of await caches.keys()) {
    if (name === CACHE) continue;
    if (name.startsWith(PREFIX)) {
      older.push(name);
    } else if (name.startsWith('kelvora-')) {
      const requests = await (await caches.open(name)).keys();
      if (requests.some(function (request) { return request.url.startsWith(SCOPE); })) {
        older.push(name);
      }
    }
  }
  return older;
}

// The page that plays the game, as the game's lock names it (page.js), or null. A game is played
// to its end with the version it started with: a browser may let a new version take over while a
// tab plays (Firefox does at times as another tab of the page loads, whatever that tab asks), so
// the older versions' caches then stay, and the playing page's requests are answered from them,
// until a page loads with no game playing.
async function playingClient() {
  try {
    const held = (await navigator.locks.query()).held.find(function (lock) { return lock.name === 'kelvora'; });
    return held ? held.clientId : null;
  } catch (error) {
    return null;  // no Web Locks in this browser's workers: no game is known to play
  }
}
// What this version kept for a game that played on as it took over: { client, caches }.
const KEPT_FOR_A_GAME = SCOPE + 'kelvora-kept-for-a-game';
async function keptForAGame(cache) {
  const record = await cache.match(KEPT_FOR_A_GAME);
  return record ? record.json() : null;
}
async function removeOlderUnlessPlaying() {
  if (await playingClient()) return;
  for (const name of await olderCaches()) await caches.delete(name);
  await (await caches.open(CACHE)).delete(KEPT_FOR_A_GAME);
}

// A file of this version from one of the caches `older` (older versions'), where its content is
// the same.
async function fromOlder(older, url, sha256) {
  for (const name of older) {
    const response = await caches.match(url, { cacheName: name });
    if (response && response.headers.get(HASH_HEADER) === sha256) return response;
  }
  return null;
}

async function download(url, file, progress) {
  const response = await fetch(url, { cache: 'no-cache' });
  if (!response.ok) throw new Error(url + ': ' + response.status);
  const reader = response.body.getReader();
  const chunks = [];
  let length = 0;
  for (;;) {
    const { done, value } = await reader.read();
    if (done) break;
    chunks.push(value);
    length += value.length;
    progress(length);
  }
  const bytes = new Uint8Array(length);
  let at = 0;
  for (const chunk of chunks) {
    bytes.set(chunk, at);
    at += chunk.length;
  }
  const sha256 = hex(await crypto.subtle.digest('SHA-256', bytes));
  if (sha256 !== file.sha256 || length !== file.size) {
    throw new Error(url + ' is not the file of version ' + BUILD);
  }
  const headers = { 'Content-Type': response.headers.get('Content-Type') || 'application/octet-stream' };
  headers[HASH_HEADER] = sha256;
  return new Response(bytes, { headers: headers });
}

async function keepAll() {
  const cache = await caches.open(CACHE);
  const olderNames = await olderCaches();
  const names = Object.keys(FILES);
  const total = names.reduce(function (sum, name) {
    return sum + (FILES[name].onDemand ? 0 : FILES[name].size);
  }, 0);
  let kept = 0;
  let reported = 0;
  for (const name of names) {
    const url = new URL(name, SCOPE).href;
    const file = FILES[name];
    if (await cache.match(url)) continue;
    const older = await fromOlder(olderNames, url, file.sha256);
    if (file.onDemand) {
      // A language's pictures that an older version kept and that did not change.
      if (older) await cache.put(url, older);
      continue;
    }
    await cache.put(url, older || await download(url, file, function (length) {
      if (kept + length - reported > total / 50) {
        reported = kept + length;
        report(reported, total);
      }
    }));
    kept += file.size;
    report(kept, total);
  }
}

self.addEventListener('install', function (event) { event.waitUntil(keepAll()); });

// A page asks the waiting version to take over, once it has seen that no game of this origin
// runs (no tab holds the game's lock: page.js); the answer goes back on the port it sends.
// skipWaiting is not waited for: the worker activates only once this event has ended.
self.addEventListener('message', function (event) {
  if (event.data !== 'take-over') return;
  self.skipWaiting();
  if (event.ports[0]) event.ports[0].postMessage({ tookOver: true });
});

self.addEventListener('activate', function (event) {
  event.waitUntil((async function () {
    const playing = await playingClient();
    if (playing) {
      await (await caches.open(CACHE)).put(KEPT_FOR_A_GAME, new Response(JSON.stringify({
        client: playing, caches: await olderCaches() })));
    }
    await removeOlderUnlessPlaying();
    await self.clients.claim();
  })());
});

// The page's own files come from this version's cache; anything else from the network. A
// language's pictures come from the cache where it has them, else from the network, joining
// the cache once checked.
self.addEventListener('fetch', function (event) {
  const request = event.request;
  if (request.method !== 'GET' || !request.url.startsWith(SCOPE)) return;
  let name = request.url.slice(SCOPE.length).replace(/[?#].*$/, '');
  if (name === '') name = 'index.html';
  if (!Object.prototype.hasOwnProperty.call(FILES, name)) return;
  const url = new URL(name, SCOPE).href;
  // A page loading with no game playing ends what older versions kept for one.
  if (request.mode === 'navigate') event.waitUntil(removeOlderUnlessPlaying());
  event.respondWith((async function () {
    const cache = await caches.open(CACHE);
    const forAGame = event.clientId ? await keptForAGame(cache) : null;
    if (forAGame && forAGame.client === event.clientId) {
      for (const name of forAGame.caches) {
        const kept = await caches.match(url, { cacheName: name });
        if (kept) return kept;
      }
    }
    const kept = await cache.match(url);
    if (kept) return kept;
    if (!FILES[name].onDemand) return fetch(request);
    try {
      const response = await download(url, FILES[name], function () {});
      await cache.put(url, response.clone());
      return response;
    } catch (error) {
      // Not this version's file (a stale or half-deployed server): given as it is, never kept.
      return fetch(request);
    }
  })());
});
