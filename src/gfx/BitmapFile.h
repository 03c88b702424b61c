// Windows bitmap files (every bit depth and encoding Windows reads) decoded into RGB565 surfaces.
#pragma once

#include <memory>
#include <string>

#include "gfx/Surface.h"

// The bitmap file at `path` (a path of this system) as a new surface of its own size; null when
// the file is missing, damaged, or holds a picture larger than any of the game's could be.
std::unique_ptr<TSurface> DecodeBitmapFile(const std::string& path);
