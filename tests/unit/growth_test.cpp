// Growth, water and time, run through the garden's steps of a game-view frame in their order.
#include <cmath>

#include "TestSupport.h"

namespace {

std::vector<std::string> stops;
void RecordStops(const TSoundClip&, const char* operation, const std::string&) {
  if (std::string(operation) == "Stop") stops.push_back(operation);
}

// A game in a level, with pictures in every slot the garden uses.
class GrowthTest : public TGameTest {
 protected:
  ~GrowthTest() override {
    for (TSurface* s : {menu_, symbols_, water_, plants_}) delete s;
    TSoundClip::Observer = nullptr;
  }
  void SetUp() override {
    TGameTest::SetUp();
    g.InGame = true;
    stops.clear();
    TSoundClip::Observer = RecordStops;
  }
  // The garden's steps of one game-view frame, in the frame's order.
  void Frame() {
    g.Clear(0);
    g.CheckOutOfMoney(&menu_, &symbols_);
    g.CalendarStep();
    g.DrawPipes(&water_);
    g.DrawPlants(&plants_);
  }
  // What planting leaves on a fresh plot.
  TPlot& Plant(int col, int row, uint16_t crop) {
    return g.Field[col][row] = {.Planted = true, .Owned = true, .Crop = crop};
  }
  // The 35-pixel stage row the plant on (col, row) was drawn from in the last frame.
  int DrawnStage(int col, int row) const { return At(33 + 40 * col, 280 + 35 * row) >> 10; }

  TSurface* menu_ = PlainSurface(1415, 800, 0x0101);
  TSurface* symbols_ = PlainSurface(452, 313, 0x0202);
  TSurface* water_ = PlainSurface(200, 105, 0x0303);
  // The plants' pixels hold their stage row.
  TSurface* plants_ = Painted(603, 245, [](int x, int y) {
                        return uint16_t((1 + x % 40) | (y / 35) << 10);
                      }).release();
};

// A pipe fills each crop at its 97th loss while it grows and leaves it to dry once ripe.
TEST_F(GrowthTest, PipedPlantsRipenOnTimeAndRipeOnesWitherUnwatered) {
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

TEST_F(GrowthTest, APipeWatersWhileTheMoneyLastsNeverAWitheredPlantAndAlsoUnderTheOrdersPanel) {
  TPlot& p = Plant(0, 0, 2);
  g.Pipe[0][0] = true;
  g.Money = 2;
  for (int frame = 1; frame <= 2500; ++frame) Frame();
  EXPECT_EQ(std::pair(g.SprinklerOn[0][0], g.Money), std::pair(false, 2));
  g.Money = 3;  // the test comes round every frame, so the next one fills the plot
  Frame();
  EXPECT_EQ(std::pair(g.SprinklerOn[0][0], g.Money), std::pair(true, 0));
  EXPECT_GT(p.Water, 99.0);
  // A withered plant, dry and still marked as growing, is not watered: nothing is paid for.
  g.Field[1][1] = {.Planted = true, .Owned = true, .Water = 0.0, .Alive = false};
  g.Pipe[1][1] = true;
  g.Money = 100;
  for (int frame = 0; frame < 10; ++frame) Frame();
  EXPECT_EQ(std::pair(g.SprinklerOn[1][1], g.Money), std::pair(false, 100));
  // The orders panel pauses the plants, neither drying nor growing, but not the pipes. (Its pause
  // of the calendar, with the clouds drifting on, is played through in a scenario.)
  TPlot& paused = g.Field[2][2] = {.Planted = true, .Owned = true, .Crop = 1, .Water = 5.0};
  g.Pipe[2][2] = true;
  g.Money = 2000;
  g.OrdersPanelOpen = true;
  for (int frame = 0; frame < 100; ++frame) Frame();
  EXPECT_EQ(std::tuple(paused.GrowthTick, paused.WaterTick, paused.Water, g.Money),
            std::tuple(0, 0, 100.0, 1997));  // the pipe filled it
  g.OrdersPanelOpen = false;
  Frame();
  EXPECT_EQ(paused.GrowthTick, 1);
}

// Unwatered plants wither in their 2701st frame, drawn living in it and withered after it.
TEST_F(GrowthTest, UnwateredPlantsWitherInTheir2701stFrameAndDamagedPlotsFallBackIntoCourse) {
  TPlot* plants[4];
  for (uint16_t crop = 0; crop < 4; ++crop) plants[crop] = &Plant(2 + 6 * crop, 3 + crop, crop);
  for (int frame = 1; frame <= 100; ++frame) Frame();
  TPlot& late = Plant(11, 5, 2);  // between them in the pass
  for (int frame = 101; frame < 2701; ++frame) Frame();
  for (const TPlot* p : plants) ASSERT_TRUE(p->Alive);
  Frame();
  EXPECT_TRUE(late.Alive);
  EXPECT_EQ(late.GrowthTick, 201);  // stepped in this frame too: 2601 steps since planting
  const int livingStage[4] = {2, 1, 2, 1};
  for (uint16_t crop = 0; crop < 4; ++crop) {
    SCOPED_TRACE(testing::Message() << "crop " << crop);
    const TPlot& p = *plants[crop];
    EXPECT_EQ(std::tuple(p.Alive, p.Stage, p.Water, p.AnimFrame, p.GrowthTick, p.Growing),
              std::tuple(false, Crops[crop].WitheredStage, 0.0, int16_t{0}, 0, true));
    EXPECT_EQ(DrawnStage(2 + 6 * crop, 3 + crop), livingStage[crop]);
  }
  EXPECT_EQ(DrawnStage(11, 5), 2);
  Frame();
  for (uint16_t crop = 0; crop < 4; ++crop) {
    EXPECT_EQ(plants[crop]->GrowthTick, 0) << crop;
    EXPECT_EQ(DrawnStage(2 + 6 * crop, 3 + crop), Crops[crop].WitheredStage) << crop;
  }
  // Damaged counters, stages and moisture are back on their course within one step.
  TPlot& lateLoss = g.Field[0][0] = {.Planted = true, .Owned = true, .WaterTick = 30000};
  TPlot& lateGrowth = g.Field[1][0] = {.Planted = true, .Owned = true, .GrowthTick = 5000};
  TPlot& overRipe =
      g.Field[2][0] = {.Planted = true, .Owned = true, .GrowthTick = 1200, .Crop = 2, .Stage = 3};
  TPlot& wildFrame = g.Field[3][0] = {.Planted = true, .Owned = true, .AnimFrame = -7, .Crop = 1};
  TPlot& noWater = g.Field[4][0] = {.Planted = true, .Owned = true, .Crop = 3, .Water = NAN};
  for (int col = 0; col < 5; ++col) g.PlantStep(col, 0);
  EXPECT_EQ(std::tuple(lateLoss.WaterTick, lateLoss.AnimFrame), std::tuple(1, 1));
  EXPECT_DOUBLE_EQ(lateLoss.Water, 99.07);
  EXPECT_EQ(std::tuple(lateGrowth.Stage, lateGrowth.GrowthTick), std::tuple(1, 1));
  EXPECT_EQ(std::tuple(overRipe.Stage, overRipe.Growing), std::tuple(3, false));
  EXPECT_EQ(wildFrame.AnimFrame, 0);
  EXPECT_EQ(std::pair(noWater.Alive, noWater.Water), std::pair(false, 0.0));
}

TEST_F(GrowthTest, TheLevelIsLostBelow20MoneyWithNothingLeftToHarvest) {
  auto& headless = Headless();
  g.Money = 19;
  g.LevelStatsOpen = g.LevelIntroOpen = true;
  const uint64_t before = headless.NowNanoseconds();
  const uint64_t frames = headless.FramesPresented();
  Frame();
  EXPECT_FALSE(g.InGame || g.LevelStatsOpen || g.LevelIntroOpen);
  EXPECT_EQ(stops.size(), 1u);
  EXPECT_GE(headless.NowNanoseconds() - before, 3000u * 1'000'000);
  ASSERT_EQ(headless.FramesPresented(), frames + 1);
  const uint16_t* shown = headless.Presenter()->LastFrame();
  EXPECT_EQ(shown[0], 0x0101);                 // the menu background
  EXPECT_EQ(shown[339 * 1024 + 286], 0x0202);  // the game-over picture
  EXPECT_EQ(shown[401 * 1024 + 715], 0x0101);  // just past its corner
  // The money, the stage of a plant on the field (-1: none), its crop, and whether that loses.
  const std::tuple<int32_t, int, uint16_t, bool> cases[] = {
      {20, -1, 1, false},
      {19, 3, 1, false},  // a ripe kohlrabi can still be sold
      {19, 4, 1, true},   // a withered one cannot
      {19, 3, 7, true},   // nor a plant of a vegetable the table does not hold
  };
  for (const auto& [money, stage, crop, lost] : cases) {
    SCOPED_TRACE(testing::Message() << "money " << money << ", stage " << stage);
    g.ResetForLevel();
    g.InGame = true;
    g.Money = money;
    if (stage >= 0) {
      TPlot& q = Plant(0, 0, crop);
      q.Stage = uint16_t(stage);
      q.Alive = stage <= 3;
    }
    stops.clear();
    Frame();
    EXPECT_EQ(g.InGame, !lost);
    EXPECT_EQ(stops.size(), lost ? 1u : 0u);
  }
}

}  // namespace
