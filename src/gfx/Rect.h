// A rectangle of screen or bitmap pixels: left and top inclusive, right and bottom exclusive.
#pragma once

#include <cstdint>

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  constexpr int32_t Width() const { return Right - Left; }
  constexpr int32_t Height() const { return Bottom - Top; }
  constexpr bool operator==(const TRect&) const = default;
};

// The hit test of every button: left <= x < right and top <= y < bottom.
constexpr bool InRect(int x, int y, int left, int top, int right, int bottom) {
  return left <= x && x < right && top <= y && y < bottom;
}
