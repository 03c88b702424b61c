// The composer's rules, checked on every piece the game ships and on other seeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "Catalogue.h"
#include "Composer.h"

namespace sounds {
namespace {

std::vector<TStyle> StylesToCheck() {
  std::vector<TStyle> styles;
  for (const TPieceDefinition& piece : MusicDefinitions()) {
    styles.push_back(piece.Style);
    // The same style with other seeds: the rules must hold for whatever the dice say.
    for (uint64_t seed = 1; seed <= 12; ++seed) {
      TStyle other = piece.Style;
      other.Seed = seed * 7777;
      styles.push_back(other);
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

TEST(Composer, EveryPitchIsInTheKey) {
  for (const TStyle& style : StylesToCheck()) {
    TScore score = Compose(style);
    for (const TNote& note : score.Notes) {
      if (IsPercussion(note.Part)) continue;
      ASSERT_TRUE(InMajorKey(style.Tonic, note.Pitch))
          << "seed " << style.Seed << " part " << note.Part << " pitch " << note.Pitch;
    }
  }
}

TEST(Composer, ChordsFillEveryBarExactlyAndSectionsAddUp) {
  for (const TStyle& style : StylesToCheck()) {
    TScore score = Compose(style);
    ASSERT_FALSE(score.Harmony.empty());
    int cursor = 0;
    for (const TChordSpan& span : score.Harmony) {
      ASSERT_EQ(span.Start, cursor) << "seed " << style.Seed;
      ASSERT_GT(span.Length, 0);
      // A chord never straddles a bar line.
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
  }
}

TEST(Composer, MelodyIsOneVoiceWithChordTonesOnTheBeats) {
  for (const TStyle& style : StylesToCheck()) {
    TScore score = Compose(style);
    int end = -1;
    int beatsChecked = 0;
    for (const TNote& note : score.Notes) {
      if (note.Part != kMelody) continue;
      ASSERT_GE(note.Start, end) << "overlapping melody notes, seed " << style.Seed;
      ASSERT_GT(note.Length, 0);
      end = note.Start + note.Length;
      ASSERT_LE(end, score.TotalSteps());
      if (note.Start % score.StepsPerBeat != 0) continue;
      const TChordSpan* span = SpanAt(score, note.Start);
      ASSERT_NE(span, nullptr);
      EXPECT_TRUE(IsChordTone(span->Chord, MidiToIndex(style.Tonic, note.Pitch)))
          << "seed " << style.Seed << " step " << note.Start << " pitch " << note.Pitch << " chord "
          << span->Chord.Root;
      ++beatsChecked;
    }
    EXPECT_GE(beatsChecked, 4);
  }
}

TEST(Composer, SongsCadenceOnTheTonicAndLoopsTurnOnTheDominant) {
  for (const TStyle& style : StylesToCheck()) {
    TScore score = Compose(style);
    const TChordSpan& last = score.Harmony.back();
    const TNote* lastMelody = nullptr;
    for (const TNote& note : score.Notes)
      if (note.Part == kMelody) lastMelody = &note;
    ASSERT_NE(lastMelody, nullptr);
    if (style.Loops) {
      EXPECT_EQ(last.Chord.Root, 4) << "seed " << style.Seed;
    } else {
      EXPECT_EQ(last.Chord.Root, 0);
      EXPECT_EQ((lastMelody->Pitch - style.Tonic + 120) % 12, 0) << "seed " << style.Seed;
    }
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
