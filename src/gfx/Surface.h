// A software surface of 16-bit RGB565 pixels, the stand-in for the display's surfaces: the two
// buffers of the screen and one off-screen surface per loaded bitmap.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

class TSurface {
 public:
  TSurface(int width, int height)
      : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Handing out the pixels for writing counts as a change of the content (see ContentId).
  uint16_t* Pixels() { return Changed(); }
  const uint16_t* Pixels() const { return Settled(); }
  uint16_t* Row(int y) { return Changed() + static_cast<size_t>(y) * width_; }
  const uint16_t* Row(int y) const { return Settled() + static_cast<size_t>(y) * width_; }

  // Fills the whole surface with one pixel value. The fill is only noted, and carried out when
  // the pixels are next read or written, unless an opaque copy over the whole surface comes
  // first and makes it void (every game-view and menu frame clears the back buffer and then
  // draws a full-screen background over it).
  void FillAll(uint16_t pixel) {
    changed_ = true;
    fillPending_ = true;
    fillPixel_ = pixel;
  }
  // The caller overwrites every pixel next, without reading any: a pending fill is dropped.
  void WillOverwriteAll() { fillPending_ = false; }

  // The source colour key: pixels of this value are skipped by colour-keyed blits. A key
  // outside 16 bits (0xFFFFFFFF, a colour that could not be matched) never matches a pixel.
  void SetColourKey(uint32_t key) { colourKey_ = key; }
  uint32_t ColourKey() const { return colourKey_; }
  bool HasColourKey() const { return colourKey_ <= 0xFFFF; }

  // An identity of the pixels as they are now, for what is derived from them and kept (the
  // blitter's table of a sprite's opaque rows). It changes whenever the pixels may have been
  // written since it was last asked for, and no two contents of any surfaces share one. Writes
  // through a pointer taken before the identity was asked for are not seen: take the pointer
  // anew for every batch of writes.
  uint64_t ContentId() const {
    if (changed_) {
      static std::atomic<uint64_t> last{0};
      contentId_ = last.fetch_add(1, std::memory_order_relaxed) + 1;
      changed_ = false;
    }
    return contentId_;
  }

  // Exchanges the pixel memory of two surfaces of the same size: the page flip.
  void SwapPixels(TSurface& other) {
    changed_ = other.changed_ = true;
    pixels_.swap(other.pixels_);
    std::swap(fillPending_, other.fillPending_);
    std::swap(fillPixel_, other.fillPixel_);
  }

 private:
  uint16_t* Changed() {
    changed_ = true;
    return Settled();
  }
  uint16_t* Settled() const {
    if (fillPending_) CarryOutFill();
    return pixels_.data();
  }
  void CarryOutFill() const {
    fillPending_ = false;
    if ((fillPixel_ >> 8) == (fillPixel_ & 0xFF)) {  // black, white: a plain memset
      std::memset(pixels_.data(), fillPixel_ & 0xFF, pixels_.size() * sizeof(uint16_t));
    } else {
      std::fill(pixels_.begin(), pixels_.end(), fillPixel_);
    }
  }

  int width_;
  int height_;
  // Mutable for the pending fill alone: carrying it out changes no pixel anyone could see.
  mutable std::vector<uint16_t> pixels_;
  mutable bool fillPending_ = false;
  uint16_t fillPixel_ = 0;
  uint32_t colourKey_ = 0xFFFFFFFF;
  mutable bool changed_ = true;
  mutable uint64_t contentId_ = 0;
};

// RGB565 encoding of a Windows colour reference (0x00BBGGRR).
constexpr uint16_t Rgb565FromColorRef(uint32_t colorRef) {
  uint32_t r = colorRef & 0xFF, g = (colorRef >> 8) & 0xFF, b = (colorRef >> 16) & 0xFF;
  return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}
