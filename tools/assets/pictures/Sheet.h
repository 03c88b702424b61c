// A bitmap under construction: 24-bit pixels, magenta where nothing is drawn. Sprites are
// painted with cairo into their own rectangle and flattened into the sheet, so that every
// pixel ends up either exactly magenta (transparent) or an opaque colour that is safe to
// show over the picture the sprite is drawn on.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gfx/Rect.h"

namespace pictures {

// Cairo's objects, destroyed when their owner goes.
struct TCairoRelease {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using TCairo = std::unique_ptr<cairo_t, TCairoRelease>;
using TCairoSurface = std::unique_ptr<cairo_surface_t, TCairoRelease>;

struct TRgb {
  uint8_t R = 0;
  uint8_t G = 0;
  uint8_t B = 0;
  constexpr bool operator==(const TRgb&) const = default;
};

inline constexpr TRgb Magenta{255, 0, 255};

constexpr TRgb Hex(uint32_t rgb) {
  return {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
          static_cast<uint8_t>(rgb)};
}

// How the anti-aliased edges of a sprite become the hard edges of a colour key.
struct TFlatten {
  enum class TKind {
    Opaque,   // everything is kept, blended over Backdrop, dithered (the sprite is copied opaque)
    Over,     // blended over Backdrop, the colour the sprite is drawn on; faint pixels vanish
    Unmixed,  // drawn over changing pictures: edge pixels keep their own colour; faint vanish
  };
  TKind Kind = TKind::Opaque;
  TRgb Backdrop{0, 0, 0};
  double Threshold = 0.5;  // pixels with less coverage become transparent

  static TFlatten Opaque(TRgb backdrop = {0, 0, 0}) { return {TKind::Opaque, backdrop, 0.0}; }
  static TFlatten Over(TRgb backdrop, double threshold = 0.45) {
    return {TKind::Over, backdrop, threshold};
  }
  static TFlatten Unmixed(double threshold = 0.5) { return {TKind::Unmixed, {}, threshold}; }
};

using TPainter = std::function<void(cairo_t*)>;

class TSheet {
 public:
  TSheet(std::string file, int32_t width, int32_t height);

  const std::string& File() const { return file_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

  // Paints one sprite: `paint` draws in the rectangle's own coordinates (0, 0 at its top-left
  // corner) on a transparent surface, and the result replaces the rectangle's pixels.
  void Paint(TRect rect, const TFlatten& flatten, const TPainter& paint);

  TRgb Pixel(int32_t x, int32_t y) const;
  // The mean colour of a painted area: what a sprite drawn there will be seen against.
  TRgb Average(TRect rect) const;

  // The sheet as a Windows bitmap: 24 bits, bottom-up, uncompressed, BITMAPINFOHEADER.
  std::vector<uint8_t> ToBmp() const;
  // The sheet as an RGB24 cairo surface (for previews).
  TCairoSurface ToSurface() const;

 private:
  std::string file_;
  int32_t width_;
  int32_t height_;
  std::vector<TRgb> pixels_;
};

// Writes a whole file or nothing, through the game's file module.
bool WriteFileAtomic(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
// A cairo write function that appends what cairo writes to the std::string `closure`.
cairo_status_t AppendToString(void* closure, const unsigned char* data, unsigned int length);
// A cairo surface as PNG bytes; empty when cairo fails.
std::string EncodePng(cairo_surface_t* surface);
// Writes a cairo surface as PNG the same way.
bool WritePngAtomic(const std::filesystem::path& path, cairo_surface_t* surface);

}  // namespace pictures
