#include "Snapshot.h"

#include <zlib.h>

#include <cstdint>
#include <string>

#include "base/Files.h"

namespace {
void PutBigEndian(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

// A PNG chunk: length, type, data and the CRC of type and data.
void PutChunk(std::string& png, const char* type, const std::string& data) {
  PutBigEndian(png, static_cast<uint32_t>(data.size()));
  const std::string body = type + data;
  png += body;
  PutBigEndian(png, static_cast<uint32_t>(
                        crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size())));
}

// An 8-bit RGB PNG of `rows` (each row its filter byte 0 and then w * 3 bytes).
bool EncodePng(int w, int h, const std::string& rows, std::string& png) {
  uLongf size = compressBound(rows.size());
  std::string compressed(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(compressed.data()), &size,
                reinterpret_cast<const Bytef*>(rows.data()), rows.size(), 6) != Z_OK) {
    return false;
  }
  compressed.resize(size);
  std::string header;
  PutBigEndian(header, static_cast<uint32_t>(w));
  PutBigEndian(header, static_cast<uint32_t>(h));
  header +=
      std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
  png = "\x89PNG\r\n\x1a\n";
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", compressed);
  PutChunk(png, "IEND", "");
  return true;
}
}  // namespace

bool WriteSnapshot(platform::THeadlessPlatform& platform, const std::string& file) {
  platform::THeadlessPresenter* presenter = platform.Presenter();
  const int w = presenter ? presenter->Width() : 1024;
  const int h = presenter ? presenter->Height() : 768;
  const uint16_t* frame = presenter ? presenter->LastFrame() : nullptr;
  const uint16_t* ramp = presenter ? presenter->Ramp() : nullptr;
  std::string rows;
  rows.reserve(static_cast<size_t>(h) * (w * 3 + 1));
  for (int y = 0; y < h; ++y) {
    rows.push_back('\0');
    for (int x = 0; x < w; ++x) {
      int r = 0, g = 0, b = 0;
      if (frame) {
        const uint16_t p = frame[y * w + x];
        r = ramp[((p >> 11) << 3) | (p >> 13)] >> 8;
        g = ramp[256 + ((((p >> 5) & 63) << 2) | ((p >> 9) & 3))] >> 8;
        b = ramp[512 + (((p & 31) << 3) | ((p >> 2) & 7))] >> 8;
      }
      rows.push_back(static_cast<char>(r));
      rows.push_back(static_cast<char>(g));
      rows.push_back(static_cast<char>(b));
    }
  }
  std::string png;
  return EncodePng(w, h, rows, png) && WriteFileWhole(file, png);
}
