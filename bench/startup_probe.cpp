// kelvora_startup: the game's start-up on the headless platform, from the program's first
// instruction to its first presented frame (the intro's first frame). At that present it ends
// at once, without the shut-down, so the parent that timed it measures exactly the start-up:
// loading the program and its libraries, the fonts, the settings, the window and display, the
// logo, the sounds, the level files, the intro tune and the first flip.
//
// It runs in the current directory, which must hold Data, and leaves the level and order files
// it extracted there: BM_StartUp runs it in the benchmarks' scratch folder.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/Main.h"
#include "game/DataFiles.h"
#include "platform/headless/HeadlessPlatform.h"

int main() {
  std::error_code ec;
  if (!std::filesystem::exists("Data/" KELVORA_GRAPHICS_FILE, ec)) {
    std::fprintf(stderr, "kelvora_startup: run me in a folder that holds Data\n");
    return 2;
  }
  platform::THeadlessPlatform headless;
  headless.SetPresentHook([](uint64_t) { std::_Exit(0); });
  const platform::TCurrentPlatform current(headless);
  KelvoraMain();
  // Reached only when the game ended without presenting a frame.
  std::fprintf(stderr, "kelvora_startup: the game presented no frame\n");
  return 1;
}
