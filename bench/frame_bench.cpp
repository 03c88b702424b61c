// Frames on the headless platform, drawn with the pictures of the built Data folder through the
// form's own Frame. BM_Frame is the heaviest game-view frame: all 312 plots bought and planted, a
// pipe on every one with its sprinkler running, the well, the clouds, a tool's highlight and
// every panel open. BM_Frame/1 has the orders panel open (which pauses the plant step);
// BM_Frame/0 closes it so that the simulation runs too; BM_FrameColdCaches is BM_Frame/0 with
// the caches emptied before each frame, BM_FramePaced BM_Frame/0 at the game's own pace, one
// frame every sixtieth of a second. The BM_Pass benchmarks time the garden's
// drawing passes one by one, to show where a frame's time goes. BM_MainMenuFrame is the main
// menu, BM_IntroFrame one frame of each moving phase of the intro, BM_WholeIntro the intro.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "BenchGame.h"
#include "app/Main.h"
#include "gfx/SpriteRects.h"
#include "platform/Application.h"
#include "platform/FramePacer.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

using bench::FillTheField;

void BM_Frame(benchmark::State& state) {
  if (!bench::Started(state)) return;
  const bool ordersPanelOpen = state.range(0) != 0;
  for (auto _ : state) {
    FillTheField(ordersPanelOpen);
    Form1->Frame();
  }
  if (!Game.InGame) state.SkipWithError("the level ended during the benchmark");
}
BENCHMARK(BM_Frame)->ArgName("orders_panel")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// BM_Frame/orders_panel:0 with the processor's caches emptied before each frame (96 MB read
// between frames, not timed), as a frame finds them after a browser or a window system has
// uploaded and drawn the frame before it: the frame then reads its pictures and the 1.5 MB
// background from memory, as the browser build's frames do.
void BM_FrameColdCaches(benchmark::State& state) {
  if (!bench::Started(state)) return;
  static std::vector<uint8_t> other(96u << 20, 1);
  uint64_t sum = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (size_t i = 0; i < other.size(); i += 64) sum += other[i]++;
    state.ResumeTiming();
    FillTheField(false);
    Form1->Frame();
  }
  benchmark::DoNotOptimize(sum);
  if (!Game.InGame) state.SkipWithError("the level ended during the benchmark");
}
BENCHMARK(BM_FrameColdCaches)->Iterations(400)->Unit(benchmark::kMicrosecond);

// BM_Frame/orders_panel:0 drawn as the game draws it, once a display frame, the rest of the
// frame's time slept (not timed). A processor that rests between frames starts each one with
// its caches and predictors cooled: a browser's frame, paced by the display, is measured the
// same way, so this is the native figure to set beside the page's.
void BM_FramePaced(benchmark::State& state) {
  if (!bench::Started(state)) return;
  for (auto _ : state) {
    state.PauseTiming();
    std::this_thread::sleep_for(std::chrono::nanoseconds(platform::TFramePacer::Period()));
    state.ResumeTiming();
    FillTheField(false);
    Form1->Frame();
  }
  if (!Game.InGame) state.SkipWithError("the level ended during the benchmark");
}
BENCHMARK(BM_FramePaced)->Iterations(300)->Unit(benchmark::kMicrosecond);

// Baseline: the field's setting-up alone, included in every other figure.
enum TPass { Background, Shed, Plots, Pipes, Plants, Hover, Clouds, Baseline };

void BM_Pass(benchmark::State& state) {
  if (!bench::Started(state)) return;
  const auto pass = static_cast<TPass>(state.range(0));
  for (auto _ : state) {
    FillTheField(false);
    switch (pass) {
      case Background:
        Game.Draw(&MainSurface, 0, 0, TRect{0, 0, 1024, 768}, 0);
        break;
      case Shed:
        Game.DrawShed(&ShedsSurface);
        break;
      case Plots:
        Game.DrawPlots(&FieldSurface);
        break;
      case Pipes:
        Game.DrawPipes(&WaterSurface);
        break;
      case Plants:
        Game.DrawPlants(&PlantsSurface);
        break;
      case Hover:
        Game.DrawHover(&FieldSurface, MouseX, MouseY);
        break;
      case Clouds:
        Game.DrawClouds(&CloudsSurface);
        break;
      case Baseline:
        break;
    }
  }
}
BENCHMARK(BM_Pass)
    ->ArgName("pass")
    ->DenseRange(Background, Baseline)
    ->Unit(benchmark::kMicrosecond);

// The main menu as it is drawn between levels: the background, the four buttons (the first one
// hovered), the cursor, the music step and the flip, through the form's own Frame.
void BM_MainMenuFrame(benchmark::State& state) {
  if (!bench::Started(state)) return;
  for (auto _ : state) {
    bench::ShowMainMenu();
    Form1->Frame();
  }
  if (Game.InGame || Game.LevelIntroOpen) state.SkipWithError("the menu left its screen");
}
BENCHMARK(BM_MainMenuFrame)->Unit(benchmark::kMicrosecond);

// One frame of each moving phase of the intro, at the middle step of the phase: the same calls
// the intro makes for that frame (process the messages where the phase does, clear the back
// buffer, draw the two opaque logo pieces, flip). The intro's loop itself cannot be entered at a
// chosen step, so its calls are repeated here with the step's positions.
enum TIntroPhase { UpperSlideIn, UpperSinks, LowerSlidesIn, LowerRises };

void IntroFrame(TIntroPhase phase) {
  using namespace sprites::logo;
  auto draw = [](const TRect& r, int x, int y) { Game.Draw(&LogoSurface, x, y, r, 0); };
  if (phase != LowerSlidesIn) platform::Application.ProcessMessages();
  Game.Clear(0);
  switch (phase) {
    case UpperSlideIn:  // step 61 of 121
      draw(UpperLeft, 3 * 61, 234);
      draw(UpperRight, 873 - 3 * 61, 234);
      break;
    case UpperSinks:  // step 100 of 266, the logo still whole
      draw({0, 0, 149, 298}, 364, 234 + 2 * 100);
      draw({149, 0, 297, 298}, 509, 234 + 2 * 100);
      break;
    case LowerSlidesIn:  // step 53 of 106
      draw(LowerLeft, 3 * 53, 316);
      draw(LowerRight, 833 - 3 * 53, 316);
      break;
    case LowerRises:  // step 100 of 229, not yet cut by the top edge
      draw({0, 300, 191, 436}, 321, 316 - 2 * 100);
      draw({191, 300, 382, 436}, 512, 316 - 2 * 100);
      break;
  }
  Game.Flip(RestoreSurfaces);
}

void BM_IntroFrame(benchmark::State& state) {
  if (!bench::Started(state)) return;
  const auto phase = static_cast<TIntroPhase>(state.range(0));
  for (auto _ : state) IntroFrame(phase);
}
BENCHMARK(BM_IntroFrame)
    ->ArgName("phase")
    ->DenseRange(UpperSlideIn, LowerRises)
    ->Unit(benchmark::kMicrosecond);

// The whole intro through the form's Frame, as a player sees it but without the waiting: the
// headless clock makes the fades' steps and the title's pause pass at once. It includes the
// intro tune's extraction and the game bitmaps loaded at its end; "frames" counts the frames
// one intro presents.
void BM_WholeIntro(benchmark::State& state) {
  if (!bench::Started(state)) return;
  auto* headless = dynamic_cast<platform::THeadlessPlatform*>(&platform::Current());
  const uint64_t before = headless ? headless->FramesPresented() : 0;
  for (auto _ : state) {
    IntroPending = true;
    IntroNoSkip = false;
    Form1->Frame();
  }
  IntroNoSkip = false;
  if (headless && state.iterations() > 0) {
    state.counters["frames"] =
        static_cast<double>(headless->FramesPresented() - before) / state.iterations();
  }
}
BENCHMARK(BM_WholeIntro)->Unit(benchmark::kMillisecond);

}  // namespace
