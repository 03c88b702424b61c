// The two screens around every level: the intro with the briefing and what the level allows,
// whose button starts the level, and the statistics shown once the goal is met, whose button
// leads to the next level or, after the last one, to the congratulation and the main menu.
#include <cstdint>
#include <limits>
#include <string>

#include "base/IniFile.h"
#include "base/Translation.h"
#include "game/DataFiles.h"
#include "game/Game.h"
#include "game/Money.h"
#include "gfx/SpriteRects.h"
#include "gfx/Text.h"
#include "platform/Platform.h"

namespace {

namespace menu = sprites::menu;

constexpr uint32_t kBannerMs = 1000;
constexpr uint32_t kCongratulationMs = 6000;

// Windows colour references, 0x00BBGGRR.
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }
constexpr uint32_t kBlack = 0;
constexpr uint32_t kPermissions = Rgb(80, 0, 0);
constexpr uint32_t kStatsTitle = Rgb(191, 45, 45);
constexpr uint32_t kStatsValues = Rgb(75, 110, 160);

constexpr int kTextX = 40;
constexpr int kTextY = 260;
constexpr int kLineStep = 25;
constexpr int kWrapWidth = 89;
constexpr int kTextRight = 994;  // the screen's frame

// The level's briefing, read from the file itself; a missing level has none.
std::string LevelText(int32_t level) {
  const TIniFile file(data_files::Levels);
  return file.ReadString("Level" + IntToText(level), "Text", "");
}

bool OnLevelButton(int x, int y) {
  return InRect(x, y, menu::LevelButtonAt.X, menu::LevelButtonAt.Y,
                menu::LevelButtonAt.X + menu::LevelButtonNormal.Width(),
                menu::LevelButtonAt.Y + menu::LevelButtonNormal.Height());
}

}  // namespace

void TGame::LevelIntroScreen(int x, int y, TSurface** slot, bool click) {
  Draw(slot, 0, 0, menu::Background, 0);
  const bool hovered = OnLevelButton(x, y);
  Draw(slot, menu::LevelButtonAt.X, menu::LevelButtonAt.Y,
       hovered ? menu::LevelButtonHovered : menu::LevelButtonNormal, 1);
  if (hovered && click) {
    ResetForLevel();
    InGame = true;
    LoadLevel(LevelNumber);
    LevelIntroOpen = false;
    Music.Stop();
  }
  HoverX = -1;
  const std::string text = LevelText(LevelNumber);
  if (!LevelLoaded) {
    LoadLevel(LevelNumber);
    LevelLoaded = true;
  }

  // TRANSLATORS: the level intro's title, {n} the level's number (Czech joins them, "Level1").
  DrawText(FillForm(Tr("Level{n}"), {{"{n}", IntToText(LevelNumber)}}), 450, 210, kBlack,
           BackBuffer, FontLevelTitle);
  const int last =
      WrapText(TrText(text), kWrapWidth, kTextRight, kTextX, kTextY, kLineStep, kBlack, FontLevel);
  std::string plants = Tr("Rostliny : ");
  bool first = true;
  for (int crop = 0; crop < 4; ++crop) {
    if (!Levl.SaditZeleninu[crop]) continue;
    if (!first) plants += ", ";
    plants += CropName(crop);
    first = false;
  }
  DrawText(plants, kTextX, 320 + kLineStep * last, kPermissions, BackBuffer, FontLevel);
  DrawText(Levl.StavetStudnu ? Tr("Studna : Ano") : Tr("Studna : Ne"), kTextX,
           350 + kLineStep * last, kPermissions, BackBuffer, FontLevel);
  DrawText(Tr("Peníze : ") + MoneyToText(Levl.PenizeStart), kTextX, 380 + kLineStep * last,
           kPermissions, BackBuffer, FontLevel);
}

void TGame::LevelStatsScreen(int x, int y, TSurface** slot, TSurface** symbolsSlot, bool click) {
  if (!StatsBannerShown) {
    // The banner stands alone for a second before the statistics appear.
    Draw(slot, 0, 0, menu::Background, 0);
    Draw(symbolsSlot, sprites::symbols::BannerAt.X, sprites::symbols::BannerAt.Y,
         sprites::symbols::LevelBanner, 1);
    Flip(nullptr);
    platform::Current().Sleep(kBannerMs);
    StatsBannerShown = true;
  }
  Draw(slot, 0, 0, menu::Background, 0);
  DrawText(Tr("Statistika levelu:"), 40, 250, kStatsTitle, BackBuffer, FontLevel);
  DrawText(Tr("Peníze : ") + MoneyToText(Money), 60, 290, kStatsValues, BackBuffer, FontLevel);
  for (int crop = 0; crop < 4; ++crop) {
    DrawText(CropName(crop) + " : " + IntToText(ShedStock[crop]), 60, 320 + kLineStep * crop,
             kStatsValues, BackBuffer, FontLevel);
  }
  const bool hovered = OnLevelButton(x, y);
  Draw(slot, menu::LevelButtonAt.X, menu::LevelButtonAt.Y,
       hovered ? menu::LevelButtonHovered : menu::LevelButtonNormal, 1);
  if (!hovered || !click) return;

  // A level number that cannot grow any further has no next level either.
  const bool more = LevelNumber < std::numeric_limits<int32_t>::max();
  if (more) ++LevelNumber;
  if (more && !LevelText(LevelNumber).empty()) {
    InGame = false;
    LevelIntroOpen = true;
    LevelStatsOpen = false;
    StatsBannerShown = false;
    LevelLoaded = false;
    return;
  }

  // The campaign is complete.
  Draw(slot, 0, 0, menu::Background, 0);
  WrapText(Tr("Gratilujeme vyhrál si! Právě se ti povedlo vybudovat silnou společnost, "
              "která už nepotřebuje tvoji správu."),
           kWrapWidth, kTextRight, kTextX, kTextY, kLineStep, kBlack, FontLevel);
  Flip(nullptr);
  platform::Current().Sleep(kCongratulationMs);
  InGame = false;
  LevelStatsOpen = false;
  LevelIntroOpen = false;
}
