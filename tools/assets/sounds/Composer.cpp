#include "Composer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "Rng.h"

namespace sounds {
namespace {

constexpr int kI = 0, kII = 1, kIII = 2, kIV = 3, kV = 4, kVI = 5;

// A melody note of a theme, in diatonic indices (0 = tonic), relative to the theme's start.
struct TMelodyNote {
  int Start = 0;
  int Length = 0;
  int Index = 0;
};

// A theme or section before it is placed in the piece: chords and melody, relative steps.
struct TPhrasePlan {
  std::vector<TChordSpan> Chords;
  std::vector<TMelodyNote> Melody;
};

// A one-bar motif: its rhythm (note lengths in steps) and its contour (the direction of each
// note from the one before: -2 a skip down, -1 a step down, 0 the same, +1, +2).
struct TMotif {
  std::vector<int> Rhythm;
  std::vector<int> Contour;
};

class TComposer {
 public:
  explicit TComposer(const TStyle& style) : Style(style), Rng(style.Seed) {
    Score.Tonic = style.Tonic;
    Score.BeatsPerBar = style.BeatsPerBar;
    Score.StepsPerBeat = style.StepsPerBeat;
    Score.Tempo = style.Tempo;
    Score.Loops = style.Loops;
  }

  TScore Run() {
    ThemeA = MakePeriod({kI}, 4);
    ThemeB = MakePeriod({kIV, kVI}, 6);
    ThemeBTurn = ThemeB;
    EndPeriodOnDominant(ThemeBTurn);
    Bridge = MakeBridge();
    for (size_t i = 0; i < Style.Form.size(); ++i) {
      bool last = i + 1 == Style.Form.size();
      PlaceSection(Style.Form[i], last && Style.Loops, i == 0);
    }
    Score.Bars = BarCursor;
    WriteAccompaniment();
    std::stable_sort(Score.Notes.begin(), Score.Notes.end(),
                     [](const TNote& a, const TNote& b) { return a.Start < b.Start; });
    return Score;
  }

 private:
  int BarSteps() const { return Style.BeatsPerBar * Style.StepsPerBeat; }
  // Metres with an even number of beats change chord at the half bar before a cadence.
  bool SplitsBars() const { return Style.BeatsPerBar % 2 == 0; }
  int MelodyLow() const { return -2; }
  int MelodyHigh() const { return 10; }

  // ---- Harmony ----

  // The next chord after `from`, by the usual tendencies of functional harmony.
  int NextChord(int from, std::initializer_list<int> allowed) {
    static const double kWeights[6][6] = {
        // to: I    ii   iii  IV   V    vi
        {0.0, 1.0, 0.3, 3.0, 2.0, 2.5},  // from I
        {0.5, 0.0, 0.0, 0.5, 4.0, 0.5},  // from ii
        {0.5, 0.0, 0.0, 2.0, 0.0, 3.0},  // from iii
        {2.0, 1.0, 0.0, 0.0, 3.0, 0.5},  // from IV
        {3.0, 0.0, 0.0, 0.5, 0.0, 1.5},  // from V
        {0.5, 2.5, 0.3, 3.0, 1.0, 0.0},  // from vi
    };
    double weights[6] = {0};
    double total = 0;
    for (int to : allowed) {
      weights[to] = kWeights[from][to];
      total += weights[to];
    }
    if (total <= 0) return *allowed.begin();
    double pick = Rng.Uniform() * total;
    for (int to = 0; to < 6; ++to) {
      if (pick < weights[to]) return to;
      pick -= weights[to];
    }
    return *allowed.begin();
  }

  void AddChord(TPhrasePlan& plan, int bar, int root, bool seventh = false, int offset = 0,
                int length = -1) {
    if (length < 0) length = BarSteps() - offset;
    plan.Chords.push_back({bar * BarSteps() + offset, length, TChord{root, seventh}});
  }

  // Bar `bar` of a phrase that cadences: a predominant and the dominant seventh share the bar
  // in even metres; odd metres give the whole bar to the dominant.
  void AddCadenceApproach(TPhrasePlan& plan, int bar, int previous) {
    if (SplitsBars()) {
      int predominant = NextChord(previous, {kII, kIV});
      AddChord(plan, bar, predominant, false, 0, BarSteps() / 2);
      AddChord(plan, bar, kV, true, BarSteps() / 2, BarSteps() / 2);
    } else {
      AddChord(plan, bar, kV, true);
    }
  }

  // ---- Melody ----

  // A bar of rhythm, beat by beat, from cells of the metre: mostly quarters and eighths,
  // now and then a dotted figure or a note over two beats. A calm bar (the answer of a
  // phrase) prefers the longer cells.
  std::vector<int> MakeRhythm(bool calm) {
    const int beat = Style.StepsPerBeat;
    std::vector<int> rhythm;
    int beatIndex = 0;
    while (beatIndex < Style.BeatsPerBar) {
      bool twoBeats = beatIndex + 2 <= Style.BeatsPerBar && Rng.Chance(calm ? 0.4 : 0.15);
      if (twoBeats) {
        if (beat == 4) {
          if (Rng.Chance(0.5))
            rhythm.push_back(8);
          else
            rhythm.insert(rhythm.end(), {6, 2});
        } else {
          rhythm.insert(rhythm.end(), {8, 4});
        }
        beatIndex += 2;
        continue;
      }
      if (beat == 4) {
        static const std::vector<int> kCells[5] = {{4}, {2, 2}, {3, 1}, {2, 1, 1}, {1, 1, 2}};
        int cell =
            calm ? Rng.Weighted({5, 3, 0.5, 0.2, 0.1}) : Rng.Weighted({2.5, 4, 0.7, 0.5, 0.3});
        rhythm.insert(rhythm.end(), kCells[cell].begin(), kCells[cell].end());
      } else {
        static const std::vector<int> kCells[3] = {{6}, {4, 2}, {2, 2, 2}};
        int cell = calm ? Rng.Weighted({4, 3, 1}) : Rng.Weighted({1.5, 3, 3});
        rhythm.insert(rhythm.end(), kCells[cell].begin(), kCells[cell].end());
      }
      ++beatIndex;
    }
    return rhythm;
  }

  // A motif: a rhythm and a contour drawn from a few melodic shapes (a scale run, a broken
  // chord filled in by steps, a turn around a note), possibly mirrored.
  TMotif MakeMotif(bool calm = false) {
    static const std::vector<int> kShapes[6] = {{1, 1, 1, 1, 1, 1},     {2, 2, -1, -1, -1, -1},
                                                {1, -1, -1, 1, 1, 1},   {-1, -1, -1, -1, 2, 1},
                                                {2, -1, -1, -1, 1, -1}, {-1, 1, 1, 1, -2, -1}};
    TMotif motif;
    motif.Rhythm = MakeRhythm(calm);
    const std::vector<int>& shape = kShapes[Rng.Below(6)];
    int mirror = Rng.Chance(0.3) ? -1 : 1;
    for (size_t i = 0; i < motif.Rhythm.size(); ++i)
      motif.Contour.push_back(mirror * shape[i % shape.size()]);
    return motif;
  }

  const TChord& ChordAt(const TPhrasePlan& plan, int step) const {
    for (const TChordSpan& span : plan.Chords)
      if (step >= span.Start && step < span.Start + span.Length) return span.Chord;
    return plan.Chords.back().Chord;
  }

  bool IsStrongStep(int stepInBar) const { return stepInBar % Style.StepsPerBeat == 0; }

  // Whether moving from index a to index b is a melodic tritone (avoided).
  bool IsTritone(int a, int b) const {
    return std::abs(DiatonicToMidi(0, a) - DiatonicToMidi(0, b)) % 12 == 6;
  }

  // The next melody note, the best of the candidates by the rules of a singable line: on a
  // beat only chord tones; off the beat chord tones or tones a step away (passing and
  // neighbour notes); follow the motif's contour; few repeated notes, no see-sawing, no
  // melodic tritone, a leap answered by a step back; stay near the middle of the range.
  int ChooseIndex(int previous, int direction, bool strong, const TChord& chord) {
    int best = previous;
    double bestScore = 1e9;
    for (int candidate = previous - 5; candidate <= previous + 5; ++candidate) {
      if (candidate < MelodyLow() || candidate > MelodyHigh()) continue;
      int interval = candidate - previous;
      bool chordTone = IsChordTone(chord, candidate);
      if (strong && !chordTone) continue;
      if (!chordTone && std::abs(interval) != 1) continue;
      if (IsTritone(previous, candidate)) continue;
      double score = std::abs(interval - direction);
      if (interval == 0) score += RepeatCount >= 1 ? 4.0 : 1.2;
      if (std::abs(interval) >= 4) score += 1.5;
      if (HasPrevious2 && candidate == Previous2 && std::abs(previous - Previous2) == 1)
        score += 1.2;
      if (std::abs(LastLeap) >= 3) score += interval * LastLeap > 0 ? 3.0 : -0.5;
      score += 0.15 * std::abs(candidate - Centre);
      score += 0.35 * Rng.Uniform();
      if (score < bestScore) {
        bestScore = score;
        best = candidate;
      }
    }
    return best;
  }

  void AppendNote(std::vector<TMelodyNote>& melody, int start, int length, int index) {
    int previous = melody.empty() ? CurrentIndex : melody.back().Index;
    int leap = index - previous;
    Previous2 = previous;
    HasPrevious2 = !melody.empty();
    RepeatCount = leap == 0 ? RepeatCount + 1 : 0;
    LastLeap = leap;
    CurrentIndex = index;
    melody.push_back({start, length, index});
  }

  // Realises a motif over bar `bar` of the plan, starting from the current melody note.
  void MotifBar(TPhrasePlan& plan, int bar, const TMotif& motif) {
    int step = bar * BarSteps();
    for (size_t i = 0; i < motif.Rhythm.size(); ++i) {
      bool strong = IsStrongStep(step % BarSteps());
      int index = ChooseIndex(CurrentIndex, motif.Contour[i], strong, ChordAt(plan, step));
      AppendNote(plan.Melody, step, motif.Rhythm[i], index);
      step += motif.Rhythm[i];
    }
  }

  // A bar that steers the melody towards the cadence note `goal`.
  void ApproachBar(TPhrasePlan& plan, int bar, const std::vector<int>& rhythm, int goal) {
    int step = bar * BarSteps();
    for (size_t i = 0; i < rhythm.size(); ++i) {
      int distance = goal - CurrentIndex;
      int direction = distance > 1 ? 1 : distance < -1 ? -1 : (Rng.Chance(0.5) ? 1 : -1);
      if (i + 1 == rhythm.size() && std::abs(distance) <= 2 && distance != 0)
        direction = distance > 0 ? 1 : -1;
      bool strong = IsStrongStep(step % BarSteps());
      int index = ChooseIndex(CurrentIndex, direction, strong, ChordAt(plan, step));
      AppendNote(plan.Melody, step, rhythm[i], index);
      step += rhythm[i];
    }
  }

  // The cadence bar: one long note on whichever of `degrees` (0 tonic, 4 dominant, 1
  // supertonic), in whichever octave of the melody's range, lies nearest to the melody, leaving a
  // breath before the next phrase.
  void CadenceBar(TPhrasePlan& plan, int bar, std::initializer_list<int> degrees) {
    int best = CurrentIndex;
    int bestDistance = 1000;
    for (int degree : degrees) {
      for (int octave = -1; octave <= 2; ++octave) {
        int candidate = degree + 7 * octave;
        if (candidate < MelodyLow() || candidate > MelodyHigh()) continue;
        int distance = std::abs(candidate - CurrentIndex);
        if (distance < bestDistance) {
          bestDistance = distance;
          best = candidate;
        }
      }
    }
    int length = BarSteps() - Style.StepsPerBeat / 2;
    AppendNote(plan.Melody, bar * BarSteps(), length, best);
  }

  // A period of eight bars: a four-bar antecedent that ends on the dominant (half cadence)
  // and a consequent that repeats its first two bars and ends on the tonic.
  TPhrasePlan MakePeriod(std::initializer_list<int> openings, int centre) {
    TPhrasePlan plan;
    Centre = centre;
    HasPrevious2 = false;
    int opening = *(openings.begin() + Rng.Below(static_cast<int>(openings.size())));
    int second = NextChord(opening, {kI, kII, kIII, kIV, kV, kVI});
    int third = NextChord(second, {kI, kII, kIV});
    AddChord(plan, 0, opening);
    AddChord(plan, 1, second);
    AddChord(plan, 2, third);
    AddChord(plan, 3, kV);
    AddChord(plan, 4, opening);
    AddChord(plan, 5, second);
    AddCadenceApproach(plan, 6, second);
    AddChord(plan, 7, kI);

    // The melody starts on a tone of the opening chord in the middle of the range.
    CurrentIndex = IsChordTone(plan.Chords[0].Chord, 2) ? 2 : (opening == kIV ? 3 : 5);
    if (Rng.Chance(0.4)) CurrentIndex += IsChordTone(plan.Chords[0].Chord, 4) ? 2 : 0;
    LastLeap = 0;
    RepeatCount = 0;
    TMotif first = MakeMotif();
    TMotif answer = MakeMotif(true);
    MotifBar(plan, 0, first);
    MotifBar(plan, 1, answer);
    MotifBar(plan, 2, first);  // the motif again, sequenced over a new chord
    CadenceBar(plan, 3, {4, 1});
    // The consequent repeats the opening bars note for note...
    size_t openingNotes = 0;
    while (openingNotes < plan.Melody.size() && plan.Melody[openingNotes].Start < 2 * BarSteps())
      ++openingNotes;
    for (size_t i = 0; i < openingNotes; ++i) {
      TMelodyNote copy = plan.Melody[i];
      copy.Start += 4 * BarSteps();
      plan.Melody.push_back(copy);
    }
    CurrentIndex = plan.Melody.back().Index;
    LastLeap = 0;
    // ...and turns towards the tonic.
    ApproachBar(plan, 6, answer.Rhythm, 0);
    CadenceBar(plan, 7, {0});
    return plan;
  }

  // Makes a period end on the dominant, so that it leads back into the start of a loop.
  void EndPeriodOnDominant(TPhrasePlan& plan) {
    TChordSpan& last = plan.Chords.back();
    last.Chord = TChord{kV, true};
    plan.Chords.erase(std::remove_if(plan.Chords.begin(), plan.Chords.end(),
                                     [&](const TChordSpan& s) {
                                       return s.Start >= 6 * BarSteps() && s.Start < 7 * BarSteps();
                                     }),
                      plan.Chords.end());
    AddChord(plan, 6, kIV);
    std::sort(plan.Chords.begin(), plan.Chords.end(),
              [](const TChordSpan& a, const TChordSpan& b) { return a.Start < b.Start; });
    TMelodyNote& final = plan.Melody.back();
    // The last note becomes the nearest tone of the dominant seventh.
    int best = final.Index;
    for (int d = 0; d <= 3; ++d) {
      if (IsChordTone(last.Chord, final.Index - d)) {
        best = final.Index - d;
        break;
      }
      if (IsChordTone(last.Chord, final.Index + d)) {
        best = final.Index + d;
        break;
      }
    }
    final.Index = best;
    // Notes of bar 7 that no longer fit the new predominant move to its nearest tone.
    for (TMelodyNote& note : plan.Melody) {
      if (note.Start < 6 * BarSteps() || note.Start >= 7 * BarSteps()) continue;
      if (!IsStrongStep(note.Start % BarSteps()) || IsChordTone(TChord{kIV}, note.Index)) continue;
      note.Index += IsChordTone(TChord{kIV}, note.Index + 1) ? 1 : -1;
    }
  }

  // A bridge of eight bars: a one-bar motif carried through a chain of chords by sequence,
  // ending on the dominant to lead back to the theme.
  TPhrasePlan MakeBridge() {
    static const int kChains[3][8] = {
        {kVI, kII, kV, kI, kIV, kVI, kII, kV},
        {kIV, kV, kIII, kVI, kII, kV, kI, kV},
        {kII, kV, kI, kVI, kIV, kI, kII, kV},
    };
    const int* chain = kChains[Rng.Below(3)];
    TPhrasePlan plan;
    Centre = 5;
    HasPrevious2 = false;
    for (int bar = 0; bar < 8; ++bar) AddChord(plan, bar, chain[bar], bar == 7);
    CurrentIndex = 4;
    LastLeap = 0;
    RepeatCount = 0;
    TMotif motif = MakeMotif();
    for (int bar = 0; bar < 8; ++bar) {
      if (bar == 3 || bar == 7) {
        CadenceBar(plan, bar, {chain[bar], chain[bar] + 2, chain[bar] + 4});
        continue;
      }
      MotifBar(plan, bar, motif);
    }
    return plan;
  }

  // ---- Placing sections ----

  void AddMelody(const TPhrasePlan& plan, int firstStep, int bars, bool vary) {
    std::vector<TMelodyNote> notes;
    for (const TMelodyNote& note : plan.Melody)
      if (note.Start < bars * BarSteps()) notes.push_back(note);
    if (vary) notes = Ornament(plan, notes);
    int count = static_cast<int>(notes.size());
    for (int i = 0; i < count; ++i) {
      const TMelodyNote& note = notes[i];
      int stepInBar = note.Start % BarSteps();
      float accent = stepInBar == 0 ? 0.1f : IsStrongStep(stepInBar) ? 0.04f : 0.0f;
      float arch = 0.06f * static_cast<float>(std::sin(3.14159 * (note.Start % (4 * BarSteps())) /
                                                       (4.0 * BarSteps())));
      Score.Notes.push_back({kMelody, firstStep + note.Start, note.Length,
                             DiatonicToMidi(Style.Tonic, note.Index), 0.68f + accent + arch});
    }
  }

  // The varied repeat: where the melody skips a third over a note of a beat or more, the
  // note is split and the gap filled with a passing tone.
  std::vector<TMelodyNote> Ornament(const TPhrasePlan& plan,
                                    const std::vector<TMelodyNote>& notes) {
    std::vector<TMelodyNote> varied;
    for (size_t i = 0; i < notes.size(); ++i) {
      TMelodyNote note = notes[i];
      bool fill = i + 1 < notes.size() && std::abs(notes[i + 1].Index - note.Index) == 2 &&
                  note.Length >= Style.StepsPerBeat && note.Length % 2 == 0 &&
                  notes[i + 1].Start == note.Start + note.Length && Rng.Chance(0.45);
      if (!fill) {
        varied.push_back(note);
        continue;
      }
      int half = note.Length / 2;
      int passing = (note.Index + notes[i + 1].Index) / 2;
      // A passing tone that falls on a beat must belong to the chord there.
      if (IsStrongStep((note.Start + half) % BarSteps()) &&
          !IsChordTone(ChordAt(plan, note.Start + half), passing)) {
        varied.push_back(note);
        continue;
      }
      varied.push_back({note.Start, half, note.Index});
      varied.push_back({note.Start + half, note.Length - half, passing});
    }
    return varied;
  }

  // A counter-melody of long notes below the melody: chord tones a third or sixth under it,
  // moving as little as possible.
  void AddCounter(const TPhrasePlan& plan, int firstStep, int bars) {
    int span = Style.BeatsPerBar == 3 ? BarSteps() : BarSteps() / 2;
    int previous = 0;
    for (int step = 0; step < bars * BarSteps(); step += span) {
      const TChord& chord = ChordAt(plan, step);
      int melody = 4;
      for (const TMelodyNote& note : plan.Melody)
        if (note.Start <= step && note.Start + note.Length > step) melody = note.Index;
      int best = previous;
      double bestScore = 1e9;
      for (int candidate = -7; candidate <= 3; ++candidate) {
        if (!IsChordTone(chord, candidate) || candidate >= melody) continue;
        int below = Mod(melody - candidate, 7);
        double score = std::abs(candidate - previous) + (below == 0 ? 4.0 : 0.0) +
                       ((below == 2 || below == 5) ? 0.0 : 1.0) + 0.1 * Rng.Uniform();
        if (score < bestScore) {
          bestScore = score;
          best = candidate;
        }
      }
      previous = best;
      int length = span - Style.StepsPerBeat / 4;
      Score.Notes.push_back(
          {kCounter, firstStep + step, length, DiatonicToMidi(Style.Tonic, best), 0.5f});
    }
  }

  void AddChords(const TPhrasePlan& plan, int firstStep, int bars) {
    for (const TChordSpan& span : plan.Chords)
      if (span.Start < bars * BarSteps())
        Score.Harmony.push_back({firstStep + span.Start, span.Length, span.Chord});
  }

  TPhrasePlan FourBars(std::initializer_list<int> roots) {
    TPhrasePlan plan;
    int bar = 0;
    for (int root : roots) {
      AddChord(plan, bar, root, root == kV && bar == 3);
      ++bar;
    }
    return plan;
  }

  void PlaceSection(char kind, bool turnToStart, bool first) {
    int firstStep = BarCursor * BarSteps();
    int bars = 8;
    int percussion = 2;
    switch (kind) {
      case 'I': {
        bars = 4;
        percussion = 0;
        AddChords(Rng.Chance(0.5) ? FourBars({kI, kIV, kI, kV}) : FourBars({kI, kVI, kIV, kV}),
                  firstStep, bars);
        break;
      }
      case 'H':
        bars = 4;
        percussion = 1;
        AddChords(ThemeA, firstStep, bars);
        AddMelody(ThemeA, firstStep, bars, false);
        break;
      case 'A':
      case 'a': {
        TPhrasePlan theme = ThemeA;
        if (turnToStart) EndPeriodOnDominant(theme);
        AddChords(theme, firstStep, bars);
        AddMelody(theme, firstStep, bars, kind == 'a');
        if (kind == 'a') AddCounter(theme, firstStep, bars);
        percussion = first || !SeenThemeA ? 1 : 2;
        SeenThemeA = true;
        break;
      }
      case 'B':
      case 'b': {
        const TPhrasePlan& theme = turnToStart ? ThemeBTurn : ThemeB;
        AddChords(theme, firstStep, bars);
        AddMelody(theme, firstStep, bars, kind == 'b');
        if (kind == 'b') AddCounter(theme, firstStep, bars);
        break;
      }
      case 'C':
        AddChords(Bridge, firstStep, bars);
        AddMelody(Bridge, firstStep, bars, false);
        AddCounter(Bridge, firstStep, bars);
        break;
      case 'O': {
        bars = 4;
        percussion = 1;
        TPhrasePlan ending;
        AddChord(ending, 0, kIV);
        AddChord(ending, 1, kV, true);
        AddChord(ending, 2, kI);
        AddChord(ending, 3, kI);
        CurrentIndex = 4;
        LastLeap = 0;
        Centre = 3;
        HasPrevious2 = false;
        TMotif motif = MakeMotif();
        MotifBar(ending, 0, motif);
        ApproachBar(ending, 1, motif.Rhythm, 0);
        CadenceBar(ending, 2, {0});
        ending.Melody.back().Length = 2 * BarSteps() - Style.StepsPerBeat;
        AddChords(ending, firstStep, bars);
        AddMelody(ending, firstStep, bars, false);
        break;
      }
      default:
        return;
    }
    Score.Sections.push_back({kind, BarCursor, bars});
    if (Style.Percussion) AddPercussion(firstStep, bars, percussion, kind == 'O');
    BarCursor += bars;
  }

  // ---- Accompaniment, bass and percussion ----

  void AddPercussion(int firstStep, int bars, int level, bool ending) {
    if (level == 0) return;
    const int beat = Style.StepsPerBeat;
    const int eighth = 2;  // steps of an eighth note in both metres
    for (int bar = 0; bar < bars; ++bar) {
      if (ending && bar >= 2) {
        if (bar == 2) Score.Notes.push_back({kKick, firstStep + bar * BarSteps(), beat, 60, 0.6f});
        continue;
      }
      int barStart = firstStep + bar * BarSteps();
      for (int step = 0; step < BarSteps(); step += eighth) {
        bool onBeat = step % beat == 0;
        float velocity = onBeat ? 0.35f : 0.55f;
        if (Style.BeatsPerBar == 3 && step == 0) velocity = 0.25f;
        velocity += 0.08f * static_cast<float>(Rng.Signed());
        Score.Notes.push_back({kShaker, barStart + step, eighth, 60, velocity});
      }
      if (level < 2) continue;
      Score.Notes.push_back({kKick, barStart, beat, 60, 0.7f});
      if (Style.BeatsPerBar == 4 && Rng.Chance(0.6))
        Score.Notes.push_back({kKick, barStart + 2 * beat, beat, 60, 0.45f});
      if (Style.BeatsPerBar == 2) Score.Notes.push_back({kKick, barStart + beat, beat, 60, 0.4f});
      // A light wood tap on the back beats, and a little fill before each new phrase.
      if (Style.BeatsPerBar == 4) {
        Score.Notes.push_back({kWood, barStart + beat, 2, 60, 0.35f});
        Score.Notes.push_back({kWood, barStart + 3 * beat, 2, 60, 0.4f});
      } else if (Style.BeatsPerBar == 3) {
        Score.Notes.push_back({kWood, barStart + beat, 2, 60, 0.3f});
        Score.Notes.push_back({kWood, barStart + 2 * beat, 2, 60, 0.3f});
      }
      if (bar % 4 == 3)
        Score.Notes.push_back({kWood, barStart + BarSteps() - eighth, eighth, 60, 0.45f});
    }
  }

  // The chord sounding at an absolute step.
  const TChordSpan& SpanAt(int step) const {
    for (const TChordSpan& span : Score.Harmony)
      if (step >= span.Start && step < span.Start + span.Length) return span;
    return Score.Harmony.back();
  }

  // The bass octave: the chord root placed nearest to the previous bass note, within E1..E3.
  int BassPitch(int degree, int previous) {
    int best = 40;
    int bestDistance = 1000;
    for (int octave = -4; octave <= 0; ++octave) {
      int pitch = DiatonicToMidi(Style.Tonic, degree + 7 * octave);
      if (pitch < 36 || pitch > 52) continue;
      int distance = std::abs(pitch - previous);
      if (distance < bestDistance) {
        bestDistance = distance;
        best = pitch;
      }
    }
    return best;
  }

  void WriteAccompaniment() {
    WriteBass();
    WriteArpeggios();
    if (Style.Pad) WritePad();
  }

  void WriteBass() {
    const int beat = Style.StepsPerBeat;
    int previous = 43;
    for (size_t i = 0; i < Score.Harmony.size(); ++i) {
      const TChordSpan& span = Score.Harmony[i];
      bool last = i + 1 == Score.Harmony.size();
      int root = BassPitch(span.Chord.Root, previous);
      previous = root;
      bool finalChord = last && !Score.Loops;
      if (span.Length < BarSteps() || finalChord || Style.Accompaniment == TAccompaniment::Waltz) {
        int length = finalChord ? span.Length : span.Length - 1;
        if (Style.Accompaniment == TAccompaniment::Waltz && !finalChord)
          length = std::min(length, 2 * beat - 1);
        Score.Notes.push_back({kBass, span.Start, length, root, 0.75f});
        continue;
      }
      // Root on the downbeat, the fifth at the half bar (or on the last beat in 3/4), and now
      // and then a step leading into the next chord.
      int half = Style.BeatsPerBar == 3 ? 2 * beat : BarSteps() / 2;
      int fifth = DiatonicToMidi(Style.Tonic, span.Chord.Root + 4);
      while (fifth > root + 7) fifth -= 12;
      while (fifth < root) fifth += 12;
      if (fifth > 52) fifth -= 12;
      Score.Notes.push_back({kBass, span.Start, half - 1, root, 0.75f});
      int nextRoot = last ? root : BassPitch(Score.Harmony[i + 1].Chord.Root, root);
      if (Style.BeatsPerBar == 4 && nextRoot != root && Rng.Chance(0.35)) {
        Score.Notes.push_back({kBass, span.Start + half, beat - 1, fifth, 0.62f});
        int approach = nextRoot + (nextRoot > root ? -1 : 1) * (Rng.Chance(0.5) ? 2 : 1);
        if (!InMajorKey(Style.Tonic, approach)) approach += nextRoot > root ? -1 : 1;
        Score.Notes.push_back({kBass, span.Start + half + beat, beat - 1, approach, 0.6f});
      } else {
        Score.Notes.push_back({kBass, span.Start + half, span.Length - half - 1, fifth, 0.62f});
      }
    }
  }

  // Broken chords on the plucked instrument, eighth notes that ring until the chord changes;
  // or, in a waltz, the chord on the second and third beat.
  void WriteArpeggios() {
    static const int kFigures[3][6] = {{0, 1, 2, 3, 2, 1}, {0, 2, 1, 3, 2, 1}, {0, 1, 2, 1, 3, 1}};
    static const int kFourFour[3][8] = {
        {0, 1, 2, 3, 4, 3, 2, 1}, {0, 2, 1, 3, 0, 2, 1, 3}, {0, 1, 2, 1, 3, 1, 2, 1}};
    const int eighth = 2;
    const int barSteps = BarSteps();
    for (int step = 0; step < Score.TotalSteps(); step += eighth) {
      const TChordSpan& span = SpanAt(step);
      int stepInBar = step % barSteps;
      int ringEnd = std::min(span.Start + span.Length, step + barSteps);
      bool finalChord = !Score.Loops && &span == &Score.Harmony.back();
      if (finalChord && step > span.Start) continue;
      if (finalChord) ringEnd = span.Start + span.Length;
      // The chord tones as diatonic indices an octave below the melody: root, fifth,
      // octave, tenth and twelfth (the seventh replaces the octave).
      int root = span.Chord.Root - 14;
      while (DiatonicToMidi(Style.Tonic, root) < Style.Tonic - 20) root += 7;
      int tones[5] = {root, root + 4, span.Chord.Seventh ? root + 6 : root + 7, root + 9,
                      root + 11};
      if (finalChord) {
        // The last chord is spread once, slowly, from the bottom.
        for (int t = 0; t < 5; ++t)
          Score.Notes.push_back(
              {kArp, step + t, ringEnd - step - t, DiatonicToMidi(Style.Tonic, tones[t]), 0.45f});
        continue;
      }
      if (Style.Accompaniment == TAccompaniment::Waltz) {
        if (stepInBar % Style.StepsPerBeat != 0 || stepInBar == 0) continue;
        for (int t = 2; t <= 4; ++t)
          Score.Notes.push_back(
              {kArp, step, Style.StepsPerBeat - 1, DiatonicToMidi(Style.Tonic, tones[t]), 0.38f});
        continue;
      }
      int position = stepInBar / eighth;
      int figure = Style.BeatsPerBar == 4 ? kFourFour[Style.ArpPattern % 3][position % 8]
                                          : kFigures[Style.ArpPattern % 3][position % 6];
      float velocity = (stepInBar == 0 ? 0.5f : 0.38f) + 0.04f * static_cast<float>(Rng.Signed());
      Score.Notes.push_back({kArp, step, std::max(eighth, ringEnd - step),
                             DiatonicToMidi(Style.Tonic, tones[figure]), velocity});
    }
  }

  // Sustained three-note chords, each voiced as close as possible to the one before.
  void WritePad() {
    std::vector<int> previous = {Style.Tonic - 5, Style.Tonic - 1, Style.Tonic + 2};
    for (size_t i = 0; i < Score.Harmony.size(); ++i) {
      const TChordSpan& span = Score.Harmony[i];
      int length = span.Length;
      // A chord repeated in the next span is held on.
      while (i + 1 < Score.Harmony.size() && Score.Harmony[i + 1].Chord.Root == span.Chord.Root &&
             Score.Harmony[i + 1].Chord.Seventh == span.Chord.Seventh) {
        ++i;
        length += Score.Harmony[i].Length;
      }
      std::vector<int> best;
      int bestCost = 1 << 30;
      for (int inversion = 0; inversion < 3; ++inversion) {
        for (int octave = -3; octave <= 1; ++octave) {
          std::vector<int> voicing;
          // Root position and inversions; a seventh chord leaves out its fifth.
          const int triad[3] = {0, 2, span.Chord.Seventh ? 6 : 4};
          for (int t = 0; t < 3; ++t) {
            int tone = inversion + t;
            int degree = span.Chord.Root + triad[tone % 3] + 7 * (tone / 3);
            voicing.push_back(DiatonicToMidi(Style.Tonic, degree + 7 * octave));
          }
          if (voicing.front() < Style.Tonic - 12 || voicing.back() > Style.Tonic + 4) continue;
          int cost = 0;
          for (int t = 0; t < 3; ++t) cost += std::abs(voicing[t] - previous[t]);
          if (cost < bestCost) {
            bestCost = cost;
            best = voicing;
          }
        }
      }
      if (best.empty()) best = previous;
      previous = best;
      bool finalChord = i + 1 == Score.Harmony.size() && !Score.Loops;
      for (int pitch : best)
        Score.Notes.push_back({kPad, span.Start, length - (finalChord ? 0 : 1), pitch, 0.42f});
    }
  }

  const TStyle& Style;
  TRng Rng;
  TScore Score;
  TPhrasePlan ThemeA, ThemeB, ThemeBTurn, Bridge;
  int BarCursor = 0;
  int CurrentIndex = 2;
  int LastLeap = 0;
  int RepeatCount = 0;
  int Previous2 = 0;
  bool HasPrevious2 = false;
  int Centre = 4;  // the middle of the melody's range for the phrase being written
  bool SeenThemeA = false;
};

}  // namespace

TScore Compose(const TStyle& style) { return TComposer(style).Run(); }

}  // namespace sounds
