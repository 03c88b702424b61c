// The game's entry point: the SDL platform under the program, for as long as the game runs.
// `kelvora --version` prints the version and touches nothing else.
#include <cstdio>
#include <cstring>

#include "app/Main.h"
#include "platform/System.h"
#include "platform/sdl/SdlPlatform.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("Kelvora %s\n", KELVORA_VERSION);
    return 0;
  }
  platform::EnterGameFolder();
  int status;
  {
    platform::TSdlPlatform sdl;
    const platform::TCurrentPlatform current(sdl);
    status = KelvoraMain();
  }
  platform::EndProgram(status);
  return status;
}
