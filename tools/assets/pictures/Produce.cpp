#include "Produce.h"

#include <cmath>

#include "Paint.h"

namespace pictures {

namespace {

double Line(double size) { return std::max(0.8, size / 28.0); }

void PaintCauliflower(cairo_t* cr, double cx, double cy, double s) {
  const double lw = Line(s);
  // Wrapping leaves behind and below the curd.
  for (int side = -1; side <= 1; side += 2) {
    LeafPath(cr, cx + side * 0.05 * s, cy + 0.36 * s, cx + side * 0.5 * s, cy - 0.12 * s, 0.38 * s,
             side * -0.04 * s);
    LinearAny(cr, cx, cy + 0.4 * s, cx + side * 0.5 * s, cy - 0.1 * s, 0x3f7f52, 0x7fb98a);
    FillOutline(cr, lw);
  }
  LeafPath(cr, cx, cy + 0.42 * s, cx, cy + 0.05 * s, 0.42 * s);
  LinearV(cr, cy + 0.05 * s, cy + 0.42 * s, 0x6fab7c, 0x3a7049);
  FillOutline(cr, lw);
  // The curd: a dome of florets.
  Ellipse(cr, cx, cy - 0.02 * s, 0.34 * s, 0.26 * s);
  Radial(cr, cx, cy - 0.02 * s, 0.36 * s, cx - 0.1 * s, cy - 0.14 * s, 0xfffdf2, 0xd9c995);
  FillOutline(cr, lw);
  const double florets[][2] = {{-0.22, -0.08}, {-0.08, -0.17}, {0.08, -0.17}, {0.22, -0.08},
                               {-0.14, 0.05},  {0.0, -0.03},   {0.14, 0.05}};
  for (const auto& f : florets) {
    Ellipse(cr, cx + f[0] * s, cy + f[1] * s, 0.1 * s, 0.085 * s);
    Radial(cr, cx + f[0] * s, cy + f[1] * s, 0.11 * s, cx + (f[0] - 0.03) * s,
           cy + (f[1] - 0.03) * s, 0xfffef8, 0xe6d8ac);
    cairo_fill_preserve(cr);
    SetRgb(cr, 0xb8a673);
    cairo_set_line_width(cr, lw * 0.6);
    cairo_stroke(cr);
  }
  // Leaf tips folding over the curd's foot.
  for (int side = -1; side <= 1; side += 2) {
    LeafPath(cr, cx + side * 0.38 * s, cy + 0.3 * s, cx + side * 0.08 * s, cy + 0.12 * s, 0.16 * s);
    SetRgb(cr, 0x5c9a6a);
    FillOutline(cr, lw * 0.8);
  }
}

void PaintKohlrabi(cairo_t* cr, double cx, double cy, double s) {
  const double lw = Line(s);
  // Leaf stalks rising from the bulb, with their leaves.
  const double stalks[][2] = {{-0.26, -0.3}, {0.02, -0.4}, {0.26, -0.3}};
  for (const auto& st : stalks) {
    const double tx = cx + st[0] * s;
    const double ty = cy + st[1] * s;
    cairo_move_to(cr, cx + st[0] * 0.25 * s, cy - 0.02 * s);
    cairo_curve_to(cr, cx + st[0] * 0.5 * s, cy - 0.15 * s, tx, ty + 0.2 * s, tx, ty + 0.08 * s);
    SetRgb(cr, palette::Outline);
    cairo_set_line_width(cr, lw * 2.6);
    cairo_stroke_preserve(cr);
    SetRgb(cr, 0x8a5aa6);
    cairo_set_line_width(cr, lw * 1.2);
    cairo_stroke(cr);
    LeafPath(cr, tx - st[0] * 0.08 * s, ty + 0.12 * s, tx + st[0] * 0.45 * s, ty - 0.16 * s,
             0.2 * s);
    LinearV(cr, ty - 0.12 * s, ty + 0.1 * s, palette::LeafLight, palette::Leaf);
    FillOutline(cr, lw);
  }
  // The bulb.
  Ellipse(cr, cx, cy + 0.16 * s, 0.32 * s, 0.29 * s);
  Radial(cr, cx, cy + 0.16 * s, 0.34 * s, cx - 0.1 * s, cy + 0.05 * s, 0xb58ad0, 0x53286e);
  FillOutline(cr, lw);
  // A highlight and the scars of cut leaves.
  Ellipse(cr, cx - 0.12 * s, cy + 0.05 * s, 0.07 * s, 0.045 * s);
  SetRgb(cr, 0xe2cdef, 0.8);
  cairo_fill(cr);
  for (double dx : {-0.16, 0.14}) {
    Ellipse(cr, cx + dx * s, cy + 0.2 * s, 0.03 * s, 0.02 * s);
    SetRgb(cr, 0x3c1d50);
    cairo_fill(cr);
  }
  // Roots.
  cairo_move_to(cr, cx, cy + 0.44 * s);
  cairo_line_to(cr, cx + 0.02 * s, cy + 0.5 * s);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, lw);
  cairo_stroke(cr);
}

void PaintCarrot(cairo_t* cr, double cx, double cy, double s) {
  const double lw = Line(s);
  // Fronds.
  const double fronds[][2] = {{-0.22, -0.5}, {0.0, -0.56}, {0.2, -0.48}};
  for (const auto& f : fronds) {
    LeafPath(cr, cx, cy - 0.2 * s, cx + f[0] * s, cy + f[1] * s, 0.13 * s, f[0] * 0.1 * s);
    LinearV(cr, cy + f[1] * s, cy - 0.2 * s, 0x9ad45e, 0x3f8a2c);
    FillOutline(cr, lw);
  }
  // The root, a long cone.
  cairo_move_to(cr, cx - 0.17 * s, cy - 0.22 * s);
  cairo_curve_to(cr, cx - 0.05 * s, cy - 0.27 * s, cx + 0.05 * s, cy - 0.27 * s, cx + 0.17 * s,
                 cy - 0.22 * s);
  cairo_curve_to(cr, cx + 0.14 * s, cy + 0.05 * s, cx + 0.05 * s, cy + 0.35 * s, cx, cy + 0.5 * s);
  cairo_curve_to(cr, cx - 0.05 * s, cy + 0.35 * s, cx - 0.14 * s, cy + 0.05 * s, cx - 0.17 * s,
                 cy - 0.22 * s);
  cairo_close_path(cr);
  LinearH(cr, cx - 0.17 * s, cx + 0.17 * s, 0xffb455, 0xd2601a);
  FillOutline(cr, lw);
  // Rings across the root.
  SetRgb(cr, 0xa8470f, 0.9);
  cairo_set_line_width(cr, lw * 0.7);
  for (double t : {-0.08, 0.07, 0.22}) {
    const double half = 0.13 * s * (1 - (t + 0.2) / 0.75);
    cairo_move_to(cr, cx - half, cy + t * s);
    cairo_line_to(cr, cx - half * 0.2, cy + (t + 0.015) * s);
  }
  cairo_stroke(cr);
}

void PaintGarlic(cairo_t* cr, double cx, double cy, double s) {
  const double lw = Line(s);
  // Roots under the bulb.
  SetRgb(cr, 0xcdbb94);
  cairo_set_line_width(cr, lw);
  for (double dx : {-0.08, -0.03, 0.02, 0.07}) {
    cairo_move_to(cr, cx + dx * s * 0.6, cy + 0.36 * s);
    cairo_line_to(cr, cx + dx * s, cy + 0.46 * s);
  }
  cairo_stroke(cr);
  // The bulb, a fat teardrop drawn up into a neck.
  cairo_move_to(cr, cx - 0.04 * s, cy - 0.4 * s);
  cairo_curve_to(cr, cx - 0.06 * s, cy - 0.2 * s, cx - 0.36 * s, cy - 0.12 * s, cx - 0.34 * s,
                 cy + 0.12 * s);
  cairo_curve_to(cr, cx - 0.32 * s, cy + 0.34 * s, cx - 0.12 * s, cy + 0.38 * s, cx, cy + 0.38 * s);
  cairo_curve_to(cr, cx + 0.12 * s, cy + 0.38 * s, cx + 0.32 * s, cy + 0.34 * s, cx + 0.34 * s,
                 cy + 0.12 * s);
  cairo_curve_to(cr, cx + 0.36 * s, cy - 0.12 * s, cx + 0.06 * s, cy - 0.2 * s, cx + 0.04 * s,
                 cy - 0.4 * s);
  cairo_close_path(cr);
  Radial(cr, cx, cy + 0.1 * s, 0.4 * s, cx - 0.1 * s, cy, 0xfffcf4, 0xcbb8cf);
  FillOutline(cr, lw);
  // Clove seams and a purple blush.
  SetRgb(cr, 0xa48fb0);
  cairo_set_line_width(cr, lw * 0.7);
  for (double dx : {-0.16, 0.0, 0.16}) {
    cairo_move_to(cr, cx + dx * 0.2 * s, cy - 0.28 * s);
    cairo_curve_to(cr, cx + dx * 1.6 * s, cy - 0.05 * s, cx + dx * 1.5 * s, cy + 0.22 * s,
                   cx + dx * 0.6 * s, cy + 0.36 * s);
  }
  cairo_stroke(cr);
}

}  // namespace

void PaintProduce(cairo_t* cr, int crop, double cx, double cy, double size) {
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  switch (crop) {
    case Cauliflower:
      PaintCauliflower(cr, cx, cy, size);
      break;
    case Kohlrabi:
      PaintKohlrabi(cr, cx, cy, size);
      break;
    case Carrot:
      PaintCarrot(cr, cx, cy, size);
      break;
    default:
      PaintGarlic(cr, cx, cy, size);
      break;
  }
  cairo_restore(cr);
}

void PaintEmblem(cairo_t* cr, double cx, double cy, double r) {
  cairo_save(cr);
  const double lw = r / 45;
  // Inside the badge: sky, sun, hills and converging garden rows.
  Ellipse(cr, cx, cy, r, r);
  cairo_clip(cr);
  LinearV(cr, cy - r, cy + 0.1 * r, 0x7fbde8, 0xfbe7b0);
  cairo_paint(cr);
  // Sun with a warm glow.
  Radial(cr, cx, cy - 0.3 * r, 0.6 * r, cx, cy - 0.3 * r, 0xfff2b0, 0xfbe7b0);
  Ellipse(cr, cx, cy - 0.3 * r, 0.6 * r, 0.6 * r);
  cairo_fill(cr);
  Ellipse(cr, cx, cy - 0.3 * r, 0.26 * r, 0.26 * r);
  Radial(cr, cx, cy - 0.3 * r, 0.26 * r, cx - 0.06 * r, cy - 0.36 * r, 0xfff7c8, 0xf3a72e);
  FillOutline(cr, lw);
  // Far hills: symmetric, level at the middle.
  cairo_move_to(cr, cx - r, cy - 0.02 * r);
  cairo_curve_to(cr, cx - 0.6 * r, cy - 0.3 * r, cx - 0.3 * r, cy - 0.05 * r, cx, cy - 0.05 * r);
  cairo_curve_to(cr, cx + 0.3 * r, cy - 0.05 * r, cx + 0.6 * r, cy - 0.3 * r, cx + r,
                 cy - 0.02 * r);
  cairo_line_to(cr, cx + r, cy + r);
  cairo_line_to(cr, cx - r, cy + r);
  cairo_close_path(cr);
  LinearV(cr, cy - 0.3 * r, cy + 0.2 * r, 0x8cbf58, 0x4e8a34);
  FillOutline(cr, lw);
  // The field: brown rows converging on the middle, a calm grass path between them.
  const double horizon = cy + 0.08 * r;
  cairo_rectangle(cr, cx - r, horizon, 2 * r, r);
  LinearV(cr, horizon, cy + r, 0x7aa84a, 0x5b8f34);
  cairo_fill(cr);
  for (int side = -1; side <= 1; side += 2) {
    for (int row = 0; row < 4; ++row) {
      const double inner = 0.13 + row * 0.22;
      const double outer = inner + 0.13;
      cairo_move_to(cr, cx + side * (0.1 + row * 0.09) * r, horizon);
      cairo_line_to(cr, cx + side * (0.15 + row * 0.11) * r, horizon);
      cairo_line_to(cr, cx + side * (outer + 0.25 * row) * r, cy + r);
      cairo_line_to(cr, cx + side * (inner + 0.25 * row) * r, cy + r);
      cairo_close_path(cr);
      LinearV(cr, horizon, cy + r, palette::SoilLight, 0x5a3820);
      cairo_fill(cr);
    }
  }
  // A carrot and a cauliflower in the front rows, left and right of the path.
  PaintProduce(cr, Carrot, cx - 0.48 * r, cy + 0.48 * r, 0.52 * r);
  PaintProduce(cr, Cauliflower, cx + 0.5 * r, cy + 0.52 * r, 0.5 * r);
  cairo_reset_clip(cr);
  // The wooden rim.
  Ellipse(cr, cx, cy, r - 0.05 * r, r - 0.05 * r);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, 0.14 * r);
  cairo_stroke_preserve(cr);
  LinearV(cr, cy - r, cy + r, 0xe4b070, 0x8a5428);
  cairo_set_line_width(cr, 0.09 * r);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace pictures
