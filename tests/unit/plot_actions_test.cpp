// The plot tools at the edges of their rules and the plot menu. (A whole season of buying,
// planting, watering and harvesting is played through in a scenario.)
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "TestSupport.h"
#include "base/Cp1250.h"
#include "game/Game.h"
#include "gfx/SpriteRects.h"
#include "gfx/Text.h"

namespace {

namespace sheet = sprites::main_sheet;

std::vector<const TSoundClip*> played;
void RecordPlay(const TSoundClip& clip, const char* operation, const std::string&) {
  if (std::string(operation) == "Play") played.push_back(&clip);
}

class PlotActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(g.InitDisplay(nullptr, 1024, 768, 16));
    g.InGame = g.Levl.StavetStudnu = true;
    std::fill_n(g.Levl.SaditZeleninu, 4, true);
    played.clear();
    TSoundClip::Observer = RecordPlay;
    // A stand-in for the menu's part of Main.bmp: the background in one colour, each button
    // picture in one of its own (normal: its id, hover: 0x100 + id).
    Fill(sheet::PlotMenu, kBackground);
    for (int id = 1; id <= 10; ++id) {
      Fill(sheet::PlotMenuButton(id, false), uint16_t(id));
      Fill(sheet::PlotMenuButton(id, true), uint16_t(0x100 + id));
    }
  }
  void TearDown() override { TSoundClip::Observer = nullptr; }
  TPlot& Hover(int col, int row) {
    g.HoverX = col;
    g.HoverY = row;
    return g.Field[col][row];
  }
  int Plays(const TSoundClip& clip) { return int(std::count(played.begin(), played.end(), &clip)); }
  void Fill(const TRect& r, uint16_t colour) {
    for (int y = r.Top; y < r.Bottom; ++y)
      std::fill(art->Row(y) + r.Left, art->Row(y) + r.Right, colour);
  }
  void Menu(int x, int y, bool click = false) {
    g.Clear(0);
    g.DrawPlotMenu(x, y, &art, click);
  }
  uint16_t Pixel(int x, int y) { return g.BackBuffer->Row(y)[x]; }
  std::vector<uint16_t> Screen() { return PixelsOf(*g.BackBuffer); }

  static constexpr uint16_t kBackground = 0x4208;
  TTestFolder folder{"plot"};  // for the settings file the game object writes
  TGame g;
  std::unique_ptr<TSurface> artOwner = std::make_unique<TSurface>(sheet::Width, sheet::Height);
  TSurface* art = artOwner.get();
};

// Buying takes 50 for a plot not yet bought, fertilising 9 for a bought plot short of full, and
// a pipe 35, without a sound, for a bought plot without one once the well stands.
TEST_F(PlotActionsTest, BuyingFertilisingAndPipesNeedTheirPriceAndTheirKindOfPlot) {
  g.ToolBuy = g.ToolFertilise = g.ToolPipe = true;
  TPlot& bought = Hover(3, 4);
  g.Money = 49;
  g.BuyAction();
  EXPECT_FALSE(bought.Owned);
  g.Money = 50;
  g.BuyAction();
  EXPECT_TRUE(bought.Owned);
  EXPECT_EQ(g.Money, 0);
  g.Money = 100;
  g.BuyAction();  // already bought
  g.HoverX = -1;
  g.BuyAction();  // nothing under the mouse
  EXPECT_EQ(g.Money, 100);
  EXPECT_EQ(Plays(g.BuySound), 1);
  played.clear();
  Hover(7, 2).Fertility = 40.0;  // not bought
  g.Money = 100;
  g.FertiliseAction();
  TPlot& plot = Hover(7, 3);
  plot.Owned = true;
  plot.Fertility = 100.0;
  g.FertiliseAction();
  plot.Fertility = 40.0;
  g.Money = 8;
  g.FertiliseAction();
  EXPECT_EQ(g.Field[7][2].Fertility, 40.0);
  EXPECT_EQ(plot.Fertility, 40.0);
  EXPECT_TRUE(played.empty());
  g.Money = 9;
  g.FertiliseAction();
  EXPECT_EQ(plot.Fertility, 100.0);
  EXPECT_EQ(g.Money, 0);
  EXPECT_EQ(Plays(g.BuySound), 1);
  played.clear();
  g.Money = 100;
  Hover(7, 2).Owned = true;
  g.PipeAction();
  EXPECT_FALSE(g.Pipe[7][2]);  // no well yet
  g.WellBuilt = true;
  Hover(8, 2);
  g.PipeAction();
  EXPECT_FALSE(g.Pipe[8][2]);  // not bought
  Hover(7, 2);
  g.PipeAction();
  g.PipeAction();
  EXPECT_TRUE(g.Pipe[7][2]);
  EXPECT_EQ(g.Money, 65);  // paid once
  EXPECT_TRUE(played.empty());
}

TEST_F(PlotActionsTest, PlantingNeedsMoreFertilityThanTheCropTakes) {
  g.ToolPlant = true;
  g.SelectedCrop = 3;  // garlic: 32, takes 13.89
  for (auto [fertility, money, planted] :
       {std::tuple{13.89, 100, false}, {13.9, 31, false}, {13.9, 32, true}}) {
    // A bought plot whose last plant withered and was cleared: dry, its counters left over.
    TPlot& p = Hover(0, 0);
    p = {false, true, 11, 7, 7, 0, 7, {}, 1.0, false, false, {}, fertility};
    g.Money = money;
    g.PlantAction();
    ASSERT_EQ(p.Planted, planted) << fertility << " " << money;
    if (!planted) continue;
    EXPECT_EQ(g.Money, 0);
    EXPECT_EQ(p.Crop, 3);
    EXPECT_EQ(p.Water, 100.0);
    EXPECT_EQ(p.Stage + p.GrowthTick + p.AnimFrame, 0);
    EXPECT_TRUE(p.Alive && p.Growing);
    EXPECT_EQ(p.WaterTick, 11);  // runs on
  }
  EXPECT_EQ(Plays(g.BuySound), 1);
  // Not on unbought ground, not over a plant, not with a crop the table lacks.
  g.Money = 1000;
  g.SelectedCrop = 2;
  Hover(1, 0);
  g.PlantAction();
  Hover(0, 0);
  g.PlantAction();
  Hover(2, 0).Owned = true;
  g.SelectedCrop = 4;
  g.PlantAction();
  EXPECT_EQ(g.Field[0][0].Crop, 3);
  EXPECT_EQ(g.Money, 1000);
}

// A withered plant is cleared for 6, also when that cannot be paid; an unripe one is left. A ripe
// plant sells for its crop's price into the shed and takes its share of the soil; the plot stays
// bought and keeps its crop. At the money's ceiling the sale is refused whole: the plant stays,
// the shed and the soil are untouched, and the money does not wrap around.
TEST_F(PlotActionsTest, HarvestClearsWitheredPlantsAndSellsRipeOnesIntoTheShed) {
  g.ToolHarvest = true;
  TPlot& dead = Hover(5, 5);
  dead.Owned = true;
  for (const int money : {5, 6}) {
    dead.Planted = true;
    dead.Fertility = 100.0;
    dead.Stage = 5;  // withered
    g.Money = money;
    played.clear();
    g.HarvestAction();
    EXPECT_EQ(Plays(g.BuySound), 1) << money;  // also when the fee cannot be paid
    EXPECT_EQ(dead.Planted, money == 5);
    EXPECT_EQ(g.Money, money == 5 ? 5 : 0);
    EXPECT_DOUBLE_EQ(dead.Fertility, money == 5 ? 100.0 : 87.84);
    EXPECT_EQ(g.ShedStock[0], 0);
  }
  // Not yet ripe, or a crop number the table lacks: nothing, not even the sound.
  played.clear();
  dead.Planted = true;
  dead.Stage = 3;
  g.HarvestAction();
  dead.Crop = 9;
  dead.Stage = 6;
  g.HarvestAction();
  EXPECT_TRUE(dead.Planted);
  EXPECT_TRUE(played.empty());
  // The crop, its ripe stage, what it sells for, the fertility left of 100 after the harvest.
  const std::tuple<uint16_t, uint16_t, int32_t, double> crops[] = {
      {0, 4, 54, 87.84},  // cauliflower
      {1, 3, 37, 88.85},  // kohlrabi
      {2, 3, 32, 90.11},  // carrots
      {3, 3, 65, 86.11},  // garlic
  };
  for (const auto& [crop, ripe, price, fertility] : crops) {
    SCOPED_TRACE(crop);
    std::fill_n(g.ShedStock, 4, 2);
    TPlot& p = Hover(crop, 7);
    p = {true, true, 3, 0, 1, crop, ripe, {}, 40.0, true, false, {}, 100.0};
    g.Money = 1000;
    played.clear();
    g.HarvestAction();
    EXPECT_EQ(g.Money, 1000 + price);
    for (uint16_t other = 0; other < 4; ++other)
      EXPECT_EQ(g.ShedStock[other], other == crop ? 3 : 2) << other;
    EXPECT_FALSE(p.Planted);
    EXPECT_TRUE(p.Owned);
    EXPECT_EQ(p.Crop, crop);
    EXPECT_DOUBLE_EQ(p.Fertility, fertility);
    EXPECT_EQ(Plays(g.BuySound), 1);

    p.Planted = true;
    p.Fertility = 100.0;
    g.Money = INT32_MAX - price + 1;  // one more than the sale can add
    g.HarvestAction();
    EXPECT_EQ(g.Money, INT32_MAX - price + 1);
    EXPECT_EQ(g.ShedStock[crop], 3);
    EXPECT_TRUE(p.Planted);
    EXPECT_EQ(p.Fertility, 100.0);
    g.Money = INT32_MAX - price;  // the sale just fits
    g.HarvestAction();
    EXPECT_EQ(g.Money, INT32_MAX);
    EXPECT_EQ(g.ShedStock[crop], 4);
    EXPECT_FALSE(p.Planted);
  }
}

// Watering costs 3 and fills the plot's water to 100, for a living plant or a withered one, which
// stays withered; an empty plot, or less than 3 money, changes nothing and sounds nothing.
TEST_F(PlotActionsTest, WateringFillsAPlantedPlotForThree) {
  g.ToolWater = true;
  // What stands on the plot (planted, alive, its stage), the money, whether it is watered.
  const std::tuple<const char*, bool, bool, uint16_t, int32_t, bool> cases[] = {
      {"a growing kohlrabi", true, true, 1, 3, true},
      {"a withered kohlrabi", true, false, 4, 10, true},
      {"a growing kohlrabi, 2 money", true, true, 1, 2, false},
      {"a bought, empty plot", false, true, 0, 10, false},
  };
  for (const auto& [what, planted, alive, stage, money, watered] : cases) {
    SCOPED_TRACE(what);
    TPlot& p = Hover(9, 9);
    p = {planted, true, 12, 300, 2, 1, stage, {}, 7.5, alive, true, {}, 60.0};
    g.Money = money;
    played.clear();
    g.WaterAction();
    EXPECT_EQ(p.Water, watered ? 100.0 : 7.5);
    EXPECT_EQ(g.Money, watered ? money - 3 : money);
    EXPECT_EQ(Plays(g.WaterSound), watered ? 1 : 0);
    EXPECT_EQ(played.size(), watered ? 1u : 0u);
    // Nothing else on the plot moves.
    EXPECT_EQ(p.Alive, alive);
    EXPECT_EQ(p.Stage, stage);
    EXPECT_EQ(p.WaterTick, 12);
    EXPECT_EQ(p.GrowthTick, 300);
    EXPECT_EQ(p.Fertility, 60.0);
  }
  // Without the tool, or with nothing under the mouse, a release waters nothing.
  TPlot& p = Hover(9, 9);
  p.Planted = true;
  p.Water = 7.5;
  g.Money = 10;
  g.ToolWater = false;
  g.WaterAction();
  g.ToolWater = true;
  g.HoverX = -1;
  g.WaterAction();
  EXPECT_EQ(p.Water, 7.5);
  EXPECT_EQ(g.Money, 10);
}

// With the harvest tool over a ripe plant the hint shows what it sells for, over a withered one
// what clearing it costs; below ripe, or while the orders panel is open, it shows nothing.
TEST_F(PlotActionsTest, HintsShowTheHarvestsWorthAndTheButtonsLabels) {
  CreateFonts();
  ASSERT_TRUE(FontSmall && FontSmall->Usable()) << "no font file for Arial CE";
  g.ToolHarvest = true;
  TPlot& p = Hover(4, 6);
  p.Owned = p.Planted = true;
  p.Crop = 3;  // garlic
  auto hint = [&](int stage) {
    p.Stage = uint16_t(stage);
    g.Clear(0);
    g.DrawPriceHint(300, 400);
    return Screen();
  };
  auto text = [&](const char* utf8) {
    g.Clear(0);
    if (*utf8) g.DrawText(utf8, 323, 423, 0x80FFFF, g.BackBuffer, FontSmall);
    return Screen();
  };
  EXPECT_EQ(hint(Crops[3].RipeStage), text("Cena : 65"));
  EXPECT_EQ(hint(Crops[3].RipeStage + 1), text("Cena : -6"));
  EXPECT_EQ(hint(Crops[3].RipeStage - 1), text(""));
  g.OrdersPanelOpen = true;
  EXPECT_EQ(hint(Crops[3].RipeStage), text(""));
  // A hovered menu button shows its label and price.
  g.OrdersPanelOpen = false;
  Fill(sheet::PlotMenu, 0xF81F);  // a see-through background: right of the buttons only text
  art->SetColourKey(0xF81F);
  auto rightPart = [&] {
    std::vector<uint16_t> out;
    for (int y = 0; y < 768; ++y)
      out.insert(out.end(), g.BackBuffer->Row(y) + 340, g.BackBuffer->Row(y) + 1024);
    return out;
  };
  Menu(327, 87);  // the pipe button
  const auto shown = rightPart();
  g.Clear(0);
  for (auto [label, y] : {std::pair{"Zavlžovací potrubí", 110}, {"Cena : 35", 122}})
    g.DrawText(label, 350, y, 0x80FFFF, g.BackBuffer, FontSmall);
  EXPECT_EQ(shown, rightPart());
  g.Clear(0);
  EXPECT_NE(shown, rightPart());
}

TEST_F(PlotActionsTest, EachButtonSelectsItsToolAloneAndTheWellButtonBuildsTheWell) {
  constexpr int kKept = 9;  // the crop selection before the click
  // Where the click goes, the tool it selects, the crop selected after it.
  const std::tuple<int, int, bool TGame::*, int> cases[] = {
      {40, 40, &TGame::ToolBuy, kKept},      {135, 87, &TGame::ToolWater, kKept},
      {136, 40, &TGame::ToolHarvest, kKept}, {40, 90, &TGame::ToolPlant, 2},
      {136, 90, &TGame::ToolPlant, 0},       {88, 137, &TGame::ToolPlant, 1},
      {184, 90, &TGame::ToolPlant, 3},       {184, 40, &TGame::ToolFertilise, kKept},
      {327, 40, &TGame::ToolPipe, kKept}};
  bool TGame::*all[] = {&TGame::ToolPlant, &TGame::ToolHarvest, &TGame::ToolBuy,
                        &TGame::ToolPipe,  &TGame::ToolWater,   &TGame::ToolFertilise};
  for (const auto& [x, y, tool, crop] : cases) {
    for (auto t : all) g.*t = t != tool;
    g.HoverX = 4;
    g.SelectedCrop = kKept;
    Menu(x, y, true);
    for (auto t : all) EXPECT_EQ(g.*t, t == tool) << x << "," << y;
    EXPECT_EQ(g.SelectedCrop, crop) << x << "," << y;
    EXPECT_EQ(g.HoverX, -1);
  }
  // The well button clears the tools and builds the well once, without a sound.
  played.clear();
  for (auto [money, builtBefore, moneyAfter] :
       {std::tuple{1899, false, 1899}, {2000, true, 2000}, {1900, false, 0}}) {
    g.Money = money;
    g.WellBuilt = builtBefore;
    g.ToolWater = g.ToolHarvest = true;
    g.HoverX = 3;
    Menu(250, 60, true);
    EXPECT_EQ(g.WellBuilt, money != 1899) << money;
    EXPECT_EQ(g.Money, moneyAfter) << money;
    EXPECT_FALSE(g.ToolWater || g.ToolHarvest);
    EXPECT_EQ(g.HoverX, -1);
  }
  EXPECT_TRUE(played.empty());
}

// The hover picture and one click sound per entry into a button; buttons the level forbids are
// neither drawn nor clickable, and the orders panel stops the menu altogether.
TEST_F(PlotActionsTest, TheMenuHoversAndTakesOnlyTheButtonsItMay) {
  for (auto [x, y] :
       {std::pair{20, 20}, {50, 50}, {60, 60}, {100, 50}, {20, 20}, {20, 20}, {100, 50}})
    Menu(x, y);
  EXPECT_EQ(Plays(g.ClickSound), 3);  // into 1, straight on into 2, into 2 again
  EXPECT_EQ(Pixel(100, 50), 0x102);
  EXPECT_EQ(Pixel(50, 50), 1);
  g.Levl.SaditZeleninu[1] = false;  // button 6, kohlrabi, at (88, 90)
  g.Levl.StavetStudnu = false;      // buttons 9 and 10
  played.clear();
  Menu(100, 100);
  for (auto [x, y] : {std::pair{100, 100}, {250, 60}, {300, 60}})
    EXPECT_EQ(Pixel(x, y), kBackground);
  EXPECT_EQ(Pixel(60, 100), 4);  // the carrot is allowed
  EXPECT_TRUE(played.empty());   // nothing to hover
  g.Money = 5000;
  Menu(100, 100, true);
  Menu(250, 60, true);
  EXPECT_FALSE(g.ToolPlant || g.WellBuilt);
  EXPECT_EQ(g.Money, 5000);
  g.OrdersPanelOpen = true;
  Menu(50, 50);
  Menu(50, 50, true);
  EXPECT_EQ(Pixel(50, 50), 0);
  EXPECT_FALSE(g.ToolBuy);
}

}  // namespace
