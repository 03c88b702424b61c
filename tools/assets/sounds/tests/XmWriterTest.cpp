// The module writer: a file whose every length field is right, whose patterns hold each note of
// the score once, and whose instruments sound at the written pitch.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <stdexcept>

#include "Catalogue.h"
#include "Composer.h"
#include "XmWriter.h"

namespace sounds {
namespace {

struct TReader {
  const std::vector<uint8_t>& Bytes;
  size_t At = 0;
  int U8() {
    if (At >= Bytes.size()) throw std::out_of_range("past the end");
    return Bytes[At++];
  }
  int U16() { return U8() | (U8() << 8); }
  uint32_t U32() { return U16() | (static_cast<uint32_t>(U16()) << 16); }
};

struct TParsed {
  int Channels = 0, Bpm = 0, Speed = 0, Instruments = 0;
  std::vector<int> Order;
  std::vector<std::vector<std::array<int, 3>>> Patterns;  // per pattern: (row, note, instrument)
  std::vector<int> PatternRows;
  std::vector<std::vector<int>> RelativeNotes;  // per instrument, per sample
};

// Walks the whole file; every size field must lead exactly to the next structure.
TParsed Parse(const std::vector<uint8_t>& bytes) {
  TParsed xm;
  TReader in{bytes};
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 17), "Extended Module: ");
  in.At = 60;
  EXPECT_EQ(in.U32(), 276u);
  int orders = in.U16();
  in.U16();  // the restart position
  xm.Channels = in.U16();
  int patterns = in.U16();
  xm.Instruments = in.U16();
  EXPECT_EQ(in.U16(), 1);  // linear frequencies
  xm.Speed = in.U16();
  xm.Bpm = in.U16();
  for (int i = 0; i < 256; ++i) xm.Order.push_back(in.U8());
  xm.Order.resize(std::min(orders, 256));
  for (int p = 0; p < patterns; ++p) {
    EXPECT_EQ(in.U32(), 9u);
    in.U8();
    int rows = in.U16();
    size_t packed = in.U16();
    size_t end = in.At + packed;
    std::vector<std::array<int, 3>> notes;
    for (int row = 0; row < rows; ++row) {
      for (int c = 0; c < xm.Channels; ++c) {
        int flags = in.U8();
        EXPECT_TRUE(flags & 0x80) << "cells are always packed";
        int note = (flags & 1) ? in.U8() : 0;
        int instrument = (flags & 2) ? in.U8() : 0;
        EXPECT_TRUE(!(flags & 4) || in.U8() <= 0x50) << "volume column";
        if (flags & 8) in.U8();
        if (flags & 16) in.U8();
        if (note >= 1 && note <= 96) notes.push_back({row, note, instrument});
      }
    }
    EXPECT_EQ(in.At, end) << "pattern " << p << " size field";
    xm.Patterns.push_back(notes);
    xm.PatternRows.push_back(rows);
  }
  for (int i = 0; i < xm.Instruments; ++i) {
    size_t start = in.At;
    uint32_t size = in.U32();
    in.At = start + 27;
    int samples = in.U16();
    in.At = start + size;
    size_t data = 0;  // the sample data follows all the sample headers
    xm.RelativeNotes.emplace_back();
    for (int s = 0; s < samples; ++s) {
      uint32_t length = in.U32(), loopStart = in.U32(), loopLength = in.U32();
      EXPECT_LE(loopStart + loopLength, length);
      in.At += 4;
      xm.RelativeNotes.back().push_back(static_cast<int8_t>(in.U8()));
      in.At += 23;
      data += length;
    }
    in.At += data;
  }
  EXPECT_EQ(in.At, bytes.size()) << "the sample data ends the file";
  return xm;
}

TEST(XmWriter, EveryNoteOfTheScoreIsPlayedOnce) {
  for (const TPieceDefinition& piece : MusicDefinitions()) {
    if (piece.Kind != TFileKind::Module) continue;
    TScore score = Compose(piece.Style);
    TXmOptions options;
    options.EchoSteps = piece.EchoSteps;
    TParsed xm = Parse(WriteXm(score, piece.Orchestra, options));
    EXPECT_EQ(xm.Speed, 6);
    EXPECT_EQ(xm.Bpm, XmBeatsPerMinute(score));
    EXPECT_EQ(xm.Channels % 2, 0);
    EXPECT_LE(xm.Channels, 32);
    // Count the notes that start on each row of the whole song, as the order plays it.
    std::map<int, int> played;
    int row = 0;
    for (int pattern : xm.Order) {
      for (const auto& [r, note, instrument] : xm.Patterns.at(pattern)) played[row + r]++;
      row += xm.PatternRows.at(pattern);
    }
    std::map<int, int> written;
    for (const TNote& note : score.Notes) {
      written[note.Start]++;
      if (note.Part == kMelody && piece.EchoSteps > 0) written[note.Start + piece.EchoSteps]++;
    }
    // Notes beyond a part's channels are dropped only when that many overlap; here none are.
    EXPECT_EQ(played, written) << piece.FileName;
    EXPECT_GE(row * score.StepSeconds(), score.Seconds());
  }
}

TEST(XmWriter, SamplesAreTunedToTheirOctave) {
  // A melody of one note per octave: each octave gets its own sample, whose relative note
  // grows one octave lower for each octave up (the sample is recorded at that pitch).
  TScore score;
  score.Tonic = 60;
  score.Tempo = 125;
  score.Bars = 1;
  for (int octave = 0; octave < 3; ++octave)
    score.Notes.push_back({kMelody, octave * 4, 4, 48 + 12 * octave, 0.8f});
  TOrchestra orchestra;
  orchestra.Parts[kMelody].Used = true;
  orchestra.Parts[kMelody].Instrument = TInstrument::Harp;
  TParsed xm = Parse(WriteXm(score, orchestra, {}));
  // The lowest recorded at 32000 Hz around F sharp 3: 12 log2(32000 / 8363) - 54 + 60 = 29.2.
  ASSERT_EQ(xm.RelativeNotes.size(), 1u);
  EXPECT_EQ(xm.RelativeNotes[0], (std::vector<int>{29, 17, 5}));
}

TEST(XmWriter, RejectsATempoWithoutAWholeModuleTempo) {
  TScore score;
  score.Tempo = 100.5;
  score.Bars = 1;
  EXPECT_THROW(XmBeatsPerMinute(score), std::invalid_argument);
  score.Tempo = 90;
  EXPECT_EQ(XmBeatsPerMinute(score), 90);
}

}  // namespace
}  // namespace sounds
