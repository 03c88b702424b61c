// The file module on Windows. Paths keep their backslashes. A file is replaced whole by
// ReplaceFileW, which keeps the old file's attributes and security and moves the old file to a
// backup name of its own on the way, or, where there is no old file, moved into place by
// MoveFileExW; both after the temporary file is flushed, and written through. Whatever fails,
// the old file or the new one stays whole at the file's name, or, where not even that can be
// done, both stay whole under their hidden names: the only copy of either is never deleted. The
// writer makes its system calls through TWriteCalls (WriteCalls.h).
#include "base/Files.h"
#include "base/FilesSystem.h"
#include "base/windows/Utf16.h"
#include "base/windows/WriteCalls.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
         error == ERROR_INVALID_NAME;
}

bool WriteAll(TWriteCalls& calls, HANDLE file, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD put = 0;
    if (!calls.Write(file, bytes.data() + done, chunk, put, static_cast<int64_t>(done + chunk)) ||
        put == 0) {
      return false;
    }
    done += put;
  }
  return true;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

std::wstring Utf16FromUtf8(const std::string& text) {
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

std::string Utf8FromUtf16(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), n,
                      nullptr, nullptr);
  return narrow;
}

std::string NativePath(std::string_view path) {
  std::string native(path);
  for (char& c : native) {
    if (c == '/') c = '\\';
  }
  return native;
}

TReadResult ReadFileWhole(const std::string& path, std::string& bytes, uintmax_t limit) {
  bytes.clear();
  const HANDLE file = CreateFileW(Utf16FromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return IsMissing(GetLastError()) ? TReadResult::Missing : TReadResult::Unreadable;
  }
  LARGE_INTEGER size{};
  bool ok = GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) &&
            static_cast<uintmax_t>(size.QuadPart) <= limit;
  if (ok) bytes.reserve(static_cast<size_t>(size.QuadPart));
  char buffer[65536];
  while (ok) {
    DWORD got = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
      ok = false;
    } else if (got == 0) {
      break;
    } else if (bytes.size() + got > limit) {
      ok = false;
    } else {
      bytes.append(buffer, got);
    }
  }
  CloseHandle(file);
  if (!ok) bytes.clear();
  return ok ? TReadResult::Read : TReadResult::Unreadable;
}

bool WriteFileWhole(const std::string& path, std::string_view bytes) {
  // Hidden names beside the file, made unique by the process and a counter: two writers never
  // share them. CREATE_NEW refuses a name that is taken.
  static LONG counter = 0;
  const size_t slash = path.find_last_of("\\/");
  const size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
  TWriteCalls calls(path.substr(nameAt));
  HANDLE file = INVALID_HANDLE_VALUE;
  std::string hidden;
  std::wstring temporary;
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    hidden = path.substr(0, nameAt) + "." + path.substr(nameAt) + "." +
             std::to_string(GetCurrentProcessId()) + "." +
             std::to_string(InterlockedIncrement(&counter));
    temporary = Utf16FromUtf8(hidden);
    file = calls.CreateNew(temporary);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(calls, file, bytes) && calls.Flush(file);
  ok = calls.Close(file) && ok;  // the handle goes either way
  if (!ok) {
    calls.Delete(temporary);
    return false;
  }
  const std::wstring target = Utf16FromUtf8(path);
  const DWORD old = GetFileAttributesW(target.c_str());
  if (old == INVALID_FILE_ATTRIBUTES || (old & FILE_ATTRIBUTE_DIRECTORY)) {
    // No old file (or a folder, which the move refuses to replace).
    if (calls.Move(temporary, target, MOVEFILE_WRITE_THROUGH)) {
      SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
      return true;
    }
    calls.Delete(temporary);
    return false;
  }
  const std::wstring backup = Utf16FromUtf8(hidden + ".old");
  if (calls.Replace(target, temporary, backup)) {
    // The old file under the backup name is no longer needed; where it cannot be deleted it only
    // takes room, and the new file is in place.
    calls.Delete(backup);
    return true;
  }
  // After ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 the old file is at the backup name; after
  // ERROR_UNABLE_TO_MOVE_REPLACEMENT it may be; after any other error it is in place.
  if (Exists(target)) {
    // The old file is still in place. Where the system cannot replace so (some file systems,
    // Wine), the new file is moved over the old one, written through, and given the old one's
    // attributes.
    calls.Delete(backup);  // not there, unless the replacement left a copy behind
    if (calls.Move(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      SetFileAttributesW(target.c_str(), old);
      return true;
    }
    calls.Delete(temporary);
    return false;
  }
  // The replacement stopped half way: the old file is at the backup name, the new one at the
  // temporary name, and nothing at the file's own. The new one is moved into place; failing that
  // the old one is moved back. Failing both, both stay, and the write has failed.
  if (calls.Move(temporary, target, MOVEFILE_WRITE_THROUGH)) {
    SetFileAttributesW(target.c_str(), old);
    calls.Delete(backup);
    return true;
  }
  if (Exists(backup) && calls.Move(backup, target, MOVEFILE_WRITE_THROUGH)) {
    calls.Delete(temporary);
  }
  return false;
}

// The C library's fopen takes a path in the system's ANSI code page, which cannot name every
// folder (a player's name in Czech on a system set to another language); _wfopen takes any.
std::FILE* OpenFile(const std::string& path, const char* mode) {
  return _wfopen(Utf16FromUtf8(path).c_str(), Utf16FromUtf8(mode).c_str());
}

bool IsAbsolutePath(const std::string& path) {
  return (!path.empty() && path[0] == '\\') || (path.size() > 1 && path[1] == ':');
}

bool RemoveFile(const std::string& path) {
  if (DeleteFileW(Utf16FromUtf8(path).c_str())) return true;
  return IsMissing(GetLastError());
}

// On Windows a file the game unpacks is written as any other.
bool WriteRunFile(const std::string& path, std::string_view bytes) {
  return WriteFileWhole(path, bytes);
}

bool RemoveRunFile(const std::string& path) { return RemoveFile(path); }
