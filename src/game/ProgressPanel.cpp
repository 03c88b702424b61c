// The level progress panel: the current level's goal restated over the game view (the pieces of
// each vegetable the level allows, the orders and the money), closed with its own button.
#include <string>

#include "base/Translation.h"
#include "game/Game.h"
#include "game/Money.h"
#include "gfx/SpriteRects.h"
#include "gfx/Text.h"

namespace {

namespace level = sprites::level;

constexpr int kTextX = 448;
constexpr int kTitleY = 245;
constexpr int kLineStep = 20;
constexpr int kFirstLineOffset = 18;

// Each vegetable's line: its name and the pieces the level asks for, a whole form, so that a
// language whose name is long for the panel may shorten it here alone.
// TRANSLATORS: a line of the level's goal on the progress panel, {n} the pieces asked for; the
// panel is about 135 pixels wide, so a long name may be shortened here.
constexpr const char* kGoalLines[4] = {TrLater("Květák : {n}"), TrLater("Kedluben : {n}"),
                                       TrLater("Mrkev : {n}"), TrLater("Česnek : {n}")};

bool OnCloseButton(int x, int y) {
  return InRect(x, y, level::CloseAt.X, level::CloseAt.Y,
                level::CloseAt.X + level::CloseNormal.Width(),
                level::CloseAt.Y + level::CloseNormal.Height());
}

}  // namespace

void TGame::ProgressPanel(int x, int y, TSurface** slot, bool click) {
  HoverX = -1;
  if (click) {
    if (OnCloseButton(x, y)) ProgressPanelOpen = false;
    return;
  }

  auto line = [this](const std::string& text, int atY) {
    DrawTextN(text, kTextX, atY, 0, BackBuffer, FontPanel, static_cast<int>(text.size()));
  };
  Draw(slot, level::PanelAt.X, level::PanelAt.Y, level::Panel, 1);
  line(LevelTitle(LevelNumber), kTitleY);
  // Vegetables the level does not allow get no line and take no room.
  int offset = kFirstLineOffset;
  for (int crop = 0; crop < 4; ++crop) {
    if (!Levl.SaditZeleninu[crop]) continue;
    offset += kLineStep;
    line(FillForm(Tr(kGoalLines[crop]), {{"{n}", IntToText(Levl.Zelenina[crop])}}),
         kTitleY + offset);
  }
  line(Tr("Objednávky : ") + IntToText(Levl.ObjednavkySplnene), 265 + offset);
  line(Tr("Peníze : ") + MoneyToText(Levl.Penize), 285 + offset);
  Draw(slot, level::CloseAt.X, level::CloseAt.Y,
       OnCloseButton(x, y) ? level::CloseHovered : level::CloseNormal, 1);
}
