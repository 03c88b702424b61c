// kelvora_frame_driver KIND FRAMES: draws FRAMES frames of one kind through the form's Frame and
// ends, for instruction counts under callgrind (scripts/profile). KIND is "game" (the heaviest
// game-view frame, orders panel open), "game-sim" (the same with the simulation running) or
// "menu" (the main menu). The set-up is the benchmarks' own (BenchGame).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchGame.h"
#include "app/Main.h"

int main(int argc, char** argv) {
  const std::string kind = argc == 3 ? argv[1] : "";
  const long frames = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 0;
  if ((kind != "game" && kind != "game-sim" && kind != "menu") || frames <= 0) {
    std::fprintf(stderr, "usage: kelvora_frame_driver game|game-sim|menu FRAMES\n");
    return 2;
  }
  const bench::TEnvironment environment;
  if (std::string error = bench::StartGame(); !error.empty()) {
    std::fprintf(stderr, "kelvora_frame_driver: %s\n", error.c_str());
    return 1;
  }
  for (long i = 0; i < frames; ++i) {
    if (kind == "menu") {
      bench::ShowMainMenu();
    } else {
      bench::FillTheField(kind == "game");
    }
    Form1->Frame();
  }
  return 0;
}
