// The part of the file module that is the same on every system: game paths, and the folder an
// installed game reads its own files from.
#include "base/Files.h"

#include "base/FilesSystem.h"

namespace {
std::string& InstalledFolder() {
  static std::string folder;
  return folder;
}
}  // namespace

bool FileExists(const std::string& path) {
  std::string nothing;
  return ReadFileWhole(path, nothing, 0) != TReadResult::Missing;  // opens, reads no byte
}

void SetInstalledFolder(std::string_view folder) { InstalledFolder() = NativePath(folder); }

std::string WritePath(std::string_view path) { return NativePath(path); }

std::string ReadPath(std::string_view path) {
  std::string native = NativePath(path);
  const std::string& installed = InstalledFolder();
  if (!installed.empty() && !IsAbsolutePath(native) && !FileExists(native)) {
    std::string there = installed + NativePath("/") + native;
    if (FileExists(there)) return there;
  }
  return native;
}
