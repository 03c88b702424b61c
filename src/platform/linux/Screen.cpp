#include "platform/Screen.h"

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace platform {

// A graphics driver shows itself as a card or render node that this user may open.
bool HasGraphicsDevice() {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec)) {
    const std::string name = entry.path().filename().string();
    if ((name.rfind("card", 0) == 0 || name.rfind("renderD", 0) == 0) &&
        ::access(entry.path().c_str(), R_OK | W_OK) == 0) {
      return true;
    }
  }
  return false;
}

bool SystemOwnsFullScreen() { return false; }

bool ShowAtDisplayFrame(void (*)(void*), void*) { return false; }

}  // namespace platform
