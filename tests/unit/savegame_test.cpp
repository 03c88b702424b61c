// Saved games: round trips, damaged files refused without a change, the save and load screen.
#include <cmath>

#include "TestSupport.h"
#include "gfx/Text.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kFileBytes = 14196;
// A saved game the game wrote on the fourth day of level 1.
const std::string kGoldenSave = KELVORA_SOURCE_DIR "/tests/data/level1.sav";

class SaveGameTest : public ::testing::Test {
 public:
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
  // Every member the file holds: the scalars, and the field's layers as bytes.
  static auto Members(const TGame& g) {
    const auto four = [](const auto& a) { return std::vector<int64_t>(a, a + 4); };
    const TOrder& o = g.CurrentOrder;
    const TLevel& l = g.Levl;
    return std::tuple(g.OrderActive, DateToText(g.Date), g.Date.Tick, DateToText(g.OrderDeadline),
                      o.Cena, o.Nezplneni, four(o.Zelenina), o.Mesice, four(g.ShedStock),
                      g.OrdersDone, g.Money, g.WellBuilt, l.ObjednavkySplnene, four(l.Zelenina),
                      l.Penize, l.StavetStudnu, l.PenizeStart, four(l.SaditZeleninu), l.Kulna,
                      g.LevelNumber, g.OrderIndex, g.OrderOfferTimer);
  }
  static std::string Layers(const TGame& g) {
    const auto bytes = [](const auto& a) {
      return std::string(reinterpret_cast<const char*>(&a), sizeof a);
    };
    return bytes(g.Pipe) + bytes(g.SprinklerOn) + bytes(g.SprinklerFrame) +
           bytes(g.SprinklerCycles) + bytes(g.SprinklerTick) + bytes(g.Field);
  }
  // Saves `g` under a game path and returns the bytes of the file that path names here.
  static std::string Saved(TGame& g, const std::string& gamePath = "Data\\Save1.dat",
                           const fs::path& file = "Data/Save1.dat") {
    EXPECT_TRUE(g.SaveGameFile(gamePath));
    return ReadFile(file);
  }

  TTestFolder folder_{"saves"};
};

// Files load every member and save back to their own bytes; what they do not hold is kept.
TEST_F(SaveGameTest, SavedGamesLoadEveryMemberSaveBackToTheirBytesAndSettledOrdersAsEnded) {
  const std::string golden = ReadFile(kGoldenSave);
  ASSERT_EQ(golden.size(), kFileBytes) << kGoldenSave;
  TGame g;
  g.Money = 5;
  g.Field[4][4].Owned = g.Pipe[4][4] = true;
  ASSERT_TRUE(g.LoadGameFile(kGoldenSave));
  EXPECT_EQ(std::tuple(g.OrderActive, DateToText(g.Date), g.Date.Tick, g.Money, g.LevelNumber,
                       g.OrderIndex, g.OrderOfferTimer),
            std::tuple(false, "4.1.2002", 2, 2000, 1, 0, 7198u));
  EXPECT_EQ(std::tuple(g.Levl.Zelenina[0], g.Levl.PenizeStart, g.Levl.StavetStudnu),
            std::tuple(5u, 2000, false));
  EXPECT_EQ(std::vector<bool>(g.Levl.SaditZeleninu, g.Levl.SaditZeleninu + 4),
            (std::vector<bool>{true, false, false, false}));
  EXPECT_FALSE(g.Field[4][4].Owned || g.Pipe[4][4]);  // the loaded field replaced the old one
  EXPECT_EQ(g.Field[4][4].Water, 100.0);
  EXPECT_EQ(Saved(g), golden);
  TGame known;
  FillKnownGame(known);
  const std::string b = Saved(known);
  ASSERT_EQ(b.size(), kFileBytes);
  ASSERT_EQ(Saved(known, "Save.dat", "Save.dat"), b);  // the file the digit 2 loads
  TGame loaded;
  loaded.ToolWater = loaded.OrdersPanelOpen = true;  // outside the file: kept
  loaded.CurrentOrder.Text = "old order";
  ASSERT_TRUE(loaded.LoadGameFile("Save.dat"));
  EXPECT_EQ(Members(loaded), Members(known));
  EXPECT_TRUE(Layers(loaded) == Layers(known));
  EXPECT_EQ(loaded.CurrentOrder.Text + loaded.Levl.Text, "");  // texts are not in the file
  EXPECT_TRUE(loaded.ToolWater && loaded.OrdersPanelOpen);
  EXPECT_FALSE(loaded.InGame);  // entering the level is the screen's business
  EXPECT_EQ(Saved(loaded, "Save.dat", "Save.dat"), b);
  // A settled order not yet acknowledged is saved as ended, so a load cannot pay or fine it again.
  TGame settled;
  FillKnownGame(settled);
  for (int32_t& stock : settled.ShedStock) stock = 100;  // enough for the order a second time
  settled.OrderFailed = true;
  EXPECT_EQ(Saved(settled)[0], 0);
  settled.OrderFailed = false;
  settled.OrderFulfilled = true;
  EXPECT_EQ(Saved(settled)[0], 0);
  TGame reloaded;
  ASSERT_TRUE(reloaded.LoadGameFile("Data\\Save1.dat"));
  reloaded.CheckOrder();
  EXPECT_EQ(reloaded.Money, 123456);  // not paid again
  settled.OrderFulfilled = false;
  Saved(settled);
  TGame showingOutcome;
  showingOutcome.OrderFulfilled = showingOutcome.OrderFailed = true;
  ASSERT_TRUE(showingOutcome.LoadGameFile("Data\\Save1.dat"));
  EXPECT_TRUE(showingOutcome.OrderActive &&
              !(showingOutcome.OrderFulfilled || showingOutcome.OrderFailed));
}

// A file with one value play cannot reach is refused and changes nothing; reachable ones load.
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
  auto expectLoad = [&](const std::string& what, bool loads) {
    const auto g = running();
    EXPECT_EQ(g->LoadGameFile("Data\\Save3.dat"), loads) << what;
    if (loads) return;
    EXPECT_TRUE(g->SaveGameFile("Data\\After.dat"));
    EXPECT_TRUE(ReadFile("Data/After.dat") == before) << what << ": the game changed";
  };
  expectLoad("missing file", false);
  for (const auto& [what, change, loads] : cases) {
    TGame damaged;
    ASSERT_TRUE(damaged.LoadGameFile(kGoldenSave));
    change(damaged);
    ASSERT_TRUE(damaged.SaveGameFile("Data\\Save3.dat"));
    expectLoad(what, loads);
  }
  // A flag is a byte 0 or 1 (the game's own bytes show which byte a flag is); padding and the two
  // text slots carry nothing; a file of another size is refused.
  const std::string good = ReadFile(kGoldenSave);
  TGame withered;
  ASSERT_TRUE(withered.LoadGameFile(kGoldenSave));
  withered.Field[23][12].Alive = false;
  const std::string flagged = Saved(withered);
  const size_t flag = std::mismatch(good.begin(), good.end(), flagged.begin()).first - good.begin();
  ASSERT_LT(flag, kFileBytes);
  auto with = [&](size_t at, size_t width, char value, size_t size = kFileBytes) {
    std::string file = good;
    file.replace(at, width, width, value);
    file.resize(size, '\0');
    return file;
  };
  const std::tuple<const char*, std::string, bool> files[] = {
      {"flag byte 0", with(flag, 1, '\0'), true},
      {"flag byte 2", with(flag, 1, '\2'), false},
      {"flag byte 255", with(flag, 1, '\xFF'), false},
      {"padding after OrderActive", with(1, 3, '\xFF'), true},
      {"the order's text slot", with(56, 4, '\xFF'), true},
      {"the level's text slot", with(132, 4, '\xFF'), true},
      {"padding inside a plot", with(1716 + 26, 6, '\xFF'), true},
      {"no bytes", with(0, 0, 0, 0), false},
      {"152 bytes", with(0, 0, 0, 152), false},
      {"a byte short", with(0, 0, 0, kFileBytes - 1), false},
      {"a byte over", with(0, 0, 0, kFileBytes + 1), false},
      {"twice the size", with(0, 0, 0, 2 * kFileBytes), false},
  };
  for (const auto& [what, bytes, loads] : files) {
    WriteFile("Data/Save3.dat", bytes);
    expectLoad(what, loads);
  }
}

// The screen, drawn with a display of its own so that the highlight can be seen.
class SaveLoadScreenTest : public TGameTest {
 protected:
  ~SaveLoadScreenTest() override { delete menu; }
  // Pixels of a colour in the rows from `top` to `bottom` and the columns from `left` to `right`.
  int Count(uint32_t colour, int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y) {
      const uint16_t* row = g.BackBuffer->Row(y);
      n += int(std::count(row + left, row + right, Rgb565FromColorRef(colour)));
    }
    return n;
  }
  // Pixels of the label highlight colour (235, 211, 163) in the band of slot s.
  int HighlightedPixels(int s) { return Count(0xA3D3EB, 250, 330 + 55 * s, 850, 375 + 55 * s); }
  // Pixels of the failure message's colour (150, 20, 10) below the slots, on a fresh draw.
  int FailurePixels() {
    Show(0, 0, true);
    return Count(0x0A1496, 0, 600, 1024, 715);
  }
  void Show(int x, int y, bool saveMode, bool click = false) {
    g.Clear(0);
    g.SaveLoadScreen(x, y, &menu, saveMode, click);
  }
  TSurface* menu = PlainSurface(1415, 800, 0x0841);
};

// The slots' save, load and highlight areas, and the file and summary a save writes.
TEST_F(SaveLoadScreenTest, TheSlotAreasAndWhatASaveWrites) {
  for (int x : {800, 849, 850}) {
    Show(x, 450, true);
    EXPECT_EQ(HighlightedPixels(2) > 0, x < 850) << x;
    EXPECT_EQ(HighlightedPixels(1) + HighlightedPixels(3), 0) << x;
    Show(x, 450, true, true);
  }
  g.LoadScreenOpen = true;
  for (const auto& [x, y] : {std::pair{249, 400}, {500, 329}, {500, 375}, {500, 605}}) {
    Show(x, y, true, true);
    Show(x, y, false, true);
    EXPECT_TRUE(g.LoadScreenOpen) << x << "," << y;  // the screen did not act
  }
  EXPECT_EQ(FileNames("Data"), std::set<std::string>{});  // nothing saved, no summary
  SaveGameTest::FillKnownGame(g);
  Show(799, 484, true, true);  // the last pixel of slot 2's save area
  EXPECT_EQ(fs::file_size("Data/Save2.dat"), kFileBytes);
  EXPECT_EQ(ReadFile("Data/Nastaveni.dat"),
            "[Save2]\r\nCisloLevelu=3\r\nDen=17\r\nMesic=5\r\nRok=2003\r\nPenize=123456\r\n");
  EXPECT_EQ(FileNames("Data"), (std::set<std::string>{"Nastaveni.dat", "Save2.dat"}));
  Show(0, 0, false);
  EXPECT_EQ(std::tuple(g.SaveSlots[2].Level, DateToText(g.SaveSlots[2].Date), g.SaveSlots[2].Money),
            std::tuple(3, "17.5.2003", 123456));
  g.Money = 50;
  Show(849, 484, false, true);  // and of its load area
  EXPECT_EQ(std::tuple(g.LoadScreenOpen, g.InGame, g.Money), std::tuple(false, true, 123456));
}

// A save not written whole (file-size limit) keeps the old file and summary and counts as failed.
TEST_F(SaveLoadScreenTest, ASaveThatCannotBeWrittenWholeKeepsTheOldFileAndSummary) {
  g.Money = 900;
  Show(300, 395, true, true);  // slot 1
  const std::string oldFile = ReadFile("Data/Save1.dat");
  const std::string oldSettings = ReadFile("Data/Nastaveni.dat");
  ASSERT_EQ(oldFile.size(), kFileBytes);
  ASSERT_NE(oldSettings.find("Penize=900"), std::string::npos);
  g.Money = 1;
  g.Date = TGameDate(2, 3, 2004);
  {
    const TFileSizeLimit limit(4096);
    if (!limit.Holds()) GTEST_SKIP() << "no file-size limit on this system";
    Show(300, 395, true, true);
  }
  const std::set<std::string> oldNames{"Nastaveni.dat", "Save1.dat"};  // none left behind
  EXPECT_EQ(ReadFile("Data/Save1.dat"), oldFile);
  EXPECT_EQ(ReadFile("Data/Nastaveni.dat"), oldSettings);
  EXPECT_EQ(FileNames("Data"), oldNames);
  // The screen says so below the slots, and lists the slot as it was.
  EXPECT_TRUE(g.SaveFailed);
  EXPECT_GT(FailurePixels(), 500);
  EXPECT_EQ(g.SaveSlots[1].Money, 900);
  // A press beside the slots leaves the message behind.
  Show(100, 100, true, true);
  EXPECT_FALSE(g.SaveFailed);
  EXPECT_EQ(FailurePixels(), 0);
  // The summary cannot be written.
  const std::string settings = oldSettings + "; " + std::string(20000, 'x') + "\r\n";
  WriteFile("Data/Nastaveni.dat", settings);
  {
    const TFileSizeLimit limit(16000);  // a saved game fits, the settings do not
    Show(300, 395, true, true);
    EXPECT_TRUE(g.SaveFailed);
    Show(300, 505, true, true);  // slot 3, never saved
    EXPECT_TRUE(g.SaveFailed);
  }
  EXPECT_EQ(ReadFile("Data/Save1.dat"), oldFile);
  EXPECT_EQ(ReadFile("Data/Nastaveni.dat"), settings);
  EXPECT_EQ(FileNames("Data"), oldNames);
  EXPECT_EQ(g.SaveSlots[1].Money, 900);
  Show(300, 505, true, true);  // with room on the disk again
  EXPECT_FALSE(g.SaveFailed);
  EXPECT_EQ(fs::file_size("Data/Save3.dat"), kFileBytes);
}

}  // namespace
