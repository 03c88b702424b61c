// Counts the pixels that are not black in an X window dump (xwd -root), so a test can tell
// whether the game put anything on the screen. Prints the count; with --box first, prints the
// smallest rectangle holding them all instead, as "left top right bottom" (inclusive), or "none";
// with --differ OTHER first, prints how many pixels differ from those of the dump OTHER (of the
// same size), so a test can tell that another screen came.
// Exit status 2 on a bad file.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

uint32_t BigEndian(const std::vector<unsigned char>& d, size_t at) {
  return uint32_t(d[at]) << 24 | uint32_t(d[at + 1]) << 16 | uint32_t(d[at + 2]) << 8 | d[at + 3];
}

struct TDump {
  std::vector<unsigned char> Bytes;
  uint32_t Width = 0, Height = 0, BytesPerLine = 0;
  size_t BytesPerPixel = 0, Start = 0;
  const unsigned char* Pixel(uint32_t x, uint32_t y) const {
    return &Bytes[Start + size_t(y) * BytesPerLine + x * BytesPerPixel];
  }
};

bool Read(const char* path, TDump& dump) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char>& d = dump.Bytes;
  d.assign(std::istreambuf_iterator<char>(in), {});
  if (d.size() < 100) return false;
  const uint32_t headerSize = BigEndian(d, 0);
  dump.Width = BigEndian(d, 16), dump.Height = BigEndian(d, 20);
  const uint32_t bitsPerPixel = BigEndian(d, 44);
  dump.BytesPerLine = BigEndian(d, 48);
  const uint32_t colours = BigEndian(d, 76);
  dump.Start = size_t(headerSize) + size_t(colours) * 12;
  // A screen of depth 24 is dumped with 32 bits a pixel, but packed into 24 where a window of
  // another visual (SDL's windows are DirectColor) shows beside the root's.
  dump.BytesPerPixel = bitsPerPixel / 8;
  return (bitsPerPixel == 32 || bitsPerPixel == 24) &&
         size_t(dump.Width) * dump.BytesPerPixel <= dump.BytesPerLine &&
         dump.Start + size_t(dump.BytesPerLine) * dump.Height <= d.size();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  const bool box = argc == 3 && mode == "--box";
  const bool differ = argc == 4 && mode == "--differ";
  if (argc != 2 && !box && !differ) return 2;
  TDump dump, other;
  if (!Read(argv[argc - 1], dump)) return 2;
  if (differ) {
    if (!Read(argv[2], other) || other.Width != dump.Width || other.Height != dump.Height ||
        other.BytesPerPixel != dump.BytesPerPixel) {
      return 2;
    }
    uint64_t differing = 0;
    for (uint32_t y = 0; y < dump.Height; ++y)
      for (uint32_t x = 0; x < dump.Width; ++x)
        differing += std::memcmp(dump.Pixel(x, y), other.Pixel(x, y), 3) != 0;
    std::printf("%llu\n", static_cast<unsigned long long>(differing));
    return 0;
  }
  uint64_t lit = 0;
  uint32_t left = dump.Width, top = dump.Height, right = 0, bottom = 0;
  for (uint32_t y = 0; y < dump.Height; ++y) {
    for (uint32_t x = 0; x < dump.Width; ++x) {
      const unsigned char* p = dump.Pixel(x, y);
      if ((p[0] | p[1] | p[2]) == 0) continue;
      ++lit;
      if (x < left) left = x;
      if (x > right) right = x;
      if (y < top) top = y;
      bottom = y;
    }
  }
  if (!box) {
    std::printf("%llu\n", static_cast<unsigned long long>(lit));
  } else if (lit == 0) {
    std::printf("none\n");
  } else {
    std::printf("%u %u %u %u\n", left, top, right, bottom);
  }
  return 0;
}
