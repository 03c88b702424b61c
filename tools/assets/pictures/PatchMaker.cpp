#include "PatchMaker.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "gfx/BitmapPatch.h"
#include "gfx/Rect.h"

namespace {

// Differing pixels are gathered in cells of this side; cells that touch (also at a corner) form
// one region, so words a few pixels apart become one rectangle.
constexpr int kCell = 8;
// Two rectangles are joined when their union costs at most this many pixels more than both.
constexpr int64_t kJoinSlack = 1024;

void AppendLe32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}
void AppendLe16(std::string& out, uint32_t value) {
  out += static_cast<char>(value & 0xff);
  out += static_cast<char>((value >> 8) & 0xff);
}

// A 24-bit bottom-up bitmap file of the rectangle `rect` of `sheet`.
std::string CutOut(std::string_view sheet, const TBitmap24Layout& layout, TRect rect) {
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
                                       const TBitmap24Layout& layout) {
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

}  // namespace

bool MakeBitmapPatch(std::string_view base, std::string_view target, std::string& patch,
                     std::string& error) {
  const std::optional<TBitmap24Layout> from = Bitmap24Layout(base), to = Bitmap24Layout(target);
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
  std::string out(kPatchMagic, 4);
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
