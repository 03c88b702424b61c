#include "Render.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "Rng.h"

namespace sounds {
namespace {

// A Schroeder-Moorer reverb of eight damped combs and four all-passes per side.
class TReverb {
 public:
  TReverb() {
    static const int kCombs[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static const int kAllpasses[4] = {556, 441, 341, 225};
    for (int side = 0; side < 2; ++side) {
      int spread = side * 23;
      for (int i = 0; i < 8; ++i) Combs[side][i].Line.assign(kCombs[i] + spread, 0.0f);
      for (int i = 0; i < 4; ++i) Allpasses[side][i].Line.assign(kAllpasses[i] + spread, 0.0f);
    }
  }

  void Process(float input, float& left, float& right) {
    left = Side(0, input);
    right = Side(1, input);
  }

 private:
  struct TComb {
    std::vector<float> Line;
    size_t Index = 0;
    float Store = 0;
  };
  struct TAllpass {
    std::vector<float> Line;
    size_t Index = 0;
  };

  float Side(int side, float input) {
    constexpr float kFeedback = 0.80f, kDamp = 0.35f;
    float sum = 0;
    for (TComb& comb : Combs[side]) {
      float out = comb.Line[comb.Index];
      comb.Store = out * (1 - kDamp) + comb.Store * kDamp;
      comb.Line[comb.Index] = input + comb.Store * kFeedback;
      if (++comb.Index == comb.Line.size()) comb.Index = 0;
      sum += out;
    }
    for (TAllpass& allpass : Allpasses[side]) {
      float buffered = allpass.Line[allpass.Index];
      allpass.Line[allpass.Index] = sum + buffered * 0.5f;
      if (++allpass.Index == allpass.Line.size()) allpass.Index = 0;
      sum = buffered - sum;
    }
    return sum;
  }

  std::array<std::array<TComb, 8>, 2> Combs;
  std::array<std::array<TAllpass, 4>, 2> Allpasses;
};

void PanGains(float pan, float& left, float& right) {
  double angle = (pan + 1.0) * 0.25 * 3.14159265358979;
  left = static_cast<float>(std::cos(angle) * 1.41421356);
  right = static_cast<float>(std::sin(angle) * 1.41421356);
}

}  // namespace

int64_t StepFrame(const TScore& score, double step) {
  return static_cast<int64_t>(std::llround(step * score.StepSeconds() * kSampleRate));
}

void MixMono(TStereo& out, const std::vector<float>& sound, int64_t frame, float gain, float pan,
             bool wrap) {
  float left, right;
  PanGains(pan, left, right);
  int64_t frames = static_cast<int64_t>(out.Frames());
  for (size_t i = 0; i < sound.size(); ++i) {
    int64_t at = frame + static_cast<int64_t>(i);
    if (wrap) at %= frames;
    if (at < 0 || at >= frames) continue;
    out.Left[at] += sound[i] * gain * left;
    out.Right[at] += sound[i] * gain * right;
  }
}

TStereo RenderScore(const TScore& score, const TOrchestra& orchestra, uint64_t seed,
                    double tailSeconds) {
  int64_t length = StepFrame(score, score.TotalSteps());
  if (!score.Loops) length += static_cast<int64_t>(tailSeconds * kSampleRate);
  TStereo dry, send;
  dry.Resize(length);
  send.Resize(length);
  uint64_t noteSeed = seed * 7919;
  for (const TNote& note : score.Notes) {
    const TVoice& voice = orchestra.Parts[note.Part];
    ++noteSeed;
    if (!voice.Used) continue;
    double hold = note.Length * score.StepSeconds();
    double frequency = MidiToFrequency(note.Pitch + voice.Transpose);
    std::vector<float> sound =
        RenderNote(voice.Instrument, frequency, note.Velocity, hold, noteSeed);
    int64_t frame = StepFrame(score, note.Start);
    // Players are never exactly on the grid: the accompaniment and the percussion land a few
    // milliseconds early or late (the melody leads, on time). Never before the start.
    if (note.Part != kMelody) {
      TRng humanise(noteSeed);
      frame = std::max<int64_t>(0, frame + std::llround(humanise.Signed() * 0.006 * kSampleRate));
    }
    MixMono(dry, sound, frame, voice.Gain, voice.Pan, score.Loops);
    MixMono(send, sound, frame, voice.Gain * voice.Reverb, voice.Pan * 0.5f, score.Loops);
  }
  // The reverb runs twice around a loop, so that its tail from the end carries into the start.
  TReverb reverb;
  int passes = score.Loops ? 2 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    bool keep = pass == passes - 1;
    for (int64_t i = 0; i < length; ++i) {
      float left, right;
      reverb.Process(0.5f * (send.Left[i] + send.Right[i]) * 0.25f, left, right);
      if (!keep) continue;
      dry.Left[i] += left;
      dry.Right[i] += right;
    }
  }
  return dry;
}

namespace {

// Soft knee: linear below `knee`, bending smoothly towards `ceiling` above it.
float SoftLimit(float x, float knee, float ceiling) {
  float magnitude = std::fabs(x);
  if (magnitude <= knee) return x;
  float room = ceiling - knee;
  float limited = knee + room * std::tanh((magnitude - knee) / room);
  return x < 0 ? -limited : limited;
}

}  // namespace

void Master(TStereo& audio, double targetRms, double ceiling) {
  double sum = 0;
  for (size_t i = 0; i < audio.Frames(); ++i)
    sum += audio.Left[i] * audio.Left[i] + audio.Right[i] * audio.Right[i];
  double rms = std::sqrt(sum / std::max<size_t>(1, 2 * audio.Frames()));
  float gain = rms > 0 ? static_cast<float>(targetRms / rms) : 1.0f;
  float knee = static_cast<float>(ceiling * 0.75);
  for (size_t i = 0; i < audio.Frames(); ++i) {
    audio.Left[i] = SoftLimit(audio.Left[i] * gain, knee, static_cast<float>(ceiling));
    audio.Right[i] = SoftLimit(audio.Right[i] * gain, knee, static_cast<float>(ceiling));
  }
}

void Master(std::vector<float>& mono, double peak) {
  float highest = 0;
  for (float s : mono) highest = std::max(highest, std::fabs(s));
  if (highest <= 0) return;
  float gain = static_cast<float>(peak / highest);
  for (float& s : mono) s *= gain;
}

}  // namespace sounds
