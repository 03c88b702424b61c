// The level definitions: loading a level's section of the level file into Levl, and the goal
// test that ends the level once money, shed and fulfilled orders all suffice.
#include <algorithm>
#include <string>

#include "base/IniFile.h"
#include "game/DataFiles.h"
#include "game/Game.h"
#include "gfx/SpriteRects.h"

namespace {

std::string CropKey(const char* name, int crop) {
  return std::string(name) + "[" + std::to_string(crop) + "]";
}

}  // namespace

void TGame::LoadLevel(int32_t level) {
  const TIniFile file(data_files::Levels);
  const std::string section = "Level" + IntToText(level);
  Levl.Text = file.ReadString(section, "Text", "");
  // Counts are kept unsigned: a negative count becomes one that no shed can ever hold.
  Levl.ObjednavkySplnene = static_cast<uint32_t>(file.ReadInteger(section, "ObjednavkySplnene", 0));
  for (int crop = 0; crop < 4; ++crop) {
    Levl.Zelenina[crop] =
        static_cast<uint32_t>(file.ReadInteger(section, CropKey("Levl.Zelenina", crop), 0));
  }
  Levl.Penize = file.ReadInteger(section, "Penize", 0);
  Levl.StavetStudnu = file.ReadBool(section, "Stavet Studnu", true);
  // Money is never negative anywhere in the game; a negative start would refuse every earning.
  Levl.PenizeStart = std::max(0, file.ReadInteger(section, "PenizeStart", 0));
  Money = Levl.PenizeStart;
  for (int crop = 0; crop < 4; ++crop) {
    Levl.SaditZeleninu[crop] = file.ReadBool(section, CropKey("Levl.SaditZeleninu", crop), true);
  }
  // The shed picture is a row of the sheds bitmap; a row it does not have shows the first one
  // rather than cutting outside the picture.
  const int32_t kulna = file.ReadInteger(section, "Kulna", 0);
  Levl.Kulna = (kulna >= 0 && kulna < sprites::sheds::Rows) ? kulna : 0;
}

void TGame::CheckLevelGoal() {
  if (Money < Levl.Penize) return;
  for (int crop = 0; crop < 4; ++crop) {
    if (static_cast<uint32_t>(ShedStock[crop]) < Levl.Zelenina[crop]) return;
  }
  if (static_cast<uint32_t>(OrdersDone) < Levl.ObjednavkySplnene) return;
  InGame = false;
  LevelStatsOpen = true;
}
