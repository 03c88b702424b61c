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
    Game.LevelStatsScreen(x, y, &MenuSurface, &SymbolsSurface, false);
    Game.DrawCursor(x, y);
  } else if (Game.LevelIntroOpen) {
    Game.LevelIntroScreen(x, y, &MenuSurface, false);
    Game.DrawCursor(x, y);
  } else if (Game.SaveScreenOpen) {
    Game.SaveLoadScreen(x, y, &MenuSurface, true, false);
    Game.DrawCursor(x, y);
  } else if (Game.LoadScreenOpen) {
    Game.SaveLoadScreen(x, y, &MenuSurface, false, false);
    Game.DrawCursor(x, y);
  } else if (Game.OptionsOpen) {
    Game.OptionsScreen(x, y, &MenuSurface, false, false, false);
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
  Game.CheckOutOfMoney(&MenuSurface, &SymbolsSurface);
  Game.CheckOrder();
  Game.CalendarStep();
  Game.Draw(&MainSurface, 0, 0, TRect{0, 0, 1024, 768}, 0);
  Game.DrawShed(&ShedsSurface);
  Game.DrawPlots(&FieldSurface);
  Game.DrawWell(&WaterSurface);
  Game.DrawPipes(&WaterSurface);
  Game.DrawPlants(&PlantsSurface);
  if (Game.ToolPlant || Game.ToolHarvest || Game.ToolBuy || Game.ToolPipe || Game.ToolWater ||
      Game.ToolFertilise || Game.PlotInfoOpen) {
    Game.DrawHover(&FieldSurface, x, y);
  }
  Game.DrawClouds(&CloudsSurface);
  Game.DrawMainPanel(x, y, &MainSurface, false);
  Game.DrawSidePanel(x, y, &SymbolsSurface, false);
  if (Game.PlotMenuOpen) Game.DrawPlotMenu(x, y, &MainSurface, false);
  if (Game.PlotInfoOpen) Game.DrawPlotInfo(x, y);
  Game.DrawPriceHint(x, y);
  if (Game.OrdersPanelOpen) Game.OrdersPanel(x, y, &OrdersSurface, false);
  if (Game.ProgressPanelOpen) Game.ProgressPanel(x, y, &LevelSurface, false);
  Game.DrawStatus(&SymbolsSurface);
  Game.DrawCursor(x, y);
  Game.CheckLevelGoal();
}
