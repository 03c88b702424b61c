// Fonts: face resolution through fontconfig, cell metrics from the font's OS/2 table (read with
// FreeType), and the SDL_ttf font opened at the matching size.
#include "gfx/Font.h"

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <strings.h>

#include <algorithm>
#include <cmath>

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

unsigned lastSerial = 0;

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
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

const char* SubstituteFamily(std::string_view face) {
  for (const TSubstitute& s : kSubstitutes) {
    if (EqualNoCase(face, s.windowsFace)) return s.family;
  }
  return nullptr;
}

// The vertical metrics that Windows sizes and places a TrueType font by.
struct TCellMetrics {
  int unitsPerEm = 0;
  int winAscent = 0;
  int winDescent = 0;
};

std::optional<TCellMetrics> ReadCellMetrics(const TFontFile& file) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return std::nullopt;
  std::optional<TCellMetrics> metrics;
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.Path.c_str(), file.Index, &face) == 0) {
    TCellMetrics m;
    m.unitsPerEm = face->units_per_EM;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
      m.winAscent = os2->usWinAscent;
      m.winDescent = os2->usWinDescent;
    } else {
      // No OS/2 table: the horizontal header's extent stands in for it.
      m.winAscent = face->ascender;
      m.winDescent = -face->descender;
    }
    if (m.unitsPerEm > 0 && m.winAscent + m.winDescent > 0) metrics = m;
    FT_Done_Face(face);
  }
  FT_Done_FreeType(library);
  return metrics;
}

}  // namespace

std::optional<TFontFile> FindFontFile(std::string_view face, bool bold) {
  if (!FcInit()) return std::nullopt;
  const std::string name(WithoutCodePageSuffix(face));
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return std::nullopt;
  if (const char* family = SubstituteFamily(name)) {
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  }
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return std::nullopt;

  std::optional<TFontFile> found;
  FcChar8* path = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path && *path) {
    TFontFile file;
    file.Path = reinterpret_cast<const char*>(path);
    FcChar8* family = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && family) {
      file.Family = reinterpret_cast<const char*>(family);
    }
    FcPatternGetInteger(match, FC_INDEX, 0, &file.Index);
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    file.Bold = weight >= FC_WEIGHT_DEMIBOLD;
    found = std::move(file);
  }
  FcPatternDestroy(match);
  return found;
}

TFont::TFont(std::string_view face, int height, int weight)
    : serial_(++lastSerial), bold_(weight >= 600) {
  if (std::optional<TFontFile> file = FindFontFile(face, bold_)) {
    file_ = std::move(*file);
    Open(height);
  }
}

TFont::TFont(const TFontFile& file, int height, int weight)
    : serial_(++lastSerial), file_(file), bold_(weight >= 600) {
  Open(height);
}

TFont::~TFont() {
  if (handle_) TTF_CloseFont(handle_);
}

// Windows scales a font of positive height so that usWinAscent + usWinDescent spans the
// height, at a whole number of pixels per em, and puts the baseline usWinAscent below the top.
void TFont::Open(int height) {
  if (file_.Path.empty() || height <= 0) return;
  const std::optional<TCellMetrics> m = ReadCellMetrics(file_);
  if (!m) return;
  const double extent = m->winAscent + m->winDescent;
  pixelsPerEm_ = std::max(1, static_cast<int>(std::lround(m->unitsPerEm * height / extent)));
  const double scale = static_cast<double>(pixelsPerEm_) / m->unitsPerEm;
  ascent_ = static_cast<int>(std::lround(m->winAscent * scale));
  cellHeight_ = static_cast<int>(std::lround(extent * scale));

  if (!TTF_WasInit() && TTF_Init() != 0) return;
  // At 72 dots per inch a point is a pixel, so the point size is the pixels per em.
  handle_ = TTF_OpenFontIndexDPI(file_.Path.c_str(), pixelsPerEm_, file_.Index, 72, 72);
  if (!handle_) return;
  // Windows' text output places glyphs by their advances alone.
  TTF_SetFontKerning(handle_, 0);
  syntheticBold_ = bold_ && !file_.Bold;
  if (syntheticBold_) TTF_SetFontStyle(handle_, TTF_STYLE_BOLD);
}
