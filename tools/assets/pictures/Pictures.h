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

// The desktop icon, `size` pixels square (ARGB with real transparency).
TCairoSurface DrawIcon(int size);
// The icon for systems that cut it to a shape of their own (a circle, a rounded square): the
// background fills the whole square and the emblem lies within the middle circle of 80 % of its
// width, the part every such shape keeps. Opaque.
TCairoSurface DrawMaskableIcon(int size);
// The same icon as an SVG document; empty when cairo fails.
std::string DrawIconSvg();
// The sizes of the icon's PNG files: kelvora.png is the largest, kelvora-N.png the others.
inline constexpr int IconSizes[] = {256, 128, 64, 48};
// The sizes a web page's manifest names (kelvora-N.png, not in the ICO file) and the size of the
// maskable icon (kelvora-maskable-N.png).
inline constexpr int WebIconSizes[] = {192, 512};
inline constexpr int MaskableIconSize = 512;

// The Windows installer's pictures (24-bit BMP files at the sizes its pages show them):
// installer-welcome.bmp beside the welcome and finish pages, installer-header.bmp in the header
// of the others.
inline constexpr int InstallerWelcomeSize[] = {164, 314};
inline constexpr int InstallerHeaderSize[] = {150, 57};
TSheet DrawInstallerWelcome();
TSheet DrawInstallerHeader();

// All thirteen sheets, in the order of the game's bitmap table.
std::vector<TSheet> DrawAllSheets();

// The sheets with words drawn in them (Words.h), in the language of the words in use: a
// language's own pictures, which its game data holds beside Czech's. The build names the same
// files (KELVORA_WORDED_PICTURE_FILES of this folder's CMakeLists.txt).
std::vector<TSheet> DrawWordedSheets();

// Writes the worded sheets' bitmaps (DrawWordedSheets) into `dir`, and with `previews` a PNG
// copy of each. With `czechDir` (the folder of Czech's bitmaps, WriteAll's), writes beside each
// bitmap its patch of Czech's (gfx/BitmapPatch.h), named as the game asks for it (PatchName).
// Returns false and says why in `error` when a file cannot be written or a sheet cannot be patched
// from Czech's.
bool WriteWorded(const std::filesystem::path& dir, bool previews, std::string& error,
                 const std::filesystem::path& czechDir = {});

// Writes the thirteen bitmaps and the icon (kelvora.png, kelvora-N.png, kelvora.svg,
// kelvora.ico for Windows, the web page's kelvora-N.png and kelvora-maskable-N.png, and the
// installer's pictures) into `dir`
// (and, with `previews`, a PNG copy of every bitmap beside it). Returns false and says why in
// `error` when a file cannot be written.
bool WriteAll(const std::filesystem::path& dir, bool previews, std::string& error);

}  // namespace pictures
