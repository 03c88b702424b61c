// The game's files, named as the game names them (ReadPath and WritePath turn them into paths of
// this system): the archives, the data files extracted from them or shipped beside them, the
// settings and the saved games. Every file of the game is named here and nowhere else.
#pragma once

#include <string>
#include <string_view>

#include "base/Files.h"

namespace data_files {

inline constexpr const char* Graphics = "Data\\Grafika.dat";  // the bitmaps
inline constexpr const char* Sounds = "Data\\Hudba.dat";      // the effects, tunes and songs
inline constexpr const char* GameData = "Data\\Game.dat";     // the level and order tables
// A language's game data, beside Czech's: its catalogue of the game's texts (CatalogueMember).
// Its file in the Data folder is named so around its code ("Game-de.dat").
inline constexpr std::string_view LanguageDataPrefix = "Game-";
inline constexpr std::string_view LanguageDataSuffix = ".dat";
inline std::string LanguageData(const std::string& code) {
  return "Data\\" + std::string(LanguageDataPrefix) + code + std::string(LanguageDataSuffix);
}
inline constexpr const char* CatalogueMember = "Texty.mo";
// A language's pictures, beside Czech's in Graphics: for each bitmap with words drawn in it, what
// the language's drawing changes in Czech's, a patch named after the bitmap
// (game/WordedBitmaps.h).
inline std::string LanguageGraphics(const std::string& code) {
  return "Data\\Grafika-" + code + ".dat";
}
inline constexpr const char* Playlist = "Data\\Hudba.ini";
inline constexpr const char* Settings = "Data\\Nastaveni.dat";
// Extracted from GameData at the start of a run and deleted at its end.
inline constexpr const char* Levels = "Data\\Level.dat";
inline constexpr const char* Orders = "Data\\Objednav.dat";

// The saved game of a slot of the save and load screen, and the one of the digit key 2.
inline std::string SaveSlotName(int slot) { return "Save" + std::to_string(slot) + ".dat"; }
inline std::string SaveSlot(int slot) { return "Data\\" + SaveSlotName(slot); }
inline constexpr const char* QuickSave = "Save.dat";

}  // namespace data_files

// Deletes a file the game unpacked for its run, named as the game names files
// ("Data\\Level.dat"), where the game writes it; a file that is not there is no error.
inline void DeleteGameFile(const char* path) { RemoveRunFile(WritePath(path)); }
