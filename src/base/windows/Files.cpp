// The file module on Windows. Paths keep their backslashes. A file is replaced whole by
// ReplaceFileW, which keeps the old file's attributes and security and moves the old file to a
// backup name of its own on the way, or, where there is no old file, moved into place by
// MoveFileExW; both after the temporary file is flushed, and written through. Whatever fails,
// the old file or the new one stays whole at the file's name, or, where not even that can be
// done, both stay whole under their hidden names: the only copy of either is never deleted.
//
// Tests make the writer's system calls fail on demand through the environment variable
// KELVORA_FILE_FAULTS, a list such as "ReplaceFileW=1176,MoveFileExW=5:1@Save2.dat": each named
// call fails with that error code (":N", only its first N calls in each write; "@NAME", only in
// writes of files of that name; for WriteFile, ">N", only where the file would grow past N
// bytes, as on a full disk). A failed ReplaceFileW leaves on the disk what the real one leaves
// after that error.
#include "base/Files.h"
#include "base/FilesSystem.h"
#include "base/windows/Utf16.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
         error == ERROR_INVALID_NAME;
}

// The faults KELVORA_FILE_FAULTS asks for the write of the file named `name`, read as the write
// begins; each counts the calls of that write.
class TFaults {
 public:
  explicit TFaults(const std::string& name) {
    const DWORD size = GetEnvironmentVariableA("KELVORA_FILE_FAULTS", nullptr, 0);
    if (size == 0) return;
    std::string list(size, '\0');
    list.resize(GetEnvironmentVariableA("KELVORA_FILE_FAULTS", list.data(), size));
    size_t at = 0;
    while (at < list.size()) {
      size_t end = list.find(',', at);
      if (end == std::string::npos) end = list.size();
      std::string entry = list.substr(at, end - at);
      at = end + 1;
      const size_t only = entry.find('@');
      if (only != std::string::npos) {
        if (lstrcmpiA(entry.c_str() + only + 1, name.c_str()) != 0) continue;
        entry.resize(only);
      }
      const size_t equals = entry.find('=');
      if (equals == std::string::npos) continue;
      TFault fault;
      fault.call = entry.substr(0, equals);
      char* rest = nullptr;
      fault.error = static_cast<DWORD>(std::strtoul(entry.c_str() + equals + 1, &rest, 10));
      if (*rest == ':') fault.times = std::strtol(rest + 1, &rest, 10);
      if (*rest == '>') fault.beyond = std::strtoll(rest + 1, nullptr, 10);
      if (fault.error != 0) faults_.push_back(fault);
    }
  }

  // The error this call of `call` is to fail with, set as the last error, or 0 where it is to be
  // made; `size` is the size the file would have after a write.
  DWORD Next(std::string_view call, int64_t size = 0) {
    for (TFault& fault : faults_) {
      if (fault.call != call || fault.times == 0 || size <= fault.beyond) continue;
      if (fault.times > 0) --fault.times;
      SetLastError(fault.error);
      return fault.error;
    }
    return 0;
  }

 private:
  struct TFault {
    std::string call;
    DWORD error = 0;
    long times = -1;  // calls still to fail; -1 for all of them
    // The size a file may grow to before the fault applies; -1 where it applies to every call
    // (only writes tell a size).
    int64_t beyond = -1;
  };
  std::vector<TFault> faults_;
};

bool WriteAll(TFaults& faults, HANDLE file, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    if (faults.Next("WriteFile", static_cast<int64_t>(done + chunk))) return false;
    DWORD put = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &put, nullptr) || put == 0) return false;
    done += put;
  }
  return true;
}

bool Move(TFaults& faults, const std::wstring& from, const std::wstring& to, DWORD flags) {
  return !faults.Next("MoveFileExW") && MoveFileExW(from.c_str(), to.c_str(), flags);
}

bool Delete(TFaults& faults, const std::wstring& path) {
  return !faults.Next("DeleteFileW") && DeleteFileW(path.c_str());
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// ReplaceFileW, or the failure asked for. After ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 the old file
// is at the backup name; after ERROR_UNABLE_TO_MOVE_REPLACEMENT it may be (without a backup name
// it would be gone); after any other error it is in place. A failure made here leaves it at the
// backup name for both of the first two, the worse of what they may leave.
bool Replace(TFaults& faults, const std::wstring& target, const std::wstring& replacement,
             const std::wstring& backup) {
  if (const DWORD error = faults.Next("ReplaceFileW")) {
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
      MoveFileExW(target.c_str(), backup.c_str(), 0);
    }
    SetLastError(error);
    return false;
  }
  return ReplaceFileW(target.c_str(), replacement.c_str(), backup.c_str(),
                      REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
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
  TFaults faults(path.substr(nameAt));
  HANDLE file = INVALID_HANDLE_VALUE;
  std::string hidden;
  std::wstring temporary;
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    hidden = path.substr(0, nameAt) + "." + path.substr(nameAt) + "." +
             std::to_string(GetCurrentProcessId()) + "." +
             std::to_string(InterlockedIncrement(&counter));
    temporary = Utf16FromUtf8(hidden);
    if (!faults.Next("CreateFileW")) {
      file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_WRITE_THROUGH, nullptr);
    }
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok =
      WriteAll(faults, file, bytes) && !faults.Next("FlushFileBuffers") && FlushFileBuffers(file);
  ok = CloseHandle(file) && !faults.Next("CloseHandle") && ok;  // the handle goes either way
  if (!ok) {
    Delete(faults, temporary);
    return false;
  }
  const std::wstring target = Utf16FromUtf8(path);
  const DWORD old = GetFileAttributesW(target.c_str());
  if (old == INVALID_FILE_ATTRIBUTES || (old & FILE_ATTRIBUTE_DIRECTORY)) {
    // No old file (or a folder, which the move refuses to replace).
    if (Move(faults, temporary, target, MOVEFILE_WRITE_THROUGH)) {
      SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
      return true;
    }
    Delete(faults, temporary);
    return false;
  }
  const std::wstring backup = Utf16FromUtf8(hidden + ".old");
  if (Replace(faults, target, temporary, backup)) {
    // The old file under the backup name is no longer needed; where it cannot be deleted it only
    // takes room, and the new file is in place.
    Delete(faults, backup);
    return true;
  }
  if (Exists(target)) {
    // The old file is still in place. Where the system cannot replace so (some file systems,
    // Wine), the new file is moved over the old one, written through, and given the old one's
    // attributes.
    Delete(faults, backup);  // not there, unless the replacement left a copy behind
    if (Move(faults, temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      SetFileAttributesW(target.c_str(), old);
      return true;
    }
    Delete(faults, temporary);
    return false;
  }
  // The replacement stopped half way: the old file is at the backup name, the new one at the
  // temporary name, and nothing at the file's own. The new one is moved into place; failing that
  // the old one is moved back. Failing both, both stay, and the write has failed.
  if (Move(faults, temporary, target, MOVEFILE_WRITE_THROUGH)) {
    SetFileAttributesW(target.c_str(), old);
    Delete(faults, backup);
    return true;
  }
  if (Exists(backup) && Move(faults, backup, target, MOVEFILE_WRITE_THROUGH)) {
    Delete(faults, temporary);
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
