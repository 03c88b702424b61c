// The player's Data folder in the browser's storage (IndexedDB), file by file.
//
// At the start the stored files are read into the page's file system; after every write the
// files of the folder that changed since this tab last read or stored them are put, each alone,
// and the files this tab read or stored and has since deleted are removed. A file the tab never
// saw (written by another tab, or by a newer page) is never touched, and nothing is stored or
// removed at all when the first read failed: the tab would write over saves it could not read.
// One put or removal set is one transaction, so a file is stored whole or not at all, also when
// the page is closed in the middle of it.
//
// The database and its records are the ones Emscripten's IDBFS uses (a database named by the
// folder, the store FILE_DATA, a record { timestamp, mode, contents } keyed by the full path),
// so the saves of the page's earlier versions are read as they are.
//
// Included into kelvora.js (--pre-js); the file module's web part calls it (Durable.cpp), and the
// page stops it when another tab takes the game over (page.js).
Module['kelvoraStorage'] = (function () {
  'use strict';
  const STORE = 'FILE_DATA';
  const VERSION = 21;
  let folder = null;    // the stored folder, '/player/Data'
  let database = null;  // its open database
  let readable = false; // the stored files were read: only then may the tab change the store
  let stopped = false;  // another tab plays now: this one stores nothing more
  const known = new Map();  // path -> { node, timestamp, size } as last read or stored

  function opened(name) {
    return new Promise(function (resolve, reject) {
      const request = indexedDB.open(name, VERSION);
      request.onupgradeneeded = function () {
        const db = request.result;
        const store = db.objectStoreNames.contains(STORE)
          ? request.transaction.objectStore(STORE) : db.createObjectStore(STORE);
        if (!store.indexNames.contains('timestamp')) {
          store.createIndex('timestamp', 'timestamp', { unique: false });
        }
      };
      request.onsuccess = function () { resolve(request.result); };
      request.onerror = function () { reject(request.error); };
      request.onblocked = function () { reject(new Error('the database is blocked')); };
    });
  }

  // Resolves when the transaction has been committed, rejects when it failed or was aborted
  // (a full quota aborts it).
  function committed(transaction) {
    return new Promise(function (resolve, reject) {
      transaction.oncomplete = function () { resolve(); };
      transaction.onerror = function () { reject(transaction.error); };
      transaction.onabort = function () { reject(transaction.error || new Error('aborted')); };
    });
  }

  function remember(path) {
    const node = FS.lookupPath(path).node;
    known.set(path, { node: node, timestamp: node.timestamp, size: node.usedBytes });
  }

  function changed(path) {
    const node = FS.lookupPath(path).node;
    const was = known.get(path);
    return !was || was.node !== node || was.timestamp !== node.timestamp ||
      was.size !== node.usedBytes;
  }

  // Reads the stored files of `path` into the page's file system. False when the storage could
  // not be opened or read; the tab then never changes the store.
  async function load(path) {
    folder = path;
    FS.mkdirTree(folder);
    try {
      database = await opened(folder);
      const transaction = database.transaction([STORE], 'readonly');
      const store = transaction.objectStore(STORE);
      const [keys, values] = await Promise.all([store.getAllKeys(), store.getAll()].map(
        function (request) {
          return new Promise(function (resolve, reject) {
            request.onsuccess = function () { resolve(request.result); };
            request.onerror = function () { reject(request.error); };
          });
        }));
      keys.forEach(function (key, i) {
        const record = values[i];
        const name = String(key).slice(folder.length + 1);
        // The files of the folder itself; IDBFS also kept the folder's own record.
        if (!String(key).startsWith(folder + '/') || name.includes('/') || !record ||
            !FS.isFile(record.mode) || !(record.contents instanceof Uint8Array)) {
          return;
        }
        FS.writeFile(key, record.contents);
        const time = record.timestamp instanceof Date ? record.timestamp.getTime() : Date.now();
        FS.utime(key, time, time);
        remember(key);
      });
      readable = true;
    } catch (error) {
      console.warn('Kelvora: the saved games could not be read from the browser\'s storage:',
        error);
      readable = false;
    }
    return readable;
  }

  // Stores what changed in `path` since the last call, removes what this tab deleted there.
  // True when the browser has committed it (or nothing needed storing), false when it refused
  // or may not be written (the first read failed, another tab plays).
  async function store(path) {
    if (path !== folder) return true;  // only the player's Data folder is kept
    if (!readable || stopped) return false;
    const put = [];
    const removed = [];
    FS.readdir(folder).forEach(function (name) {
      // Names starting with a dot are the file module's temporary files.
      if (name.startsWith('.')) return;
      const file = folder + '/' + name;
      if (FS.isFile(FS.stat(file).mode) && changed(file)) put.push(file);
    });
    known.forEach(function (was, file) {
      if (!FS.analyzePath(file).exists) removed.push(file);
    });
    if (!put.length && !removed.length) return true;
    try {
      const transaction = database.transaction([STORE], 'readwrite');
      const done = committed(transaction);
      const objects = transaction.objectStore(STORE);
      put.forEach(function (file) {
        const node = FS.lookupPath(file).node;
        objects.put({ timestamp: new Date(node.timestamp), mode: node.mode,
          contents: FS.readFile(file) }, file);
      });
      removed.forEach(function (file) { objects.delete(file); });
      await done;
    } catch (error) {
      console.warn('Kelvora: the browser did not store the saved games:', error);
      return false;
    }
    put.forEach(remember);
    removed.forEach(function (file) { known.delete(file); });
    return true;
  }

  return {
    load: load,
    store: store,
    // Another tab took the game over: from now on every write of this one fails.
    stop: function () { stopped = true; },
    readable: function () { return readable; },
    folder: function () { return folder; },
  };
})();
