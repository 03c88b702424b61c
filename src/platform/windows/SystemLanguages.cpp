#include "platform/SystemLanguages.h"

#include <windows.h>

#include <string>
#include <vector>

#include "base/windows/Utf16.h"

namespace platform {

std::vector<std::string> SystemLanguages() {
  ULONG count = 0;
  ULONG size = 0;
  if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &size) || size == 0) {
    return {};
  }
  std::wstring names(size, L'\0');
  if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &size)) return {};
  // The names follow one another, each ended by a zero, the list by one more.
  std::vector<std::string> languages;
  for (size_t at = 0; at < names.size() && names[at] != L'\0';) {
    const size_t end = names.find(L'\0', at);
    languages.push_back(Utf8FromUtf16(names.substr(at, end - at)));
    at = end + 1;
  }
  return languages;
}

}  // namespace platform
