// The level definitions: the keys of a level section with their defaults, values that cannot be
// used as they stand, and the goal test with its signed and unsigned comparisons; the game object's
// level reset, and its volumes in the settings file.
#include <gmock/gmock.h>

#include "TestSupport.h"
#include "base/Cp1250.h"

namespace {

using testing::ElementsAre;

constexpr const char* kLevels =
    "[Level1]\nText=Začni s květákem.\nObjednavkySplnene=2\nLevl.Zelenina[0]=5\n"
    "Levl.Zelenina[1]=0\nLevl.Zelenina[2]=7\nLevl.Zelenina[3]=1\nPenize=2500\nStavet Studnu=0\n"
    "PenizeStart=1800\nLevl.SaditZeleninu[0]=1\nLevl.SaditZeleninu[1]=0\n"
    "Levl.SaditZeleninu[2]=5\nLevl.SaditZeleninu[3]=0\nKulna=3\n"
    "[Level2]\nText=Druhý.\nPenizeStart=mnoho\nLevl.Zelenina[1]=-1\nKulna=5\n"
    "[Level3]\nPenizeStart=-300\nKulna=-1\n";

TEST(LevelLoad, ReadsEveryKeyDefaultsWhatItCannotUseAndComparesTheGoal) {
  TTestFolder folder("level");
  WriteFile("Data/Level.dat", Utf8ToCp1250(kLevels));  // the game's tables are in code page 1250
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
  // A goal met while an order runs ends the level and leaves the order and the money alone. Each
  // vegetable of the goal counts: one piece short of any of the four and the level goes on.
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

TEST(GameObject, LevelResetChangesTheLevelStateAndVolumesAreKeptInTheSettings) {
  TTestFolder folder("game");
  TGame g;
  // Dirty what the reset touches, and a selection of what it must keep. The date, the shed and
  // the offer timer are checked where the level intro starts a level (level_screens_test).
  g.Money = g.Date.Tick = g.OrdersDone = g.SelectedCrop = g.LevelNumber = 3;
  g.CloudScroll = g.CloudTail = g.CloudTick = g.CloudEntry = g.MenuHoverX = g.MenuHoverY = 7;
  g.WellBuilt = g.OrderActive = g.OrderFulfilled = g.OrderFailed = g.CloudRow = true;
  g.ToolPlant = g.ToolHarvest = g.ToolBuy = g.ToolPipe = g.ToolFertilise = g.ToolWater = true;
  g.PlotMenuOpen = g.PlotInfoOpen = g.OrdersPanelOpen = g.ProgressPanelOpen = true;
  g.LevelIntroOpen = g.ReturnToGame = g.StatsBannerShown = g.LevelLoaded = true;
  g.PickNewOrder = g.HoverSoundArmed = false;
  g.Levl.Penize = 123;
  g.CurrentOrder.Cena = 77;
  g.OrderDeadline = TGameDate(1, 2, 2003);
  g.EffectsVolume = 10;
  TPlot& p = g.Field[5][6] = {.Planted = true, .Owned = true, .Crop = 2, .Water = 3.0};
  g.Pipe[5][6] = true;
  g.SprinklerFrame[5][6] = 3;
  g.ResetForLevel();
  EXPECT_EQ(g.Money, 2000);
  EXPECT_EQ(g.Date.Tick + g.OrdersDone + g.SelectedCrop, 0);
  EXPECT_EQ(g.CloudScroll + g.CloudTail + g.CloudTick + g.MenuHoverX + g.MenuHoverY, 0);
  EXPECT_EQ(g.CloudEntry, 985);
  EXPECT_FALSE(g.WellBuilt || g.OrderActive || g.OrderFulfilled || g.OrderFailed || g.CloudRow);
  EXPECT_FALSE(g.ToolPlant || g.ToolHarvest || g.ToolBuy || g.ToolPipe || g.ToolFertilise);
  EXPECT_FALSE(g.PlotInfoOpen || g.OrdersPanelOpen || g.ProgressPanelOpen);
  EXPECT_FALSE(g.LevelIntroOpen || g.ReturnToGame || g.StatsBannerShown || g.LevelLoaded);
  EXPECT_TRUE(g.PickNewOrder && g.HoverSoundArmed);
  EXPECT_FALSE(p.Owned || p.Planted || g.Pipe[5][6]);
  EXPECT_EQ(p.Water, 100.0);
  // Kept as they were.
  EXPECT_TRUE(g.ToolWater && g.PlotMenuOpen);
  EXPECT_EQ(std::tuple(g.LevelNumber, g.Levl.Penize, g.CurrentOrder.Cena,
                       DateToText(g.OrderDeadline), g.EffectsVolume, p.Crop),
            std::tuple(3, 123, 77, "1.2.2003", 10, 2));
  EXPECT_EQ(g.SprinklerFrame[5][6], 3);
  // The volumes are written and read back; damaged ones are kept or dropped.
  TGame v;
  v.EffectsVolume = 0;
  v.MusicVolume = 99;
  v.WriteVolumes();
  EXPECT_EQ(ReadFile("Data/Nastaveni.dat"), "[Hlasitost]\r\nZvuk=0\r\nHudba=99\r\n");
  v.EffectsVolume = v.MusicVolume = 7;
  v.ReadVolumes();
  EXPECT_EQ(std::pair(v.EffectsVolume, v.MusicVolume), (std::pair<uint16_t, uint16_t>(0, 99)));
  // Kept in 16 bits as read (the clips use the low 8 bits); not a number: the default.
  WriteFile("Data/Nastaveni.dat", "[Hlasitost]\nZvuk=65836\nHudba=loud\n");
  v.ReadVolumes();
  EXPECT_EQ(std::pair(v.EffectsVolume, v.MusicVolume), (std::pair<uint16_t, uint16_t>(300, 254)));
}

}  // namespace
