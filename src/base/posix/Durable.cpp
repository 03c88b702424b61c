#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/FilesSystem.h"

// Some file systems cannot flush a folder; the file itself is on the disk by then, so that is no
// failure.
bool MakeDurable(const std::string& folder) {
  int fd;
  do {
    fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return true;
  while (::fsync(fd) != 0 && errno == EINTR) {
  }
  ::close(fd);
  return true;
}
