#include "Effects.h"

#include <algorithm>
#include <cmath>

#include "Render.h"
#include "Rng.h"
#include "Synth.h"

namespace sounds {
namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<float> Silence(double seconds) {
  return std::vector<float>(static_cast<size_t>(seconds * kSampleRate), 0.0f);
}

void AddAt(std::vector<float>& out, const std::vector<float>& sound, double at, float gain) {
  size_t start = static_cast<size_t>(at * kSampleRate);
  for (size_t i = 0; i < sound.size() && start + i < out.size(); ++i)
    out[start + i] += sound[i] * gain;
}

// Smooth fades at both ends: a little lead-in and run-out of silence around the sound.
void Shape(std::vector<float>& out, double fadeIn, double fadeOut) {
  size_t in = static_cast<size_t>(fadeIn * kSampleRate);
  size_t outLength = static_cast<size_t>(fadeOut * kSampleRate);
  for (size_t i = 0; i < out.size(); ++i) {
    double gain = 1.0;
    if (i < in) gain *= 0.5 - 0.5 * std::cos(kPi * i / in);
    size_t fromEnd = out.size() - 1 - i;
    if (fromEnd < outLength) gain *= 0.5 - 0.5 * std::cos(kPi * fromEnd / outLength);
    out[i] *= static_cast<float>(gain);
  }
}

// A decaying sine burst with an optional pitch glide.
std::vector<float> Blip(double frequency, double glide, double decay, double seconds) {
  std::vector<float> out = Silence(seconds);
  double phase = 0;
  for (size_t n = 0; n < out.size(); ++n) {
    double t = static_cast<double>(n) / kSampleRate;
    phase += frequency * (1.0 + glide * t) / kSampleRate;
    out[n] = static_cast<float>(std::exp(-t / decay) * Sine(phase));
  }
  return out;
}

}  // namespace

std::vector<float> MakeHoverClick() {
  std::vector<float> out = Silence(0.12);
  std::vector<float> tick = Blip(1850, 0.0, 0.012, 0.1);
  std::vector<float> body = Blip(930, 0.0, 0.02, 0.1);
  AddAt(out, tick, 0.003, 0.6f);
  AddAt(out, body, 0.003, 0.4f);
  Shape(out, 0.003, 0.06);
  Master(out, 0.45);
  return out;
}

std::vector<float> MakeConfirmClick() {
  std::vector<float> out = Silence(0.3);
  // Two plucked notes a fourth apart, like a small wooden xylophone.
  AddAt(out, RenderNote(TInstrument::Marimba, 784, 0.9, 0.1, 11), 0.003, 0.8f);
  AddAt(out, RenderNote(TInstrument::Marimba, 1046.5, 1.0, 0.1, 12), 0.065, 0.9f);
  AddAt(out, Blip(2100, 0, 0.006, 0.05), 0.003, 0.25f);
  Shape(out, 0.003, 0.12);
  Master(out, 0.6);
  return out;
}

std::vector<float> MakeWatering() {
  TRng rng(0x5A1E);
  std::vector<float> out = Silence(0.9);
  // The stream: noise through two wandering band-passes, a soft splashing hiss.
  double y1 = 0, y2 = 0, z1 = 0, z2 = 0;
  for (size_t n = 0; n < out.size(); ++n) {
    double t = static_cast<double>(n) / kSampleRate;
    double centre = 1400 + 500 * std::sin(2 * kPi * 3.1 * t) + 300 * std::sin(2 * kPi * 7.3 * t);
    double r = 0.985;
    double a1 = 2 * r * std::cos(2 * kPi * centre / kSampleRate), a2 = -r * r;
    double noise = rng.Signed();
    double y = (1 - r) * noise + a1 * y1 + a2 * y2;
    y2 = y1;
    y1 = y;
    double a1b = 2 * 0.97 * std::cos(2 * kPi * 4200 / kSampleRate), a2b = -0.97 * 0.97;
    double z = 0.03 * noise + a1b * z1 + a2b * z2;
    z2 = z1;
    z1 = z;
    double flutter = 0.75 + 0.25 * std::sin(2 * kPi * 11 * t + std::sin(2 * kPi * 2.3 * t));
    out[n] = static_cast<float>((4.0 * y + 0.8 * z) * flutter);
  }
  // Bubbles and drops: short rising sine chirps at random moments.
  for (int i = 0; i < 26; ++i) {
    double at = 0.03 + rng.Uniform() * 0.75;
    double frequency = 700 + rng.Uniform() * 1500;
    std::vector<float> drop =
        Blip(frequency, 2.5 + 4 * rng.Uniform(), 0.012 + 0.01 * rng.Uniform(), 0.06);
    AddAt(out, drop, at, static_cast<float>(0.15 + 0.25 * rng.Uniform()));
  }
  Shape(out, 0.06, 0.25);
  Master(out, 0.5);
  return out;
}

std::vector<float> MakeCoins() {
  TRng rng(0xC015);
  std::vector<float> out = Silence(0.6);
  // Each coin: a few inharmonic metal partials, ringing briefly.
  const double hits[3] = {0.004, 0.085, 0.15};
  const double pitches[3] = {2350, 2800, 2550};
  for (int h = 0; h < 3; ++h) {
    std::vector<float> coin = Silence(0.4);
    const double ratios[4] = {1.0, 1.47, 2.09, 2.76};
    const double levels[4] = {1.0, 0.6, 0.4, 0.25};
    for (int p = 0; p < 4; ++p) {
      double f = pitches[h] * ratios[p] * (1 + 0.01 * rng.Signed());
      if (f > 0.45 * kSampleRate) continue;
      double phase = 0;
      for (size_t n = 0; n < coin.size(); ++n) {
        double t = static_cast<double>(n) / kSampleRate;
        phase += f / kSampleRate;
        coin[n] +=
            static_cast<float>(levels[p] * std::exp(-t / (0.09 / (1 + p * 0.5))) * Sine(phase));
      }
    }
    for (size_t n = 0; n < 44; ++n) coin[n] *= static_cast<float>(n / 44.0);
    AddAt(out, coin, hits[h], h == 2 ? 0.8f : 0.6f);
  }
  Shape(out, 0.003, 0.2);
  Master(out, 0.55);
  return out;
}

}  // namespace sounds
