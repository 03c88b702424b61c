// Bitmap loading: formats, the magenta key, refilled slots, the cursor, damaged files.
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

// The format tests' 3 x 2 picture (0x00BBGGRR; magenta not first) and its palette (0x00RRGGBB).
constexpr uint32_t kPicture[2][3] = {{0x0000FF, 0xFF00FF, 0x00FF00},
                                     {0xFF0000, 0x123456, 0xFFFFFF}};
const std::vector<uint32_t> kPalette = {0xFF0000, 0xFF00FF, 0x00FF00, 0x0000FF, 0x563412, 0xFFFFFF};

void Put(std::vector<uint8_t>& b, size_t at, uint32_t value, int bytes = 4) {
  for (int k = 0; k < bytes; ++k) b[at + k] = (value >> (8 * k)) & 0xFF;
}

// A bitmap with a version 1 header; `colours`: the masks (compression 3), else the palette.
std::vector<uint8_t> Bmp(int32_t w, int32_t h, uint16_t bits, const std::vector<uint8_t>& data,
                         uint32_t compression = 0, const std::vector<uint32_t>& colours = {}) {
  const size_t offset = 54 + 4 * colours.size();
  std::vector<uint8_t> b(offset);
  Put(b, 0, 'B' | 'M' << 8, 2);
  Put(b, 2, static_cast<uint32_t>(offset + data.size()));
  Put(b, 10, static_cast<uint32_t>(offset));
  Put(b, 14, 40);
  Put(b, 18, static_cast<uint32_t>(w));
  Put(b, 22, static_cast<uint32_t>(h));
  Put(b, 26, 1, 2);
  Put(b, 28, bits, 2);
  Put(b, 30, compression);
  if (compression != 3) Put(b, 46, static_cast<uint32_t>(colours.size()));
  for (size_t i = 0; i < colours.size(); ++i) Put(b, 54 + 4 * i, colours[i]);
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

// kPicture's rows, bottom-up unless `topDown`, each pixel encoded by `pixel`, padded to 4 bytes.
std::vector<uint8_t> Rows(int bytesPerPixel, const std::function<uint32_t(uint32_t)>& pixel,
                          bool topDown = false) {
  std::vector<uint8_t> out;
  for (int r = 0; r < 2; ++r) {
    for (uint32_t colour : kPicture[topDown ? r : 1 - r]) {
      const uint32_t v = pixel(colour);
      for (int k = 0; k < bytesPerPixel; ++k) out.push_back((v >> (8 * k)) & 0xFF);
    }
    while (out.size() % 4) out.push_back(0);
  }
  return out;
}

uint32_t Bgr(uint32_t c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

// Ten bits a channel, red highest: no SDL pixel format has these masks.
uint32_t Rgb101010(uint32_t c) {
  auto ten = [c](int shift) { return (c >> shift & 0xFF) << 2 | (c >> shift & 0xFF) >> 6; };
  return ten(0) << 20 | ten(8) << 10 | ten(16);
}

class BitmapsTest : public TGameTest {
 protected:
  void TearDown() override { delete slot; }
  std::string Write(const std::vector<uint8_t>& bytes) {
    const std::string path = (dir / "Test.bmp").string();
    WriteFile(path, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    return path;
  }
  TSurface* Load(const std::vector<uint8_t>& bytes) {
    g.LoadSurface(Write(bytes).c_str(), &slot, 0xFF00FF);
    return slot;
  }
  const fs::path& dir = folder.Path();
  TSurface* slot = nullptr;
};

TEST_F(BitmapsTest, DamagedFilesLeaveTheSlotEmptyAndEveryFormatGivesTheSamePixelsAndKey) {
  // Damaged files leave the slot empty.
  const std::vector<uint8_t> rows = Rows(3, Bgr);
  const std::vector<uint8_t> valid = Bmp(3, 2, 24, rows);
  auto patched = [](std::vector<uint8_t> b, size_t at, uint32_t value, int bytes = 4) {
    Put(b, at, value, bytes);
    return b;
  };
  // Run-length data that ends the picture at once: only the header says how large it is.
  auto rle = [](int32_t w, int32_t h) { return Bmp(w, h, 8, {0, 1}, 1, {0}); };
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> damaged = {
      {"file header only", {valid.begin(), valid.begin() + 14}},
      {"cut inside the info header", {valid.begin(), valid.begin() + 40}},
      {"pixel data cut short", {valid.begin(), valid.end() - 1}},
      {"not a bitmap", patched(valid, 0, 'b' | 'm' << 8, 2)},
      {"unknown info header size", patched(valid, 14, 41)},
      {"pixel data offset inside the headers", patched(valid, 10, 20)},
      {"zero width", Bmp(0, 2, 24, rows)},
      {"zero height", Bmp(3, 0, 24, rows)},
      {"two planes", patched(valid, 26, 2, 2)},
      {"7 bits per pixel", patched(valid, 28, 7, 2)},
      {"run-length coding of 24-bit pixels", patched(valid, 30, 1)},
      {"unknown compression", patched(valid, 30, 9)},
      {"run-length rows stored top-down", rle(3, -2)},
      {"run-length picture wider than 16384", rle(16385, 1)},
      {"run-length picture taller than 16384", rle(1, 16385)},
      {"run-length picture of 16384 x 16384", rle(16384, 16384)},
      {"palette larger than its room",
       patched(Bmp(3, 2, 8, {0, 0, 0, 0, 0, 0, 0, 0}, 0, {0}), 46, 200)},
  };
  for (const auto& [name, bytes] : damaged) {
    slot = new TSurface(1, 1);
    EXPECT_EQ(Load(bytes), nullptr) << name;
  }
  // Every format gives the same pixels and the magenta key; spare bits hold random values.
  uint32_t junk = 0x5A;
  auto random = [&](int shift) { return (junk = junk * 73 + 41) << shift; };
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"24-bit", Bmp(3, 2, 24, Rows(3, Bgr))},
      {"24-bit top-down", Bmp(3, -2, 24, Rows(3, Bgr, true))},
      {"32-bit", Bmp(3, 2, 32, Rows(4, [&](uint32_t c) { return Bgr(c) | random(24); }))},
      {"32-bit bit fields", Bmp(3, 2, 32, Rows(4, [&](uint32_t c) { return Bgr(c) | random(24); }),
                                3, {0xFF0000, 0xFF00, 0xFF})},
      {"32-bit bit fields, 10-10-10",
       Bmp(3, 2, 32, Rows(4, [&](uint32_t c) { return Rgb101010(c) | random(30); }), 3,
           {0x3FF00000, 0x000FFC00, 0x000003FF})},
      {"16-bit 5-6-5", Bmp(3, 2, 16, Rows(2, [](uint32_t c) { return Rgb565FromColorRef(c); }), 3,
                           {0xF800, 0x07E0, 0x001F})},
      {"8-bit palette", Bmp(3, 2, 8, {3, 4, 5, 0, 0, 1, 2, 0}, 0, kPalette)},
      {"8-bit run-length",
       Bmp(3, 2, 8, {1, 3, 1, 4, 1, 5, 0, 0, 1, 0, 1, 1, 1, 2, 0, 1}, 1, kPalette)},
      // The bottom row as one literal run of three indices, the top row as a run of two that
      // alternates the two halves of its byte and a run of one.
      {"4-bit run-length",
       Bmp(3, 2, 4, {0, 3, 0x34, 0x50, 0, 0, 2, 0x01, 1, 0x20, 0, 1}, 2, kPalette)},
  };
  std::vector<uint16_t> picture;
  for (const auto& row : kPicture)
    for (uint32_t colour : row) picture.push_back(Rgb565FromColorRef(colour));
  for (const auto& [name, bytes] : cases) {
    ASSERT_NE(Load(bytes), nullptr) << name;
    ASSERT_EQ(std::pair(slot->Width(), slot->Height()), std::pair(3, 2)) << name;
    EXPECT_EQ(PixelsOf(*slot), picture) << name;
    EXPECT_EQ(slot->ColourKey(), 0xF81Fu) << name;
  }
}

// Every restore of lost surfaces reloads the slots: memory must not grow by a surface each time.
TEST_F(BitmapsTest, RefillingASlotReleasesTheSurfaceItHeld) {
  const std::string good = Write(Bmp(512, 512, 24, std::vector<uint8_t>(512 * 512 * 3, 0x40)));
  const std::string missing = (dir / "Missing.bmp").string();
  if (!HeapInUse()) GTEST_SKIP() << "the heap in use is not known on this system";
  auto inUse = [] { return *HeapInUse(); };
  g.LoadSurface(good.c_str(), &slot, 0xFF00FF);
  const size_t before = inUse();
  for (int i = 0; i < 20; ++i) {
    g.LoadSurface(good.c_str(), &slot, 0xFF00FF);
    ASSERT_NE(slot, nullptr);
    g.LoadSurface(missing.c_str(), &slot, 0xFF00FF);  // a failed load empties the slot too
    ASSERT_EQ(slot, nullptr);
  }
  g.LoadSurface(good.c_str(), &slot, 0xFF00FF);
  EXPECT_LT(inUse(), before + 512 * 512 * 2) << "grew by " << (inUse() - before) << " bytes";
}

TEST_F(BitmapsTest, ACursorLargerThan32By32DrawsOnlyItsCorner) {
  g.LoadCursorSurface(Write(Bmp(64, 48, 24, std::vector<uint8_t>(64 * 48 * 3, 0x80))).c_str());
  ASSERT_NE(g.CursorSurface, nullptr);
  g.DrawCursor(100, 200);
  const TInk ink = InkOf(*g.BackBuffer, 0);
  EXPECT_EQ(std::tuple(ink.Count, ink.Left, ink.Top, ink.Right, ink.Bottom),
            std::tuple(32 * 32, 100, 200, 131, 231));
  EXPECT_EQ(g.BackBuffer->Row(231)[131], Rgb565FromColorRef(0x808080));
  delete g.CursorSurface;
  g.CursorSurface = nullptr;
}

// The public bitmap suite: good files load; one picture in several encodings agrees.
TEST_F(BitmapsTest, BitmapSuite) {
  const fs::path suite = fs::path(KELVORA_SHARED_TESTDATA) / "bmpsuite";
  if (!fs::is_directory(suite / "g")) GTEST_SKIP() << "no bitmap suite";
  auto load = [&](const fs::path& file) {
    TSurface* s = nullptr;
    g.LoadSurface(file.string().c_str(), &s, 0xFF00FF);
    return std::unique_ptr<TSurface>(s);
  };
  for (const fs::directory_entry& e : fs::directory_iterator(suite / "g"))
    EXPECT_NE(load(e.path()), nullptr) << e.path().filename();
  for (const std::vector<const char*>& group : std::vector<std::vector<const char*>>{
           {"rgb24", "rgb24pal", "rgb32", "rgb32bf", "rgb32bfdef"},
           {"pal8", "pal8-0", "pal8os2", "pal8rle", "pal8topdown", "pal8v4", "pal8v5"},
           {"pal4", "pal4rle"},
           {"pal1", "pal1wb"},
           {"rgb16", "rgb16bfdef"},
           {"rgb16-565", "rgb16-565pal"}}) {
    const auto first = load(suite / "g" / (std::string(group[0]) + ".bmp"));
    ASSERT_NE(first, nullptr) << group[0];
    for (const char* name : group) {
      const auto other = load(suite / "g" / (std::string(name) + ".bmp"));
      ASSERT_TRUE(other && other->Width() == first->Width() && other->Height() == first->Height());
      EXPECT_TRUE(PixelsOf(*other) == PixelsOf(*first)) << name << " differs from " << group[0];
    }
  }
}

}  // namespace
