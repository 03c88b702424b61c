// Saved games: a saved game the game wrote, a save and load that restores the game exactly,
// damaged files refused without a change, and the save and load screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "SystemSupport.h"
#include "TestSupport.h"
#include "game/Game.h"
#include "gfx/Text.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kFileBytes = 14196;

// A saved game the game wrote on the fourth day of level 1.
const std::string kGoldenSave = KELVORA_SOURCE_DIR "/tests/data/level1.sav";

void PutValue(std::string& b, size_t at, size_t width, uint64_t v) {
  for (size_t i = 0; i < width; ++i) b.at(at + i) = char(uint8_t(v >> (8 * i)));
}

// A fresh folder with a Data folder, made before the game objects and removed after them.
class SaveGameTest : public ::testing::Test {
 protected:
  // A game in which every saved member holds a value of its own.
  static void FillKnownGame(TGame& g) {
    g.OrderActive = true;
    g.Date = TGameDate(17, 5, 2003);
    g.Date.Tick = 42;
    g.OrderDeadline = TGameDate(31, 6, 2003);  // kept day numbers may name no real day
    g.CurrentOrder = {1300, -250, {50, 0, 40, 7}, 12, "text not stored"};
    for (int i = 0; i < 4; ++i) g.ShedStock[i] = i + 1;
    g.OrdersDone = 5;
    g.Money = 123456;
    g.WellBuilt = true;
    g.Levl = {3, {10, 20, 30, 40}, 5000, true, 1500, {true, false, true, false}, 0, "unsaved", 2};
    g.LevelNumber = 3;
    g.OrderIndex = 2;
    g.OrderOfferTimer = 0x00ABCDEF;
    g.Pipe[3][4] = g.SprinklerOn[3][4] = true;
    g.SprinklerFrame[3][4] = 4;
    g.SprinklerCycles[3][4] = 5;
    g.SprinklerTick[3][4] = 3;
    g.Field[1][0].Owned = true;
    // Garlic at stage 5, dead; the members in the file's order.
    g.Field[23][12] = {true, true, 25, 1700, 3, 3, 5, {}, 42.5, false, true, {}, 13.89};
  }
  // Saves `g` under a game path and returns the bytes of the file that path names here.
  static std::string Saved(TGame& g, const std::string& gamePath = "Data\\Save1.dat",
                           const fs::path& file = "Data/Save1.dat") {
    EXPECT_TRUE(g.SaveGameFile(gamePath));
    return ReadFile(file);
  }

  TTestFolder folder_{"saves"};
};

// A saved game written by the game at the start of level 1 (kept in tests/data): it loads with
// the values it holds and saves back to the very same bytes; so does every saved member.
TEST_F(SaveGameTest, SavedGamesLoadWithEveryMemberAndSaveBackToTheirOwnBytes) {
  const std::string golden = ReadFile(kGoldenSave);
  ASSERT_EQ(golden.size(), kFileBytes) << kGoldenSave;
  TGame g;
  g.Money = 5;
  g.Field[4][4].Owned = g.Pipe[4][4] = true;
  ASSERT_TRUE(g.LoadGameFile(kGoldenSave));
  EXPECT_FALSE(g.OrderActive);
  EXPECT_EQ(DateToText(g.Date), "4.1.2002");
  EXPECT_EQ(g.Date.Tick, 2);
  EXPECT_EQ(g.Money, 2000);
  EXPECT_EQ(g.LevelNumber, 1);
  EXPECT_EQ(g.OrderIndex, 0);
  EXPECT_EQ(g.OrderOfferTimer, 7198u);
  EXPECT_EQ(g.Levl.Zelenina[0], 5u);
  EXPECT_EQ(g.Levl.PenizeStart, 2000);
  EXPECT_FALSE(g.Levl.StavetStudnu);
  EXPECT_TRUE(g.Levl.SaditZeleninu[0]);
  EXPECT_FALSE(g.Levl.SaditZeleninu[1] || g.Levl.SaditZeleninu[2] || g.Levl.SaditZeleninu[3]);
  EXPECT_FALSE(g.Field[4][4].Owned || g.Pipe[4][4]);  // the loaded field replaced the old one
  EXPECT_EQ(g.Field[4][4].Water, 100.0);
  EXPECT_EQ(Saved(g), golden);
  // A game in which every saved member holds a value of its own saves, loads and saves again to
  // the same bytes; what the file does not hold is kept or comes back empty.
  TGame known;
  FillKnownGame(known);
  const std::string b = Saved(known);
  ASSERT_EQ(b.size(), kFileBytes);
  // Saved as Save.dat, the file the digit 2 loads, the game gives the very same bytes.
  ASSERT_EQ(Saved(known, "Save.dat", "Save.dat"), b);
  TGame loaded;
  loaded.ToolWater = loaded.OrdersPanelOpen = true;  // outside the file: kept
  loaded.CurrentOrder.Text = "old order";
  ASSERT_TRUE(loaded.LoadGameFile("Save.dat"));
  EXPECT_EQ(loaded.Money, 123456);
  EXPECT_EQ(DateToText(loaded.Date), "17.5.2003");
  EXPECT_EQ(loaded.Date.Tick, 42);
  EXPECT_EQ(DateToText(loaded.OrderDeadline), "31.6.2003");
  EXPECT_EQ(loaded.CurrentOrder.Nezplneni, -250);
  EXPECT_EQ(loaded.CurrentOrder.Zelenina[3], 7u);
  EXPECT_EQ(loaded.ShedStock[3], 4);
  EXPECT_EQ(loaded.OrderOfferTimer, 0x00ABCDEFu);
  EXPECT_EQ(loaded.SprinklerCycles[3][4], 5);
  EXPECT_EQ(loaded.Field[23][12].Fertility, 13.89);
  EXPECT_EQ(loaded.CurrentOrder.Text, "");  // texts are not in the file
  EXPECT_EQ(loaded.Levl.Text, "");
  EXPECT_TRUE(loaded.ToolWater && loaded.OrdersPanelOpen);
  EXPECT_FALSE(loaded.InGame);  // entering the level is the screen's business
  EXPECT_EQ(Saved(loaded, "Save.dat", "Save.dat"), b);
}

// An order delivered or failed, whose outcome waits for its OK, is settled already: it is saved
// as ended, so that a load cannot pay or fine it again. A running order stays running, and a
// load forgets the outcome the game before it was showing.
TEST_F(SaveGameTest, AnOrderSettledButNotAcknowledgedIsSavedAsEnded) {
  TGame g;
  FillKnownGame(g);
  for (int32_t& stock : g.ShedStock) stock = 100;  // enough for the order a second time
  g.OrderFailed = true;
  EXPECT_EQ(Saved(g)[0], 0);
  g.OrderFailed = false;
  g.OrderFulfilled = true;
  const std::string delivered = Saved(g);
  EXPECT_EQ(delivered[0], 0);
  TGame loaded;
  ASSERT_TRUE(loaded.LoadGameFile("Data\\Save1.dat"));
  loaded.CheckOrder();
  EXPECT_EQ(loaded.Money, 123456);  // not paid again
  g.OrderFulfilled = false;
  Saved(g);
  TGame showingOutcome;
  showingOutcome.OrderFulfilled = showingOutcome.OrderFailed = true;
  ASSERT_TRUE(showingOutcome.LoadGameFile("Data\\Save1.dat"));
  EXPECT_TRUE(showingOutcome.OrderActive);
  EXPECT_FALSE(showingOutcome.OrderFulfilled || showingOutcome.OrderFailed);
}

// The golden saved game with one value damaged, each in a file of its own, written by the game
// itself: a value play cannot reach is refused and changes nothing; the values play can reach
// load.
TEST_F(SaveGameTest, DamagedFilesAreRefusedAndChangeNothing) {
  using TChange = std::function<void(TGame&)>;
  auto plot = [](std::function<void(TPlot&)> change) -> TChange {
    return [change](TGame& g) {
      TPlot& p = g.Field[23][12];
      p = {true, true, 25, 1700, 3, 3, 3, {}, 42.5, true, false, {}, 13.89};  // ripe garlic
      change(p);
    };
  };
  // What, the change, whether the file then loads.
  const std::tuple<const char*, TChange, bool> cases[] = {
      {"ripe garlic, its counters at their ends", plot([](TPlot&) {}), true},
      {"garlic withered when ripe (row 5)", plot([](TPlot& p) { p.Stage = 5; }), true},
      {"cauliflower withered when ripe (row 6)", plot([](TPlot& p) {
         p.Crop = 0;
         p.Stage = 6;
         p.GrowthTick = 0;  // withering starts it again
       }),
       true},
      {"crop 4", plot([](TPlot& p) { p.Crop = 4; }), false},
      {"garlic at stage 6", plot([](TPlot& p) { p.Stage = 6; }), false},
      {"garlic in frame 4", plot([](TPlot& p) { p.AnimFrame = 4; }), false},
      {"negative frame", plot([](TPlot& p) { p.AnimFrame = -1; }), false},
      {"water tick 26", plot([](TPlot& p) { p.WaterTick = 26; }), false},
      {"negative water tick", plot([](TPlot& p) { p.WaterTick = -1; }), false},
      {"garlic's growth tick 1701", plot([](TPlot& p) { p.GrowthTick = 1701; }), false},
      {"negative growth tick", plot([](TPlot& p) { p.GrowthTick = -1; }), false},
      {"water not a number", plot([](TPlot& p) { p.Water = std::nan(""); }), false},
      {"negative water", plot([](TPlot& p) { p.Water = -0.5; }), false},
      {"fertility above full", plot([](TPlot& p) { p.Fertility = 100.5; }), false},
      {"28 February", [](TGame& g) { g.Date = TGameDate(28, 2, 2002); }, true},
      {"29 February 2002", [](TGame& g) { g.Date = TGameDate(29, 2, 2002); }, false},
      {"month 13", [](TGame& g) { g.Date = TGameDate(1, 13, 2002); }, false},
      {"month 0", [](TGame& g) { g.Date = TGameDate(1, 0, 2002); }, false},
      {"day 0", [](TGame& g) { g.Date = TGameDate(0, 1, 2002); }, false},
      {"year 0", [](TGame& g) { g.Date = TGameDate(1, 1, 0); }, false},
      {"tick 99", [](TGame& g) { g.Date.Tick = 99; }, true},
      {"tick 100", [](TGame& g) { g.Date.Tick = 100; }, false},
      {"negative tick", [](TGame& g) { g.Date.Tick = -1; }, false},
      {"deadline 31 February", [](TGame& g) { g.OrderDeadline = TGameDate(31, 2, 2002); }, true},
      {"deadline day 32", [](TGame& g) { g.OrderDeadline = TGameDate(32, 1, 2002); }, false},
      {"deadline month 13", [](TGame& g) { g.OrderDeadline = TGameDate(1, 13, 2002); }, false},
      {"order number 3", [](TGame& g) { g.OrderIndex = 3; }, true},
      {"order number 4", [](TGame& g) { g.OrderIndex = 4; }, false},
      {"negative order number", [](TGame& g) { g.OrderIndex = -1; }, false},
      {"level 0", [](TGame& g) { g.LevelNumber = 0; }, false},
      {"shed row 4", [](TGame& g) { g.Levl.Kulna = 4; }, true},
      {"shed row 5", [](TGame& g) { g.Levl.Kulna = 5; }, false},
      {"negative shed row", [](TGame& g) { g.Levl.Kulna = -1; }, false},
      {"negative shed stock", [](TGame& g) { g.ShedStock[2] = -1; }, false},
      {"negative orders done", [](TGame& g) { g.OrdersDone = -1; }, false},
      {"no money", [](TGame& g) { g.Money = 0; }, true},
      {"negative money", [](TGame& g) { g.Money = -1; }, false},
      {"sprinkler frame 5", [](TGame& g) { g.SprinklerFrame[0][0] = 5; }, false},
      {"sprinkler cycles 6", [](TGame& g) { g.SprinklerCycles[0][0] = 6; }, false},
      {"sprinkler tick 5", [](TGame& g) { g.SprinklerTick[0][0] = 5; }, false},
  };
  // A game of its own for each file, so that one wrongly loaded file fails only its own case.
  auto running = [] {
    auto g = std::make_unique<TGame>();
    g->Money = 777;
    g->Date.Tick = 7;
    g->Field[0][0].Crop = 2;
    return g;
  };
  ASSERT_TRUE(running()->SaveGameFile("Data\\Before.dat"));
  const std::string before = ReadFile("Data/Before.dat");
  auto expectUnchanged = [&](const std::string& what) {
    const auto g = running();
    EXPECT_FALSE(g->LoadGameFile("Data\\Save3.dat")) << what;
    EXPECT_TRUE(g->SaveGameFile("Data\\After.dat"));
    EXPECT_TRUE(ReadFile("Data/After.dat") == before) << what << ": the game changed";
  };
  expectUnchanged("missing file");
  for (const auto& [what, change, loads] : cases) {
    TGame damaged;
    ASSERT_TRUE(damaged.LoadGameFile(kGoldenSave));
    change(damaged);
    ASSERT_TRUE(damaged.SaveGameFile("Data\\Save3.dat"));
    if (loads)
      EXPECT_TRUE(TGame().LoadGameFile("Data\\Save3.dat")) << what;
    else
      expectUnchanged(what);
  }
  // A flag is a byte 0 or 1; the game's own bytes show which byte a flag is.
  const std::string good = ReadFile(kGoldenSave);
  TGame withered;
  ASSERT_TRUE(withered.LoadGameFile(kGoldenSave));
  withered.Field[23][12].Alive = false;
  const std::string flagged = Saved(withered);
  const auto flag = std::mismatch(good.begin(), good.end(), flagged.begin()).first - good.begin();
  ASSERT_LT(size_t(flag), kFileBytes);
  for (const auto& [value, loads] : {std::pair{'\0', true}, {'\2', false}, {'\xFF', false}}) {
    std::string file = good;
    file[size_t(flag)] = value;
    WriteFile("Data/Save3.dat", file);
    if (loads)
      EXPECT_TRUE(TGame().LoadGameFile("Data\\Save3.dat"));
    else
      expectUnchanged("flag byte " + std::to_string(uint8_t(value)));
  }
  // Padding and the two text slots carry nothing: whatever they hold, the file loads.
  for (const auto& [what, at, width] : {std::tuple{"padding after OrderActive", 1, 3},
                                        {"the order's text slot", 56, 4},
                                        {"the level's text slot", 132, 4},
                                        {"padding inside a plot", 1716 + 26, 6}}) {
    std::string file = good;
    PutValue(file, size_t(at), size_t(width), ~uint64_t{0});
    WriteFile("Data/Save3.dat", file);
    EXPECT_TRUE(TGame().LoadGameFile("Data\\Save3.dat")) << what;
  }
  for (size_t size : {size_t{0}, size_t{152}, kFileBytes - 1, kFileBytes + 1, 2 * kFileBytes}) {
    std::string wrong = good;
    wrong.resize(size, '\0');
    WriteFile("Data/Save3.dat", wrong);
    expectUnchanged(std::to_string(size) + " bytes");
  }
}

// The screen, drawn with a display of its own so that the highlight can be seen.
class SaveLoadScreenTest : public SaveGameTest {
 protected:
  void SetUp() override {
    CreateFonts();
    ASSERT_TRUE(game.InitDisplay(nullptr, 1024, 768, 16));
  }
  ~SaveLoadScreenTest() override { delete menu; }
  // Pixels of a colour in the rows from `top` to `bottom` and the columns from `left` to `right`.
  int Count(uint32_t colour, int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y) {
      const uint16_t* row = game.BackBuffer->Row(y);
      n += int(std::count(row + left, row + right, Rgb565FromColorRef(colour)));
    }
    return n;
  }
  // Pixels of the label highlight colour (235, 211, 163) in the band of slot s.
  int HighlightedPixels(int s) { return Count(0xA3D3EB, 250, 330 + 55 * s, 850, 375 + 55 * s); }
  // Pixels of the failure message's colour (150, 20, 10) below the slots.
  int FailurePixels() { return Count(0x0A1496, 0, 600, 1024, 715); }
  void Press(int x, int y, bool saveMode) {
    game.Clear(0);
    game.SaveLoadScreen(x, y, &menu, saveMode, true);
  }
  TGame game;
  TSurface* menu = PlainSurface(1415, 800, 0x0841);
};

// A slot's label highlights up to x 849, and a click loads up to there; a click saves only left
// of 800, the slot's file and five summary keys. Clicks beside the slots do nothing in either mode.
TEST_F(SaveLoadScreenTest, TheSlotAreasAndWhatASaveWrites) {
  for (int x : {800, 849}) {
    game.Clear(0);
    game.SaveLoadScreen(x, 450, &menu, true, false);
    EXPECT_GT(HighlightedPixels(2), 0) << x;
    EXPECT_EQ(HighlightedPixels(1) + HighlightedPixels(3), 0) << x;
    Press(x, 450, true);
  }
  game.Clear(0);
  game.SaveLoadScreen(850, 450, &menu, true, false);
  EXPECT_EQ(HighlightedPixels(2), 0);
  game.LoadScreenOpen = true;
  for (const auto& [x, y] : {std::pair{249, 400}, {500, 329}, {500, 375}, {500, 605}}) {
    Press(x, y, true);
    Press(x, y, false);
    EXPECT_TRUE(game.LoadScreenOpen) << x << "," << y;  // the screen did not act
  }
  EXPECT_EQ(FileNames("Data"), std::set<std::string>{});  // nothing saved, no summary
  FillKnownGame(game);
  Press(799, 484, true);  // the last pixel of slot 2's save area
  EXPECT_EQ(fs::file_size("Data/Save2.dat"), kFileBytes);
  EXPECT_EQ(ReadFile("Data/Nastaveni.dat"),
            "[Save2]\r\nCisloLevelu=3\r\nDen=17\r\nMesic=5\r\nRok=2003\r\nPenize=123456\r\n");
  EXPECT_EQ(FileNames("Data"), (std::set<std::string>{"Nastaveni.dat", "Save2.dat"}));
  game.SaveLoadScreen(0, 0, &menu, false, false);
  EXPECT_EQ(game.SaveSlots[2].Level, 3);
  EXPECT_EQ(DateToText(game.SaveSlots[2].Date), "17.5.2003");
  EXPECT_EQ(game.SaveSlots[2].Money, 123456);
  game.Money = 50;
  Press(849, 484, false);  // and of its load area
  EXPECT_FALSE(game.LoadScreenOpen);
  EXPECT_TRUE(game.InGame);
  EXPECT_EQ(game.Money, 123456);
}

// A folder the game may not write to stops even root when the file-size limit is lower than a
// saved game: the temporary file cannot grow, while the small settings file still could. When the
// game's file was written but its summary could not be (the settings file is larger than the disk
// still takes), the slot list would name the old game for the new file, so the slot's old file is
// put back, the save counts as failed, and a slot that held nothing stays empty.
TEST_F(SaveLoadScreenTest, ASaveThatCannotBeWrittenWholeKeepsTheOldFileAndSummary) {
  game.Money = 900;
  Press(300, 385 + 10, true);  // slot 1
  const std::string oldFile = ReadFile("Data/Save1.dat");
  const std::string oldSettings = ReadFile("Data/Nastaveni.dat");
  ASSERT_EQ(oldFile.size(), kFileBytes);
  ASSERT_NE(oldSettings.find("Penize=900"), std::string::npos);
  game.Money = 1;
  game.Date = TGameDate(2, 3, 2004);
  {
    const TFileSizeLimit limit(4096);
    if (!limit.Holds()) GTEST_SKIP() << "no file-size limit on this system";
    Press(300, 385 + 10, true);
  }
  EXPECT_EQ(ReadFile("Data/Save1.dat"), oldFile);
  EXPECT_EQ(ReadFile("Data/Nastaveni.dat"), oldSettings);
  EXPECT_EQ(FileNames("Data"),
            (std::set<std::string>{"Nastaveni.dat", "Save1.dat"}));  // none left behind
  // The screen says so below the slots, and lists the slot as it was.
  EXPECT_TRUE(game.SaveFailed);
  game.Clear(0);
  game.SaveLoadScreen(0, 0, &menu, true, false);
  EXPECT_GT(FailurePixels(), 500);
  EXPECT_EQ(game.SaveSlots[1].Money, 900);
  // A press beside the slots leaves the message behind; the load screen never shows it.
  Press(100, 100, true);
  EXPECT_FALSE(game.SaveFailed);
  game.Clear(0);
  game.SaveLoadScreen(0, 0, &menu, true, false);
  EXPECT_EQ(FailurePixels(), 0);
  // The summary cannot be written.
  const std::string settings = oldSettings + "; " + std::string(20000, 'x') + "\r\n";
  WriteFile("Data/Nastaveni.dat", settings);
  {
    const TFileSizeLimit limit(16000);  // a saved game fits, the settings do not
    Press(300, 395, true);
    EXPECT_TRUE(game.SaveFailed);
    Press(300, 505, true);  // slot 3, never saved
    EXPECT_TRUE(game.SaveFailed);
  }
  EXPECT_EQ(ReadFile("Data/Save1.dat"), oldFile);
  EXPECT_EQ(ReadFile("Data/Nastaveni.dat"), settings);
  EXPECT_EQ(FileNames("Data"), (std::set<std::string>{"Nastaveni.dat", "Save1.dat"}));
  EXPECT_EQ(game.SaveSlots[1].Money, 900);
  Press(300, 505, true);  // with room on the disk again
  EXPECT_FALSE(game.SaveFailed);
  EXPECT_EQ(fs::file_size("Data/Save3.dat"), kFileBytes);
}

}  // namespace
