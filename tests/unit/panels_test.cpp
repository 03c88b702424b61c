// The in-game panels: the main panel's buttons and their effects, the money, date and shed
// texts, and the plot information panel.
#include <cmath>

#include "TestSupport.h"
#include "gfx/SpriteRects.h"
#include "gfx/Text.h"

namespace {

namespace fs = std::filesystem;

class PanelsTest : public TGameTest {
 protected:
  void SetUp() override {
    TGameTest::SetUp();
    ASSERT_TRUE(FontStatus->Usable() && FontThin->Usable() && FontInfo->Usable());
    g.InGame = true;
  }
  void Click(int x, int y) { g.DrawMainPanel(x, y, &none, true); }
  struct TLine {
    const char* utf8;
    int x, y;
    TFont* font;
  };
  // The texts drawn by themselves onto a cleared screen.
  std::vector<uint16_t> Texts(uint16_t paper, uint32_t colour, const std::vector<TLine>& lines) {
    g.Clear(paper);
    for (const TLine& l : lines) g.DrawText(l.utf8, l.x, l.y, colour, g.BackBuffer, l.font);
    return Screen();
  }
  TSurface* none = nullptr;
};

// The main menu button leaves the level and starts the menu tune again; the others open their
// screens.
TEST_F(PanelsTest, TheMainAndSidePanelButtonsOpenTheirScreensOrLeaveTheLevel) {
  WriteFile("Menu.mp3", "tune");
  std::string error;
  ASSERT_TRUE(WriteArchive("Data/Hudba.dat", {"Menu.mp3"}, error)) << error;
  fs::remove("Menu.mp3");  // so that only the archive holds it
  Click(984, 35);
  Click(949, 65);
  EXPECT_TRUE(g.InGame);
  Recorder().ClearCalls();
  Click(949, 35);
  EXPECT_FALSE(g.InGame);
  std::vector<std::string> calls;
  for (const auto& c : Recorder().Calls())
    if (c.Operation == "LoadSample" || c.Operation == "PlaySound")
      calls.push_back(c.Operation + " " + c.File);
  EXPECT_EQ(calls, (std::vector<std::string>{"LoadSample Menu.mp3", "PlaySound Menu.mp3"}));
  // Off the level (the main menu shows) the same places do nothing.
  Recorder().ClearCalls();
  Click(949, 35);
  Click(830, 40);
  EXPECT_TRUE(Recorder().Calls().empty());
  EXPECT_FALSE(g.OptionsOpen || g.ReturnToGame);
  // Options, save and load drop the plant, buy and pipe tools; the order icon opens the orders
  // panel only while an order runs.
  for (auto [x, opened] : {std::pair{823, &TGame::OptionsOpen},
                           {899, &TGame::SaveScreenOpen},
                           {907, &TGame::LoadScreenOpen}}) {
    g.InGame = true;
    g.OptionsOpen = g.SaveScreenOpen = g.LoadScreenOpen = g.ReturnToGame = false;
    g.ToolPlant = g.ToolBuy = g.ToolPipe = g.ToolWater = g.ToolHarvest = g.ToolFertilise = true;
    Click(x, 64);
    EXPECT_TRUE(g.*opened) << x;
    // Save and load take the screen over the level; the options leave it, to come back.
    EXPECT_EQ(g.InGame, x != 823) << x;
    EXPECT_EQ(g.ReturnToGame, x == 823);
    EXPECT_FALSE(g.ToolPlant || g.ToolBuy || g.ToolPipe);
    EXPECT_TRUE(g.ToolWater && g.ToolHarvest && g.ToolFertilise);
  }
  g.InGame = true;
  const auto icon = sprites::symbols::OrderIconAt;
  g.DrawSidePanel(icon.X + 5, icon.Y + 5, &none, true);
  EXPECT_FALSE(g.OrdersPanelOpen || g.ProgressPanelOpen);
  g.OrderActive = true;
  g.DrawSidePanel(icon.X + 5, icon.Y + 5, &none, true);
  EXPECT_TRUE(g.OrdersPanelOpen);
}

TEST_F(PanelsTest, StatusShowsMoneyDateAndTheShedAndPlotInfoFollowsTheMouse) {
  constexpr uint16_t kWhite = 0xFFFF;
  TSurface symbols(sprites::symbols::Width, sprites::symbols::Height);
  std::fill_n(symbols.Pixels(), symbols.Width() * symbols.Height(), kWhite);
  TSurface* slot = &symbols;
  g.ShedStock[0] = 7;
  g.ShedStock[1] = 12;
  g.ShedStock[3] = 5;
  g.Clear(kWhite);
  g.DrawStatus(&slot);
  const auto shown = Screen();  // before the expected picture takes the back buffer
  EXPECT_EQ(shown, Texts(kWhite, 0,
                         {{"Peníze : 2000", 830, 80, FontStatus},
                          {"Datum : 1.1.2002", 830, 100, FontStatus},
                          {"0", 770, 35, FontThin},
                          {"12", 770, 60, FontThin},
                          {"7", 770, 85, FontThin},
                          {"5", 770, 110, FontThin}}));
  EXPECT_NE(shown, Texts(kWhite, 0, {}));
  // The plot information follows the mouse over the field.
  auto info = [&](int x, int y) {
    g.Clear(0);
    g.DrawPlotInfo(x, y);
    return Screen();
  };
  // A planted plot, and an empty one whose numbers are damaged past what an integer holds.
  const std::tuple<bool, double, double, const char*, const char*, const char*> plots[] = {
      {true, 99.9, 87.84, "Voda : 99", "Rostlina : Květák", "Úrodnost : 87%"},
      {false, std::nan(""), 1e300, "Voda : 0", "Rostlina : NIC", "Úrodnost : 1000000000000000000%"},
  };
  g.HoverX = 2;
  g.HoverY = 3;
  TPlot& p = g.Field[2][3];
  p.Stage = 2;
  for (const auto& [planted, water, fertility, waterText, plantText, fertilityText] : plots) {
    p.Planted = planted;
    p.Water = water;
    p.Fertility = fertility;
    const auto shown = info(120, 400);  // before the expected picture takes the back buffer
    EXPECT_EQ(shown, Texts(0, 0xFCFE04,
                           {{waterText, 135, 400, FontInfo},
                            {plantText, 135, 420, FontInfo},
                            {"Stadium : 2", 135, 440, FontInfo},
                            {fertilityText, 135, 460, FontInfo}}))
        << plantText;
  }
  // Left of the field, above it, no plot under the mouse, a row outside the grid.
  const auto blank = Texts(0, 0, {});
  for (const auto& [x, y, hoverX, hoverY] :
       {std::array{32, 400, 2, 3}, std::array{120, 279, 2, 3}, std::array{120, 400, -1, 3},
        std::array{120, 400, 2, 13}}) {
    g.HoverX = hoverX;
    g.HoverY = hoverY;
    EXPECT_EQ(info(x, y), blank) << x << "," << y << " " << hoverX << "," << hoverY;
  }
}

}  // namespace
