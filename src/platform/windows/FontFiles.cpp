// Font files on Windows: the face itself from the system's fonts folder, or else its free family
// from the Fonts folder shipped beside the game (or in the folder the game runs in).
#include <windows.h>

#include <string>

#include "base/Files.h"
#include "base/windows/Utf16.h"
#include "platform/FontFiles.h"

namespace {

// The files of the Windows faces the game names, as Windows installs them.
constexpr platform::TFaceFiles kSystemFaces[] = {
    {"Arial", "arial.ttf", "arialbd.ttf"},
    {"Times New Roman", "times.ttf", "timesbd.ttf"},
    {"Comic Sans MS", "comic.ttf", "comicbd.ttf"},
};

std::string SystemFontsFolder() {
  wchar_t folder[MAX_PATH];
  const UINT n = GetWindowsDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return Utf8FromUtf16(folder) + "\\Fonts";
}

std::string ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  const std::string program = Utf8FromUtf16(std::wstring(path, n));
  return program.substr(0, program.find_last_of('\\'));
}

}  // namespace

std::optional<TFontFile> platform::FindSystemFontFile(const std::string& name,
                                                      const char* substitute, bool bold) {
  for (const TFaceFiles& face : kSystemFaces) {
    if (name != face.family) continue;
    if (auto file = FindFaceIn(SystemFontsFolder(), face, bold)) return file;
  }
  for (const std::string& folder : {ProgramFolder() + "\\Fonts", std::string("Fonts")}) {
    if (auto file = FindShippedFontFile(folder, substitute ? substitute : name.c_str(), bold)) {
      return file;
    }
  }
  return std::nullopt;
}
