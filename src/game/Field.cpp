// The field of 24 x 13 plots and the drawing passes of the game view that show it: the shed band,
// the beds of bought plots, the well, the pipes with their sprinklers (and the automatic
// watering), the plants (and their growth step), the highlight under the mouse and the clouds.
#include <iterator>

#include "game/Game.h"
#include "game/Rules.h"
#include "gfx/SpriteRects.h"

namespace {

namespace field = sprites::field;
namespace water = sprites::water;

// A sprinkler run: five pictures, each shown for five frames, five times over.
constexpr int kSprinklerFrameLength = 5;
constexpr int kSprinklerCycles = 5;

// The cloud window in front of the shed band, and the pass that carries a strip across it.
constexpr int kCloudWindowX = 13;
constexpr int kCloudWindowY = 15;
constexpr int kCloudWindowWidth = 1000;
constexpr int kCloudFramesPerStep = 4;
constexpr int kCloudEntryStart = 985;
constexpr int kCloudScrollEnd = 1999;
constexpr int kCloudTailEnd = 999;

// The plants are drawn from the crop table's sheet positions; the picture generator draws the
// plant sheet by sprites::plants. Both must name the same cells.
constexpr bool CropsMatchThePlantSheet() {
  namespace plants = sprites::plants;
  for (size_t i = 0; i < std::size(Crops); ++i) {
    const TCrop& c = Crops[i];
    const plants::TPlantSheet& s = plants::Sheets[i];
    if (c.SheetX != s.SheetX || c.SheetY != s.SheetY || c.Frames != s.Frames ||
        c.RipeStage != s.RipeStage || c.WitheredRipeStage + 1 != s.Rows ||
        c.Width != plants::CellWidth || c.Height != plants::CellHeight) {
      return false;
    }
  }
  return std::size(Crops) == plants::Sheets.size();
}
static_assert(CropsMatchThePlantSheet(), "the crop table and the plant sheet name other cells");

// The vegetable of a plot; null for an index outside the table (only a damaged saved game holds
// one), whose plant is then neither drawn nor stepped.
const TCrop* CropOf(const TPlot& plot) {
  return plot.Crop < std::size(Crops) ? &Crops[plot.Crop] : nullptr;
}

}  // namespace

void TGame::DrawShed(TSurface** slot) {
  // A shed row the picture does not hold would be refused by the blit anyway; checking first
  // keeps the row's offset from overflowing for a wild value.
  if (Levl.Kulna < 0 || Levl.Kulna >= sprites::sheds::Rows) return;
  Draw(slot, sprites::sheds::At.X, sprites::sheds::At.Y, sprites::sheds::Row(Levl.Kulna), 0);
}

// Bought plots of one row join into beds: a left end where the bed starts, middles inside it and
// a right end where it stops. A bed of one plot is only its left end, except in the last column,
// where the right end closes it over the left end.
void TGame::DrawPlots(TSurface** slot) {
  for (int col = 0; col < FieldColumns; ++col) {
    for (int row = 0; row < FieldRows; ++row) {
      if (!Field[col][row].Owned) continue;
      const int x = rules::CellX(col), y = rules::CellY(row);
      if (col == 0) {
        Draw(slot, x, y, field::BedLeft, 1);
        continue;
      }
      const bool left = Field[col - 1][row].Owned;
      if (col == FieldColumns - 1) {
        if (!left) Draw(slot, x, y, field::BedLeft, 1);
        Draw(slot, x, y, field::BedRight, 1);
        continue;
      }
      const bool right = Field[col + 1][row].Owned;
      if (left && right)
        Draw(slot, x, y, field::BedMiddle, 1);
      else if (left)
        Draw(slot, x, y, field::BedRight, 1);
      else
        Draw(slot, x, y, field::BedLeft, 1);
    }
  }
}

void TGame::DrawWell(TSurface** slot) {
  if (WellBuilt) Draw(slot, water::WellAt.X, water::WellAt.Y, water::Well, 1);
}

// Each pipe first gets the chance to water its plot, then shows either the idle pipe or the
// next frame of its sprinkler run. The comparisons are "at least" so that a run loaded with
// counters past their ends stops at once instead of counting round the byte.
void TGame::DrawPipes(TSurface** slot) {
  for (int col = 0; col < FieldColumns; ++col) {
    for (int row = 0; row < FieldRows; ++row) {
      if (!Pipe[col][row]) continue;
      AutoWater(col, row);
      const int x = rules::CellX(col), y = rules::CellY(row);
      if (!SprinklerOn[col][row]) {
        Draw(slot, x, y, water::IdlePipe, 1);
        continue;
      }
      uint8_t& frame = SprinklerFrame[col][row];
      uint8_t& tick = SprinklerTick[col][row];
      uint8_t& cycles = SprinklerCycles[col][row];
      Draw(slot, x, y, water::Sprinkler(frame), 1);
      ++tick;
      if (tick >= kSprinklerFrameLength) {
        ++frame;
        tick = 0;
      }
      if (frame >= water::SprinklerFrames) {
        frame = 0;
        ++cycles;
      }
      if (cycles >= kSprinklerCycles) SprinklerOn[col][row] = false;
    }
  }
}

// Every plant is drawn (the withered ones in their withered rows) and then stepped, so a plant
// that withers in this frame still shows its living picture once more.
void TGame::DrawPlants(TSurface** slot) {
  for (int col = 0; col < FieldColumns; ++col) {
    for (int row = 0; row < FieldRows; ++row) {
      const TPlot& p = Field[col][row];
      if (!p.Planted) continue;
      const TCrop* c = CropOf(p);
      if (!c) continue;
      const int left = c->SheetX + c->Width * p.AnimFrame;
      const int top = c->SheetY + c->Height * p.Stage;
      Draw(slot, rules::FieldLeft + c->Width * col, rules::FieldTop + c->Height * row,
           TRect{left, top, left + c->Width, top + c->Height}, 1);
      PlantStep(col, row);
    }
  }
}

void TGame::DrawHover(TSurface** slot, int x, int y) {
  if (!InRect(x, y, rules::FieldLeft, rules::FieldTop, rules::CellX(FieldColumns),
              rules::CellY(FieldRows))) {
    HoverX = -1;
    return;
  }
  const int col = (x - rules::FieldLeft) / rules::CellWidth;
  const int row = (y - rules::FieldTop) / rules::CellHeight;
  Draw(slot, rules::CellX(col), rules::CellY(row), field::Highlight, 1);
  HoverX = col;
  HoverY = row;
}

// The strip slides in from the right edge, scrolls until its right end reaches the window's
// right edge, and then leaves to the left; one pixel every four frames. A cloud state that no
// pass goes through (only a damaged saved game holds one) starts a fresh pass of the same strip.
void TGame::DrawClouds(TSurface** slot) {
  const bool valid = CloudScroll >= 0 && CloudScroll < kCloudScrollEnd && CloudTail >= 0 &&
                     CloudTail < kCloudTailEnd && CloudEntry >= 0 &&
                     CloudEntry <= kCloudEntryStart && CloudTick >= 0 &&
                     CloudTick < kCloudFramesPerStep;
  if (!valid) {
    CloudScroll = CloudTail = CloudTick = 0;
    CloudEntry = kCloudEntryStart;
  }
  const int top = sprites::clouds::StripHeight * (CloudRow ? 1 : 0);
  const TRect strip{CloudScroll + CloudTail, top, CloudScroll - CloudEntry + kCloudWindowWidth,
                    top + sprites::clouds::StripHeight};
  Draw(slot, CloudEntry + kCloudWindowX, kCloudWindowY, strip, 1);

  if (++CloudTick < kCloudFramesPerStep) return;
  CloudTick = 0;
  if (CloudEntry < 2) ++CloudScroll;
  if (CloudEntry > 0) --CloudEntry;
  if (CloudScroll >= kCloudScrollEnd) {
    --CloudScroll;
    ++CloudTail;
  }
  if (CloudTail >= kCloudTailEnd) {
    CloudEntry = kCloudEntryStart;
    CloudTail = 0;
    CloudScroll = 0;
    CloudRow = !CloudRow;
  }
}
