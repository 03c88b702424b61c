#include "Snapshot.h"

#include <cairo.h>

#include <string>

#include "base/Files.h"

namespace {
cairo_status_t AppendPng(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}
}  // namespace

bool WriteSnapshot(platform::THeadlessPlatform& platform, const std::string& file) {
  platform::THeadlessPresenter* presenter = platform.Presenter();
  const int w = presenter ? presenter->Width() : 1024;
  const int h = presenter ? presenter->Height() : 768;
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) return false;
  cairo_surface_flush(image);
  unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  const uint16_t* frame = presenter ? presenter->LastFrame() : nullptr;
  const uint16_t* ramp = presenter ? presenter->Ramp() : nullptr;
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
    for (int x = 0; x < w; ++x) {
      if (!frame) {
        row[x] = 0;
        continue;
      }
      uint16_t p = frame[y * w + x];
      int r = ((p >> 11) << 3) | (p >> 13), g = (((p >> 5) & 63) << 2) | ((p >> 9) & 3),
          b = ((p & 31) << 3) | ((p >> 2) & 7);
      r = ramp[r] >> 8;
      g = ramp[256 + g] >> 8;
      b = ramp[512 + b] >> 8;
      row[x] = uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
    }
  }
  cairo_surface_mark_dirty(image);
  std::string png;
  const bool encoded =
      cairo_surface_write_to_png_stream(image, AppendPng, &png) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(image);
  return encoded && WriteFileWhole(file, png);
}
