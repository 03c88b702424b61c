// Bed pieces and the plot highlight (Pole.bmp), pipes, sprinklers and the well (Voda.bmp),
// and the meadow and grass that the background picture is made of.
#include <cmath>

#include "Garden.h"
#include "Paint.h"
#include "Pictures.h"
#include "gfx/SpriteRects.h"

namespace pictures {

namespace garden {

void PaintGrass(cairo_t* cr, double x, double y, double w, double h, uint32_t seed, uint32_t base) {
  TRandom rng(seed);
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  SetRgb(cr, base);
  cairo_paint(cr);
  const int dabs = static_cast<int>(w * h / 60);
  Dabs(cr, rng, x, y, w, h, dabs, MixHex(base, 0xfff2a0, 0.25), 0.35, 1.5, 4);
  Dabs(cr, rng, x, y, w, h, dabs, MixHex(base, 0x1c3010, 0.3), 0.3, 1.5, 4);
  // Blades of grass, short strokes leaning a little.
  cairo_set_line_width(cr, 1.1);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < dabs / 2; ++i) {
    const double bx = rng.Uniform(x, x + w);
    const double by = rng.Uniform(y, y + h);
    const double lean = rng.Uniform(-2, 2);
    SetRgb(cr, rng.Int(0, 1) ? MixHex(base, 0x2a4a14, 0.45) : MixHex(base, 0xe8f0a0, 0.35), 0.7);
    cairo_move_to(cr, bx, by);
    cairo_line_to(cr, bx + lean, by - rng.Uniform(3, 6));
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

void PaintGround(cairo_t* cr, double x, double y, double w, double h, uint32_t seed) {
  PaintGrass(cr, x, y, w, h, seed, Ground);
  // The plot grid, faint, so the player sees where plots can be bought.
  cairo_save(cr);
  SetRgb(cr, GroundLine, 0.75);
  cairo_set_line_width(cr, 1);
  for (double gx = x; gx <= x + w + 0.5; gx += CellW) {
    cairo_move_to(cr, gx + 0.5, y);
    cairo_line_to(cr, gx + 0.5, y + h);
  }
  for (double gy = y; gy <= y + h + 0.5; gy += CellH) {
    cairo_move_to(cr, x, gy + 0.5);
    cairo_line_to(cr, x + w, gy + 0.5);
  }
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace garden

namespace {

using namespace garden;

enum class TBedPiece { Left, Middle, Right };

// One bed piece: boards along the back and the front, a side board at a closed end.
void PaintBed(cairo_t* cr, TBedPiece piece, uint32_t seed) {
  const bool closedLeft = piece == TBedPiece::Left;
  const bool closedRight = piece == TBedPiece::Right;
  const double x0 = closedLeft ? 2 : -2;
  const double x1 = closedRight ? CellW - 2 : CellW + 2;
  // Soft shadow under the front board.
  cairo_rectangle(cr, x0 + 1, FrontBottom - 1, x1 - x0 - 1, 2.5);
  SetRgb(cr, 0x3c4a22, 0.6);
  cairo_fill(cr);
  // Soil, darker towards the front, with two tilled ridges.
  RoundRect(cr, x0, BackTop, x1 - x0, FrontBottom - BackTop, 4);
  LinearV(cr, SoilTop, FrontTop, 0x7a5232, palette::SoilDark);
  FillOutline(cr, 1.6);
  TRandom rng(seed);
  cairo_save(cr);
  cairo_rectangle(cr, x0 + 1, SoilTop, x1 - x0 - 2, FrontTop - SoilTop);
  cairo_clip(cr);
  for (double ridge : {11.5, 18.5, 24.5}) {
    cairo_move_to(cr, x0, ridge);
    cairo_line_to(cr, x1, ridge);
    SetRgb(cr, 0x8c6440, 0.55);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_move_to(cr, x0, ridge + 1.8);
    cairo_line_to(cr, x1, ridge + 1.8);
    SetRgb(cr, 0x3a2212, 0.5);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
  Dabs(cr, rng, x0, SoilTop, x1 - x0, FrontTop - SoilTop, 24, 0x9a7048, 0.45, 0.5, 1.2);
  Dabs(cr, rng, x0, SoilTop, x1 - x0, FrontTop - SoilTop, 18, 0x2a1a0c, 0.45, 0.5, 1.1);
  cairo_restore(cr);
  // Back board: the top edge of the far plank.
  cairo_rectangle(cr, x0, BackTop, x1 - x0, SoilTop - BackTop);
  LinearV(cr, BackTop, SoilTop, palette::WoodLight, palette::Wood);
  FillOutline(cr, 1.2);
  // Front board: its face, lit along the top.
  cairo_rectangle(cr, x0, FrontTop, x1 - x0, FrontBottom - FrontTop);
  LinearV(cr, FrontTop, FrontBottom, palette::WoodLight, palette::WoodDark);
  FillOutline(cr, 1.2);
  SetRgb(cr, palette::WoodDark, 0.6);
  cairo_set_line_width(cr, 0.8);
  cairo_move_to(cr, x0 + 3, FrontTop + 3.5);
  cairo_line_to(cr, x1 - 3, FrontTop + 3.5);
  cairo_stroke(cr);
  // Side boards at closed ends.
  if (closedLeft || closedRight) {
    const double sx = closedLeft ? x0 : x1 - 4;
    RoundRect(cr, sx, BackTop, 4, FrontBottom - BackTop, 1.5);
    LinearH(cr, sx, sx + 4, palette::WoodLight, palette::Wood);
    FillOutline(cr, 1.2);
    // A nail head.
    Ellipse(cr, sx + 2, FrontTop + 3, 0.9, 0.9);
    SetRgb(cr, 0x3a3a3a);
    cairo_fill(cr);
  }
}

void PaintHighlight(cairo_t* cr) {
  RoundRect(cr, 1.5, 1.5, CellW - 3, CellH - 3, 5);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, 3.4);
  cairo_stroke_preserve(cr);
  SetRgb(cr, 0xffe27a);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  // Corner marks, so the highlight reads over bright plants too.
  for (double cx : {4.0, CellW - 4}) {
    for (double cy : {4.0, CellH - 4}) {
      Ellipse(cr, cx, cy, 2.6, 2.6);
      SetRgb(cr, 0xfff4c0);
      FillOutline(cr, 1.2);
    }
  }
}

}  // namespace

TSheet DrawField() {
  using namespace sprites::field;
  TSheet sheet(File, Width, Height);
  const TFlatten onGround = TFlatten::Over(Hex(Ground));
  sheet.Paint(BedLeft, onGround, [](cairo_t* cr) { PaintBed(cr, TBedPiece::Left, 11); });
  sheet.Paint(BedMiddle, onGround, [](cairo_t* cr) { PaintBed(cr, TBedPiece::Middle, 12); });
  sheet.Paint(BedRight, onGround, [](cairo_t* cr) { PaintBed(cr, TBedPiece::Right, 13); });
  sheet.Paint(Highlight, TFlatten::Unmixed(0.5), PaintHighlight);
  return sheet;
}

namespace {

// The pipe runs along the front of the bed; the sprinkler's riser stands at its right end.
constexpr double PipeY = 30.5;
constexpr double NozzleX = 34;
constexpr double NozzleY = 15;

void PaintPipe(cairo_t* cr) {
  // The pipe itself, from edge to edge so that pipes in neighbouring plots join.
  cairo_rectangle(cr, -1, PipeY - 2.5, CellW + 2, 5);
  LinearV(cr, PipeY - 2.5, PipeY + 2.5, 0xc9d8e2, 0x56687a);
  FillOutline(cr, 1.2);
  // A coupling ring.
  cairo_rectangle(cr, 8, PipeY - 3.2, 3, 6.4);
  LinearH(cr, 8, 11, 0xa4b4c0, 0x4a5a6a);
  FillOutline(cr, 0.9);
  // The riser and the brass sprinkler head.
  cairo_rectangle(cr, NozzleX - 1.6, NozzleY + 2, 3.2, PipeY - NozzleY - 2);
  LinearH(cr, NozzleX - 1.6, NozzleX + 1.6, 0xc9d8e2, 0x56687a);
  FillOutline(cr, 1.0);
  RoundRect(cr, NozzleX - 3, NozzleY - 1.5, 6, 4.5, 1.5);
  LinearV(cr, NozzleY - 1.5, NozzleY + 3, 0xf4d27a, 0xa8741c);
  FillOutline(cr, 1.0);
}

// Frame f of the spray (1..4): jets arc from the nozzle over the plot and fall as drops.
void PaintSpray(cairo_t* cr, int frame) {
  const double reach = 8 + frame * 6.5;  // how far the jets have come
  for (int jet = 0; jet < 3; ++jet) {
    const double height = 9 + jet * 3;
    const double spread = reach * (0.7 + 0.15 * jet);
    cairo_move_to(cr, NozzleX - 1, NozzleY - 1);
    cairo_curve_to(cr, NozzleX - spread * 0.3, NozzleY - height, NozzleX - spread * 0.7,
                   NozzleY - height, NozzleX - spread, NozzleY - height * 0.4 + frame * 1.5);
    SetRgb(cr, 0x2f6f9a, 0.85);
    cairo_set_line_width(cr, 2.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke_preserve(cr);
    SetRgb(cr, palette::Water);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
  }
  // Drops falling from the jets' ends, and splashes on the soil in the last frames.
  TRandom rng(100 + frame);
  for (int i = 0; i < 3 + frame * 3; ++i) {
    const double dx = rng.Uniform(NozzleX - reach, NozzleX - 4);
    const double dy = rng.Uniform(NozzleY - 10, NozzleY - 10 + frame * 4.5);
    Ellipse(cr, dx, dy, 1.3, 1.8);
    SetRgb(cr, palette::WaterLight);
    FillOutline(cr, 0.8, 0x2f6f9a);
  }
  if (frame >= 3) {
    for (int i = 0; i < frame * 2; ++i) {
      const double sx = rng.Uniform(6, NozzleX - 4);
      const double sy = rng.Uniform(19, 25);
      Ellipse(cr, sx, sy, 2.2, 0.9);
      SetRgb(cr, palette::Water, 0.9);
      cairo_fill(cr);
    }
  }
  PaintPipe(cr);
}

void PaintWell(cairo_t* cr) {
  const double w = 79;
  SoftShadow(cr, 40, 62, 36, 6, 0.7);
  // Posts and roof.
  for (double px : {15.0, 60.0}) {
    cairo_rectangle(cr, px, 14, 5, 38);
    LinearH(cr, px, px + 5, palette::WoodLight, palette::WoodDark);
    FillOutline(cr, 1.4);
  }
  cairo_move_to(cr, 5, 20);
  cairo_line_to(cr, w / 2, 2);
  cairo_line_to(cr, w - 5, 20);
  cairo_line_to(cr, w - 10, 23);
  cairo_line_to(cr, w / 2, 8);
  cairo_line_to(cr, 10, 23);
  cairo_close_path(cr);
  LinearV(cr, 2, 23, 0xc0563a, 0x7a2e1e);
  FillOutline(cr, 1.6);
  // Roof shingles.
  SetRgb(cr, 0x5a2014, 0.6);
  cairo_set_line_width(cr, 0.9);
  for (double t : {0.3, 0.55, 0.8}) {
    cairo_move_to(cr, w / 2 - (w / 2 - 7) * t, 4 + 16 * t);
    cairo_line_to(cr, w / 2 - (w / 2 - 9) * t + 3, 7 + 16 * t);
    cairo_move_to(cr, w / 2 + (w / 2 - 7) * t, 4 + 16 * t);
    cairo_line_to(cr, w / 2 + (w / 2 - 9) * t - 3, 7 + 16 * t);
  }
  cairo_stroke(cr);
  // Windlass, rope and bucket.
  cairo_rectangle(cr, 18, 25, 44, 4);
  LinearV(cr, 25, 29, palette::WoodLight, palette::WoodDark);
  FillOutline(cr, 1.2);
  cairo_move_to(cr, 63, 27);
  cairo_line_to(cr, 70, 27);
  cairo_line_to(cr, 70, 34);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, 1.8);
  cairo_stroke(cr);
  cairo_move_to(cr, 38, 29);
  cairo_line_to(cr, 38, 36);
  SetRgb(cr, 0xd8c08a);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  RoundRect(cr, 33, 35, 10, 8, 1.5);
  LinearH(cr, 33, 43, 0xb0c0cc, 0x5a6a78);
  FillOutline(cr, 1.2);
  // Round stone wall: a top rim, then the front face of stones.
  Ellipse(cr, w / 2, 45, 30, 7);
  SetRgb(cr, 0x20303a);
  FillOutline(cr, 1.6);
  cairo_move_to(cr, 10, 45);
  cairo_line_to(cr, 10, 58);
  cairo_curve_to(cr, 16, 66, 63, 66, 69, 58);
  cairo_line_to(cr, 69, 45);
  cairo_curve_to(cr, 63, 52, 16, 52, 10, 45);
  cairo_close_path(cr);
  LinearH(cr, 10, 69, 0xb8b0a4, palette::StoneDark);
  FillOutline(cr, 1.6);
  TRandom rng(31);
  SetRgb(cr, palette::StoneDark, 0.9);
  cairo_set_line_width(cr, 0.9);
  for (int row = 0; row < 3; ++row) {
    const double y = 52 + row * 4.2;
    for (int i = 0; i < 5; ++i) {
      const double x = 14 + i * 11 + (row % 2) * 5 + rng.Uniform(-1, 1);
      RoundRect(cr, x, y, 9, 3.6, 1.4);
    }
  }
  cairo_stroke(cr);
  Ellipse(cr, w / 2, 45, 30, 7);
  SetRgb(cr, 0xd8d0c4);
  cairo_set_line_width(cr, 2.4);
  cairo_stroke_preserve(cr);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
}

}  // namespace

TSheet DrawWater() {
  using namespace sprites::water;
  TSheet sheet(File, Width, Height);
  const TFlatten onSoil = TFlatten::Over(Hex(BedSoil));
  sheet.Paint(IdlePipe, onSoil, PaintPipe);
  for (int f = 1; f < SprinklerFrames; ++f)
    sheet.Paint(Sprinkler(f), onSoil, [f](cairo_t* cr) { PaintSpray(cr, f); });
  sheet.Paint(Well, TFlatten::Over(Hex(Grass)), PaintWell);
  return sheet;
}

}  // namespace pictures
