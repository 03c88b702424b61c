// Saved games out of the player's Data folder into one file, and back: the way to take them to
// another computer, another browser, or between the desktop game and the web page.
//
// The file is a pack archive, the format of the game's own Data archives: a member Save0.dat …
// Save4.dat for every save slot that holds a game, and a member Nastaveni.dat with those slots'
// summaries (their sections of the settings file). The calls take and give bytes in memory and
// texts for the player, so that a command line and a web page can both drive them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace save_transfer {

struct TResult {
  bool Ok = true;  // false when anything was refused or could not be done
  // Some slot was left as it was because it holds a game already and replacing was not asked.
  bool SlotsKept = false;
  // For the player, in the language in use (through its catalogue), UTF-8, one sentence each.
  std::vector<std::string> Messages;
};

// The file holding every save slot of the current folder's Data that has a valid game in it. Not
// Ok when there is none, or when a slot's file is damaged (the others are in `file` then).
TResult ExportSaves(std::string& file);

// Takes the saved games of a file: one made by ExportSaves, or a single saved game of the
// game's own (its file name Save0.dat … Save4.dat tells the slot). `name` is the file's name as
// the player knows it, for the messages. Every saved game is checked as a load would check it:
// a file that is damaged, holds anything else, or a saved game the game would refuse changes
// nothing. A slot that holds a game already keeps it unless `replace` is set; the other slots
// of the file are taken. Each slot taken gets its summary, so that the load screen lists it.
TResult ImportSaves(const std::string& name, std::string_view bytes, bool replace);

}  // namespace save_transfer
