// The game's entry point: the SDL platform under the program, for as long as the game runs.
#include "app/Main.h"
#include "platform/sdl/SdlPlatform.h"

int main(int, char**) {
  platform::TSdlPlatform sdl;
  const platform::TCurrentPlatform current(sdl);
  return KelvoraMain();
}
