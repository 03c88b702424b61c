// The player's Data folder in the browser's storage (IndexedDB), file by file.
//
// At the start the stored files are read into the page's file system. Each file the game writes
// there is put into the store before it replaces the page's file, and each file it deletes is
// removed from the store before it leaves the page (Durable.cpp): where the browser refuses, the
// page's file stays as the store holds it, so that a save the player was told failed is nowhere.
// A file the game did not write (one written by another tab, or by a newer page) is never
// touched, and nothing is stored or removed at all when the first read failed: the tab would
// write over saves it could not read. One put or removal is one transaction, so a file is stored
// whole or not at all, also when the page is closed in the middle of it.
//
// The database and its records are the ones Emscripten's IDBFS uses (a database named by the
// folder, the store FILE_DATA, a record { timestamp, mode, contents } keyed by the full path),
// so the saves of the page's earlier versions are read as they are.
//
// Included into kelvora.js (--pre-js); the file module's web part calls it (Durable.cpp), the
// platform's folders read with it (Folders.cpp), and the page stops it when another tab takes
// the game over (page/page.js).
Module['kelvoraStorage'] = (function () {
  'use strict';
  const STORE = 'FILE_DATA';
  const VERSION = 21;
  let folder = null;    // the stored folder, the player's Data (platform/web/Folders.cpp)
  let database = null;  // its open database
  let readable = false; // the stored files were read: only then may the tab change the store
  let stopped = false;  // another tab plays now: this one stores nothing more

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
      // The page's copy becomes the store's: a file another tab removed since an earlier read
      // is gone here too.
      for (const name of FS.readdir(folder)) {
        const file = folder + '/' + name;
        if (FS.isFile(FS.stat(file).mode)) FS.unlink(file);
      }
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
      });
      readable = true;
    } catch (error) {
      console.warn('Kelvora: the saved games could not be read from the browser\'s storage:',
        error);
      readable = false;
    }
    return readable;
  }

  // The full path of `path`, whose file may not exist yet (its folder does), where it is a file
  // of the player's folder; null for a file elsewhere, which is not kept.
  function keptPath(path) {
    const slash = path.lastIndexOf('/');
    const at = FS.lookupPath(slash < 0 ? '.' : path.slice(0, slash) || '/').path;
    return at === folder ? at + '/' + path.slice(slash + 1) : null;
  }

  // Runs `change` on the store in one transaction. True once the browser has committed it, false
  // when it refused (a full quota aborts the transaction) or may not be written (the first read
  // failed, another tab plays).
  async function changeStore(change) {
    if (!readable || stopped) return false;
    try {
      const transaction = database.transaction([STORE], 'readwrite');
      const done = committed(transaction);
      change(transaction.objectStore(STORE));
      await done;
      return true;
    } catch (error) {
      console.warn('Kelvora: the browser did not store the saved games:', error);
      return false;
    }
  }

  // Stores the file `temporary` (written whole) as the file `path` of the player's folder, before
  // the file module puts it in its place; a file elsewhere is not kept. Only the file the game
  // writes is stored: a file of the folder that this tab never wrote stays as it is stored.
  async function put(temporary, path) {
    const file = keptPath(path);
    if (!file) return true;
    const node = FS.lookupPath(temporary).node;
    const contents = FS.readFile(temporary);
    return changeStore(function (objects) {
      objects.put({ timestamp: new Date(node.timestamp), mode: node.mode, contents: contents },
        file);
    });
  }

  // Removes the file `path` of the player's folder from the store, before the file module
  // deletes it.
  async function remove(path) {
    const file = keptPath(path);
    if (!file) return true;
    return changeStore(function (objects) { objects.delete(file); });
  }

  return {
    load: load,
    put: put,
    remove: remove,
    // Another tab took the game over: from now on every write of this one fails.
    stop: function () { stopped = true; },
    readable: function () { return readable; },
  };
})();
