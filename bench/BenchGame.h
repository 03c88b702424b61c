// What the benchmarks of the whole game share: a scratch folder to work in, the built Data
// folder linked into it, the game started once in a level with every bitmap loaded, and the
// heaviest game view set up for the next frame.
#pragma once

#include <filesystem>
#include <string>

#include "HeaviestScene.h"
#include "platform/headless/HeadlessPlatform.h"

namespace bench {

// What a benchmark program sets up first in its main and takes down last: a scratch folder as
// the working directory (the game writes into its Data folder, and that must never be the built
// Data folder the scenarios copy), the headless platform as the current one, and the font table.
class TEnvironment {
 public:
  TEnvironment();
  ~TEnvironment();
  TEnvironment(const TEnvironment&) = delete;
  TEnvironment& operator=(const TEnvironment&) = delete;

  std::filesystem::path Original;  // the working directory the program was started in
  std::filesystem::path Path;      // the scratch folder

 private:
  platform::THeadlessPlatform headless_;
  platform::TCurrentPlatform platform_;
};

// The scratch folder of the environment that is set up (empty when none is).
const std::filesystem::path& WorkFolder();

// The folder of the running executable (the other bench programs lie beside it).
std::filesystem::path ExecutableFolder();

// Links the built archives into WorkFolder()/Data. Returns an error text, or "" when done.
std::string LinkData();

// Starts the game once: the form created on the headless platform, the intro skipped, the
// bitmaps loaded, the level and order files extracted and level 1 loaded. Returns an error
// text, or "" when the game is ready.
std::string StartGame();

// StartGame for a benchmark: false, with the benchmark skipped and the reason given, when the
// game could not start. A template so that programs without Google Benchmark share this header.
template <class TBenchmarkState>
bool Started(TBenchmarkState& state) {
  const std::string error = StartGame();
  if (!error.empty()) state.SkipWithError(error.c_str());
  return error.empty();
}

// The main menu as the next frame's screen, the pointer on its first button.
void ShowMainMenu();

}  // namespace bench
