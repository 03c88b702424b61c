// The game's files, named as the game names them (ReadPath and WritePath turn them into paths of
// this system): the archives, the data files extracted from them or shipped beside them, the
// settings and the saved games. Every file of the game is named here; the names of the files
// shipped in the Data folder come from the one list of them in cmake/Shipped.cmake, which the data
// build, the packages and the web page read too, and which writes them for this header into the
// build's generated/DataFileNames.inc.
#pragma once

#include <string>
#include <string_view>

#include "DataFileNames.inc"  // the shipped files' names, KELVORA_GRAPHICS_FILE and the others
#include "base/Files.h"

namespace data_files {

// The archives: the bitmaps, the effects, tunes and songs, and the level and order tables.
inline constexpr const char* Graphics = "Data\\" KELVORA_GRAPHICS_FILE;
inline constexpr const char* Sounds = "Data\\" KELVORA_SOUNDS_FILE;
inline constexpr const char* GameData = "Data\\" KELVORA_GAME_DATA_FILE;
// A language's game data, beside Czech's: its catalogue of the game's texts (CatalogueMember).
// Its file in the Data folder is named so around its code ("Game-de.dat").
inline constexpr std::string_view LanguageDataPrefix = KELVORA_LANGUAGE_DATA_PREFIX;
inline constexpr std::string_view LanguageDataSuffix = KELVORA_LANGUAGE_DATA_SUFFIX;
inline std::string LanguageData(const std::string& code) {
  return "Data\\" + std::string(LanguageDataPrefix) + code + std::string(LanguageDataSuffix);
}
inline constexpr const char* CatalogueMember = KELVORA_CATALOGUE_MEMBER;
// A language's pictures, beside Czech's in Graphics: for each bitmap with words drawn in it, what
// the language's drawing changes in Czech's, a patch named after the bitmap
// (game/WordedBitmaps.h). Its file is named so around its code ("Grafika-de.dat").
inline std::string LanguageGraphics(const std::string& code) {
  return "Data\\" KELVORA_LANGUAGE_GRAPHICS_PREFIX + code + KELVORA_LANGUAGE_GRAPHICS_SUFFIX;
}
inline constexpr const char* Playlist = "Data\\" KELVORA_PLAYLIST_FILE;
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
