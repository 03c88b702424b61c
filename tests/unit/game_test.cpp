// The game object: what the level reset changes and what it keeps, and the volumes read from and
// written to the settings file.
#include <gtest/gtest.h>

#include <tuple>

#include "TestFolder.h"
#include "game/Game.h"

namespace {

TEST(GameObject, LevelResetChangesTheLevelStateAndKeepsTheRest) {
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
}

TEST(GameSettings, VolumesAreWrittenAndReadBackAndDamagedOnesAreKeptOrDropped) {
  TTestFolder folder("game");  // with a Data folder, for the settings file
  TGame g;
  g.EffectsVolume = 0;
  g.MusicVolume = 99;
  g.WriteVolumes();
  EXPECT_EQ(ReadFile("Data/Nastaveni.dat"), "[Hlasitost]\r\nZvuk=0\r\nHudba=99\r\n");
  g.EffectsVolume = g.MusicVolume = 7;
  g.ReadVolumes();
  EXPECT_EQ(std::pair(g.EffectsVolume, g.MusicVolume), (std::pair<uint16_t, uint16_t>(0, 99)));
  // Kept in 16 bits as read (the clips use the low 8 bits); not a number: the default.
  WriteFile("Data/Nastaveni.dat", "[Hlasitost]\nZvuk=65836\nHudba=loud\n");
  g.ReadVolumes();
  EXPECT_EQ(std::pair(g.EffectsVolume, g.MusicVolume), (std::pair<uint16_t, uint16_t>(300, 254)));
}

}  // namespace
