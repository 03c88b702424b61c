// The plot actions menu with its ten buttons, the six tools a button selects (applied to the plot
// under the mouse when the left button is released), the well, and the price hint of the harvest
// tool.
#include <array>
#include <limits>
#include <string>

#include "base/Translation.h"
#include "game/Game.h"
#include "game/Rules.h"
#include "gfx/SpriteRects.h"
#include "gfx/Text.h"

namespace {

using sprites::main_sheet::PlotMenuButton;
using sprites::main_sheet::PlotMenuButtonHit;

constexpr uint32_t kMenuTextColour = 0x80FFFF;
constexpr int kButtonSize = 48;

enum class TTool { Buy, Water, Harvest, Plant, Fertilise, Well, Pipe };

// One button of the menu, in the order of its id (1..10).
struct TMenuButton {
  TTool Tool;
  int Crop;           // the crop a plant button selects, else -1
  const char* Label;  // UTF-8; empty for the plant buttons, which show the crop's name
  int Price;          // 0: no price shown
};

constexpr std::array<TMenuButton, 10> kButtons{{
    {TTool::Buy, -1, TrLater("Koupení záhonku"), rules::PlotPrice},
    {TTool::Water, -1, TrLater("Kropit"), rules::WaterPrice},
    {TTool::Harvest, -1, TrLater("Sklidit"), 0},
    {TTool::Plant, 2, "", Crops[2].PlantPrice},
    {TTool::Plant, 0, "", Crops[0].PlantPrice},
    {TTool::Plant, 1, "", Crops[1].PlantPrice},
    {TTool::Plant, 3, "", Crops[3].PlantPrice},
    {TTool::Fertilise, -1, TrLater("Hnojit půdu"), rules::FertilisePrice},
    {TTool::Well, -1, TrLater("Studna"), rules::WellPrice},
    {TTool::Pipe, -1, TrLater("Zavlžovací potrubí"), rules::PipeLayPrice},
}};

const TRect& HitOf(int id) { return PlotMenuButtonHit[static_cast<size_t>(id - 1)]; }

bool OnButton(int id, int x, int y) {
  const TRect& r = HitOf(id);
  return InRect(x, y, r.Left, r.Top, r.Right, r.Bottom);
}

// The crop of a table index, or null for an index no crop has (a damaged saved game can hold
// any number in a plot or in the selection).
const TCrop* CropAt(int64_t index) { return index >= 0 && index < 4 ? &Crops[index] : nullptr; }

// The label a hovered button shows, as game text.
std::string LabelOf(const TMenuButton& b) {
  if (b.Tool == TTool::Plant) return CropName(b.Crop);
  return Tr(b.Label);
}

std::string PriceText(int64_t price) { return Tr("Cena : ") + IntToText(price); }

// The plot the tools act on: the one the hover pass found under the mouse, if any.
TPlot* HoveredPlot(TGame& g) {
  if (g.HoverX < 0 || g.HoverX >= FieldColumns || g.HoverY < 0 || g.HoverY >= FieldRows)
    return nullptr;
  return &g.Field[g.HoverX][g.HoverY];
}

// A button exists only where the level allows what it does.
bool Enabled(const TGame& g, const TMenuButton& b) {
  switch (b.Tool) {
    case TTool::Plant:
      return g.Levl.SaditZeleninu[b.Crop];
    case TTool::Well:
    case TTool::Pipe:
      return g.Levl.StavetStudnu;
    default:
      return true;
  }
}

void SelectTool(TGame& g, const TMenuButton& b) {
  g.ToolPlant = b.Tool == TTool::Plant;
  g.ToolHarvest = b.Tool == TTool::Harvest;
  g.ToolBuy = b.Tool == TTool::Buy;
  g.ToolPipe = b.Tool == TTool::Pipe;
  g.ToolWater = b.Tool == TTool::Water;
  g.ToolFertilise = b.Tool == TTool::Fertilise;
  // No plot counts as under the mouse until the hover pass has run again, so the release of
  // this very click applies nothing.
  g.HoverX = -1;
  if (b.Tool == TTool::Plant) g.SelectedCrop = b.Crop;
  if (b.Tool == TTool::Well && !g.WellBuilt && g.ChangeMoney(-rules::WellPrice)) g.WellBuilt = true;
}

}  // namespace

// The menu is only reachable from the running level; a press that opened it elsewhere (on a
// menu screen, whose top left corner lies where the shed is) must not pick tools or buy a well.
void TGame::DrawPlotMenu(int x, int y, TSurface** slot, bool click) {
  if (OrdersPanelOpen || !InGame) return;
  Draw(slot, sprites::main_sheet::PlotMenuAt.X, sprites::main_sheet::PlotMenuAt.Y,
       sprites::main_sheet::PlotMenu, 1);

  if (click) {
    for (int id = 1; id <= 10; ++id) {
      const TMenuButton& b = kButtons[static_cast<size_t>(id - 1)];
      if (Enabled(*this, b) && OnButton(id, x, y)) SelectTool(*this, b);
    }
    return;
  }

  MenuHoverPrev = MenuHover;
  const TMenuButton* hovered = nullptr;
  for (int id = 1; id <= 10; ++id) {
    const TMenuButton& b = kButtons[static_cast<size_t>(id - 1)];
    if (!Enabled(*this, b)) continue;
    const TRect& at = HitOf(id);
    const bool inside = OnButton(id, x, y);
    if (inside) {
      MenuHoverX = static_cast<uint16_t>(at.Left);
      MenuHoverY = static_cast<uint16_t>(at.Top);
      MenuHover = static_cast<uint16_t>(id);
      hovered = &b;
    }
    Draw(slot, at.Left, at.Top, PlotMenuButton(id, inside), 1);
  }
  if (hovered) {
    if (hovered->Price > 0)
      DrawText(PriceText(hovered->Price), x + 23, y + 35, kMenuTextColour, BackBuffer, FontSmall);
    DrawText(LabelOf(*hovered), x + 23, y + 23, kMenuTextColour, BackBuffer, FontSmall);
  }

  // The click sounds once as the pointer enters a button, also straight from another one.
  if (MenuHoverPrev != MenuHover) ClickSound.Play();
  if (!InRect(x, y, MenuHoverX, MenuHoverY, MenuHoverX + kButtonSize, MenuHoverY + kButtonSize))
    MenuHover = 0;
}

// A ripe plant is sold into the shed; a withered one is cleared for a fee. Either way the soil
// gives up what the crop takes from it.
void TGame::HarvestAction() {
  TPlot* p = HoveredPlot(*this);
  if (!ToolHarvest || !InGame || !p || !p->Planted) return;
  const TCrop* c = CropAt(p->Crop);
  if (!c || p->Stage < c->Stages - 1) return;
  // The sound comes before the fee is tried: a clearing that cannot be paid still sounds.
  BuySound.Play();
  if (p->Stage == c->RipeStage) {
    // A sale that the money cannot hold any more is refused, and the plant stays.
    if (!ChangeMoney(c->SalePrice)) return;
    int32_t& stock = ShedStock[p->Crop];
    if (stock < std::numeric_limits<int32_t>::max()) stock += 1;
  } else if (!ChangeMoney(-rules::ClearingFee)) {
    return;
  }
  p->Fertility -= c->FertilityUse;
  p->Planted = false;
}

void TGame::PlantAction() {
  TPlot* p = HoveredPlot(*this);
  const TCrop* c = CropAt(SelectedCrop);
  if (!ToolPlant || !InGame || !p || !c || p->Planted || !p->Owned) return;
  if (p->Fertility <= c->FertilityUse) return;
  if (!ChangeMoney(-c->PlantPrice)) return;
  BuySound.Play();
  p->Planted = true;
  p->Stage = 0;
  p->Crop = static_cast<uint16_t>(SelectedCrop);
  p->Water = rules::Full;
  p->Alive = true;
  p->Growing = true;
  p->GrowthTick = 0;
  p->AnimFrame = 0;  // WaterTick runs on: the first water loss comes 1 to 26 frames later
}

void TGame::BuyAction() {
  TPlot* p = HoveredPlot(*this);
  if (!ToolBuy || !InGame || !p || p->Owned) return;
  if (!ChangeMoney(-rules::PlotPrice)) return;
  BuySound.Play();
  p->Owned = true;
}

void TGame::PipeAction() {
  TPlot* p = HoveredPlot(*this);
  if (!ToolPipe || !InGame || !p) return;
  bool& pipe = Pipe[HoverX][HoverY];
  if (pipe || !WellBuilt || !p->Owned) return;
  if (ChangeMoney(-rules::PipeLayPrice)) pipe = true;
}

// Watering a withered plant is paid for like any other; it stays withered.
void TGame::WaterAction() {
  TPlot* p = HoveredPlot(*this);
  if (!ToolWater || !InGame || !p || !p->Planted) return;
  if (!ChangeMoney(-rules::WaterPrice)) return;
  WaterSound.Play();
  p->Water = rules::Full;
}

void TGame::FertiliseAction() {
  TPlot* p = HoveredPlot(*this);
  if (!ToolFertilise || !InGame || !p || !p->Owned || p->Fertility >= rules::Full) return;
  if (!ChangeMoney(-rules::FertilisePrice)) return;
  BuySound.Play();
  p->Fertility = rules::Full;
}

// What the harvest tool would earn (or cost) on the plot under the mouse.
void TGame::DrawPriceHint(int x, int y) {
  if (x <= 32 || y < 280 || !ToolHarvest || OrdersPanelOpen) return;
  const TPlot* p = HoveredPlot(*this);
  if (!p || !p->Planted) return;
  const TCrop* c = CropAt(p->Crop);
  if (!c || p->Stage < c->RipeStage) return;
  const int64_t price = p->Stage > c->RipeStage ? -rules::ClearingFee : c->SalePrice;
  DrawText(PriceText(price), x + 23, y + 23, kMenuTextColour, BackBuffer, FontSmall);
}
