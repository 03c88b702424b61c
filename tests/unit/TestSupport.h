// What many unit tests need besides a folder of their own: the headless platform they run on,
// surfaces of one colour, archives packed in memory, the names in a folder, and the built
// languages' game data.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "TestFolder.h"
#include "archive/Archive.h"
#include "gfx/Surface.h"
#include "platform/headless/HeadlessPlatform.h"

inline platform::THeadlessPlatform& Headless() {
  return static_cast<platform::THeadlessPlatform&>(platform::Current());
}

inline platform::THeadlessSound& Recorder() { return Headless().Recorder(); }

// A new surface of one pixel value, with the magenta key.
inline TSurface* PlainSurface(int w, int h, uint16_t pixel) {
  auto* s = new TSurface(w, h);
  std::fill_n(s->Pixels(), w * h, pixel);
  s->SetColourKey(0xF81F);
  return s;
}

// A surface whose pixel at (x, y) is paint(x, y), with the magenta key.
template <class TPaint>
std::unique_ptr<TSurface> Painted(int w, int h, TPaint paint) {
  auto s = std::make_unique<TSurface>(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s->Row(y)[x] = paint(x, y);
  s->SetColourKey(0xF81F);
  return s;
}

// Every pixel of a surface, row by row.
inline std::vector<uint16_t> PixelsOf(const TSurface& s) {
  return {s.Pixels(), s.Pixels() + s.Width() * s.Height()};
}

// The pixels that are not `paper`: how many, and their bounds (inclusive; none: Right < Left).
struct TInk {
  int Count = 0, Left = INT_MAX, Top = INT_MAX, Right = -1, Bottom = -1;
};
inline TInk InkOf(const uint16_t* pixels, int w, int h, uint16_t paper) {
  TInk ink;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (pixels[y * w + x] == paper) continue;
      ink = {ink.Count + 1, std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x),
             std::max(ink.Bottom, y)};
    }
  return ink;
}
inline TInk InkOf(const TSurface& s, uint16_t paper) {
  return InkOf(s.Pixels(), s.Width(), s.Height(), paper);
}

// A number as the four bytes of a little-endian word.
inline std::string Le32(uint32_t value) {
  return {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
}

inline std::string Packed(const std::vector<TArchiveMember>& members) {
  std::string archive, error;
  EXPECT_TRUE(PackArchive(members, archive, error)) << error;
  return archive;
}

inline std::set<std::string> FileNames(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

// The built game data of every language (Data/Game-<code>.dat), copied into Data.
inline void CopyBuiltLanguages() {
  for (const auto& entry : std::filesystem::directory_iterator(KELVORA_BUILT_DATA)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("Game-", 0) == 0) std::filesystem::copy_file(entry.path(), "Data/" + name);
  }
}
