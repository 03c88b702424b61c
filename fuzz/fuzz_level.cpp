// Level and order reading from any bytes, as both data files of the campaign. Whatever a level or
// an order read as, written out again as its section (every value quoted, so that blanks and
// quotes of its own survive) it reads back the same; a level read never starts below zero money
// nor shows a shed row the picture lacks.
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "game/Game.h"
#include "gfx/SpriteRects.h"

namespace {

std::string Entry(const std::string& key, const std::string& value) {
  return key + "=\"" + value + "\"\r\n";
}

std::string Entry(const std::string& key, int64_t value) {
  return Entry(key, std::to_string(value));
}

std::string CropKey(const char* name, int crop) {
  return std::string(name) + "[" + std::to_string(crop) + "]";
}

std::string PrintLevel(int32_t number, const TLevel& level) {
  std::string out = "[Level" + std::to_string(number) + "]\r\n";
  out += Entry("Text", level.Text);
  // Counts are read as signed integers and kept unsigned: written back as the integer read.
  out += Entry("ObjednavkySplnene", static_cast<int32_t>(level.ObjednavkySplnene));
  for (int crop = 0; crop < 4; ++crop) {
    out += Entry(CropKey("Levl.Zelenina", crop), static_cast<int32_t>(level.Zelenina[crop]));
  }
  out += Entry("Penize", level.Penize);
  out += Entry("Stavet Studnu", level.StavetStudnu ? 1 : 0);
  out += Entry("PenizeStart", level.PenizeStart);
  for (int crop = 0; crop < 4; ++crop) {
    out += Entry(CropKey("Levl.SaditZeleninu", crop), level.SaditZeleninu[crop] ? 1 : 0);
  }
  out += Entry("Kulna", level.Kulna);
  return out;
}

bool SameLevel(const TLevel& a, const TLevel& b) {
  for (int crop = 0; crop < 4; ++crop) {
    if (a.Zelenina[crop] != b.Zelenina[crop] || a.SaditZeleninu[crop] != b.SaditZeleninu[crop]) {
      return false;
    }
  }
  return a.Text == b.Text && a.ObjednavkySplnene == b.ObjednavkySplnene && a.Penize == b.Penize &&
         a.StavetStudnu == b.StavetStudnu && a.PenizeStart == b.PenizeStart && a.Kulna == b.Kulna;
}

std::string PrintOrder(int32_t level, int32_t number, const TOrder& order) {
  std::string out =
      "[ProLevel" + std::to_string(level) + "Objednavka" + std::to_string(number) + "]\r\n";
  out += Entry("Text", order.Text);
  out += Entry("Cena", order.Cena);
  out += Entry("Mesice", order.Mesice);
  out += Entry("Nezplneni", order.Nezplneni);
  for (int crop = 0; crop < 4; ++crop) {
    out += Entry(CropKey("Zelenina", crop), static_cast<int32_t>(order.Zelenina[crop]));
  }
  return out;
}

bool SameOrder(const TOrder& a, const TOrder& b) {
  for (int crop = 0; crop < 4; ++crop) {
    if (a.Zelenina[crop] != b.Zelenina[crop]) return false;
  }
  return a.Text == b.Text && a.Cena == b.Cena && a.Mesice == b.Mesice && a.Nezplneni == b.Nezplneni;
}

void WriteText(const std::string& path, const std::string& text) {
  WriteInput(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnterFuzzFolder();
  static TGame game;
  for (int level : {1, 2, 0}) {
    WriteInput("Data/Level.dat", data, size);
    WriteInput("Data/Objednav.dat", data, size);
    game.LoadLevel(level);
    if (game.Levl.PenizeStart < 0 || game.Money != game.Levl.PenizeStart) std::abort();
    if (game.Levl.Kulna < 0 || game.Levl.Kulna >= sprites::sheds::Rows) std::abort();
    game.CheckLevelGoal();
    const TLevel read = game.Levl;
    for (int order : {0, 3, 1000}) {
      game.ReadOrder(level, order);
      const TOrder offered = OfferedOrder;
      const int32_t number = game.OrderIndex;
      WriteText("Data/Objednav.dat", PrintOrder(level, number, offered));
      game.ReadOrder(level, number);
      if (!SameOrder(offered, OfferedOrder)) std::abort();
      WriteInput("Data/Objednav.dat", data, size);
    }
    WriteText("Data/Level.dat", PrintLevel(level, read));
    game.LoadLevel(level);
    if (!SameLevel(read, game.Levl)) std::abort();
  }
  return 0;
}
