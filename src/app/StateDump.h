// The game's state as one JSON object whose keys are the names the game's code uses (the form's
// flags, the game object's members, the frames presented so far): the runner's `state` command
// writes it, and the web page's test hook returns it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Starts the audio log: every Load, Play and Stop of a clip from now on, with the number of
// frames presented by then, as `framesPresented` tells it.
void RecordAudio(std::function<uint64_t()> framesPresented);

// The state, with the frames the platform has presented and the messages it has shown.
std::string StateDumpJson(uint64_t framesPresented, const std::vector<std::string>& messages);
