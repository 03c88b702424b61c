// The bitmap patch reader on any bytes, over a small Czech sheet: a patch it applies gives a
// sheet of the base's size with the patch's checksum, and one it refuses leaves the output alone.
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "gfx/BitmapPatch.h"

namespace {

// A 24-bit bitmap of 40 x 24 pixels, rows from the bottom, each a colour of its own.
std::string Base() {
  constexpr int kWidth = 40, kHeight = 24, kRow = kWidth * 3;
  std::string bmp(54 + kRow * kHeight, '\0');
  auto put32 = [&bmp](size_t at, uint32_t v) { std::memcpy(&bmp[at], &v, 4); };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, static_cast<uint32_t>(bmp.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, kWidth);
  put32(22, kHeight);
  bmp[26] = 1;
  bmp[28] = 24;
  for (int i = 0; i < kRow * kHeight; ++i) bmp[54 + i] = static_cast<char>(i * 7 + i / kRow);
  return bmp;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string base = Base();
  const std::string_view patch(reinterpret_cast<const char*>(data), size);
  std::string patched = "untouched";
  const TPatchResult result = ApplyBitmapPatch(base, patch, patched);
  if (result != TPatchResult::Applied) {
    if (patched != "untouched") std::abort();
    return 0;
  }
  uint32_t sum = 0;
  std::memcpy(&sum, patch.data() + 12, 4);
  if (patched.size() != base.size() || Crc32(patched) != sum) std::abort();
  return 0;
}
