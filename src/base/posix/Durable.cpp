#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "base/FilesSystem.h"

namespace {

// The folder part of a path ("." for a bare name).
std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

// Some file systems cannot flush a folder; the file itself is on the disk by then, so that is no
// failure.
bool ReplaceDurably(const std::string& temporary, const std::string& path) {
  if (std::rename(temporary.c_str(), path.c_str()) != 0) return false;
  int fd;
  do {
    fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return true;
  while (::fsync(fd) != 0 && errno == EINTR) {
  }
  ::close(fd);
  return true;
}

bool RemoveDurably(const std::string& path) {
  return ::unlink(path.c_str()) == 0 || errno == ENOENT || errno == ENOTDIR;
}
