// Saved games: the file's bytes, a save and load that restores the game exactly, damaged files
// refused without a change, and the save and load screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "SystemSupport.h"
#include "TestFolder.h"
#include "game/Game.h"
#include "gfx/Text.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kFileBytes = 14196;

void PutValue(std::string& b, size_t at, size_t width, uint64_t v) {
  for (size_t i = 0; i < width; ++i) b.at(at + i) = char(uint8_t(v >> (8 * i)));
}

uint64_t Bits(double d) { return std::bit_cast<uint64_t>(d); }

// The names of the files in Data.
std::set<std::string> DataFiles() {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator("Data"))
    names.insert(entry.path().filename().string());
  return names;
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
    g.SaveGameFile(gamePath);
    return ReadFile(file);
  }

  TTestFolder folder_{"saves"};
};

// The whole file: each member at its offset, every other byte (padding, the text slots, the
// reserved bytes) zero.
TEST_F(SaveGameTest, FileBytesFollowTheFormatTableAndLoadBackExactly) {
  TGame g;
  FillKnownGame(g);
  std::string want(kFileBytes, '\0');
  // Little-endian values of `width` bytes each, one after another from `at`.
  auto put = [&want](size_t at, size_t width, std::initializer_list<uint64_t> values) {
    for (uint64_t v : values) PutValue(want, std::exchange(at, at + width), width, v);
  };
  // Block 1.
  put(0, 1, {1});         // OrderActive
  put(4, 2, {17, 5});     // Date
  put(8, 4, {2003, 42});  // with its tick
  put(16, 2, {31, 6});    // OrderDeadline
  put(20, 4, {2003});
  put(28, 4, {1300, uint32_t(-250), 50, 0, 40, 7});  // Cena, Nezplneni, Zelenina
  put(52, 2, {12});                                  // Mesice
  put(60, 4, {1, 2, 3, 4, 5, 123456});               // ShedStock, OrdersDone, Money
  put(84, 1, {1});                                   // WellBuilt
  put(92, 4, {3, 10, 20, 30, 40, 5000});             // ObjednavkySplnene, Zelenina, Penize
  put(116, 1, {1});                                  // StavetStudnu
  put(120, 4, {1500});                               // PenizeStart
  put(124, 1, {1, 0, 1, 0});                         // SaditZeleninu
  put(136, 4, {2, 3, 2, 0x00ABCDEF});                // Kulna, LevelNumber, OrderIndex, timer
  // Block 2: the spare fields, then the five layers column by column; column 3, row 4 is plot
  // 3 * 13 + 4 of each.
  const uint64_t layers[] = {1, 1, 4, 5, 3};
  for (size_t i = 0; i < 5; ++i) put(156 + 312 * i + 3 * 13 + 4, 1, {layers[i]});
  // Block 3: fresh plots (water; alive and growing; fertility), the bought plot (1, 0) in the
  // next column, and (23, 12).
  for (size_t at = 1716; at < kFileBytes; at += 40)
    put(at + 16, 8, {Bits(100.0), 0x0101, Bits(100.0)});
  put(1716 + 13 * 40 + 1, 1, {1});
  put(14156, 1, {1, 1});
  put(14158, 2, {25});
  put(14160, 4, {1700});
  put(14164, 2, {3, 3, 5});
  put(14172, 8, {Bits(42.5), 0x0100, Bits(13.89)});
  const std::string b = Saved(g);
  ASSERT_EQ(b.size(), kFileBytes);
  EXPECT_EQ(std::mismatch(b.begin(), b.end(), want.begin()).first - b.begin(),
            ptrdiff_t(kFileBytes))
      << "the offset of the first byte that differs";
  // Loaded (from Save.dat, the file the digit 2 loads), the game saves to the very same bytes.
  ASSERT_EQ(Saved(g, "Save.dat", "Save.dat"), b);
  TGame loaded;
  loaded.ToolWater = loaded.OrdersPanelOpen = true;  // outside the file: kept
  loaded.CurrentOrder.Text = "old order";
  ASSERT_TRUE(loaded.LoadGameFile("Save.dat"));
  EXPECT_EQ(loaded.Money, 123456);
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

// A missing, short or long file, or one with a value the game cannot reach, is refused and
// changes nothing; the values the game can reach load, whatever the padding holds.
TEST_F(SaveGameTest, DamagedFilesAreRefusedAndChangeNothing) {
  TGame source;
  FillKnownGame(source);
  const std::string good = Saved(source);
  const size_t plot = 1716 + (23 * 13 + 12) * 40;  // crop 3, stage 5, frame 3
  // What, the offset and width of the value put there, the value, whether the file then loads.
  const std::tuple<const char*, size_t, size_t, uint64_t, bool> cases[] = {
      {"crop 4", plot + 10, 2, 4, false},
      {"stage beyond the crop's rows", plot + 12, 2, 6, false},
      {"frame beyond the crop's frames", plot + 8, 2, 4, false},
      {"negative frame", plot + 8, 2, 0xFFFF, false},
      {"water tick past its period", plot + 2, 2, 26, false},
      {"growth tick past its stage", plot + 4, 4, 1701, false},
      {"water not a number", plot + 16, 8, Bits(std::nan("")), false},
      {"fertility above full", plot + 32, 8, Bits(100.5), false},
      {"flag byte 2", plot + 24, 1, 2, false},
      {"month 13", 6, 2, 13, false},
      {"month 0", 6, 2, 0, false},
      {"29 February", 4, 4, 29 | (2 << 16), false},
      {"day 0", 4, 2, 0, false},
      {"tick 100", 12, 4, 100, false},
      {"negative tick", 12, 4, 0xFFFFFFFF, false},
      {"deadline month 13", 18, 2, 13, false},
      {"order number 4", 144, 4, 4, false},
      {"level 0", 140, 4, 0, false},
      {"shed row 5", 136, 4, 5, false},
      {"negative shed stock", 60, 4, 0xFFFFFFFF, false},
      {"negative money", 80, 4, 0xFFFFFFFF, false},
      {"sprinkler frame 5", 780, 1, 5, false},
      {"sprinkler cycles 6", 1092, 1, 6, false},
      {"sprinkler tick 5", 1404, 1, 5, false},
      {"padding after OrderActive", 1, 3, 0xFFFFFF, true},
      {"the order's text slot", 56, 4, 0x12345678, true},
      {"padding inside a plot", 1716 + 26, 6, 0xFFFFFFFFFFFF, true},
      {"deadline 0.0.0 before any order", 16, 8, 0, true},
      {"deadline 31 February", 16, 4, 31 | (2 << 16), true},
      {"28 February", 4, 4, 28 | (2 << 16), true},
      {"tick 99", 12, 4, 99, true},
      {"cauliflower withered when ripe (row 6)", 1716 + 12, 2, 6, true},
  };
  TGame g;
  g.Money = 777;
  g.Date.Tick = 7;
  g.Field[0][0].Crop = 2;
  g.SaveGameFile("Data\\Before.dat");
  const std::string before = ReadFile("Data/Before.dat");
  auto expectUnchanged = [&](const std::string& what) {
    EXPECT_FALSE(g.LoadGameFile("Data\\Save3.dat")) << what;
    g.SaveGameFile("Data\\After.dat");
    EXPECT_EQ(ReadFile("Data/After.dat"), before) << what;
  };
  expectUnchanged("missing file");
  for (const auto& [what, at, width, value, loads] : cases) {
    std::string file = good;
    PutValue(file, at, width, value);
    WriteFile("Data/Save3.dat", file);
    if (loads)
      EXPECT_TRUE(TGame().LoadGameFile("Data\\Save3.dat")) << what;
    else
      expectUnchanged(what);
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
    std::fill_n(menu->Pixels(), menu->Width() * menu->Height(), uint16_t{0x0841});
  }
  ~SaveLoadScreenTest() override { delete menu; }
  // Pixels of the label highlight colour (235, 211, 163) in the band of slot s.
  int HighlightedPixels(int s) {
    const uint16_t highlight = Rgb565FromColorRef(0xA3D3EB);
    int n = 0;
    for (int y = 330 + 55 * s; y < 375 + 55 * s; ++y) {
      const uint16_t* row = game.BackBuffer->Row(y);
      n += int(std::count(row + 250, row + 850, highlight));
    }
    return n;
  }
  // Pixels of the failure message's colour (150, 20, 10) below the slots.
  int FailurePixels() {
    const uint16_t colour = Rgb565FromColorRef(0x0A1496);
    int n = 0;
    for (int y = 600; y < 715; ++y) {
      const uint16_t* row = game.BackBuffer->Row(y);
      n += int(std::count(row, row + 1024, colour));
    }
    return n;
  }
  void Press(int x, int y, bool saveMode) {
    game.Clear(0);
    game.SaveLoadScreen(x, y, &menu, saveMode, true);
  }
  TGame game;
  TSurface* menu = new TSurface(1415, 800);
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
  EXPECT_EQ(DataFiles(), std::set<std::string>{});  // nothing saved, no summary
  FillKnownGame(game);
  Press(799, 484, true);  // the last pixel of slot 2's save area
  EXPECT_EQ(fs::file_size("Data/Save2.dat"), kFileBytes);
  EXPECT_EQ(ReadFile("Data/Nastaveni.dat"),
            "[Save2]\r\nCisloLevelu=3\r\nDen=17\r\nMesic=5\r\nRok=2003\r\nPenize=123456\r\n");
  EXPECT_EQ(DataFiles(), (std::set<std::string>{"Nastaveni.dat", "Save2.dat"}));
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
// saved game: the temporary file cannot grow, while the small settings file still could.
TEST_F(SaveLoadScreenTest, ASaveThatCannotBeWrittenKeepsTheOldFileAndSummary) {
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
  EXPECT_EQ(DataFiles(),
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
}

// The game's file was written but its summary could not be (the settings file is larger than
// the disk still takes): the slot list would name the old game for the new file, so the slot's
// old file is put back, the save counts as failed, and a slot that held nothing stays empty.
TEST_F(SaveLoadScreenTest, ASaveWhoseSummaryCannotBeWrittenIsUndone) {
  game.Money = 900;
  Press(300, 395, true);  // slot 1
  const std::string oldFile = ReadFile("Data/Save1.dat");
  const std::string settings =
      ReadFile("Data/Nastaveni.dat") + "; " + std::string(20000, 'x') + "\r\n";
  WriteFile("Data/Nastaveni.dat", settings);
  game.Money = 1;
  {
    const TFileSizeLimit limit(16000);  // a saved game fits, the settings do not
    if (!limit.Holds()) GTEST_SKIP() << "no file-size limit on this system";
    Press(300, 395, true);
    EXPECT_TRUE(game.SaveFailed);
    Press(300, 505, true);  // slot 3, never saved
    EXPECT_TRUE(game.SaveFailed);
  }
  EXPECT_EQ(ReadFile("Data/Save1.dat"), oldFile);
  EXPECT_EQ(ReadFile("Data/Nastaveni.dat"), settings);
  EXPECT_EQ(DataFiles(), (std::set<std::string>{"Nastaveni.dat", "Save1.dat"}));
  EXPECT_EQ(game.SaveSlots[1].Money, 900);
  Press(300, 505, true);  // with room on the disk again
  EXPECT_FALSE(game.SaveFailed);
  EXPECT_EQ(fs::file_size("Data/Save3.dat"), kFileBytes);
}

}  // namespace
