// The save and load screen: five slots listed by the summaries kept in the settings file; a
// click on a slot saves the running game into it or replaces the game by the one saved there.
// A save that fails keeps the screen open and says so: the slot keeps its old game and summary.
#include "base/IniFile.h"
#include "base/Translation.h"
#include "game/DataFiles.h"
#include "game/Game.h"
#include "game/Money.h"
#include "game/SaveGame.h"
#include "gfx/SpriteRects.h"
#include "gfx/Text.h"

namespace {

constexpr int kSlots = SaveSlotCount;

// Windows colour references, 0x00BBGGRR.
constexpr uint32_t ColourRef(uint32_t red, uint32_t green, uint32_t blue) {
  return red | green << 8 | blue << 16;
}
constexpr uint32_t kTitleColour = ColourRef(0, 20, 0);
constexpr uint32_t kLabelColour = ColourRef(88, 83, 79);
constexpr uint32_t kHighlightColour = ColourRef(235, 211, 163);
constexpr uint32_t kFailureColour = ColourRef(150, 20, 10);

constexpr int kLabelX = 250;
constexpr int kFirstLabelY = 330;
constexpr int kSlotStep = 55;
constexpr int kSlotHeight = 45;
constexpr int kHoverRight = 850;  // also where a click loads
constexpr int kSaveRight = 800;   // a click saves only left of this

int SlotTop(int slot) { return kFirstLabelY + kSlotStep * slot; }

bool OnSlot(int slot, int x, int y, int right) {
  return InRect(x, y, kLabelX, SlotTop(slot), right, SlotTop(slot) + kSlotHeight);
}

std::string SlotLabel(const TSaveSlotInfo& info) {
  return LevelTitle(info.Level) + " - " + DateToText(info.Date) + " - " + MoneyToText(info.Money);
}

// The screen's title, where the Czech one stands, a translation centred on the Czech one's
// centre.
void DrawTitle(TGame& game, const char* czech, int czechX) {
  const std::string& title = Tr(czech);
  const int x = czechX + (TextInk(czech, FontHuge).Right - TextInk(title, FontHuge).Right) / 2;
  game.DrawText(title, x, 200, kTitleColour, game.BackBuffer, FontHuge);
}

}  // namespace

void TGame::SaveLoadScreen(int x, int y, TSurface** slot, bool saveMode, bool click) {
  TIniFile settings(data_files::Settings);
  for (int s = 0; s < kSlots; ++s) ReadSlotSummary(settings, s, SaveSlots[s]);
  HoverX = -1;

  Draw(slot, 0, 0, sprites::menu::Background, 0);
  if (saveMode) {
    DrawTitle(*this, TrLater("Ulož hru"), 362);
  } else {
    DrawTitle(*this, TrLater("Načti hru"), 342);
  }
  for (int s = 0; s < kSlots; ++s) {
    DrawText(SlotLabel(SaveSlots[s]), kLabelX, SlotTop(s), kLabelColour, BackBuffer, FontLarge);
  }
  for (int s = 0; s < kSlots; ++s) {
    if (OnSlot(s, x, y, kHoverRight)) {
      DrawText(SlotLabel(SaveSlots[s]), kLabelX, SlotTop(s), kHighlightColour, BackBuffer,
               FontLarge);
    }
  }
  if (saveMode && SaveFailed) {
    // Below the slots, in the free part of the board.
    DrawText(Tr("Hru se nepodařilo uložit."), kLabelX, 598, kFailureColour, BackBuffer, FontLarge);
    DrawText(Tr("Na disku asi není místo, nebo do složky Data nelze zapisovat."), kLabelX, 648,
             kFailureColour, BackBuffer, FontLevel);
    DrawText(Tr("Zkuste jinou pozici, nebo klepněte mimo pozice a hrajte dál."), kLabelX, 674,
             kFailureColour, BackBuffer, FontLevel);
  }
  if (!click) return;

  if (saveMode) SaveFailed = false;
  for (int s = 0; s < kSlots; ++s) {
    if (saveMode && OnSlot(s, x, y, kSaveRight)) {
      TSaveSlotInfo summary;
      summary.Level = LevelNumber;
      summary.Date = Date;
      summary.Money = Money;
      SaveFailed = PutIntoSlot(settings, s, SavedGameImage(*this), summary) != TSlotPut::Put;
    }
    if (!saveMode && OnSlot(s, x, y, kHoverRight)) {
      if (LoadGameFile(data_files::SaveSlot(s))) InGame = true;
      LoadScreenOpen = false;
    }
  }
}
