// The system calls by which the file module writes a file whole (Files.cpp), those of one write
// at a time: every way a disk or the system can fail the writer comes through one of them.
// WriteCalls.cpp makes them as they are. The tests on Windows link a version of their own in its
// place, which makes them fail on demand, so that the writer's answer to each failure is tried;
// the game itself holds no such thing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class TWriteCalls {
 public:
  // The calls of one write of the file named `name` (its name alone, without the folder).
  explicit TWriteCalls(std::string_view name);
  ~TWriteCalls();
  TWriteCalls(const TWriteCalls&) = delete;
  TWriteCalls& operator=(const TWriteCalls&) = delete;

  // Each returns what its system call returns, with the call's error as the last error where it
  // fails: CreateFileW of a new hidden file, written through; WriteFile of `size` bytes, after
  // which the file would be `sizeAfter` bytes long; FlushFileBuffers; CloseHandle (the handle
  // goes either way); ReplaceFileW of `target` by `replacement`, the old file moved to `backup`
  // on the way; MoveFileExW; DeleteFileW.
  HANDLE CreateNew(const std::wstring& path);
  bool Write(HANDLE file, const char* bytes, DWORD size, DWORD& put, int64_t sizeAfter);
  bool Flush(HANDLE file);
  bool Close(HANDLE file);
  bool Replace(const std::wstring& target, const std::wstring& replacement,
               const std::wstring& backup);
  bool Move(const std::wstring& from, const std::wstring& to, DWORD flags);
  bool Delete(const std::wstring& path);

 private:
  // What a version of these calls keeps for the write (the game's keeps nothing).
  struct TState;
  std::unique_ptr<TState> state_;
};
