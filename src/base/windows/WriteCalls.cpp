// The file writer's system calls, made as they are. This file holds nothing else: a program
// that links its own TWriteCalls (the tests) takes that one instead of this one.
#include "base/windows/WriteCalls.h"

struct TWriteCalls::TState {};

TWriteCalls::TWriteCalls(std::string_view) {}

TWriteCalls::~TWriteCalls() = default;

HANDLE TWriteCalls::CreateNew(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                     FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_WRITE_THROUGH, nullptr);
}

bool TWriteCalls::Write(HANDLE file, const char* bytes, DWORD size, DWORD& put, int64_t) {
  return WriteFile(file, bytes, size, &put, nullptr);
}

bool TWriteCalls::Flush(HANDLE file) { return FlushFileBuffers(file); }

bool TWriteCalls::Close(HANDLE file) { return CloseHandle(file); }

bool TWriteCalls::Replace(const std::wstring& target, const std::wstring& replacement,
                          const std::wstring& backup) {
  return ReplaceFileW(target.c_str(), replacement.c_str(), backup.c_str(),
                      REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
}

bool TWriteCalls::Move(const std::wstring& from, const std::wstring& to, DWORD flags) {
  return MoveFileExW(from.c_str(), to.c_str(), flags);
}

bool TWriteCalls::Delete(const std::wstring& path) { return DeleteFileW(path.c_str()); }
