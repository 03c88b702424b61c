// The panels around the field: the main panel with its four buttons (options, save, load, back
// to the main menu), the order and progress icons below it, the money, date and shed block, and
// the information panel about the plot under the mouse.
#include <array>
#include <cmath>
#include <string>

#include "base/Translation.h"
#include "game/Game.h"
#include "game/Money.h"
#include "gfx/SpriteRects.h"
#include "gfx/Text.h"

namespace {

namespace sheet = sprites::main_sheet;
namespace symbols = sprites::symbols;
using sheet::TPanelButton;

constexpr const char* kMenuTune = "Menu.mp3";
constexpr uint32_t kBlack = 0;
constexpr uint32_t kInfoColour = 0xFCFE04;

bool OnPanelButton(TPanelButton button, int x, int y) {
  const TRect& r = sheet::PanelButtonHit[static_cast<size_t>(button)];
  return InRect(x, y, r.Left, r.Top, r.Right, r.Bottom);
}

bool OnRect(const TRect& r, int x, int y) { return InRect(x, y, r.Left, r.Top, r.Right, r.Bottom); }

// The tools that would act on a field the player no longer sees while a menu screen is up.
void DropFieldTools(TGame& g) { g.ToolPlant = g.ToolBuy = g.ToolPipe = false; }

// A whole number of a plot's measure, cut toward zero. A damaged saved game may hold anything
// in these doubles, so what no integer can be shows as 0 and the rest is kept in range.
std::string Truncated(double value) {
  if (std::isnan(value)) return "0";
  const double limit = 1e18;
  return IntToText(static_cast<int64_t>(std::fmax(-limit, std::fmin(limit, std::trunc(value)))));
}

}  // namespace

// The buttons act only on the running level: the same corner of a menu screen must neither
// restart the menu tune nor open the options as if they had been left from a level.
void TGame::DrawMainPanel(int x, int y, TSurface** slot, bool click) {
  Draw(slot, sheet::PanelAt.X, sheet::PanelAt.Y, sheet::Panel, 0);

  if (click && InGame) {
    if (OnPanelButton(TPanelButton::MainMenu, x, y)) {
      InGame = false;  // the level is left without saving
      Music.Stop();
      PlayMusicFromArchive(kMenuTune, true);
    }
    if (OnPanelButton(TPanelButton::Options, x, y)) {
      OptionsOpen = true;
      InGame = false;
      ReturnToGame = true;
      DropFieldTools(*this);
    }
    // Save and load leave InGame set: the game view returns when their screen closes.
    if (OnPanelButton(TPanelButton::Save, x, y)) {
      SaveScreenOpen = true;
      DropFieldTools(*this);
    }
    if (OnPanelButton(TPanelButton::Load, x, y)) {
      LoadScreenOpen = true;
      DropFieldTools(*this);
    }
  }

  for (TPanelButton b :
       {TPanelButton::Options, TPanelButton::Save, TPanelButton::Load, TPanelButton::MainMenu}) {
    const TRect& at = sheet::PanelButtonHit[static_cast<size_t>(b)];
    Draw(slot, at.Left, at.Top, sheet::PanelButton(b, OnPanelButton(b, x, y)), 1);
  }
}

// The icons exist only in the running level, and so do their clicks.
void TGame::DrawSidePanel(int x, int y, TSurface** slot, bool click) {
  const TRect orderIcon{symbols::OrderIconAt.X, symbols::OrderIconAt.Y,
                        symbols::OrderIconAt.X + symbols::OrderIcon.Width(),
                        symbols::OrderIconAt.Y + symbols::OrderIcon.Height()};
  const TRect progressIcon{symbols::ProgressIconAt.X, symbols::ProgressIconAt.Y,
                           symbols::ProgressIconAt.X + symbols::ProgressIcon.Width(),
                           symbols::ProgressIconAt.Y + symbols::ProgressIcon.Height()};
  if (!click) {
    if (OrderActive) Draw(slot, orderIcon.Left, orderIcon.Top, symbols::OrderIcon, 1);
    if (InGame) Draw(slot, progressIcon.Left, progressIcon.Top, symbols::ProgressIcon, 1);
    return;
  }
  if (!InGame) return;
  // A click on the order icon's place while no order runs is spent there all the same.
  if (OnRect(orderIcon, x, y)) {
    if (OrderActive) OrdersPanelOpen = true;
  } else if (OnRect(progressIcon, x, y)) {
    ProgressPanelOpen = true;
  }
}

void TGame::DrawStatus(TSurface** slot) {
  DrawText(Tr("Peníze : ") + MoneyToText(Money), 830, 80, kBlack, BackBuffer, FontStatus);
  DrawText(Tr("Datum : ") + DateToText(Date), 830, 100, kBlack, BackBuffer, FontStatus);

  Draw(slot, symbols::ShedBlockAt.X, symbols::ShedBlockAt.Y, symbols::ShedBlock, 0);
  // Top to bottom: carrot, kohlrabi, cauliflower, garlic; each count stands right of its icon.
  for (int crop : {2, 1, 0, 3}) {
    const sprites::TSpot& at = symbols::CropIconAt[static_cast<size_t>(crop)];
    Draw(slot, at.X, at.Y, symbols::CropIcon[static_cast<size_t>(crop)], 1);
    DrawText(IntToText(ShedStock[crop]), at.X + 22, at.Y + 3, kBlack, BackBuffer, FontThin);
  }
}

// Follows the mouse while the right button is held over the field.
void TGame::DrawPlotInfo(int x, int y) {
  if (x <= 32 || y < 280) return;
  if (HoverX < 0 || HoverX >= FieldColumns || HoverY < 0 || HoverY >= FieldRows) return;
  const TPlot& p = Field[HoverX][HoverY];
  // A crop number the table lacks (a damaged saved game) names nothing.
  const std::string crop = p.Crop < 4 ? CropName(static_cast<int>(p.Crop)) : std::string();
  const std::string lines[4] = {
      Tr("Voda : ") + Truncated(p.Water),
      Tr("Rostlina : ") + (p.Planted ? crop : Tr("NIC")),
      Tr("Stadium : ") + IntToText(p.Stage),
      // TRANSLATORS: {n} is the plot's fertility in per cent; write the sign as your language
      // does ("{n} %" or "{n}%").
      FillForm(Tr("Úrodnost : {n}%"), {{"{n}", Truncated(p.Fertility)}}),
  };
  for (int i = 0; i < 4; ++i)
    DrawText(lines[i], x + 15, y + 20 * i, kInfoColour, BackBuffer, FontInfo);
}
