#include "platform/System.h"

#include <windows.h>
// The shell's known folders need the types of windows.h first.
#include <shlobj.h>

#include <string>
#include <vector>

#include "base/Files.h"
#include "base/windows/Utf16.h"

namespace platform {

uint64_t MonotonicNanoseconds() {
  static const int64_t frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const int64_t seconds = now.QuadPart / frequency;
  const int64_t rest = now.QuadPart % frequency;
  return uint64_t(seconds) * 1'000'000'000 + uint64_t(rest * 1'000'000'000 / frequency);
}

// Windows sleeps in whole milliseconds (SDL sets the timer to 1 ms while it runs): sleep to
// within a millisecond of the moment, then yield until it comes.
void SleepUntil(uint64_t momentNs) {
  for (;;) {
    const uint64_t now = MonotonicNanoseconds();
    if (now >= momentNs) return;
    const uint64_t left = momentNs - now;
    if (left > 2'000'000) {
      Sleep(static_cast<DWORD>(left / 1'000'000 - 1));
    } else {
      Sleep(0);
    }
  }
}

// Windows always has Direct3D (or its software rasteriser) for SDL's accelerated renderer.
bool HasGraphicsDevice() { return true; }

bool SystemOwnsFullScreen() { return false; }

bool ShowAtDisplayFrame(void (*)(void*), void*) { return false; }

bool PointerShown() { return true; }

bool FetchInstalledFile(const std::string&) { return false; }

std::vector<std::string> SystemLanguages() {
  ULONG count = 0;
  ULONG size = 0;
  if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &size) || size == 0) {
    return {};
  }
  std::wstring names(size, L'\0');
  if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &size)) return {};
  // The names follow one another, each ended by a zero, the list by one more.
  std::vector<std::string> languages;
  for (size_t at = 0; at < names.size() && names[at] != L'\0';) {
    const size_t end = names.find(L'\0', at);
    languages.push_back(Utf8FromUtf16(names.substr(at, end - at)));
    at = end + 1;
  }
  return languages;
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

namespace {

// True when a file can be made in `folder` (it is made and goes again at once).
bool MayWriteIn(const std::wstring& folder) {
  const std::wstring probe = folder + L"\\.kelvora-probe-" + std::to_wstring(GetCurrentProcessId());
  const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// The folders installers put programs into: Program Files (64- and 32-bit) and the player's own
// programs folder, %LOCALAPPDATA%\Programs, where the installer puts the game for one player (a
// system that does not name that one as a known folder, Wine among them, has it all the same).
std::vector<std::wstring> ProgramFolders() {
  std::vector<std::wstring> folders;
  const auto known = [&folders](const KNOWNFOLDERID& id, const wchar_t* below) {
    PWSTR path = nullptr;
    const bool found = SHGetKnownFolderPath(id, 0, nullptr, &path) == S_OK;
    if (found) folders.push_back(std::wstring(path) + below);
    CoTaskMemFree(path);
    return found;
  };
  known(FOLDERID_ProgramFiles, L"");
  known(FOLDERID_ProgramFilesX86, L"");
  if (!known(FOLDERID_UserProgramFiles, L"")) known(FOLDERID_LocalAppData, L"\\Programs");
  return folders;
}

// True when `folder` is inside one of the folders installers put programs into.
bool InProgramFiles(const std::wstring& folder) {
  for (const std::wstring& programs : ProgramFolders()) {
    const std::wstring prefix = programs + L"\\";
    if (folder.size() > prefix.size() &&
        CompareStringOrdinal(folder.c_str(), int(prefix.size()), prefix.c_str(), int(prefix.size()),
                             TRUE) == CSTR_EQUAL) {
      return true;
    }
  }
  return false;
}

}  // namespace

void EnterGameFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  std::wstring program(path, n);
  const std::wstring game = program.substr(0, program.find_last_of(L'\\'));
  if (!InProgramFiles(game) && MayWriteIn(game + L"\\Data")) {
    SetCurrentDirectoryW(game.c_str());
    return;
  }
  PWSTR appData = nullptr;
  if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &appData) != S_OK) {
    CoTaskMemFree(appData);
    return;
  }
  const std::wstring player = std::wstring(appData) + L"\\Kelvora";
  CoTaskMemFree(appData);
  CreateDirectoryW(player.c_str(), nullptr);
  CreateDirectoryW((player + L"\\Data").c_str(), nullptr);
  if (SetCurrentDirectoryW(player.c_str())) SetInstalledFolder(Utf8FromUtf16(game));
}

void EndProgram(int) {}

}  // namespace platform
