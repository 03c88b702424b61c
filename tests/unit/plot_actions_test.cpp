// The plot tools at the edges of their rules (money, fertility, plot state, the well), the
// menu's buttons as the level allows them, its hover sound, and the harvest tool's price hint.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "game/Game.h"
#include "gfx/Cp1250.h"
#include "gfx/SpriteRects.h"
#include "gfx/Text.h"

namespace {

namespace fs = std::filesystem;

// The clips played, in order.
std::vector<const TSoundClip*> played;
void RecordPlay(const TSoundClip& clip, const char* operation, const std::string&) {
  if (std::string(operation) == "Play") played.push_back(&clip);
}

class PlotActionsTest : public ::testing::Test {
 protected:
  PlotActionsTest() : old_(fs::current_path()) {
    dir_ = fs::temp_directory_path() / ("kelvora_plot_actions_" + std::to_string(::getpid()));
    fs::create_directories(dir_ / "Data");
    fs::current_path(dir_);
    game = std::make_unique<TGame>();
  }
  ~PlotActionsTest() override {
    TSoundClip::Observer = oldObserver_;
    game.reset();
    fs::current_path(old_);
    fs::remove_all(dir_);
  }
  void SetUp() override {
    ASSERT_TRUE(g().InitDisplay(nullptr, 1024, 768, 16));
    g().InGame = true;
    g().Levl.SaditZeleninu[0] = g().Levl.SaditZeleninu[1] = true;
    g().Levl.SaditZeleninu[2] = g().Levl.SaditZeleninu[3] = true;
    g().Levl.StavetStudnu = true;
    played.clear();
    TSoundClip::Observer = RecordPlay;
  }
  TGame& g() { return *game; }
  TPlot& Hover(int col, int row) {
    g().HoverX = col;
    g().HoverY = row;
    return g().Field[col][row];
  }
  int Plays(const TSoundClip& clip) {
    return static_cast<int>(std::count(played.begin(), played.end(), &clip));
  }
  std::unique_ptr<TGame> game;

 private:
  fs::path old_, dir_;
  TSoundClip::TObserver oldObserver_ = TSoundClip::Observer;
};

TEST_F(PlotActionsTest, BuyingNeedsFiftyAndAPlotNotYetBought) {
  g().ToolBuy = true;
  g().Money = 49;
  TPlot& p = Hover(3, 4);
  g().BuyAction();
  EXPECT_FALSE(p.Owned);
  EXPECT_EQ(g().Money, 49);
  g().Money = 50;
  g().BuyAction();
  EXPECT_TRUE(p.Owned);
  EXPECT_EQ(g().Money, 0);
  g().Money = 100;
  g().BuyAction();  // already bought
  g().HoverX = -1;
  g().BuyAction();  // nothing under the mouse
  EXPECT_EQ(g().Money, 100);
  EXPECT_EQ(Plays(g().BuySound), 1);
}

TEST_F(PlotActionsTest, PlantingNeedsMoreFertilityThanTheCropTakes) {
  g().ToolPlant = true;
  g().SelectedCrop = 3;  // garlic: 32, takes 13.89
  struct Case { double fertility; int money; bool planted; };
  for (const Case c : {Case{13.89, 100, false}, Case{13.9, 31, false}, Case{13.9, 32, true}}) {
    TPlot& p = Hover(0, 0);
    p = TPlot{};
    p.Owned = true;
    p.Fertility = c.fertility;
    p.Water = 1.0;
    p.GrowthTick = p.AnimFrame = p.Stage = 7;
    p.WaterTick = 11;
    g().Money = c.money;
    g().PlantAction();
    EXPECT_EQ(p.Planted, c.planted) << c.fertility << " " << c.money;
    if (!c.planted) continue;
    EXPECT_EQ(g().Money, 0);
    EXPECT_EQ(p.Crop, 3);
    EXPECT_EQ(p.Water, 100.0);
    EXPECT_EQ(p.Stage + p.GrowthTick + p.AnimFrame, 0);
    EXPECT_EQ(p.WaterTick, 11);  // runs on
  }
  EXPECT_EQ(Plays(g().BuySound), 1);
  // Neither on unbought ground nor on a plant, nor with a crop no table row has.
  g().Money = 1000;
  g().SelectedCrop = 2;
  Hover(1, 0);
  g().PlantAction();
  Hover(0, 0);
  g().PlantAction();
  Hover(2, 0).Owned = true;
  g().SelectedCrop = 4;
  g().PlantAction();
  EXPECT_FALSE(g().Field[1][0].Planted || g().Field[2][0].Planted);
  EXPECT_EQ(g().Field[0][0].Crop, 3);
  EXPECT_EQ(g().Money, 1000);
}

TEST_F(PlotActionsTest, HarvestSellsRipePlantsAndClearsWitheredOnesForSix) {
  g().ToolHarvest = true;
  TPlot& p = Hover(5, 5);
  p.Owned = p.Planted = true;
  p.Crop = 0;
  p.Stage = 4;  // ripe cauliflower
  g().Money = 10;
  g().HarvestAction();
  EXPECT_EQ(g().Money, 64);
  EXPECT_EQ(g().ShedStock[0], 1);
  EXPECT_DOUBLE_EQ(p.Fertility, 87.84);
  EXPECT_FALSE(p.Planted);
  EXPECT_TRUE(p.Owned);

  struct Case { int money; bool cleared; };
  for (const Case c : {Case{5, false}, Case{6, true}}) {
    p.Planted = true;
    p.Fertility = 100.0;
    p.Stage = 5;  // withered
    g().Money = c.money;
    played.clear();
    g().HarvestAction();
    EXPECT_EQ(Plays(g().BuySound), 1) << c.money;  // sounds even when the fee cannot be paid
    EXPECT_EQ(p.Planted, !c.cleared);
    EXPECT_EQ(g().Money, c.cleared ? 0 : 5);
    EXPECT_DOUBLE_EQ(p.Fertility, c.cleared ? 87.84 : 100.0);
  }
  // Not yet ripe, or a crop number no table row has: nothing, not even the sound.
  played.clear();
  p.Planted = true;
  p.Stage = 3;
  g().HarvestAction();
  p.Crop = 9;
  p.Stage = 6;
  g().HarvestAction();
  EXPECT_TRUE(p.Planted);
  EXPECT_TRUE(played.empty());
}

TEST_F(PlotActionsTest, PipesNeedTheWellABoughtPlotAndNoPipeYet) {
  g().ToolPipe = true;
  g().Money = 100;
  TPlot& p = Hover(7, 2);
  p.Owned = true;
  g().PipeAction();
  EXPECT_FALSE(g().Pipe[7][2]);  // no well yet
  g().WellBuilt = true;
  Hover(8, 2);
  g().PipeAction();
  EXPECT_FALSE(g().Pipe[8][2]);  // not bought
  Hover(7, 2);
  g().PipeAction();
  g().PipeAction();
  EXPECT_TRUE(g().Pipe[7][2]);
  EXPECT_EQ(g().Money, 65);  // paid once
  EXPECT_TRUE(played.empty());
}

TEST_F(PlotActionsTest, WateringAndFertilising) {
  TPlot& p = Hover(1, 1);
  p.Owned = true;
  g().ToolWater = true;
  g().Money = 3;
  g().WaterAction();  // nothing planted
  p.Planted = true;
  p.Alive = false;  // a withered plant is watered too, and stays withered
  p.Water = 0.0;
  g().WaterAction();
  EXPECT_EQ(p.Water, 100.0);
  EXPECT_EQ(g().Money, 0);
  EXPECT_FALSE(p.Alive);
  EXPECT_EQ(Plays(g().WaterSound), 1);

  g().ToolWater = false;
  g().ToolFertilise = true;
  g().Money = 9;
  g().FertiliseAction();  // already full
  EXPECT_EQ(g().Money, 9);
  p.Fertility = 99.99;
  g().FertiliseAction();
  EXPECT_EQ(p.Fertility, 100.0);
  EXPECT_EQ(g().Money, 0);
  EXPECT_EQ(Plays(g().BuySound), 1);
}

// A stand-in for Main.bmp: the menu background in one colour, every button picture in one of
// its own (normal id, hover 0x100 + id).
class PlotMenuTest : public PlotActionsTest {
 protected:
  void SetUp() override {
    PlotActionsTest::SetUp();
    sheet_ = new TSurface(sprites::main_sheet::Width, sprites::main_sheet::Height);
    Fill(sprites::main_sheet::PlotMenu, kBackground);
    for (int id = 1; id <= 10; ++id) {
      Fill(sprites::main_sheet::PlotMenuButton(id, false), static_cast<uint16_t>(id));
      Fill(sprites::main_sheet::PlotMenuButton(id, true), static_cast<uint16_t>(0x100 + id));
    }
  }
  void TearDown() override { delete sheet_; }
  void Fill(const TRect& r, uint16_t colour) {
    for (int y = r.Top; y < r.Bottom; ++y) std::fill(sheet_->Row(y) + r.Left, sheet_->Row(y) + r.Right, colour);
  }
  void Menu(int x, int y, bool click = false) {
    g().Clear(0);
    g().DrawPlotMenu(x, y, &sheet_, click);
  }
  uint16_t Pixel(int x, int y) { return g().BackBuffer->Row(y)[x]; }
  static constexpr uint16_t kBackground = 0x4208;
  TSurface* sheet_ = nullptr;
};

TEST_F(PlotMenuTest, EachButtonSelectsItsToolAlone) {
  constexpr int kKept = 9;  // the crop selection before the click
  struct Case { int x, y; bool TGame::*tool; int crop; };
  const Case cases[] = {{40, 40, &TGame::ToolBuy, kKept},      {135, 87, &TGame::ToolWater, kKept},
                        {136, 40, &TGame::ToolHarvest, kKept}, {40, 90, &TGame::ToolPlant, 2},
                        {136, 90, &TGame::ToolPlant, 0},       {88, 137, &TGame::ToolPlant, 1},
                        {184, 90, &TGame::ToolPlant, 3},       {184, 40, &TGame::ToolFertilise, kKept},
                        {327, 40, &TGame::ToolPipe, kKept}};
  bool TGame::*all[] = {&TGame::ToolPlant, &TGame::ToolHarvest, &TGame::ToolBuy,
                        &TGame::ToolPipe,  &TGame::ToolWater,   &TGame::ToolFertilise};
  for (const Case& c : cases) {
    for (auto t : all) g().*t = t != c.tool;  // every other tool on
    g().HoverX = 4;
    g().SelectedCrop = kKept;
    Menu(c.x, c.y, true);
    for (auto t : all) EXPECT_EQ(g().*t, t == c.tool) << c.x << "," << c.y;
    EXPECT_EQ(g().SelectedCrop, c.crop) << c.x << "," << c.y;
    EXPECT_EQ(g().HoverX, -1);
  }
  g().ToolWater = true;
  Menu(136, 88, true);  // between the rows: no button
  EXPECT_TRUE(g().ToolWater);
}

TEST_F(PlotMenuTest, WellButtonClearsTheToolsAndBuildsTheWellOnceForNineteenHundred) {
  struct Case { int money; bool builtBefore; bool built; int moneyAfter; };
  for (const Case c : {Case{1899, false, false, 1899}, Case{2000, true, true, 2000},
                       Case{1900, false, true, 0}}) {
    g().Money = c.money;
    g().WellBuilt = c.builtBefore;
    g().ToolWater = g().ToolHarvest = true;
    g().HoverX = 3;
    Menu(250, 60, true);
    EXPECT_EQ(g().WellBuilt, c.built) << c.money;
    EXPECT_EQ(g().Money, c.moneyAfter) << c.money;
    EXPECT_FALSE(g().ToolWater || g().ToolHarvest);
    EXPECT_EQ(g().HoverX, -1);
  }
  EXPECT_TRUE(played.empty());
}

TEST_F(PlotMenuTest, ForbiddenButtonsAreNeitherDrawnNorClickable) {
  g().Levl.SaditZeleninu[1] = false;  // button 6, kohlrabi, at (88, 90)
  g().Levl.StavetStudnu = false;      // buttons 9 and 10
  Menu(100, 100);
  EXPECT_EQ(Pixel(100, 100), kBackground);
  EXPECT_EQ(Pixel(250, 60), kBackground);
  EXPECT_EQ(Pixel(300, 60), kBackground);
  EXPECT_EQ(Pixel(60, 100), 4);  // carrot allowed
  EXPECT_TRUE(played.empty());   // nothing to hover
  g().Money = 5000;
  Menu(100, 100, true);
  Menu(250, 60, true);
  EXPECT_FALSE(g().ToolPlant || g().WellBuilt);
  EXPECT_EQ(g().Money, 5000);
}

TEST_F(PlotMenuTest, HoverPictureAndOneClickPerEntry) {
  const int path[][2] = {{20, 20}, {50, 50}, {60, 60}, {100, 50}, {20, 20}, {20, 20}, {100, 50}};
  for (const auto& at : path) Menu(at[0], at[1]);
  EXPECT_EQ(Plays(g().ClickSound), 3);  // into 1, straight into 2, into 2 again
  EXPECT_EQ(Pixel(100, 50), 0x102);
  EXPECT_EQ(Pixel(50, 50), 1);
  g().OrdersPanelOpen = true;  // the orders panel stops the menu altogether
  Menu(50, 50);
  Menu(50, 50, true);
  EXPECT_EQ(Pixel(50, 50), 0);
  EXPECT_EQ(Plays(g().ClickSound), 3);
  EXPECT_FALSE(g().ToolBuy);
}

// Texts are compared with the same text drawn alone where nothing else is drawn.
class MenuTextTest : public PlotMenuTest {
 protected:
  void SetUp() override {
    PlotMenuTest::SetUp();
    Fill(sprites::main_sheet::PlotMenu, 0xF81F);  // a see-through background
    sheet_->SetColourKey(0xF81F);
    CreateFonts();
    ASSERT_TRUE(FontSmall && FontSmall->Usable()) << "no font file for Arial CE";
  }
  std::vector<uint16_t> Expected(const std::vector<std::pair<std::string, int>>& lines, int x) {
    g().Clear(0);
    for (const auto& [text, y] : lines)
      g().DrawText(Utf8ToCp1250(text), x, y, 0x80FFFF, g().BackBuffer, FontSmall);
    return Right(x - 10);
  }
  std::vector<uint16_t> Right(int from) {
    std::vector<uint16_t> out;
    for (int y = 0; y < 768; ++y) out.insert(out.end(), g().BackBuffer->Row(y) + from, g().BackBuffer->Row(y) + 1024);
    return out;
  }
};

TEST_F(MenuTextTest, HoveredButtonShowsItsLabelAndPrice) {
  Menu(327, 87);  // pipe: the texts start right of every button
  const auto shown = Right(340);
  EXPECT_EQ(shown, Expected({{"Zavlžovací potrubí", 110}, {"Cena : 35", 122}}, 350));
  EXPECT_NE(shown, Expected({}, 350));
}

TEST_F(MenuTextTest, PriceHintForRipeAndWitheredPlants) {
  g().ToolHarvest = true;
  TPlot& p = Hover(20, 0);
  p.Planted = true;
  p.Crop = 3;
  struct Case { int stage; const char* text; };
  for (const Case c : {Case{3, "Cena : 65"}, Case{4, "Cena : -6"}, Case{2, nullptr}}) {
    p.Stage = static_cast<uint16_t>(c.stage);
    g().Clear(0);
    g().DrawPriceHint(850, 290);
    const auto shown = Right(863);
    EXPECT_EQ(shown, c.text ? Expected({{c.text, 313}}, 873) : Expected({}, 873)) << c.stage;
  }
  // Off the field's band, or with the orders panel open: no hint.
  p.Stage = 3;
  struct Off { int x, y; bool orders; };
  for (const Off o : {Off{32, 290, false}, Off{850, 279, false}, Off{850, 290, true}}) {
    g().OrdersPanelOpen = o.orders;
    g().Clear(0);
    g().DrawPriceHint(o.x, o.y);
    const auto shown = Right(0);
    EXPECT_EQ(shown, Expected({}, 10)) << o.x << "," << o.y;
  }
}

}  // namespace
