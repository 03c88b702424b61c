// The language the game speaks: the catalogue of a language's game data put in use, and Czech
// kept wherever that data is missing, damaged or asked for by a code that is none.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "base/Cp1250.h"
#include "base/IniFile.h"
#include "base/Translation.h"
#include "game/DataFiles.h"
#include "game/Game.h"
#include "game/GameDate.h"
#include "game/Language.h"
#include "game/Money.h"
#include "game/Records.h"
#include "platform/SystemLanguages.h"

namespace {

namespace fs = std::filesystem;

// A folder holding the built game data of every language. Whatever a test stops at, the other
// tests' texts are Czech.
struct TLanguageTest : ::testing::Test {
  TLanguageTest() { CopyBuiltLanguages(); }
  ~TLanguageTest() override { SpeakLanguage("cs"); }
  TTestFolder folder{"language"};
};

// The language of `code` among those offered, or none.
const TOfferedLanguage* Offered(const std::vector<TOfferedLanguage>& offered, const char* code) {
  for (const TOfferedLanguage& l : offered)
    if (l.Code == code) return &l;
  return nullptr;
}

TEST_F(TLanguageTest, TheBuiltLanguagesTranslateTheGame) {
  ASSERT_TRUE(SpeakLanguage("en"));
  EXPECT_EQ(SpokenLanguage(), "en");
  EXPECT_EQ(Tr("Peníze : "), "Money : ");
  EXPECT_EQ(CropName(0), "Cauliflower");
  // The data files' texts are found by what they say, in code page 1250; one the catalogue
  // does not have (an order written by the key 3) stays as it stands, given in UTF-8.
  const std::string placeholder = "Bohužel žádná objednávka tu nyní není";
  EXPECT_EQ(TrText(Utf8ToCp1250(placeholder)), "Sorry, there is no order here right now");
  const std::string written = "Soukromý podnikatel z Ostravy potřebuje 40 kusů mrkve.";
  EXPECT_EQ(TrText(Utf8ToCp1250(written)), written);
  // The messages the game writes rather than draws are UTF-8, their fields filled in one pass.
  EXPECT_EQ(FillForm(Tr("Soubor „{file}“ neexistuje."), {{"{file}", "{file}ř.dat"}}),
            "The file “{file}ř.dat” does not exist.");
  // Dates and amounts as English writes them; Czech's stay as they always were.
  EXPECT_EQ(DateToText({31, 12, 2002}), "31/12/2002");
  EXPECT_EQ(MoneyToText(1234567), "1,234,567");
  EXPECT_EQ(MoneyToText(-1000), "-1,000");
  EXPECT_EQ(MoneyToText(999), "999");
  // Ukrainian groups an amount with a no-break space (two bytes in UTF-8), Vietnamese with dots;
  // their data texts come out in their own letters.
  ASSERT_TRUE(SpeakLanguage("uk"));
  EXPECT_EQ(MoneyToText(-1234567), "-1\u00A0234\u00A0567");
  EXPECT_EQ(CropName(2), "Морква");
  ASSERT_TRUE(SpeakLanguage("vi"));
  EXPECT_EQ(DateToText({31, 12, 2002}), "31/12/2002");
  EXPECT_EQ(MoneyToText(1234567), "1.234.567");
  ASSERT_TRUE(SpeakLanguage("cs"));
  EXPECT_EQ(TrText(Utf8ToCp1250(placeholder)), placeholder);
  EXPECT_EQ(DateToText({1, 1, 2002}), "1.1.2002");
  EXPECT_EQ(MoneyToText(-1234567), "-1234567");
  EXPECT_EQ(FillForm(Tr("{slot}: {summary}."), {{"{summary}", "b"}, {"{slot}", "a"}, {"", "x"}}),
            "a: b.");
  EXPECT_EQ(SpokenLanguage(), "cs");
  EXPECT_EQ(Tr("Peníze : "), "Peníze : ");
  EXPECT_EQ(CropName(0), "Květák");
}

TEST_F(TLanguageTest, WithoutAWholeCatalogueTheGameStaysCzech) {
  const std::string catalogue = ReadFile(KELVORA_TEST_CATALOGUES "/catalogue.mo");
  ASSERT_FALSE(catalogue.empty());
  const std::string archive = Packed({{"Texty.mo", catalogue}});
  WriteFile("Data/Game-en.dat", archive);
  WriteFile("Data/Game-cut.dat", archive.substr(0, archive.size() - 10));
  WriteFile("Data/Game-other.dat", Packed({{"Level.dat", catalogue}}));
  WriteFile("Data/Game-bad.dat", Packed({{"Texty.mo", catalogue.substr(0, 40)}}));
  // A code that would lead out of the Data folder, to a whole catalogue.
  fs::create_directories("Data/Game-x");
  WriteFile("outside.dat", archive);
  const std::string czech = "Peníze : ";
  for (const char* code : {"xx", "cut", "other", "bad", "", "x/../../outside"}) {
    ASSERT_TRUE(SpeakLanguage("en"));
    ASSERT_EQ(Tr("Peníze : "), "Money : ");
    EXPECT_FALSE(SpeakLanguage(code)) << code;
    EXPECT_EQ(Tr("Peníze : "), czech) << code;
    EXPECT_EQ(SpokenLanguage(), "cs") << code;
  }
}

TEST_F(TLanguageTest, TheFirstSystemLanguageTheGameHasIsSpokenAndOnlyASpokenOneIsChosen) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"fr_FR.UTF-8", "de-AT", "en"}, "de"},  // with a country and "-", as browsers write it
      {{"en_GB.UTF-8@euro"}, "en"},
      {{"pt_BR", "fr"}, "cs"},  // none the game has
      {{"cs-CZ", "en"}, "cs"},  // Czech asked for first
      {{"C", "", "../en"}, "cs"},
      {{}, "cs"},
  };
  for (const auto& [system, spoken] : cases) {
    SpeakLanguage("pl");
    SpeakSystemLanguage(system);
    EXPECT_EQ(SpokenLanguage(), spoken) << system.size();
  }
  // A language spoken again by its own code stays spoken. A press on the options screen's row on
  // a language whose data went since the row was listed leaves the language spoken as it was, and
  // keeps no choice.
  ASSERT_TRUE(SpeakLanguage("de"));
  ASSERT_TRUE(SpeakLanguage(SpokenLanguage()));
  EXPECT_EQ(SpokenLanguage(), "de");
  TGame game;
  ASSERT_TRUE(game.InitDisplay(nullptr, 1024, 768, 16));
  TSurface* menu = new TSurface(1415, 800);
  game.OptionsOpen = true;
  game.OptionsScreen(0, 0, &menu, false, false, false);  // lists the row
  fs::remove("Data/Game-pl.dat");
  game.OptionsScreen(525, 372, &menu, true, false, false);  // "polski"
  EXPECT_EQ(SpokenLanguage(), "de");
  EXPECT_EQ(ChosenLanguage(), "");
  delete menu;
}

TEST_F(TLanguageTest, ThePlayersChoiceIsKeptBesideTheOtherSettings) {
  EXPECT_EQ(ChosenLanguage(), "");
  {
    TIniFile settings(data_files::Settings);
    ASSERT_TRUE(settings.WriteInteger("Hlasitost", "Zvuk", 17));
  }
  ASSERT_TRUE(KeepChosenLanguage("sk"));
  EXPECT_EQ(ChosenLanguage(), "sk");
  const TIniFile settings(data_files::Settings);
  EXPECT_EQ(settings.ReadInteger("Hlasitost", "Zvuk", 0), 17);
  // The options screen offers Czech and every language of the Data folder, by its own name.
  const std::vector<TOfferedLanguage> offered = OfferedLanguages();
  ASSERT_GE(offered.size(), 5u);
  EXPECT_EQ(offered[0].Code, "cs");
  EXPECT_EQ(offered[0].OwnName, "čeština");
  ASSERT_NE(Offered(offered, "de"), nullptr);
  EXPECT_EQ(Offered(offered, "de")->OwnName, "Deutsch");
  fs::remove("Data/Game-de.dat");
  EXPECT_EQ(OfferedLanguages().size(), offered.size() - 1);
}

// A sixth language is its game data and nothing else: dropped into the Data folder (here the
// tests' pseudo-language), it is offered by its own name and spoken.
TEST_F(TLanguageTest, ANewLanguageNeedsNoChangeToTheGame) {
  const std::string mo = ReadFile(KELVORA_TEST_CATALOGUES "/pseudo.mo");
  TCatalogue pseudo;
  ASSERT_TRUE(pseudo.Read(mo));
  ASSERT_NE(pseudo.Find("čeština"), nullptr);
  WriteFile("Data/Game-qq.dat", Packed({{"Texty.mo", mo}}));
  WriteFile("Data/Game-.dat", Packed({{"Texty.mo", mo}}));  // no code: not a language
  const std::vector<TOfferedLanguage> offered = OfferedLanguages();
  ASSERT_NE(Offered(offered, "qq"), nullptr);
  EXPECT_EQ(Offered(offered, "qq")->OwnName, *pseudo.Find("čeština"));
  EXPECT_EQ(Offered(offered, ""), nullptr);
  ASSERT_TRUE(SpeakLanguage("qq"));
  EXPECT_EQ(Tr("Peníze : "), *pseudo.Find("Peníze : "));
}

#ifndef _WIN32
// The locale's languages in GNU gettext's order; the C locale asks for none. (Windows asks its
// interface's languages instead.)
TEST(TSystemLanguages, TheLocaleNamesThem) {
  const char* names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
  // The four variables' values (none where null), and the languages they ask for.
  const std::pair<std::array<const char*, 4>, std::vector<std::string>> cases[] = {
      {{nullptr, nullptr, nullptr, "de_DE.UTF-8"}, {"de_DE.UTF-8"}},
      {{"sk:en", nullptr, "pl_PL.UTF-8", "de_DE.UTF-8"}, {"sk", "en", "pl_PL.UTF-8"}},
      {{nullptr, "en_US.UTF-8", "pl_PL.UTF-8", "de_DE.UTF-8"}, {"en_US.UTF-8"}},
      {{"sk", "C.UTF-8", nullptr, "de_DE.UTF-8"}, {}},
      {{"sk", nullptr, nullptr, nullptr}, {}},
  };
  std::vector<std::pair<std::string, std::string>> kept;
  for (const char* name : names)
    if (const char* value = std::getenv(name)) kept.emplace_back(name, value);
  for (const auto& [values, expected] : cases) {
    for (int i = 0; i < 4; ++i) values[i] ? setenv(names[i], values[i], 1) : unsetenv(names[i]);
    EXPECT_EQ(platform::SystemLanguages(), expected) << (values[3] ? values[3] : "");
  }
  for (const char* name : names) unsetenv(name);
  for (const auto& [name, value] : kept) setenv(name.c_str(), value.c_str(), 1);
}
#endif

}  // namespace
