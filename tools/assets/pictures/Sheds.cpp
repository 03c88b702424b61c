// The farmyard scenes (Kulny.bmp): one per shed row, the farm growing from row to row. In
// every row the tool shed stands in the same place, where a click opens the plot actions menu.
#include <cmath>

#include "Garden.h"
#include "Paint.h"
#include "Pictures.h"
#include "Produce.h"
#include "Sky.h"
#include "Words.h"
#include "gfx/SpriteRects.h"

namespace pictures {

namespace {

constexpr double SceneW = sprites::sheds::RowWidth;
constexpr double SceneH = sprites::sheds::RowHeight;
constexpr double GroundY = 132;  // where the yard begins below the hills

void PaintSkyAndHills(cairo_t* cr, uint32_t seed) {
  LinearV(cr, 0, sky::HorizonY, sky::Top, sky::Horizon);
  cairo_paint(cr);
  TRandom rng(seed);
  // Two ranges of hills, the far one hazy.
  const uint32_t ranges[][2] = {{0xa8c8a0, 0x8fb486}, {0x8ab860, 0x6e9e48}};
  for (int range = 0; range < 2; ++range) {
    const double base = 112 + range * 14;
    cairo_move_to(cr, 0, SceneH);
    cairo_line_to(cr, 0, base);
    for (double x = 0; x < SceneW; x += 120) {
      const double peak = base - rng.Uniform(8, 26);
      cairo_curve_to(cr, x + 30, peak, x + 90, peak, x + 120, base - rng.Uniform(0, 6));
    }
    cairo_line_to(cr, SceneW, SceneH);
    cairo_close_path(cr);
    LinearV(cr, base - 26, GroundY + 10, ranges[range][0], ranges[range][1]);
    cairo_fill_preserve(cr);
    SetRgb(cr, MixHex(ranges[range][1], palette::Outline, 0.35), 0.8);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
  // The yard: grass that runs on into the strip above the field.
  garden::PaintGrass(cr, 0, GroundY, SceneW, SceneH - GroundY, seed + 1, garden::Grass);
  cairo_rectangle(cr, 0, GroundY, SceneW, 2);
  SetRgb(cr, palette::GrassDark, 0.6);
  cairo_fill(cr);
}

void Tree(cairo_t* cr, double x, double baseY, double size, uint32_t seed, bool fruit) {
  SoftShadow(cr, x, baseY, size * 0.6, size * 0.12, 0.6);
  cairo_rectangle(cr, x - size * 0.07, baseY - size * 0.7, size * 0.14, size * 0.7);
  LinearH(cr, x - size * 0.07, x + size * 0.07, 0x8a5a30, 0x4a2e16);
  FillOutline(cr, 1.4);
  TRandom rng(seed);
  cairo_new_path(cr);
  for (int i = 0; i < 7; ++i) {
    const double a = i * 2 * M_PI / 7;
    Ellipse(cr, x + std::cos(a) * size * 0.3, baseY - size * 0.95 + std::sin(a) * size * 0.24,
            size * rng.Uniform(0.26, 0.34), size * rng.Uniform(0.24, 0.3));
  }
  Ellipse(cr, x, baseY - size * 0.95, size * 0.35, size * 0.3);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, 2.4);
  cairo_stroke_preserve(cr);
  Radial(cr, x, baseY - size * 0.95, size * 0.6, x - size * 0.2, baseY - size * 1.2, 0x9ad060,
         0x3e7a2c);
  cairo_fill(cr);
  if (fruit) {
    for (int i = 0; i < 6; ++i) {
      Ellipse(cr, x + rng.Uniform(-0.4, 0.4) * size, baseY - size * rng.Uniform(0.75, 1.15),
              size * 0.045, size * 0.045);
      SetRgb(cr, 0xd8402a);
      FillOutline(cr, 0.8);
    }
  }
}

void Bush(cairo_t* cr, double x, double baseY, double size, uint32_t flowers) {
  cairo_new_path(cr);
  Ellipse(cr, x - size * 0.35, baseY - size * 0.35, size * 0.4, size * 0.35);
  Ellipse(cr, x + size * 0.35, baseY - size * 0.35, size * 0.4, size * 0.35);
  Ellipse(cr, x, baseY - size * 0.55, size * 0.45, size * 0.45);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, 2);
  cairo_stroke_preserve(cr);
  LinearV(cr, baseY - size, baseY, 0x8ac858, 0x3e7a2c);
  cairo_fill(cr);
  if (flowers != 0) {
    TRandom rng(static_cast<uint32_t>(x));
    for (int i = 0; i < 5; ++i) {
      Ellipse(cr, x + rng.Uniform(-0.6, 0.6) * size, baseY - rng.Uniform(0.2, 0.8) * size, 2.2,
              2.2);
      SetRgb(cr, flowers);
      FillOutline(cr, 0.8);
    }
  }
}

void Fence(cairo_t* cr, double x0, double x1, double baseY) {
  cairo_rectangle(cr, x0, baseY - 16, x1 - x0, 3.5);
  cairo_rectangle(cr, x0, baseY - 8, x1 - x0, 3.5);
  LinearV(cr, baseY - 16, baseY - 4, 0xe0c090, 0xa07a4a);
  FillOutline(cr, 1.2);
  for (double x = x0 + 2; x <= x1 - 4; x += 14) {
    cairo_move_to(cr, x, baseY);
    cairo_line_to(cr, x, baseY - 20);
    cairo_line_to(cr, x + 2.5, baseY - 23);
    cairo_line_to(cr, x + 5, baseY - 20);
    cairo_line_to(cr, x + 5, baseY);
    cairo_close_path(cr);
    LinearH(cr, x, x + 5, 0xf0d8a8, 0xb08858);
    FillOutline(cr, 1.2);
  }
}

// Plank walls with a gable roof; returns nothing, draws at (x, baseY) bottom-left.
void Building(cairo_t* cr, double x, double baseY, double w, double h, double roofH, uint32_t wall,
              uint32_t roof, bool planks) {
  SoftShadow(cr, x + w / 2, baseY, w * 0.6, 7, 0.6);
  cairo_rectangle(cr, x, baseY - h, w, h);
  LinearH(cr, x, x + w, MixHex(wall, 0xfff4d8, 0.25), MixHex(wall, 0x2a1808, 0.3));
  FillPreserveOutline(cr, 2);
  cairo_new_path(cr);
  if (planks) {
    SetRgb(cr, MixHex(wall, 0x2a1808, 0.45), 0.7);
    cairo_set_line_width(cr, 1);
    for (double px = x + 9; px < x + w - 2; px += 9) {
      cairo_move_to(cr, px, baseY - h + 2);
      cairo_line_to(cr, px, baseY - 1);
    }
    cairo_stroke(cr);
  }
  cairo_move_to(cr, x - 8, baseY - h + 2);
  cairo_line_to(cr, x + w / 2, baseY - h - roofH);
  cairo_line_to(cr, x + w + 8, baseY - h + 2);
  cairo_close_path(cr);
  LinearV(cr, baseY - h - roofH, baseY - h, MixHex(roof, 0xffe0c0, 0.25),
          MixHex(roof, 0x200800, 0.3));
  FillPreserveOutline(cr, 2);
  cairo_new_path(cr);
  // Roof tiles in rows.
  SetRgb(cr, MixHex(roof, 0x200800, 0.5), 0.6);
  cairo_set_line_width(cr, 1);
  for (double t = 0.3; t < 1; t += 0.25) {
    cairo_move_to(cr, x + w / 2 - (w / 2 + 8) * t, baseY - h - roofH + roofH * t + 2);
    cairo_line_to(cr, x + w / 2 + (w / 2 + 8) * t, baseY - h - roofH + roofH * t + 2);
  }
  cairo_stroke(cr);
}

void Window(cairo_t* cr, double x, double y, double w, double h) {
  cairo_rectangle(cr, x, y, w, h);
  LinearV(cr, y, y + h, 0xfff0b0, 0xe8b050);
  FillPreserveOutline(cr, 1.6);
  cairo_new_path(cr);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, 1.4);
  cairo_move_to(cr, x + w / 2, y);
  cairo_line_to(cr, x + w / 2, y + h);
  cairo_move_to(cr, x, y + h / 2);
  cairo_line_to(cr, x + w, y + h / 2);
  cairo_stroke(cr);
}

// The tool shed, always in the click area: source x 107..276, y 75..164.
void Shed(cairo_t* cr, int kulna) {
  const TRect& a = sprites::sheds::ShedInRow;
  const double x = a.Left + 14;
  const double w = a.Width() - 28;
  const double base = a.Bottom - 4;
  // The path from its door down to the field.
  cairo_move_to(cr, x + w / 2 - 16, base);
  cairo_line_to(cr, x + w / 2 + 16, base);
  cairo_line_to(cr, x + w / 2 + 30, SceneH);
  cairo_line_to(cr, x + w / 2 - 30, SceneH);
  cairo_close_path(cr);
  LinearV(cr, base, SceneH, 0xc8a470, 0xa88450);
  cairo_fill(cr);
  Building(cr, x, base, w, 50, 30, kulna >= 2 ? 0xb86a3c : palette::Wood, 0x9a3a26, true);
  // Open double door with tools inside: where the tools are, the plot menu opens.
  const double dw = 40;
  const double dx = x + w / 2 - dw / 2;
  cairo_rectangle(cr, dx, base - 38, dw, 38);
  SetRgb(cr, 0x2a1a10);
  FillOutline(cr, 2);
  // A spade and a rake leaning inside.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  SetRgb(cr, 0xc89a5e);
  cairo_set_line_width(cr, 2.4);
  cairo_move_to(cr, dx + 12, base - 4);
  cairo_line_to(cr, dx + 16, base - 34);
  cairo_move_to(cr, dx + 28, base - 4);
  cairo_line_to(cr, dx + 25, base - 34);
  cairo_stroke(cr);
  cairo_move_to(cr, dx + 8, base - 2);
  cairo_line_to(cr, dx + 16, base - 2);
  cairo_line_to(cr, dx + 15, base - 12);
  cairo_line_to(cr, dx + 10, base - 12);
  cairo_close_path(cr);
  SetRgb(cr, 0xb8c4cc);
  FillOutline(cr, 1);
  cairo_rectangle(cr, dx + 19, base - 36, 12, 3);
  SetRgb(cr, 0x8a949c);
  FillOutline(cr, 1);
  // Door leaves swung open.
  for (int side = -1; side <= 1; side += 2) {
    const double hinge = side < 0 ? dx : dx + dw;
    cairo_move_to(cr, hinge, base - 38);
    cairo_line_to(cr, hinge + side * 13, base - 42);
    cairo_line_to(cr, hinge + side * 13, base + 3);
    cairo_line_to(cr, hinge, base);
    cairo_close_path(cr);
    LinearH(cr, hinge, hinge + side * 13, palette::WoodLight, palette::Wood);
    FillOutline(cr, 1.6);
  }
  // A sign over the door: here are the tools, and a click here opens the plot menu.
  RoundRect(cr, x + w / 2 - 27, base - 65, 54, 19, 4);
  LinearV(cr, base - 65, base - 46, 0xfff0c8, 0xe0c08a);
  FillOutline(cr, 1.6);
  TTextStyle sign;
  sign.Size = 13;
  sign.Fill = 0x6e2a14;
  // TRANSLATORS: the sign over the shed's door (the shed opens the menu of tools), 48 pixels
  // wide; a longer word is drawn smaller.
  Text(cr, Words("Nářadí"), x + w / 2, base - 55.5, sign, TAlign::Centre, 48);
  // Barrels and sacks grow with the farm.
  if (kulna >= 1) {
    RoundRect(cr, x + w + 2, base - 20, 14, 20, 4);
    LinearH(cr, x + w + 2, x + w + 16, 0xc08a50, palette::WoodDark);
    FillOutline(cr, 1.4);
  }
  if (kulna >= 3) {
    Ellipse(cr, x - 8, base - 9, 9, 9);
    LinearV(cr, base - 18, base, 0xe8d8b0, 0xb8a070);
    FillOutline(cr, 1.4);
  }
}

void House(cairo_t* cr, double x, double base, double w, bool big) {
  const double h = big ? 62 : 48;
  Building(cr, x, base, w, h, big ? 38 : 30, 0xf0e2c0, 0xb04a2e, false);
  // Chimney, windows and a door.
  cairo_rectangle(cr, x + w * 0.7, base - h - (big ? 34 : 28), 9, 18);
  SetRgb(cr, 0x9a4a3a);
  FillOutline(cr, 1.6);
  Window(cr, x + 10, base - h + 12, 16, 14);
  Window(cr, x + w - 26, base - h + 12, 16, 14);
  if (big) Window(cr, x + w / 2 - 8, base - h - 22, 16, 14);
  RoundRect(cr, x + w / 2 - 9, base - 26, 18, 26, 3);
  LinearV(cr, base - 26, base, 0x8a5a30, 0x5a3418);
  FillOutline(cr, 1.6);
  // Flowers under the windows.
  for (double fx : {x + 10.0, x + w - 26}) {
    cairo_rectangle(cr, fx - 1, base - h + 27, 18, 4);
    SetRgb(cr, 0x8a5a30);
    FillOutline(cr, 1);
    for (int i = 0; i < 4; ++i) {
      Ellipse(cr, fx + 2 + i * 4.3, base - h + 26, 2, 2);
      SetRgb(cr, i % 2 ? 0xe8483a : palette::Gold);
      FillOutline(cr, 0.7);
    }
  }
}

void Barn(cairo_t* cr, double x, double base) {
  Building(cr, x, base, 110, 58, 40, 0xb0402e, 0x5a4a44, true);
  RoundRect(cr, x + 35, base - 44, 40, 44, 2);
  SetRgb(cr, 0xf0e2c0);
  FillOutline(cr, 2);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, 2);
  cairo_move_to(cr, x + 35, base - 44);
  cairo_line_to(cr, x + 75, base);
  cairo_move_to(cr, x + 75, base - 44);
  cairo_line_to(cr, x + 35, base);
  cairo_stroke(cr);
  Window(cr, x + 46, base - 84, 18, 14);
}

void Greenhouse(cairo_t* cr, double x, double base, double w) {
  SoftShadow(cr, x + w / 2, base, w * 0.6, 6, 0.5);
  cairo_move_to(cr, x, base);
  cairo_line_to(cr, x, base - 26);
  cairo_curve_to(cr, x, base - 50, x + w, base - 50, x + w, base - 26);
  cairo_line_to(cr, x + w, base);
  cairo_close_path(cr);
  LinearV(cr, base - 50, base, 0xe8f6fa, 0x9ccad8);
  FillPreserveOutline(cr, 2);
  cairo_new_path(cr);
  SetRgb(cr, 0xffffff, 0.7);
  cairo_set_line_width(cr, 1.4);
  for (double px = x + w / 5; px < x + w; px += w / 5) {
    cairo_move_to(cr, px, base);
    cairo_line_to(cr, px, base - 44);
  }
  cairo_stroke(cr);
  // Seedlings behind the glass.
  for (double px = x + 8; px < x + w - 6; px += 10) {
    LeafPath(cr, px, base - 4, px + 3, base - 14, 5);
    SetRgb(cr, 0x5a9a3a, 0.9);
    cairo_fill(cr);
  }
}

void Windmill(cairo_t* cr, double x, double base) {
  cairo_move_to(cr, x - 20, base);
  cairo_line_to(cr, x - 12, base - 80);
  cairo_line_to(cr, x + 12, base - 80);
  cairo_line_to(cr, x + 20, base);
  cairo_close_path(cr);
  LinearH(cr, x - 20, x + 20, 0xf4ead0, 0xb8a888);
  FillOutline(cr, 2);
  RoundRect(cr, x - 6, base - 20, 12, 20, 5);
  SetRgb(cr, palette::WoodDark);
  FillOutline(cr, 1.4);
  cairo_move_to(cr, x - 16, base - 78);
  cairo_line_to(cr, x, base - 96);
  cairo_line_to(cr, x + 16, base - 78);
  cairo_close_path(cr);
  SetRgb(cr, 0x9a3a26);
  FillOutline(cr, 1.6);
  // Sails at a slant, none upright.
  for (int i = 0; i < 4; ++i) {
    const double a = M_PI / 4 + i * M_PI / 2;
    cairo_save(cr);
    cairo_translate(cr, x, base - 82);
    cairo_rotate(cr, a);
    cairo_rectangle(cr, 4, -4.5, 36, 9);
    SetRgb(cr, 0xf8f0dc);
    FillOutline(cr, 1.4);
    cairo_restore(cr);
  }
  Ellipse(cr, x, base - 82, 4, 4);
  SetRgb(cr, palette::Outline);
  cairo_fill(cr);
}

void Tractor(cairo_t* cr, double x, double base) {
  SoftShadow(cr, x + 30, base, 40, 5, 0.6);
  RoundRect(cr, x, base - 30, 46, 18, 4);
  LinearV(cr, base - 30, base - 12, 0xe85a3a, 0x9a2a1a);
  FillOutline(cr, 1.8);
  cairo_rectangle(cr, x + 26, base - 48, 20, 20);
  SetRgb(cr, 0xd8eef6);
  FillOutline(cr, 1.8);
  cairo_rectangle(cr, x + 8, base - 40, 4, 12);
  SetRgb(cr, 0x4a4a4a);
  FillOutline(cr, 1.2);
  for (const auto& [wx, r] : {std::pair{x + 38.0, 14.0}, std::pair{x + 8.0, 9.0}}) {
    Ellipse(cr, wx, base - r, r, r);
    SetRgb(cr, 0x2a2a2a);
    FillOutline(cr, 1.6);
    Ellipse(cr, wx, base - r, r * 0.45, r * 0.45);
    SetRgb(cr, palette::Gold);
    FillOutline(cr, 1.2);
  }
}

// Vegetable rows of the farm's own kitchen garden at the right, below the panels.
void KitchenGarden(cairo_t* cr, double x0, double x1, int rows) {
  for (int r = 0; r < rows; ++r) {
    const double y = 150 + r * 16;
    RoundRect(cr, x0, y, x1 - x0, 10, 4);
    SetRgb(cr, palette::Soil);
    FillOutline(cr, 1.4);
    for (double x = x0 + 10; x < x1 - 6; x += 18)
      PaintProduce(cr, (r + static_cast<int>(x)) % 4, x, y + 1, 11);
  }
}

void Chicken(cairo_t* cr, double x, double base, bool facingLeft) {
  cairo_save(cr);
  cairo_translate(cr, x, base);
  if (!facingLeft) cairo_scale(cr, -1, 1);
  SoftShadow(cr, 0, 0, 8, 2, 0.5);
  SetRgb(cr, 0xe0a020);
  cairo_set_line_width(cr, 1.2);
  cairo_move_to(cr, -1, -4);
  cairo_line_to(cr, -2, 0);
  cairo_move_to(cr, 2, -4);
  cairo_line_to(cr, 3, 0);
  cairo_stroke(cr);
  Ellipse(cr, 1, -8, 7, 5);
  LinearV(cr, -13, -3, 0xffffff, 0xd8d0c0);
  FillOutline(cr, 1.2);
  Ellipse(cr, -5, -13, 3.5, 3.5);
  SetRgb(cr, 0xffffff);
  FillOutline(cr, 1.2);
  Ellipse(cr, -5, -17, 1.8, 1.4);
  SetRgb(cr, 0xd8302a);
  FillOutline(cr, 0.8);
  cairo_move_to(cr, -8.5, -13.5);
  cairo_line_to(cr, -11, -12.5);
  cairo_line_to(cr, -8.5, -11.5);
  cairo_close_path(cr);
  SetRgb(cr, 0xf0b030);
  FillOutline(cr, 0.7);
  Ellipse(cr, -5.5, -13.8, 0.7, 0.7);
  SetRgb(cr, palette::Outline);
  cairo_fill(cr);
  cairo_restore(cr);
}

void Beehive(cairo_t* cr, double x, double base) {
  cairo_rectangle(cr, x - 2, base - 4, 24, 4);
  SetRgb(cr, palette::WoodDark);
  FillOutline(cr, 1.2);
  for (int i = 0; i < 3; ++i) {
    RoundRect(cr, x + i * 0.5, base - 10 - i * 6, 20 - i, 6.5, 1.5);
    LinearV(cr, base - 10 - i * 6, base - 4 - i * 6, 0xf8d878, 0xc89a30);
    FillOutline(cr, 1.2);
  }
  cairo_move_to(cr, x - 2, base - 22);
  cairo_line_to(cr, x + 10, base - 29);
  cairo_line_to(cr, x + 22, base - 22);
  cairo_close_path(cr);
  SetRgb(cr, 0x9a3a26);
  FillOutline(cr, 1.2);
  RoundRect(cr, x + 7, base - 8, 6, 2.5, 1);
  SetRgb(cr, 0x2a1a10);
  cairo_fill(cr);
}

// Clusters of flowers along the foot of the fence.
void FlowerPatches(cairo_t* cr, double x0, double x1, double y, uint32_t seed) {
  TRandom rng(seed);
  const uint32_t colours[] = {0xe8483a, palette::Gold, 0xfff4e0, 0xf08a3a, 0x6a8ad8};
  for (double x = x0; x < x1; x += rng.Uniform(40, 70)) {
    for (int i = 0; i < 5; ++i) {
      const double fx = x + rng.Uniform(-9, 9);
      const double fy = y + rng.Uniform(-3, 3);
      cairo_move_to(cr, fx, fy + 4);
      cairo_line_to(cr, fx, fy);
      SetRgb(cr, palette::LeafDark);
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
      Ellipse(cr, fx, fy, 2.1, 2.1);
      SetRgb(cr, colours[rng.Int(0, 4)]);
      FillOutline(cr, 0.8);
    }
  }
}

void PaintScene(cairo_t* cr, int kulna) {
  PaintSkyAndHills(cr, 40 + kulna);
  // The farm grows: each row adds to the one before.
  if (kulna >= 2) Tree(cr, 380, 150, 56, 3, kulna >= 4);
  if (kulna >= 1) Tree(cr, 700, 148, 48, 4, kulna >= 3);
  if (kulna >= 3) Windmill(cr, 592, 150);
  if (kulna >= 2) Barn(cr, 640, 168);
  if (kulna >= 1) House(cr, 420, 170, kulna >= 3 ? 130 : 100, kulna >= 3);
  if (kulna >= 4) Greenhouse(cr, 300, 182, 70);
  Shed(cr, kulna);
  if (kulna >= 3) {
    Beehive(cr, 742, 170);
    Beehive(cr, 768, 172);
  }
  const double fenceEnd = kulna >= 2 ? 760 : 420;
  Fence(cr, 290, fenceEnd, 196);
  if (kulna >= 1) FlowerPatches(cr, 305, fenceEnd, 203, 60 + kulna);
  // Hens pecking in front of the fence.
  if (kulna >= 2) {
    Chicken(cr, 452, 207, true);
    Chicken(cr, 486, 209, false);
    if (kulna >= 3) Chicken(cr, 524, 206, true);
  }
  Bush(cr, 96, 168, 22, kulna >= 1 ? palette::Gold : 0);
  if (kulna >= 1) Bush(cr, 575, 185, 20, 0xe8483a);
  KitchenGarden(cr, 800, 990, 1 + std::min(kulna, 3));
  if (kulna >= 4) Tractor(cr, 612, 209);
  if (kulna == 0) Bush(cr, 500, 170, 26, 0);
}

}  // namespace

TSheet DrawSheds() {
  using namespace sprites::sheds;
  TSheet sheet(File, Width, Height);
  for (int k = 0; k < Rows; ++k)
    sheet.Paint(Row(k), TFlatten::Opaque(), [k](cairo_t* cr) { PaintScene(cr, k); });
  return sheet;
}

}  // namespace pictures
