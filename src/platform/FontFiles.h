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

// The shipped family that writes every letter of the game's languages in the manner of `face` (a
// Windows face or its free family): where a face lacks a letter of a text, this one draws the
// text. Null for a face that has none.
const char* LettersFamily(std::string_view face);

// The system's part of FindFontFile: `face` without its code-page suffix, `substitute` its free
// family (or null).
std::optional<TFontFile> FindSystemFontFile(const std::string& face, const char* substitute,
                                            bool bold);

// The files of one family in a folder of font files: its regular and its bold file.
struct TFaceFiles {
  const char* family;
  const char* regular;
  const char* bold;
};

// The files of a family the game ships (cmake/Shipped.cmake), or null.
const TFaceFiles* ShippedFamily(std::string_view family);

// The family's file in `folder`: the bold file for bold where there is one, else the regular.
std::optional<TFontFile> FindFaceIn(const std::string& folder, const TFaceFiles& face, bool bold);

// Where the system has no fonts of these faces (Windows without one of them, the browser), the
// game ships the free families in a Fonts folder: `family` from `folder`, or Liberation Sans for
// a family it does not ship (as Windows falls back to Arial).
std::optional<TFontFile> FindShippedFontFile(const std::string& folder, const char* family,
                                             bool bold);

}  // namespace platform
