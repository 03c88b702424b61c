// The part of the file module that is the same on every system: game paths, and the folder an
// installed game reads its own files from.
#include "base/Files.h"

#include <algorithm>
#include <filesystem>
#include <set>

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

std::vector<std::string> ListGameFiles(std::string_view folder, std::string_view prefix,
                                       std::string_view suffix) {
  namespace fs = std::filesystem;
  std::set<std::string> names;
  std::string native = NativePath(folder);
  const std::string& installed = InstalledFolder();
  std::vector<std::string> folders{native};
  if (!installed.empty() && !IsAbsolutePath(native)) {
    folders.push_back(installed + NativePath("/") + native);
  }
  for (const std::string& path : folders) {
    // Paths are UTF-8, whatever the system's code page.
    const std::u8string utf8(path.begin(), path.end());
    std::error_code failure;
    for (fs::directory_iterator it(fs::path(utf8), failure), end; !failure && it != end;
         it.increment(failure)) {
      const std::u8string name8 = it->path().filename().u8string();
      const std::string name(name8.begin(), name8.end());
      if (name.size() > prefix.size() + suffix.size() && name.starts_with(prefix) &&
          name.ends_with(suffix)) {
        names.insert(name);
      }
    }
  }
  return {names.begin(), names.end()};
}
