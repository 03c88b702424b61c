// The plot tools at the edges of their rules and the plot menu.
#include "TestSupport.h"
#include "gfx/SpriteRects.h"
#include "gfx/Text.h"

namespace {

namespace sheet = sprites::main_sheet;

std::vector<const TSoundClip*> played;
void RecordPlay(const TSoundClip& clip, const char* operation, const std::string&) {
  if (std::string(operation) == "Play") played.push_back(&clip);
}

class PlotActionsTest : public TGameTest {
 protected:
  void SetUp() override {
    TGameTest::SetUp();
    g.InGame = g.Levl.StavetStudnu = true;
    std::fill_n(g.Levl.SaditZeleninu, 4, true);
    played.clear();
    TSoundClip::Observer = RecordPlay;
    // The menu's area of Main.bmp: the background in one colour, each button picture in one of
    // its own (normal: its id, hover: 0x100 + id).
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

  static constexpr uint16_t kBackground = 0x4208;
  std::unique_ptr<TSurface> artOwner = std::make_unique<TSurface>(sheet::Width, sheet::Height);
  TSurface* art = artOwner.get();
};

// Buying (50), fertilising (9) and pipes (35, silent, once the well stands) need their plots.
TEST_F(PlotActionsTest, BuyingFertilisingAndPipesNeedTheirPriceAndTheirKindOfPlot) {
  g.ToolBuy = g.ToolFertilise = g.ToolPipe = true;
  using TAct = void (TGame::*)();
  const TAct buy = &TGame::BuyAction, fertilise = &TGame::FertiliseAction,
             pipe = &TGame::PipeAction;
  // The action; the plot (bought, fertility, pipe), the well and the money before; the plot and
  // the money after, and the purchase sounds.
  const std::tuple<TAct, bool, double, bool, bool, int32_t, bool, double, bool, int32_t, int>
      cases[] = {
          {buy, false, 40, false, false, 49, false, 40, false, 49, 0},
          {buy, false, 40, false, false, 50, true, 40, false, 0, 1},
          {buy, true, 40, false, false, 100, true, 40, false, 100, 0},
          {fertilise, false, 40, false, false, 100, false, 40, false, 100, 0},
          {fertilise, true, 100, false, false, 100, true, 100, false, 100, 0},
          {fertilise, true, 40, false, false, 8, true, 40, false, 8, 0},
          {fertilise, true, 40, false, false, 9, true, 100, false, 0, 1},
          {pipe, true, 40, false, false, 100, true, 40, false, 100, 0},  // no well yet
          {pipe, false, 40, false, true, 100, false, 40, false, 100, 0},
          {pipe, true, 40, false, true, 35, true, 40, true, 0, 0},
          {pipe, true, 40, false, true, 34, true, 40, false, 34, 0},
          {pipe, true, 40, true, true, 100, true, 40, true, 100, 0},  // paid once
      };
  int i = 0;
  for (const auto& [act, owned, fertility, piped, well, money, ownedAfter, fertilityAfter,
                    pipedAfter, moneyAfter, sounds] : cases) {
    SCOPED_TRACE(i++);
    TPlot& p = Hover(7, 2);
    p = {.Owned = owned, .Fertility = fertility};
    g.Pipe[7][2] = piped;
    g.WellBuilt = well;
    g.Money = money;
    played.clear();
    (g.*act)();
    EXPECT_EQ(std::tuple(p.Owned, p.Fertility, g.Pipe[7][2], g.Money),
              std::tuple(ownedAfter, fertilityAfter, pipedAfter, moneyAfter));
    EXPECT_EQ(Plays(g.BuySound), sounds);
    EXPECT_EQ(int(played.size()), sounds);
    g.HoverX = -1;  // nothing under the mouse: nothing happens
    (g.*act)();
    EXPECT_EQ(g.Money, moneyAfter);
  }
}

TEST_F(PlotActionsTest, PlantingNeedsMoreFertilityThanTheCropTakesAndWateringCostsThree) {
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
    EXPECT_EQ(std::tuple(g.Money, p.Crop, p.Water, p.Stage + p.GrowthTick + p.AnimFrame,
                         p.Alive && p.Growing, p.WaterTick),
              std::tuple(0, 3, 100.0, 0, true, 11));  // the water tick runs on
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
  // Watering costs 3 and fills any planted plot, withered or not; nothing else on the plot moves.
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
    EXPECT_EQ(std::tuple(p.Water, g.Money, Plays(g.WaterSound), played.size()),
              std::tuple(watered ? 100.0 : 7.5, watered ? money - 3 : money, watered ? 1 : 0,
                         watered ? 1u : 0u));
    EXPECT_EQ(std::tuple(p.Alive, p.Stage, p.WaterTick, p.GrowthTick, p.Fertility),
              std::tuple(alive, stage, int16_t{12}, 300, 60.0));  // nothing else moves
  }
  // Without the tool, or with nothing under the mouse, a release waters nothing.
  Hover(9, 9).Planted = true;  // dry (7.5) after the last case
  g.ToolWater = false;
  g.WaterAction();
  g.ToolWater = true;
  g.HoverX = -1;
  g.WaterAction();
  EXPECT_EQ(g.Field[9][9].Water, 7.5);
  EXPECT_EQ(g.Money, 10);
}

// Withered plants are cleared for 6; ripe ones sell into the shed, never past the money's ceiling.
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
    // The sound also when the fee cannot be paid.
    EXPECT_EQ(std::tuple(Plays(g.BuySound), dead.Planted, g.Money, g.ShedStock[0]),
              std::tuple(1, money == 5, money == 5 ? 5 : 0, 0));
    EXPECT_DOUBLE_EQ(dead.Fertility, money == 5 ? 100.0 : 87.84);
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
    std::vector<int32_t> shed(4, 2);
    shed[crop] = 3;
    EXPECT_EQ(std::vector<int32_t>(g.ShedStock, g.ShedStock + 4), shed);
    EXPECT_EQ(std::tuple(g.Money, p.Planted, p.Owned, p.Crop, Plays(g.BuySound)),
              std::tuple(1000 + price, false, true, crop, 1));
    EXPECT_DOUBLE_EQ(p.Fertility, fertility);

    p.Planted = true;
    p.Fertility = 100.0;
    g.Money = INT32_MAX - price + 1;  // one more than the sale can add
    g.HarvestAction();
    EXPECT_EQ(std::tuple(g.Money, g.ShedStock[crop], p.Planted, p.Fertility),
              std::tuple(INT32_MAX - price + 1, 3, true, 100.0));
    g.Money = INT32_MAX - price;  // the sale just fits
    g.HarvestAction();
    EXPECT_EQ(std::tuple(g.Money, g.ShedStock[crop], p.Planted), std::tuple(INT32_MAX, 4, false));
  }
}

// The harvest hint shows a ripe plant's price or the clearing fee; a hovered button its label.
TEST_F(PlotActionsTest, HintsShowTheHarvestsWorthAndTheButtonsLabels) {
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

TEST_F(PlotActionsTest, EachButtonSelectsItsToolAloneAndTheMenuTakesOnlyTheButtonsItMay) {
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
    EXPECT_EQ(std::tuple(g.WellBuilt, g.Money, g.ToolWater || g.ToolHarvest, g.HoverX),
              std::tuple(money != 1899, moneyAfter, false, -1));
  }
  EXPECT_TRUE(played.empty());
  // Hover pictures, one click sound per entry; forbidden buttons and the orders panel do nothing.
  g.WellBuilt = false;
  for (auto [x, y] :
       {std::pair{20, 20}, {50, 50}, {60, 60}, {100, 50}, {20, 20}, {20, 20}, {100, 50}})
    Menu(x, y);
  EXPECT_EQ(Plays(g.ClickSound), 3);  // into 1, straight on into 2, into 2 again
  EXPECT_EQ(At(100, 50), 0x102);
  EXPECT_EQ(At(50, 50), 1);
  g.Levl.SaditZeleninu[1] = false;  // button 6, kohlrabi, at (88, 90)
  g.Levl.StavetStudnu = false;      // buttons 9 and 10
  played.clear();
  Menu(100, 100);
  for (auto [x, y] : {std::pair{100, 100}, {250, 60}, {300, 60}}) EXPECT_EQ(At(x, y), kBackground);
  EXPECT_EQ(At(60, 100), 4);    // the carrot is allowed
  EXPECT_TRUE(played.empty());  // nothing to hover
  g.Money = 5000;
  Menu(100, 100, true);
  Menu(250, 60, true);
  EXPECT_FALSE(g.ToolPlant || g.WellBuilt);
  EXPECT_EQ(g.Money, 5000);
  g.OrdersPanelOpen = true;
  Menu(50, 50);
  Menu(50, 50, true);
  EXPECT_EQ(At(50, 50), 0);
  EXPECT_FALSE(g.ToolBuy);
}

}  // namespace
