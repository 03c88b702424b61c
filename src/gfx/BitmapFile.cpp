// Reading Windows bitmap files into surfaces of the display's format.
//
// SDL's bitmap reader decodes the files, but it believes the sizes a header gives and allocates
// for them, so every file is checked here first: headers that are damaged, pixel data that is
// shorter than the header says, and pictures too large to be ours are refused before anything is
// allocated. Uncompressed bitmaps with colour masks SDL has no pixel format for are unpacked
// here. The fourth byte of a 32-bit pixel is unused, as Windows treats it: never alpha.
#include "gfx/BitmapFile.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>

#include "base/Files.h"

namespace {

// The game's pictures are at most a screen; anything beyond these is not a picture of ours.
constexpr int64_t kMaxSide = 16384;
constexpr int64_t kMaxPixels = int64_t{8192} * 8192;
constexpr uintmax_t kMaxFileBytes = uintmax_t{512} << 20;

constexpr size_t kFileHeaderBytes = 14;

enum : uint32_t { kUncompressed = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3 };

struct TBitmapHeader {
  int32_t width = 0;
  int32_t height = 0;  // negative for rows stored top-down
  uint16_t bitCount = 0;
  uint32_t compression = kUncompressed;
  uint32_t pixelOffset = 0;
  uint32_t masks[3] = {};  // red, green, blue of a bit-field bitmap
};

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

const uint8_t* Bytes(const std::string& file) {
  return reinterpret_cast<const uint8_t*>(file.data());
}

int64_t RowBytes(int64_t width, int bitCount) { return (width * bitCount + 31) / 32 * 4; }

// The headers of a bitmap file, when they describe a picture the file really holds.
std::optional<TBitmapHeader> ReadHeader(const std::string& file) {
  const uint8_t* p = Bytes(file);
  const size_t size = file.size();
  if (size < kFileHeaderBytes + 12 || p[0] != 'B' || p[1] != 'M') return std::nullopt;
  TBitmapHeader h;
  h.pixelOffset = U32(p + 10);
  const uint32_t infoSize = U32(p + 14);
  // The OS/2 core header, the Windows headers of versions 1 to 5, and the OS/2 2.x header.
  constexpr uint32_t kInfoSizes[] = {12, 40, 52, 56, 64, 108, 124};
  if (std::find(std::begin(kInfoSizes), std::end(kInfoSizes), infoSize) == std::end(kInfoSizes) ||
      kFileHeaderBytes + infoSize > size) {
    return std::nullopt;
  }
  const uint8_t* info = p + kFileHeaderBytes;
  uint16_t planes = 0;
  uint32_t coloursUsed = 0;
  size_t paletteEntryBytes = 4;
  if (infoSize == 12) {
    h.width = U16(info + 4);
    h.height = U16(info + 6);
    planes = U16(info + 8);
    h.bitCount = U16(info + 10);
    paletteEntryBytes = 3;
  } else {
    h.width = static_cast<int32_t>(U32(info + 4));
    h.height = static_cast<int32_t>(U32(info + 8));
    planes = U16(info + 12);
    h.bitCount = U16(info + 14);
    h.compression = U32(info + 16);
    coloursUsed = U32(info + 32);
  }
  const int64_t rows = h.height < 0 ? -int64_t{h.height} : h.height;
  if (planes != 1 || h.width <= 0 || h.width > kMaxSide || rows == 0 || rows > kMaxSide ||
      h.width * rows > kMaxPixels) {
    return std::nullopt;
  }

  const uint16_t bits = h.bitCount;
  bool known = false;
  switch (h.compression) {
    case kUncompressed:
      known = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
      break;
    case kRle8:  // run-length pictures are stored bottom-up only
      known = bits == 8 && h.height > 0;
      break;
    case kRle4:
      known = bits == 4 && h.height > 0;
      break;
    case kBitfields:  // for the OS/2 2.x header this value means a fax encoding
      known = (bits == 16 || bits == 32) && infoSize != 64;
      break;
  }
  if (!known) return std::nullopt;

  // The masks follow a version 1 header and lie inside the later ones, at the same place.
  size_t paletteStart = kFileHeaderBytes + infoSize;
  if (h.compression == kBitfields) {
    if (kFileHeaderBytes + 40 + 12 > size) return std::nullopt;
    for (int c = 0; c < 3; ++c) h.masks[c] = U32(p + kFileHeaderBytes + 40 + 4 * c);
    if (infoSize == 40) paletteStart += 12;
  }
  size_t paletteEntries = 0;
  if (bits <= 8) {
    const uint32_t full = 1u << bits;
    paletteEntries = coloursUsed == 0 || coloursUsed > full ? full : coloursUsed;
  }
  const uint64_t pixelsEnd =
      h.compression == kRle8 || h.compression == kRle4
          ? uint64_t{h.pixelOffset} + 1
          : h.pixelOffset + static_cast<uint64_t>(RowBytes(h.width, bits) * rows);
  if (h.pixelOffset < paletteStart + paletteEntries * paletteEntryBytes || pixelsEnd > size) {
    return std::nullopt;
  }
  return h;
}

std::unique_ptr<TSurface> NewSurface(int width, int height) {
  try {
    return std::make_unique<TSurface>(width, height);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

std::unique_ptr<TSurface> DecodeWithSdl(const std::string& file, const TBitmapHeader& h) {
  SDL_RWops* stream = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
  if (!stream) return nullptr;
  SDL_Surface* loaded = SDL_LoadBMP_RW(stream, 1);
  if (!loaded) return nullptr;
  std::unique_ptr<TSurface> surface;
  // A plain copy: no blending, so whatever the fourth byte of a 32-bit pixel holds, the colour
  // arrives whole.
  SDL_SetSurfaceBlendMode(loaded, SDL_BLENDMODE_NONE);
  SDL_Surface* rgb = loaded->w == h.width && loaded->h == std::abs(h.height)
                         ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB565, 0)
                         : nullptr;
  SDL_FreeSurface(loaded);
  if (!rgb) return nullptr;
  surface = NewSurface(rgb->w, rgb->h);
  for (int y = 0; surface && y < rgb->h; ++y) {
    std::memcpy(surface->Row(y), static_cast<const uint8_t*>(rgb->pixels) + y * rgb->pitch,
                static_cast<size_t>(rgb->w) * sizeof(uint16_t));
  }
  SDL_FreeSurface(rgb);
  return surface;
}

// One colour channel of a bit-field pixel: where its bits lie and how to widen it to 8 bits.
struct TChannel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;

  explicit TChannel(uint32_t m) : mask(m) {
    if (mask == 0) return;
    while (!((mask >> shift) & 1)) ++shift;
    max = mask >> shift;
  }
  bool Contiguous() const { return (max & (max + 1)) == 0; }
  uint32_t Value8(uint32_t pixel) const {
    return max == 0 ? 0 : (((pixel & mask) >> shift) * 255 + max / 2) / max;
  }
};

// Bit-field pixels whose masks no SDL pixel format has (for example 12 bits of green).
std::unique_ptr<TSurface> UnpackBitfields(const std::string& file, const TBitmapHeader& h) {
  const TChannel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]);
  if (!red.Contiguous() || !green.Contiguous() || !blue.Contiguous()) return nullptr;
  const int rows = std::abs(h.height);
  std::unique_ptr<TSurface> surface = NewSurface(h.width, rows);
  if (!surface) return nullptr;
  const int bytesPerPixel = h.bitCount / 8;
  const size_t rowBytes = static_cast<size_t>(RowBytes(h.width, h.bitCount));
  for (int y = 0; y < rows; ++y) {
    const int stored = h.height > 0 ? rows - 1 - y : y;
    const uint8_t* in = Bytes(file) + h.pixelOffset + stored * rowBytes;
    uint16_t* out = surface->Row(y);
    for (int x = 0; x < h.width; ++x, in += bytesPerPixel) {
      const uint32_t pixel = bytesPerPixel == 2 ? U16(in) : U32(in);
      const uint32_t colorRef =
          red.Value8(pixel) | green.Value8(pixel) << 8 | blue.Value8(pixel) << 16;
      out[x] = Rgb565FromColorRef(colorRef);
    }
  }
  return surface;
}

}  // namespace

std::unique_ptr<TSurface> DecodeBitmapFile(const std::string& path) {
  std::string bytes;
  if (ReadFileWhole(path, bytes, kMaxFileBytes) != TReadResult::Read) return nullptr;
  if (bytes.size() < kFileHeaderBytes) return nullptr;
  const std::optional<TBitmapHeader> header = ReadHeader(bytes);
  if (!header) return nullptr;
  if (std::unique_ptr<TSurface> surface = DecodeWithSdl(bytes, *header)) return surface;
  if (header->compression == kBitfields) return UnpackBitfields(bytes, *header);
  return nullptr;
}
