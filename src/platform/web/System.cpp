// The system in a web page. The game's loop blocks as it does on the desktop; every sleep and
// every frame shown hands control back to the page (Asyncify unwinds the game's stack and
// resumes it later), so the page stays responsive and draws what the game presented.
#include "platform/System.h"

#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "base/Files.h"
#include "platform/web/Page.h"

namespace {

// A function given to the page to call, named by a type: EM_JS reads each parameter's last word.
using TShow = void (*)(void*);

// The JavaScript of EM_JS is not C++: clang-format would break it.
// clang-format off

// Calls `show(context)` in the page's next animation frame, where what it draws goes into the
// frame the browser presents next, and resolves in a task after that frame's rendering: the game
// works on its next frame between the browser's frames, not inside one, which would make the
// browser wait for it before presenting. The page keeps the times of the last frames, for its
// frame-time report: each frame's own time, which the browser gives its animation callbacks,
// not the moment this one ran, which a busy or slowed page reaches later by a varying amount.
EM_ASYNC_JS(void, ShowAtNextAnimationFrame, (TShow show, void* context), {
  // A tab whose game another tab took over stays still at its next frame (page.js).
  if (Module['kelvoraHalted']) await new Promise(function() {});
  const starts = Module.frameStarts || (Module.frameStarts = []);
  if (starts.length >= 3600) starts.splice(0, 1800);
  if (!Module.afterFrame) {
    Module.afterFrame = new MessageChannel();
    Module.afterFrame.port1.onmessage = function() { Module.afterFrame.resume(); };
  }
  await new Promise(function(resolve) {
    Module.afterFrame.resume = resolve;
    requestAnimationFrame(function(time) {
      starts.push(time);
      wasmTable.get(show)(context);
      Module.afterFrame.port2.postMessage(0);
    });
  });
});

// Reads what earlier visits kept of `folder` in the browser's storage (Storage.js). When that
// fails the page tells the player, who may reload or play on without saving; the game's writes
// to the folder then fail, so that nothing it could not read is written over.
EM_ASYNC_JS(void, LoadStoredFolder, (const char* folder), {
  if (await Module['kelvoraStorage'].load(UTF8ToString(folder))) return;
  if (Module['onStorageUnreadable']) await Module['onStorageUnreadable']();
});

// The page's handler of the game's end (page.js shows "Hrát znovu").
EM_JS(void, TellPageTheGameEnded, (int status), {
  if (Module.onGameEnded) Module.onGameEnded(status);
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

// The browser's languages, the most wanted first, separated by commas, into `buffer`.
EM_JS(void, BrowserLanguages, (char* buffer, int size), {
  const list = navigator.languages && navigator.languages.length ? navigator.languages
                                                                 : [navigator.language || ''];
  stringToUTF8(list.join(','), buffer, size);
});

// clang-format on

// What the page asked to run after the next frame (AfterNextFrame), or null.
void (*afterFrame)() = nullptr;

}  // namespace

namespace platform {

uint64_t MonotonicNanoseconds() { return uint64_t(emscripten_get_now() * 1e6); }

// The page's timers count whole milliseconds; a sleep always yields, even a short one.
void SleepUntil(uint64_t momentNs) {
  const uint64_t now = MonotonicNanoseconds();
  emscripten_sleep(momentNs > now ? unsigned((momentNs - now + 999'999) / 1'000'000) : 0);
}

bool HasGraphicsDevice() { return true; }

bool SystemOwnsFullScreen() { return true; }

bool HasConsole() { return true; }

bool ShowAtDisplayFrame(void (*show)(void*), void* context) {
  ShowAtNextAnimationFrame(show, context);
  if (void (*work)() = std::exchange(afterFrame, nullptr)) work();
  return true;
}

void AfterNextFrame(void (*work)()) { afterFrame = work; }

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

std::vector<std::string> SystemLanguages() {
  char buffer[512] = {};
  BrowserLanguages(buffer, sizeof buffer);
  std::vector<std::string> languages;
  std::istringstream entries(buffer);
  for (std::string entry; std::getline(entries, entry, ',');) {
    if (!entry.empty()) languages.push_back(entry);
  }
  return languages;
}

void EndProgram(int status) { TellPageTheGameEnded(status); }

}  // namespace platform
