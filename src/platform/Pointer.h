// How the player points: with a mouse, or by touch. Each system has its own implementation
// (linux/, windows/, web/).
#pragma once

namespace platform {

// True while the player points with a pointer the game should draw its arrow for (a mouse);
// false while the player plays by touch, where a finger points and no arrow follows it. A web
// page on a phone or tablet knows which the player last used; the desktop always has a mouse.
// The game asks once a frame, as it draws the pointer.
bool PointerShown();

}  // namespace platform
