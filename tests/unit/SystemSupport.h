// What the tests ask of the system where systems differ: a file-size limit, which makes a write
// fail part way as a full disk does (even for root; on Windows through the tests' failing file
// calls, windows/FileFaults.cpp), the bytes the heap holds for live blocks, whether files carry
// POSIX permissions, and the creation mask. Where a system has no such thing, the test that needs
// it is skipped there and runs on the others.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#ifdef _WIN32

#include <cstdlib>
#include <string>

constexpr bool kPosixPermissions = false;

// Windows has no file-size limit: the tests' file calls make a write that would take a file past
// the size fail as a full disk does (ERROR_DISK_FULL).
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(uint64_t bytes) {
    _putenv_s("KELVORA_FILE_FAULTS", ("WriteFile=112>" + std::to_string(bytes)).c_str());
  }
  ~TFileSizeLimit() { _putenv_s("KELVORA_FILE_FAULTS", ""); }
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;
  bool Holds() const { return true; }
};

inline std::optional<size_t> HeapInUse() { return std::nullopt; }

class TCreationMask {
 public:
  explicit TCreationMask(unsigned) {}
};

#else

#include <malloc.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

constexpr bool kPosixPermissions = true;

class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(uint64_t bytes) {
    holds_ = getrlimit(RLIMIT_FSIZE, &saved_) == 0;
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved_;
    tight.rlim_cur = bytes;
    holds_ = holds_ && setrlimit(RLIMIT_FSIZE, &tight) == 0;
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;
  bool Holds() const { return holds_; }

 private:
  rlimit saved_{};
  void (*oldHandler_)(int) = nullptr;
  bool holds_ = false;
};

// Sets the creation mask while it lives.
class TCreationMask {
 public:
  explicit TCreationMask(unsigned mask) : saved_(umask(static_cast<mode_t>(mask))) {}
  ~TCreationMask() { umask(saved_); }
  TCreationMask(const TCreationMask&) = delete;
  TCreationMask& operator=(const TCreationMask&) = delete;

 private:
  mode_t saved_;
};

inline std::optional<size_t> HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

#endif
