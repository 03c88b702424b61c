// The composer's rules, checked on every piece the game ships and on other seeds.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "Catalogue.h"
#include "Composer.h"

namespace sounds {
namespace {

// Every piece the game ships, and each again with other seeds: the rules must hold for whatever
// the dice say.
std::vector<TStyle> StylesToCheck() {
  std::vector<TStyle> styles;
  for (const TPieceDefinition& piece : MusicDefinitions()) {
    for (uint64_t seed = 0; seed <= 12; ++seed) {
      styles.push_back(piece.Style);
      if (seed > 0) styles.back().Seed = seed * 7777;
    }
  }
  return styles;
}

const TChordSpan* SpanAt(const TScore& score, int step) {
  for (const TChordSpan& span : score.Harmony)
    if (step >= span.Start && step < span.Start + span.Length) return &span;
  return nullptr;
}

int MidiToIndex(int tonic, int midi) {
  // The diatonic index of an in-key pitch (the inverse of DiatonicToMidi).
  for (int index = -40; index <= 40; ++index)
    if (DiatonicToMidi(tonic, index) == midi) return index;
  return 1000;
}

TEST(Composer, EveryScoreKeepsTheRules) {
  for (const TStyle& style : StylesToCheck()) {
    SCOPED_TRACE("seed " + std::to_string(style.Seed));
    const TScore score = Compose(style);
    // Chords fill every bar exactly, never straddling a bar line, and the sections add up.
    ASSERT_FALSE(score.Harmony.empty());
    int cursor = 0;
    for (const TChordSpan& span : score.Harmony) {
      ASSERT_EQ(span.Start, cursor);
      ASSERT_GT(span.Length, 0);
      ASSERT_LE(span.Start % score.StepsPerBar() + span.Length, score.StepsPerBar());
      cursor += span.Length;
    }
    EXPECT_EQ(cursor, score.TotalSteps());
    int bars = 0;
    for (const TSection& section : score.Sections) {
      EXPECT_EQ(section.FirstBar, bars);
      bars += section.Bars;
    }
    EXPECT_EQ(bars, score.Bars);
    EXPECT_EQ(score.Sections.size(), style.Form.size());
    // Every pitch is in the key, and the melody is one voice with chord tones on the beats.
    int end = -1, beatsChecked = 0;
    const TNote* lastMelody = nullptr;
    for (const TNote& note : score.Notes) {
      ASSERT_TRUE(IsPercussion(note.Part) || InMajorKey(style.Tonic, note.Pitch))
          << "part " << note.Part << " pitch " << note.Pitch;
      if (note.Part != kMelody) continue;
      lastMelody = &note;
      ASSERT_GE(note.Start, end) << "overlapping melody notes";
      ASSERT_GT(note.Length, 0);
      end = note.Start + note.Length;
      ASSERT_LE(end, score.TotalSteps());
      if (note.Start % score.StepsPerBeat != 0) continue;
      const TChordSpan* span = SpanAt(score, note.Start);
      ASSERT_NE(span, nullptr);
      EXPECT_TRUE(IsChordTone(span->Chord, MidiToIndex(style.Tonic, note.Pitch)))
          << "step " << note.Start << " pitch " << note.Pitch << " chord " << span->Chord.Root;
      ++beatsChecked;
    }
    EXPECT_GE(beatsChecked, 4);
    // A song cadences on the tonic; a loop turns on the dominant, back to its start.
    ASSERT_NE(lastMelody, nullptr);
    EXPECT_EQ(score.Harmony.back().Chord.Root, style.Loops ? 4 : 0);
    EXPECT_TRUE(style.Loops || (lastMelody->Pitch - style.Tonic + 120) % 12 == 0);
  }
}

// How long each piece lasts is checked on the shipped files (OutputTest).
TEST(Composer, PiecesOpenWithTunesOfTheirOwn) {
  std::set<std::vector<int>> melodies;
  for (const TPieceDefinition& piece : MusicDefinitions()) {
    TScore score = Compose(piece.Style);
    std::vector<int> melody;
    for (const TNote& note : score.Notes)
      if (note.Part == kMelody && melody.size() < 24) melody.push_back(note.Pitch - score.Tonic);
    melodies.insert(melody);
  }
  EXPECT_EQ(melodies.size(), MusicDefinitions().size()) << "two pieces open with the same tune";
}

TEST(Theory, DiatonicIndicesMapToTheMajorScale) {
  struct {
    int tonic, index, midi;
  } cases[] = {{60, 0, 60},  {60, 2, 64}, {60, 7, 72}, {60, -1, 59},
               {60, -7, 48}, {67, 6, 78}, {65, 3, 70}, {62, -3, 57}};
  for (const auto& c : cases) EXPECT_EQ(DiatonicToMidi(c.tonic, c.index), c.midi);
  EXPECT_TRUE(InMajorKey(67, 66));               // F sharp in G
  EXPECT_FALSE(InMajorKey(67, 65));              // F natural is not
  EXPECT_TRUE(IsChordTone(TChord{4, true}, 3));  // the seventh of V7
  EXPECT_FALSE(IsChordTone(TChord{4, false}, 3));
}

}  // namespace
}  // namespace sounds
