// The game's file work: every game bitmap extracted from the built Data/Grafika.dat, decoded
// into its slot and deleted again (LoadAllBitmaps, as at the end of the intro), and a saved game
// of the heaviest field written (whole, through a temporary file that is flushed to the disk and
// renamed) and read back, in the benchmarks' scratch folder.
#include <benchmark/benchmark.h>

#include "BenchGame.h"
#include "app/Main.h"
#include "game/DataFiles.h"

namespace {

const std::string kSaveFile = data_files::SaveSlot(4);

void BM_LoadAllBitmaps(benchmark::State& state) {
  if (!bench::Started(state)) return;
  for (auto _ : state) {
    LoadAllBitmaps();
    benchmark::DoNotOptimize(MainSurface);
  }
  if (!MainSurface || !Game.CursorSurface) state.SkipWithError("the bitmaps did not load");
}
BENCHMARK(BM_LoadAllBitmaps)->Unit(benchmark::kMillisecond);

void BM_SaveGame(benchmark::State& state) {
  if (!bench::Started(state)) return;
  bench::FillTheField(false);
  bool saved = true;
  for (auto _ : state) saved = Game.SaveGameFile(kSaveFile) && saved;
  if (!saved) state.SkipWithError("the game could not be saved");
}
BENCHMARK(BM_SaveGame)->Unit(benchmark::kMicrosecond);

void BM_LoadGame(benchmark::State& state) {
  if (!bench::Started(state)) return;
  bench::FillTheField(false);
  if (!Game.SaveGameFile(kSaveFile)) state.SkipWithError("the game could not be saved");
  bool loaded = true;
  for (auto _ : state) loaded = Game.LoadGameFile(kSaveFile) && loaded;
  if (!loaded) state.SkipWithError("the saved game did not load");
}
BENCHMARK(BM_LoadGame)->Unit(benchmark::kMicrosecond);

}  // namespace
