#include "XmWriter.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace sounds {
namespace {

constexpr int kTicksPerRow = 6;
constexpr int kToneRate = 32000;  // sample rate of the tonal instruments' samples
constexpr int kKeyOff = 97;
constexpr int kEchoPart = kPartCount;  // the melody's echo gets channels of its own
// The output level of the module player (SDL_mixer's ModPlug at full volume) relative to the
// estimate below, as measured on these modules (it agreed within 0.5 dB between two songs).
constexpr double kPlayerGain = 0.225;

struct TCell {
  int Note = 0;  // 1..96, kKeyOff, or 0 for none
  int Instrument = 0;
  int Volume = -1;  // 0..64, or -1 for none
  int Effect = -1;
  int Parameter = 0;
  bool Empty() const { return Note == 0 && Instrument == 0 && Volume < 0 && Effect < 0; }
  bool operator==(const TCell&) const = default;
};

struct TSampleData {
  std::vector<int16_t> Data;
  int LoopStart = 0, LoopLength = 0;
  int RelativeNote = 0, Finetune = 0;
  std::vector<double> Energy;  // running sum of squares, for the loudness estimate

  void SumEnergy() {
    Energy.assign(Data.size() + 1, 0.0);
    for (size_t i = 0; i < Data.size(); ++i)
      Energy[i + 1] = Energy[i] + (Data[i] / 32767.0) * (Data[i] / 32767.0);
  }
  // The sum of squares of the first `frames` frames played, going round the loop if any.
  double EnergyOf(size_t frames) const {
    if (frames <= Data.size() || LoopLength <= 0) return Energy[std::min(frames, Data.size())];
    size_t loopStart = static_cast<size_t>(LoopStart), loop = static_cast<size_t>(LoopLength);
    double perLoop = Energy[loopStart + loop] - Energy[loopStart];
    size_t past = frames - loopStart;
    return Energy[loopStart] + (past / loop) * perLoop +
           (Energy[loopStart + past % loop] - Energy[loopStart]);
  }
};

struct TInstrumentData {
  std::string Name;
  std::vector<TSampleData> Samples;
  uint8_t KeyMap[96] = {};
  bool Envelope = true;
  int ReleaseTicks = 8;
  int Rate = kToneRate;
  bool Vibrato = false;
};

class TBytes {
 public:
  void U8(int v) { Bytes.push_back(static_cast<uint8_t>(v)); }
  void U16(int v) {
    U8(v & 0xFF);
    U8((v >> 8) & 0xFF);
  }
  void U32(uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void Text(const std::string& text, size_t size) {
    for (size_t i = 0; i < size; ++i) U8(i < text.size() ? text[i] : 0);
  }
  void Zeros(size_t n) { Bytes.insert(Bytes.end(), n, 0); }
  size_t Size() const { return Bytes.size(); }
  std::vector<uint8_t> Bytes;
};

// Relative note and finetune that make a sample whose fundamental is at (fractional) MIDI pitch
// `pitch`, recorded at `rate`, sound at its true pitch: module note N plays MIDI pitch N + 11.
void Tune(TSampleData& sample, double pitch, int rate) {
  double transpose = 12.0 * std::log2(rate / 8363.0) - pitch + 60.0;
  sample.RelativeNote = static_cast<int>(std::lround(transpose));
  sample.Finetune = std::clamp(
      static_cast<int>(std::lround((transpose - sample.RelativeNote) * 128.0)), -128, 127);
}

std::vector<int16_t> ToPcm(const std::vector<float>& samples, double scale) {
  std::vector<int16_t> pcm(samples.size());
  for (size_t i = 0; i < samples.size(); ++i)
    pcm[i] = static_cast<int16_t>(std::lround(std::clamp(samples[i] * scale, -1.0, 1.0) * 32767));
  return pcm;
}

double Peak(const std::vector<float>& samples) {
  double peak = 0;
  for (float s : samples) peak = std::max(peak, static_cast<double>(std::fabs(s)));
  return peak;
}

class TXmBuilder {
 public:
  TXmBuilder(const TScore& score, const TOrchestra& orchestra, const TXmOptions& options)
      : Score(score), Orchestra(orchestra), Options(options) {}

  std::vector<uint8_t> Build() {
    Bpm = XmBeatsPerMinute(Score);
    CollectNotes();
    MakeInstruments();
    LayOutChannels();
    return Serialise();
  }

 private:
  double RowSeconds() const { return Score.StepSeconds(); }
  double TickSeconds() const { return RowSeconds() / kTicksPerRow; }

  void CollectNotes() {
    for (const TNote& note : Score.Notes)
      if (Orchestra.Parts[note.Part].Used) Notes.push_back(note);
    if (Options.EchoSteps > 0 && Orchestra.Parts[kMelody].Used) {
      for (const TNote& note : Score.Notes) {
        if (note.Part != kMelody) continue;
        TNote echo = note;
        echo.Part = kEchoPart;
        echo.Start += Options.EchoSteps;
        echo.Velocity *= 0.32f;
        Notes.push_back(echo);
      }
    }
    int lastStep = Score.TotalSteps();
    for (const TNote& note : Notes) lastStep = std::max(lastStep, note.Start + note.Length);
    Rows = lastStep + static_cast<int>(std::ceil(Options.TailSeconds / RowSeconds()));
  }

  const TVoice& VoiceOf(int part) const {
    return Orchestra.Parts[part == kEchoPart ? kMelody : part];
  }

  // One instrument per part: a sample for each octave the part plays in, tuned to the middle
  // of that octave, so no note is shifted more than half an octave from its recording.
  void MakeInstruments() {
    for (int part = 0; part <= kEchoPart; ++part) InstrumentOfPart[part] = 0;
    for (int part = 0; part < kPartCount; ++part) {
      if (!Orchestra.Parts[part].Used) continue;
      int low = 200, high = -1;
      for (const TNote& note : Notes) {
        if (note.Part != part && !(part == kMelody && note.Part == kEchoPart)) continue;
        int pitch = note.Pitch + Orchestra.Parts[part].Transpose;
        low = std::min(low, pitch);
        high = std::max(high, pitch);
      }
      if (high < 0) continue;
      Instruments.push_back(MakeInstrument(Orchestra.Parts[part].Instrument, low, high, part));
      InstrumentOfPart[part] = static_cast<int>(Instruments.size());
      if (part == kMelody) InstrumentOfPart[kEchoPart] = InstrumentOfPart[part];
    }
  }

  TInstrumentData MakeInstrument(TInstrument instrument, int low, int high, int part) {
    static const char* kNames[kPartCount] = {"melody", "counter", "strings", "pad",
                                             "bass",   "kick",    "shaker",  "wood"};
    TInstrumentData data;
    data.Name = kNames[part];
    data.Rate = IsPercussion(part) ? kSampleRate : kToneRate;
    const TVoice& voice = Orchestra.Parts[part];
    std::vector<std::vector<float>> sounds;
    std::vector<TSampleData> samples;
    if (IsPercussion(part)) {
      sounds.push_back(RenderNote(instrument, 261.63, 1.0, 0.1, 99, kSampleRate));
      TSampleData sample;
      Tune(sample, 60, kSampleRate);
      samples.push_back(sample);
      data.Envelope = false;
    } else {
      int firstOctave = low / 12, lastOctave = high / 12;
      for (int octave = firstOctave; octave <= lastOctave; ++octave) {
        double pitch = octave * 12 + 6;
        TSampleData sample;
        if (IsSustained(instrument)) {
          TLoopedTone tone = RenderLoopedTone(instrument, MidiToFrequency(pitch), kToneRate);
          sounds.push_back(tone.Samples);
          sample.LoopStart = tone.LoopStart;
          sample.LoopLength = tone.LoopLength;
          pitch = 69.0 + 12.0 * std::log2(tone.Frequency / 440.0);
        } else {
          sounds.push_back(
              RenderNote(instrument, MidiToFrequency(pitch), 0.75, 3.0, 40 + octave, kToneRate));
        }
        Tune(sample, pitch, kToneRate);
        samples.push_back(sample);
        for (int midi = octave * 12; midi < octave * 12 + 12; ++midi) {
          int note = midi - 11;
          if (note >= 1 && note <= 96)
            data.KeyMap[note - 1] = static_cast<uint8_t>(samples.size() - 1);
        }
      }
      // Notes outside the rendered octaves use the nearest sample.
      for (int note = 1; note <= 96; ++note) {
        int midi = note + 11;
        if (midi < firstOctave * 12) data.KeyMap[note - 1] = 0;
        if (midi >= (lastOctave + 1) * 12)
          data.KeyMap[note - 1] = static_cast<uint8_t>(samples.size() - 1);
      }
      double release = instrument == TInstrument::Pad    ? 0.7
                       : instrument == TInstrument::Harp ? 0.45
                       : IsSustained(instrument)         ? 0.14
                                                         : 0.2;
      data.ReleaseTicks = std::max(1, static_cast<int>(std::lround(release / TickSeconds())));
      data.Vibrato = IsSustained(instrument) && instrument != TInstrument::Pad;
    }
    // Samples are stored at full scale; the level of the part goes into the note volumes.
    double peak = 0;
    for (const auto& sound : sounds) peak = std::max(peak, Peak(sound));
    double scale = peak > 0 ? 0.95 / peak : 1.0;
    for (size_t i = 0; i < sounds.size(); ++i) {
      samples[i].Data = ToPcm(sounds[i], scale);
      samples[i].SumEnergy();
      data.Samples.push_back(samples[i]);
    }
    PartLevel[part] = voice.Gain * peak / 0.95;
    return data;
  }

  int VolumeOf(const TNote& note) const {
    int part = note.Part == kEchoPart ? kMelody : note.Part;
    double level = note.Velocity * PartLevel[part] * LevelScale;
    return std::clamp(static_cast<int>(std::lround(64.0 * level)), 1, 64);
  }

  int PanOf(int part) const {
    double pan = VoiceOf(part).Pan;
    if (part == kEchoPart) pan = -pan * 0.5 + (pan == 0 ? 0.35 : 0.0);
    return std::clamp(static_cast<int>(std::lround(128 + 110 * pan)), 0, 255);
  }

  // Gives every note a channel: each part has its own channels, as many as its overlapping
  // notes need (up to a limit; beyond it the note that would end first is cut).
  void LayOutChannels() {
    // One scale for all note volumes, so that the loudest note gets the full 64.
    double loudest = 0;
    for (const TNote& note : Notes) {
      int part = note.Part == kEchoPart ? kMelody : note.Part;
      loudest = std::max(loudest, note.Velocity * PartLevel[part]);
    }
    LevelScale = loudest > 0 ? 1.0 / loudest : 1.0;
    // Songs should sound equally loud: scale towards the level the MP3s are mastered to, as
    // far as the loudest note's full volume allows.
    double estimate = std::sqrt(EstimateMeanSquare()) * kPlayerGain;
    if (estimate > 0) LevelScale = std::min(LevelScale, Options.TargetRms / estimate);

    std::stable_sort(Notes.begin(), Notes.end(),
                     [](const TNote& a, const TNote& b) { return a.Start < b.Start; });
    static const int kLimits[kPartCount + 1] = {1, 1, 4, 3, 1, 1, 1, 1, 1};
    for (int part = 0; part <= kEchoPart; ++part) {
      std::vector<int> channels;  // columns of this part
      std::vector<int> busyUntil;
      std::vector<int> keyOffRow;  // the pending key-off of each channel, or -1
      for (const TNote& note : Notes) {
        if (note.Part != part) continue;
        int pick = -1;
        for (size_t c = 0; c < channels.size(); ++c)
          if (busyUntil[c] <= note.Start) {
            pick = static_cast<int>(c);
            break;
          }
        if (pick < 0 && static_cast<int>(channels.size()) < kLimits[part]) {
          channels.push_back(static_cast<int>(Columns.size()));
          busyUntil.push_back(0);
          keyOffRow.push_back(-1);
          Columns.emplace_back(Rows);
          pick = static_cast<int>(channels.size()) - 1;
        }
        if (pick < 0)
          pick = static_cast<int>(std::min_element(busyUntil.begin(), busyUntil.end()) -
                                  busyUntil.begin());
        int column = channels[pick];
        // A note that takes over a channel still sounding cancels that note's key-off.
        if (keyOffRow[pick] > note.Start && Columns[column][keyOffRow[pick]].Note == kKeyOff)
          Columns[column][keyOffRow[pick]] = TCell{};
        keyOffRow[pick] = -1;
        int xmNote = std::clamp(note.Pitch + VoiceOf(part).Transpose - 11, 1, 96);
        if (IsPercussion(part)) xmNote = 49;
        TCell& cell = Columns[column][note.Start];
        cell = TCell{xmNote, InstrumentOfPart[part], VolumeOf(note), 0x08, PanOf(part)};
        int end = note.Start + std::max(1, note.Length);
        busyUntil[pick] = end;
        if (!IsPercussion(part) && end < Rows && Columns[column][end].Note == 0) {
          Columns[column][end].Note = kKeyOff;  // a later note on this row replaces it
          keyOffRow[pick] = end;
        }
      }
    }
    if (Columns.size() % 2) Columns.emplace_back(Rows);
  }

  // The mean square of the module at note volumes of velocity times part level: each note's
  // sample energy over the time it sounds (to its key-off and release, or the sample's end),
  // the notes added as if independent. The module player's own gain is kPlayerGain.
  double EstimateMeanSquare() const {
    double energy = 0;
    for (const TNote& note : Notes) {
      int part = note.Part == kEchoPart ? kMelody : note.Part;
      if (InstrumentOfPart[part] == 0) continue;
      const TInstrumentData& instrument = Instruments[InstrumentOfPart[part] - 1];
      int xmNote =
          IsPercussion(part) ? 49 : std::clamp(note.Pitch + VoiceOf(part).Transpose - 11, 1, 96);
      const TSampleData& sample = instrument.Samples[instrument.KeyMap[xmNote - 1]];
      double seconds = note.Length * RowSeconds() +
                       (instrument.Envelope ? instrument.ReleaseTicks * TickSeconds() * 0.5 : 0);
      if (IsPercussion(part)) seconds = 1e9;
      double level = note.Velocity * PartLevel[part];
      energy += level * level * sample.EnergyOf(static_cast<size_t>(seconds * instrument.Rate)) /
                instrument.Rate;
    }
    return energy / (Rows * RowSeconds());
  }

  void WritePattern(TBytes& out, int firstRow, int rows) const {
    TBytes packed;
    for (int row = firstRow; row < firstRow + rows; ++row) {
      for (const auto& column : Columns) {
        const TCell& cell = column[row];
        if (cell.Empty()) {
          packed.U8(0x80);
          continue;
        }
        int flags = 0x80 | (cell.Note ? 1 : 0) | (cell.Instrument ? 2 : 0) |
                    (cell.Volume >= 0 ? 4 : 0) | (cell.Effect >= 0 ? 8 | 16 : 0);
        packed.U8(flags);
        if (cell.Note) packed.U8(cell.Note);
        if (cell.Instrument) packed.U8(cell.Instrument);
        if (cell.Volume >= 0) packed.U8(0x10 + cell.Volume);
        if (cell.Effect >= 0) {
          packed.U8(cell.Effect);
          packed.U8(cell.Parameter);
        }
      }
    }
    if (packed.Size() > 0xFFFF) throw std::runtime_error("pattern too large");
    out.U32(9);
    out.U8(0);
    out.U16(rows);
    out.U16(static_cast<int>(packed.Size()));
    out.Bytes.insert(out.Bytes.end(), packed.Bytes.begin(), packed.Bytes.end());
  }

  bool SamePattern(int rowsA, int firstA, int rowsB, int firstB) const {
    if (rowsA != rowsB) return false;
    for (const auto& column : Columns)
      for (int r = 0; r < rowsA; ++r)
        if (!(column[firstA + r] == column[firstB + r])) return false;
    return true;
  }

  void WriteInstrument(TBytes& out, const TInstrumentData& instrument) const {
    size_t start = out.Size();
    out.U32(263);
    out.Text(instrument.Name, 22);
    out.U8(0);
    out.U16(static_cast<int>(instrument.Samples.size()));
    out.U32(40);
    for (uint8_t key : instrument.KeyMap) out.U8(key);
    // Volume envelope: full level held at the sustain point, then the release after key-off.
    int points[3][2] = {{0, 64}, {1, 64}, {1 + instrument.ReleaseTicks, 0}};
    for (int p = 0; p < 12; ++p) {
      out.U16(p < 3 ? points[p][0] : 0);
      out.U16(p < 3 ? points[p][1] : 0);
    }
    out.Zeros(48);                        // panning envelope
    out.U8(instrument.Envelope ? 3 : 0);  // volume points
    out.U8(0);                            // panning points
    out.U8(1);                            // volume sustain point
    out.U8(0);
    out.U8(0);  // volume loop
    out.U8(0);
    out.U8(0);
    out.U8(0);                                // panning sustain and loop
    out.U8(instrument.Envelope ? 1 | 2 : 0);  // volume envelope on, with sustain
    out.U8(0);                                // panning envelope off
    // Winds get the player's automatic vibrato, as the synthesised ones have their own: a sine
    // of about 4.5 Hz and a few cents that sets in over the first ~40 ticks of a note.
    if (instrument.Vibrato) {
      out.U8(0);   // sine
      out.U8(40);  // sweep, in ticks
      out.U8(10);  // depth
      out.U8(std::clamp(static_cast<int>(std::lround(256 * 4.5 * TickSeconds())), 1, 63));
    } else {
      out.Zeros(4);
    }
    out.U16(instrument.Envelope ? 0x200 : 0);  // fade-out after key-off
    out.Zeros(263 - (out.Size() - start));
    for (const TSampleData& sample : instrument.Samples) {
      out.U32(static_cast<uint32_t>(sample.Data.size() * 2));
      out.U32(static_cast<uint32_t>(sample.LoopStart * 2));
      out.U32(static_cast<uint32_t>(sample.LoopLength * 2));
      out.U8(64);
      out.U8(sample.Finetune & 0xFF);
      out.U8(0x10 | (sample.LoopLength > 0 ? 1 : 0));  // 16-bit, forward loop
      out.U8(128);
      out.U8(sample.RelativeNote & 0xFF);
      out.U8(0);
      out.Text(instrument.Name, 22);
    }
    for (const TSampleData& sample : instrument.Samples) {
      int16_t previous = 0;  // sample data is stored as differences
      for (int16_t value : sample.Data) {
        out.U16(static_cast<uint16_t>(static_cast<int16_t>(value - previous)));
        previous = value;
      }
    }
  }

  std::vector<uint8_t> Serialise() const {
    // Four bars to a pattern; identical patterns are stored once.
    int patternRows = std::min(256, 4 * Score.StepsPerBar());
    std::vector<std::pair<int, int>> patterns;  // first row, rows
    std::vector<int> order;
    for (int first = 0; first < Rows; first += patternRows) {
      int rows = std::min(patternRows, Rows - first);
      int found = -1;
      for (size_t p = 0; p < patterns.size(); ++p)
        if (SamePattern(patterns[p].second, patterns[p].first, rows, first)) {
          found = static_cast<int>(p);
          break;
        }
      if (found < 0) {
        patterns.push_back({first, rows});
        found = static_cast<int>(patterns.size()) - 1;
      }
      order.push_back(found);
    }
    if (order.size() > 256) throw std::runtime_error("song too long for one order table");

    TBytes out;
    out.Text("Extended Module: ", 17);
    out.Text(Options.Title, 20);
    out.U8(0x1A);
    out.Text("Kelvora sounds", 20);
    out.U16(0x0104);
    out.U32(276);
    out.U16(static_cast<int>(order.size()));
    out.U16(0);  // restart position
    out.U16(static_cast<int>(Columns.size()));
    out.U16(static_cast<int>(patterns.size()));
    out.U16(static_cast<int>(Instruments.size()));
    out.U16(1);  // linear frequency table
    out.U16(kTicksPerRow);
    out.U16(Bpm);
    for (int i = 0; i < 256; ++i) out.U8(i < static_cast<int>(order.size()) ? order[i] : 0);
    for (const auto& [first, rows] : patterns) WritePattern(out, first, rows);
    for (const TInstrumentData& instrument : Instruments) WriteInstrument(out, instrument);
    return out.Bytes;
  }

  const TScore& Score;
  const TOrchestra& Orchestra;
  const TXmOptions& Options;
  int Bpm = 125;
  int Rows = 0;
  std::vector<TNote> Notes;
  std::vector<TInstrumentData> Instruments;
  int InstrumentOfPart[kPartCount + 1] = {};
  double PartLevel[kPartCount] = {};
  double LevelScale = 1.0;
  std::vector<std::vector<TCell>> Columns;
};

}  // namespace

int XmBeatsPerMinute(const TScore& score) {
  double bpm = 2.5 * kTicksPerRow / score.StepSeconds();
  int rounded = static_cast<int>(std::lround(bpm));
  if (std::fabs(bpm - rounded) > 1e-6 || rounded < 32 || rounded > 255)
    throw std::invalid_argument("the tempo gives no whole module tempo");
  return rounded;
}

std::vector<uint8_t> WriteXm(const TScore& score, const TOrchestra& orchestra,
                             const TXmOptions& options) {
  return TXmBuilder(score, orchestra, options).Build();
}

}  // namespace sounds
