// The language the game speaks: the catalogue reader (on catalogues Debian's msgfmt compiles from
// tests/data/catalogue.po in both byte orders, and on damaged copies), the catalogue of a
// language's game data put in use, and Czech kept wherever that data is missing, damaged or asked
// for by a code that is none.
#include <cstdlib>

#include "TestSupport.h"
#include "base/Catalogue.h"
#include "base/Cp1250.h"
#include "base/IniFile.h"
#include "base/Translation.h"
#include "game/DataFiles.h"
#include "game/Money.h"
#include "platform/SystemLanguages.h"

namespace {

namespace fs = std::filesystem;

const std::string kLittle = KELVORA_TEST_CATALOGUES "/catalogue.mo";
const std::string kBig = KELVORA_TEST_CATALOGUES "/catalogue-big.mo";

TEST(Catalogue, FindsEachTextInEitherByteOrderDamagedDataReadsAsNoneAndTrUsesIt) {
  for (const std::string& path : {kLittle, kBig}) {
    SCOPED_TRACE(path);
    const std::string data = ReadFile(path);
    ASSERT_FALSE(data.empty());
    TCatalogue catalogue;
    ASSERT_TRUE(catalogue.Read(data));
    EXPECT_EQ(*catalogue.Find("Peníze : "), "Money : ");
    EXPECT_EQ(*catalogue.Find("Ano"), "Aye");
    EXPECT_EQ(*catalogue.Find("button\004Ano"), "Yes");
    EXPECT_EQ(*catalogue.Find("%d rostlina"), "%d plant");
    // Untranslated, fuzzy, the header's empty text, and a text that is not there.
    EXPECT_EQ(catalogue.Find("Nepřeloženo"), nullptr);
    EXPECT_EQ(catalogue.Find("Studna : Ano"), nullptr);
    EXPECT_EQ(catalogue.Find(""), nullptr);
    EXPECT_EQ(catalogue.Find("Peníze"), nullptr);
    EXPECT_EQ(catalogue.Size(), 5u);
  }
  // Damaged data reads as no catalogue.
  const std::string whole = ReadFile(kLittle);
  ASSERT_GT(whole.size(), 28u);
  TCatalogue catalogue;
  // Cut short anywhere before its last text ends: the tables or texts run past the end.
  for (size_t size = 0; size < whole.size(); ++size) {
    ASSERT_TRUE(catalogue.Read(whole));
    const bool read = catalogue.Read(whole.substr(0, size));
    // The last text's NUL terminator is the only byte that may go.
    ASSERT_TRUE(size + 1 == whole.size() || !read) << size;
    ASSERT_TRUE(read || catalogue.Size() == 0u) << size;
  }
  // Another file, a later major revision, and a text table pointing past the end.
  EXPECT_FALSE(catalogue.Read(std::string(64, 'x')));
  std::string later = whole;
  later[6] = 2;  // revision 2.0, little-endian: bytes 4-7, the major number in the high half
  EXPECT_FALSE(catalogue.Read(later));
  std::string wild = whole;
  wild[16] = wild[17] = wild[18] = wild[19] = '\xff';  // the translations' table offset
  EXPECT_FALSE(catalogue.Read(wild));
  EXPECT_EQ(catalogue.Find("Ano"), nullptr);
  // The game's texts: translated where the catalogue in use has them, in code page 1250, and in
  // Czech again once the catalogue is put away.
  // The other tests' texts are Czech, whatever this one stops at.
  struct TBackToCzech {
    ~TBackToCzech() { UseCatalogue(TCatalogue()); }
  } backToCzech;
  TCatalogue english;
  ASSERT_TRUE(english.Read(ReadFile(kLittle)));
  const char* money = "Peníze : ";
  const char* harvest = "Sklidit";
  const char* untranslated = "Nepřeloženo";
  EXPECT_EQ(Tr(money), money);
  UseCatalogue(english);
  EXPECT_EQ(Tr(money), "Money : ");
  EXPECT_EQ(Tr(harvest), "Zbiór");
  EXPECT_EQ(Tr(untranslated), untranslated);
  UseCatalogue(TCatalogue());
  EXPECT_EQ(Tr(money), "Peníze : ");
  EXPECT_EQ(Tr(harvest), "Sklidit");
}

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
  const std::string catalogue = ReadFile(kLittle);
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

TEST_F(TLanguageTest, ThePlayersChoiceIsKeptAndEveryLanguageOfTheDataFolderIsOffered) {
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
  // A sixth language is its game data and nothing else: dropped into the Data folder (here the
  // tests' pseudo-language), it is offered by its own name and spoken.
  const std::string mo = ReadFile(KELVORA_TEST_CATALOGUES "/pseudo.mo");
  TCatalogue pseudo;
  ASSERT_TRUE(pseudo.Read(mo));
  ASSERT_NE(pseudo.Find("čeština"), nullptr);
  WriteFile("Data/Game-qq.dat", Packed({{"Texty.mo", mo}}));
  WriteFile("Data/Game-.dat", Packed({{"Texty.mo", mo}}));  // no code: not a language
  const std::vector<TOfferedLanguage> withNew = OfferedLanguages();
  ASSERT_NE(Offered(withNew, "qq"), nullptr);
  EXPECT_EQ(Offered(withNew, "qq")->OwnName, *pseudo.Find("čeština"));
  EXPECT_EQ(Offered(withNew, ""), nullptr);
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
