// In a web page the files live in memory; the player's Data folder is kept in the browser's
// storage (IndexedDB) file by file (Storage.js). After a write the folder's changed files are
// stored at once, and the game goes on once the browser has committed them, or knows that it
// refused.
#include <emscripten.h>

#include "base/FilesSystem.h"

namespace {

// clang-format off
EM_ASYNC_JS(int, StoreFolder, (const char* folder), {
  let path;
  try {
    path = FS.lookupPath(UTF8ToString(folder)).path;
  } catch (error) {
    return 0;
  }
  return (await Module['kelvoraStorage'].store(path)) ? 1 : 0;
});
// clang-format on

}  // namespace

bool MakeDurable(const std::string& folder) { return StoreFolder(folder.c_str()) != 0; }
