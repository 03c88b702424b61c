// The file module on POSIX systems (and in a web page's file system): open, write, fsync, then
// put the file in place durably (Durable.cpp).
#include "base/Files.h"
#include "base/FilesSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

template <class Call>
auto RetryInterrupted(Call call) {
  for (;;) {
    const auto result = call();
    if (result >= 0 || errno != EINTR) return result;
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put =
        RetryInterrupted([&] { return ::write(fd, bytes.data() + done, bytes.size() - done); });
    if (put < 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

// The permissions a new file gets from this process: what the creation mask leaves of rw-rw-rw-.
// The mask is read where the system shows it: setting it to read it back is not safe while other
// threads write files (the asset generators do), since two of them could leave it at 0.
mode_t NewFileMode() {
  std::string status;
  if (ReadFileWhole("/proc/self/status", status) == TReadResult::Read) {
    const size_t at = status.find("\nUmask:");
    if (at != std::string::npos) {
      return 0666 & ~static_cast<mode_t>(std::strtoul(status.c_str() + at + 8, nullptr, 8));
    }
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

std::string NativePath(std::string_view path) {
  std::string portable(path);
  for (char& c : portable) {
    if (c == '\\') c = '/';
  }
  return portable;
}

TReadResult ReadFileWhole(const std::string& path, std::string& bytes, uintmax_t limit) {
  bytes.clear();
  const int fd = RetryInterrupted([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); });
  if (fd < 0) {
    return errno == ENOENT || errno == ENOTDIR ? TReadResult::Missing : TReadResult::Unreadable;
  }
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            static_cast<uintmax_t>(info.st_size) <= limit;
  if (ok) bytes.reserve(static_cast<size_t>(info.st_size));
  char buffer[65536];
  while (ok) {
    const ssize_t got = RetryInterrupted([&] { return ::read(fd, buffer, sizeof buffer); });
    if (got == 0) break;
    ok = got > 0 && bytes.size() + static_cast<size_t>(got) <= limit;
    if (ok) bytes.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  if (!ok) bytes.clear();
  return ok ? TReadResult::Read : TReadResult::Unreadable;
}

namespace {

// Writes `bytes` beside `path` and puts them in its place, `durably` (flushed to the disk first,
// then ReplaceDurably) or by a plain rename: either way other readers see the old file or the
// new one whole; only a durable write also outlives a crash of the system.
bool WriteWhole(const std::string& path, std::string_view bytes, bool durably) {
  // A hidden name beside the file, made unique by mkostemp: two writers never share it.
  const size_t slash = path.find_last_of('/');
  const size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
  std::string temporary = path.substr(0, nameAt) + "." + path.substr(nameAt) + ".XXXXXX";
  const int fd = RetryInterrupted([&] { return ::mkostemp(temporary.data(), O_CLOEXEC); });
  if (fd < 0) return false;
  struct stat old {};
  const bool replacing = ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  bool ok = ::fchmod(fd, replacing ? old.st_mode & 07777 : NewFileMode()) == 0;
  ok =
      ok && WriteAll(fd, bytes) && (!durably || RetryInterrupted([&] { return ::fsync(fd); }) == 0);
  ok = ::close(fd) == 0 && ok;
  ok = ok && (durably ? ReplaceDurably(temporary, path)
                      : std::rename(temporary.c_str(), path.c_str()) == 0);
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

}  // namespace

bool WriteFileWhole(const std::string& path, std::string_view bytes) {
  return WriteWhole(path, bytes, true);
}

bool WriteRunFile(const std::string& path, std::string_view bytes) {
  return WriteWhole(path, bytes, false);
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
  for (;;) {
    std::FILE* file = std::fopen(path.c_str(), mode);
    if (file || errno != EINTR) return file;
  }
}

bool IsAbsolutePath(const std::string& path) { return !path.empty() && path[0] == '/'; }

bool RemoveFile(const std::string& path) { return RemoveDurably(path); }

bool RemoveRunFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0 || errno == ENOENT || errno == ENOTDIR;
}
