#include "platform/System.h"

#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace platform {

uint64_t MonotonicNanoseconds() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return uint64_t(ts.tv_sec) * 1'000'000'000 + uint64_t(ts.tv_nsec);
}

void SleepUntil(uint64_t momentNs) {
  timespec ts;
  ts.tv_sec = static_cast<time_t>(momentNs / 1'000'000'000);
  ts.tv_nsec = static_cast<long>(momentNs % 1'000'000'000);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) != 0) {
  }
}

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

bool PointerShown() { return true; }

bool HasConsole() { return true; }

bool FetchInstalledFile(const std::string&) { return false; }

std::vector<std::string> SystemLanguages() {
  std::string locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) {
      locale = value;
      break;
    }
  }
  const std::string plain = locale.substr(0, locale.find('.'));
  if (plain.empty() || plain == "C" || plain == "POSIX") return {};
  std::vector<std::string> languages;
  if (const char* list = std::getenv("LANGUAGE")) {
    std::istringstream entries(list);
    for (std::string entry; std::getline(entries, entry, ':');) {
      if (!entry.empty()) languages.push_back(entry);
    }
  }
  languages.push_back(locale);
  return languages;
}

void EnterGameFolder() {}

void EndProgram(int) {}

}  // namespace platform
