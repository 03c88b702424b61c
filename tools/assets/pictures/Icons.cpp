#include "Icons.h"

#include <cmath>

#include "Paint.h"
#include "Produce.h"

namespace pictures::icons {

namespace {
double Ink(double s) { return std::max(1.0, s / 24); }
}  // namespace

void WateringCan(cairo_t* cr, double cx, double cy, double s) {
  const double lw = Ink(s);
  // Spout first, behind the body.
  cairo_move_to(cr, cx + 0.12 * s, cy + 0.1 * s);
  cairo_line_to(cr, cx + 0.46 * s, cy - 0.22 * s);
  cairo_line_to(cr, cx + 0.5 * s, cy - 0.16 * s);
  cairo_line_to(cr, cx + 0.2 * s, cy + 0.22 * s);
  cairo_close_path(cr);
  LinearV(cr, cy - 0.22 * s, cy + 0.22 * s, 0x9ad0e0, 0x3a7a90);
  FillOutline(cr, lw);
  Ellipse(cr, cx + 0.48 * s, cy - 0.2 * s, 0.06 * s, 0.08 * s);
  SetRgb(cr, 0x3a7a90);
  FillOutline(cr, lw);
  // Handle.
  cairo_arc(cr, cx - 0.14 * s, cy - 0.16 * s, 0.2 * s, M_PI, 2 * M_PI);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, 0.11 * s + lw);
  cairo_stroke_preserve(cr);
  SetRgb(cr, 0x4a90a8);
  cairo_set_line_width(cr, 0.11 * s - lw);
  cairo_stroke(cr);
  // Body.
  RoundRect(cr, cx - 0.4 * s, cy - 0.14 * s, 0.56 * s, 0.46 * s, 0.08 * s);
  LinearH(cr, cx - 0.4 * s, cx + 0.16 * s, 0x9ad8ea, 0x2f6f8a);
  FillOutline(cr, lw);
  SetRgb(cr, 0xe8f8ff, 0.8);
  cairo_rectangle(cr, cx - 0.34 * s, cy - 0.08 * s, 0.06 * s, 0.32 * s);
  cairo_fill(cr);
  // Drops.
  for (int i = 0; i < 3; ++i) {
    Ellipse(cr, cx + (0.5 + i * 0.06) * s, cy + (0.0 + i * 0.14) * s, 0.035 * s, 0.05 * s);
    SetRgb(cr, palette::Water);
    FillOutline(cr, lw * 0.7, 0x2f6f9a);
  }
}

void Basket(cairo_t* cr, double cx, double cy, double s) {
  const double lw = Ink(s);
  // Produce peeking out of the basket.
  PaintProduce(cr, Carrot, cx - 0.2 * s, cy - 0.22 * s, 0.42 * s);
  PaintProduce(cr, Cauliflower, cx + 0.14 * s, cy - 0.14 * s, 0.42 * s);
  // Handle.
  cairo_arc(cr, cx, cy, 0.34 * s, M_PI * 1.05, M_PI * 1.95);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, 0.08 * s + lw);
  cairo_stroke_preserve(cr);
  SetRgb(cr, 0xc8944e);
  cairo_set_line_width(cr, 0.08 * s - lw);
  cairo_stroke(cr);
  // Wicker body.
  cairo_move_to(cr, cx - 0.42 * s, cy - 0.02 * s);
  cairo_line_to(cr, cx + 0.42 * s, cy - 0.02 * s);
  cairo_line_to(cr, cx + 0.32 * s, cy + 0.38 * s);
  cairo_line_to(cr, cx - 0.32 * s, cy + 0.38 * s);
  cairo_close_path(cr);
  LinearV(cr, cy, cy + 0.38 * s, 0xe0aa60, 0x8a5a2a);
  FillPreserveOutline(cr, lw);
  cairo_save(cr);
  cairo_clip(cr);
  SetRgb(cr, palette::WoodDark, 0.7);
  cairo_set_line_width(cr, lw * 0.8);
  for (double t = -0.5; t < 0.5; t += 0.12) {
    cairo_move_to(cr, cx + t * s, cy - 0.02 * s);
    cairo_line_to(cr, cx + (t + 0.1) * s, cy + 0.38 * s);
  }
  for (double y = 0.1; y < 0.38; y += 0.1) {
    cairo_move_to(cr, cx - 0.45 * s, cy + y * s);
    cairo_line_to(cr, cx + 0.45 * s, cy + y * s);
  }
  cairo_stroke(cr);
  cairo_restore(cr);
  cairo_new_path(cr);
  RoundRect(cr, cx - 0.45 * s, cy - 0.07 * s, 0.9 * s, 0.1 * s, 0.04 * s);
  SetRgb(cr, 0xc8944e);
  FillOutline(cr, lw);
}

void Sack(cairo_t* cr, double cx, double cy, double s) {
  const double lw = Ink(s);
  cairo_move_to(cr, cx - 0.16 * s, cy - 0.34 * s);
  cairo_curve_to(cr, cx - 0.5 * s, cy - 0.1 * s, cx - 0.46 * s, cy + 0.42 * s, cx, cy + 0.42 * s);
  cairo_curve_to(cr, cx + 0.46 * s, cy + 0.42 * s, cx + 0.5 * s, cy - 0.1 * s, cx + 0.16 * s,
                 cy - 0.34 * s);
  cairo_close_path(cr);
  Radial(cr, cx, cy + 0.1 * s, 0.5 * s, cx - 0.12 * s, cy, 0xe8d0a0, 0x9a7a48);
  FillOutline(cr, lw);
  // Tied neck.
  cairo_move_to(cr, cx - 0.16 * s, cy - 0.34 * s);
  cairo_line_to(cr, cx - 0.22 * s, cy - 0.46 * s);
  cairo_line_to(cr, cx + 0.22 * s, cy - 0.46 * s);
  cairo_line_to(cr, cx + 0.16 * s, cy - 0.34 * s);
  cairo_close_path(cr);
  SetRgb(cr, 0xd8bc88);
  FillOutline(cr, lw);
  cairo_rectangle(cr, cx - 0.19 * s, cy - 0.36 * s, 0.38 * s, 0.05 * s);
  SetRgb(cr, 0x8a3a2a);
  FillOutline(cr, lw * 0.7);
  // A green sprout printed on the sack: fertiliser.
  LeafPath(cr, cx, cy + 0.22 * s, cx - 0.16 * s, cy - 0.04 * s, 0.12 * s);
  SetRgb(cr, palette::Leaf);
  FillOutline(cr, lw * 0.8);
  LeafPath(cr, cx, cy + 0.22 * s, cx + 0.18 * s, cy - 0.08 * s, 0.14 * s);
  SetRgb(cr, palette::LeafLight);
  FillOutline(cr, lw * 0.8);
}

void Coin(cairo_t* cr, double cx, double cy, double r) {
  Ellipse(cr, cx, cy, r, r);
  Radial(cr, cx, cy, r, cx - r * 0.3, cy - r * 0.3, 0xfff0a0, 0xc08a20);
  FillOutline(cr, std::max(1.0, r / 6));
  Ellipse(cr, cx, cy, r * 0.68, r * 0.68);
  SetRgb(cr, 0xa06a10, 0.8);
  cairo_set_line_width(cr, std::max(0.8, r / 9));
  cairo_stroke(cr);
}

void BedForSale(cairo_t* cr, double cx, double cy, double s) {
  const double lw = Ink(s);
  RoundRect(cr, cx - 0.44 * s, cy - 0.2 * s, 0.88 * s, 0.46 * s, 0.06 * s);
  LinearV(cr, cy - 0.2 * s, cy + 0.26 * s, palette::SoilLight, palette::SoilDark);
  FillOutline(cr, lw);
  cairo_rectangle(cr, cx - 0.44 * s, cy + 0.14 * s, 0.88 * s, 0.12 * s);
  LinearV(cr, cy + 0.14 * s, cy + 0.26 * s, palette::WoodLight, palette::WoodDark);
  FillOutline(cr, lw);
  // A little sign stuck in the soil, with a coin: buy this plot.
  cairo_rectangle(cr, cx - 0.2 * s, cy - 0.3 * s, 0.05 * s, 0.4 * s);
  SetRgb(cr, palette::WoodDark);
  FillOutline(cr, lw * 0.8);
  RoundRect(cr, cx - 0.4 * s, cy - 0.46 * s, 0.44 * s, 0.22 * s, 0.04 * s);
  SetRgb(cr, palette::Paper);
  FillOutline(cr, lw * 0.8);
  Coin(cr, cx - 0.18 * s, cy - 0.35 * s, 0.07 * s);
  Coin(cr, cx + 0.22 * s, cy - 0.18 * s, 0.2 * s);
}

void Well(cairo_t* cr, double cx, double cy, double s) {
  const double lw = Ink(s);
  for (double px : {-0.34, 0.28}) {
    cairo_rectangle(cr, cx + px * s, cy - 0.3 * s, 0.07 * s, 0.46 * s);
    SetRgb(cr, palette::Wood);
    FillOutline(cr, lw);
  }
  cairo_move_to(cr, cx - 0.48 * s, cy - 0.24 * s);
  cairo_line_to(cr, cx, cy - 0.48 * s);
  cairo_line_to(cr, cx + 0.48 * s, cy - 0.24 * s);
  cairo_close_path(cr);
  LinearV(cr, cy - 0.48 * s, cy - 0.24 * s, 0xc0563a, 0x7a2e1e);
  FillOutline(cr, lw);
  Ellipse(cr, cx, cy + 0.08 * s, 0.36 * s, 0.09 * s);
  SetRgb(cr, 0x20303a);
  FillOutline(cr, lw);
  cairo_move_to(cr, cx - 0.36 * s, cy + 0.08 * s);
  cairo_line_to(cr, cx - 0.36 * s, cy + 0.34 * s);
  cairo_curve_to(cr, cx - 0.2 * s, cy + 0.46 * s, cx + 0.2 * s, cy + 0.46 * s, cx + 0.36 * s,
                 cy + 0.34 * s);
  cairo_line_to(cr, cx + 0.36 * s, cy + 0.08 * s);
  cairo_curve_to(cr, cx + 0.2 * s, cy + 0.18 * s, cx - 0.2 * s, cy + 0.18 * s, cx - 0.36 * s,
                 cy + 0.08 * s);
  cairo_close_path(cr);
  LinearH(cr, cx - 0.36 * s, cx + 0.36 * s, 0xc8c0b4, palette::StoneDark);
  FillOutline(cr, lw);
  SetRgb(cr, palette::StoneDark);
  cairo_set_line_width(cr, lw * 0.7);
  cairo_move_to(cr, cx - 0.36 * s, cy + 0.26 * s);
  cairo_curve_to(cr, cx - 0.2 * s, cy + 0.34 * s, cx + 0.2 * s, cy + 0.34 * s, cx + 0.36 * s,
                 cy + 0.26 * s);
  for (double x : {-0.2, 0.0, 0.2}) {
    cairo_move_to(cr, cx + x * s, cy + 0.18 * s);
    cairo_line_to(cr, cx + x * s, cy + 0.3 * s);
  }
  cairo_stroke(cr);
}

void Sprinkler(cairo_t* cr, double cx, double cy, double s) {
  const double lw = Ink(s);
  // Jets of water over the pipe.
  for (int jet = 0; jet < 3; ++jet) {
    const double spread = (0.22 + jet * 0.12) * s;
    for (int side = -1; side <= 1; side += 2) {
      cairo_move_to(cr, cx, cy - 0.12 * s);
      cairo_curve_to(cr, cx + side * spread * 0.4, cy - (0.45 + jet * 0.04) * s, cx + side * spread,
                     cy - 0.4 * s, cx + side * spread * 1.2, cy - 0.05 * s);
    }
  }
  SetRgb(cr, 0x2f6f9a);
  cairo_set_line_width(cr, lw * 2.4);
  cairo_stroke_preserve(cr);
  SetRgb(cr, palette::Water);
  cairo_set_line_width(cr, lw * 1.2);
  cairo_stroke(cr);
  cairo_rectangle(cr, cx - 0.48 * s, cy + 0.16 * s, 0.96 * s, 0.14 * s);
  LinearV(cr, cy + 0.16 * s, cy + 0.3 * s, 0xc9d8e2, 0x56687a);
  FillOutline(cr, lw);
  cairo_rectangle(cr, cx - 0.05 * s, cy - 0.1 * s, 0.1 * s, 0.28 * s);
  LinearH(cr, cx - 0.05 * s, cx + 0.05 * s, 0xc9d8e2, 0x56687a);
  FillOutline(cr, lw);
  RoundRect(cr, cx - 0.1 * s, cy - 0.16 * s, 0.2 * s, 0.1 * s, 0.03 * s);
  LinearV(cr, cy - 0.16 * s, cy - 0.06 * s, 0xf4d27a, 0xa8741c);
  FillOutline(cr, lw);
}

void Cog(cairo_t* cr, double cx, double cy, double s) {
  const double lw = Ink(s);
  const int teeth = 8;
  const double ro = 0.46 * s;
  const double ri = 0.34 * s;
  cairo_new_path(cr);
  for (int i = 0; i < teeth * 2; ++i) {
    const double a0 = i * M_PI / teeth;
    const double a1 = (i + 1) * M_PI / teeth;
    const double r = i % 2 == 0 ? ro : ri;
    cairo_arc(cr, cx, cy, r, a0 + 0.08, a1 - 0.08);
  }
  cairo_close_path(cr);
  Ellipse(cr, cx, cy, 0.15 * s, 0.15 * s);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  Radial(cr, cx, cy, ro, cx - 0.15 * s, cy - 0.15 * s, 0xe8ecf0, 0x6a7480);
  FillOutline(cr, lw);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

void Floppy(cairo_t* cr, double cx, double cy, double s) {
  const double lw = Ink(s);
  const double h = 0.42 * s;
  cairo_move_to(cr, cx - h, cy - h);
  cairo_line_to(cr, cx + h - 0.12 * s, cy - h);
  cairo_line_to(cr, cx + h, cy - h + 0.12 * s);
  cairo_line_to(cr, cx + h, cy + h);
  cairo_line_to(cr, cx - h, cy + h);
  cairo_close_path(cr);
  LinearV(cr, cy - h, cy + h, 0x5a8ad0, 0x24487a);
  FillOutline(cr, lw);
  cairo_rectangle(cr, cx - 0.22 * s, cy - h, 0.42 * s, 0.28 * s);
  SetRgb(cr, 0xd8dde4);
  FillOutline(cr, lw);
  cairo_rectangle(cr, cx + 0.06 * s, cy - h + 0.04 * s, 0.08 * s, 0.18 * s);
  SetRgb(cr, 0x24487a);
  cairo_fill(cr);
  RoundRect(cr, cx - 0.3 * s, cy + 0.02 * s, 0.6 * s, 0.36 * s, 0.03 * s);
  SetRgb(cr, 0xfdf6e4);
  FillOutline(cr, lw);
  SetRgb(cr, 0xa0a8b0);
  cairo_set_line_width(cr, lw * 0.7);
  for (double y : {0.12, 0.22}) {
    cairo_move_to(cr, cx - 0.22 * s, cy + y * s);
    cairo_line_to(cr, cx + 0.22 * s, cy + y * s);
  }
  cairo_stroke(cr);
}

void Folder(cairo_t* cr, double cx, double cy, double s) {
  const double lw = Ink(s);
  cairo_move_to(cr, cx - 0.44 * s, cy - 0.3 * s);
  cairo_line_to(cr, cx - 0.14 * s, cy - 0.3 * s);
  cairo_line_to(cr, cx - 0.06 * s, cy - 0.2 * s);
  cairo_line_to(cr, cx + 0.4 * s, cy - 0.2 * s);
  cairo_line_to(cr, cx + 0.4 * s, cy + 0.34 * s);
  cairo_line_to(cr, cx - 0.44 * s, cy + 0.34 * s);
  cairo_close_path(cr);
  SetRgb(cr, 0xc8902c);
  FillOutline(cr, lw);
  // A sheet coming out with an arrow: loading.
  cairo_rectangle(cr, cx - 0.3 * s, cy - 0.36 * s, 0.5 * s, 0.4 * s);
  SetRgb(cr, 0xfdf6e4);
  FillOutline(cr, lw);
  cairo_move_to(cr, cx - 0.05 * s, cy - 0.12 * s);
  cairo_line_to(cr, cx - 0.05 * s, cy - 0.46 * s);
  cairo_move_to(cr, cx - 0.18 * s, cy - 0.33 * s);
  cairo_line_to(cr, cx - 0.05 * s, cy - 0.48 * s);
  cairo_line_to(cr, cx + 0.08 * s, cy - 0.33 * s);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, lw * 3);
  cairo_stroke_preserve(cr);
  SetRgb(cr, 0x4aa83a);
  cairo_set_line_width(cr, lw * 1.4);
  cairo_stroke(cr);
  cairo_move_to(cr, cx - 0.5 * s, cy - 0.08 * s);
  cairo_line_to(cr, cx + 0.34 * s, cy - 0.08 * s);
  cairo_line_to(cr, cx + 0.44 * s, cy + 0.34 * s);
  cairo_line_to(cr, cx - 0.44 * s, cy + 0.34 * s);
  cairo_close_path(cr);
  LinearV(cr, cy - 0.08 * s, cy + 0.34 * s, 0xffd870, 0xd89a30);
  FillOutline(cr, lw);
}

void Home(cairo_t* cr, double cx, double cy, double s) {
  const double lw = Ink(s);
  cairo_rectangle(cr, cx - 0.32 * s, cy - 0.08 * s, 0.64 * s, 0.46 * s);
  LinearH(cr, cx - 0.32 * s, cx + 0.32 * s, 0xfff0d0, 0xd0b890);
  FillOutline(cr, lw);
  cairo_move_to(cr, cx - 0.46 * s, cy - 0.04 * s);
  cairo_line_to(cr, cx, cy - 0.46 * s);
  cairo_line_to(cr, cx + 0.46 * s, cy - 0.04 * s);
  cairo_close_path(cr);
  LinearV(cr, cy - 0.46 * s, cy, 0xd8603a, 0x8a2e1e);
  FillOutline(cr, lw);
  RoundRect(cr, cx - 0.1 * s, cy + 0.1 * s, 0.2 * s, 0.28 * s, 0.03 * s);
  SetRgb(cr, palette::WoodDark);
  FillOutline(cr, lw);
}

void Envelope(cairo_t* cr, double x, double y, double w, double h) {
  RoundRect(cr, x, y, w, h, 1.5);
  LinearV(cr, y, y + h, 0xfffaf0, 0xe6d2a6);
  FillOutline(cr, 1.2);
  cairo_move_to(cr, x + 0.5, y + 0.5);
  cairo_line_to(cr, x + w / 2, y + h * 0.6);
  cairo_line_to(cr, x + w - 0.5, y + 0.5);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, 1.1);
  cairo_stroke(cr);
  Ellipse(cr, x + w / 2, y + h * 0.6, 2.4, 2.4);
  SetRgb(cr, 0xc8342a);
  FillOutline(cr, 0.8);
}

void Clipboard(cairo_t* cr, double x, double y, double w, double h) {
  RoundRect(cr, x, y + 2, w, h - 2, 2);
  LinearV(cr, y, y + h, palette::WoodLight, palette::WoodDark);
  FillOutline(cr, 1.2);
  cairo_rectangle(cr, x + 2.5, y + 5, w - 5, h - 8);
  SetRgb(cr, 0xfffaf0);
  FillOutline(cr, 0.8);
  RoundRect(cr, x + w / 2 - 4, y + 0.5, 8, 4, 1);
  SetRgb(cr, 0xa8b0b8);
  FillOutline(cr, 0.8);
  // Three goal lines with ticks.
  for (int i = 0; i < 3; ++i) {
    const double ly = y + 9 + i * 4.3;
    cairo_move_to(cr, x + 4, ly);
    cairo_line_to(cr, x + 5.5, ly + 1.5);
    cairo_line_to(cr, x + 8, ly - 1.5);
    SetRgb(cr, 0x3a9a2a);
    cairo_set_line_width(cr, 1.1);
    cairo_stroke(cr);
    cairo_move_to(cr, x + 9.5, ly);
    cairo_line_to(cr, x + w - 3.5, ly);
    SetRgb(cr, 0x8a7a6a);
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
  }
}

}  // namespace pictures::icons
