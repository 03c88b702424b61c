// kelvora-sounds OUTDIR: synthesises every sound effect, tune and song of the game into OUTDIR.
// The output is the same bytes on every run; each file is written whole or not at all.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "Catalogue.h"
#include "base/Files.h"

namespace fs = std::filesystem;

namespace {

// Writes the whole file or nothing, through the game's file module.
bool WriteWhole(const fs::path& path, const std::vector<uint8_t>& bytes) {
  return WriteFileWhole(
      path.string(), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kelvora-sounds OUTDIR\n");
    return 2;
  }
  const fs::path folder = argv[1];
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "kelvora-sounds: cannot create %s\n", folder.string().c_str());
    return 1;
  }
  const std::vector<sounds::TGeneratedFile> files = sounds::AllFiles();
  std::vector<size_t> sizes(files.size(), 0);
  std::vector<std::string> failures(files.size());
  std::atomic<size_t> next{0};
  auto started = std::chrono::steady_clock::now();
  // The songs at the end of the list take longest: start with them, so that the two workers
  // finish together.
  auto worker = [&] {
    for (size_t taken = next++; taken < files.size(); taken = next++) {
      size_t i = files.size() - 1 - taken;
      try {
        std::vector<uint8_t> bytes = files[i].Make();
        sizes[i] = bytes.size();
        if (!WriteWhole(folder / files[i].Name, bytes)) failures[i] = "cannot write the file";
      } catch (const std::exception& e) {
        failures[i] = e.what();
      }
    }
  };
  unsigned threads = std::max(1u, std::min(2u, std::thread::hardware_concurrency()));
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < threads; ++t) pool.emplace_back(worker);
  for (std::thread& t : pool) t.join();
  int status = 0;
  for (size_t i = 0; i < files.size(); ++i) {
    if (!failures[i].empty()) {
      std::fprintf(stderr, "kelvora-sounds: %s: %s\n", files[i].Name.c_str(), failures[i].c_str());
      status = 1;
    } else {
      std::printf("%-12s %9zu bytes\n", files[i].Name.c_str(), sizes[i]);
    }
  }
  double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("kelvora-sounds: %zu files in %.1f s\n", files.size(), seconds);
  return status;
}
