// The page's service worker: keeps every file of one version of the page in a cache of its own
// and serves the page from it, so that after one visit the game loads and plays without the
// network. The build writes VERSION, CACHE (the version and a hash of the files' contents) and
// FILES (each file's SHA-256 and size) above this text (tools/web/ServiceWorker.cmake).
//
// A new version's worker gets its whole set before it may take over: a file whose content an
// older version's cache already holds is copied from there, every other one is downloaded and
// checked against its hash (a file that changed on the server meanwhile fails the install, to be
// tried again later). It then waits; the page lets it take over only while no game runs, and
// loads again from it (page.js). Taking over, it removes the older versions' caches.
const SCOPE = new URL('./', self.location).href;
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

// A file of this version from an older version's cache, where its content is the same.
async function fromOlder(url, sha256) {
  for (const name of await caches.keys()) {
    if (!name.startsWith('kelvora-') || name === CACHE) continue;
    const response = await (await caches.open(name)).match(url);
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
  if (sha256 !== file.sha256) throw new Error(url + ' is not the file of version ' + CACHE);
  const headers = { 'Content-Type': response.headers.get('Content-Type') || 'application/octet-stream' };
  headers[HASH_HEADER] = sha256;
  return new Response(bytes, { headers: headers });
}

async function keepAll() {
  const cache = await caches.open(CACHE);
  const names = Object.keys(FILES);
  const total = names.reduce(function (sum, name) { return sum + FILES[name].size; }, 0);
  let kept = 0;
  let reported = 0;
  for (const name of names) {
    const url = new URL(name, SCOPE).href;
    const file = FILES[name];
    if (!await cache.match(url)) {
      const response = await fromOlder(url, file.sha256) ||
        await download(url, file, function (length) {
          if (kept + length - reported > total / 50) {
            reported = kept + length;
            report(reported, total);
          }
        });
      await cache.put(url, response);
    }
    kept += file.size;
    report(kept, total);
  }
}

self.addEventListener('install', function (event) { event.waitUntil(keepAll()); });

self.addEventListener('message', function (event) {
  if (event.data === 'take-over') self.skipWaiting();
});

self.addEventListener('activate', function (event) {
  event.waitUntil((async function () {
    for (const name of await caches.keys()) {
      if (name.startsWith('kelvora-') && name !== CACHE) await caches.delete(name);
    }
    await self.clients.claim();
  })());
});

// The page's own files come from this version's cache; anything else from the network. A
// language's pictures, which the game fetches only when it speaks the language, join this
// version's cache as they come, so that the language plays offline too.
const LANGUAGE_PICTURES = /^Data\/Grafika-[A-Za-z0-9_-]+\.dat$/;
self.addEventListener('fetch', function (event) {
  const request = event.request;
  if (request.method !== 'GET' || !request.url.startsWith(SCOPE)) return;
  let name = request.url.slice(SCOPE.length).replace(/[?#].*$/, '');
  if (name === '') name = 'index.html';
  if (LANGUAGE_PICTURES.test(name)) {
    event.respondWith((async function () {
      const cache = await caches.open(CACHE);
      const kept = await cache.match(request.url);
      if (kept) return kept;
      const response = await fetch(request);
      if (response.ok) await cache.put(request.url, response.clone());
      return response;
    })());
    return;
  }
  if (!Object.prototype.hasOwnProperty.call(FILES, name)) return;
  event.respondWith((async function () {
    const cache = await caches.open(CACHE);
    return await cache.match(new URL(name, SCOPE).href) || fetch(request);
  })());
});
