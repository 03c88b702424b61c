#include "HeaviestScene.h"

#include <climits>
#include <cstring>

#include "app/Main.h"

namespace bench {

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

}  // namespace bench
