// What the system offers the game's picture: whether a graphics driver is there to draw with,
// who switches full screen, and who paces the frames shown. Each system has its own
// implementation (linux/, windows/, web/).
#pragma once

namespace platform {

// True where a graphics driver can draw for this user. Without one, OpenGL can only be drawn by
// the processor, and even trying it loads tens of megabytes.
bool HasGraphicsDevice();

// True where the system around the game switches full screen itself: a web page, whose F11 and
// Alt+Enter do it (a browser grants full screen only from the player's own key or click, never
// when the game asks at its start). There the game's window stays in the page.
bool SystemOwnsFullScreen();

// Where the system paces the frames shown itself (a web page's animation frames), calls
// `show(context)` in the next of them and returns true once the system has taken that frame to
// the screen, so that the game's work on the frame after it leaves the system's frame alone;
// elsewhere returns false at once, without calling it, and the presenter keeps time and shows.
bool ShowAtDisplayFrame(void (*show)(void*), void* context);

}  // namespace platform
