#include "platform/SystemLanguages.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace platform {

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

}  // namespace platform
