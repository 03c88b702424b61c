// The options screen: two volume sliders (effects above, music below) whose knobs follow the
// mouse relative to where they were grabbed, the row of languages between them, and a back
// button to the main menu or the level.
#include <algorithm>
#include <string>

#include "base/Translation.h"
#include "game/Game.h"
#include "game/Language.h"
#include "gfx/SpriteRects.h"
#include "gfx/Text.h"
#include "platform/Application.h"

namespace {

namespace menu = sprites::menu;

constexpr uint16_t kBackButton = 4;  // HoveredButton while the pointer is on the back button
constexpr TRect kBackClick{444, 580, 580, 665};
constexpr TRect kBackHover{444, 580, 580, 630};

constexpr int kKnobWidth = 12;
constexpr int kGrabHeight = 24;
constexpr uint16_t kMaxVolume = 254;
// Beyond these the volume snaps to the track's ends.
constexpr int kTrackStart = 144;
constexpr int kTrackEnd = 884;

bool In(int x, int y, const TRect& r) { return InRect(x, y, r.Left, r.Top, r.Right, r.Bottom); }

// The knob's left edge for a volume: 2.9 pixels per step from x 142, truncated.
int KnobX(uint16_t volume) { return static_cast<int>(volume * 2.9 + 142); }

// One slider's state: the volume it sets and where and at which volume its knob was grabbed.
struct TSlider {
  uint16_t& Volume;
  uint16_t& GrabX;  // 0: not being dragged
  uint16_t& GrabVolume;
  int KnobY;
  sprites::TSpot TrackAt;
};

// Moving the mouse by 29 pixels changes the volume by 10.
uint16_t DraggedVolume(const TSlider& s, int x) {
  if (x < kTrackStart) return 0;
  if (x > kTrackEnd) return kMaxVolume;
  const int volume = s.GrabVolume + (x - s.GrabX) * 10 / 29;
  return static_cast<uint16_t>(std::clamp(volume, 0, int{kMaxVolume}));
}

// The row of languages: each one's own name, in the free space between the two sliders, left
// to right from the tracks' left end and on a second row where they reach past its right end.
// The language spoken is drawn dark, the others lighter; the one under the pointer darker too.
constexpr int kLanguagesX = 142;
constexpr int kLanguagesY = 360;
constexpr int kLanguagesRight = 884;
constexpr int kLanguageGap = 40;  // between one name's ink and the next name
constexpr int kLanguageRowStep = 34;
constexpr int kLanguageMargin = 6;              // the click area around a name's ink
constexpr uint32_t kSpokenColour = 0x00145014;  // Windows colour references: 0x00bbggrr
constexpr uint32_t kOfferedColour = 0x00325578;
constexpr uint32_t kHoveredColour = 0x00192d46;

struct TLanguageSpot {
  sprites::TSpot At;  // where the name is drawn
  TRect Click;        // where a press chooses it
};

std::vector<TLanguageSpot> LanguageSpots(const std::vector<TOfferedLanguage>& languages) {
  std::vector<TLanguageSpot> spots;
  int x = kLanguagesX, y = kLanguagesY;
  for (const TOfferedLanguage& language : languages) {
    TRect ink = TextInk(language.OwnName, FontLevel);
    if (x > kLanguagesX && x + ink.Right > kLanguagesRight) {
      x = kLanguagesX;
      y += kLanguageRowStep;
    }
    spots.push_back({{x, y},
                     {x + ink.Left - kLanguageMargin, y + ink.Top - kLanguageMargin,
                      x + ink.Right + kLanguageMargin, y + ink.Bottom + kLanguageMargin}});
    x += ink.Right + kLanguageGap;
  }
  return spots;
}

}  // namespace

// A press on a language's name speaks it from then on, in this run and the next ones: the
// choice is kept in the settings file, and one that could not be kept is the player's to know.
void TGame::LanguageRow(int x, int y, TSurface* surface, bool press) {
  if (OfferedLanguageList.empty()) OfferedLanguageList = OfferedLanguages();
  const std::vector<TLanguageSpot> spots = LanguageSpots(OfferedLanguageList);
  for (size_t i = 0; i < spots.size(); ++i) {
    const TOfferedLanguage& language = OfferedLanguageList[i];
    const bool hovered = In(x, y, spots[i].Click);
    if (press && hovered) {
      ClickSound.Play();
      const std::string spoken = SpokenLanguage();
      if (language.Code != spoken && !SpeakLanguage(language.Code)) {
        // Its data went since the row was listed: the language spoken stays, and is no choice.
        SpeakLanguage(spoken);
      } else if (ChosenLanguage() != language.Code && !KeepChosenLanguage(language.Code)) {
        platform::Application.MessageBox(Tr(SettingsNotSavedMessage),
                                         platform::Application.Title());
      }
    }
    const uint32_t colour = language.Code == SpokenLanguage() ? kSpokenColour
                            : hovered                         ? kHoveredColour
                                                              : kOfferedColour;
    DrawText(language.OwnName, spots[i].At.X, spots[i].At.Y, colour, surface, FontLevel);
  }
}

void TGame::OptionsScreen(int x, int y, TSurface** slot, bool press, bool drag, bool release) {
  HoverX = -1;
  HoverSoundArmed = true;
  if (!(press && drag)) Draw(slot, 0, 0, menu::Background, 0);

  if (press && In(x, y, kBackClick)) {
    if (ReturnToGame) {
      ReturnToGame = false;
      InGame = true;
    }
    OptionsOpen = false;
    // Kept as the player leaves the screen, and again at the end: a game that is left otherwise
    // than through its exit button (a closed browser tab, a power cut) keeps the volumes too.
    // Volumes that could not be kept are the player's to know.
    if (!WriteVolumes()) {
      platform::Application.MessageBox(Tr(SettingsNotSavedMessage), platform::Application.Title());
    }
  }

  const bool onBack = In(x, y, kBackHover);
  if (onBack) {
    if (HoveredButton != kBackButton && HoverSoundArmed) ClickSound.Play();
    HoverSoundArmed = false;
    HoveredButton = kBackButton;
  }
  Draw(slot, menu::BackAt.X, menu::BackAt.Y, onBack ? menu::BackHovered : menu::BackNormal, 1);

  Draw(slot, menu::MusicCaptionAt.X, menu::MusicCaptionAt.Y, menu::MusicCaption, 1);
  Draw(slot, menu::EffectsCaptionAt.X, menu::EffectsCaptionAt.Y, menu::EffectsCaption, 1);
  LanguageRow(x, y, BackBuffer, press);

  const TSlider sliders[] = {
      {EffectsVolume, EffectsGrabX, EffectsGrabVolume, 283, menu::EffectsTrackAt},
      {MusicVolume, MusicGrabX, MusicGrabVolume, 483, menu::MusicTrackAt},
  };
  for (const TSlider& s : sliders) {
    const int knob = KnobX(s.Volume);
    if (press && InRect(x, y, knob, s.KnobY, knob + kKnobWidth, s.KnobY + kGrabHeight)) {
      s.GrabX = static_cast<uint16_t>(x);
      s.GrabVolume = s.Volume;
    }
    if (drag && s.GrabX > 0) {
      ApplyVolumes();
      s.Volume = DraggedVolume(s, x);
    }
    Draw(slot, s.TrackAt.X, s.TrackAt.Y, menu::Track, 1);
    Draw(slot, KnobX(s.Volume), s.KnobY, menu::Knob, 1);
  }

  if (HoveredButton == kBackButton && !onBack) HoveredButton = 0;
  if (release) {
    ApplyVolumes();
    MusicGrabX = 0;
    EffectsGrabX = 0;
  }
}
