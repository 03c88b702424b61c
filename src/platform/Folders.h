// Where the game's files are: the folder it keeps the player's files in, and the installed files
// some systems keep apart until they are needed. Each system has its own implementation
// (linux/, windows/, web/).
#pragma once

#include <string>

namespace platform {

// Makes the folder the game keeps its files in the current one, before the game reads any. On
// Linux that is the folder the game is started in (the launcher of an installed game starts it
// in the player's own). On Windows it is the game's own folder where its Data folder may be
// written (the portable game), or else, for a game installed in Program Files (which an
// ordinary user may not write to) or in the player's own programs folder (either of which its
// uninstaller empties) or anywhere else the player may not write, %APPDATA%\Kelvora, whose Data
// folder is made on the first run and which reads the archives from the installation. In a web
// page it is the player's folder in the browser's storage, and the archives are read from the
// files the page loaded.
void EnterGameFolder();

// Where the system keeps some of the game's installed files apart until they are needed (a web
// page fetches a language's pictures from its server only when the language is spoken), brings
// the installed file `path` (a game path, "Data\\Grafika-de.dat") to where the game reads it.
// True when it is there now; false where no file is kept apart (every other system, which
// installs them all) or it could not be fetched, and the game reads what it finds as ever.
bool FetchInstalledFile(const std::string& path);

}  // namespace platform
