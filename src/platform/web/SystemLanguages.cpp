#include "platform/SystemLanguages.h"

#include <emscripten.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// The JavaScript of EM_JS is not C++: clang-format would break it.
// clang-format off

// The browser's languages, the most wanted first, separated by commas, into `buffer`.
EM_JS(void, BrowserLanguages, (char* buffer, int size), {
  const list = navigator.languages && navigator.languages.length ? navigator.languages
                                                                 : [navigator.language || ''];
  stringToUTF8(list.join(','), buffer, size);
});

// clang-format on

}  // namespace

namespace platform {

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

}  // namespace platform
