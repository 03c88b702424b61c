// The game's pictures: one function per bitmap, each returning the finished sheet.
#pragma once

#include <cairo.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Sheet.h"

namespace pictures {

TSheet DrawLogo();     // Loga.bmp
TSheet DrawSplash();   // Splash.bmp
TSheet DrawCursor();   // Mys.bmp
TSheet DrawPlants();   // Rostliny.bmp
TSheet DrawClouds();   // Mraky.bmp
TSheet DrawMain();     // Main.bmp
TSheet DrawMenu();     // Menu.bmp
TSheet DrawField();    // Pole.bmp
TSheet DrawWater();    // Voda.bmp
TSheet DrawOrders();   // Objednav.bmp
TSheet DrawSheds();    // Kulny.bmp
TSheet DrawSymbols();  // Symboly.bmp
TSheet DrawLevel();    // Level.bmp

// The 256 x 256 desktop icon (ARGB with real transparency); the caller destroys it.
TCairoSurface DrawIcon();

// All thirteen sheets, in the order of the game's bitmap table.
std::vector<TSheet> DrawAllSheets();

// Writes the thirteen bitmaps and kelvora.png into `dir` (and, with `previews`, a PNG copy of
// every bitmap beside it). Returns false and says why in `error` when a file cannot be written.
bool WriteAll(const std::filesystem::path& dir, bool previews, std::string& error);

}  // namespace pictures
