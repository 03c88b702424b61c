// Pitches in a major key. Melodies and chords are composed as diatonic indices (0 = the tonic,
// 7 = the tonic an octave up, -1 = the leading note below) and turned into MIDI pitches last,
// so everything the composer writes stays in key by construction.
#pragma once

namespace sounds {

inline constexpr int kMajorSteps[7] = {0, 2, 4, 5, 7, 9, 11};

inline int FloorDiv(int a, int b) { return (a >= 0) ? a / b : -((-a + b - 1) / b); }
inline int Mod(int a, int b) { return a - b * FloorDiv(a, b); }

// MIDI pitch of diatonic index `index` in the major key whose tonic is MIDI pitch `tonic`.
inline int DiatonicToMidi(int tonic, int index) {
  return tonic + 12 * FloorDiv(index, 7) + kMajorSteps[Mod(index, 7)];
}

// True when the MIDI pitch belongs to the major scale on pitch class `tonic` % 12.
inline bool InMajorKey(int tonic, int midi) {
  int step = Mod(midi - tonic, 12);
  for (int s : kMajorSteps)
    if (s == step) return true;
  return false;
}

// A chord of the key: its root as a scale degree 0..6 (0 = I, 4 = V) and whether the seventh
// is added.
struct TChord {
  int Root = 0;
  bool Seventh = false;
  bool operator==(const TChord&) const = default;
};

// True when diatonic index `index` is a tone of the chord.
inline bool IsChordTone(const TChord& chord, int index) {
  int interval = Mod(index - chord.Root, 7);
  return interval == 0 || interval == 2 || interval == 4 || (chord.Seventh && interval == 6);
}

inline double MidiToFrequency(double midi) { return 440.0 * __builtin_exp2((midi - 69.0) / 12.0); }

}  // namespace sounds
