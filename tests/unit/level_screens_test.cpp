// The level intro and statistics screens, the level progress panel, and the shipped campaign.
#include "TestSupport.h"
#include "app/Main.h"
#include "base/Cp1250.h"
#include "base/IniFile.h"
#include "gfx/Text.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kLevels =
    "[Level1]\nText=První level na jeden řádek.\nStavet Studnu=0\nPenizeStart=1500\n[Level2]\n"
    "Text=Druhý level má text tak dlouhý, že se nevejde na jeden řádek úvodní obrazovky, a proto "
    "pokračuje na druhém.\n";

constexpr uint16_t kPaper = 0x39E7;
constexpr int kButtonX = 500, kButtonY = 680;  // inside the intro and statistics button

// A working folder with the level file, a game with a display, and plain pictures in the slots.
class LevelScreens : public TGameTest {
 protected:
  void SetUp() override {
    TGameTest::SetUp();
    WriteFile("Data/Level.dat", Utf8ToCp1250(kLevels));
    ASSERT_TRUE(FontLevel && FontLevel->Usable()) << "no font file for Arial CE";
  }
  void TearDown() override {
    delete menu;
    delete symbols;
  }

  // The first row from `from` with ink at the lines' start (the label the same in every level).
  int FirstInkRow(int from) const {
    const TSurface& b = *g.BackBuffer;
    for (int y = from; y < b.Height(); ++y)
      for (int x = 40; x < 110; ++x)
        if (b.Row(y)[x] != kPaper) return y;
    return -1;
  }
  // A light screen, for black text to show on.
  void Light() { std::fill_n(g.BackBuffer->Pixels(), 1024 * 768, uint16_t{0xFFFF}); }
  void Intro(int32_t level) {
    g.LevelNumber = level;
    g.LevelLoaded = false;
    g.LevelIntroScreen(0, 0, &menu, false);
  }

  TSurface* menu = PlainSurface(1415, 800, kPaper);
  TSurface* symbols = PlainSurface(452, 313, kPaper);
};

TEST_F(LevelScreens, TheIntroStartsTheLevelWonAtOnceByAnAllZeroGoalAndMakesRoomForItsText) {
  g.LevelIntroOpen = true;
  g.ShedStock[0] = 4;
  g.Date = TGameDate(9, 9, 2003);
  g.LevelIntroScreen(0, 0, &menu, false);
  EXPECT_EQ(std::tuple(g.LevelLoaded, g.Money, g.Levl.StavetStudnu), std::tuple(true, 1500, false));
  g.LevelIntroScreen(kButtonX, 649, &menu, true);  // one row above the button
  EXPECT_EQ(std::pair(g.LevelIntroOpen, g.InGame), std::pair(true, false));
  g.LevelIntroScreen(kButtonX, kButtonY, &menu, true);
  // The money the level's start, not the reset's 2000.
  EXPECT_EQ(std::tuple(g.InGame, g.LevelIntroOpen, g.Money, DateToText(g.Date), g.ShedStock[0],
                       g.OrderOfferTimer),
            std::tuple(true, false, 1500, "1.1.2002", 0, 7500u));
  g.CheckLevelGoal();  // the goal test that ends the level's first frame
  EXPECT_EQ(std::pair(g.LevelStatsOpen, g.InGame), std::pair(true, false));
  // A second line of text pushes the permission lines down by a line.
  Intro(1);
  const int oneLine = FirstInkRow(312);
  Intro(2);
  const int twoLines = FirstInkRow(312);
  ASSERT_GT(oneLine, 312);
  EXPECT_EQ(twoLines - oneLine, 25);
}

TEST_F(LevelScreens, TheStatisticsLeadOnAndTheProgressPanelTakesRoomOnlyForAllowedVegetables) {
  g.LevelNumber = 1;
  g.LevelLoaded = g.LevelStatsOpen = true;
  const uint64_t frames = Headless().FramesPresented();
  const uint64_t clock = Headless().NowNanoseconds();
  g.LevelStatsScreen(0, 0, &menu, &symbols, false);
  EXPECT_EQ(Headless().FramesPresented(), frames + 1);  // the banner, flipped at once
  EXPECT_GE(Headless().NowNanoseconds() - clock, 1'000'000'000u);
  EXPECT_TRUE(g.StatsBannerShown);
  g.LevelStatsScreen(0, 0, &menu, &symbols, false);
  EXPECT_EQ(Headless().FramesPresented(), frames + 1);
  g.LevelStatsScreen(kButtonX, kButtonY, &menu, &symbols, true);
  EXPECT_EQ(std::tuple(g.LevelNumber, g.LevelIntroOpen), std::tuple(2, true));
  EXPECT_FALSE(g.LevelStatsOpen || g.InGame || g.StatsBannerShown || g.LevelLoaded);
  // The end of the campaign leads back to the main menu.
  for (int32_t last : {2, INT32_MAX}) {  // there is no level 3; past INT32_MAX is nothing
    g.LevelIntroOpen = false;
    g.LevelNumber = last;
    g.LevelStatsOpen = true;
    g.StatsBannerShown = true;
    const uint64_t clock = Headless().NowNanoseconds();
    g.LevelStatsScreen(kButtonX, kButtonY, &menu, &symbols, true);
    EXPECT_GE(Headless().NowNanoseconds() - clock, 6'000'000'000u) << last;
    EXPECT_FALSE(g.LevelStatsOpen || g.LevelIntroOpen || g.InGame) << last;
    EXPECT_EQ(g.LevelNumber, last == 2 ? 3 : INT32_MAX) << last;
    bool quit = false;
    g.MainMenu(0, 0, &menu, false, &quit);
    EXPECT_EQ(g.LevelNumber, 1) << last;
  }
  // The progress panel's lines, drawn where expected: no room for vegetables not allowed.
  g.LevelNumber = 4;
  for (int i = 0; i < 4; ++i) {
    g.Levl.SaditZeleninu[i] = i % 2 == 1;
    g.Levl.Zelenina[i] = static_cast<uint32_t>(i + 1);
  }
  g.Levl.ObjednavkySplnene = 2;
  g.Levl.Penize = 900;
  Light();
  TSurface* noSurface = nullptr;
  g.ProgressPanel(0, 0, &noSurface, false);
  const std::vector<uint16_t> drawn = Screen();
  Light();
  ASSERT_NE(Screen(), drawn);
  const std::pair<const char*, int> lines[] = {{"Level 4", 245},
                                               {"Kedluben : 2", 283},
                                               {"Česnek : 4", 303},
                                               {"Objednávky : 2", 323},
                                               {"Peníze : 900", 343}};
  for (const auto& [utf8, y] : lines) {
    const std::string text = utf8;
    g.DrawTextN(text, 448, y, 0, g.BackBuffer, FontPanel, static_cast<int>(text.size()));
  }
  EXPECT_TRUE(Screen() == drawn);
}

}  // namespace

// The shipped campaign: ten levels or more, four orders each, complete and fitting their screens.
class ShippedCampaign : public LevelScreens {
 protected:
  static std::string Source(const char* name) {
    return Utf8ToCp1250(ReadFile(fs::path(KELVORA_SOURCE_DIR) / "data" / name));
  }
  // How far right the ink of a line drawn at x = 0 reaches.
  int InkWidth(std::string_view line, TFont* font) {
    TSurface s(1400, 60);
    std::fill_n(s.Pixels(), 1400 * 60, kPaper);
    g.DrawText(line, 0, 10, 0, &s, font);
    return InkOf(s, kPaper).Right + 1;
  }
};

TEST_F(ShippedCampaign, EveryLevelAndOrderIsCompleteAndFitsItsScreen) {
  WriteFile("Data/Level.dat", Source("Level.dat"));
  WriteFile("Data/Objednav.dat", Source("Objednav.dat"));
  const TIniFile levels("Data\\Level.dat");
  int32_t count = 0;
  while (!levels.ReadString("Level" + std::to_string(count + 1), "Text", "").empty()) ++count;
  ASSERT_GE(count, 10);
  for (int32_t level = 1; level <= count; ++level) {
    g.LoadLevel(level);
    const std::string briefing = Cp1250ToUtf8(g.Levl.Text);
    SCOPED_TRACE("level " + std::to_string(level));
    const auto lines = SplitTextLines(briefing, 89);
    // The money line, 380 + 25 L, stays clear of the button at y 650; lines end inside the frame.
    EXPECT_LE(lines.size(), 10u);
    for (std::string_view line : lines) EXPECT_LE(40 + InkWidth(line, FontLevel), 985) << line;
    EXPECT_GE(g.Levl.PenizeStart, 500);
    EXPECT_NE(std::ranges::count(g.Levl.SaditZeleninu, true), 0);
    for (int crop = 0; crop < 4; ++crop)  // the goal asks only for vegetables the level allows
      EXPECT_TRUE(g.Levl.SaditZeleninu[crop] || g.Levl.Zelenina[crop] == 0) << crop;
    for (int32_t number = 0; number < 4; ++number) {
      SCOPED_TRACE("order " + std::to_string(number));
      g.ReadOrder(level, number);
      const std::string request = Cp1250ToUtf8(OfferedOrder.Text);
      EXPECT_NE(request, "Bohužel žádná objednávka tu nyní není");
      const auto orderLines = SplitTextLines(request, 32);
      EXPECT_LE(orderLines.size(), 8u);
      for (std::string_view line : orderLines)
        EXPECT_LE(375 + InkWidth(line, FontPanel), 652) << line;
      EXPECT_GT(OfferedOrder.Cena, 0);
      EXPECT_GE(OfferedOrder.Mesice, 2);  // time for the slowest crop to ripen
      uint32_t pieces = 0;
      for (int crop = 0; crop < 4; ++crop) {
        pieces += OfferedOrder.Zelenina[crop];
        EXPECT_TRUE(g.Levl.SaditZeleninu[crop] || OfferedOrder.Zelenina[crop] == 0) << crop;
      }
      EXPECT_GT(pieces, 0u);
    }
  }
}
