// The heaviest game-view scene, which the benchmarks time natively and the browser build's page
// shows for its frame-time report. It needs only the game's state, no platform.
#pragma once

namespace bench {

// Everything the heaviest game-view frame shows, set again before each frame so that nothing
// runs out: all 312 plots bought and planted, a pipe with a running sprinkler on every one, the
// well, the watering tool's highlight, every panel open; the level can be neither won nor lost.
// With the orders panel open the plant step stands still; closed, the simulation runs too.
void FillTheField(bool ordersPanelOpen);

}  // namespace bench
