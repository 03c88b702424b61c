// The file writer's system calls for the tests on Windows: linked into the unit tests and the
// runner in place of the game's (src/base/windows/WriteCalls.cpp), they fail on demand, so that
// every failure a disk or the system may cause is tried on Wine. The environment variable
// KELVORA_FILE_FAULTS, read as each write begins, asks for them: a list such as
// "ReplaceFileW=1176,MoveFileExW=5:1@Save2.dat", each entry a call (CreateFileW, WriteFile,
// FlushFileBuffers, CloseHandle, ReplaceFileW, MoveFileExW, DeleteFileW) and the Windows error
// it fails with; ":N", only its first N calls in each write; "@NAME", only in writes of files of
// that name; for WriteFile, ">N", only where the file would grow past N bytes, as on a full
// disk. A failed ReplaceFileW leaves on the disk what the real one leaves after that error.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/windows/WriteCalls.h"

namespace {

struct TFault {
  std::string Call;
  DWORD Error = 0;
  long Times = -1;  // calls still to fail; -1 for all of them
  // The size a file may grow to before the fault applies; -1 where it applies to every call
  // (only writes tell a size).
  int64_t Beyond = -1;
};

// The faults KELVORA_FILE_FAULTS asks for the write of the file named `name`.
std::vector<TFault> AskedFaults(std::string_view name) {
  std::vector<TFault> faults;
  const DWORD size = GetEnvironmentVariableA("KELVORA_FILE_FAULTS", nullptr, 0);
  if (size == 0) return faults;
  std::string list(size, '\0');
  list.resize(GetEnvironmentVariableA("KELVORA_FILE_FAULTS", list.data(), size));
  const std::string file(name);
  size_t at = 0;
  while (at < list.size()) {
    size_t end = list.find(',', at);
    if (end == std::string::npos) end = list.size();
    std::string entry = list.substr(at, end - at);
    at = end + 1;
    const size_t only = entry.find('@');
    if (only != std::string::npos) {
      if (lstrcmpiA(entry.c_str() + only + 1, file.c_str()) != 0) continue;
      entry.resize(only);
    }
    const size_t equals = entry.find('=');
    if (equals == std::string::npos) continue;
    TFault fault;
    fault.Call = entry.substr(0, equals);
    char* rest = nullptr;
    fault.Error = static_cast<DWORD>(std::strtoul(entry.c_str() + equals + 1, &rest, 10));
    if (*rest == ':') fault.Times = std::strtol(rest + 1, &rest, 10);
    if (*rest == '>') fault.Beyond = std::strtoll(rest + 1, nullptr, 10);
    if (fault.Error != 0) faults.push_back(fault);
  }
  return faults;
}

}  // namespace

struct TWriteCalls::TState {
  std::vector<TFault> Faults;

  // The error this call of `call` is to fail with, set as the last error, or 0 where it is to
  // be made; `size` is the size the file would have after a write.
  DWORD Next(std::string_view call, int64_t size = 0) {
    for (TFault& fault : Faults) {
      if (fault.Call != call || fault.Times == 0 || size <= fault.Beyond) continue;
      if (fault.Times > 0) --fault.Times;
      SetLastError(fault.Error);
      return fault.Error;
    }
    return 0;
  }
};

TWriteCalls::TWriteCalls(std::string_view name) : state_(new TState{AskedFaults(name)}) {}

TWriteCalls::~TWriteCalls() = default;

HANDLE TWriteCalls::CreateNew(const std::wstring& path) {
  if (state_->Next("CreateFileW")) return INVALID_HANDLE_VALUE;
  return CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                     FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_WRITE_THROUGH, nullptr);
}

bool TWriteCalls::Write(HANDLE file, const char* bytes, DWORD size, DWORD& put, int64_t sizeAfter) {
  return !state_->Next("WriteFile", sizeAfter) && WriteFile(file, bytes, size, &put, nullptr);
}

bool TWriteCalls::Flush(HANDLE file) {
  return !state_->Next("FlushFileBuffers") && FlushFileBuffers(file);
}

bool TWriteCalls::Close(HANDLE file) { return CloseHandle(file) && !state_->Next("CloseHandle"); }

// After ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 the real call has moved the old file to the backup
// name; after ERROR_UNABLE_TO_MOVE_REPLACEMENT it may have. A failure made here moves it there
// for both, the worse of what they may leave.
bool TWriteCalls::Replace(const std::wstring& target, const std::wstring& replacement,
                          const std::wstring& backup) {
  if (const DWORD error = state_->Next("ReplaceFileW")) {
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
      MoveFileExW(target.c_str(), backup.c_str(), 0);
    }
    SetLastError(error);
    return false;
  }
  return ReplaceFileW(target.c_str(), replacement.c_str(), backup.c_str(),
                      REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
}

bool TWriteCalls::Move(const std::wstring& from, const std::wstring& to, DWORD flags) {
  return !state_->Next("MoveFileExW") && MoveFileExW(from.c_str(), to.c_str(), flags);
}

bool TWriteCalls::Delete(const std::wstring& path) {
  return !state_->Next("DeleteFileW") && DeleteFileW(path.c_str());
}
