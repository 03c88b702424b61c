// The game's folders in a web page: the player's, kept in the browser's storage, and the files
// the page ships, some of which it fetches only when they are needed.
#include "platform/Folders.h"

#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "base/Files.h"
#include "platform/web/Page.h"

namespace {

// The JavaScript of EM_JS is not C++: clang-format would break it.
// clang-format off

// Reads what earlier visits kept of `folder` in the browser's storage (Storage.js). When that
// fails the page tells the player, who may reload or play on without saving; the game's writes
// to the folder then fail, so that nothing it could not read is written over.
EM_ASYNC_JS(void, LoadStoredFolder, (const char* folder), {
  if (await Module['kelvoraStorage'].load(UTF8ToString(folder))) return;
  if (Module['onStorageUnreadable']) await Module['onStorageUnreadable']();
});

// Fetches the page's file `url` (relative to the page) into the file `path` of the page's file
// system; 0 where the server or the network did not give it whole.
EM_ASYNC_JS(int, FetchPageFile, (const char* url, const char* path), {
  try {
    const response = await fetch(UTF8ToString(url));
    if (!response.ok) return 0;
    const bytes = new Uint8Array(await response.arrayBuffer());
    FS.writeFile(UTF8ToString(path), bytes);
    return 1;
  } catch (e) {
    return 0;
  }
});

// clang-format on

}  // namespace

namespace platform {

void EnterGameFolder() {
  // This Emscripten starts with a creation mask of 0777, which would give every new file no
  // permission at all, so that the game could not read back what it wrote.
  ::umask(022);
  // Only Data is kept in the browser's storage: the settings and saved games are there, while
  // the bitmaps the game unpacks beside it for a moment stay in memory and are never stored.
  const std::string data = std::string(kPlayerFolder) + "/Data";
  LoadStoredFolder(data.c_str());
  if (::chdir(kPlayerFolder) == 0) SetInstalledFolder(kGameFolder);
}

// The page ships the archives of every language's pictures beside it, not in the package of the
// game's files: a visit fetches only those of the languages it speaks.
bool FetchInstalledFile(const std::string& path) {
  std::string url = path;
  std::replace(url.begin(), url.end(), '\\', '/');
  const std::string file = std::string(kGameFolder) + "/" + url;
  struct stat info;
  if (::stat(file.c_str(), &info) == 0) return true;
  return FetchPageFile(url.c_str(), file.c_str()) != 0;
}

}  // namespace platform
