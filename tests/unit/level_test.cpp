// The level definitions: the keys of a level section with their defaults, values that cannot be
// used as they stand, and the goal test with its signed and unsigned comparisons.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <tuple>

#include "TestFolder.h"
#include "base/Cp1250.h"
#include "game/Game.h"

namespace {

using testing::ElementsAre;

// A fresh working folder whose Data/Level.dat holds the given text (in code page 1250).
struct LevelFolder : TTestFolder {
  explicit LevelFolder(const std::string& levelsUtf8) : TTestFolder("level") {
    WriteFile("Data/Level.dat", Utf8ToCp1250(levelsUtf8));
  }
};

constexpr const char* kLevels =
    "[Level1]\nText=Začni s květákem.\nObjednavkySplnene=2\nLevl.Zelenina[0]=5\n"
    "Levl.Zelenina[1]=0\nLevl.Zelenina[2]=7\nLevl.Zelenina[3]=1\nPenize=2500\nStavet Studnu=0\n"
    "PenizeStart=1800\nLevl.SaditZeleninu[0]=1\nLevl.SaditZeleninu[1]=0\n"
    "Levl.SaditZeleninu[2]=5\nLevl.SaditZeleninu[3]=0\nKulna=3\n"
    "[Level2]\nText=Druhý.\nPenizeStart=mnoho\nLevl.Zelenina[1]=-1\nKulna=5\n"
    "[Level3]\nPenizeStart=-300\nKulna=-1\n";

TEST(LevelLoad, ReadsEveryKeyOfTheSectionAndDefaultsWhatItCannotUse) {
  LevelFolder folder(kLevels);
  TGame g;
  g.LoadLevel(1);
  EXPECT_EQ(Cp1250ToUtf8(g.Levl.Text), "Začni s květákem.");
  EXPECT_THAT(g.Levl.Zelenina, ElementsAre(5u, 0u, 7u, 1u));
  EXPECT_THAT(g.Levl.SaditZeleninu, ElementsAre(true, false, true, false));  // 5 allows too
  EXPECT_EQ(std::tuple(g.Levl.ObjednavkySplnene, g.Levl.Penize, g.Levl.StavetStudnu,
                       g.Levl.PenizeStart, g.Money, g.Levl.Kulna),
            std::tuple(2u, 2500, false, 1800, 1800, 3));
  // Missing keys and unusable values take the defaults.
  for (const auto& [name, level, kohlrabi] : {std::tuple{"no such section", 9, 0u},
                                              {"starting money not a number", 2, UINT32_MAX},
                                              {"negative starting money", 3, 0u}}) {
    SCOPED_TRACE(name);
    TGame d;
    d.Levl.Penize = 77;  // a previous level's values must all be replaced
    d.Levl.StavetStudnu = false;
    d.Levl.Kulna = 2;
    d.LoadLevel(level);
    // "Stavet Studnu" absent allows the well; rows 5 and -1 are not in the sheds picture.
    EXPECT_EQ(std::tuple(d.Money, d.Levl.PenizeStart, d.Levl.Penize, d.Levl.ObjednavkySplnene,
                         d.Levl.Zelenina[1], d.Levl.StavetStudnu, d.Levl.Kulna),
              std::tuple(0, 0, 0, 0u, kohlrabi, true, 0));
    EXPECT_THAT(d.Levl.SaditZeleninu, testing::Each(true));
  }
}

// A goal met while an order runs ends the level and leaves the order and the money alone. Each
// vegetable of the goal counts: one piece short of any of the four and the level goes on.
TEST(LevelGoal, MoneyIsComparedSignedCountsUnsigned) {
  LevelFolder folder("");
  // What; the goal's money, the vegetable it asks for, the pieces of it and the orders fulfilled it
  // asks; the money, the stock of that vegetable and the orders done; whether the level is won.
  const std::tuple<const char*, int32_t, int, uint32_t, uint32_t, int32_t, int32_t, int32_t, bool>
      cases[] = {
          {"everything exactly met", 2500, 2, 7, 2, 2500, 7, 2, true},
          {"one crown short", 2500, 2, 7, 2, 2499, 7, 2, false},
          {"one carrot short", 2500, 2, 7, 2, 2500, 6, 2, false},
          {"one order short", 2500, 2, 7, 2, 2500, 7, 1, false},
          {"cauliflowers met", 0, 0, 5, 0, 0, 5, 0, true},
          {"one cauliflower short", 0, 0, 5, 0, 0, 4, 0, false},
          {"kohlrabi met", 0, 1, 3, 0, 0, 3, 0, true},
          {"one kohlrabi short", 0, 1, 3, 0, 0, 2, 0, false},
          {"garlic met", 0, 3, 9, 0, 0, 9, 0, true},
          {"one garlic short", 0, 3, 9, 0, 0, 8, 0, false},
          {"a negative money goal is met with none", -5, 2, 0, 0, 0, 0, 0, true},
          {"a negative piece count is never met", 0, 2, static_cast<uint32_t>(-1), 0, 0, INT32_MAX,
           0, false},
          {"a negative order count is never met", 0, 2, 0, static_cast<uint32_t>(-3), 0, 0,
           INT32_MAX, false},
      };
  for (const auto& [name, penize, crop, pieces, orders, money, stock, done, won] : cases) {
    TGame g;
    g.InGame = g.OrderActive = true;
    g.Levl = TLevel{};
    g.Levl.Penize = penize;
    g.Levl.Zelenina[crop] = pieces;
    g.Levl.ObjednavkySplnene = orders;
    g.Money = money;
    // Plenty of every other vegetable: only the one asked for can fall short.
    std::fill_n(g.ShedStock, 4, 1000);
    g.ShedStock[crop] = stock;
    g.OrdersDone = done;
    g.CheckLevelGoal();
    EXPECT_EQ(std::tuple(g.LevelStatsOpen, g.InGame, g.OrderActive, g.Money),
              std::tuple(won, !won, true, money))
        << name;
  }
}

}  // namespace
