// Fonts: the face resolved by the platform, cell metrics from the font's OS/2 table (read with
// FreeType), and the SDL_ttf font opened at the matching size.
#include "gfx/Font.h"

#include <SDL_ttf.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <string>

#include "base/Cp1250.h"
#include "base/Files.h"

namespace {

unsigned lastSerial = 0;

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
  // FreeType is given the bytes, not the path: its own opening of a path takes the system's
  // narrow names, which on Windows cannot name every folder. SDL_ttf opens paths as UTF-8.
  std::string bytes;
  if (ReadFileWhole(file.Path, bytes) == TReadResult::Read &&
      FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(bytes.data()),
                         static_cast<FT_Long>(bytes.size()), file.Index, &face) == 0) {
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

TFont::TFont(std::string_view face, int height, int weight)
    : serial_(++lastSerial), face_(face), height_(height), weight_(weight), bold_(weight >= 600) {
  if (std::optional<TFontFile> file = FindFontFile(face, bold_)) {
    file_ = std::move(*file);
    Open(height);
  }
}

TFont::TFont(const TFontFile& file, int height, int weight)
    : serial_(++lastSerial),
      face_(file.Family),
      height_(height),
      weight_(weight),
      file_(file),
      bold_(weight >= 600) {
  Open(height);
}

bool TFont::HasLetters(std::string_view utf8) const {
  if (!handle_) return false;
  for (size_t at = 0; at < utf8.size();) {
    const char32_t cp = NextCodePoint(utf8, at);
    // Every face the game opens has the ASCII letters.
    if (cp >= 0x80 && !TTF_GlyphIsProvided32(handle_, cp)) return false;
  }
  return true;
}

TFont* TFont::Fallback() const {
  if (!fallbackOpened_) {
    fallbackOpened_ = true;
    const char* family = platform::LettersFamily(face_);
    if (family && family != file_.Family) {
      fallback_ = std::make_unique<TFont>(family, height_, weight_);
      if (!fallback_->Usable()) fallback_.reset();
    }
  }
  return fallback_.get();
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
