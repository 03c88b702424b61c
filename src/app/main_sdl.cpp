// The game's entry point: the SDL platform under the program.
#include "app/Main.h"
#include "platform/sdl/SdlPlatform.h"

int main(int, char**) {
  // The platform outlives main: the game object is destroyed after main returns, and its sound
  // clips still close the sound library then.
  static auto* sdl = new platform::TSdlPlatform();
  platform::SetCurrent(sdl);
  return KelvoraMain();
}
