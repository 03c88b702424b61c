// The two cloud strips (Mraky.bmp) that drift over the top of the farmyard scene.
#include <cmath>
#include <vector>

#include "Paint.h"
#include "Pictures.h"
#include "Sky.h"
#include "gfx/SpriteRects.h"

namespace pictures {

namespace {

// One cloud: puffs of different sizes along a flat bottom, lit from above.
void Cloud(cairo_t* cr, TRandom& rng, double x, double width, double height) {
  const double bottom = rng.Uniform(30, 37);
  const double peakAt = rng.Uniform(0.3, 0.7);  // where the cloud is tallest
  const int puffs = std::max(3, static_cast<int>(width / rng.Uniform(14, 24)));
  struct TPuff {
    double X, Y, R;
  };
  std::vector<TPuff> shape;
  for (int i = 0; i < puffs; ++i) {
    const double t = (i + rng.Uniform(0.3, 0.7)) / puffs;
    const double hump = std::exp(-std::pow((t - peakAt) / 0.32, 2));
    const double r = std::min(height * (0.3 + 0.4 * hump) * rng.Uniform(0.75, 1.15), bottom - 1);
    shape.push_back({x + width * t, bottom - r * rng.Uniform(0.6, 0.95), r});
  }
  auto path = [&](double grow) {
    cairo_new_path(cr);
    for (const TPuff& p : shape) Ellipse(cr, p.X, p.Y, p.R * 1.15 + grow, p.R + grow);
    RoundRect(cr, x + 4 - grow, bottom - height * 0.3 - grow, width - 8 + 2 * grow,
              height * 0.3 + grow, height * 0.15);
  };
  // The outline as one shape behind, then the body, then light on the upper puffs.
  path(1.2);
  SetRgb(cr, 0x86a6c2);
  cairo_fill(cr);
  path(0);
  LinearV(cr, bottom - height, bottom, 0xffffff, 0xc0d2e4);
  cairo_fill(cr);
  for (const TPuff& p : shape)
    Ellipse(cr, p.X - p.R * 0.25, p.Y - p.R * 0.35, p.R * 0.6, p.R * 0.4);
  SetRgb(cr, 0xfffcf0, 0.75);
  cairo_fill(cr);
}

void PaintStrip(cairo_t* cr, uint32_t seed) {
  TRandom rng(seed);
  // Clouds keep clear of both ends of the strip, which slide into view.
  double x = 40;
  while (x < sprites::clouds::Width - 260) {
    const double width = rng.Uniform(50, 240);
    const double height = std::min(34.0, rng.Uniform(14, 22) + width / 14);
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
