#include "platform/FontFiles.h"

#include <cctype>

#include "base/Files.h"

namespace {

// Suffixes of the Windows code-page variants of a face ("Arial CE" is Arial for code page
// 1250); Windows' font substitutes map them to the face itself.
constexpr const char* kCodePageSuffixes[] = {" CE", " CYR", " Greek", " TUR", " Baltic"};

struct TSubstitute {
  const char* windowsFace;
  const char* family;   // the free family of the same metrics
  const char* letters;  // the shipped family of the same kind that has every letter written
};
// Free families drawn to the same metrics as the Windows faces the game asks for, and the
// families that write the letters a face lacks: Comic Neue, the informal face, has no Cyrillic
// and no Vietnamese, which Andika, a face as friendly and made for readers learning to read, has.
constexpr TSubstitute kSubstitutes[] = {
    {"Arial", "Liberation Sans", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif", "Liberation Serif"},
    {"Comic Sans MS", "Comic Neue", "Andika"},
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

const char* platform::LettersFamily(std::string_view face) {
  face = WithoutCodePageSuffix(face);
  for (const TSubstitute& s : kSubstitutes) {
    if (EqualNoCase(face, s.windowsFace) || EqualNoCase(face, s.family)) return s.letters;
  }
  return nullptr;
}

const platform::TFaceFiles* platform::ShippedFamily(std::string_view family) {
  for (const TFaceFiles& face : kShippedFamilies) {
    if (family == face.family) return &face;
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
  const TFaceFiles* shipped = family ? ShippedFamily(family) : nullptr;
  return FindFaceIn(folder, shipped ? *shipped : kShippedFamilies[0], bold);
}
