// Making the patches of a language's worded sheets (gfx/BitmapPatch.h describes the format and
// applies them, in the game).
#pragma once

#include <string>
#include <string_view>

// The patch that turns the bitmap file `base` into `target` (both 24-bit uncompressed, of one
// size, with the same headers): the bounding rectangles of the pixels that differ, those close
// together joined, a few per sheet. The patch is applied before it is returned, and must give
// `target` back. False, with the reason in `error`, when the two cannot be patched one into
// the other.
bool MakeBitmapPatch(std::string_view base, std::string_view target, std::string& patch,
                     std::string& error);
