// The game object: what the level reset changes and what it keeps, the volumes read from and
// written to the settings file, and the rules the vegetable table keeps.
#include <gtest/gtest.h>

#include <fstream>

#include "TestFolder.h"
#include "game/Game.h"

namespace {

TEST(GameObject, LevelResetChangesTheLevelStateAndKeepsTheRest) {
  TTestFolder folder("game");
  TGame g;
  // Dirty what the reset touches, and a selection of what it must keep. The date, the shed and
  // the offer timer are checked where the level intro starts a level (level_screens_test).
  g.Money = 5;
  g.Date.Tick = 55;
  g.OrdersDone = 3;
  g.WellBuilt = g.OrderActive = g.OrderFulfilled = g.OrderFailed = true;
  g.ToolPlant = g.ToolHarvest = g.ToolBuy = g.ToolPipe = g.ToolFertilise = true;
  g.ToolWater = true;
  g.PlotMenuOpen = g.PlotInfoOpen = g.OrdersPanelOpen = g.ProgressPanelOpen = true;
  g.LevelIntroOpen = g.ReturnToGame = g.StatsBannerShown = g.LevelLoaded = true;
  g.PickNewOrder = false;
  g.HoverSoundArmed = false;
  g.SelectedCrop = 3;
  g.CloudScroll = g.CloudTail = g.CloudTick = 7;
  g.CloudEntry = 1;
  g.CloudRow = true;
  g.MenuHoverX = g.MenuHoverY = 4;
  g.LevelNumber = 4;
  g.Levl.Penize = 123;
  g.CurrentOrder.Cena = 77;
  g.OrderDeadline = TGameDate(1, 2, 2003);
  g.EffectsVolume = 10;
  g.Field[5][6].Owned = g.Field[5][6].Planted = true;
  g.Field[5][6].Water = 3.0;
  g.Field[5][6].Crop = 2;
  g.Pipe[5][6] = true;
  g.SprinklerFrame[5][6] = 3;

  g.ResetForLevel();

  EXPECT_EQ(g.Money, 2000);
  EXPECT_EQ(g.Date.Tick, 0);
  EXPECT_EQ(g.OrdersDone, 0);
  EXPECT_FALSE(g.WellBuilt || g.OrderActive || g.OrderFulfilled || g.OrderFailed);
  EXPECT_FALSE(g.ToolPlant || g.ToolHarvest || g.ToolBuy || g.ToolPipe || g.ToolFertilise);
  EXPECT_FALSE(g.PlotInfoOpen || g.OrdersPanelOpen || g.ProgressPanelOpen);
  EXPECT_FALSE(g.LevelIntroOpen || g.ReturnToGame || g.StatsBannerShown || g.LevelLoaded);
  EXPECT_TRUE(g.PickNewOrder);
  EXPECT_TRUE(g.HoverSoundArmed);
  EXPECT_EQ(g.SelectedCrop, 0);
  EXPECT_EQ(g.CloudScroll + g.CloudTail + g.CloudTick, 0);
  EXPECT_EQ(g.CloudEntry, 985);
  EXPECT_FALSE(g.CloudRow);
  EXPECT_EQ(g.MenuHoverX + g.MenuHoverY, 0);
  const TPlot& p = g.Field[5][6];
  EXPECT_FALSE(p.Owned || p.Planted);
  EXPECT_EQ(p.Water, 100.0);
  EXPECT_FALSE(g.Pipe[5][6]);

  // Kept as they were.
  EXPECT_TRUE(g.ToolWater);
  EXPECT_TRUE(g.PlotMenuOpen);
  EXPECT_EQ(g.LevelNumber, 4);
  EXPECT_EQ(g.Levl.Penize, 123);
  EXPECT_EQ(g.CurrentOrder.Cena, 77);
  EXPECT_EQ(DateToText(g.OrderDeadline), "1.2.2003");
  EXPECT_EQ(g.EffectsVolume, 10);
  EXPECT_EQ(p.Crop, 2);
  EXPECT_EQ(g.SprinklerFrame[5][6], 3);
}

TEST(GameSettings, VolumesAreWrittenAndReadBackAndDamagedOnesAreKeptOrDropped) {
  TTestFolder folder("game");  // with a Data folder, for the settings file
  {
    TGame g;
    g.EffectsVolume = 0;
    g.MusicVolume = 99;
    g.WriteVolumes();
  }
  const std::string written = ReadFile("Data/Nastaveni.dat");
  EXPECT_NE(written.find("[Hlasitost]"), std::string::npos);
  EXPECT_NE(written.find("Zvuk=0"), std::string::npos);
  EXPECT_NE(written.find("Hudba=99"), std::string::npos);
  TGame g;
  g.ReadVolumes();
  EXPECT_EQ(g.EffectsVolume, 0);
  EXPECT_EQ(g.MusicVolume, 99);

  std::ofstream("Data/Nastaveni.dat") << "[Hlasitost]\nZvuk=65836\nHudba=loud\n";
  g.ReadVolumes();
  EXPECT_EQ(g.EffectsVolume, 300);  // kept in 16 bits as read; the clips use the low 8 bits
  EXPECT_EQ(g.MusicVolume, 254);    // not a number: the default
}

TEST(GameRecords, TheVegetableTableKeepsItsStagesInOrderAndSellsAboveCost) {
  for (const TCrop& c : Crops) {
    EXPECT_EQ(c.RipeStage, c.Stages - 1) << c.Name;
    EXPECT_EQ(c.WitheredStage, c.RipeStage + 1);
    EXPECT_EQ(c.WitheredRipeStage, c.RipeStage + 2);
    EXPECT_LT(c.PlantPrice, c.SalePrice);
  }
}

}  // namespace
