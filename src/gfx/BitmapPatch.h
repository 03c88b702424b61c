// Patches of 24-bit bitmaps: what a language's drawing of a worded sheet changes in Czech's (the
// rectangles where its words stand), so that a language's archive of pictures holds only those.
//
// A patch, all integers unsigned 32-bit little-endian:
//   0   "KVPT"
//   4   the width and the height of the sheet it patches
//   12  the CRC-32 (that of zlib and PNG) of the whole patched bitmap file
//   16  the number N of rectangles
//   20  N rectangles, each: its left and top in the sheet (rows counted from the top), the size S
//       of its bitmap, then S bytes: a 24-bit uncompressed Windows bitmap of the rectangle
// and nothing after the last rectangle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The first four bytes of every patch, and the largest side of a sheet one may patch.
inline constexpr char kPatchMagic[] = "KVPT";
inline constexpr int64_t kPatchMaxSide = 16384;

// Where the pixels of an uncompressed 24-bit bitmap file lie.
struct TBitmap24Layout {
  int32_t Width = 0;
  int32_t Height = 0;
  bool BottomUp = true;
  size_t PixelOffset = 0;
  size_t RowBytes = 0;

  // The offset in the file of row `y` (counted from the top).
  size_t Row(int32_t y) const {
    return PixelOffset + RowBytes * static_cast<size_t>(BottomUp ? Height - 1 - y : y);
  }
};

// The layout of `file` when it is a whole uncompressed 24-bit bitmap of sides up to
// kPatchMaxSide (its pixels all inside the file); nothing otherwise.
std::optional<TBitmap24Layout> Bitmap24Layout(std::string_view file);

enum class TPatchResult {
  Applied,     // `patched` holds the base with the patch drawn over it
  Unreadable,  // no patch, or one cut short, longer than its rectangles, or with a damaged bitmap
  Outside,     // a rectangle reaches outside the sheet
  OtherSheet,  // the base is no 24-bit bitmap of the size the patch is made for
  WrongSum,    // the result is not the bitmap the patch was made for (a damaged pixel, or a base
               // other than the one it was made from)
};

// `base` with the patch drawn over it, into `patched`, only when everything checks: the patch is
// whole and ends where its last rectangle does, each rectangle's bitmap lies inside the sheet,
// `base` is a 24-bit bitmap of the patch's size, and the result has the patch's CRC-32.
// Otherwise `patched` is untouched, and the result says why.
TPatchResult ApplyBitmapPatch(std::string_view base, std::string_view patch, std::string& patched);

// The name a language's archive of pictures gives the patch of the bitmap `bitmap`: "Menu.bmp"
// is patched by "Menu.bmp.patch".
inline std::string PatchName(std::string_view bitmap) { return std::string(bitmap) + ".patch"; }

// The CRC-32 of `bytes` (the polynomial of zlib and PNG).
uint32_t Crc32(std::string_view bytes);
