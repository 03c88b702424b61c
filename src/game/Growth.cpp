// The garden's life in game frames: plants drying out and growing, pipes watering dry plots, the
// calendar, and the end of the level when the money has run out with nothing left to harvest.
// There is no timer: each game-view frame is one step, and the orders panel is the game's pause.
#include <iterator>

#include "game/Game.h"
#include "game/Rules.h"
#include "gfx/SpriteRects.h"
#include "platform/Platform.h"

namespace {

constexpr double kWaterLoss = 0.93;
constexpr double kPipeThreshold = 10.0;
constexpr uint32_t kGameOverPauseBeforeMs = 1000;
constexpr uint32_t kGameOverPictureMs = 2000;

// The vegetable of a plot; null for an index outside the table (only a damaged saved game holds
// one): such a plant neither grows nor counts as alive.
const TCrop* CropOf(const TPlot& plot) {
  return plot.Crop < std::size(Crops) ? &Crops[plot.Crop] : nullptr;
}

// Moisture tests written so that a value that is not a number counts as dry: a damaged saved game
// cannot leave a plant that never withers and is never watered.
bool DriedOut(double water) { return !(water > 0.0); }
bool DryEnoughForPipe(double water) { return !(water > kPipeThreshold); }

}  // namespace

// One step of a planted plot. The counters are compared with "at least" rather than "equal", so
// a counter loaded past its period starts over at once instead of running on for ever; from the
// values planting leaves, both comparisons behave the same.
void TGame::PlantStep(int col, int row) {
  TPlot& p = Field[col][row];
  const TCrop* c = CropOf(p);
  if (OrdersPanelOpen || !p.Alive || !c) return;

  if (p.WaterTick >= rules::FramesPerWaterLoss) {
    ++p.AnimFrame;
    p.WaterTick = 0;
    p.Water -= kWaterLoss;
  }
  const int ripe = c->Stages - 1;
  if (p.GrowthTick >= c->TicksPerStage) {
    p.GrowthTick = 0;
    if (p.Growing && p.Stage < ripe) ++p.Stage;
    if (p.Stage >= ripe) p.Growing = false;
  }
  ++p.GrowthTick;
  ++p.WaterTick;
  if (p.AnimFrame >= c->Frames || p.AnimFrame < 0) p.AnimFrame = 0;

  if (DriedOut(p.Water)) {
    p.Alive = false;
    p.Stage =
        static_cast<uint16_t>(p.Stage == c->RipeStage ? c->WitheredRipeStage : c->WitheredStage);
    p.GrowthTick = 0;
    p.AnimFrame = 0;
    p.Water = 0.0;
  }
}

// A pipe refills a dry plot whose plant still grows, for a fee; a ripe plant is left to dry, and
// a withered one (which keeps its growing flag) is not paid for again.
// Without the money the test simply comes round again next frame.
void TGame::AutoWater(int col, int row) {
  TPlot& p = Field[col][row];
  if (!p.Planted || !p.Alive || !DryEnoughForPipe(p.Water) || !p.Growing) return;
  if (!ChangeMoney(-rules::PipeWaterPrice)) return;
  p.Water = rules::Full;
  SprinklerOn[col][row] = true;
  SprinklerFrame[col][row] = 0;
  SprinklerCycles[col][row] = 0;
  SprinklerTick[col][row] = 0;
}

void TGame::CalendarStep() {
  if (!OrdersPanelOpen) AdvanceTick(Date);
}

// The level is lost when the money is below the limit and no plant is left that could still be
// harvested. The shed and a running order do not count.
void TGame::CheckOutOfMoney(TSurface** menuSlot, TSurface** symbolsSlot) {
  if (Money >= rules::OutOfMoneyLimit) return;
  for (const auto& column : Field) {
    for (const TPlot& p : column) {
      const TCrop* c = CropOf(p);
      if (p.Planted && c && p.Stage <= c->RipeStage) return;
    }
  }
  platform::TPlatform& platform = platform::Current();
  platform.Sleep(kGameOverPauseBeforeMs);
  Draw(menuSlot, 0, 0, sprites::menu::Background, 0);
  Draw(symbolsSlot, sprites::symbols::BannerAt.X, sprites::symbols::BannerAt.Y,
       sprites::symbols::GameOver, 1);
  Flip(nullptr);
  platform.Sleep(kGameOverPictureMs);
  InGame = false;
  LevelStatsOpen = false;
  LevelIntroOpen = false;
  Music.Stop();
}
