// Saved games: the file's bytes against the format's offsets, a save and load that restores the
// game exactly, damaged files refused without a change, and the save and load screen with its
// slot summaries, its areas and a save that cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <vector>

#include <sys/resource.h>

#include "TestFolder.h"
#include "game/Game.h"
#include "gfx/Text.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kFileBytes = 14196;

// The little-endian value of `width` bytes at `at`.
uint64_t ValueAt(const std::string& b, size_t at, size_t width) {
  uint64_t v = 0;
  for (size_t i = 0; i < width; ++i) v |= uint64_t(uint8_t(b.at(at + i))) << (8 * i);
  return v;
}

void PutValue(std::string& b, size_t at, size_t width, uint64_t v) {
  for (size_t i = 0; i < width; ++i) b.at(at + i) = char(uint8_t(v >> (8 * i)));
}

uint64_t Bits(double d) { return std::bit_cast<uint64_t>(d); }

// Every test runs in a fresh folder with a Data folder of its own, made before any game object
// of the test reads its settings and removed after the last one wrote them.
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
    g.Levl.ObjednavkySplnene = 3;
    for (int i = 0; i < 4; ++i) g.Levl.Zelenina[i] = uint32_t(10 * (i + 1));
    g.Levl.Penize = 5000;
    g.Levl.StavetStudnu = true;
    g.Levl.PenizeStart = 1500;
    g.Levl.SaditZeleninu[0] = g.Levl.SaditZeleninu[2] = true;
    g.Levl.SaditZeleninu[1] = g.Levl.SaditZeleninu[3] = false;
    g.Levl.Text = "briefing not stored";
    g.Levl.Kulna = 2;
    g.LevelNumber = 3;
    g.OrderIndex = 2;
    g.OrderOfferTimer = 0x00ABCDEF;
    g.Pipe[3][4] = g.SprinklerOn[3][4] = true;
    g.SprinklerFrame[3][4] = 4;
    g.SprinklerCycles[3][4] = 5;
    g.SprinklerTick[3][4] = 3;
    g.Field[1][0].Owned = true;
    TPlot& p = g.Field[23][12];
    p.Planted = p.Owned = true;
    p.WaterTick = 25;
    p.GrowthTick = 1700;
    p.AnimFrame = 3;
    p.Crop = 3;
    p.Stage = 5;
    p.Water = 42.5;
    p.Alive = false;
    p.Fertility = 13.89;
  }

  // Saves `g` under a game path and returns the bytes of the file that path names here.
  static std::string Saved(TGame& g, const std::string& gamePath = "Data\\Save1.dat",
                           const fs::path& file = "Data/Save1.dat") {
    g.SaveGameFile(gamePath);
    return ReadFile(file);
  }

  TTestFolder folder_{"saves"};
};

TEST_F(SaveGameTest, FileBytesFollowTheFormatTable) {
  TGame g;
  FillKnownGame(g);
  const std::string b = Saved(g);
  ASSERT_EQ(b.size(), kFileBytes);

  struct Field {
    size_t at, width;
    uint64_t value;
  };
  const Field block1[] = {
      {0, 1, 1},
      {1, 3, 0},  // OrderActive, padding
      {4, 2, 17},
      {6, 2, 5},
      {8, 4, 2003},
      {12, 4, 42},  // Date with its tick
      {16, 2, 31},
      {18, 2, 6},
      {20, 4, 2003},
      {24, 4, 0},  // OrderDeadline
      {28, 4, 1300},
      {32, 4, uint32_t(-250)},  // Cena, Nezplneni
      {36, 4, 50},
      {40, 4, 0},
      {44, 4, 40},
      {48, 4, 7},  // Zelenina
      {52, 2, 12},
      {54, 2, 0},
      {56, 4, 0},  // Mesice, padding, text slot
      {60, 4, 1},
      {64, 4, 2},
      {68, 4, 3},
      {72, 4, 4},  // ShedStock
      {76, 4, 5},
      {80, 4, 123456},
      {84, 1, 1},
      {85, 7, 0},  // OrdersDone, Money, well
      {92, 4, 3},
      {96, 4, 10},
      {100, 4, 20},
      {104, 4, 30},
      {108, 4, 40},
      {112, 4, 5000},
      {116, 1, 1},
      {117, 3, 0},
      {120, 4, 1500},
      {124, 1, 1},
      {125, 1, 0},
      {126, 1, 1},
      {127, 1, 0},  // SaditZeleninu
      {128, 4, 0},
      {132, 4, 0},
      {136, 4, 2},  // reserved, text slot, Kulna
      {140, 4, 3},
      {144, 4, 2},
      {148, 4, 0x00ABCDEF},
  };
  for (const Field& f : block1) EXPECT_EQ(ValueAt(b, f.at, f.width), f.value) << "offset " << f.at;

  // Block 2: the spare fields, then the layers column by column (column 3, row 4 is 3 * 13 + 4).
  EXPECT_EQ(ValueAt(b, 152, 4), 0u);
  const size_t plot = 3 * 13 + 4;
  const Field layers[] = {{156 + plot, 1, 1},
                          {468 + plot, 1, 1},
                          {780 + plot, 1, 4},
                          {1092 + plot, 1, 5},
                          {1404 + plot, 1, 3}};
  for (const Field& f : layers) EXPECT_EQ(ValueAt(b, f.at, 1), f.value) << "offset " << f.at;
  EXPECT_EQ(std::count_if(b.begin() + 156, b.begin() + 1716, [](char c) { return c != 0; }), 5);

  // Block 3: the fresh plot (0, 0), the bought plot (1, 0) in the next column, and (23, 12).
  const Field plots[] = {
      {1716, 1, 0},
      {1717, 1, 0},
      {1732, 8, Bits(100.0)},
      {1740, 1, 1},
      {1741, 1, 1},
      {1748, 8, Bits(100.0)},
      {1716 + 40 + 1, 1, 0},
      {1716 + 13 * 40 + 1, 1, 1},
      {14156, 1, 1},
      {14157, 1, 1},
      {14158, 2, 25},
      {14160, 4, 1700},
      {14164, 2, 3},
      {14166, 2, 3},
      {14168, 2, 5},
      {14170, 2, 0},
      {14172, 8, Bits(42.5)},
      {14180, 1, 0},
      {14181, 1, 1},
      {14182, 6, 0},
      {14188, 8, Bits(13.89)},
  };
  for (const Field& f : plots) EXPECT_EQ(ValueAt(b, f.at, f.width), f.value) << "offset " << f.at;
}

TEST_F(SaveGameTest, SavingThenLoadingRestoresTheGameExactly) {
  TGame saved;
  FillKnownGame(saved);
  const std::string bytes = Saved(saved, "Save.dat", "Save.dat");  // the file the digit 2 loads

  TGame g;
  g.ToolWater = g.OrdersPanelOpen = true;  // outside the file: kept
  g.CurrentOrder.Text = "old order";
  ASSERT_TRUE(g.LoadGameFile("Save.dat"));

  EXPECT_EQ(DateToText(g.Date), "17.5.2003");
  EXPECT_EQ(g.Date.Tick, 42);  // the day goes on where it was
  EXPECT_EQ(DateToText(g.OrderDeadline), "31.6.2003");
  EXPECT_EQ(g.CurrentOrder.Nezplneni, -250);
  EXPECT_EQ(g.CurrentOrder.Zelenina[3], 7u);
  EXPECT_EQ(g.CurrentOrder.Mesice, 12);
  EXPECT_EQ(g.CurrentOrder.Text, "");  // texts are not in the file
  EXPECT_EQ(g.Levl.Text, "");
  EXPECT_EQ(g.Money, 123456);
  EXPECT_EQ(g.Levl.Kulna, 2);
  EXPECT_FALSE(g.Levl.SaditZeleninu[1]);
  EXPECT_EQ(g.OrderOfferTimer, 0x00ABCDEFu);
  EXPECT_EQ(std::memcmp(g.Field, saved.Field, sizeof g.Field), 0);
  EXPECT_EQ(std::memcmp(g.SprinklerTick, saved.SprinklerTick, sizeof g.SprinklerTick), 0);
  EXPECT_TRUE(g.Pipe[3][4] && g.SprinklerOn[3][4]);
  EXPECT_TRUE(g.ToolWater && g.OrdersPanelOpen);
  EXPECT_FALSE(g.InGame);  // entering the level is the screen's business
  // Every stored member came back: the loaded game saves to the very same bytes.
  g.SaveGameFile("Save.dat");
  EXPECT_EQ(ReadFile("Save.dat"), bytes);
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
  EXPECT_EQ(Saved(g)[0], 1);
  g.OrderFulfilled = true;
  const std::string delivered = Saved(g);
  EXPECT_EQ(delivered[0], 0);

  TGame loaded;
  ASSERT_TRUE(loaded.LoadGameFile("Data\\Save1.dat"));
  loaded.CheckOrder();
  EXPECT_EQ(loaded.Money, 123456);
  EXPECT_EQ(loaded.OrdersDone, 5);
  EXPECT_EQ(loaded.ShedStock[0], 100);

  g.OrderFulfilled = false;
  Saved(g);
  TGame showingOutcome;
  showingOutcome.OrderFulfilled = showingOutcome.OrderFailed = true;
  ASSERT_TRUE(showingOutcome.LoadGameFile("Data\\Save1.dat"));
  EXPECT_TRUE(showingOutcome.OrderActive);
  EXPECT_FALSE(showingOutcome.OrderFulfilled || showingOutcome.OrderFailed);
}

TEST_F(SaveGameTest, DamagedFilesAreRefusedAndChangeNothing) {
  TGame source;
  FillKnownGame(source);
  const std::string good = Saved(source);
  const size_t plot = 1716 + (23 * 13 + 12) * 40;  // crop 3, stage 5, frame 3

  struct Case {
    const char* what;
    size_t at, width;
    uint64_t value;
  };
  const Case cases[] = {
      {"crop 60000", plot + 10, 2, 60000},
      {"crop 4", plot + 10, 2, 4},
      {"stage beyond the crop's rows", plot + 12, 2, 6},
      {"frame beyond the crop's frames", plot + 8, 2, 4},
      {"negative frame", plot + 8, 2, 0xFFFF},
      {"water tick past its period", plot + 2, 2, 26},
      {"growth tick past its stage", plot + 4, 4, 1701},
      {"water not a number", plot + 16, 8, Bits(std::nan(""))},
      {"fertility above full", plot + 32, 8, Bits(100.5)},
      {"flag byte 2", plot + 24, 1, 2},
      {"month 13", 6, 2, 13},
      {"month 0", 6, 2, 0},
      {"29 February", 4, 4, 29 | (2 << 16)},
      {"day 0", 4, 2, 0},
      {"tick 100", 12, 4, 100},
      {"negative tick", 12, 4, 0xFFFFFFFF},
      {"deadline month 13", 18, 2, 13},
      {"order number 4", 144, 4, 4},
      {"level 0", 140, 4, 0},
      {"shed row 5", 136, 4, 5},
      {"negative shed stock", 60, 4, 0xFFFFFFFF},
      {"negative money", 80, 4, 0xFFFFFFFF},
      {"pipe byte 2", 156, 1, 2},
      {"sprinkler frame 5", 780, 1, 5},
      {"sprinkler cycles 6", 1092, 1, 6},
      {"sprinkler tick 5", 1404, 1, 5},
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
  for (const Case& c : cases) {
    std::string bad = good;
    PutValue(bad, c.at, c.width, c.value);
    WriteFile("Data/Save3.dat", bad);
    expectUnchanged(c.what);
  }
  for (size_t size : {size_t{0}, size_t{152}, kFileBytes - 1, kFileBytes + 1, 2 * kFileBytes}) {
    std::string wrong = good;
    wrong.resize(size, '\0');
    WriteFile("Data/Save3.dat", wrong);
    expectUnchanged(std::to_string(size) + " bytes");
  }
  EXPECT_EQ(g.Money, 777);
}

TEST_F(SaveGameTest, ValuesTheGameCanReachLoadAndPaddingIsIgnored) {
  TGame source;
  FillKnownGame(source);
  const std::string good = Saved(source);
  struct Case {
    const char* what;
    size_t at, width;
    uint64_t value;
  };
  const Case cases[] = {
      {"padding after OrderActive", 1, 3, 0xFFFFFF},
      {"the order's text slot", 56, 4, 0x12345678},
      {"the level's text slot", 132, 4, 0x12345678},
      {"reserved bytes of the level", 128, 4, 0xFFFFFFFF},
      {"padding inside a plot", 1716 + 26, 6, 0xFFFFFFFFFFFF},
      {"deadline 0.0.0 before any order", 16, 8, 0},
      {"deadline 31 February", 16, 4, 31 | (2 << 16)},
      {"28 February at tick 99", 4, 4, 28 | (2 << 16)},
      {"tick 99", 12, 4, 99},
      {"cauliflower withered when ripe (row 6)", 1716 + 12, 2, 6},
  };
  for (const Case& c : cases) {
    std::string file = good;
    PutValue(file, c.at, c.width, c.value);
    WriteFile("Data/Save4.dat", file);
    TGame g;
    EXPECT_TRUE(g.LoadGameFile("Data\\Save4.dat")) << c.what;
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
  void Press(int x, int y, bool saveMode) {
    game.Clear(0);
    game.SaveLoadScreen(x, y, &menu, saveMode, true);
  }
  TGame game;
  TSurface* menu = new TSurface(1415, 800);
};

TEST_F(SaveLoadScreenTest, SlotTwoGetsItsFileAndFiveSummaryKeys) {
  game.SaveLoadScreen(0, 0, &menu, true, false);
  for (const TSaveSlotInfo& s : game.SaveSlots) {  // never saved: the default summary
    EXPECT_EQ(s.Level, 1);
    EXPECT_EQ(DateToText(s.Date), "1.1.2002");
    EXPECT_EQ(s.Money, 0);
  }
  FillKnownGame(game);
  Press(300, 330 + 2 * 55 + 10, true);
  EXPECT_EQ(fs::file_size("Data/Save2.dat"), kFileBytes);
  const std::string settings = ReadFile("Data/Nastaveni.dat");
  const size_t section = settings.find("[Save2]");
  ASSERT_NE(section, std::string::npos) << settings;
  std::istringstream lines(settings.substr(section));
  std::vector<std::string> keys;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find('=') != std::string::npos) keys.push_back(line);
  }
  const std::vector<std::string> expected{"CisloLevelu=3", "Den=17", "Mesic=5", "Rok=2003",
                                          "Penize=123456"};
  EXPECT_EQ(keys, expected);
  for (int other : {0, 1, 3, 4}) {
    EXPECT_FALSE(fs::exists("Data/Save" + std::to_string(other) + ".dat")) << other;
  }

  game.SaveLoadScreen(0, 0, &menu, false, false);
  EXPECT_EQ(game.SaveSlots[2].Level, 3);
  EXPECT_EQ(DateToText(game.SaveSlots[2].Date), "17.5.2003");
  EXPECT_EQ(game.SaveSlots[2].Money, 123456);
}

TEST_F(SaveLoadScreenTest, TheRightEndOfASlotHighlightsButSavesOnlyLeftOf800) {
  for (int x : {800, 849}) {
    game.Clear(0);
    game.SaveLoadScreen(x, 450, &menu, true, false);
    EXPECT_GT(HighlightedPixels(2), 0) << x;
    EXPECT_EQ(HighlightedPixels(1) + HighlightedPixels(3), 0) << x;
    Press(x, 450, true);
    EXPECT_FALSE(fs::exists("Data/Save2.dat")) << x;
  }
  game.Clear(0);
  game.SaveLoadScreen(850, 450, &menu, true, false);
  EXPECT_EQ(HighlightedPixels(2), 0);
  Press(799, 484, true);  // the last pixel of slot 2's save area
  EXPECT_TRUE(fs::exists("Data/Save2.dat"));
}

TEST_F(SaveLoadScreenTest, ClicksBesideTheSlotsDoNothingAndOnlyAFileThatLoadsEntersTheLevel) {
  game.Money = 900;
  game.SaveGameFile("Data\\Save1.dat");
  game.Money = 50;
  for (const auto& [x, y] : {std::pair{249, 400}, {500, 329}, {500, 375}, {500, 605}, {5, 5}}) {
    Press(x, y, true);
    game.LoadScreenOpen = true;
    Press(x, y, false);
    EXPECT_TRUE(game.LoadScreenOpen) << x << "," << y;  // the screen did not act
  }
  EXPECT_FALSE(fs::exists("Data/Nastaveni.dat"));  // no summary written
  for (int s : {0, 2, 3, 4}) EXPECT_FALSE(fs::exists("Data/Save" + std::to_string(s) + ".dat"));

  Press(300, 330 + 10, false);  // slot 0: never saved
  EXPECT_FALSE(game.LoadScreenOpen);
  EXPECT_FALSE(game.InGame);
  EXPECT_EQ(game.Money, 50);

  game.LoadScreenOpen = true;
  Press(849, 385 + 44, false);  // slot 1, its last pixel: the load area reaches x 849
  EXPECT_FALSE(game.LoadScreenOpen);
  EXPECT_TRUE(game.InGame);
  EXPECT_EQ(game.Money, 900);
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
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  Press(300, 385 + 10, true);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(ReadFile("Data/Save1.dat"), oldFile);
  EXPECT_EQ(ReadFile("Data/Nastaveni.dat"), oldSettings);
  for (const auto& entry : fs::directory_iterator("Data")) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "Save1.dat" || name == "Nastaveni.dat") << name << " left behind";
  }
  game.SaveLoadScreen(0, 0, &menu, false, false);
  EXPECT_EQ(game.SaveSlots[1].Money, 900);
}

}  // namespace
