// The saved-game file: the running level (calendar, order, shed, money, level record, order
// timer), the pipe and sprinkler layers and the 312 plots, in a fixed little-endian layout of
// 14196 bytes. TGame::SaveGameFile and TGame::LoadGameFile (game/SaveGame.cpp) write and read it.
// The save slots: slot s is the file data_files::SaveSlot(s) and its summary (level, date,
// money) in section "Save" + s of the settings file, which the load screen lists.
#pragma once

#include <cstddef>
#include <string>

#include "game/Records.h"

class TGame;
class TIniFile;

inline constexpr int SaveSlotCount = 5;

// Every saved game is exactly this long; a file of any other length is refused.
inline constexpr std::size_t SavedGameBytes = 14196;

// The saved-game file's bytes for the running level of `game`.
std::string SavedGameImage(const TGame& game);

// True when `bytes` hold a saved game that a load would take (the whole file, every value one
// the game can reach); `summary` then gets its slot summary.
bool CheckSavedGame(const std::string& bytes, TSaveSlotInfo& summary);

// A slot's summary as the settings file keeps it (defaults for a slot never saved), and written
// there; false when the settings file could not take it.
void ReadSlotSummary(const TIniFile& settings, int slot, TSaveSlotInfo& summary);
bool WriteSlotSummary(TIniFile& settings, int slot, const TSaveSlotInfo& summary);
// The summary as the section of the settings file that holds it.
std::string SlotSummaryText(int slot, const TSaveSlotInfo& summary);

// What became of a slot that a saved game was put into.
enum class TSlotPut {
  Put,         // the slot holds the new game and names it
  Kept,        // the game could not be put there; the slot holds its old file and summary
  MayHoldNew,  // the game's file was written but not its summary, and putting the old file or
               // summary back failed too: the slot may hold the new game under the old summary
};

// Puts the saved game `bytes` into a slot: its file, then its summary, which names a saved game
// only once the game is really in the file. Where the summary could not be written, the slot's
// old file and summary are put back (a slot that held nothing, nothing), so that the slot list
// never names another game than the slot holds; where even that fails, the caller is told.
TSlotPut PutIntoSlot(TIniFile& settings, int slot, const std::string& bytes,
                     const TSaveSlotInfo& summary);
