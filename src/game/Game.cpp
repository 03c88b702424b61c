// The game object's life: construction, the volumes read from the settings file at start and
// written back at the end, the release of its sounds, and the level-start reset.
#include "game/Game.h"
#include "game/DataFiles.h"
#include "game/Random.h"

#include "base/IniFile.h"

TArchive Archive;
TOrder OfferedOrder;

namespace {
constexpr const char* kVolumes = "Hlasitost";
constexpr int32_t kDefaultVolume = 254;
}  // namespace

// The members start at the values their declarations give; what remains is the random generator
// and the field. No file is touched: the program entry reads and writes the settings.
TGame::TGame() {
  Randomize();
  for (int c = 0; c < FieldColumns; ++c) {
    for (int r = 0; r < FieldRows; ++r) {
      Field[c][r].Reset();
      Pipe[c][r] = false;
    }
  }
}

TGame::~TGame() = default;

void TGame::ReadVolumes() {
  const TIniFile settings(data_files::Settings);
  EffectsVolume = static_cast<uint16_t>(settings.ReadInteger(kVolumes, "Zvuk", kDefaultVolume));
  MusicVolume = static_cast<uint16_t>(settings.ReadInteger(kVolumes, "Hudba", kDefaultVolume));
}

bool TGame::WriteVolumes() {
  TIniFile settings(data_files::Settings);
  const bool effects = settings.WriteInteger(kVolumes, "Zvuk", EffectsVolume);
  return settings.WriteInteger(kVolumes, "Hudba", MusicVolume) && effects;
}

void TGame::ReleaseSounds() {
  for (TSoundClip* clip : {&ClickSound, &Click2Sound, &WaterSound, &BuySound, &Music}) {
    clip->Release();
  }
}

void TGame::ResetForLevel() {
  StatsBannerShown = ProgressPanelOpen = LevelLoaded = false;
  PickNewOrder = true;
  ReturnToGame = LevelIntroOpen = OrderActive = OrderFulfilled = OrderFailed = false;

  OrderOfferTimer = 7500;
  OrdersDone = 0;
  for (int32_t& stock : ShedStock) stock = 0;

  Date = TGameDate(1, 1, 2002);
  Date.Tick = 0;
  OrdersPanelOpen = false;
  MenuHoverX = MenuHoverY = 0;

  Money = 2000;
  WellBuilt = false;
  SelectedCrop = 0;
  PlotInfoOpen = false;
  HoverSoundArmed = true;
  CloudScroll = 0;
  CloudTail = 0;
  CloudEntry = 985;
  CloudTick = 0;
  CloudRow = false;

  ToolPlant = ToolHarvest = ToolBuy = ToolPipe = ToolFertilise = false;

  for (int c = 0; c < FieldColumns; ++c) {
    for (int r = 0; r < FieldRows; ++r) {
      Field[c][r].Reset();
      Field[c][r].Owned = false;
      Pipe[c][r] = false;
    }
  }
  PipeSpareByte = 0;
  PipeSpareWord = 0;
}
