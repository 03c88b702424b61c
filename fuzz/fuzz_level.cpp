// Level and order reading from any bytes, as both data files of the campaign. Whatever a level or
// an order read as, written out again as its section (every value quoted, so that blanks and
// quotes of its own survive) it reads back the same; a level read never starts below zero money
// nor shows a shed row the picture lacks.
#include <cstdlib>
#include <string>
#include <type_traits>

#include "FuzzSupport.h"
#include "game/Game.h"
#include "gfx/SpriteRects.h"

namespace {

// One key of a section, its value quoted.
template <class T>
std::string Entry(const std::string& key, const T& value, int crop = -1) {
  const std::string index = crop < 0 ? "" : "[" + std::to_string(crop) + "]";
  if constexpr (std::is_same_v<T, std::string>)
    return key + index + "=\"" + value + "\"\r\n";
  else
    return Entry(key + index, std::to_string(value));
}

// The level as its section. Counts are read as signed integers and kept unsigned: written back as
// the integer read. Each field is written whole, so two levels print the same only when equal.
std::string PrintLevel(int32_t number, const TLevel& level) {
  std::string out = "[Level" + std::to_string(number) + "]\r\n" + Entry("Text", level.Text) +
                    Entry("ObjednavkySplnene", static_cast<int32_t>(level.ObjednavkySplnene));
  for (int crop = 0; crop < 4; ++crop)
    out += Entry("Levl.Zelenina", static_cast<int32_t>(level.Zelenina[crop]), crop);
  out += Entry("Penize", level.Penize) + Entry("Stavet Studnu", level.StavetStudnu ? 1 : 0) +
         Entry("PenizeStart", level.PenizeStart);
  for (int crop = 0; crop < 4; ++crop)
    out += Entry("Levl.SaditZeleninu", level.SaditZeleninu[crop] ? 1 : 0, crop);
  return out + Entry("Kulna", level.Kulna);
}

std::string PrintOrder(int32_t level, int32_t number, const TOrder& order) {
  std::string out = "[ProLevel" + std::to_string(level) + "Objednavka" + std::to_string(number) +
                    "]\r\n" + Entry("Text", order.Text) + Entry("Cena", order.Cena) +
                    Entry("Mesice", order.Mesice) + Entry("Nezplneni", order.Nezplneni);
  for (int crop = 0; crop < 4; ++crop)
    out += Entry("Zelenina", static_cast<int32_t>(order.Zelenina[crop]), crop);
  return out;
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
    const std::string read = PrintLevel(level, game.Levl);
    for (int order : {0, 3, 1000}) {
      game.ReadOrder(level, order);
      const int32_t number = game.OrderIndex;
      const std::string offered = PrintOrder(level, number, OfferedOrder);
      WriteText("Data/Objednav.dat", offered);
      game.ReadOrder(level, number);
      if (PrintOrder(level, number, OfferedOrder) != offered) std::abort();
      WriteInput("Data/Objednav.dat", data, size);
    }
    WriteText("Data/Level.dat", read);
    game.LoadLevel(level);
    if (PrintLevel(level, game.Levl) != read) std::abort();
  }
  return 0;
}
