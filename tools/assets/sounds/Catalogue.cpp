#include "Catalogue.h"

#include <cmath>

#include "Effects.h"
#include "Mp3Writer.h"
#include "XmWriter.h"

namespace sounds {
namespace {

constexpr int kMusicBitrate = 128;
constexpr int kEffectBitrate = 96;
constexpr double kMusicRms = 0.12;    // about -18 dB: room left for the peaks
constexpr double kModuleRms = 0.114;  // the MP3s come out at this after limiting
constexpr double kCeiling = 0.89;     // -1 dB, so that decoding never overshoots full scale
constexpr double kEndingSeconds = 3.0;
constexpr double kModuleTailSeconds = 2.0;

TVoice Voice(TInstrument instrument, float gain, float pan, float reverb, int transpose = 0) {
  TVoice voice;
  voice.Used = true;
  voice.Instrument = instrument;
  voice.Gain = gain;
  voice.Pan = pan;
  voice.Reverb = reverb;
  voice.Transpose = transpose;
  return voice;
}

// The band all pieces share, with the lead and accompaniment instruments of each piece.
TOrchestra Band(TInstrument lead, TInstrument counter, TInstrument strings, bool percussion) {
  TOrchestra band;
  band.Parts[kMelody] = Voice(lead, 1.0f, 0.0f, 0.3f);
  band.Parts[kCounter] = Voice(counter, 0.5f, 0.35f, 0.35f);
  band.Parts[kArp] = Voice(strings, 0.6f, -0.35f, 0.25f);
  band.Parts[kPad] = Voice(TInstrument::Pad, 0.32f, 0.25f, 0.4f);
  band.Parts[kBass] = Voice(TInstrument::Bass, 0.55f, 0.0f, 0.05f);
  if (percussion) {
    band.Parts[kKick] = Voice(TInstrument::Kick, 0.45f, 0.0f, 0.05f);
    band.Parts[kShaker] = Voice(TInstrument::Shaker, 0.3f, 0.4f, 0.15f);
    band.Parts[kWood] = Voice(TInstrument::Wood, 0.35f, -0.3f, 0.2f);
  }
  return band;
}

TStyle Style(uint64_t seed, int tonic, int beats, int stepsPerBeat, double tempo, const char* form,
             TAccompaniment accompaniment, int figure, bool loops) {
  TStyle style;
  style.Seed = seed;
  style.Tonic = tonic;
  style.BeatsPerBar = beats;
  style.StepsPerBeat = stepsPerBeat;
  style.Tempo = tempo;
  style.Form = form;
  style.Accompaniment = accompaniment;
  style.ArpPattern = figure;
  style.Loops = loops;
  return style;
}

std::vector<uint8_t> MakeMp3Music(const TPieceDefinition& piece) {
  TScore score = Compose(piece.Style);
  TStereo audio = RenderScore(score, piece.Orchestra, piece.Style.Seed, kEndingSeconds);
  Master(audio, kMusicRms, kCeiling);
  return EncodeMp3(audio, kMusicBitrate);
}

std::vector<uint8_t> MakeModule(const TPieceDefinition& piece) {
  TScore score = Compose(piece.Style);
  TXmOptions options;
  options.Title = piece.FileName.substr(0, piece.FileName.find('.'));
  options.EchoSteps = piece.EchoSteps;
  options.TailSeconds = kModuleTailSeconds;
  options.TargetRms = kModuleRms;
  return WriteXm(score, piece.Orchestra, options);
}

}  // namespace

std::vector<TPieceDefinition> MusicDefinitions() {
  using A = TAccompaniment;
  using I = TInstrument;
  std::vector<TPieceDefinition> pieces;
  // The intro: a glockenspiel over harp and strings, D major, 8 bars = 20 s, looping.
  TPieceDefinition intro{"uvod.mp3", TFileKind::Mp3Music,
                         Style(0x17770, 62, 4, 4, 96, "IH", A::Arpeggio, 0, true),
                         Band(I::Bell, I::Flute, I::Harp, false)};
  intro.Orchestra.Parts[kMelody].Transpose = 12;
  intro.Orchestra.Parts[kMelody].Gain = 0.8f;
  pieces.push_back(intro);
  // The menu: a waltz for flute and harp in G, 24 bars = 45 s, looping.
  pieces.push_back({"Menu.mp3", TFileKind::Mp3Music,
                    Style(0x3E7u, 67, 3, 4, 96, "AaB", A::Waltz, 0, true),
                    Band(I::Flute, I::Ocarina, I::Harp, true)});
  // The songs of the in-game playlist.
  pieces.push_back({"Jaro.xm", TFileKind::Module,
                    Style(0x1A60, 65, 4, 4, 104, "IAaBaCbAO", A::Arpeggio, 0, false),
                    Band(I::Flute, I::Ocarina, I::Harp, true), 3});
  pieces.push_back({"Louka.mp3", TFileKind::Mp3Music,
                    Style(0x10CA, 63, 2, 6, 60, "IAaBbCaO", A::Arpeggio, 1, false),
                    Band(I::Ocarina, I::Flute, I::Guitar, true)});
  pieces.push_back({"Potok.xm", TFileKind::Module,
                    Style(0x9070C, 69, 3, 4, 90, "IAaBbCaO", A::Arpeggio, 2, false),
                    Band(I::Ocarina, I::Marimba, I::Harp, true), 3});
  pieces.push_back({"Sad.xm", TFileKind::Module,
                    Style(0x5AD, 60, 4, 4, 116, "IAaBaCbAO", A::Arpeggio, 2, false),
                    Band(I::Reed, I::Flute, I::Marimba, true), 2});
  pieces.push_back({"Zahrada.mp3", TFileKind::Mp3Music,
                    Style(0x2A4D, 64, 4, 4, 84, "IAaBCaO", A::Arpeggio, 1, false),
                    Band(I::Flute, I::Ocarina, I::Guitar, true)});
  return pieces;
}

double IntendedSeconds(const TPieceDefinition& piece) {
  TScore score = Compose(piece.Style);
  if (piece.Kind == TFileKind::Module) {
    int tailRows = static_cast<int>(std::ceil(kModuleTailSeconds / score.StepSeconds()));
    return (score.TotalSteps() + tailRows) * score.StepSeconds();
  }
  int64_t frames = StepFrame(score, score.TotalSteps());
  if (!score.Loops) frames += static_cast<int64_t>(kEndingSeconds * kSampleRate);
  return static_cast<double>(frames) / kSampleRate;
}

std::vector<TGeneratedFile> AllFiles() {
  std::vector<TGeneratedFile> files = {
      {"click.mp3", TFileKind::Effect, [] { return EncodeMp3(MakeHoverClick(), kEffectBitrate); }},
      {"click2.mp3", TFileKind::Effect,
       [] { return EncodeMp3(MakeConfirmClick(), kEffectBitrate); }},
      {"Zalej.mp3", TFileKind::Effect, [] { return EncodeMp3(MakeWatering(), kEffectBitrate); }},
      {"Kup.mp3", TFileKind::Effect, [] { return EncodeMp3(MakeCoins(), kEffectBitrate); }},
  };
  for (const TPieceDefinition& piece : MusicDefinitions()) {
    if (piece.Kind == TFileKind::Module)
      files.push_back({piece.FileName, piece.Kind, [piece] { return MakeModule(piece); }});
    else
      files.push_back({piece.FileName, piece.Kind, [piece] { return MakeMp3Music(piece); }});
  }
  return files;
}

}  // namespace sounds
