// Writes a score as an extended tracker module (.xm): the instruments are the synthesised
// voices rendered into samples (one per octave in use; sustained voices loop), the notes are
// laid out on pattern rows, one row per step, and repeated four-bar patterns are stored once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Render.h"
#include "Score.h"

namespace sounds {

struct TXmOptions {
  std::string Title;
  int EchoSteps = 0;  // when positive, the melody is echoed this many rows later, softly
  double TailSeconds = 2.0;
  double TargetRms = 1.0;  // the loudness aimed at; the loudest note's full volume caps it
};

// The tempo in the module's beats per minute at six ticks a row; throws when the score's
// tempo gives no whole number.
int XmBeatsPerMinute(const TScore& score);

std::vector<uint8_t> WriteXm(const TScore& score, const TOrchestra& orchestra,
                             const TXmOptions& options);

}  // namespace sounds
