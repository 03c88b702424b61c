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

// Resolves at the page's next animation frame, the moment the browser shows what was drawn.
EM_ASYNC_JS(void, NextAnimationFrame, (),
            { await new Promise(resolve = > requestAnimationFrame(resolve)); });

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
  return await new Promise(
      resolve = > FS.syncfs(
                      true, error = > {
                        if (error) console.warn('Kelvora: saved games could not be read:', error);
                        resolve(error ? 0 : 1);
                      }));
});

}  // namespace

namespace platform {

uint64_t MonotonicNanoseconds() { return uint64_t(emscripten_get_now() * 1e6); }

// The page's timers count whole milliseconds; a sleep always yields, even a short one.
void SleepUntil(uint64_t momentNs) {
  const uint64_t now = MonotonicNanoseconds();
  emscripten_sleep(momentNs > now ? unsigned((momentNs - now + 999'999) / 1'000'000) : 0);
}

bool HasGraphicsDevice() { return true; }

bool WaitForDisplayFrame() {
  NextAnimationFrame();
  return true;
}

void EnterGameFolder() {
  MountStorage(kPlayerFolder);
  const std::string data = std::string(kPlayerFolder) + "/Data";
  ::mkdir(data.c_str(), 0755);
  if (::chdir(kPlayerFolder) == 0) SetInstalledFolder(kGameFolder);
}

}  // namespace platform
