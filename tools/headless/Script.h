// The runner's script language: one command a line, run against the game on the headless
// platform. Blank lines and lines starting with '#' are ignored.
//
//   wait N                          let N frames be presented
//   move X Y                        a mouse move to (X, Y)
//   press left|right|middle X Y     a button press at (X, Y)
//   release left|right|middle X Y   a button release at (X, Y)
//   click X Y                       move, press left, wait 1, release left, wait 1
//   key CODE                        a key press with that virtual-key code
//   shot FILE.png                   the last presented frame as a PNG
//   state FILE.json                 the state dump
//   lose                            the display loses its surfaces: the next flip reports a lost
//                                   device, and every surface slot's pixels are wiped
//   quit                            end the run through the program's normal shut-down
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

struct TScriptCommand {
  enum Kind { Wait, Move, Press, Release, Key, Shot, State, Lose, Quit };
  Kind kind = Wait;
  int64_t count = 0;  // frames for Wait
  int x = 0, y = 0;   // Move, Press, Release
  platform::MouseButton button = platform::MouseButton::Left;
  int key = 0;       // Key
  std::string file;  // Shot, State
  int line = 0;      // line of the script it came from
};

struct TScriptError {
  int line = 0;
  std::string text;  // the line that could not be understood
};

// Parses a whole script; `click` becomes its five commands. On a line it cannot understand it
// returns nothing and fills `error`.
std::optional<std::vector<TScriptCommand>> ParseScript(std::string_view script,
                                                       TScriptError& error);
