// The two cloud strips (Mraky.bmp) that drift over the top of the farmyard scene.
#include <cmath>

#include "Paint.h"
#include "Pictures.h"
#include "Sky.h"
#include "gfx/SpriteRects.h"

namespace pictures {

namespace {

// One cloud: puffs along a flat bottom, lit from above.
void Cloud(cairo_t* cr, TRandom& rng, double x, double width, double height) {
  const double bottom = 36;
  const int puffs = std::max(3, static_cast<int>(width / 22));
  cairo_new_path(cr);
  for (int i = 0; i < puffs; ++i) {
    const double t = (i + 0.5) / puffs;
    const double hump = std::sin(M_PI * t);  // tallest in the middle
    const double r = height * (0.35 + 0.45 * hump) * rng.Uniform(0.8, 1.05);
    const double cx = x + width * t;
    Ellipse(cr, cx, bottom - r * 0.9, r * 1.1, r);
  }
  RoundRect(cr, x, bottom - height * 0.45, width, height * 0.45, height * 0.2);
  // Outline first, as one shape, then the fill over the inner lines.
  SetRgb(cr, 0x7f9fbc);
  cairo_set_line_width(cr, 2.2);
  cairo_stroke_preserve(cr);
  LinearV(cr, bottom - height * 1.1, bottom, 0xffffff, 0xc4d6e6);
  cairo_fill(cr);
  // A warm light on the upper puffs.
  for (int i = 0; i < puffs; ++i) {
    const double t = (i + 0.5) / puffs;
    const double hump = std::sin(M_PI * t);
    const double r = height * (0.2 + 0.25 * hump);
    Ellipse(cr, x + width * t - r * 0.3, bottom - height * (0.45 + 0.45 * hump), r, r * 0.6);
  }
  SetRgb(cr, 0xfffbee, 0.7);
  cairo_fill(cr);
}

void PaintStrip(cairo_t* cr, uint32_t seed) {
  TRandom rng(seed);
  // Clouds keep clear of both ends of the strip, which slide into view.
  double x = 40;
  while (x < sprites::clouds::Width - 260) {
    const double width = rng.Uniform(70, 230);
    const double height = rng.Uniform(18, 32);
    Cloud(cr, rng, x, width, height);
    x += width + rng.Uniform(60, 260);
  }
}

}  // namespace

TSheet DrawClouds() {
  using namespace sprites::clouds;
  TSheet sheet(File, Width, Height);
  const TFlatten onSky = TFlatten::Over(Hex(sky::BehindClouds));
  sheet.Paint(Strip(0), onSky, [](cairo_t* cr) { PaintStrip(cr, 5); });
  sheet.Paint(Strip(1), onSky, [](cairo_t* cr) { PaintStrip(cr, 9); });
  return sheet;
}

}  // namespace pictures
