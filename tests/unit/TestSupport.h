// What many unit tests need: a folder of their own, the headless platform they run on, surfaces
// of one colour, archives packed in memory, the names in a folder, the built languages' game
// data, and a game with a display.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <tuple>
#include <utility>
#include <vector>

#include "SystemSupport.h"
#include "archive/Archive.h"
#include "game/Game.h"
#include "gfx/Surface.h"
#include "platform/headless/HeadlessPlatform.h"

// A fresh working folder for a test: made below the temporary folder, entered while the object
// lives, then left and removed. The name holds the process id and a count of uses, so tests
// run in parallel processes, or one after another in the same one, never share a folder.
class TTestFolder {
 public:
  enum TLayout { kEmpty, kWithData };

  explicit TTestFolder(std::string_view tag, TLayout layout = kWithData)
      : old_(std::filesystem::current_path()), dir_(UniquePath(tag)) {
    std::filesystem::remove_all(dir_);  // left over by an earlier process with the same id
    std::filesystem::create_directories(layout == kWithData ? dir_ / "Data" : dir_);
    std::filesystem::current_path(dir_);
  }
  ~TTestFolder() {
    // A destructor must not throw: a folder that cannot be removed is only left behind.
    std::error_code ignored;
    std::filesystem::current_path(old_, ignored);
    std::filesystem::remove_all(dir_, ignored);
  }
  TTestFolder(const TTestFolder&) = delete;
  TTestFolder& operator=(const TTestFolder&) = delete;

  const std::filesystem::path& Path() const { return dir_; }

 private:
  static std::filesystem::path UniquePath(std::string_view tag) {
    static std::atomic<unsigned> uses{0};
    return std::filesystem::temp_directory_path() /
           ("kelvora_" + std::string(tag) + "_" + std::to_string(::getpid()) + "_" +
            std::to_string(uses++));
  }

  std::filesystem::path old_, dir_;
};

// The whole file as bytes; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

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

// A game with the headless display, in a working folder of its own made before the game and
// removed after it (the game object writes its settings into Data).
class TGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(g.InitDisplay(nullptr, 1024, 768, 16));
    g.Clear(0);
  }
  uint16_t At(int x, int y) const { return g.BackBuffer->Row(y)[x]; }
  std::vector<uint16_t> Screen() const { return PixelsOf(*g.BackBuffer); }

  TTestFolder folder{"game"};
  TGame g;
};
