#include "BenchGame.h"
#include "game/DataFiles.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/Main.h"
#include "gfx/Text.h"

namespace bench {

namespace fs = std::filesystem;

namespace {

TEnvironment* current = nullptr;

// The built Data folder: in the folder the program was started from, or beside its build folder.
fs::path FindData() {
  std::vector<fs::path> places{current ? current->Original : fs::current_path()};
  const fs::path exe = ExecutableFolder();
  if (!exe.empty()) {
    places.push_back(exe);
    places.push_back(exe.parent_path());
  }
  std::error_code ec;
  for (const fs::path& place : places) {
    if (fs::exists(place / "Data" / KELVORA_GRAPHICS_FILE, ec)) return fs::absolute(place / "Data");
  }
  return {};
}

}  // namespace

TEnvironment::TEnvironment() : platform_(headless_) {
  std::error_code ec;
  Original = fs::current_path(ec);
  Path = fs::temp_directory_path(ec) / ("kelvora_bench_" + std::to_string(getpid()));
  fs::create_directories(Path / "Data", ec);
  if (!ec) fs::current_path(Path, ec);
  CreateFonts();
  current = this;
}

TEnvironment::~TEnvironment() {
  current = nullptr;
  Game.ReleaseSounds();
  std::error_code ignored;
  fs::current_path(Original, ignored);
  fs::remove_all(Path, ignored);
}

const fs::path& WorkFolder() {
  static const fs::path none;
  return current ? current->Path : none;
}

fs::path ExecutableFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : exe.parent_path();
}

std::string LinkData() {
  static const std::string error = []() -> std::string {
    const fs::path data = FindData();
    if (data.empty()) return "no built Data folder with " KELVORA_GRAPHICS_FILE;
    std::error_code ec;
    if (!current || fs::current_path(ec) != WorkFolder()) {
      return "cannot work in a folder of its own";
    }
    for (const char* file : {KELVORA_GRAPHICS_FILE, KELVORA_SOUNDS_FILE, KELVORA_PLAYLIST_FILE,
                             KELVORA_GAME_DATA_FILE}) {
      if (fs::exists(data / file, ec)) {
        fs::create_symlink(data / file, WorkFolder() / "Data" / file, ec);
      }
    }
    return "";
  }();
  return error;
}

std::string StartGame() {
  static const std::string error = []() -> std::string {
    if (std::string linked = LinkData(); !linked.empty()) return linked;
    Form1 = new TForm1(nullptr);
    IntroPending = false;
    LoadAllBitmaps();
    if (!MainSurface || !MenuSurface || !PlantsSurface || !FieldSurface || !WaterSurface ||
        !LogoSurface) {
      return "the bitmaps did not load";
    }
    Archive.ExtractMember("Level.dat", data_files::Levels, data_files::GameData);
    Archive.ExtractMember("Objednav.dat", data_files::Orders, data_files::GameData);
    Game.ResetForLevel();
    Game.LoadLevel(1);
    return "";
  }();
  return error;
}

void ShowMainMenu() {
  TGame& g = Game;
  g.InGame = g.OptionsOpen = g.LoadScreenOpen = g.SaveScreenOpen = false;
  g.LevelIntroOpen = g.LevelStatsOpen = false;
  MouseX = 400;
  MouseY = 250;
}

}  // namespace bench
