// The system in a web page. The game's loop blocks as it does on the desktop; every sleep and
// every frame shown hands control back to the page (Asyncify unwinds the game's stack and
// resumes it later), so the page stays responsive and draws what the game presented.
#include "platform/System.h"

#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "base/Files.h"
#include "platform/web/Page.h"

namespace {

// The JavaScript of EM_JS is not C++: clang-format would break it.
// clang-format off

// Resolves at the page's next animation frame, the moment the browser shows what was drawn. The
// page keeps when the last frames began, for its frame-time report.
EM_ASYNC_JS(void, NextAnimationFrame, (), {
  const starts = Module.frameStarts || (Module.frameStarts = []);
  if (starts.length >= 3600) starts.splice(0, 1800);
  await new Promise(function(resolve) { requestAnimationFrame(resolve); });
  starts.push(performance.now());
});

// Mounts the browser's storage at `folder` and reads what an earlier visit kept there.
EM_ASYNC_JS(int, MountStorage, (const char* folder), {
  const path = UTF8ToString(folder);
  try {
    FS.mkdirTree(path);
    FS.mount(IDBFS, {}, path);
  } catch (e) {
    console.warn('Kelvora: no storage for saved games:', e);
    return 0;
  }
  return await new Promise(function(resolve) {
    FS.syncfs(true, function(error) {
      if (error) console.warn('Kelvora: saved games could not be read:', error);
      resolve(error ? 0 : 1);
    });
  });
});

// The page's handler of the game's end (page.js shows "Hrát znovu").
EM_JS(void, TellPageTheGameEnded, (int status), {
  if (Module.onGameEnded) Module.onGameEnded(status);
});

// clang-format on

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

bool WaitForDisplayFrame() {
  NextAnimationFrame();
  return true;
}

void EnterGameFolder() {
  // This Emscripten starts with a creation mask of 0777, which would give every new file no
  // permission at all, so that the game could not read back what it wrote.
  ::umask(022);
  // Only Data is kept in the browser's storage: the settings and saved games are there, while
  // the bitmaps the game unpacks beside it for a moment stay in memory and are never stored.
  const std::string data = std::string(kPlayerFolder) + "/Data";
  MountStorage(data.c_str());
  if (::chdir(kPlayerFolder) == 0) SetInstalledFolder(kGameFolder);
}

void EndProgram(int status) { TellPageTheGameEnded(status); }

}  // namespace platform
