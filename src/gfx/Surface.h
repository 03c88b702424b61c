// A software surface of 16-bit RGB565 pixels, the stand-in for the display's surfaces: the two
// buffers of the screen and one off-screen surface per loaded bitmap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TSurface {
 public:
  TSurface(int width, int height) : width_(width), height_(height),
      pixels_(static_cast<size_t>(width) * height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  uint16_t* Pixels() { return pixels_.data(); }
  const uint16_t* Pixels() const { return pixels_.data(); }
  uint16_t* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const uint16_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }

  // The source colour key: pixels of this value are skipped by colour-keyed blits. A key
  // outside 16 bits (0xFFFFFFFF, a colour that could not be matched) never matches a pixel.
  void SetColourKey(uint32_t key) { colourKey_ = key; }
  uint32_t ColourKey() const { return colourKey_; }
  bool HasColourKey() const { return colourKey_ <= 0xFFFF; }

  // Exchanges the pixel memory of two surfaces of the same size: the page flip.
  void SwapPixels(TSurface& other) { pixels_.swap(other.pixels_); }

 private:
  int width_;
  int height_;
  std::vector<uint16_t> pixels_;
  uint32_t colourKey_ = 0xFFFFFFFF;
};

// RGB565 encoding of a Windows colour reference (0x00BBGGRR).
constexpr uint16_t Rgb565FromColorRef(uint32_t colorRef) {
  uint32_t r = colorRef & 0xFF, g = (colorRef >> 8) & 0xFF, b = (colorRef >> 16) & 0xFF;
  return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}
