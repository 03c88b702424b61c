// The language's bitmaps: Czech's patched, Czech's whole without a fitting patch, reloading.
#include "PatchMaker.h"
#include "TestSupport.h"
#include "app/Main.h"
#include "base/Files.h"
#include "game/DataFiles.h"
#include "game/WordedBitmaps.h"
#include "gfx/BitmapPatch.h"

namespace {

namespace fs = std::filesystem;

// What ExtractBitmap writes for `member`, read back and deleted as the game does.
std::string Extracted(const char* member) {
  if (!ExtractBitmap(member)) return "(not found)";
  const std::string bytes = ReadFile(WritePath(member));
  DeleteGameFile(member);
  return bytes;
}

// A 24-bit bottom-up bitmap of 37 × 20 pixels, grey but where `marks` (x, y) are red.
std::string Sheet(const std::vector<std::pair<int, int>>& marks, int width = 37) {
  const int height = 20, row = (width * 3 + 3) / 4 * 4;
  std::string bmp = "BM" + Le32(54 + row * height) + Le32(0) + Le32(54) + Le32(40) + Le32(width) +
                    Le32(height) + std::string{1, 0, 24, 0} + std::string(24, '\0');
  std::string pixels(static_cast<size_t>(row) * height, '\0');
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.replace(y * row + 3 * x, 3, "\x80\x80\x80");
  for (const auto& [x, y] : marks)
    pixels.replace((height - 1 - y) * row + 3 * x, 3, std::string_view("\0\0\xff", 3));
  return bmp + pixels;
}

const std::string kCzech = Sheet({{3, 4}, {30, 15}});
const std::string kEnglish = Sheet({{3, 4}, {30, 15}, {5, 5}, {6, 6}, {33, 18}});

std::string PatchOf(const std::string& base, const std::string& target) {
  std::string patch, error;
  EXPECT_TRUE(MakeBitmapPatch(base, target, patch, error)) << error;
  return patch;
}

struct TWordedBitmapsTest : ::testing::Test {
  ~TWordedBitmapsTest() override { SpeakLanguage("cs"); }

  // Czech's archive with a worded and a plain bitmap, English's catalogue, and `english` as
  // English's archive of pictures (none where empty).
  void Prepare(const std::string& english, const std::string& czechMenu = kCzech) {
    WriteFile("Data/Grafika.dat", Packed({{"Menu.bmp", czechMenu}, {"Pole.bmp", "Czech field"}}));
    const std::string catalogue = ReadFile(KELVORA_TEST_CATALOGUES "/catalogue.mo");
    ASSERT_FALSE(catalogue.empty());
    WriteFile("Data/Game-en.dat", Packed({{data_files::CatalogueMember, catalogue}}));
    if (!english.empty()) WriteFile("Data/Grafika-en.dat", english);
    ASSERT_TRUE(SpeakLanguage("en"));
  }
};

// English's patch, and spoilt: a rectangle partly outside, a changed pixel, a narrower sheet.
struct TPatches {
  std::string Whole = PatchOf(kCzech, kEnglish);
  std::string Outside = Changed(Whole, 20, 35);              // the first rectangle's left
  std::string WrongPixel = Changed(Whole, 20 + 12 + 54, 1);  // past the rectangle, a pixel
  std::string Narrower = PatchOf(Sheet({}, 36), Sheet({{1, 1}}, 36));

  static std::string Changed(std::string bytes, size_t at, char value) {
    bytes[at] = value;
    return bytes;
  }
};

TEST_F(TWordedBitmapsTest, TheLanguagesPatchIsDrawnOverCzechsBitmapAndOneThatDoesNotFitIsRefused) {
  TTestFolder folder("worded_bitmaps");
  Prepare(Packed({{"Menu.bmp.patch", PatchOf(kCzech, kEnglish)}}));
  EXPECT_TRUE(Extracted("Menu.bmp") == kEnglish);
  EXPECT_TRUE(Extracted("menu.BMP") == kEnglish);
  // A bitmap the language's archive has no patch of (one without words) is Czech's.
  EXPECT_EQ(Extracted("Pole.bmp"), "Czech field");
  EXPECT_EQ(Extracted("Nic.bmp"), "(not found)");
  // Back in Czech, its own pictures.
  ASSERT_TRUE(SpeakLanguage("cs"));
  EXPECT_TRUE(Extracted("Menu.bmp") == kCzech);
  // A patch that does not fit is refused, says why and leaves Czech's bitmap whole.
  const TPatches p;
  std::string out = "untouched";
  for (const auto& [czech, patch, result] :
       {std::tuple{kCzech, p.Whole.substr(0, p.Whole.size() - 1), TPatchResult::Unreadable},
        {kCzech, p.Whole + "x", TPatchResult::Unreadable},
        {kCzech, p.Outside, TPatchResult::Outside},
        {kCzech, p.Narrower, TPatchResult::OtherSheet},
        {kCzech, p.WrongPixel, TPatchResult::WrongSum},
        {Sheet({{0, 0}}), p.Whole, TPatchResult::WrongSum}})
    EXPECT_EQ(ApplyBitmapPatch(czech, patch, out), result);
  EXPECT_EQ(out, "untouched");
  EXPECT_EQ(ApplyBitmapPatch(kCzech, p.Whole, out), TPatchResult::Applied);
  EXPECT_TRUE(out == kEnglish);
  // A missing, damaged or foreign patch leaves Czech's bitmap whole.
  const std::string& patch = p.Whole;
  const std::string whole = Packed({{"Menu.bmp.patch", patch}, {"Main.bmp.patch", patch}});
  const std::pair<const char*, std::string> cases[] = {
      {"missing", ""},
      {"cut short in its last member", whole.substr(0, whole.size() - 3)},
      {"cut short in its directory", whole.substr(0, 40)},
      {"not an archive", "BM these are no archive's bytes at all"},
      {"without the patch", Packed({{"Main.bmp.patch", patch}})},
      {"the patch cut short", Packed({{"Menu.bmp.patch", patch.substr(0, patch.size() - 1)}})},
      {"the patch longer", Packed({{"Menu.bmp.patch", patch + "x"}})},
      {"the patch empty", Packed({{"Menu.bmp.patch", ""}})},
      {"a rectangle outside the sheet", Packed({{"Menu.bmp.patch", p.Outside}})},
      {"a damaged pixel", Packed({{"Menu.bmp.patch", p.WrongPixel}})},
      {"the patch of a sheet of another size", Packed({{"Menu.bmp.patch", p.Narrower}})},
  };
  for (const auto& [name, english] : cases) {
    TTestFolder folder("worded_bitmaps_damaged");
    Prepare(english);
    EXPECT_TRUE(Extracted("Menu.bmp") == kCzech) << name;
  }
  // Czech's bitmap other than the one the patch was made from, or cut short.
  for (const std::string& czech :
       {Sheet({{3, 4}, {30, 15}, {0, 0}}), kCzech.substr(0, kCzech.size() - 1)}) {
    TTestFolder folder("worded_bitmaps_other_czech");
    Prepare(whole, czech);
    EXPECT_TRUE(Extracted("Menu.bmp") == czech) << czech.size();
  }
  // A folder where the archive should be.
  TTestFolder lastFolder("worded_bitmaps_folder");
  Prepare("");
  fs::create_directories("Data/Grafika-en.dat");
  EXPECT_TRUE(Extracted("Menu.bmp") == kCzech);
}

// In every built language, each patched bitmap is the language's own drawing, byte for byte.
TEST_F(TWordedBitmapsTest, TheBuiltPatchesGiveEveryLanguagesWholeBitmaps) {
  const fs::path drawn = KELVORA_BUILT_PICTURES;
  if (!fs::is_directory(drawn)) GTEST_SKIP() << "this build draws no pictures";
  int languages = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(drawn)) {
    if (!entry.is_directory()) continue;
    const std::string code = entry.path().filename().string();
    TTestFolder folder("worded_bitmaps_built_" + code);
    for (const std::string& file :
         {std::string("Grafika.dat"), "Grafika-" + code + ".dat", "Game-" + code + ".dat"})
      fs::copy_file(fs::path(KELVORA_BUILT_DATA) / file, fs::path("Data") / file);
    ASSERT_TRUE(SpeakLanguage(code));
    int sheets = 0;
    for (const fs::directory_entry& bitmap : fs::directory_iterator(entry.path())) {
      if (bitmap.path().extension() != ".bmp") continue;
      const std::string name = bitmap.path().filename().string();
      const std::string own = ReadFile(bitmap.path());
      EXPECT_TRUE(Extracted(name.c_str()) == own) << code << " " << name;
      ++sheets;
    }
    EXPECT_EQ(sheets, 8) << code;
    ++languages;
  }
  EXPECT_GE(languages, 1);
}

// A surface's pixels; none for an empty slot.
std::vector<uint16_t> Pixels(const TSurface* surface) {
  return surface ? PixelsOf(*surface) : std::vector<uint16_t>{};
}

// After a change of language LoadAllBitmaps loads its bitmaps, of Czech's sizes, and back.
TEST_F(TWordedBitmapsTest, AfterAChangeOfLanguageLoadAllBitmapsLoadsTheNewLanguagesPictures) {
  TTestFolder folder("worded_bitmaps_built");
  for (const char* file : {"Grafika.dat", "Grafika-en.dat", "Game-en.dat"})
    fs::copy_file(fs::path(KELVORA_BUILT_DATA) / file, fs::path("Data") / file);
  // The sizes of the surfaces LoadAllBitmaps fills (the logo and the farewell are loaded where
  // they are shown), in Czech and in English.
  auto sizes = [] {
    std::vector<std::pair<int, int>> all;
    for (const TBitmapSlot& slot : BitmapSlots()) {
      if (*slot.Slot) all.emplace_back((*slot.Slot)->Width(), (*slot.Slot)->Height());
    }
    return all;
  };
  LoadAllBitmaps();
  const std::vector<uint16_t> czechMenu = Pixels(MenuSurface), czechField = Pixels(FieldSurface);
  const auto czechSizes = sizes();
  ASSERT_FALSE(czechMenu.empty());
  ASSERT_TRUE(SpeakLanguage("en"));
  LoadAllBitmaps();
  EXPECT_EQ(sizes(), czechSizes);
  EXPECT_NE(Pixels(MenuSurface), czechMenu);
  EXPECT_EQ(Pixels(FieldSurface), czechField);
  ASSERT_TRUE(SpeakLanguage("cs"));
  LoadAllBitmaps();
  EXPECT_EQ(Pixels(MenuSurface), czechMenu);
  for (const TBitmapSlot& slot : BitmapSlots()) {
    delete *slot.Slot;
    *slot.Slot = nullptr;
  }
}

}  // namespace
