// One frame of the game: the intro on the first call; afterwards the one screen that the flags
// choose (or the game view with its simulation step), the cursor, the music step and the flip.
#include "app/Main.h"

void TForm1::Frame() {
  if (platform::Current().IsMinimised()) return;
  Game.Clear(0);
  if (IntroPending) {
    PlayIntro();
    return;
  }
  const int x = MouseX, y = MouseY;
  if (Game.LevelStatsOpen) {
    // WIRE Game.LevelStatsScreen(x, y, &MenuSurface, &SymbolsSurface, false);
    Game.DrawCursor(x, y);
  } else if (Game.LevelIntroOpen) {
    // WIRE Game.LevelIntroScreen(x, y, &MenuSurface, false);
    Game.DrawCursor(x, y);
  } else if (Game.SaveScreenOpen) {
    // WIRE Game.SaveLoadScreen(x, y, &MenuSurface, true, false);
    Game.DrawCursor(x, y);
  } else if (Game.LoadScreenOpen) {
    // WIRE Game.SaveLoadScreen(x, y, &MenuSurface, false, false);
    Game.DrawCursor(x, y);
  } else if (Game.OptionsOpen) {
    // WIRE Game.OptionsScreen(x, y, &MenuSurface, false, false, false);
    Game.DrawCursor(x, y);
  } else if (!Game.InGame) {
    Game.MainMenu(x, y, &MenuSurface, false, &QuitRequested);
    Game.DrawCursor(x, y);
  } else {
    GameView();
  }
  Game.UpdateMusic();
  Game.Flip(RestoreSurfaces);
  FrameShown = true;
}

// The game view in its fixed order; each later step draws over the earlier ones.
void TForm1::GameView() {
  const int x = MouseX, y = MouseY;
  // WIRE Game.CheckOutOfMoney(&MenuSurface, &SymbolsSurface);
  // WIRE Game.CheckOrder();
  // WIRE Game.CalendarStep();
  Game.Draw(&MainSurface, 0, 0, TRect{0, 0, 1024, 768}, 0);
  // WIRE Game.DrawShed(&ShedsSurface);
  // WIRE Game.DrawPlots(&FieldSurface);
  // WIRE Game.DrawWell(&WaterSurface);
  // WIRE Game.DrawPipes(&WaterSurface);
  // WIRE Game.DrawPlants(&PlantsSurface);
  if (Game.ToolPlant || Game.ToolHarvest || Game.ToolBuy || Game.ToolPipe || Game.ToolWater ||
      Game.ToolFertilise || Game.PlotInfoOpen) {
    // WIRE Game.DrawHover(&FieldSurface, x, y);
  }
  // WIRE Game.DrawClouds(&CloudsSurface);
  // WIRE Game.DrawMainPanel(x, y, &MainSurface, false);
  // WIRE Game.DrawSidePanel(x, y, &SymbolsSurface, false);
  // WIRE if (Game.PlotMenuOpen) Game.DrawPlotMenu(x, y, &MainSurface, false);
  // WIRE if (Game.PlotInfoOpen) Game.DrawPlotInfo(x, y);
  // WIRE Game.DrawPriceHint(x, y);
  // WIRE if (Game.OrdersPanelOpen) Game.OrdersPanel(x, y, &OrdersSurface, false);
  // WIRE if (Game.ProgressPanelOpen) Game.ProgressPanel(x, y, &LevelSurface, false);
  // WIRE Game.DrawStatus(&SymbolsSurface);
  Game.DrawCursor(x, y);
  // WIRE Game.CheckLevelGoal();
}
