// The in-game panels: the main panel's buttons and their effects, the side icons, the money,
// date and shed texts, and the plot information panel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "game/Game.h"
#include "gfx/Cp1250.h"
#include "gfx/SpriteRects.h"
#include "gfx/Text.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

namespace fs = std::filesystem;

platform::THeadlessSound& Recorder() {
  return static_cast<platform::THeadlessPlatform&>(platform::Current()).Recorder();
}

class PanelsTest : public ::testing::Test {
 protected:
  PanelsTest() : old_(fs::current_path()) {
    dir_ = fs::temp_directory_path() / ("kelvora_panels_" + std::to_string(::getpid()));
    fs::create_directories(dir_ / "Data");
    fs::current_path(dir_);
    game = std::make_unique<TGame>();
  }
  ~PanelsTest() override {
    game.reset();
    for (TSurface* s : surfaces_) delete s;
    fs::current_path(old_);
    fs::remove_all(dir_);
  }
  void SetUp() override {
    ASSERT_TRUE(g().InitDisplay(nullptr, 1024, 768, 16));
    g().InGame = true;
  }
  TGame& g() { return *game; }
  TSurface* Sheet(int w, int h, uint16_t colour) {
    surfaces_.push_back(new TSurface(w, h));
    std::fill_n(surfaces_.back()->Pixels(), w * h, colour);
    return surfaces_.back();
  }
  uint16_t Pixel(int x, int y) { return g().BackBuffer->Row(y)[x]; }
  std::vector<uint16_t> Screen() {
    const uint16_t* p = g().BackBuffer->Pixels();
    return {p, p + 1024 * 768};
  }
  std::unique_ptr<TGame> game;

 private:
  fs::path old_, dir_;
  std::vector<TSurface*> surfaces_;
};

TEST(InRect, RightAndBottomEdgesAreOutside) {
  EXPECT_TRUE(InRect(949, 35, 949, 35, 984, 65));
  EXPECT_FALSE(InRect(984, 35, 949, 35, 984, 65));
  EXPECT_FALSE(InRect(949, 65, 949, 35, 984, 65));
  EXPECT_FALSE(InRect(5, 5, 10, 0, 10, 20));  // empty
}

TEST_F(PanelsTest, MainMenuButtonLeavesTheLevelAndRestartsTheMenuTune) {
  std::ofstream("Menu.mp3") << "tune";
  std::string error;
  ASSERT_TRUE(WriteArchive("Data/Hudba.dat", {"Menu.mp3"}, error)) << error;
  fs::remove("Menu.mp3");
  TSurface* none = nullptr;
  for (auto [x, y] : {std::pair{984, 35}, std::pair{949, 65}}) {
    g().DrawMainPanel(x, y, &none, true);
    EXPECT_TRUE(g().InGame) << x << "," << y;
  }
  Recorder().ClearCalls();
  g().DrawMainPanel(949, 35, &none, true);
  EXPECT_FALSE(g().InGame);
  EXPECT_FALSE(fs::exists("Menu.mp3"));  // extracted, loaded and deleted
  std::vector<std::string> ops;
  for (const auto& c : Recorder().Calls()) {
    if (c.Operation == "LoadSample" || c.Operation == "PlaySound") ops.push_back(c.Operation + " " + c.File);
  }
  EXPECT_EQ(ops, (std::vector<std::string>{"LoadSample Menu.mp3", "PlaySound Menu.mp3"}));

  // Off the level (the main menu shows) the same place does nothing.
  Recorder().ClearCalls();
  g().DrawMainPanel(949, 35, &none, true);
  g().DrawMainPanel(830, 40, &none, true);
  EXPECT_TRUE(Recorder().Calls().empty());
  EXPECT_FALSE(g().OptionsOpen || g().ReturnToGame);
}

TEST_F(PanelsTest, OptionsSaveAndLoadDropThePlantBuyAndPipeTools) {
  struct Case { int x; bool TGame::*opened; bool inGameAfter; };
  for (const Case c : {Case{823, &TGame::OptionsOpen, false}, Case{899, &TGame::SaveScreenOpen, true},
                       Case{907, &TGame::LoadScreenOpen, true}}) {
    g().InGame = true;
    g().OptionsOpen = g().SaveScreenOpen = g().LoadScreenOpen = g().ReturnToGame = false;
    g().ToolPlant = g().ToolBuy = g().ToolPipe = g().ToolWater = true;
    g().ToolHarvest = g().ToolFertilise = true;
    TSurface* none = nullptr;
    g().DrawMainPanel(c.x, 64, &none, true);
    EXPECT_TRUE(g().*c.opened) << c.x;
    EXPECT_EQ(g().InGame, c.inGameAfter) << c.x;
    EXPECT_EQ(g().ReturnToGame, c.x == 823);
    EXPECT_FALSE(g().ToolPlant || g().ToolBuy || g().ToolPipe);
    EXPECT_TRUE(g().ToolWater && g().ToolHarvest && g().ToolFertilise);
  }
}

TEST_F(PanelsTest, ButtonsShowTheirHoverPictureUnderTheMouse) {
  TSurface* sheet = Sheet(sprites::main_sheet::Width, sprites::main_sheet::Height, 0x1111);
  for (int b = 0; b < 4; ++b) {
    for (bool hovered : {false, true}) {
      const TRect r = sprites::main_sheet::PanelButton(static_cast<sprites::main_sheet::TPanelButton>(b), hovered);
      for (int y = r.Top; y < r.Bottom; ++y)
        std::fill(sheet->Row(y) + r.Left, sheet->Row(y) + r.Right, uint16_t((hovered ? 0x100 : 0x10) + b));
    }
  }
  g().DrawMainPanel(910, 40, &sheet, false);  // over the load button
  EXPECT_EQ(Pixel(823, 35), 0x10);
  EXPECT_EQ(Pixel(865, 35), 0x11);
  EXPECT_EQ(Pixel(907, 35), 0x102);
  EXPECT_EQ(Pixel(949, 35), 0x13);
  EXPECT_EQ(Pixel(808, 20), 0x1111);  // the panel under them
}

TEST_F(PanelsTest, OrderIconOnlyWithAnOrderRunning) {
  TSurface* symbols = Sheet(sprites::symbols::Width, sprites::symbols::Height, 0x0F0F);
  TSurface* none = nullptr;
  g().Clear(0);
  g().DrawSidePanel(0, 0, &symbols, false);
  EXPECT_EQ(Pixel(977, 116), 0);       // no order running
  EXPECT_EQ(Pixel(980, 90), 0x0F0F);   // the progress icon
  g().DrawSidePanel(985, 116, &none, true);  // the order icon's place
  EXPECT_FALSE(g().OrdersPanelOpen || g().ProgressPanelOpen);
  g().DrawSidePanel(997, 100, &none, true);  // right of the progress icon
  EXPECT_FALSE(g().ProgressPanelOpen);
  g().DrawSidePanel(996, 112, &none, true);
  EXPECT_TRUE(g().ProgressPanelOpen);
  g().OrderActive = true;
  g().DrawSidePanel(1000, 132, &none, true);
  EXPECT_TRUE(g().OrdersPanelOpen);
  g().DrawSidePanel(0, 0, &symbols, false);
  EXPECT_EQ(Pixel(977, 116), 0x0F0F);
}

// The texts are compared with the same texts drawn by themselves.
class PanelTextTest : public PanelsTest {
 protected:
  void SetUp() override {
    PanelsTest::SetUp();
    CreateFonts();
    ASSERT_TRUE(FontStatus->Usable() && FontThin->Usable() && FontInfo->Usable());
  }
  struct TLine { const char* utf8; int x, y; TFont* font; };
  std::vector<uint16_t> Drawn(uint16_t paper, uint32_t colour, const std::vector<TLine>& lines) {
    g().Clear(paper);
    for (const TLine& l : lines) g().DrawText(Utf8ToCp1250(l.utf8), l.x, l.y, colour, g().BackBuffer, l.font);
    return Screen();
  }
};

TEST_F(PanelTextTest, StatusShowsMoneyDateAndTheShed) {
  constexpr uint16_t kWhite = 0xFFFF;
  TSurface* symbols = Sheet(sprites::symbols::Width, sprites::symbols::Height, kWhite);
  g().ShedStock[0] = 7;
  g().ShedStock[1] = 12;
  g().ShedStock[3] = 5;
  g().Clear(kWhite);
  g().DrawStatus(&symbols);
  const auto shown = Screen();
  EXPECT_EQ(shown, Drawn(kWhite, 0, {{"Peníze : 2000", 830, 80, FontStatus},
                                     {"Datum : 1.1.2002", 830, 100, FontStatus},
                                     {"0", 770, 35, FontThin},
                                     {"12", 770, 60, FontThin},
                                     {"7", 770, 85, FontThin},
                                     {"5", 770, 110, FontThin}}));
  EXPECT_NE(shown, Drawn(kWhite, 0, {}));
}

TEST_F(PanelTextTest, PlotInfoFollowsTheMouseOverTheField) {
  g().HoverX = 2;
  g().HoverY = 3;
  TPlot& p = g().Field[2][3];
  p.Planted = true;
  p.Water = 99.9;
  p.Fertility = 87.84;
  p.Stage = 2;
  g().Clear(0);
  g().DrawPlotInfo(120, 400);
  auto shown = Screen();  // before the expected picture takes the back buffer
  EXPECT_EQ(shown, Drawn(0, 0xFCFE04, {{"Voda : 99", 135, 400, FontInfo},
                                          {"Rostlina : Květák", 135, 420, FontInfo},
                                          {"Stadium : 2", 135, 440, FontInfo},
                                          {"Úrodnost : 87%", 135, 460, FontInfo}}));
  // An empty plot, and a damaged one that no integer can show.
  p.Planted = false;
  p.Water = std::nan("");
  p.Fertility = 1e300;
  g().Clear(0);
  g().DrawPlotInfo(120, 400);
  shown = Screen();
  EXPECT_EQ(shown, Drawn(0, 0xFCFE04, {{"Voda : 0", 135, 400, FontInfo},
                                          {"Rostlina : NIC", 135, 420, FontInfo},
                                          {"Stadium : 2", 135, 440, FontInfo},
                                          {"Úrodnost : 1000000000000000000%", 135, 460, FontInfo}}));
  // Left of the field, above it, with no plot under the mouse, or a row out of the grid.
  const auto blank = Drawn(0, 0, {});
  struct Case { int x, y, hoverX, hoverY; };
  for (const Case c : {Case{32, 400, 2, 3}, Case{120, 279, 2, 3}, Case{120, 400, -1, 3},
                       Case{120, 400, 2, 13}}) {
    g().HoverX = c.hoverX;
    g().HoverY = c.hoverY;
    g().Clear(0);
    g().DrawPlotInfo(c.x, c.y);
    EXPECT_EQ(Screen(), blank) << c.x << "," << c.y << " " << c.hoverX << "," << c.hoverY;
  }
}

}  // namespace
