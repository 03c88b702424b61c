#include "platform/Folders.h"

#include <windows.h>
// The shell's known folders need the types of windows.h first.
#include <shlobj.h>

#include <string>
#include <vector>

#include "base/Files.h"
#include "base/windows/Utf16.h"

namespace platform {

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
bool InProgramFolders(const std::wstring& folder) {
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
  if (!InProgramFolders(game) && MayWriteIn(game + L"\\Data")) {
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

bool FetchInstalledFile(const std::string&) { return false; }

}  // namespace platform
