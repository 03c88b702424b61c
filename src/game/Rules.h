// The garden's rules in one place: what each tool costs, what a plot holds, where the field lies
// on the screen and how often things happen. The game, the campaign player, the runner and the
// tests take them from here.
#pragma once

#include <cstdint>

namespace rules {

// Prices in Kč, as ChangeMoney takes them.
inline constexpr int16_t PlotPrice = 50;      // buying a plot
inline constexpr int16_t WaterPrice = 3;      // watering a plant by hand
inline constexpr int16_t FertilisePrice = 9;  // restoring a plot's fertility
inline constexpr int16_t PipeLayPrice = 35;   // laying a pipe on a plot
inline constexpr int16_t PipeWaterPrice = 3;  // each watering a pipe gives by itself
inline constexpr int16_t WellPrice = 1900;    // building the well
inline constexpr int16_t ClearingFee = 6;     // harvesting a withered plant

// Water and fertility of a fresh plot, and the most either can be.
inline constexpr double Full = 100.0;
// Water is lost once every this many frames.
inline constexpr int FramesPerWaterLoss = 25;
// With less money than this and no living plant, the level is lost.
inline constexpr int32_t OutOfMoneyLimit = 20;

// The field on the screen: 24 x 13 plots of 40 x 35 pixels from (33, 280).
inline constexpr int FieldLeft = 33;
inline constexpr int FieldTop = 280;
inline constexpr int CellWidth = 40;
inline constexpr int CellHeight = 35;
constexpr int CellX(int col) { return FieldLeft + CellWidth * col; }
constexpr int CellY(int row) { return FieldTop + CellHeight * row; }

}  // namespace rules
