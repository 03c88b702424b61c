// The records the game object is built from and that the garden, the campaign and the saved
// games share: one plot of the field, the vegetable table, the level, the order and the summary
// of a save slot.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Translation.h"
#include "game/GameDate.h"

constexpr int FieldColumns = 24;
constexpr int FieldRows = 13;

// One plot of the field. Saved games store it as these 40 bytes, gaps (always zero) included.
struct TPlot {
  bool Planted = false;    // a plant stands on the plot, alive or withered
  bool Owned = false;      // the plot has been bought
  int16_t WaterTick = 0;   // frames since the plant last lost water
  int32_t GrowthTick = 0;  // frames since the plant last grew a stage
  int16_t AnimFrame = 0;   // animation frame = column of the plant's sprite
  uint16_t Crop = 0;       // vegetable, index into Crops
  uint16_t Stage = 0;      // growth stage = row of the plant's sprite
  uint8_t Gap14[2] = {};
  double Water = 100.0;  // soil moisture; the plant withers at 0 or less
  bool Alive = true;
  bool Growing = true;  // still advancing through its stages
  uint8_t Gap26[6] = {};
  double Fertility = 100.0;  // each harvest takes the crop's FertilityUse

  // Back to a fresh plot, as at every level start; Owned and Crop are the caller's business.
  void Reset() {
    Planted = false;
    WaterTick = 0;
    GrowthTick = 0;
    AnimFrame = 0;
    Stage = 0;
    Water = 100.0;
    Alive = true;
    Growing = true;
    Fertility = 100.0;
  }
};
static_assert(sizeof(TPlot) == 40);
static_assert(offsetof(TPlot, WaterTick) == 2 && offsetof(TPlot, GrowthTick) == 4);
static_assert(offsetof(TPlot, AnimFrame) == 8 && offsetof(TPlot, Crop) == 10);
static_assert(offsetof(TPlot, Stage) == 12 && offsetof(TPlot, Water) == 16);
static_assert(offsetof(TPlot, Alive) == 24 && offsetof(TPlot, Growing) == 25);
static_assert(offsetof(TPlot, Fertility) == 32);

// A vegetable: prices, sprite sheet position, growth and fertility use.
struct TCrop {
  const char* Name;  // code page 1250
  int16_t PlantPrice;
  int16_t SalePrice;
  int32_t Width;
  int32_t Height;
  int32_t SheetX;
  int32_t SheetY;
  int32_t Stages;
  int32_t TicksPerStage;
  int16_t Frames;
  int16_t RipeStage;
  int16_t WitheredStage;
  int16_t WitheredRipeStage;
  double FertilityUse;
};

// 0 "Květák", 1 "Kedluben", 2 "Mrkev", 3 "Česnek" (the names in code page 1250 bytes).
inline constexpr TCrop Crops[4] = {
    {"Kv\xECt\xE1k", 28, 54, 40, 35, 0, 0, 5, 1200, 4, 4, 5, 6, 12.16},
    {"Kedluben", 16, 37, 40, 35, 322, 0, 4, 1500, 3, 3, 4, 5, 11.15},
    {"Mrkev", 17, 32, 40, 35, 161, 0, 4, 1200, 4, 3, 4, 5, 9.89},
    {"\xC8"
     "esnek",
     32, 65, 40, 35, 443, 0, 4, 1700, 4, 3, 4, 5, 13.89},
};

// A crop's name as the player reads it: in the language in use, in UTF-8.
inline const std::string& CropName(int crop) {
  static constexpr const char* kNames[4] = {TrLater("Květák"), TrLater("Kedluben"),
                                            TrLater("Mrkev"), TrLater("Česnek")};
  return Tr(kNames[crop]);
}

// A crop ripens in its last stage, and the two rows after it are its withered pictures; a ripe
// crop sells for more than it costs to plant.
constexpr bool CropTableInOrder() {
  for (const TCrop& c : Crops) {
    if (c.RipeStage != c.Stages - 1 || c.WitheredStage != c.RipeStage + 1 ||
        c.WitheredRipeStage != c.RipeStage + 2 || c.PlantPrice >= c.SalePrice) {
      return false;
    }
  }
  return true;
}
static_assert(CropTableInOrder());

// The definition of the current level, filled from the level file by keys of these names.
struct TLevel {
  uint32_t ObjednavkySplnene = 0;  // orders to fulfil
  uint32_t Zelenina[4] = {};       // pieces per vegetable required in the shed
  int32_t Penize = 0;              // money required
  bool StavetStudnu = false;       // the well may be built
  int32_t PenizeStart = 0;         // starting money
  bool SaditZeleninu[4] = {};      // planting allowed per vegetable
  uint32_t Reserved = 0;
  std::string Text;   // the briefing as last read
  int32_t Kulna = 0;  // row of the shed picture
};

// An order of a customer.
struct TOrder {
  int32_t Cena = 0;           // paid on delivery
  int32_t Nezplneni = 0;      // penalty when the deadline passes
  uint32_t Zelenina[4] = {};  // pieces of each vegetable to deliver
  uint16_t Mesice = 0;        // months from acceptance to the deadline
  std::string Text;           // the customer's request
};

// The summary of a save slot, shown on the save and load screen.
struct TSaveSlotInfo {
  TGameDate Date;
  int32_t Money = 0;
  int32_t Level = 0;
};
