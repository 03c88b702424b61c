// A composed piece: notes on a grid of steps (a step is the shortest note value of the piece,
// one row of a tracker pattern), with the chords it was composed over.
#pragma once

#include <string>
#include <vector>

#include "Theory.h"

namespace sounds {

// The voices of the little band every piece is written for.
enum TPart : int {
  kMelody,
  kCounter,  // a slower second line under the melody in the repeats
  kArp,      // plucked accompaniment: arpeggios or waltz chords
  kPad,      // sustained chords
  kBass,
  kKick,
  kShaker,
  kWood,
  kPartCount
};

inline bool IsPercussion(int part) { return part == kKick || part == kShaker || part == kWood; }

struct TNote {
  int Part = kMelody;
  int Start = 0;   // in steps from the start of the piece
  int Length = 1;  // in steps
  int Pitch = 60;  // MIDI pitch; 60 for percussion
  float Velocity = 0.7f;
};

struct TChordSpan {
  int Start = 0;
  int Length = 0;
  TChord Chord;
};

struct TSection {
  char Kind = 'A';
  int FirstBar = 0;
  int Bars = 0;
};

struct TScore {
  int Tonic = 60;  // MIDI pitch of the tonic in the melody's octave
  int BeatsPerBar = 4;
  int StepsPerBeat = 4;
  double Tempo = 100;  // beats per minute
  int Bars = 0;
  bool Loops = false;  // the end joins the start (menu and intro tunes)
  std::vector<TNote> Notes;
  std::vector<TChordSpan> Harmony;
  std::vector<TSection> Sections;

  int StepsPerBar() const { return BeatsPerBar * StepsPerBeat; }
  int TotalSteps() const { return Bars * StepsPerBar(); }
  double StepSeconds() const { return 60.0 / (Tempo * StepsPerBeat); }
  double Seconds() const { return TotalSteps() * StepSeconds(); }
};

}  // namespace sounds
