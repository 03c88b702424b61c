// Font files for the faces the game names (Windows faces: "Arial CE", "Times New Roman", "Comic
// Sans MS"). How a face is found is the system's business: fontconfig on Linux, the system's
// fonts folder on Windows, with the free families of the same metrics shipped beside the game
// where a face is missing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// A font file picked for a face: the file, the face inside it, and whether that face is bold.
struct TFontFile {
  std::string Path;
  std::string Family;
  int Index = 0;
  bool Bold = false;
};

// The face (regular or bold). Windows code-page suffixes (" CE") are dropped first, and the
// Windows core faces are mapped to their metric-compatible free families where the system has
// not the face itself. Empty when the system offers no file at all.
std::optional<TFontFile> FindFontFile(std::string_view face, bool bold);

namespace platform {

// The free family drawn to the same metrics as a Windows face ("Liberation Sans" for "Arial"),
// or null for a face that has none.
const char* SubstituteFamily(std::string_view face);

// The system's part of FindFontFile: `face` without its code-page suffix, `substitute` its free
// family (or null).
std::optional<TFontFile> FindSystemFontFile(const std::string& face, const char* substitute,
                                            bool bold);

}  // namespace platform
