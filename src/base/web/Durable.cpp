// In a web page the files live in memory; the player's Data folder is kept in the browser's
// storage (IndexedDB) file by file (Storage.js). A file written there is put into the storage
// before it replaces the page's file, and a file deleted there leaves the storage before the
// page: the game goes on once the browser has committed the change, or knows that it refused,
// and the page's files then stay as the storage holds them.
#include <emscripten.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "base/FilesSystem.h"

namespace {

// clang-format off
EM_ASYNC_JS(int, StoreFile, (const char* temporary, const char* path), {
  return (await Module['kelvoraStorage'].put(UTF8ToString(temporary), UTF8ToString(path))) ? 1 : 0;
});
EM_ASYNC_JS(int, ForgetFile, (const char* path), {
  return (await Module['kelvoraStorage'].remove(UTF8ToString(path))) ? 1 : 0;
});
// clang-format on

}  // namespace

bool ReplaceDurably(const std::string& temporary, const std::string& path) {
  return StoreFile(temporary.c_str(), path.c_str()) != 0 &&
         std::rename(temporary.c_str(), path.c_str()) == 0;
}

bool RemoveDurably(const std::string& path) {
  if (ForgetFile(path.c_str()) == 0) return false;
  return ::unlink(path.c_str()) == 0 || errno == ENOENT || errno == ENOTDIR;
}
