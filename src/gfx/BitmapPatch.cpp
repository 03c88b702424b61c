#include "gfx/BitmapPatch.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace {

constexpr char kMagic[] = "KVPT";
constexpr size_t kHeaderBytes = 20;
constexpr size_t kRectangleHeaderBytes = 12;
constexpr int64_t kMaxSide = 16384;
// Differing pixels are gathered in cells of this side; cells that touch (also at a corner) form
// one region, so words a few pixels apart become one rectangle.
constexpr int kCell = 8;
// Two rectangles are joined when their union costs at most this many pixels more than both.
constexpr int64_t kJoinSlack = 1024;

uint32_t Le32(const char* p) {
  const auto* b = reinterpret_cast<const uint8_t*>(p);
  return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}
void AppendLe32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}
void AppendLe16(std::string& out, uint32_t value) {
  out += static_cast<char>(value & 0xff);
  out += static_cast<char>((value >> 8) & 0xff);
}

// Where the pixels of an uncompressed 24-bit bitmap file lie.
struct TLayout {
  int32_t Width = 0;
  int32_t Height = 0;
  bool BottomUp = true;
  size_t PixelOffset = 0;
  size_t RowBytes = 0;

  // The bytes of row `y` (counted from the top) in the file.
  size_t Row(int32_t y) const {
    return PixelOffset + RowBytes * static_cast<size_t>(BottomUp ? Height - 1 - y : y);
  }
};

std::optional<TLayout> Layout(std::string_view file) {
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const char* p = file.data();
  const uint32_t infoSize = Le32(p + 14);
  const uint32_t width = Le32(p + 18);
  const int32_t height = static_cast<int32_t>(Le32(p + 22));
  const uint32_t planesAndBits = Le32(p + 26);
  const uint32_t compression = Le32(p + 30);
  TLayout layout;
  layout.PixelOffset = Le32(p + 10);
  if (infoSize < 40 || infoSize > file.size() - 14 || planesAndBits != (1 | 24 << 16) ||
      compression != 0 || width == 0 || width > kMaxSide || height == 0 || height < -kMaxSide ||
      height > kMaxSide || layout.PixelOffset < 14 + infoSize) {
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

// A 24-bit bottom-up bitmap file of the rectangle `rect` of `sheet`.
std::string CutOut(std::string_view sheet, const TLayout& layout, TRect rect) {
  const size_t rowBytes = (static_cast<size_t>(rect.Width()) * 3 + 3) / 4 * 4;
  const size_t pixels = rowBytes * static_cast<size_t>(rect.Height());
  std::string out = "BM";
  AppendLe32(out, static_cast<uint32_t>(54 + pixels));
  AppendLe32(out, 0);
  AppendLe32(out, 54);
  AppendLe32(out, 40);
  AppendLe32(out, static_cast<uint32_t>(rect.Width()));
  AppendLe32(out, static_cast<uint32_t>(rect.Height()));
  AppendLe16(out, 1);
  AppendLe16(out, 24);
  for (int i = 0; i < 6; ++i) AppendLe32(out, 0);
  for (int32_t y = rect.Bottom - 1; y >= rect.Top; --y) {
    out.append(sheet.substr(layout.Row(y) + 3 * static_cast<size_t>(rect.Left),
                            3 * static_cast<size_t>(rect.Width())));
    out.append(rowBytes - 3 * static_cast<size_t>(rect.Width()), '\0');
  }
  return out;
}

int64_t Area(TRect r) { return int64_t{r.Width()} * r.Height(); }
TRect Union(TRect a, TRect b) {
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
          std::max(a.Bottom, b.Bottom)};
}

// The rectangles around the pixels where `a` and `b` (of one layout) differ.
std::vector<TRect> DifferingRectangles(std::string_view a, std::string_view b,
                                       const TLayout& layout) {
  const int columns = (layout.Width + kCell - 1) / kCell;
  const int rows = (layout.Height + kCell - 1) / kCell;
  // Each cell's bounding box of differing pixels; empty (Right == 0) where none differ.
  std::vector<TRect> cells(static_cast<size_t>(columns) * rows);
  for (int32_t y = 0; y < layout.Height; ++y) {
    const char* pa = a.data() + layout.Row(y);
    const char* pb = b.data() + layout.Row(y);
    for (int32_t x = 0; x < layout.Width; ++x) {
      if (std::memcmp(pa + 3 * x, pb + 3 * x, 3) == 0) continue;
      TRect& cell = cells[static_cast<size_t>(y / kCell) * columns + x / kCell];
      const TRect pixel{x, y, x + 1, y + 1};
      cell = cell.Right == 0 ? pixel : Union(cell, pixel);
    }
  }
  // Regions of touching cells.
  std::vector<TRect> found;
  std::vector<bool> seen(cells.size(), false);
  for (size_t start = 0; start < cells.size(); ++start) {
    if (seen[start] || cells[start].Right == 0) continue;
    TRect box = cells[start];
    std::vector<size_t> stack{start};
    seen[start] = true;
    while (!stack.empty()) {
      const size_t at = stack.back();
      stack.pop_back();
      box = Union(box, cells[at]);
      const int cx = static_cast<int>(at % columns), cy = static_cast<int>(at / columns);
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = cx + dx, ny = cy + dy;
          if (nx < 0 || ny < 0 || nx >= columns || ny >= rows) continue;
          const size_t next = static_cast<size_t>(ny) * columns + nx;
          if (seen[next] || cells[next].Right == 0) continue;
          seen[next] = true;
          stack.push_back(next);
        }
      }
    }
    found.push_back(box);
  }
  // Join the rectangles whose union costs little more than both, until none are left to join.
  for (bool joined = true; joined;) {
    joined = false;
    for (size_t i = 0; i < found.size() && !joined; ++i) {
      for (size_t j = i + 1; j < found.size() && !joined; ++j) {
        const TRect both = Union(found[i], found[j]);
        if (Area(both) <= Area(found[i]) + Area(found[j]) + kJoinSlack) {
          found[i] = both;
          found.erase(found.begin() + static_cast<std::ptrdiff_t>(j));
          joined = true;
        }
      }
    }
  }
  std::sort(found.begin(), found.end(),
            [](TRect l, TRect r) { return l.Top != r.Top ? l.Top < r.Top : l.Left < r.Left; });
  return found;
}

// A rectangle of a patch: where it goes and its bitmap.
struct TPiece {
  TRect Where;
  std::string_view Bitmap;
};

// The pieces of a patch, and its sheet's size and CRC, when the patch is whole.
struct TParsed {
  TPatchResult Result = TPatchResult::Unreadable;
  int32_t Width = 0;
  int32_t Height = 0;
  uint32_t Crc = 0;
  std::vector<TPiece> Pieces;
};

TParsed Parse(std::string_view patch) {
  TParsed parsed;
  if (patch.size() < kHeaderBytes || patch.substr(0, 4) != std::string_view(kMagic, 4)) {
    return parsed;
  }
  const uint32_t width = Le32(patch.data() + 4), height = Le32(patch.data() + 8);
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return parsed;
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
    const std::optional<TLayout> layout = Layout(bitmap);
    if (!layout) return parsed;
    if (left >= width || top >= height || static_cast<uint32_t>(layout->Width) > width - left ||
        static_cast<uint32_t>(layout->Height) > height - top) {
      parsed.Result = TPatchResult::Outside;
      return parsed;
    }
    const TRect where{static_cast<int32_t>(left), static_cast<int32_t>(top),
                      static_cast<int32_t>(left) + layout->Width,
                      static_cast<int32_t>(top) + layout->Height};
    parsed.Pieces.push_back({where, bitmap});
  }
  if (at == patch.size()) parsed.Result = TPatchResult::Applied;
  return parsed;
}

}  // namespace

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

bool MakeBitmapPatch(std::string_view base, std::string_view target, std::string& patch,
                     std::string& error) {
  const std::optional<TLayout> from = Layout(base), to = Layout(target);
  if (!from || !to) {
    error = "not an uncompressed 24-bit bitmap";
    return false;
  }
  if (base.size() != target.size() || from->Width != to->Width || from->Height != to->Height ||
      from->BottomUp != to->BottomUp || from->PixelOffset != to->PixelOffset ||
      base.substr(0, from->PixelOffset) != target.substr(0, to->PixelOffset)) {
    error = "the bitmaps differ in size or in their headers";
    return false;
  }
  const std::vector<TRect> rectangles = DifferingRectangles(base, target, *to);
  std::string out(kMagic, 4);
  AppendLe32(out, static_cast<uint32_t>(to->Width));
  AppendLe32(out, static_cast<uint32_t>(to->Height));
  AppendLe32(out, Crc32(target));
  AppendLe32(out, static_cast<uint32_t>(rectangles.size()));
  for (const TRect& rect : rectangles) {
    const std::string bitmap = CutOut(target, *to, rect);
    AppendLe32(out, static_cast<uint32_t>(rect.Left));
    AppendLe32(out, static_cast<uint32_t>(rect.Top));
    AppendLe32(out, static_cast<uint32_t>(bitmap.size()));
    out += bitmap;
  }
  // What lies outside the rectangles (the rows' padding) must agree as well.
  std::string check;
  if (ApplyBitmapPatch(base, out, check) != TPatchResult::Applied || check != target) {
    error = "the bitmaps differ where no pixel lies";
    return false;
  }
  patch = std::move(out);
  return true;
}

TPatchResult ApplyBitmapPatch(std::string_view base, std::string_view patch, std::string& patched) {
  const TParsed parsed = Parse(patch);
  if (parsed.Result != TPatchResult::Applied) return parsed.Result;
  const std::optional<TLayout> layout = Layout(base);
  if (!layout || layout->Width != parsed.Width || layout->Height != parsed.Height) {
    return TPatchResult::OtherSheet;
  }
  std::string out(base);
  for (const TPiece& piece : parsed.Pieces) {
    const TLayout from = *Layout(piece.Bitmap);
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

std::vector<TRect> PatchRectangles(std::string_view patch) {
  std::vector<TRect> rectangles;
  const TParsed parsed = Parse(patch);
  if (parsed.Result == TPatchResult::Applied) {
    for (const TPiece& piece : parsed.Pieces) rectangles.push_back(piece.Where);
  }
  return rectangles;
}
