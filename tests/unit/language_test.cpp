// The language the game speaks: the catalogue of a language's game data put in use, and Czech
// kept wherever that data is missing, damaged or asked for by a code that is none.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestFolder.h"
#include "archive/Archive.h"
#include "base/Cp1250.h"
#include "base/Translation.h"
#include "game/Language.h"
#include "game/Records.h"

namespace {

namespace fs = std::filesystem;

// Whatever a test stops at, the other tests' texts are Czech.
struct TLanguageTest : ::testing::Test {
  ~TLanguageTest() override { SpeakLanguage("cs"); }
};

std::string Archive(const std::string& member, const std::string& bytes) {
  std::string archive, error;
  EXPECT_TRUE(PackArchive({{member, bytes}}, archive, error)) << error;
  return archive;
}

TEST_F(TLanguageTest, TheBuiltEnglishDataTranslatesTheGame) {
  TTestFolder folder("language_built");
  fs::copy_file(fs::path(KELVORA_BUILT_DATA) / "Game-en.dat", "Data/Game-en.dat");
  ASSERT_TRUE(SpeakLanguage("en"));
  EXPECT_EQ(SpokenLanguage(), "en");
  EXPECT_EQ(Tr("Peníze : "), "Money : ");
  EXPECT_EQ(CropName(0), "Cauliflower");
  ASSERT_TRUE(SpeakLanguage("cs"));
  EXPECT_EQ(SpokenLanguage(), "cs");
  EXPECT_EQ(Tr("Peníze : "), Utf8ToCp1250("Peníze : "));
  EXPECT_EQ(CropName(0), "Kv\xECt\xE1k");
}

TEST_F(TLanguageTest, WithoutAWholeCatalogueTheGameStaysCzech) {
  TTestFolder folder("language_faults");
  const std::string catalogue = ReadFile(KELVORA_TEST_CATALOGUES "/catalogue.mo");
  ASSERT_FALSE(catalogue.empty());
  const std::string archive = Archive("Texty.mo", catalogue);
  WriteFile("Data/Game-en.dat", archive);
  WriteFile("Data/Game-cut.dat", archive.substr(0, archive.size() - 10));
  WriteFile("Data/Game-other.dat", Archive("Level.dat", catalogue));
  WriteFile("Data/Game-bad.dat", Archive("Texty.mo", catalogue.substr(0, 40)));
  // A code that would lead out of the Data folder, to a whole catalogue.
  fs::create_directories("Data/Game-x");
  WriteFile("outside.dat", archive);
  const std::string czech = Utf8ToCp1250("Peníze : ");
  for (const char* code : {"xx", "cut", "other", "bad", "", "x/../../outside"}) {
    ASSERT_TRUE(SpeakLanguage("en"));
    ASSERT_EQ(Tr("Peníze : "), "Money : ");
    EXPECT_FALSE(SpeakLanguage(code)) << code;
    EXPECT_EQ(Tr("Peníze : "), czech) << code;
    EXPECT_EQ(SpokenLanguage(), "cs") << code;
  }
}

}  // namespace
