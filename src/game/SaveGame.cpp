// Saved games: the members of the running level written member by member at fixed offsets of a
// 14196-byte little-endian file, and read back into a copy that replaces the running game only
// when the whole file is there and every value in it is one the game can reach.
#include "game/SaveGame.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <memory>
#include <type_traits>
#include <utility>

#include "base/Files.h"
#include "base/IniFile.h"
#include "game/DataFiles.h"
#include "game/Game.h"
#include "game/Rules.h"
#include "gfx/SpriteRects.h"

namespace {

// The bits of a value as another type of the same size (std::bit_cast, which the C++ library of
// the browser build lacks).
template <class To, class From>
To BitCopy(const From& from) {
  static_assert(sizeof(To) == sizeof(From));
  To to;
  std::memcpy(&to, &from, sizeof to);
  return to;
}

// Block 1 holds the run from OrderActive to OrderOfferTimer, block 2 the two spare fields and
// the five per-plot layers, block 3 the plot records.
constexpr size_t kBlock2 = 152;
constexpr size_t kLayerBytes = FieldColumns * FieldRows;
constexpr size_t kPipeAt = 156;
constexpr size_t kSprinklerOnAt = kPipeAt + kLayerBytes;
constexpr size_t kSprinklerFrameAt = kSprinklerOnAt + kLayerBytes;
constexpr size_t kSprinklerCyclesAt = kSprinklerFrameAt + kLayerBytes;
constexpr size_t kSprinklerTickAt = kSprinklerCyclesAt + kLayerBytes;
constexpr size_t kBlock3 = kSprinklerTickAt + kLayerBytes;
constexpr size_t kPlotBytes = 40;
static_assert(kBlock3 == 1716);
static_assert(kBlock3 + kLayerBytes * kPlotBytes == SavedGameBytes);

// The ranges the garden keeps its values in.
constexpr uint8_t kSprinklerCycles = 5;
constexpr int32_t kOrderNumbers = 4;

// A value is stored with the width of its member's own type; naming the width at every call
// makes a member whose type drifts from the file's layout fail to compile.
template <class Want, class Member>
constexpr void RequireType() {
  static_assert(std::is_same_v<std::remove_const_t<Member>, Want>,
                "the member's type differs from its width in the saved-game file");
}

// Puts members into a zero-filled file image: padding and the two text slots stay zero.
class TWriter {
 public:
  std::string Bytes = std::string(SavedGameBytes, '\0');

  template <class M>
  void Bool(size_t at, M& v) {
    RequireType<bool, M>();
    Put<uint8_t>(at, v);
  }
  template <class M>
  void U8(size_t at, M& v) {
    RequireType<uint8_t, M>();
    Put<uint8_t>(at, v);
  }
  template <class M>
  void U16(size_t at, M& v) {
    RequireType<uint16_t, M>();
    Put<uint16_t>(at, v);
  }
  template <class M>
  void I16(size_t at, M& v) {
    RequireType<int16_t, M>();
    Put<uint16_t>(at, static_cast<uint16_t>(v));
  }
  template <class M>
  void I32(size_t at, M& v) {
    RequireType<int32_t, M>();
    Put<uint32_t>(at, static_cast<uint32_t>(v));
  }
  template <class M>
  void U32(size_t at, M& v) {
    RequireType<uint32_t, M>();
    Put<uint32_t>(at, v);
  }
  template <class M>
  void F64(size_t at, M& v) {
    RequireType<double, M>();
    Put<uint64_t>(at, BitCopy<uint64_t>(v));
  }

 private:
  template <class Unsigned>
  void Put(size_t at, Unsigned v) {
    for (size_t i = 0; i < sizeof(Unsigned); ++i) {
      Bytes[at + i] = static_cast<char>(static_cast<uint8_t>(v >> (8 * i)));
    }
  }
};

// Takes members out of a whole file image. A flag byte other than 0 and 1 marks the file bad.
class TReader {
 public:
  explicit TReader(const std::string& bytes) : bytes_(bytes) {}
  bool Ok = true;

  template <class M>
  void Bool(size_t at, M& v) {
    RequireType<bool, M>();
    const uint8_t b = Get<uint8_t>(at);
    Ok = Ok && b <= 1;
    v = b == 1;
  }
  template <class M>
  void U8(size_t at, M& v) {
    RequireType<uint8_t, M>();
    v = Get<uint8_t>(at);
  }
  template <class M>
  void U16(size_t at, M& v) {
    RequireType<uint16_t, M>();
    v = Get<uint16_t>(at);
  }
  template <class M>
  void I16(size_t at, M& v) {
    RequireType<int16_t, M>();
    v = static_cast<int16_t>(Get<uint16_t>(at));
  }
  template <class M>
  void I32(size_t at, M& v) {
    RequireType<int32_t, M>();
    v = static_cast<int32_t>(Get<uint32_t>(at));
  }
  template <class M>
  void U32(size_t at, M& v) {
    RequireType<uint32_t, M>();
    v = Get<uint32_t>(at);
  }
  template <class M>
  void F64(size_t at, M& v) {
    RequireType<double, M>();
    v = BitCopy<double>(Get<uint64_t>(at));
  }

 private:
  template <class Unsigned>
  Unsigned Get(size_t at) const {
    Unsigned v = 0;
    for (size_t i = 0; i < sizeof(Unsigned); ++i) {
      const Unsigned byte = static_cast<uint8_t>(bytes_[at + i]);
      v = static_cast<Unsigned>(v | static_cast<Unsigned>(byte << (8 * i)));
    }
    return v;
  }
  const std::string& bytes_;
};

// What a saved game holds, with the names of the members of TGame it comes from and goes to.
struct TSavedGame {
  bool OrderActive = false;
  TGameDate Date;
  TGameDate OrderDeadline;
  TOrder CurrentOrder;
  int32_t ShedStock[4] = {};
  int32_t OrdersDone = 0;
  int32_t Money = 0;
  bool WellBuilt = false;
  TLevel Levl;
  int32_t LevelNumber = 0;
  int32_t OrderIndex = 0;
  uint32_t OrderOfferTimer = 0;

  uint8_t PipeSpareByte = 0;
  uint16_t PipeSpareWord = 0;
  bool Pipe[FieldColumns][FieldRows] = {};
  bool SprinklerOn[FieldColumns][FieldRows] = {};
  uint8_t SprinklerFrame[FieldColumns][FieldRows] = {};
  uint8_t SprinklerCycles[FieldColumns][FieldRows] = {};
  uint8_t SprinklerTick[FieldColumns][FieldRows] = {};

  TPlot Field[FieldColumns][FieldRows];
};

template <class Codec, class Date>
void TransferDate(Codec& c, size_t at, Date& d) {
  c.U16(at, d.Day);
  c.U16(at + 2, d.Month);
  c.I32(at + 4, d.Year);
  c.I32(at + 8, d.Tick);
}

// The file's layout, one member at a time, for writing (Codec TWriter, State const TGame) and
// for reading (TReader, TSavedGame).
template <class Codec, class State>
void TransferBlock1(Codec& c, State& s) {
  c.Bool(0, s.OrderActive);
  TransferDate(c, 4, s.Date);
  TransferDate(c, 16, s.OrderDeadline);
  c.I32(28, s.CurrentOrder.Cena);
  c.I32(32, s.CurrentOrder.Nezplneni);
  for (size_t i = 0; i < 4; ++i) c.U32(36 + 4 * i, s.CurrentOrder.Zelenina[i]);
  c.U16(52, s.CurrentOrder.Mesice);
  // 56: the slot of the order's text, which the file does not carry.
  for (size_t i = 0; i < 4; ++i) c.I32(60 + 4 * i, s.ShedStock[i]);
  c.I32(76, s.OrdersDone);
  c.I32(80, s.Money);
  c.Bool(84, s.WellBuilt);
  c.U32(92, s.Levl.ObjednavkySplnene);
  for (size_t i = 0; i < 4; ++i) c.U32(96 + 4 * i, s.Levl.Zelenina[i]);
  c.I32(112, s.Levl.Penize);
  c.Bool(116, s.Levl.StavetStudnu);
  c.I32(120, s.Levl.PenizeStart);
  for (size_t i = 0; i < 4; ++i) c.Bool(124 + i, s.Levl.SaditZeleninu[i]);
  // 128: four reserved bytes; 132: the slot of the level's text, not carried either.
  c.I32(136, s.Levl.Kulna);
  c.I32(140, s.LevelNumber);
  c.I32(144, s.OrderIndex);
  c.U32(148, s.OrderOfferTimer);
}

template <class Codec, class State>
void TransferBlock2(Codec& c, State& s) {
  c.U8(kBlock2, s.PipeSpareByte);
  c.U16(kBlock2 + 2, s.PipeSpareWord);
  for (int col = 0; col < FieldColumns; ++col) {
    for (int row = 0; row < FieldRows; ++row) {
      const size_t plot = static_cast<size_t>(col * FieldRows + row);
      c.Bool(kPipeAt + plot, s.Pipe[col][row]);
      c.Bool(kSprinklerOnAt + plot, s.SprinklerOn[col][row]);
      c.U8(kSprinklerFrameAt + plot, s.SprinklerFrame[col][row]);
      c.U8(kSprinklerCyclesAt + plot, s.SprinklerCycles[col][row]);
      c.U8(kSprinklerTickAt + plot, s.SprinklerTick[col][row]);
    }
  }
}

template <class Codec, class Plot>
void TransferPlot(Codec& c, size_t at, Plot& p) {
  c.Bool(at, p.Planted);
  c.Bool(at + 1, p.Owned);
  c.I16(at + 2, p.WaterTick);
  c.I32(at + 4, p.GrowthTick);
  c.I16(at + 8, p.AnimFrame);
  c.U16(at + 10, p.Crop);
  c.U16(at + 12, p.Stage);
  c.F64(at + 16, p.Water);
  c.Bool(at + 24, p.Alive);
  c.Bool(at + 25, p.Growing);
  c.F64(at + 32, p.Fertility);
}

template <class Codec, class State>
void TransferAll(Codec& c, State& s) {
  TransferBlock1(c, s);
  TransferBlock2(c, s);
  for (int col = 0; col < FieldColumns; ++col) {
    for (int row = 0; row < FieldRows; ++row) {
      const size_t plot = static_cast<size_t>(col * FieldRows + row);
      TransferPlot(c, kBlock3 + plot * kPlotBytes, s.Field[col][row]);
    }
  }
}

// --- What a loaded game must satisfy ---

// The calendar only ever shows real days.
bool IsCalendarDate(const TGameDate& d) {
  return d.Month >= 1 && d.Month <= 12 && d.Day >= 1 && d.Day <= MonthLength(d.Month) &&
         d.Year >= 1 && d.Tick >= 0 && d.Tick < FramesPerDay;
}

// A deadline keeps the day number of the day its order was accepted, so it may name a day that
// its month lacks (31.2); before the first order it is 0.0.0. Its tick means nothing.
bool IsDeadline(const TGameDate& d) {
  if (d.Day == 0 && d.Month == 0 && d.Year == 0) return true;
  return d.Month >= 1 && d.Month <= 12 && d.Day >= 1 && d.Day <= 31 && d.Year >= 1;
}

bool InFullRange(double v) { return v >= 0.0 && v <= rules::Full; }  // false for NaN too

// A plot's crop picks its row of the vegetable table and its sprite cell: stage and frame must
// lie within that crop's sheet, and the counters within the periods they run through.
bool IsValidPlot(const TPlot& p) {
  if (p.Crop >= std::size(Crops)) return false;
  const TCrop& crop = Crops[p.Crop];
  return p.Stage <= crop.WitheredRipeStage && p.AnimFrame >= 0 && p.AnimFrame < crop.Frames &&
         p.WaterTick >= 0 && p.WaterTick <= rules::FramesPerWaterLoss && p.GrowthTick >= 0 &&
         p.GrowthTick <= crop.TicksPerStage && InFullRange(p.Water) && InFullRange(p.Fertility);
}

bool AreValidLayers(const TSavedGame& s) {
  for (int col = 0; col < FieldColumns; ++col) {
    for (int row = 0; row < FieldRows; ++row) {
      if (s.SprinklerFrame[col][row] >= sprites::water::SprinklerFrames ||
          s.SprinklerCycles[col][row] > kSprinklerCycles ||
          s.SprinklerTick[col][row] >= sprites::water::SprinklerFrames ||
          !IsValidPlot(s.Field[col][row])) {
        return false;
      }
    }
  }
  return true;
}

bool IsValid(const TSavedGame& s) {
  for (int32_t stock : s.ShedStock) {
    if (stock < 0) return false;
  }
  // Play never makes money negative (ChangeMoney refuses it, fines stop at 0).
  return IsCalendarDate(s.Date) && IsDeadline(s.OrderDeadline) && s.OrdersDone >= 0 &&
         s.Money >= 0 && s.Levl.Kulna >= 0 && s.Levl.Kulna < sprites::sheds::Rows &&
         s.LevelNumber >= 1 && s.OrderIndex >= 0 && s.OrderIndex < kOrderNumbers &&
         AreValidLayers(s);
}

// The file's bytes, when it holds exactly one saved game.
bool ReadSavedGameFile(const std::string& path, std::string& bytes) {
  return ReadFileWhole(ReadPath(path), bytes, SavedGameBytes) == TReadResult::Read &&
         bytes.size() == SavedGameBytes;
}

// What the bytes hold, when they are one whole saved game with valid values throughout.
std::unique_ptr<TSavedGame> ReadSavedGame(const std::string& bytes) {
  if (bytes.size() != SavedGameBytes) return nullptr;
  auto saved = std::make_unique<TSavedGame>();
  TReader reader(bytes);
  TransferAll(reader, *saved);
  if (!reader.Ok || !IsValid(*saved)) return nullptr;
  return saved;
}

// The texts of the order and the level are not in the file: both come back empty (the running
// order's text is read from the order file whenever it is shown, the briefing from the level
// file).
void Apply(const TSavedGame& s, TGame& g) {
  g.OrderActive = s.OrderActive;
  // The outcome of the order of the game left behind does not belong to the loaded one.
  g.OrderFulfilled = g.OrderFailed = false;
  g.Date = s.Date;
  g.OrderDeadline = s.OrderDeadline;
  g.CurrentOrder = s.CurrentOrder;
  std::copy(std::begin(s.ShedStock), std::end(s.ShedStock), g.ShedStock);
  g.OrdersDone = s.OrdersDone;
  g.Money = s.Money;
  g.WellBuilt = s.WellBuilt;
  g.Levl = s.Levl;
  g.LevelNumber = s.LevelNumber;
  g.OrderIndex = s.OrderIndex;
  g.OrderOfferTimer = s.OrderOfferTimer;
  // No order and a spent offer timer: the game was saved with an offer on screen (the timer
  // stops at 0 and is re-armed only when the offer is declined or an order ends). The panel's
  // state is not in the file, so the offer is shown again, the same order as before; left
  // closed, no offer would ever come again.
  if (!g.OrderActive && g.OrderOfferTimer == 0) {
    g.OrdersPanelOpen = true;
    g.PickNewOrder = false;
  }
  g.PipeSpareByte = s.PipeSpareByte;
  g.PipeSpareWord = s.PipeSpareWord;
  for (int col = 0; col < FieldColumns; ++col) {
    for (int row = 0; row < FieldRows; ++row) {
      g.Pipe[col][row] = s.Pipe[col][row];
      g.SprinklerOn[col][row] = s.SprinklerOn[col][row];
      g.SprinklerFrame[col][row] = s.SprinklerFrame[col][row];
      g.SprinklerCycles[col][row] = s.SprinklerCycles[col][row];
      g.SprinklerTick[col][row] = s.SprinklerTick[col][row];
      g.Field[col][row] = s.Field[col][row];
    }
  }
}

}  // namespace

std::string SavedGameImage(const TGame& game) {
  TWriter writer;
  TransferAll(writer, game);
  // An order whose outcome waits for its OK is settled already (paid or fined, the shed emptied,
  // the offer timer re-armed): saved as running, it would be settled a second time after a load.
  const bool running = game.OrderActive && !game.OrderFulfilled && !game.OrderFailed;
  writer.Bool(0, running);
  return std::move(writer.Bytes);
}

bool CheckSavedGame(const std::string& bytes, TSaveSlotInfo& summary) {
  std::unique_ptr<TSavedGame> saved = ReadSavedGame(bytes);
  if (!saved) return false;
  summary.Level = saved->LevelNumber;
  summary.Date = saved->Date;
  summary.Money = saved->Money;
  return true;
}

namespace {
std::string SlotSection(int slot) { return "Save" + std::to_string(slot); }
}  // namespace

void ReadSlotSummary(const TIniFile& settings, int slot, TSaveSlotInfo& summary) {
  const std::string section = SlotSection(slot);
  summary.Level = settings.ReadInteger(section, "CisloLevelu", 1);
  summary.Date.Day = static_cast<uint16_t>(settings.ReadInteger(section, "Den", 1));
  summary.Date.Month = static_cast<uint16_t>(settings.ReadInteger(section, "Mesic", 1));
  summary.Date.Year = settings.ReadInteger(section, "Rok", 2002);
  summary.Money = settings.ReadInteger(section, "Penize", 0);
}

namespace {
// A summary's keys in the settings file, in the order they are written.
struct TSummaryValue {
  const char* Key;
  int32_t Value;
};
std::array<TSummaryValue, 5> SummaryValues(const TSaveSlotInfo& summary) {
  return {{{"CisloLevelu", summary.Level},
           {"Den", summary.Date.Day},
           {"Mesic", summary.Date.Month},
           {"Rok", summary.Date.Year},
           {"Penize", summary.Money}}};
}
}  // namespace

bool WriteSlotSummary(TIniFile& settings, int slot, const TSaveSlotInfo& summary) {
  const std::string section = SlotSection(slot);
  for (const TSummaryValue& v : SummaryValues(summary)) {
    if (!settings.WriteInteger(section, v.Key, v.Value)) return false;
  }
  return true;
}

std::string SlotSummaryText(int slot, const TSaveSlotInfo& summary) {
  std::string text = "[" + SlotSection(slot) + "]\r\n";
  for (const TSummaryValue& v : SummaryValues(summary)) {
    text += std::string(v.Key) + "=" + std::to_string(v.Value) + "\r\n";
  }
  return text;
}

TSlotPut PutIntoSlot(TIniFile& settings, int slot, const std::string& bytes,
                     const TSaveSlotInfo& summary) {
  const std::string file = WritePath(data_files::SaveSlot(slot));
  std::string oldBytes;
  const TReadResult oldFile = ReadFileWhole(file, oldBytes);
  if (oldFile == TReadResult::Unreadable) return TSlotPut::Kept;  // it could not be put back
  TSaveSlotInfo oldSummary;
  ReadSlotSummary(settings, slot, oldSummary);
  if (!WriteFileWhole(file, bytes)) return TSlotPut::Kept;
  if (WriteSlotSummary(settings, slot, summary)) return TSlotPut::Put;
  // A summary written part way is put back too.
  const bool fileBack =
      oldFile == TReadResult::Read ? WriteFileWhole(file, oldBytes) : RemoveFile(file);
  TSaveSlotInfo listed;
  ReadSlotSummary(settings, slot, listed);
  const bool summaryBack = SlotSummaryText(slot, listed) == SlotSummaryText(slot, oldSummary) ||
                           WriteSlotSummary(settings, slot, oldSummary);
  return fileBack && summaryBack ? TSlotPut::Kept : TSlotPut::MayHoldNew;
}

bool TGame::SaveGameFile(const std::string& path) const {
  return WriteFileWhole(WritePath(path), SavedGameImage(*this));
}

// A missing, short, oversized or damaged file changes nothing: the game is replaced only by a
// saved game that was read whole and found valid throughout.
bool TGame::LoadGameFile(const std::string& path) {
  std::string bytes;
  if (!ReadSavedGameFile(path, bytes)) return false;
  std::unique_ptr<TSavedGame> saved = ReadSavedGame(bytes);
  if (!saved) return false;
  Apply(*saved, *this);
  return true;
}
