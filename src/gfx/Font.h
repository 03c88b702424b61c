// One font of the game's font table: a Windows face name resolved to a font file by the
// platform (FindFontFile), opened with SDL_ttf at the size Windows gives a font of positive height,
// where the height is the whole cell (ascent plus descent) rather than the em.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/FontFiles.h"

struct _TTF_Font;

class TFont {
 public:
  // Resolves `face` and opens it for a cell of `height` pixels; weights of 600 and above are
  // bold. A font that cannot be found or opened stays usable as an object and draws nothing.
  TFont(std::string_view face, int height, int weight);
  // Opens a given file (its family naming the face).
  TFont(const TFontFile& file, int height, int weight);
  ~TFont();
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;

  bool Usable() const { return handle_ != nullptr; }
  // Unique among all fonts ever created, so that caches never mistake a new font for a
  // deleted one at the same address.
  unsigned Serial() const { return serial_; }
  _TTF_Font* Handle() const { return handle_; }
  const TFontFile& File() const { return file_; }
  int PixelsPerEm() const { return pixelsPerEm_; }
  // The cell: its height, and the baseline's distance below the cell's top.
  int CellHeight() const { return cellHeight_; }
  int Ascent() const { return ascent_; }
  bool Bold() const { return bold_; }
  // Bold drawn by thickening the regular face, for families without a bold face.
  bool SyntheticBold() const { return syntheticBold_; }

  // True where the face has a glyph for every letter of the UTF-8 text `utf8`.
  bool HasLetters(std::string_view utf8) const;
  // The shipped face that has the letters this one lacks (platform::LettersFamily), at the same
  // height and weight, opened the first time it is asked for; null where there is none.
  TFont* Fallback() const;

 private:
  void Open(int height);

  unsigned serial_;
  std::string face_;
  int height_ = 0;
  int weight_ = 0;
  mutable std::unique_ptr<TFont> fallback_;
  mutable bool fallbackOpened_ = false;
  TFontFile file_;
  bool bold_ = false;
  bool syntheticBold_ = false;
  int pixelsPerEm_ = 0;
  int cellHeight_ = 0;
  int ascent_ = 0;
  _TTF_Font* handle_ = nullptr;
};
