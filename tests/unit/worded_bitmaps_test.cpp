// The bitmaps of the language in use: taken from its own archive of pictures where that holds
// them whole, from Grafika.dat where it does not (missing, cut short, not an archive, without
// the member) or the language is Czech; and the game's surfaces loaded again after a change of
// language.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "TestFolder.h"
#include "app/Main.h"
#include "archive/Archive.h"
#include "base/Files.h"
#include "game/DataFiles.h"
#include "game/Language.h"
#include "game/WordedBitmaps.h"

namespace {

namespace fs = std::filesystem;

std::string Pack(const std::vector<TArchiveMember>& members) {
  std::string archive, error;
  EXPECT_TRUE(PackArchive(members, archive, error)) << error;
  return archive;
}

// What ExtractBitmap writes for `member`, read back and deleted as the game does.
std::string Extracted(const char* member) {
  if (!ExtractBitmap(member)) return "(not found)";
  const std::string bytes = ReadFile(WritePath(member));
  DeleteGameFile(member);
  return bytes;
}

struct TWordedBitmapsTest : ::testing::Test {
  ~TWordedBitmapsTest() override { SpeakLanguage("cs"); }

  // Czech's archive with a worded and a plain bitmap, English's catalogue, and `english` as
  // English's archive of pictures (none where empty).
  void Prepare(const std::string& english) {
    WriteFile("Data/Grafika.dat", Pack({{"Menu.bmp", "Czech menu"}, {"Pole.bmp", "Czech field"}}));
    const std::string catalogue = ReadFile(KELVORA_TEST_CATALOGUES "/catalogue.mo");
    ASSERT_FALSE(catalogue.empty());
    WriteFile("Data/Game-en.dat", Pack({{data_files::CatalogueMember, catalogue}}));
    if (!english.empty()) WriteFile("Data/Grafika-en.dat", english);
    ASSERT_TRUE(SpeakLanguage("en"));
  }
};

TEST_F(TWordedBitmapsTest, TheLanguagesOwnBitmapIsTakenAndCzechsFillsTheRest) {
  TTestFolder folder("worded_bitmaps");
  Prepare(Pack({{"Menu.bmp", "English menu"}}));
  EXPECT_EQ(BitmapArchive("en", "Menu.bmp"), data_files::LanguageGraphics("en"));
  EXPECT_EQ(Extracted("Menu.bmp"), "English menu");
  EXPECT_EQ(Extracted("menu.BMP"), "English menu");
  // A bitmap the language's archive lacks (one without words) is Czech's.
  EXPECT_EQ(BitmapArchive("en", "Pole.bmp"), data_files::Graphics);
  EXPECT_EQ(Extracted("Pole.bmp"), "Czech field");
  EXPECT_EQ(Extracted("Nic.bmp"), "(not found)");
  // Back in Czech, its own pictures.
  ASSERT_TRUE(SpeakLanguage("cs"));
  EXPECT_EQ(BitmapArchive("cs", "Menu.bmp"), data_files::Graphics);
  EXPECT_EQ(Extracted("Menu.bmp"), "Czech menu");
}

TEST_F(TWordedBitmapsTest, AMissingOrDamagedLanguageArchiveFallsBackToCzech) {
  const std::string whole = Pack({{"Menu.bmp", "English menu"}, {"Main.bmp", "English main"}});
  const std::pair<const char*, std::string> cases[] = {
      {"missing", ""},
      {"cut short in its last member", whole.substr(0, whole.size() - 3)},
      {"cut short in its directory", whole.substr(0, 40)},
      {"not an archive", "BM these are no archive's bytes at all"},
  };
  for (const auto& [name, english] : cases) {
    TTestFolder folder("worded_bitmaps_damaged");
    Prepare(english);
    EXPECT_EQ(BitmapArchive("en", "Menu.bmp"), data_files::Graphics) << name;
    EXPECT_EQ(Extracted("Menu.bmp"), "Czech menu") << name;
    SpeakLanguage("cs");
  }
  // A folder where the archive should be.
  TTestFolder folder("worded_bitmaps_folder");
  Prepare("");
  fs::create_directories("Data/Grafika-en.dat");
  EXPECT_EQ(Extracted("Menu.bmp"), "Czech menu");
}

// The surfaces' pixels, row by row.
std::vector<uint16_t> Pixels(const TSurface* surface) {
  std::vector<uint16_t> pixels;
  if (!surface) return pixels;
  for (int y = 0; y < surface->Height(); ++y) {
    const uint16_t* row = surface->Row(y);
    pixels.insert(pixels.end(), row, row + surface->Width());
  }
  return pixels;
}

// The built pictures: English's worded bitmaps have Czech's sizes and other words; loading the
// bitmaps again after a change of language brings the new language's, and back.
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
