#include "platform/FontFiles.h"

#include <cctype>

#include "base/Files.h"

namespace {

// Suffixes of the Windows code-page variants of a face ("Arial CE" is Arial for code page
// 1250); Windows' font substitutes map them to the face itself.
constexpr const char* kCodePageSuffixes[] = {" CE", " CYR", " Greek", " TUR", " Baltic"};

struct TSubstitute {
  const char* windowsFace;
  const char* family;
};
// Free families drawn to the same metrics as the Windows faces the game asks for.
constexpr TSubstitute kSubstitutes[] = {
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Comic Sans MS", "Comic Neue"},
};

// The free families' files, as the game ships them (the packages' list, cmake/Shipped.cmake).
constexpr platform::TFaceFiles kShippedFamilies[] = {
#include "ShippedFonts.inc"
};

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string_view WithoutCodePageSuffix(std::string_view face) {
  for (std::string_view suffix : kCodePageSuffixes) {
    if (face.size() > suffix.size() &&
        EqualNoCase(face.substr(face.size() - suffix.size()), suffix)) {
      return face.substr(0, face.size() - suffix.size());
    }
  }
  return face;
}

}  // namespace

const char* platform::SubstituteFamily(std::string_view face) {
  for (const TSubstitute& s : kSubstitutes) {
    if (EqualNoCase(face, s.windowsFace)) return s.family;
  }
  return nullptr;
}

std::optional<TFontFile> FindFontFile(std::string_view face, bool bold) {
  const std::string name(WithoutCodePageSuffix(face));
  return platform::FindSystemFontFile(name, platform::SubstituteFamily(name), bold);
}

std::optional<TFontFile> platform::FindFaceIn(const std::string& folder, const TFaceFiles& face,
                                              bool bold) {
  if (folder.empty()) return std::nullopt;
  TFontFile file;
  file.Family = face.family;
  const std::string boldPath = ReadPath(folder + "\\" + face.bold);
  if (bold && FileExists(boldPath)) {
    file.Path = boldPath;
    file.Bold = true;
    return file;
  }
  file.Path = ReadPath(folder + "\\" + face.regular);
  if (!FileExists(file.Path)) return std::nullopt;
  return file;
}

std::optional<TFontFile> platform::FindShippedFontFile(const std::string& folder,
                                                       const char* family, bool bold) {
  const TFaceFiles* shipped = &kShippedFamilies[0];
  for (const TFaceFiles& face : kShippedFamilies) {
    if (family && std::string_view(family) == face.family) shipped = &face;
  }
  return FindFaceIn(folder, *shipped, bold);
}
