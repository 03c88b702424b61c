// The intro's logo pieces (Loga.bmp), the exit picture (Splash.bmp), the mouse pointer
// (Mys.bmp) and the desktop icon.
#include <cairo-svg.h>

#include <cmath>
#include <string>

#include "Paint.h"
#include "Pictures.h"
#include "Produce.h"
#include "Words.h"
#include "gfx/SpriteRects.h"

namespace pictures {

namespace {

// A wooden ribbon sign of the lower logo, with the game's name burnt into it.
void PaintWordmark(cairo_t* cr, double w) {
  const double cx = w / 2;
  // Ribbon ends folding back behind the board.
  for (int side = -1; side <= 1; side += 2) {
    const double x0 = cx + side * (w / 2 - 8);
    const double x1 = cx + side * (w / 2 - 52);
    cairo_move_to(cr, x0, 40);
    cairo_line_to(cr, x1, 40);
    cairo_line_to(cr, x1, 104);
    cairo_line_to(cr, x0, 104);
    cairo_line_to(cr, x0 - side * 16, 72);
    cairo_close_path(cr);
    LinearV(cr, 40, 104, palette::Leaf, palette::LeafDark);
    FillOutline(cr, 3);
  }
  RoundRect(cr, 40, 22, w - 80, 92, 18);
  LinearV(cr, 22, 114, palette::WoodLight, palette::WoodDark);
  FillOutline(cr, 4);
  // Wood grain, level across the whole board.
  SetRgb(cr, palette::WoodDark, 0.35);
  cairo_set_line_width(cr, 1.5);
  for (double y : {40.0, 58.0, 80.0, 98.0}) {
    cairo_move_to(cr, 56, y);
    cairo_line_to(cr, w - 56, y);
  }
  cairo_stroke(cr);
  Text(cr, "KELVORA", cx, 68, NameLettering(66, 6, 3), TAlign::Centre);
}

void PaintTitle(cairo_t* cr, double w, double) {
  TTextStyle title;
  title.Size = 84;
  title.Fill = palette::Gold;
  title.Stroke = palette::Outline;
  title.StrokeWidth = 7;
  title.Shadow = palette::WoodDark;
  title.ShadowOffset = 4;
  Text(cr, "Kelvora", w / 2, 44, title, TAlign::Centre);
  // Leaves on both sides of the name.
  for (int side = -1; side <= 1; side += 2) {
    const double x = w / 2 + side * 190;
    LeafPath(cr, x, 52, x + side * 52, 18, 22, side * 6);
    LinearV(cr, 18, 52, palette::LeafLight, palette::Leaf);
    FillOutline(cr, 2.5);
    LeafPath(cr, x, 52, x + side * 58, 62, 16, -side * 4);
    LinearV(cr, 52, 64, palette::LeafLight, palette::LeafDark);
    FillOutline(cr, 2.5);
  }
  TTextStyle tagline;
  tagline.Size = 26;
  tagline.Fill = 0xf6e2b0;
  tagline.Bold = true;
  // TRANSLATORS: the line under the game's name in its intro, 540 pixels wide.
  Text(cr, Words("zahradnické hospodářství"), w / 2, 98, tagline, TAlign::Centre, w - 40);
}

}  // namespace

TTextStyle NameLettering(double size, double strokeWidth, double shadowOffset) {
  TTextStyle style;
  style.Size = size;
  style.Fill = 0xfff1c8;
  style.Stroke = palette::Outline;
  style.StrokeWidth = strokeWidth;
  style.Shadow = 0x2a180c;
  style.ShadowOffset = shadowOffset;
  return style;
}

TSheet DrawLogo() {
  using namespace sprites::logo;
  TSheet sheet(File, Width, Height);
  // The intro copies these pieces opaque onto a black screen: everything around the art is black.
  sheet.Paint({0, 0, Width, Height}, TFlatten::Opaque(), [](cairo_t* cr) {
    SetRgb(cr, 0x000000);
    cairo_paint(cr);
  });
  // The upper halves meet with source columns 145..148 hidden: the emblem is mirror-like and
  // nothing in it changes across those columns except level lines.
  sheet.Paint({UpperLeft.Left, UpperLeft.Top, UpperRight.Right, UpperRight.Bottom},
              TFlatten::Opaque(), [](cairo_t* cr) { PaintEmblem(cr, 148.5, 150, 142); });
  sheet.Paint({LowerLeft.Left, LowerLeft.Top, LowerRight.Right, LowerRight.Bottom},
              TFlatten::Opaque(), [](cairo_t* cr) { PaintWordmark(cr, 382); });
  sheet.Paint(Title, TFlatten::Opaque(), [](cairo_t* cr) { PaintTitle(cr, 583, 114); });
  sheet.Paint(SmallLine, TFlatten::Opaque(), [](cairo_t* cr) {
    TTextStyle style;
    style.Size = 21;
    style.Fill = 0xe8d3a0;
    // TRANSLATORS: the intro's last line, 269 pixels wide (a longer one is drawn smaller).
    Text(cr, Words("Vypěstuj si svou zahradu!"), 137.5, 21, style, TAlign::Centre, 269);
  });
  return sheet;
}

namespace {

void PaintSplash(cairo_t* cr) {
  // Evening sky over the garden.
  LinearV(cr, 0, 470, 0x3b4f8c, 0xf5a860);
  cairo_paint(cr);
  // The setting sun's glow fades into the sky.
  cairo_save(cr);
  cairo_translate(cr, 512, 450);
  cairo_scale(cr, 1.6, 1.0);
  cairo_pattern_t* glow = cairo_pattern_create_radial(0, 0, 40, 0, 0, 330);
  cairo_pattern_add_color_stop_rgba(glow, 0, 1.0, 0.93, 0.66, 1.0);
  cairo_pattern_add_color_stop_rgba(glow, 1, 1.0, 0.8, 0.5, 0.0);
  cairo_set_source(cr, glow);
  cairo_paint(cr);
  cairo_pattern_destroy(glow);
  cairo_restore(cr);
  Ellipse(cr, 512, 452, 70, 70);
  Radial(cr, 512, 452, 70, 500, 435, 0xfff8d0, 0xf7a040);
  cairo_fill(cr);
  // Hills in the evening light.
  cairo_move_to(cr, 0, 450);
  cairo_curve_to(cr, 200, 380, 360, 470, 520, 440);
  cairo_curve_to(cr, 700, 400, 860, 450, 1024, 420);
  cairo_line_to(cr, 1024, 768);
  cairo_line_to(cr, 0, 768);
  cairo_close_path(cr);
  LinearV(cr, 400, 560, 0x6f8a3c, 0x3e5a26);
  FillOutline(cr, 3);
  // Garden rows running to the horizon.
  for (int row = -6; row <= 6; ++row) {
    cairo_move_to(cr, 512 + row * 40 - 12, 480);
    cairo_line_to(cr, 512 + row * 40 + 12, 480);
    cairo_line_to(cr, 512 + row * 150 + 52, 768);
    cairo_line_to(cr, 512 + row * 150 - 52, 768);
    cairo_close_path(cr);
  }
  LinearV(cr, 480, 768, 0x6b4a30, 0x3a2414);
  cairo_fill(cr);
  TRandom rng(7);
  for (int i = 0; i < 60; ++i) {
    const int row = rng.Int(-6, 6);
    const double t = rng.Uniform(0.1, 1.0);
    const double y = 480 + t * 288;
    const double x = 512 + row * (40 + t * 110);
    const int crop = rng.Int(0, 3);
    PaintProduce(cr, crop, x, y - 12 * t, 10 + 38 * t);
  }
  // The farewell.
  PaintEmblem(cr, 512, 150, 95);
  TTextStyle big;
  big.Size = 76;
  big.Fill = 0xfff0c8;
  big.Stroke = palette::Outline;
  big.StrokeWidth = 7;
  big.Shadow = 0x2a180c;
  big.ShadowOffset = 4;
  // TRANSLATORS: the farewell on the picture shown as the game ends, 940 pixels wide.
  Text(cr, Words("Na shledanou!"), 512, 320, big, TAlign::Centre, 940);
  TTextStyle small;
  small.Size = 30;
  small.Fill = 0xfff0c8;
  small.Stroke = palette::Outline;
  small.StrokeWidth = 4;
  // TRANSLATORS: the line under the farewell, 940 pixels wide.
  Text(cr, Words("Děkujeme za hru a přejeme bohatou úrodu."), 512, 385, small, TAlign::Centre, 940);
}

}  // namespace

TSheet DrawSplash() {
  using namespace sprites::splash;
  TSheet sheet(File, Width, Height);
  sheet.Paint(Picture, TFlatten::Opaque(), PaintSplash);
  return sheet;
}

TSheet DrawCursor() {
  using namespace sprites::cursor;
  TSheet sheet(File, Width, Height);
  // The pointer is drawn over anything, so its edges keep their own colour. The tip covers
  // pixel (0, 0), the hot spot.
  sheet.Paint(Pointer, TFlatten::Unmixed(0.5), [](cairo_t* cr) {
    const double pts[][2] = {{0.5, 0.5},   {0.5, 21}, {5.6, 16.4}, {9.4, 25},
                             {13.4, 23.2}, {9.8, 15}, {16.5, 15}};
    cairo_move_to(cr, pts[0][0], pts[0][1]);
    for (const auto& p : pts) cairo_line_to(cr, p[0], p[1]);
    cairo_close_path(cr);
    LinearAny(cr, 0, 0, 12, 20, 0xfffbe6, palette::Gold);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    FillOutline(cr, 2.0);
    // A small leaf on the pointer's tail, the game's mark.
    LeafPath(cr, 12.5, 24, 19.5, 29.5, 5.2);
    SetRgb(cr, palette::Leaf);
    FillOutline(cr, 1.4);
  });
  return sheet;
}

// The icon is drawn on a 256-unit square, scaled to the size asked for.
void PaintIcon(cairo_t* cr, int size) {
  cairo_scale(cr, size / 256.0, size / 256.0);
  RoundRect(cr, 8, 8, 240, 240, 44);
  LinearV(cr, 8, 248, 0xf7d58a, 0xc98b45);
  FillOutline(cr, 6);
  PaintEmblem(cr, 128, 128, 86);
}

TCairoSurface DrawIcon(int size) {
  TCairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size));
  TCairo context(cairo_create(surface.get()));
  PaintIcon(context.get(), size);
  context.reset();
  cairo_surface_flush(surface.get());
  return surface;
}

TCairoSurface DrawMaskableIcon(int size) {
  TCairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size));
  TCairo context(cairo_create(surface.get()));
  cairo_t* cr = context.get();
  cairo_scale(cr, size / 256.0, size / 256.0);
  cairo_rectangle(cr, 0, 0, 256, 256);
  LinearV(cr, 0, 256, 0xf7d58a, 0xc98b45);
  cairo_fill(cr);
  // The emblem's radius of 104 on the desktop icon would reach past the safe circle (102.4).
  PaintEmblem(cr, 128, 128, 86);
  context.reset();
  cairo_surface_flush(surface.get());
  return surface;
}

std::string DrawIconSvg() {
  std::string svg;
  TCairoSurface surface(cairo_svg_surface_create_for_stream(AppendToString, &svg, 256, 256));
  // Without a version of its own cairo writes the oldest SVG it knows, which every reader takes.
  cairo_svg_surface_restrict_to_version(surface.get(), CAIRO_SVG_VERSION_1_1);
  TCairo context(cairo_create(surface.get()));
  PaintIcon(context.get(), 256);
  context.reset();
  cairo_surface_finish(surface.get());
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) svg.clear();
  return svg;
}

}  // namespace pictures
