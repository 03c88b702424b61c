// The options screen: dragging the volume knobs, where they are drawn, and the back button.
#include "TestSupport.h"

namespace {

constexpr uint16_t kBackground = 0x0841;
constexpr uint16_t kKnob = 0xF000;

class OptionsTest : public TGameTest {
 protected:
  void SetUp() override {
    TGameTest::SetUp();
    std::fill_n(menu->Pixels(), menu->Width() * menu->Height(), kBackground);
    for (int y = 777; y < 800; ++y) std::fill_n(menu->Row(y), 12, kKnob);
    g.OptionsOpen = true;
  }
  ~OptionsTest() override { delete menu; }

  void Press(int x, int y) { g.OptionsScreen(x, y, &menu, true, false, false); }
  void Drag(int x, int y) { g.OptionsScreen(x, y, &menu, false, true, false); }
  void Release(int x, int y) { g.OptionsScreen(x, y, &menu, false, false, true); }
  void DrawOnly() {
    g.Clear(0);
    g.OptionsScreen(0, 0, &menu, false, false, false);
  }

  TSurface* menu = new TSurface(1415, 800);
};

TEST_F(OptionsTest, AGrabbedKnobFollowsTheMouseAndStandsWhereItsVolumePutsItAndBackReturns) {
  // The music knob or the effects one, its volume, where it is grabbed, moved to, its new volume.
  const std::tuple<bool, uint16_t, int, int, uint16_t> cases[] = {
      {false, 101, 434, 434 + 58, 121},  // 58 pixels are 20 steps
      {false, 101, 445, 445 + 58, 121},  // grabbed at the knob's right edge: the same
      {false, 101, 440, 430, 98},        // 10 pixels back: trunc(-100 / 29) = -3
      {false, 101, 440, 144, 0},         // the track's first pixel: by distance, kept at 0
      {false, 101, 440, 900, 254},       // right of the track: snaps to 254
      {false, 252, 875, 884, 254},       // the track's last pixel: 255 by distance, kept at 254
      {true, 101, 434, 434 + 58, 121},   // the music knob, a row of its own
  };
  for (const auto& [music, start, grabX, toX, expected] : cases) {
    uint16_t& moved = music ? g.MusicVolume : g.EffectsVolume;
    uint16_t& other = music ? g.EffectsVolume : g.MusicVolume;
    moved = start;
    other = 200;
    const int y = music ? 490 : 290;
    Press(grabX, y);
    Drag(toX, y);
    EXPECT_EQ(moved, expected) << (music ? "music " : "effects ") << grabX << "->" << toX;
    EXPECT_EQ(other, 200);
    Release(toX, y);
  }
  // Only a grabbed knob moves, and its release applies the volume.
  g.EffectsVolume = 101;  // knob x 434..445, y 283..306
  g.MusicVolume = 101;    // knob x 434..445, y 483..506
  for (const auto& [x, y] :
       {std::pair{433, 290}, {446, 290}, {440, 282}, {440, 307}, {440, 482}, {440, 507}}) {
    Press(x, y);
    Drag(x + 100, y);
    EXPECT_EQ(std::tuple(g.EffectsVolume, g.MusicVolume, g.EffectsGrabX + g.MusicGrabX),
              std::tuple(101, 101, 0))
        << x << "," << y;
  }
  // The release ends the drag, and the clips hear the new volume.
  g.EffectsVolume = 101;
  g.MusicVolume = 30;
  Press(440, 290);
  Drag(440 + 29, 290);
  EXPECT_EQ(g.EffectsVolume, 111);
  Release(900, 600);  // anywhere
  EXPECT_EQ(std::tuple(g.EffectsGrabX, g.ClickSound.Volume, g.BuySound.Volume, g.Music.Volume),
            std::tuple(0, 111, 111, 30));
  Drag(100, 290);
  EXPECT_EQ(g.EffectsVolume, 111);
  // The knob stands where its volume puts it.
  for (const auto& [volume, knobX] :
       {std::pair{uint16_t{0}, 142}, {uint16_t{101}, 434}, {uint16_t{254}, 878}}) {
    g.EffectsVolume = g.MusicVolume = volume;
    DrawOnly();
    for (int y : {284, 484}) {
      const uint16_t* row = g.BackBuffer->Row(y);
      EXPECT_EQ(row[knobX], kKnob) << volume;
      EXPECT_EQ(row[knobX + 11], kKnob) << volume;
      EXPECT_NE(row[knobX - 1], kKnob) << volume;
      EXPECT_NE(row[knobX + 12], kKnob) << volume;
    }
  }
  // The back button returns to the menu or to the level.
  // Opened from the level, pressed where, closes.
  const std::tuple<bool, int, int, bool> backs[] = {
      {false, 444, 580, true},  {true, 444, 580, true},
      {false, 579, 664, true},   // below the hover area, still in the click area
      {false, 580, 600, false},  // right edge excluded
      {true, 500, 665, false},   // bottom edge excluded
  };
  for (const auto& [fromLevel, x, y, closes] : backs) {
    g.OptionsOpen = true;
    g.InGame = false;
    g.ReturnToGame = fromLevel;
    Press(x, y);
    EXPECT_EQ(std::tuple(g.OptionsOpen, g.InGame, g.ReturnToGame),
              std::tuple(!closes, closes && fromLevel, fromLevel && !closes))
        << x << "," << y;
  }
}

}  // namespace
