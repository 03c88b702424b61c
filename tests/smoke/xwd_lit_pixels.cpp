// Counts the pixels that are not black in an X window dump (xwd -root), so a test can tell
// whether the game put anything on the screen. Prints the count; with --box first, prints the
// smallest rectangle holding them all instead, as "left top right bottom" (inclusive), or "none".
// Exit status 2 on a bad file.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {
uint32_t BigEndian(const std::vector<unsigned char>& d, size_t at) {
  return uint32_t(d[at]) << 24 | uint32_t(d[at + 1]) << 16 | uint32_t(d[at + 2]) << 8 | d[at + 3];
}
}  // namespace

int main(int argc, char** argv) {
  const bool box = argc == 3 && std::strcmp(argv[1], "--box") == 0;
  if (argc != 2 && !box) return 2;
  std::ifstream in(argv[argc - 1], std::ios::binary);
  std::vector<unsigned char> d((std::istreambuf_iterator<char>(in)), {});
  if (d.size() < 100) return 2;
  const uint32_t headerSize = BigEndian(d, 0), width = BigEndian(d, 16), height = BigEndian(d, 20);
  const uint32_t bitsPerPixel = BigEndian(d, 44), bytesPerLine = BigEndian(d, 48);
  const uint32_t colours = BigEndian(d, 76);
  const size_t start = size_t(headerSize) + size_t(colours) * 12;
  // A screen of depth 24 is dumped with 32 bits a pixel, but packed into 24 where a window of
  // another visual (SDL's windows are DirectColor) shows beside the root's.
  const size_t bytesPerPixel = bitsPerPixel / 8;
  if ((bitsPerPixel != 32 && bitsPerPixel != 24) || size_t(width) * bytesPerPixel > bytesPerLine ||
      start + size_t(bytesPerLine) * height > d.size()) {
    return 2;
  }
  uint64_t lit = 0;
  uint32_t left = width, top = height, right = 0, bottom = 0;
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const unsigned char* p = &d[start + size_t(y) * bytesPerLine + x * bytesPerPixel];
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
