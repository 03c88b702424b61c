// The composer: turns a style (key, metre, tempo, form, seed) into a score by rules of
// common-practice harmony and melody. Themes are periods of two four-bar phrases (the first
// ends on the dominant, the second on the tonic), melodies grow from one-bar motifs that are
// repeated, sequenced and varied, and every strong beat of the melody is a tone of its chord.
#pragma once

#include <cstdint>
#include <string>

#include "Score.h"

namespace sounds {

enum class TAccompaniment { Arpeggio, Waltz };

struct TStyle {
  uint64_t Seed = 1;
  int Tonic = 65;  // MIDI pitch of the tonic at the bottom of the melody's range
  int BeatsPerBar = 4;
  int StepsPerBeat = 4;  // 4: simple metre in sixteenths; 6: compound metre (6/8) in sixteenths
  double Tempo = 100;
  // One letter per section: I intro (4 bars, no melody), H the first phrase of theme A only
  // (4 bars), A theme A, B theme B, C a bridge in sequences (8 bars each), a and b the themes
  // varied with a counter-melody, O the ending (4 bars).
  std::string Form = "IAaBaO";
  bool Loops = false;  // the last section turns back to the first (it ends on the dominant)
  TAccompaniment Accompaniment = TAccompaniment::Arpeggio;
  int ArpPattern = 0;  // which broken-chord figure the arpeggios use
  bool Pad = true;
  bool Percussion = true;
};

TScore Compose(const TStyle& style);

}  // namespace sounds
