// The text of the in-game status block, drawn once per frame onto a 1024 x 768 back buffer:
// money and date in FontStatus, the shed's four counts and a few prices in FontThin. Warm: every
// string is in the cache of rendered strings. Cold: the cache is emptied before each frame, so
// every string is rendered again. One new: a warm frame in which one string (the money) changes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/Cp1250.h"
#include "game/Game.h"
#include "gfx/Text.h"

namespace {

struct TLine {
  std::string text;
  int x, y;
  TFont** font;
};

std::vector<TLine> StatusBlock() {
  return {
      {"Peníze : 2000 Kč", 830, 80, &FontStatus},
      {"Datum : 1.1.2002", 830, 100, &FontStatus},
      {"12", 760, 30, &FontThin},
      {"0", 760, 52, &FontThin},
      {"7", 760, 74, &FontThin},
      {"153", 760, 96, &FontThin},
      {"Cena : 50 Kč", 830, 130, &FontThin},
      {"Zalévání : 5 Kč", 830, 146, &FontThin},
      {"Hnojení : 20 Kč", 830, 162, &FontThin},
      {"Záhon : 100 Kč", 830, 178, &FontThin},
  };
}

struct TFrame {
  TGame game;
  TSurface screen{1024, 768};
  std::vector<TLine> lines = StatusBlock();
  TFrame() { CreateFonts(); }
  void Draw() {
    for (const TLine& l : lines) game.DrawText(l.text, l.x, l.y, 0, &screen, *l.font);
    benchmark::DoNotOptimize(screen.Pixels());
  }
};

void BM_StatusBlockWarm(benchmark::State& state) {
  TFrame frame;
  frame.Draw();
  for (auto _ : state) frame.Draw();
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(frame.lines.size()));
}
BENCHMARK(BM_StatusBlockWarm);

void BM_StatusBlockCold(benchmark::State& state) {
  TFrame frame;
  for (auto _ : state) {
    ClearTextCache();
    frame.Draw();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(frame.lines.size()));
}
BENCHMARK(BM_StatusBlockCold);

void BM_StatusBlockOneNewString(benchmark::State& state) {
  TFrame frame;
  frame.Draw();
  int money = 2000;
  for (auto _ : state) {
    frame.lines[0].text = "Peníze : " + std::to_string(++money) + " Kč";
    frame.Draw();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(frame.lines.size()));
}
BENCHMARK(BM_StatusBlockOneNewString);

}  // namespace
