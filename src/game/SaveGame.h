// The saved-game file: the running level (calendar, order, shed, money, level record, order
// timer), the pipe and sprinkler layers and the 312 plots, in a fixed little-endian layout of
// 14196 bytes. TGame::SaveGameFile and TGame::LoadGameFile (game/SaveGame.cpp) write and read it.
#pragma once

#include <cstddef>
#include <string>

class TGame;

// Every saved game is exactly this long; a file of any other length is refused.
inline constexpr std::size_t SavedGameBytes = 14196;

// Writes the saved part of `game` to `path` (a game path, backslashes allowed) whole or not at
// all: the bytes go to a temporary file beside it that then replaces the old one. False when
// nothing was written; an old file at `path` is then left as it was.
bool WriteSavedGame(const TGame& game, const std::string& path);
