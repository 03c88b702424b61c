#include "platform/Screen.h"

namespace platform {

// Windows always has Direct3D (or its software rasteriser) for SDL's accelerated renderer.
bool HasGraphicsDevice() { return true; }

bool SystemOwnsFullScreen() { return false; }

bool ShowAtDisplayFrame(void (*)(void*), void*) { return false; }

}  // namespace platform
