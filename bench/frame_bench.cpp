// The heaviest game-view frame on the headless platform: all 312 plots bought and planted, a pipe
// on every one with its sprinkler running, the well, the clouds, a tool's highlight and every
// panel open, drawn with the pictures of the built Data folder through the form's own Frame.
// BM_Frame/1 is that frame with the orders panel open (which pauses the plant step); BM_Frame/0
// closes the orders panel so that the simulation runs too. The BM_Pass benchmarks time the
// garden's drawing passes one by one, to show where a frame's time goes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Main.h"

namespace {

namespace fs = std::filesystem;

// The benchmarks run in a folder of their own, entered before main: the game object writes its
// settings into the working directory's Data folder when the program ends, and that must not be
// the built Data folder the scenarios copy. The folder goes at exit; whatever the game object
// writes after that finds no folder and is dropped.
struct TWorkFolder {
  fs::path Original;
  fs::path Path;
  TWorkFolder() {
    std::error_code ec;
    Original = fs::current_path(ec);
    Path = fs::temp_directory_path(ec) / ("kelvora_frame_bench_" + std::to_string(getpid()));
    fs::create_directories(Path / "Data", ec);
    if (!ec) fs::current_path(Path, ec);
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(workFolder.Path, ignored);
    });
  }
  // Never destroyed, so that the removal at exit still finds the path.
  static TWorkFolder& workFolder;
};
TWorkFolder& TWorkFolder::workFolder = *new TWorkFolder;

// The built Data folder: in the folder the benchmark was started from, or beside the
// benchmark's build folder.
fs::path FindData() {
  std::vector<fs::path> places{TWorkFolder::workFolder.Original};
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    places.push_back(exe.parent_path());
    places.push_back(exe.parent_path().parent_path());
  }
  for (const fs::path& place : places) {
    if (fs::exists(place / "Data" / "Grafika.dat", ec)) return fs::absolute(place / "Data");
  }
  return {};
}

// Starts the game once, in the work folder with its Data linking to the built archives, and
// leaves it in a level with the intro done and the bitmaps loaded. Returns an error text or "".
std::string StartGame() {
  static std::string error = [] () -> std::string {
    const fs::path data = FindData();
    if (data.empty()) return "no built Data folder with Grafika.dat";
    const fs::path work = TWorkFolder::workFolder.Path;
    std::error_code ec;
    if (fs::current_path(ec) != work) return "cannot work in a folder of its own";
    for (const char* file : {"Grafika.dat", "Hudba.dat", "Hudba.ini", "Game.dat"}) {
      if (fs::exists(data / file, ec)) fs::create_symlink(data / file, work / "Data" / file, ec);
    }

    Form1 = new TForm1(nullptr);
    IntroPending = false;
    LoadAllBitmaps();
    if (!MainSurface || !PlantsSurface || !FieldSurface || !WaterSurface)
      return "the bitmaps did not load";
    Archive.ExtractMember("Level.dat", "Data\\Level.dat", "Data\\Game.dat");
    Archive.ExtractMember("Objednav.dat", "Data\\Objednav.dat", "Data\\Game.dat");
    Game.ResetForLevel();
    Game.LoadLevel(1);
    return "";
  }();
  return error;
}

// Everything the heaviest frame shows, set again before each frame so that nothing runs out:
// sprinklers restart, plants stay planted, the level cannot be won or lost.
void FillTheField(bool ordersPanelOpen) {
  TGame& g = Game;
  g.InGame = true;
  g.Money = 1'000'000'000;
  g.Levl.Penize = INT_MAX;
  g.Levl.ObjednavkySplnene = UINT_MAX;
  for (uint32_t& pieces : g.Levl.Zelenina) pieces = UINT_MAX;
  g.WellBuilt = true;
  for (int col = 0; col < FieldColumns; ++col) {
    for (int row = 0; row < FieldRows; ++row) {
      TPlot& p = g.Field[col][row];
      if (!p.Planted) {
        p.Owned = p.Planted = p.Alive = p.Growing = true;
        p.Crop = static_cast<uint16_t>((col + row) % 4);
        p.Stage = static_cast<uint16_t>(row % Crops[p.Crop].Stages);
      }
      g.Pipe[col][row] = true;
      g.SprinklerOn[col][row] = true;
    }
  }
  std::memset(g.SprinklerCycles, 0, sizeof g.SprinklerCycles);
  g.PlotMenuOpen = g.PlotInfoOpen = g.ProgressPanelOpen = true;
  g.OrdersPanelOpen = ordersPanelOpen;
  g.ToolWater = true;
  MouseX = 500;
  MouseY = 500;
}

void BM_Frame(benchmark::State& state) {
  const std::string error = StartGame();
  if (!error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  const bool ordersPanelOpen = state.range(0) != 0;
  for (auto _ : state) {
    FillTheField(ordersPanelOpen);
    Form1->Frame();
  }
  if (!Game.InGame) state.SkipWithError("the level ended during the benchmark");
}
BENCHMARK(BM_Frame)->ArgName("orders_panel")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// Baseline: the field's setting-up alone, included in every other figure.
enum TPass { Background, Shed, Plots, Pipes, Plants, Hover, Clouds, Baseline };

void BM_Pass(benchmark::State& state) {
  const std::string error = StartGame();
  if (!error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  const auto pass = static_cast<TPass>(state.range(0));
  for (auto _ : state) {
    FillTheField(false);
    switch (pass) {
      case Background: Game.Draw(&MainSurface, 0, 0, TRect{0, 0, 1024, 768}, 0); break;
      case Shed: Game.DrawShed(&ShedsSurface); break;
      case Plots: Game.DrawPlots(&FieldSurface); break;
      case Pipes: Game.DrawPipes(&WaterSurface); break;
      case Plants: Game.DrawPlants(&PlantsSurface); break;
      case Hover: Game.DrawHover(&FieldSurface, MouseX, MouseY); break;
      case Clouds: Game.DrawClouds(&CloudsSurface); break;
      case Baseline: break;
    }
  }
}
BENCHMARK(BM_Pass)
    ->ArgName("pass")
    ->DenseRange(Background, Baseline)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
