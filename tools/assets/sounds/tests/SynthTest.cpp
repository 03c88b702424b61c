// The instruments: clean starts and ends, true pitch, seamless loops.
#include <gtest/gtest.h>

#include <cmath>

#include "Synth.h"
#include "Theory.h"

namespace sounds {
namespace {

const TInstrument kAll[] = {TInstrument::Flute, TInstrument::Ocarina, TInstrument::Reed,
                            TInstrument::Harp,  TInstrument::Guitar,  TInstrument::Pad,
                            TInstrument::Bell,  TInstrument::Marimba, TInstrument::Bass,
                            TInstrument::Kick,  TInstrument::Shaker,  TInstrument::Wood};

// The fundamental by autocorrelation over the steady part of a sound: the shortest lag whose
// correlation comes close to the best (longer lags are multiples of the period).
double EstimateFrequency(const std::vector<float>& s, size_t from, size_t length, int rate) {
  std::vector<double> correlation(rate / 40 + 2, 0.0);
  double best = 0;
  for (int lag = rate / 2000; lag < rate / 40 + 2; ++lag) {
    for (size_t i = from; i < from + length; ++i) correlation[lag] += s[i] * s[i + lag];
    best = std::max(best, correlation[lag]);
  }
  int pick = 0;
  for (int lag = rate / 2000 + 1; lag < rate / 40 + 1 && pick == 0; ++lag)
    if (correlation[lag] >= 0.85 * best && correlation[lag] >= correlation[lag - 1] &&
        correlation[lag] >= correlation[lag + 1])
      pick = lag;
  // Refine between neighbouring lags with a parabola.
  double a = correlation[pick - 1], b = correlation[pick], c = correlation[pick + 1];
  double shift = 0.5 * (a - c) / (a - 2 * b + c);
  return rate / (pick + shift);
}

TEST(Synth, NotesStartAndEndInSilenceAndStayInRange) {
  for (TInstrument instrument : kAll)
    for (double frequency : {98.0, 440.0, 1318.5}) {
      std::vector<float> note = RenderNote(instrument, frequency, 1.0, 0.5, 3);
      ASSERT_GT(note.size(), 1000u);
      EXPECT_LT(std::fabs(note.front()), 0.01f);
      EXPECT_EQ(note.back(), 0.0f);
      float peak = 0;
      for (float s : note) {
        ASSERT_TRUE(std::isfinite(s));
        peak = std::max(peak, std::fabs(s));
      }
      EXPECT_GT(peak, 0.01f) << static_cast<int>(instrument);
      EXPECT_LT(peak, 1.0f) << static_cast<int>(instrument);
    }
}

TEST(Synth, TonalInstrumentsPlayInTune) {
  const TInstrument tonal[] = {TInstrument::Flute,  TInstrument::Reed, TInstrument::Harp,
                               TInstrument::Guitar, TInstrument::Pad,  TInstrument::Bass,
                               TInstrument::Marimba};
  for (TInstrument instrument : tonal)
    for (int midi : {45, 57, 69, 76}) {
      double frequency = MidiToFrequency(midi);
      std::vector<float> note = RenderNote(instrument, frequency, 0.8, 1.0, 5);
      double measured = EstimateFrequency(note, kSampleRate / 5, 4096, kSampleRate);
      double cents = 1200 * std::log2(measured / frequency);
      EXPECT_NEAR(cents, 0.0, 8.0) << static_cast<int>(instrument) << " midi " << midi;
    }
}

TEST(Synth, LoopedTonesRepeatWithoutASeam) {
  for (TInstrument instrument :
       {TInstrument::Flute, TInstrument::Ocarina, TInstrument::Reed, TInstrument::Pad}) {
    TLoopedTone tone = RenderLoopedTone(instrument, 293.7, 32000);
    ASSERT_EQ(tone.Samples.size(), static_cast<size_t>(tone.LoopStart + tone.LoopLength));
    // The sample after the loop's end is its start: the jump there is like any other step.
    double seam = std::fabs(tone.Samples[tone.LoopStart] - tone.Samples.back());
    double largestStep = 0;
    for (size_t i = tone.LoopStart + 1; i < tone.Samples.size(); ++i)
      largestStep = std::max(largestStep,
                             static_cast<double>(std::fabs(tone.Samples[i] - tone.Samples[i - 1])));
    EXPECT_LE(seam, largestStep * 1.05) << static_cast<int>(instrument);
    EXPECT_NEAR(tone.Frequency, 294.0, 0.5);
  }
}

}  // namespace
}  // namespace sounds
