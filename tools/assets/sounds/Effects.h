// The four sound effects of the game, as mono audio at kSampleRate. Each begins and ends at
// silence with a smooth ramp, so none of them clicks.
#pragma once

#include <vector>

namespace sounds {

std::vector<float> MakeHoverClick();    // click.mp3: a soft wooden tick
std::vector<float> MakeConfirmClick();  // click2.mp3: a firmer two-tone pluck
std::vector<float> MakeWatering();      // Zalej.mp3: water poured from a can
std::vector<float> MakeCoins();         // Kup.mp3: coins dropped on a counter

}  // namespace sounds
