// Shared geometry and colours of the garden pictures: beds, plants and pipes are drawn on top
// of each other in a 40 x 35 plot cell, so they agree on where the soil lies and which colour
// each one is flattened against.
#pragma once

#include <cairo.h>

#include <cstdint>

#include "Sheet.h"

namespace pictures::garden {

inline constexpr double CellW = 40;
inline constexpr double CellH = 35;
// The bed inside a cell: its back board, soil and front board.
inline constexpr double BackTop = 2;
inline constexpr double SoilTop = 6;
inline constexpr double FrontTop = 27;
inline constexpr double FrontBottom = 33;
// Where a plant stands: the middle of the soil.
inline constexpr double PlantBaseY = 26;

// The unbought ground of the field (under beds), the soil in a bed (under plants and
// sprinklers), the grass around the field (under the well) and the main panel and shed
// block (under their icons).
inline constexpr uint32_t Ground = 0x8f9c55;
inline constexpr uint32_t GroundLine = 0x7c8a49;
inline constexpr uint32_t BedSoil = 0x5b3a22;
inline constexpr uint32_t Grass = 0x7dab48;

// The meadow of unbought ground with its faint plot grid, for the background picture.
void PaintGround(cairo_t* cr, double x, double y, double w, double h, uint32_t seed);
// A grassy surface with tufts.
void PaintGrass(cairo_t* cr, double x, double y, double w, double h, uint32_t seed, uint32_t base);

}  // namespace pictures::garden
