// The `state` command: the state of the game as one JSON object whose keys are the names the
// game's code uses (the form's flags, the game object's members, the frames presented so far).
#pragma once

#include <array>
#include <string>

#include "gfx/Surface.h"
#include "platform/headless/HeadlessPlatform.h"

// Starts the audio log: every Load, Play and Stop of a clip from now on, with the frame.
void RecordAudio(platform::THeadlessPlatform& platform);

std::string StateDumpJson(platform::THeadlessPlatform& platform);
// Writes the file whole or not at all.
bool WriteStateDump(platform::THeadlessPlatform& platform, const std::string& file);
