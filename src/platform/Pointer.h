// How the player points: with a mouse, or by touch. Each system has its own implementation
// (linux/, windows/, web/).
#pragma once

namespace platform {

// True while the player points with a pointer the game should draw its arrow for (a mouse);
// false while the player plays by touch, where a finger points and no arrow follows it. A web
// page on a phone or tablet knows which the player last used; the desktop always has a mouse.
// The game asks once a frame, as it draws the pointer.
bool PointerShown();

// Called once a frame as the game draws the pointer's place, after it has taken the input given
// before that frame. A web page's touch script gives the game a finger's next mouse event only
// then, so that a tap's move, press and release each reach the game in a frame of its own, and a
// release acts where the game has drawn the pointer. Elsewhere, where the system gives the game
// every event as it comes, it does nothing.
void ReadyForNextPointerEvent();

}  // namespace platform
