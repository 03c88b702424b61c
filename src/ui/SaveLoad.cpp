// The save and load screen: five slots listed by the summaries kept in the settings file; a
// click on a slot saves the running game into it or replaces the game by the one saved there.
#include "base/Cp1250.h"
#include "base/IniFile.h"
#include "game/DataFiles.h"
#include "game/Game.h"
#include "game/SaveGame.h"
#include "gfx/SpriteRects.h"
#include "gfx/Text.h"

namespace {

constexpr int kSlots = 5;

// Windows colour references, 0x00BBGGRR.
constexpr uint32_t ColourRef(uint32_t red, uint32_t green, uint32_t blue) {
  return red | green << 8 | blue << 16;
}
constexpr uint32_t kTitleColour = ColourRef(0, 20, 0);
constexpr uint32_t kLabelColour = ColourRef(88, 83, 79);
constexpr uint32_t kHighlightColour = ColourRef(235, 211, 163);

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

std::string SlotSection(int slot) { return "Save" + IntToText(slot); }

std::string SlotLabel(const TSaveSlotInfo& info) {
  return "Level " + IntToText(info.Level) + " - " + DateToText(info.Date) + " - " +
         IntToText(info.Money);
}

void ReadSummary(const TIniFile& settings, int slot, TSaveSlotInfo& info) {
  const std::string section = SlotSection(slot);
  info.Level = settings.ReadInteger(section, "CisloLevelu", 1);
  info.Date.Day = static_cast<uint16_t>(settings.ReadInteger(section, "Den", 1));
  info.Date.Month = static_cast<uint16_t>(settings.ReadInteger(section, "Mesic", 1));
  info.Date.Year = settings.ReadInteger(section, "Rok", 2002);
  info.Money = settings.ReadInteger(section, "Penize", 0);
}

void WriteSummary(TIniFile& settings, int slot, const TGame& game) {
  const std::string section = SlotSection(slot);
  settings.WriteInteger(section, "CisloLevelu", game.LevelNumber);
  settings.WriteInteger(section, "Den", game.Date.Day);
  settings.WriteInteger(section, "Mesic", game.Date.Month);
  settings.WriteInteger(section, "Rok", game.Date.Year);
  settings.WriteInteger(section, "Penize", game.Money);
}

}  // namespace

void TGame::SaveLoadScreen(int x, int y, TSurface** slot, bool saveMode, bool click) {
  TIniFile settings(data_files::Settings);
  for (int s = 0; s < kSlots; ++s) ReadSummary(settings, s, SaveSlots[s]);
  HoverX = -1;

  Draw(slot, 0, 0, sprites::menu::Background, 0);
  if (saveMode) {
    DrawText(Utf8ToCp1250("Ulož hru"), 362, 200, kTitleColour, BackBuffer, FontHuge);
  } else {
    DrawText(Utf8ToCp1250("Načti hru"), 342, 200, kTitleColour, BackBuffer, FontHuge);
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
  if (!click) return;

  for (int s = 0; s < kSlots; ++s) {
    if (saveMode && OnSlot(s, x, y, kSaveRight)) {
      // The summary names a saved game only once the game is really in the slot's file.
      if (WriteSavedGame(*this, data_files::SaveSlot(s))) WriteSummary(settings, s, *this);
    }
    if (!saveMode && OnSlot(s, x, y, kHoverRight)) {
      if (LoadGameFile(data_files::SaveSlot(s))) InGame = true;
      LoadScreenOpen = false;
    }
  }
}
