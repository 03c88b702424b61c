// In a web page the files live in memory; the player's Data folder is mounted on the browser's
// storage (IndexedDB), which takes them only when the page's file system is synced. A written
// file is synced at once, and the game goes on once the browser has stored it.
#include <emscripten.h>

#include "base/FilesSystem.h"

namespace {

// clang-format off
EM_ASYNC_JS(void, SyncStorage, (), {
  await new Promise(function(resolve) {
    FS.syncfs(false, function(error) {
      if (error) console.warn('Kelvora: the browser did not store the file:', error);
      resolve();
    });
  });
});
// clang-format on

}  // namespace

bool MakeDurable(const std::string&) {
  SyncStorage();
  return true;
}
