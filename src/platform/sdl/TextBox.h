// A message box drawn with the game's own font (SDL_ttf), for systems whose own boxes cannot
// write every letter of the game's languages: SDL's box on X11 draws with the X server's core
// fonts, which may lack the Czech quotes and letters.
#pragma once

#include <string>

namespace platform {

// Shows `textUtf8` (lines separated by "\n") in a window titled `captionUtf8` with a button "OK"
// (translated) until the player presses it, Return, Escape or closes the window. False, having
// shown nothing, where it cannot (no display, no font).
bool ShowTextBox(const std::string& captionUtf8, const std::string& textUtf8);

}  // namespace platform
