// What the page's tests share: the page served from a folder on 127.0.0.1 by a server of the
// test's own, Debian's Chromium started headless on a profile of its own, and the list of checks.
import { chromium } from 'playwright-core';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.png': 'image/png', '.data': 'application/octet-stream', '.css': 'text/css',
  '.webmanifest': 'application/manifest+json',
};

// Serves the folder `dir` on a free port of 127.0.0.1. The server's `dir` may be changed (another
// build takes the page's place); it answers 404 for the file names in `failing`, keeps the names
// asked for in `log` and the bytes it sent in `bytes`, and can be stopped and started again on
// its port (a page offline). `headers` are sent with every file.
export async function serve(dir, headers = {}) {
  const sockets = new Set();
  const site = { dir, failing: new Set(), log: [], bytes: 0 };
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://page').pathname);
    const file = path.join(site.dir, name === '/' ? 'index.html' : name);
    site.log.push(path.basename(file));
    if (!file.startsWith(site.dir + path.sep) || site.failing.has(path.basename(file)) ||
        !fs.statSync(file, { throwIfNoEntry: false })?.isFile()) {
      response.writeHead(404).end();
      return;
    }
    const body = fs.readFileSync(file);
    site.bytes += body.length;
    response.writeHead(200, {
      'Content-Type': types[path.extname(file)] || 'application/octet-stream', ...headers });
    response.end(body);
  });
  server.on('connection', socket => {
    sockets.add(socket);
    socket.on('close', () => sockets.delete(socket));
  });
  await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
  const port = server.address().port;
  site.url = `http://127.0.0.1:${port}/`;
  site.stop = () => new Promise(resolve => {
    server.close(resolve);
    for (const socket of sockets) socket.destroy();
  });
  site.start = () => new Promise(resolve => server.listen(port, '127.0.0.1', resolve));
  // What the browser asked the server for while `action` ran, and how many bytes it got.
  site.served = async action => {
    const from = site.log.length, bytes = site.bytes;
    await action();
    return { names: site.log.slice(from), bytes: site.bytes - bytes };
  };
  return site;
}

// Chromium as this machine runs it: headless, as root without its sandbox, with none of its own
// connections to the network (which is closed here).
export const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';
export const chromiumArgs = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// A browser on a fresh profile of its own, with the context options given (viewport, touch).
// It asks for Czech, the game's own language, unless the options ask for another (`locale`):
// the game speaks the browser's language where it has it.
// The profiles go as the test ends, when no browser writes into them any more.
const profiles = [];
process.on('exit', () => {
  for (const profile of profiles) fs.rmSync(profile, { recursive: true, force: true });
});
export function launch(options) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'kelvora-chromium-'));
  profiles.push(profile);
  return chromium.launchPersistentContext(profile, {
    executablePath: chromiumPath, headless: true, args: chromiumArgs, locale: 'cs-CZ', ...options,
  });
}

// Each check is printed; the failed ones are kept for the verdict.
export function checks() {
  const failures = [];
  const check = (condition, what) => {
    console.log(`${condition ? 'ok  ' : 'FAIL'} ${what}`);
    if (!condition) failures.push(what);
  };
  return { check, failures };
}
