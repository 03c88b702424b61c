#include "gfx/BitmapPatch.h"

#include <array>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "gfx/Rect.h"

namespace {

constexpr size_t kHeaderBytes = 20;
constexpr size_t kRectangleHeaderBytes = 12;

uint32_t Le32(const char* p) {
  const auto* b = reinterpret_cast<const uint8_t*>(p);
  return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}

// A rectangle of a patch: where it goes and its bitmap.
struct TPiece {
  TRect Where;
  std::string_view Bitmap;
};

// The pieces of a patch, and its sheet's size and CRC, when the patch is whole.
struct TParsed {
  // Why the patch cannot be applied to any sheet (Unreadable until it has been read whole), or
  // nothing once it is whole and every rectangle lies inside its sheet.
  std::optional<TPatchResult> Refusal = TPatchResult::Unreadable;
  int32_t Width = 0;
  int32_t Height = 0;
  uint32_t Crc = 0;
  std::vector<TPiece> Pieces;
};

TParsed Parse(std::string_view patch) {
  TParsed parsed;
  if (patch.size() < kHeaderBytes || patch.substr(0, 4) != std::string_view(kPatchMagic, 4)) {
    return parsed;
  }
  const uint32_t width = Le32(patch.data() + 4), height = Le32(patch.data() + 8);
  if (width == 0 || height == 0 || width > kPatchMaxSide || height > kPatchMaxSide) return parsed;
  parsed.Width = static_cast<int32_t>(width);
  parsed.Height = static_cast<int32_t>(height);
  parsed.Crc = Le32(patch.data() + 12);
  const uint32_t count = Le32(patch.data() + 16);
  size_t at = kHeaderBytes;
  for (uint32_t i = 0; i < count; ++i) {
    if (patch.size() - at < kRectangleHeaderBytes) return parsed;
    const uint32_t left = Le32(patch.data() + at), top = Le32(patch.data() + at + 4);
    const uint32_t size = Le32(patch.data() + at + 8);
    at += kRectangleHeaderBytes;
    if (patch.size() - at < size) return parsed;
    const std::string_view bitmap = patch.substr(at, size);
    at += size;
    const std::optional<TBitmap24Layout> layout = Bitmap24Layout(bitmap);
    if (!layout) return parsed;
    if (left >= width || top >= height || static_cast<uint32_t>(layout->Width) > width - left ||
        static_cast<uint32_t>(layout->Height) > height - top) {
      parsed.Refusal = TPatchResult::Outside;
      return parsed;
    }
    const TRect where{static_cast<int32_t>(left), static_cast<int32_t>(top),
                      static_cast<int32_t>(left) + layout->Width,
                      static_cast<int32_t>(top) + layout->Height};
    parsed.Pieces.push_back({where, bitmap});
  }
  if (at == patch.size()) parsed.Refusal.reset();
  return parsed;
}

}  // namespace

std::optional<TBitmap24Layout> Bitmap24Layout(std::string_view file) {
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const char* p = file.data();
  const uint32_t infoSize = Le32(p + 14);
  const uint32_t width = Le32(p + 18);
  const int32_t height = static_cast<int32_t>(Le32(p + 22));
  const uint32_t planesAndBits = Le32(p + 26);
  const uint32_t compression = Le32(p + 30);
  TBitmap24Layout layout;
  layout.PixelOffset = Le32(p + 10);
  if (infoSize < 40 || infoSize > file.size() - 14 || planesAndBits != (1 | 24 << 16) ||
      compression != 0 || width == 0 || width > kPatchMaxSide || height == 0 ||
      height < -kPatchMaxSide || height > kPatchMaxSide || layout.PixelOffset < 14 + infoSize) {
    return std::nullopt;
  }
  layout.Width = static_cast<int32_t>(width);
  layout.Height = height < 0 ? -height : height;
  layout.BottomUp = height > 0;
  layout.RowBytes = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
  if (layout.PixelOffset > file.size() ||
      (file.size() - layout.PixelOffset) / layout.RowBytes < static_cast<size_t>(layout.Height)) {
    return std::nullopt;
  }
  return layout;
}

uint32_t Crc32(std::string_view bytes) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (const char byte : bytes) crc = table[(crc ^ static_cast<uint8_t>(byte)) & 0xff] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

TPatchResult ApplyBitmapPatch(std::string_view base, std::string_view patch, std::string& patched) {
  const TParsed parsed = Parse(patch);
  if (parsed.Refusal) return *parsed.Refusal;
  const std::optional<TBitmap24Layout> layout = Bitmap24Layout(base);
  if (!layout || layout->Width != parsed.Width || layout->Height != parsed.Height) {
    return TPatchResult::OtherSheet;
  }
  std::string out(base);
  for (const TPiece& piece : parsed.Pieces) {
    const TBitmap24Layout from = *Bitmap24Layout(piece.Bitmap);
    const size_t bytes = 3 * static_cast<size_t>(piece.Where.Width());
    for (int32_t y = 0; y < from.Height; ++y) {
      std::memcpy(out.data() + layout->Row(piece.Where.Top + y) + 3 * size_t(piece.Where.Left),
                  piece.Bitmap.data() + from.Row(y), bytes);
    }
  }
  if (Crc32(out) != parsed.Crc) return TPatchResult::WrongSum;
  patched = std::move(out);
  return TPatchResult::Applied;
}
