// Renders a score with the synthesised instruments into stereo audio, with a small hall
// reverb, and masters it (level, soft limiting). A looping score is rendered on a circle: what
// rings past the end (notes and reverb) sounds again at the start, so the seam is inaudible.
#pragma once

#include <cstdint>
#include <vector>

#include "Score.h"
#include "Synth.h"

namespace sounds {

struct TVoice {
  bool Used = false;
  TInstrument Instrument = TInstrument::Flute;
  float Gain = 1.0f;
  float Pan = 0.0f;     // -1 left .. +1 right
  float Reverb = 0.2f;  // send to the reverb
  int Transpose = 0;    // semitones, e.g. +12 for a bell doubling an octave up
};

struct TOrchestra {
  TVoice Parts[kPartCount];
};

struct TStereo {
  std::vector<float> Left, Right;
  size_t Frames() const { return Left.size(); }
  void Resize(size_t frames) {
    Left.assign(frames, 0.0f);
    Right.assign(frames, 0.0f);
  }
};

// The frame at which a step of the score starts.
int64_t StepFrame(const TScore& score, double step);

TStereo RenderScore(const TScore& score, const TOrchestra& orchestra, uint64_t seed,
                    double tailSeconds);

// Adds a mono sound at `frame` with a pan position, wrapping around when `wrap` is set.
void MixMono(TStereo& out, const std::vector<float>& sound, int64_t frame, float gain, float pan,
             bool wrap);

// Scales to the given RMS level and limits softly, so that no sample exceeds `ceiling`.
void Master(TStereo& audio, double targetRms, double ceiling);
void Master(std::vector<float>& mono, double peak);

}  // namespace sounds
