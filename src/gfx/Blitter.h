// The blitter: rectangle copies between surfaces, opaque or skipping the source's colour key,
// and colour fills. There is no clipping: a rectangle that is empty, inverted or reaches outside
// either surface is refused whole, as the display's fast blit refuses it.
#pragma once

#include <cstdint>

#include "gfx/Rect.h"
#include "gfx/Surface.h"

// Result codes of the display calls.
constexpr int32_t DD_OK = 0;
constexpr int32_t DDERR_INVALIDRECT = static_cast<int32_t>(0x88760096);
constexpr int32_t DDERR_SURFACELOST = static_cast<int32_t>(0x887601C2);
constexpr int32_t DDERR_WASSTILLDRAWING = static_cast<int32_t>(0x8876021C);
constexpr int32_t DDERR_INVALIDOBJECT = static_cast<int32_t>(0x88760082);
constexpr int32_t DDERR_NOTINITIALIZED = static_cast<int32_t>(0x887600FF);

// Copies `source` rectangle of `src` to (x, y) of `dst`. With `keyed`, pixels equal to the
// source's colour key are not copied (a surface without a key copies opaque).
int32_t Blit(TSurface& dst, int x, int y, const TSurface& src, const TRect& source, bool keyed);

// The row loops of colour-keyed blits: the widest the processor has (AVX-512, AVX2), or one
// chosen, so that tests can run each on a machine that has them all. Without the instructions
// a loop needs, the next narrower one runs. The portable loop, the one of processors without
// AVX2 and of the browser, copies each row's runs of opaque pixels.
enum class TKeyedRowLoop { Best, Avx2, Portable };
void ChooseKeyedRowLoop(TKeyedRowLoop loop);

// Fills `area` of `dst` with one pixel value.
int32_t Fill(TSurface& dst, const TRect& area, uint16_t pixel);
