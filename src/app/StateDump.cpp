#include "app/StateDump.h"

#include <cstdio>

#include "app/Main.h"
#include "base/Cp1250.h"
#include "base/Json.h"
#include "game/Language.h"

namespace {

struct TAudioEvent {
  uint64_t Frame;
  std::string Clip, Operation, File;
};

std::vector<TAudioEvent>& AudioLog() {
  static std::vector<TAudioEvent> log;
  return log;
}

std::function<uint64_t()> recordingFrames;

const char* ClipName(const TSoundClip& clip) {
  if (&clip == &Game.ClickSound) return "ClickSound";
  if (&clip == &Game.Click2Sound) return "Click2Sound";
  if (&clip == &Game.WaterSound) return "WaterSound";
  if (&clip == &Game.BuySound) return "BuySound";
  if (&clip == &Game.Music) return "Music";
  return "other";
}

void RecordClip(const TSoundClip& clip, const char* operation, const std::string& file) {
  const uint64_t frame = recordingFrames ? recordingFrames() : 0;
  AudioLog().push_back({frame, ClipName(clip), operation, file});
}

void Date(TJsonWriter& j, const char* key, const TGameDate& d) {
  j.BeginObject(key).Value("Day", unsigned(d.Day)).Value("Month", unsigned(d.Month));
  j.Value("Year", d.Year).Value("Tick", d.Tick).EndObject();
}

void Order(TJsonWriter& j, const char* key, const TOrder& o) {
  j.BeginObject(key).Value("Cena", o.Cena).Value("Nezplneni", o.Nezplneni);
  j.BeginArray("Zelenina");
  for (uint32_t z : o.Zelenina) j.Value("", uint64_t(z));
  j.EndArray().Value("Mesice", unsigned(o.Mesice)).Text("Text", Cp1250ToUtf8(o.Text)).EndObject();
}

void Level(TJsonWriter& j, const TLevel& l) {
  j.BeginObject("Levl").Value("ObjednavkySplnene", uint64_t(l.ObjednavkySplnene));
  j.BeginArray("Zelenina");
  for (uint32_t z : l.Zelenina) j.Value("", uint64_t(z));
  j.EndArray();
  j.Value("Penize", l.Penize).Value("StavetStudnu", l.StavetStudnu);
  j.Value("PenizeStart", l.PenizeStart);
  j.BeginArray("SaditZeleninu");
  for (bool b : l.SaditZeleninu) j.Value("", b);
  j.EndArray();
  j.Text("Text", Cp1250ToUtf8(l.Text)).Value("Kulna", l.Kulna).EndObject();
}

template <class T>
void Layer(TJsonWriter& j, const char* key, const T (&layer)[FieldColumns][FieldRows]) {
  j.BeginArray(key);
  for (const auto& column : layer) {
    j.BeginArray();
    for (const T& v : column) {
      if constexpr (std::is_same_v<T, bool>)
        j.Value("", v);
      else
        j.Value("", unsigned(v));
    }
    j.EndArray();
  }
  j.EndArray();
}

void Plots(TJsonWriter& j, const TGame& g) {
  j.BeginArray("Field");
  for (const auto& column : g.Field) {
    j.BeginArray();
    for (const TPlot& p : column) {
      j.BeginObject().Value("Planted", p.Planted).Value("Owned", p.Owned);
      j.Value("WaterTick", int(p.WaterTick)).Value("GrowthTick", p.GrowthTick);
      j.Value("AnimFrame", int(p.AnimFrame)).Value("Crop", unsigned(p.Crop));
      j.Value("Stage", unsigned(p.Stage)).Value("Water", p.Water).Value("Alive", p.Alive);
      j.Value("Growing", p.Growing).Value("Fertility", p.Fertility).EndObject();
    }
    j.EndArray();
  }
  j.EndArray();
}

// What each slot holds: the size of its surface and a checksum of its pixels (FNV-1a), so that
// two dumps show whether the same pictures are loaded. An empty slot has size 0.
void Surfaces(TJsonWriter& j) {
  j.BeginObject("Surfaces");
  for (const TBitmapSlot& slot : BitmapSlots()) {
    const TSurface* s = *slot.Slot;
    uint64_t hash = 0xcbf29ce484222325u;
    const size_t pixels = s ? size_t(s->Width()) * s->Height() : 0;
    for (size_t i = 0; i < pixels; ++i) hash = (hash ^ s->Pixels()[i]) * 0x100000001b3u;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    j.BeginLineObject(slot.Name).Value("Width", s ? s->Width() : 0);
    j.Value("Height", s ? s->Height() : 0).Text("Pixels", hex).EndObject();
  }
  j.EndObject();
}

void Clip(TJsonWriter& j, const char* key, const TSoundClip& c) {
  j.BeginObject(key).Value("IsSample", c.IsSample).Value("Channel", c.Channel);
  j.Value("Volume", c.Volume).Value("Loop", c.Loop).Text("File", c.File).EndObject();
}

}  // namespace

void RecordAudio(std::function<uint64_t()> framesPresented) {
  recordingFrames = std::move(framesPresented);
  TSoundClip::Observer = RecordClip;
}

std::string StateDumpJson(uint64_t framesPresented, const std::vector<std::string>& messages) {
  TJsonWriter j;
  j.BeginObject();
  j.Value("Frames", framesPresented);
  j.Value("Running", Running).Value("QuitRequested", QuitRequested);
  j.Value("DisplayReady", DisplayReady).Value("IntroPending", IntroPending);
  j.Value("FrameShown", FrameShown).Value("IntroNoSkip", IntroNoSkip);
  j.Value("WindowCloseRequested", WindowCloseRequested);
  j.Value("MouseX", MouseX).Value("MouseY", MouseY);
  j.Text("Language", SpokenLanguage());

  const TGame& g = Game;
  j.Value("InGame", g.InGame).Value("OptionsOpen", g.OptionsOpen);
  j.Value("LoadScreenOpen", g.LoadScreenOpen).Value("SaveScreenOpen", g.SaveScreenOpen);
  j.Value("LevelIntroOpen", g.LevelIntroOpen).Value("PickNewOrder", g.PickNewOrder);
  j.Value("LevelStatsOpen", g.LevelStatsOpen);
  j.Value("LastResult", g.LastResult);
  Layer(j, "Pipe", g.Pipe);
  Layer(j, "SprinklerOn", g.SprinklerOn);
  Layer(j, "SprinklerFrame", g.SprinklerFrame);
  Layer(j, "SprinklerCycles", g.SprinklerCycles);
  Layer(j, "SprinklerTick", g.SprinklerTick);
  Clip(j, "ClickSound", g.ClickSound);
  Clip(j, "Click2Sound", g.Click2Sound);
  Clip(j, "WaterSound", g.WaterSound);
  Clip(j, "BuySound", g.BuySound);
  j.Value("CurrentSong", g.CurrentSong).Text("SongFile", g.SongFile);
  j.Value("MusicFailedRegime", g.MusicFailedRegime).Value("MusicRegime", g.MusicRegime);
  j.Value("MusicArchiveFailed", g.MusicArchiveFailed);
  j.BeginArray("UnplayableSongs");
  for (int32_t song : g.UnplayableSongs) j.Value("", song);
  j.EndArray();
  j.Value("LevelLoaded", g.LevelLoaded);
  j.BeginArray("SaveSlots");
  for (const TSaveSlotInfo& s : g.SaveSlots) {
    j.BeginObject();
    Date(j, "Date", s.Date);
    j.Value("Money", s.Money).Value("Level", s.Level).EndObject();
  }
  j.EndArray();
  j.Value("SaveFailed", g.SaveFailed);
  Plots(j, g);
  j.Value("HoverX", g.HoverX).Value("HoverY", g.HoverY).Value("SelectedCrop", g.SelectedCrop);
  j.Value("CloudScroll", g.CloudScroll).Value("CloudTail", g.CloudTail);
  j.Value("CloudEntry", g.CloudEntry).Value("CloudTick", g.CloudTick);
  j.Value("CloudRow", g.CloudRow).Value("ReturnToGame", g.ReturnToGame);
  j.Value("EffectsVolume", unsigned(g.EffectsVolume));
  j.Value("EffectsGrabVolume", unsigned(g.EffectsGrabVolume));
  j.Value("EffectsGrabX", unsigned(g.EffectsGrabX));
  j.Value("MusicVolume", unsigned(g.MusicVolume));
  j.Value("MusicGrabVolume", unsigned(g.MusicGrabVolume));
  j.Value("MusicGrabX", unsigned(g.MusicGrabX));
  j.Value("HoverSoundArmed", g.HoverSoundArmed);
  j.Value("HoveredButton", unsigned(g.HoveredButton));
  j.Value("MenuHoverPrev", unsigned(g.MenuHoverPrev)).Value("MenuHover", unsigned(g.MenuHover));
  j.Value("MenuHoverX", unsigned(g.MenuHoverX)).Value("MenuHoverY", unsigned(g.MenuHoverY));
  j.Value("OrderActive", g.OrderActive);
  Date(j, "Date", g.Date);
  Date(j, "OrderDeadline", g.OrderDeadline);
  Order(j, "CurrentOrder", g.CurrentOrder);
  Order(j, "OfferedOrder", OfferedOrder);
  j.BeginArray("ShedStock");
  for (int32_t n : g.ShedStock) j.Value("", n);
  j.EndArray();
  j.Value("OrdersDone", g.OrdersDone).Value("Money", g.Money).Value("WellBuilt", g.WellBuilt);
  Level(j, g.Levl);
  j.Value("LevelNumber", g.LevelNumber).Value("OrderIndex", g.OrderIndex);
  j.Value("OrderOfferTimer", uint64_t(g.OrderOfferTimer));
  Clip(j, "Music", g.Music);
  j.Value("StatsBannerShown", g.StatsBannerShown);
  j.Value("ProgressPanelOpen", g.ProgressPanelOpen).Value("PlotMenuOpen", g.PlotMenuOpen);
  j.Value("OrdersPanelOpen", g.OrdersPanelOpen);
  j.Value("OrderFulfilled", g.OrderFulfilled).Value("OrderFailed", g.OrderFailed);
  j.Value("ToolPlant", g.ToolPlant).Value("ToolHarvest", g.ToolHarvest);
  j.Value("ToolBuy", g.ToolBuy).Value("ToolPipe", g.ToolPipe);
  j.Value("ToolWater", g.ToolWater).Value("ToolFertilise", g.ToolFertilise);
  j.Value("PlotInfoOpen", g.PlotInfoOpen);
  Surfaces(j);

  j.BeginArray("AudioLog");
  for (const TAudioEvent& e : AudioLog()) {
    j.BeginLineObject().Value("Frame", e.Frame).Text("Clip", e.Clip);
    j.Text("Operation", e.Operation).Text("File", e.File).EndObject();
  }
  j.EndArray();
  j.BeginArray("Messages");
  for (const std::string& m : messages) j.Text("", m);
  j.EndArray();
  j.EndObject();
  return j.Result();
}
