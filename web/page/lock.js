// One tab of the browser plays at a time, so that no tab writes over saves another one made.
//
// The tab that plays holds the lock "kelvora" of the Web Locks API, and so does a tab while it
// carries saves out or back. Each holder (the game, a transfer) takes a handle of its own and
// releases only that. Another tab may take the lock over ("Hrát zde", which also ends a lock that
// a closed page left behind, as Safari may keep one across a reload); the holder's tab is then
// told (whenTakenOver) and stops before the new one reads the saves.
const NAME = 'kelvora';
let takenOver = () => {};

// Resolves to a handle ({ release }), or to null where another tab holds the lock; with `steal`
// the lock is taken from whichever tab holds it.
export function takeLock(steal) {
  if (!navigator.locks) return Promise.resolve({ release() {} });
  return new Promise((resolve) => {
    navigator.locks.request(NAME, steal ? { steal: true } : { ifAvailable: true }, (lock) => {
      if (!lock) {
        resolve(null);
        return null;
      }
      return new Promise((release) => { resolve({ release }); });
    }).catch((error) => {
      if (error.name === 'AbortError') takenOver();
    });
  });
}

// `listener` runs when another tab takes a lock this tab holds.
export function whenTakenOver(listener) { takenOver = listener; }

// Whether a tab of the browser plays, or carries saves: one holds the lock.
export async function lockHeld() {
  if (!navigator.locks || !navigator.locks.query) return false;
  try {
    return (await navigator.locks.query()).held.some((lock) => lock.name === NAME);
  } catch (e) {
    return false;
  }
}
