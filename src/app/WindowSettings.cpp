// Whether the game runs on the whole screen or in a window, and the window's size, are kept in
// the settings file for the next run.
#include "app/Main.h"
#include "base/IniFile.h"
#include "game/DataFiles.h"

namespace {
constexpr const char* kSection = "Okno";
}  // namespace

void LoadWindowSettings() {
  TIniFile settings(data_files::Settings);
  platform::TWindowMode mode;
  mode.FullScreen = settings.ReadBool(kSection, "CelaObrazovka", true);
  mode.Width = settings.ReadInteger(kSection, "Sirka", 1024);
  mode.Height = settings.ReadInteger(kSection, "Vyska", 768);
  platform::Current().SetWindowMode(mode);
}

bool SaveWindowSettings() {
  const platform::TWindowMode mode = platform::Current().WindowMode();
  TIniFile settings(data_files::Settings);
  const bool full = settings.WriteInteger(kSection, "CelaObrazovka", mode.FullScreen ? 1 : 0);
  const bool width = settings.WriteInteger(kSection, "Sirka", mode.Width);
  return settings.WriteInteger(kSection, "Vyska", mode.Height) && full && width;
}
