// The sky of the farmyard scenes, which the clouds are flattened against.
#pragma once

#include <cstdint>

namespace pictures::sky {
inline constexpr uint32_t Top = 0x86bfe8;           // at the top edge of a scene
inline constexpr uint32_t Horizon = 0xdcefF6;       // where the sky meets the hills
inline constexpr double HorizonY = 120;             // scene rows from the top
inline constexpr uint32_t BehindClouds = 0x93c7ea;  // the sky in the cloud band (rows 0..39)
}  // namespace pictures::sky
