#include "Widgets.h"

#include "Paint.h"

namespace pictures::widgets {

void Tile(cairo_t* cr, double x, double y, double w, double h, double radius, bool hovered) {
  // A darker rim below gives the tile its thickness.
  RoundRect(cr, x, y + 1.5, w, h - 1.5, radius);
  SetRgb(cr, hovered ? 0x8a5a14 : 0x5a3a20);
  cairo_fill(cr);
  RoundRect(cr, x, y, w, h - 2, radius);
  if (hovered)
    LinearV(cr, y, y + h, 0xfff6c8, 0xf2b040);
  else
    LinearV(cr, y, y + h, 0xe8d2a4, 0xb88a52);
  FillOutline(cr, hovered ? 2.0 : 1.5, hovered ? 0x7a3a04 : palette::Outline);
  // A highlight along the top edge.
  RoundRect(cr, x + 3, y + 2.5, w - 6, (h - 2) * 0.3, radius * 0.6);
  SetRgb(cr, 0xffffff, hovered ? 0.45 : 0.3);
  cairo_fill(cr);
  if (hovered) {
    RoundRect(cr, x + 1.8, y + 1.8, w - 3.6, h - 5.6, radius * 0.8);
    SetRgb(cr, 0xfff8d8);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
}

void Plank(cairo_t* cr, double x, double y, double w, double h, const std::string& label,
           double fontSize, bool hovered) {
  RoundRect(cr, x, y + 3, w, h - 3, h * 0.28);
  SetRgb(cr, 0x4a2e16);
  cairo_fill(cr);
  RoundRect(cr, x, y, w, h - 4, h * 0.28);
  if (hovered)
    LinearV(cr, y, y + h - 4, 0xffe8a0, 0xe09a3a);
  else
    LinearV(cr, y, y + h - 4, palette::WoodLight, palette::Wood);
  FillPreserveOutline(cr, 2.5);
  // Wood grain within the plank.
  cairo_save(cr);
  cairo_clip(cr);
  TRandom rng(static_cast<uint32_t>(w * 7 + h));
  SetRgb(cr, hovered ? 0xb07020 : palette::WoodDark, 0.35);
  cairo_set_line_width(cr, 1.2);
  for (int i = 0; i < 5; ++i) {
    const double gy = y + (h - 4) * rng.Uniform(0.15, 0.9);
    cairo_move_to(cr, x, gy);
    cairo_curve_to(cr, x + w * 0.3, gy + rng.Uniform(-3, 3), x + w * 0.7, gy + rng.Uniform(-3, 3),
                   x + w, gy);
  }
  cairo_stroke(cr);
  RoundRect(cr, x + 6, y + 3, w - 12, (h - 4) * 0.28, h * 0.14);
  SetRgb(cr, 0xffffff, hovered ? 0.4 : 0.22);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_new_path(cr);
  Nails(cr, x, y, w, h - 4, h * 0.18);
  TTextStyle style;
  style.Size = fontSize;
  style.Fill = hovered ? 0xfffbe8 : 0xfff1cc;
  style.Stroke = hovered ? 0x7a3a0a : palette::Outline;
  style.StrokeWidth = fontSize * 0.16;
  style.Shadow = 0x2a180c;
  style.ShadowOffset = fontSize * 0.06;
  Text(cr, label, x + w / 2, y + (h - 4) / 2, style, TAlign::Centre, w - h * 0.5);
}

void Board(cairo_t* cr, double x, double y, double w, double h, double radius, double frame,
           uint32_t inner) {
  RoundRect(cr, x, y, w, h, radius);
  LinearV(cr, y, y + h, palette::WoodLight, palette::WoodDark);
  FillOutline(cr, 2);
  RoundRect(cr, x + frame, y + frame, w - 2 * frame, h - 2 * frame, std::max(1.0, radius - frame));
  SetRgb(cr, inner);
  FillOutline(cr, 1.5);
}

void Nails(cairo_t* cr, double x, double y, double w, double h, double inset) {
  for (double nx : {x + inset, x + w - inset}) {
    for (double ny : {y + inset, y + h - inset}) {
      Ellipse(cr, nx, ny, 1.6, 1.6);
      SetRgb(cr, 0x4a4038);
      cairo_fill(cr);
      Ellipse(cr, nx - 0.4, ny - 0.4, 0.6, 0.6);
      SetRgb(cr, 0xd8d0c0);
      cairo_fill(cr);
    }
  }
}

}  // namespace pictures::widgets
