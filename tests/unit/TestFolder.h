// A fresh working folder for a test: made below the temporary folder, entered while the object
// lives, then left and removed. The name holds the process id and a count of uses, so tests
// run in parallel processes, or one after another in the same one, never share a folder.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

class TTestFolder {
 public:
  enum TLayout { kEmpty, kWithData };

  explicit TTestFolder(std::string_view tag, TLayout layout = kWithData)
      : old_(std::filesystem::current_path()), dir_(UniquePath(tag)) {
    std::filesystem::remove_all(dir_);  // left over by an earlier process with the same id
    std::filesystem::create_directories(layout == kWithData ? dir_ / "Data" : dir_);
    std::filesystem::current_path(dir_);
  }
  ~TTestFolder() {
    // A destructor must not throw: a folder that cannot be removed is only left behind.
    std::error_code ignored;
    std::filesystem::current_path(old_, ignored);
    std::filesystem::remove_all(dir_, ignored);
  }
  TTestFolder(const TTestFolder&) = delete;
  TTestFolder& operator=(const TTestFolder&) = delete;

  const std::filesystem::path& Path() const { return dir_; }

 private:
  static std::filesystem::path UniquePath(std::string_view tag) {
    static std::atomic<unsigned> uses{0};
    return std::filesystem::temp_directory_path() /
           ("kelvora_" + std::string(tag) + "_" + std::to_string(::getpid()) + "_" +
            std::to_string(uses++));
  }

  std::filesystem::path old_, dir_;
};

// The whole file as bytes; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}
