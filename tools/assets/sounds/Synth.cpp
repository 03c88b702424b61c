#include "Synth.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "Rng.h"

namespace sounds {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kTableSize = 4096;

const std::array<float, kTableSize + 1>& SineTable() {
  static const std::array<float, kTableSize + 1> table = [] {
    std::array<float, kTableSize + 1> t{};
    for (int i = 0; i <= kTableSize; ++i)
      t[i] = static_cast<float>(std::sin(2.0 * kPi * i / kTableSize));
    return t;
  }();
  return table;
}

// A raised-cosine ramp from 0 to 1 over `length` samples: no corner, so no click.
double Ramp(int n, int length) {
  if (n >= length) return 1.0;
  if (n <= 0) return 0.0;
  return 0.5 - 0.5 * std::cos(kPi * n / length);
}

// Fades the last `length` samples smoothly to exact silence.
void FadeEnd(std::vector<float>& samples, int length) {
  int size = static_cast<int>(samples.size());
  length = std::min(length, size);
  for (int i = 0; i < length; ++i) samples[size - 1 - i] *= static_cast<float>(Ramp(i, length));
  if (size > 0) samples.back() = 0.0f;
}

// A partial of an additive voice.
struct TPartial {
  double Ratio;      // frequency as a multiple of the fundamental
  double Amplitude;  // relative level
  double Decay;      // seconds to fall by 60 dB; 0 = sustained
};

// Sums partials with a common envelope; partials above 0.45 of the sample rate are left out
// so that nothing folds back below the Nyquist frequency.
void AddPartials(std::vector<float>& out, const std::vector<TPartial>& partials, double frequency,
                 double level, int sampleRate, const std::vector<float>* vibrato = nullptr) {
  for (const TPartial& partial : partials) {
    double f = frequency * partial.Ratio;
    if (f > 0.45 * sampleRate) continue;
    double increment = f / sampleRate;
    double phase = 0;
    double decayPerSample =
        partial.Decay > 0 ? std::pow(0.001, 1.0 / (partial.Decay * sampleRate)) : 1.0;
    double amplitude = partial.Amplitude * level;
    for (size_t n = 0; n < out.size(); ++n) {
      out[n] += static_cast<float>(amplitude) * Sine(phase);
      phase += increment * (vibrato ? (*vibrato)[n] : 1.0f);
      if (phase >= 1.0) phase -= std::floor(phase);
      amplitude *= decayPerSample;
    }
  }
}

// A one-pole low-pass filter.
struct TLowPass {
  double Coefficient;
  double State = 0;
  TLowPass(double cutoff, int sampleRate)
      : Coefficient(1.0 - std::exp(-2.0 * kPi * cutoff / sampleRate)) {}
  double operator()(double x) { return State += Coefficient * (x - State); }
};

// A two-pole resonator (band-pass) at `centre` Hz.
struct TResonator {
  double A1, A2, Gain, Y1 = 0, Y2 = 0;
  TResonator(double centre, double bandwidth, int sampleRate) {
    double r = std::exp(-kPi * bandwidth / sampleRate);
    A1 = 2 * r * std::cos(2 * kPi * centre / sampleRate);
    A2 = -r * r;
    Gain = 1 - r;
  }
  double operator()(double x) {
    double y = Gain * x + A1 * Y1 + A2 * Y2;
    Y2 = Y1;
    Y1 = y;
    return y;
  }
};

// Attack, hold and release of a sustained voice.
void ApplyEnvelope(std::vector<float>& out, int attack, int holdEnd, int release) {
  for (size_t n = 0; n < out.size(); ++n) {
    int i = static_cast<int>(n);
    double gain = Ramp(i, attack);
    if (i >= holdEnd) gain *= 1.0 - Ramp(i - holdEnd, release);
    out[n] *= static_cast<float>(gain);
  }
}

// A slow vibrato that sets in after the attack, as a player's would.
std::vector<float> MakeVibrato(size_t length, double depth, double rate, int sampleRate) {
  std::vector<float> vibrato(length);
  for (size_t n = 0; n < length; ++n) {
    double t = static_cast<double>(n) / sampleRate;
    double amount = depth * std::clamp((t - 0.25) / 0.4, 0.0, 1.0);
    vibrato[n] = static_cast<float>(1.0 + amount * std::sin(2 * kPi * rate * t));
  }
  return vibrato;
}

// Breath: band-passed noise, louder in the attack (the chiff of a flute).
void AddBreath(std::vector<float>& out, double frequency, double level, double chiff, uint64_t seed,
               int sampleRate) {
  TRng rng(seed);
  TResonator band(std::min(frequency * 2.0, 0.4 * sampleRate), frequency * 0.8, sampleRate);
  int chiffLength = sampleRate / 25;
  for (size_t n = 0; n < out.size(); ++n) {
    double amount = level + (static_cast<int>(n) < chiffLength
                                 ? chiff * (1.0 - static_cast<double>(n) / chiffLength)
                                 : 0.0);
    out[n] += static_cast<float>(amount * band(rng.Signed()) * 4.0);
  }
}

std::vector<TPartial> WindPartials(TInstrument instrument, double velocity) {
  double bright = 0.6 + 0.5 * velocity;
  if (instrument == TInstrument::Ocarina)
    return {{1, 1, 0}, {2, 0.05 * bright, 0}, {3, 0.03 * bright, 0}};
  if (instrument == TInstrument::Reed)  // mostly odd harmonics, like a soft clarinet
    return {{1, 1, 0},
            {2, 0.06 * bright, 0},
            {3, 0.42 * bright, 0},
            {4, 0.04 * bright, 0},
            {5, 0.18 * bright, 0},
            {7, 0.07 * bright, 0}};
  return {{1, 1, 0},
          {2, 0.28 * bright, 0},
          {3, 0.10 * bright, 0},
          {4, 0.04 * bright, 0},
          {5, 0.015 * bright, 0}};
}

// The pad: three slightly detuned voices of soft, string-like partials.
void AddPadVoices(std::vector<float>& out, double frequency, double level, int sampleRate,
                  double detune) {
  std::vector<TPartial> partials;
  for (int n = 1; n <= 9; ++n) partials.push_back({double(n), std::pow(n, -1.5), 0});
  for (double offset : {-detune, 0.0, detune})
    AddPartials(out, partials, frequency + offset, level / 3.0, sampleRate);
}

std::vector<float> RenderWind(TInstrument instrument, double frequency, double velocity,
                              double hold, uint64_t seed, int sampleRate) {
  int attack = sampleRate * (instrument == TInstrument::Ocarina ? 40 : 60) / 1000;
  int release = sampleRate * 130 / 1000;
  int holdEnd = std::max(attack, static_cast<int>(hold * sampleRate));
  std::vector<float> out(holdEnd + release, 0.0f);
  std::vector<float> vibrato = MakeVibrato(out.size(), 0.0035, 5.0, sampleRate);
  AddPartials(out, WindPartials(instrument, velocity), frequency, 1.0, sampleRate, &vibrato);
  double breath = instrument == TInstrument::Ocarina ? 0.025
                  : instrument == TInstrument::Reed  ? 0.008
                                                     : 0.015;
  AddBreath(out, frequency, breath, 0.12, seed, sampleRate);
  ApplyEnvelope(out, attack, holdEnd, release);
  for (float& s : out) s *= static_cast<float>(0.45 * velocity);
  FadeEnd(out, 16);
  return out;
}

std::vector<float> RenderPad(double frequency, double velocity, double hold, int sampleRate) {
  int attack = sampleRate * 35 / 100;
  int release = sampleRate * 70 / 100;
  int holdEnd = std::max(attack / 2, static_cast<int>(hold * sampleRate));
  std::vector<float> out(holdEnd + release, 0.0f);
  AddPadVoices(out, frequency, 0.35 * velocity, sampleRate, frequency * 0.0035);
  ApplyEnvelope(out, attack, holdEnd, release);
  FadeEnd(out, 16);
  return out;
}

// Karplus-Strong: a burst of filtered noise circulating in a delay line one period long,
// losing a little of its treble on every pass, tuned exactly by an all-pass filter.
std::vector<float> RenderPluck(TInstrument instrument, double frequency, double velocity,
                               double hold, uint64_t seed, int sampleRate) {
  bool harp = instrument == TInstrument::Harp;
  bool bass = instrument == TInstrument::Bass;
  double ringSeconds = harp ? 3.2 : bass ? 2.0 : 2.2;
  double releaseSeconds = harp ? 0.45 : 0.18;
  double period = static_cast<double>(sampleRate) / frequency;
  int delay = static_cast<int>(std::floor(period - 0.5 - 0.1));
  delay = std::max(delay, 2);
  double fraction = period - 0.5 - delay;
  double allpass = (1.0 - fraction) / (1.0 + fraction);
  double gainRing = std::pow(0.001, 1.0 / (ringSeconds * frequency));
  double gainRelease = std::pow(0.001, 1.0 / (releaseSeconds * frequency));

  TRng rng(seed);
  std::vector<double> line(delay, 0.0);
  // The excitation: noise, darker for soft notes, with the comb of the plucking point.
  TLowPass tone(harp   ? 2500 + 5000 * velocity
                : bass ? 700 + 900 * velocity
                       : 1500 + 2500 * velocity,
                sampleRate);
  std::vector<double> burst(delay);
  double mean = 0;
  for (int i = 0; i < delay; ++i) mean += burst[i] = tone(rng.Signed());
  mean /= delay;
  int pluckPoint = std::max(1, static_cast<int>(delay * (harp ? 0.18 : 0.12)));
  double energy = 0;
  for (int i = 0; i < delay; ++i) {
    line[i] = (burst[i] - mean) - (i >= pluckPoint ? burst[i - pluckPoint] - mean : 0.0);
    energy += line[i] * line[i];
  }
  double scale = energy > 0 ? 0.5 / std::sqrt(energy / delay) : 0.0;
  for (double& v : line) v *= scale;

  int holdEnd = static_cast<int>(hold * sampleRate);
  int total = holdEnd + static_cast<int>(releaseSeconds * sampleRate);
  total = std::min(total, static_cast<int>(ringSeconds * sampleRate) + sampleRate / 10);
  std::vector<float> out(std::max(total, 64));
  double previous = 0, apIn = 0, apOut = 0;
  TLowPass body(harp ? 9000 : bass ? 2200 : 4500, sampleRate);
  int index = 0;
  for (size_t n = 0; n < out.size(); ++n) {
    double sample = line[index];
    double averaged = 0.5 * (sample + previous);
    previous = sample;
    double tuned = allpass * averaged + apIn - allpass * apOut;
    apIn = averaged;
    apOut = tuned;
    double gain = static_cast<int>(n) < holdEnd ? gainRing : gainRelease;
    line[index] = gain * tuned;
    index = (index + 1) % delay;
    out[n] = static_cast<float>(body(sample));
  }
  double level = (bass ? 0.75 : 0.45) * (0.4 + 0.6 * velocity);
  for (size_t n = 0; n < out.size(); ++n)
    out[n] *= static_cast<float>(level * Ramp(static_cast<int>(n), sampleRate / 1000));
  FadeEnd(out, sampleRate / 100);
  return out;
}

// Struck bars: inharmonic partials that die away, the higher ones faster.
std::vector<float> RenderMallet(TInstrument instrument, double frequency, double velocity,
                                int sampleRate) {
  bool bell = instrument == TInstrument::Bell;
  std::vector<TPartial> partials =
      bell ? std::vector<TPartial>{{1, 1, 1.8},
                                   {2.76, 0.30, 0.6},
                                   {5.40, 0.12, 0.3},
                                   {8.93, 0.05, 0.15}}
           : std::vector<TPartial>{{1, 1, 1.1}, {3.93, 0.22, 0.25}, {9.2, 0.06, 0.08}};
  double seconds = bell ? 2.0 : 1.2;
  std::vector<float> out(static_cast<size_t>(seconds * sampleRate), 0.0f);
  AddPartials(out, partials, frequency, (bell ? 0.28 : 0.4) * velocity, sampleRate);
  int attack = sampleRate * 2 / 1000;
  for (int n = 0; n < attack; ++n) out[n] *= static_cast<float>(Ramp(n, attack));
  FadeEnd(out, sampleRate / 5);
  return out;
}

std::vector<float> RenderKick(double velocity, int sampleRate) {
  std::vector<float> out(sampleRate * 4 / 10);
  double phase = 0;
  for (size_t n = 0; n < out.size(); ++n) {
    double t = static_cast<double>(n) / sampleRate;
    double f = 46 + 70 * std::exp(-t / 0.03);
    phase += f / sampleRate;
    out[n] = static_cast<float>(0.8 * velocity * std::exp(-t / 0.16) *
                                Ramp(static_cast<int>(n), sampleRate / 500) * Sine(phase));
  }
  FadeEnd(out, sampleRate / 20);
  return out;
}

std::vector<float> RenderShaker(double velocity, uint64_t seed, int sampleRate) {
  TRng rng(seed);
  std::vector<float> out(sampleRate * 12 / 100);
  TResonator band(std::min(6500.0, 0.4 * sampleRate), 4000, sampleRate);
  double last = 0;
  for (size_t n = 0; n < out.size(); ++n) {
    double t = static_cast<double>(n) / sampleRate;
    double noise = rng.Signed();
    double high = noise - last;  // first difference: tilts the noise towards the treble
    last = noise;
    double envelope = Ramp(static_cast<int>(n), sampleRate * 6 / 1000) * std::exp(-t / 0.03);
    out[n] = static_cast<float>(1.2 * velocity * envelope * band(high));
  }
  FadeEnd(out, sampleRate / 50);
  return out;
}

std::vector<float> RenderWood(double velocity, int sampleRate) {
  std::vector<float> out(sampleRate / 10, 0.0f);
  std::vector<TPartial> partials = {{1, 1, 0.09}, {1.67, 0.5, 0.05}, {2.9, 0.15, 0.03}};
  AddPartials(out, partials, 820, 0.4 * velocity, sampleRate);
  int attack = sampleRate / 2000;
  for (int n = 0; n < attack; ++n) out[n] *= static_cast<float>(Ramp(n, attack));
  FadeEnd(out, sampleRate / 100);
  return out;
}

}  // namespace

float Sine(double phase) {
  const auto& table = SineTable();
  double position = (phase - std::floor(phase)) * kTableSize;
  int i = static_cast<int>(position);
  double fraction = position - i;
  return static_cast<float>(table[i] + (table[i + 1] - table[i]) * fraction);
}

bool IsSustained(TInstrument instrument) {
  return instrument == TInstrument::Flute || instrument == TInstrument::Ocarina ||
         instrument == TInstrument::Reed || instrument == TInstrument::Pad;
}

std::vector<float> RenderNote(TInstrument instrument, double frequency, double velocity,
                              double hold, uint64_t seed, int sampleRate) {
  switch (instrument) {
    case TInstrument::Flute:
    case TInstrument::Ocarina:
    case TInstrument::Reed:
      return RenderWind(instrument, frequency, velocity, hold, seed, sampleRate);
    case TInstrument::Pad:
      return RenderPad(frequency, velocity, hold, sampleRate);
    case TInstrument::Harp:
    case TInstrument::Guitar:
    case TInstrument::Bass:
      return RenderPluck(instrument, frequency, velocity, hold, seed, sampleRate);
    case TInstrument::Bell:
    case TInstrument::Marimba:
      return RenderMallet(instrument, frequency, velocity, sampleRate);
    case TInstrument::Kick:
      return RenderKick(velocity, sampleRate);
    case TInstrument::Shaker:
      return RenderShaker(velocity, seed, sampleRate);
    case TInstrument::Wood:
      return RenderWood(velocity, sampleRate);
  }
  return {};
}

TLoopedTone RenderLoopedTone(TInstrument instrument, double frequency, int sampleRate) {
  TLoopedTone tone;
  // A loop of one second: partials on whole hertz repeat exactly in it.
  tone.LoopLength = sampleRate;
  tone.Frequency = std::max(1.0, std::round(frequency));
  bool pad = instrument == TInstrument::Pad;
  int attack = sampleRate * (pad ? 35 : 6) / 100;
  tone.LoopStart = attack;
  std::vector<float> out(attack + tone.LoopLength, 0.0f);
  if (pad) {
    AddPadVoices(out, tone.Frequency, 0.35, sampleRate, 1.0);
  } else {
    AddPartials(out, WindPartials(instrument, 0.7), tone.Frequency, 0.45, sampleRate);
    // Breath only in the attack, which is played once.
    std::vector<float> breath(attack, 0.0f);
    AddBreath(breath, tone.Frequency, 0.02, 0.12, 7, sampleRate);
    for (int n = 0; n < attack; ++n)
      out[n] += breath[n] * static_cast<float>(1.0 - Ramp(n, attack));
  }
  for (int n = 0; n < attack; ++n) out[n] *= static_cast<float>(Ramp(n, attack));
  tone.Samples = std::move(out);
  return tone;
}

}  // namespace sounds
