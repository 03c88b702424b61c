#include "StateDump.h"

#include "Json.h"
#include "app/Main.h"
#include "platform/Files.h"

std::string StateDumpJson(platform::THeadlessPlatform& platform) {
  TJsonWriter j;
  j.BeginObject();
  j.Value("Frames", platform.FramesPresented());
  j.Value("Running", Running).Value("QuitRequested", QuitRequested);
  j.Value("DisplayReady", DisplayReady).Value("IntroPending", IntroPending);
  j.Value("FrameShown", FrameShown).Value("IntroNoSkip", IntroNoSkip);
  j.Value("WindowCloseRequested", WindowCloseRequested);
  j.Value("MouseX", MouseX).Value("MouseY", MouseY);

  const TGame& g = Game;
  j.Value("InGame", g.InGame).Value("OptionsOpen", g.OptionsOpen);
  j.Value("LoadScreenOpen", g.LoadScreenOpen).Value("SaveScreenOpen", g.SaveScreenOpen);
  j.Value("LevelIntroOpen", g.LevelIntroOpen).Value("PickNewOrder", g.PickNewOrder);
  j.Value("LevelStatsOpen", g.LevelStatsOpen);
  j.Value("LastResult", g.LastResult);
  j.Value("ProgressPanelOpen", g.ProgressPanelOpen).Value("PlotMenuOpen", g.PlotMenuOpen);
  j.Value("OrdersPanelOpen", g.OrdersPanelOpen);
  j.Value("ToolPlant", g.ToolPlant).Value("ToolHarvest", g.ToolHarvest);
  j.Value("ToolBuy", g.ToolBuy).Value("ToolPipe", g.ToolPipe);
  j.Value("ToolWater", g.ToolWater).Value("ToolFertilise", g.ToolFertilise);
  j.Value("PlotInfoOpen", g.PlotInfoOpen);

  j.BeginArray("Messages");
  for (const std::string& m : platform.Messages()) j.Text("", m);
  j.EndArray();
  j.EndObject();
  return j.Result();
}

bool WriteStateDump(platform::THeadlessPlatform& platform, const std::string& file) {
  return WriteFileWhole(file, StateDumpJson(platform));
}
