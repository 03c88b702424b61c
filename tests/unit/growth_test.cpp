// Growth, water and time over whole plant lives, run through the garden's part of the game-view
// frame in its real order: the out-of-money check, the calendar, the field passes with the
// automatic watering and the plant step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "TestFolder.h"
#include "game/Game.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

constexpr uint16_t kKey = 0xF81F;

// A surface with the magenta key, painted by paint(x, y) where one is given.
std::unique_ptr<TSurface> Filled(int w, int h, uint16_t (*paint)(int x, int y)) {
  auto s = std::make_unique<TSurface>(w, h);
  for (int y = 0; paint && y < h; ++y)
    for (int x = 0; x < w; ++x) s->Row(y)[x] = paint(x, y);
  s->SetColourKey(kKey);
  return s;
}

std::vector<std::string> stops;
void RecordStops(const TSoundClip&, const char* operation, const std::string&) {
  if (std::string(operation) == "Stop") stops.push_back(operation);
}

// A game in a level, in an empty folder of its own, with pictures in every slot the garden uses.
class GrowthTest : public ::testing::Test {
 protected:
  ~GrowthTest() override {
    game.reset();
    TSoundClip::Observer = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(game->InitDisplay(nullptr, 1024, 768, 16));
    game->InGame = true;
    stops.clear();
    TSoundClip::Observer = RecordStops;
  }

  // The garden's steps of one game-view frame, in the frame's order.
  void Frame() {
    TGame& g = *game;
    g.Clear(0);
    g.CheckOutOfMoney(&menu_, &symbols_);
    g.CalendarStep();
    g.DrawShed(&sheds_);
    g.DrawPlots(&field_);
    g.DrawWell(&water_);
    g.DrawPipes(&water_);
    g.DrawPlants(&plants_);
    g.DrawClouds(&clouds_);
  }

  // What planting leaves on a fresh plot.
  TPlot& Plant(int col, int row, uint16_t crop) {
    TPlot& p = game->Field[col][row];
    p.Owned = p.Planted = p.Alive = p.Growing = true;
    p.Crop = crop;
    p.Stage = 0;
    p.Water = 100.0;
    p.GrowthTick = 0;
    p.AnimFrame = 0;
    return p;
  }

  // The 35-pixel stage row the plant on (col, row) was drawn from in the last frame.
  int DrawnStage(int col, int row) const {
    return game->BackBuffer->Row(280 + 35 * row)[33 + 40 * col] >> 10;
  }

  // One picture per slot, of one colour each; the plants' pixels hold their stage row, and the
  // clouds are all transparent.
  TSurface* Slot(int w, int h, uint16_t colour) {
    pictures_.push_back(Filled(w, h, nullptr));
    std::fill_n(pictures_.back()->Pixels(), w * h, colour);
    return pictures_.back().get();
  }
  TSurface* Plants() {
    pictures_.push_back(
        Filled(603, 245, [](int x, int y) { return uint16_t((1 + x % 40) | (y / 35) << 10); }));
    return pictures_.back().get();
  }

  TTestFolder folder_{"growth", TTestFolder::kEmpty};  // made before the game, gone after it
  std::unique_ptr<TGame> game = std::make_unique<TGame>();
  std::vector<std::unique_ptr<TSurface>> pictures_;
  TSurface* menu_ = Slot(1415, 800, 0x0101);
  TSurface* symbols_ = Slot(452, 313, 0x0202);
  TSurface* plants_ = Plants();
  TSurface* water_ = Slot(200, 105, 0x0303);
  TSurface* field_ = Slot(160, 35, 0x0404);
  TSurface* sheds_ = Slot(1000, 1050, 0x0505);
  TSurface* clouds_ = Slot(2998, 80, kKey);
};

// Each crop on a pipe: the pipe fills it at the 97th loss (frame 2427 from planting, then every
// 2425 frames) while it grows, and leaves it to dry once ripe.
TEST_F(GrowthTest, PipedPlantsRipenOnTimeAndRipeOnesWitherUnwatered) {
  TGame& g = *game;
  for (uint16_t crop = 0; crop < 4; ++crop) {
    Plant(crop, 0, crop);
    g.Pipe[crop][0] = true;
  }
  const int ripeAt[4] = {4801, 4501, 3601, 5101};
  const int witherAt[4] = {5126, 5126, 5126, 7551};
  int seenRipe[4] = {}, seenWither[4] = {};
  for (int frame = 1; frame <= 7551; ++frame) {
    Frame();
    for (int crop = 0; crop < 4; ++crop) {
      const TPlot& p = g.Field[crop][0];
      if (!seenRipe[crop] && p.Stage == Crops[crop].RipeStage && !p.Growing) seenRipe[crop] = frame;
      if (!seenWither[crop] && !p.Alive) seenWither[crop] = frame;
    }
    // Fillings in frame 2427 for all four, in frame 4852 for the garlic alone, still growing.
    const int32_t expected = frame < 2427 ? 2000 : frame < 4852 ? 1988 : 1985;
    ASSERT_EQ(g.Money, expected) << "frame " << frame;
  }
  for (int crop = 0; crop < 4; ++crop) {
    SCOPED_TRACE(testing::Message() << "crop " << crop);
    EXPECT_EQ(seenRipe[crop], ripeAt[crop]);
    EXPECT_EQ(seenWither[crop], witherAt[crop]);
    EXPECT_EQ(g.Field[crop][0].Stage, Crops[crop].WitheredRipeStage);
  }
  EXPECT_EQ(g.Money, 1985);
  EXPECT_TRUE(g.InGame);
}

TEST_F(GrowthTest, APipeWatersOnlyWhileTheMoneyLasts) {
  TGame& g = *game;
  TPlot& p = Plant(0, 0, 2);
  g.Pipe[0][0] = true;
  g.Money = 2;
  for (int frame = 1; frame <= 2500; ++frame) Frame();
  EXPECT_FALSE(g.SprinklerOn[0][0]);
  EXPECT_EQ(g.Money, 2);
  g.Money = 3;  // the test comes round every frame, so the next one fills the plot
  Frame();
  EXPECT_TRUE(g.SprinklerOn[0][0]);
  EXPECT_EQ(g.Money, 0);
  EXPECT_GT(p.Water, 99.0);

  // Without the money a piped plant dries out like any other.
  TPlot& dry = Plant(1, 1, 0);
  g.Pipe[1][1] = true;
  for (int frame = 1; frame <= 2701; ++frame) {
    EXPECT_TRUE(dry.Alive) << frame;
    Frame();
  }
  EXPECT_FALSE(dry.Alive);
  EXPECT_EQ(dry.Stage, Crops[0].WitheredStage);

  // Once withered, the plants are not watered again when money comes: nothing is paid for.
  g.Money = 100;
  for (int frame = 0; frame < 10; ++frame) Frame();
  EXPECT_EQ(g.Money, 100);
  EXPECT_FALSE(g.SprinklerOn[0][0] || g.SprinklerOn[1][1]);
}

// A plant never watered withers in the 2701st frame; the frames with the orders panel open do
// not count, for the plant as for the calendar.
TEST_F(GrowthTest, UnwateredPlantsWitherAfter2701StepsAndTheOrdersPanelPauses) {
  for (bool paused : {false, true}) {
    for (uint16_t crop = 0; crop < 4; ++crop) {
      SCOPED_TRACE(testing::Message() << "crop " << crop << (paused ? " with pauses" : ""));
      TGame& g = *game;
      g.ResetForLevel();
      g.InGame = true;
      TPlot& p = Plant(4, 6, crop);
      const int last = paused ? 3201 : 2701;
      for (int frame = 1; frame < last; ++frame) {
        g.OrdersPanelOpen = paused && frame > 1000 && frame <= 1500;
        Frame();
      }
      g.OrdersPanelOpen = false;
      ASSERT_TRUE(p.Alive);
      EXPECT_LT(p.Water, 1.0);
      Frame();
      EXPECT_FALSE(p.Alive);
      EXPECT_EQ(p.Stage, Crops[crop].WitheredStage);
      EXPECT_EQ(p.Water, 0.0);
      EXPECT_EQ(p.AnimFrame, 0);
      EXPECT_EQ(p.GrowthTick, 0);
      EXPECT_TRUE(p.Growing);
      EXPECT_EQ(g.Date.Day, 28);  // 2701 frames of 100 a day
      EXPECT_EQ(g.Date.Tick, 1);
      Frame();  // withered plants are no longer stepped
      EXPECT_EQ(p.GrowthTick, 0);
      EXPECT_EQ(p.Stage, Crops[crop].WitheredStage);
    }
  }
}

TEST_F(GrowthTest, TheOrdersPanelStopsGrowthAndCalendarButNotTheWaterWorks) {
  TGame& g = *game;
  TPlot& p = Plant(0, 0, 1);
  p.Water = 5.0;
  g.Pipe[0][0] = true;
  g.OrdersPanelOpen = true;
  for (int frame = 0; frame < 100; ++frame) Frame();
  EXPECT_EQ(g.Date.Day, 1);
  EXPECT_EQ(g.Date.Tick, 0);
  EXPECT_EQ(p.GrowthTick, 0);
  EXPECT_EQ(p.Water, 100.0);  // the pipe filled it
  EXPECT_EQ(g.Money, 1997);
  EXPECT_EQ(g.CloudEntry, 960);
  g.OrdersPanelOpen = false;
  for (int frame = 0; frame < 100; ++frame) Frame();
  EXPECT_EQ(g.Date.Day, 2);
  EXPECT_EQ(g.Date.Tick, 0);
  EXPECT_EQ(p.GrowthTick, 100);
}

TEST_F(GrowthTest, TwoPlantsWitherInTheSameFrameAndEveryPlantIsStillDrawn) {
  TPlot& a = Plant(2, 3, 0);
  TPlot& b = Plant(20, 9, 3);
  for (int frame = 1; frame <= 100; ++frame) Frame();
  TPlot& late = Plant(11, 5, 2);  // between the two in the pass
  for (int frame = 101; frame < 2701; ++frame) Frame();
  ASSERT_TRUE(a.Alive && b.Alive);
  Frame();
  EXPECT_FALSE(a.Alive);
  EXPECT_FALSE(b.Alive);
  EXPECT_TRUE(late.Alive);
  EXPECT_EQ(late.GrowthTick, 201);  // stepped in this frame too: 2601 steps since planting
  // This frame still showed the two in their living rows, and the third.
  EXPECT_EQ(DrawnStage(2, 3), 2);
  EXPECT_EQ(DrawnStage(20, 9), 1);
  EXPECT_EQ(DrawnStage(11, 5), 2);
  Frame();
  EXPECT_EQ(DrawnStage(2, 3), Crops[0].WitheredStage);
  EXPECT_EQ(DrawnStage(20, 9), Crops[3].WitheredStage);
}

TEST_F(GrowthTest, TheLevelIsLostBelow20MoneyWithNothingLeftToHarvest) {
  auto& headless = static_cast<platform::THeadlessPlatform&>(platform::Current());
  TGame& g = *game;
  g.Money = 19;
  TPlot& p = Plant(8, 8, 2);
  for (int frame = 1; frame <= 2701; ++frame) Frame();
  ASSERT_FALSE(p.Alive);
  EXPECT_TRUE(g.InGame);  // the plant lived through the check of this frame
  g.LevelStatsOpen = g.LevelIntroOpen = true;
  const uint64_t before = headless.NowNanoseconds();
  const uint64_t frames = headless.FramesPresented();
  Frame();
  EXPECT_FALSE(g.InGame);
  EXPECT_FALSE(g.LevelStatsOpen);
  EXPECT_FALSE(g.LevelIntroOpen);
  EXPECT_EQ(stops.size(), 1u);
  EXPECT_GE(headless.NowNanoseconds() - before, 3000u * 1'000'000);
  ASSERT_EQ(headless.FramesPresented(), frames + 1);
  const uint16_t* shown = headless.Presenter()->LastFrame();
  EXPECT_EQ(shown[0], 0x0101);                 // the menu background
  EXPECT_EQ(shown[339 * 1024 + 286], 0x0202);  // the game-over picture
  EXPECT_EQ(shown[401 * 1024 + 715], 0x0101);  // just past its corner

  struct Case {
    int32_t money;
    int plantStage;
    bool lost;
  };  // plantStage -1: empty field
  const Case cases[] = {
      {20, -1, false}, {19, -1, true}, {19, 3, false},  // a ripe plant can still be sold
      {0, 0, false},   {19, 4, true},  {19, 5, true},   // withered plants cannot
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "money " << c.money << ", stage " << c.plantStage);
    g.ResetForLevel();
    g.InGame = true;
    g.Money = c.money;
    if (c.plantStage >= 0) {
      TPlot& q = Plant(0, 0, 1);
      q.Stage = static_cast<uint16_t>(c.plantStage);
      q.Alive = c.plantStage <= 3;
    }
    stops.clear();
    Frame();
    EXPECT_EQ(g.InGame, !c.lost);
    EXPECT_EQ(stops.size(), c.lost ? 1u : 0u);
  }
  // A plant of a vegetable the table does not hold cannot be sold either.
  g.ResetForLevel();
  g.InGame = true;
  g.Money = 19;
  Plant(0, 0, 1).Crop = 7;
  Frame();
  EXPECT_FALSE(g.InGame);
}

// A saved game may hold counters past their periods, a stage beyond ripeness on a growing plant
// or moisture that is not a number; each plant is back on its ordinary course within one step.
TEST_F(GrowthTest, DamagedPlotsFallBackIntoTheirCourse) {
  TGame& g = *game;
  TPlot& lateLoss = Plant(0, 0, 0);
  lateLoss.WaterTick = 30000;
  TPlot& lateGrowth = Plant(1, 0, 0);
  lateGrowth.GrowthTick = 5000;
  TPlot& overRipe = Plant(2, 0, 2);
  overRipe.Stage = 3;
  overRipe.GrowthTick = 1200;
  TPlot& wildFrame = Plant(3, 0, 1);
  wildFrame.AnimFrame = -7;
  TPlot& noWater = Plant(4, 0, 3);
  noWater.Water = std::nan("");
  g.OrdersPanelOpen = false;
  for (int col = 0; col < 5; ++col) g.PlantStep(col, 0);
  EXPECT_EQ(lateLoss.WaterTick, 1);
  EXPECT_EQ(lateLoss.AnimFrame, 1);
  EXPECT_DOUBLE_EQ(lateLoss.Water, 99.07);
  EXPECT_EQ(lateGrowth.Stage, 1);
  EXPECT_EQ(lateGrowth.GrowthTick, 1);
  EXPECT_EQ(overRipe.Stage, 3);
  EXPECT_FALSE(overRipe.Growing);
  EXPECT_EQ(wildFrame.AnimFrame, 0);
  EXPECT_FALSE(noWater.Alive);
  EXPECT_EQ(noWater.Water, 0.0);
}

}  // namespace
