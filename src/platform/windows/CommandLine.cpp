// The program on Windows: its arguments, from the command line as the system keeps it (UTF-16),
// and its console.
#include <windows.h>
// CommandLineToArgvW needs the types of windows.h first.
#include <shellapi.h>

#include <string>
#include <vector>

#include "base/windows/Utf16.h"
#include "platform/CommandLine.h"

namespace platform {

// The narrow arguments main is given are in the system's code page (UTF-8 only where the
// manifest's code page takes effect, from Windows 10 version 1903), which cannot name every
// file: they are read again from the wide command line, split by the system's own rules.
std::vector<std::string> CommandLineArguments(int, char**) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; wide && i < count; ++i) arguments.push_back(Utf8FromUtf16(wide[i]));
  LocalFree(wide);
  return arguments;
}

// The windowed program has no console of its own; its standard error reaches someone only where
// whoever started it sent it into a file or a pipe (a script's "2> log"). A console or the null
// device (both character devices) and a missing handle reach no one this program can write to.
bool HasConsole() {
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (error == nullptr || error == INVALID_HANDLE_VALUE) return false;
  const DWORD type = GetFileType(error);
  return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE;
}

void EndProgram(int) {}

}  // namespace platform
