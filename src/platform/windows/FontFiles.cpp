// Font files on Windows: the face itself from the system's fonts folder, or else its free family
// from the Fonts folder shipped beside the game (or in the folder the game runs in).
#include <windows.h>

#include <string>

#include "base/Files.h"
#include "base/windows/Utf16.h"
#include "platform/FontFiles.h"

namespace {

struct TFaceFiles {
  const char* family;
  const char* regular;
  const char* bold;
};
// The files of the Windows faces the game names, as Windows installs them.
constexpr TFaceFiles kSystemFaces[] = {
    {"Arial", "arial.ttf", "arialbd.ttf"},
    {"Times New Roman", "times.ttf", "timesbd.ttf"},
    {"Comic Sans MS", "comic.ttf", "comicbd.ttf"},
};
// The free families of the same metrics, shipped in the game's Fonts folder.
constexpr TFaceFiles kShippedFamilies[] = {
    {"Liberation Sans", "LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf"},
    {"Liberation Serif", "LiberationSerif-Regular.ttf", "LiberationSerif-Bold.ttf"},
    {"Comic Neue", "ComicNeue-Regular.otf", "ComicNeue-Bold.otf"},
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

// The face's file in `folder`: the bold file for bold where there is one, else the regular.
std::optional<TFontFile> FindIn(const std::string& folder, const TFaceFiles& face, bool bold) {
  if (folder.empty()) return std::nullopt;
  TFontFile file;
  file.Family = face.family;
  if (bold && FileExists(folder + "\\" + face.bold)) {
    file.Path = folder + "\\" + face.bold;
    file.Bold = true;
    return file;
  }
  if (!FileExists(folder + "\\" + face.regular)) return std::nullopt;
  file.Path = folder + "\\" + face.regular;
  return file;
}

template <size_t N>
const TFaceFiles* Named(const TFaceFiles (&faces)[N], std::string_view family) {
  for (const TFaceFiles& face : faces) {
    if (family == face.family) return &face;
  }
  return nullptr;
}

}  // namespace

std::optional<TFontFile> platform::FindSystemFontFile(const std::string& name,
                                                      const char* substitute, bool bold) {
  if (const TFaceFiles* face = Named(kSystemFaces, name)) {
    if (auto file = FindIn(SystemFontsFolder(), *face, bold)) return file;
  }
  const TFaceFiles* shipped = Named(kShippedFamilies, substitute ? substitute : name);
  if (!shipped) shipped = &kShippedFamilies[0];  // an unknown face: Windows falls back to Arial
  for (const std::string& folder : {ProgramFolder() + "\\Fonts", std::string("Fonts")}) {
    if (auto file = FindIn(folder, *shipped, bold)) return file;
  }
  return std::nullopt;
}
