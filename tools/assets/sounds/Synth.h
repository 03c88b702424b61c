// The instruments: every sound of the game is synthesised here, by additive synthesis
// (flute, ocarina, pad, bells, marimba, bass), plucked strings (Karplus-Strong) and filtered
// noise and sine sweeps (percussion).
#pragma once

#include <cstdint>
#include <vector>

namespace sounds {

inline constexpr int kSampleRate = 44100;

enum class TInstrument {
  Flute,
  Ocarina,
  Reed,
  Harp,
  Guitar,
  Pad,
  Bell,
  Marimba,
  Bass,
  Kick,
  Shaker,
  Wood
};

// True for instruments that hold their tone as long as the note lasts (they loop in a module).
bool IsSustained(TInstrument instrument);

// One note, mono: `hold` seconds until the release, then the release tail. It starts and ends
// at exact silence. `seed` feeds the noise of plucks, breath and percussion.
std::vector<float> RenderNote(TInstrument instrument, double frequency, double velocity,
                              double hold, uint64_t seed, int sampleRate = kSampleRate);

// A sustained tone for a tracker sample: the attack, then a stretch that repeats exactly from
// `LoopStart` for `LoopLength` samples. Every partial is tuned to a whole number of cycles per
// loop, so the repeat is seamless; `Frequency` is the fundamental actually used.
struct TLoopedTone {
  std::vector<float> Samples;
  int LoopStart = 0;
  int LoopLength = 0;
  double Frequency = 0;
};
TLoopedTone RenderLoopedTone(TInstrument instrument, double frequency, int sampleRate);

// A table-based sine, phase in cycles.
float Sine(double phase);

}  // namespace sounds
