// The program as a command runs it: the arguments it was given, whether what it writes reaches
// the player, and where its status goes when it ends. Each system has its own implementation
// (posix/ with linux/ or web/, windows/).
#pragma once

#include <string>
#include <vector>

namespace platform {

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

// Called by main with its status once the game is over and its platform gone. A program returns
// from main to end; in a web page, where the program's stack was unwound at its first wait, the
// return reaches no one, so the page is told here.
void EndProgram(int status);

}  // namespace platform
