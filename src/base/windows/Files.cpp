// The file module on Windows. Paths keep their backslashes. A file is replaced whole by
// ReplaceFileW, which keeps the old file's attributes and security, or, where there is no old
// file, moved into place by MoveFileExW; both after the temporary file is flushed, and written
// through.
#include "base/Files.h"
#include "base/FilesSystem.h"
#include "base/windows/Utf16.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
         error == ERROR_INVALID_NAME;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD put = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &put, nullptr) || put == 0) return false;
    done += put;
  }
  return true;
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
  // A hidden name beside the file, made unique by the process, the thread and a counter: two
  // writers never share it. CREATE_NEW refuses a name that is taken.
  static LONG counter = 0;
  const size_t slash = path.find_last_of("\\/");
  const size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
  HANDLE file = INVALID_HANDLE_VALUE;
  std::wstring temporary;
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = Utf16FromUtf8(path.substr(0, nameAt) + "." + path.substr(nameAt) + "." +
                              std::to_string(GetCurrentProcessId()) + "." +
                              std::to_string(InterlockedIncrement(&counter)));
    file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_WRITE_THROUGH, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(file, bytes) && FlushFileBuffers(file);
  ok = CloseHandle(file) && ok;
  const std::wstring target = Utf16FromUtf8(path);
  if (ok) {
    const DWORD old = GetFileAttributesW(target.c_str());
    if (old != INVALID_FILE_ATTRIBUTES && !(old & FILE_ATTRIBUTE_DIRECTORY)) {
      // The replacement takes the old file's attributes and security. Where the system cannot
      // replace so (some file systems, Wine), the file is moved over the old one, written
      // through, and given the old one's attributes.
      ok = ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                        nullptr, nullptr);
      if (!ok && MoveFileExW(temporary.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        SetFileAttributesW(target.c_str(), old);
        ok = true;
      }
    } else {
      ok = MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
      if (ok) SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  }
  if (!ok) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

bool IsAbsolutePath(const std::string& path) {
  return (!path.empty() && path[0] == '\\') || (path.size() > 1 && path[1] == ':');
}

bool RemoveFile(const std::string& path) {
  if (DeleteFileW(Utf16FromUtf8(path).c_str())) return true;
  return IsMissing(GetLastError());
}
