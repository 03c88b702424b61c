#include "Sheet.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <system_error>

#include "base/Files.h"

namespace pictures {

TSheet::TSheet(std::string file, int32_t width, int32_t height)
    : file_(std::move(file)),
      width_(width),
      height_(height),
      pixels_(static_cast<size_t>(width) * static_cast<size_t>(height), Magenta) {}

namespace {

uint8_t ClampByte(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

TRgb FlattenPixel(uint32_t argb, const TFlatten& how) {
  const double a = static_cast<double>(argb >> 24) / 255.0;
  const double r = (argb >> 16) & 0xFF;
  const double g = (argb >> 8) & 0xFF;
  const double b = argb & 0xFF;
  const TRgb& bd = how.Backdrop;
  switch (how.Kind) {
    case TFlatten::TKind::Opaque:
      return {ClampByte(r + (1 - a) * bd.R), ClampByte(g + (1 - a) * bd.G),
              ClampByte(b + (1 - a) * bd.B)};
    case TFlatten::TKind::Over:
      if (a < how.Threshold || a <= 0) return Magenta;
      return {ClampByte(r + (1 - a) * bd.R), ClampByte(g + (1 - a) * bd.G),
              ClampByte(b + (1 - a) * bd.B)};
    case TFlatten::TKind::Unmixed:
      if (a < how.Threshold || a <= 0) return Magenta;
      return {ClampByte(r / a), ClampByte(g / a), ClampByte(b / a)};
  }
  return Magenta;
}

// The game shows every picture in 16 bits (5 bits of red and blue, 6 of green), which turns
// wide soft gradients into visible bands. Opaque pictures therefore get an ordered dither
// of less than one 16-bit step, so that the bands break up into an even grain.
TRgb DitherFor16Bits(TRgb c, int32_t x, int32_t y) {
  static constexpr int Bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  const int b = Bayer[y & 3][x & 3];
  auto add = [&](uint8_t v, int step) {
    return static_cast<uint8_t>(std::min(255, v + b * step / 16));
  };
  return {add(c.R, 8), add(c.G, 4), add(c.B, 8)};
}

}  // namespace

void TSheet::Paint(TRect rect, const TFlatten& flatten, const TPainter& paint) {
  const int32_t w = rect.Width();
  const int32_t h = rect.Height();
  if (w <= 0 || h <= 0) return;
  const TCairoSurface owned(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
  cairo_surface_t* surface = owned.get();
  TCairo context(cairo_create(surface));
  cairo_t* cr = context.get();
  // Text is laid out without hinting, so the pictures do not depend on a desktop's settings.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
  paint(cr);
  context.reset();
  cairo_surface_flush(surface);

  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int32_t y = 0; y < h; ++y) {
    const int32_t sy = rect.Top + y;
    if (sy < 0 || sy >= height_) continue;
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int32_t x = 0; x < w; ++x) {
      const int32_t sx = rect.Left + x;
      if (sx < 0 || sx >= width_) continue;
      TRgb pixel = FlattenPixel(row[x], flatten);
      if (flatten.Kind == TFlatten::TKind::Opaque) pixel = DitherFor16Bits(pixel, sx, sy);
      pixels_[static_cast<size_t>(sy) * width_ + sx] = pixel;
    }
  }
}

TRgb TSheet::Pixel(int32_t x, int32_t y) const {
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

TRgb TSheet::Average(TRect rect) const {
  double r = 0, g = 0, b = 0;
  int n = 0;
  for (int32_t y = std::max(0, rect.Top); y < std::min(height_, rect.Bottom); ++y) {
    for (int32_t x = std::max(0, rect.Left); x < std::min(width_, rect.Right); ++x) {
      const TRgb& p = Pixel(x, y);
      r += p.R;
      g += p.G;
      b += p.B;
      ++n;
    }
  }
  if (n == 0) return Magenta;
  return {ClampByte(r / n), ClampByte(g / n), ClampByte(b / n)};
}

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> TSheet::ToBmp() const {
  const uint32_t rowBytes = (static_cast<uint32_t>(width_) * 3 + 3) & ~3u;
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height_);
  const uint32_t headerBytes = 14 + 40;
  std::vector<uint8_t> out;
  out.reserve(headerBytes + imageBytes);
  // BITMAPFILEHEADER
  out.push_back('B');
  out.push_back('M');
  Put32(out, headerBytes + imageBytes);
  Put32(out, 0);
  Put32(out, headerBytes);
  // BITMAPINFOHEADER: positive height = bottom-up rows, 24 bits, BI_RGB, 72 dpi.
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width_));
  Put32(out, static_cast<uint32_t>(height_));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, imageBytes);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int32_t y = height_ - 1; y >= 0; --y) {
    for (int32_t x = 0; x < width_; ++x) {
      const TRgb& p = pixels_[static_cast<size_t>(y) * width_ + x];
      out.push_back(p.B);
      out.push_back(p.G);
      out.push_back(p.R);
    }
    for (uint32_t pad = static_cast<uint32_t>(width_) * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  return out;
}

TCairoSurface TSheet::ToSurface() const {
  TCairoSurface owned(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width_, height_));
  cairo_surface_t* surface = owned.get();
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int32_t y = 0; y < height_; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int32_t x = 0; x < width_; ++x) {
      const TRgb& p = pixels_[static_cast<size_t>(y) * width_ + x];
      row[x] = 0xFF000000u | (uint32_t{p.R} << 16) | (uint32_t{p.G} << 8) | p.B;
    }
  }
  cairo_surface_mark_dirty(surface);
  return owned;
}

bool WriteFileAtomic(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  return WriteFileWhole(
      path.string(), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

cairo_status_t AppendToString(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

std::string EncodePng(cairo_surface_t* surface) {
  std::string png;
  if (cairo_surface_write_to_png_stream(surface, AppendToString, &png) != CAIRO_STATUS_SUCCESS) {
    png.clear();
  }
  return png;
}

bool WritePngAtomic(const std::filesystem::path& path, cairo_surface_t* surface) {
  const std::string png = EncodePng(surface);
  return !png.empty() && WriteFileWhole(path.string(), png);
}

}  // namespace pictures
