// What every fuzz target shares: a private working folder with a Data folder, entered once, the
// headless platform as the current one, and a way to put the fuzzer's bytes into a file there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <unistd.h>

#include "platform/headless/HeadlessPlatform.h"

// The folder goes when the fuzzer ends its run normally; after a crash it stays, with the files
// the last input made.
inline void EnterFuzzFolder() {
  static bool entered = false;
  if (entered) return;
  entered = true;
  static const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("kelvora_fuzz_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "Data");
  std::filesystem::current_path(dir);
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  });
  static platform::THeadlessPlatform headless;
  platform::SetCurrent(&headless);
}

inline void WriteInput(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}
