// What the platform asks of the operating system itself: the clock, a precise sleep, and whether
// a graphics driver is there to draw with. Each system has its own implementation (linux/,
// windows/, web/).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The monotonic clock in nanoseconds, and a precise sleep until a moment of it.
uint64_t MonotonicNanoseconds();
void SleepUntil(uint64_t momentNs);

// True where a graphics driver can draw for this user. Without one, OpenGL can only be drawn by
// the processor, and even trying it loads tens of megabytes.
bool HasGraphicsDevice();

// True where the system around the game switches full screen itself: a web page, whose F11 and
// Alt+Enter do it (a browser grants full screen only from the player's own key or click, never
// when the game asks at its start). There the game's window stays in the page.
bool SystemOwnsFullScreen();

// Where the system paces the frames shown itself (a web page's animation frames), calls
// `show(context)` in the next of them and returns true once the system has taken that frame to
// the screen, so that the game's work on the frame after it leaves the system's frame alone;
// elsewhere returns false at once, without calling it, and the presenter keeps time and shows.
bool ShowAtDisplayFrame(void (*show)(void*), void* context);

// True while the player points with a pointer the game should draw its arrow for (a mouse);
// false while the player plays by touch, where a finger points and no arrow follows it. A web
// page on a phone or tablet knows which the player last used; the desktop always has a mouse.
// The game asks once a frame, as it draws the pointer.
bool PointerShown();

// True where what the program writes to its standard output and error reaches the player (a
// terminal, the page's console); false for the windowed program of Windows, which has no
// console, unless whoever started it sent its standard error into a file or a pipe (a script).
// Where it is false the player reads the program's messages in a message box.
bool HasConsole();

// The program's arguments after its name, each in UTF-8, from those main was given. On Windows
// they are read again from the command line as the system keeps it (UTF-16), and `argv` is not
// used: main's narrow arguments are in the system's code page, which before Windows 10 version
// 1903 (where the manifest's UTF-8 code page takes effect) cannot name every file. Elsewhere
// they are `argv`'s own.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Makes the folder the game keeps its files in the current one, before the game reads any. On
// Linux that is the folder the game is started in (the launcher of an installed game starts it
// in the player's own). On Windows it is the game's own folder where its Data folder may be
// written (the portable game), or else, for a game installed under Program Files (which an
// ordinary user may not write to, and which its uninstaller empties) or anywhere else the player
// may not write, %APPDATA%\Kelvora, whose Data folder is made on the first run and which reads
// the archives from the installation. In a web page it is the player's folder in the browser's
// storage, and the archives are read from the files the page loaded.
void EnterGameFolder();

// The languages the player's system asks for, the most wanted first, as the system names them
// ("de_AT.UTF-8", "en-US", "sk"): on Linux the locale's, in GNU gettext's order (the list of
// LANGUAGE, unless the locale is C, then the first of LC_ALL, LC_MESSAGES and LANG that is set);
// on Windows the user's interface languages; in a web page the browser's. Empty where the
// system asks for none (the C locale).
std::vector<std::string> SystemLanguages();

// Where the system keeps some of the game's installed files apart until they are needed (a web
// page fetches a language's pictures from its server only when the language is spoken), brings
// the installed file `path` (a game path, "Data\\Grafika-de.dat") to where the game reads it.
// True when it is there now; false where no file is kept apart (every other system, which
// installs them all) or it could not be fetched, and the game reads what it finds as ever.
bool FetchInstalledFile(const std::string& path);

// Called by main with its status once the game is over and its platform gone. A program returns
// from main to end; in a web page, where the program's stack was unwound at its first wait, the
// return reaches no one, so the page is told here.
void EndProgram(int status);

}  // namespace platform
