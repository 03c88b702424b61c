// The in-game sheet (Main.bmp): the background with the field, the main panel with its four
// buttons, and the plot actions menu with its ten buttons.
#include <cmath>

#include "Garden.h"
#include "Icons.h"
#include "Paint.h"
#include "Pictures.h"
#include "Produce.h"
#include "Sky.h"
#include "Widgets.h"
#include "Words.h"
#include "gfx/SpriteRects.h"

namespace pictures {

namespace {

// The field of plots on screen: 24 x 13 cells of 40 x 35 from (33, 280).
constexpr double FieldX = 33;
constexpr double FieldY = 280;
constexpr double FieldW = 24 * 40;
constexpr double FieldH = 13 * 35;
// The path from the shed's door down to the field.
constexpr double PathX = 205;

void FencePost(cairo_t* cr, double x, double base, double h) {
  cairo_move_to(cr, x, base);
  cairo_line_to(cr, x, base - h);
  cairo_line_to(cr, x + 3, base - h - 3);
  cairo_line_to(cr, x + 6, base - h);
  cairo_line_to(cr, x + 6, base);
  cairo_close_path(cr);
  LinearH(cr, x, x + 6, 0xf0d8a8, 0xa07a4a);
  FillOutline(cr, 1.2);
}

void RailFence(cairo_t* cr, double x0, double x1, double base) {
  if (x1 <= x0) return;
  for (double ry : {base - 14.0, base - 7.0}) {
    cairo_rectangle(cr, x0, ry, x1 - x0, 3.2);
    LinearV(cr, ry, ry + 3.2, 0xe8cc98, 0x9a7446);
    FillOutline(cr, 1.0);
  }
  for (double x = x0; x <= x1 - 6; x += 40) FencePost(cr, x, base, 16);
}

void PaintBackground(cairo_t* cr) {
  garden::PaintGrass(cr, 0, 0, 1024, 768, 21, garden::Grass);
  // The farmyard band is covered by the shed scene; a frame of dark wood sets it off.
  RoundRect(cr, 8, 10, 1009, 219, 6);
  LinearV(cr, 10, 229, palette::WoodLight, palette::WoodDark);
  FillOutline(cr, 2);
  cairo_rectangle(cr, 13, 15, 999, 209);
  LinearV(cr, 15, 224, sky::Top, sky::Horizon);
  cairo_fill(cr);
  // The yard path continues from the scene to the field.
  cairo_move_to(cr, PathX - 30, 229);
  cairo_line_to(cr, PathX + 30, 229);
  cairo_line_to(cr, PathX + 36, FieldY);
  cairo_line_to(cr, PathX - 36, FieldY);
  cairo_close_path(cr);
  LinearV(cr, 229, FieldY, 0xb8945e, 0xa88450);
  cairo_fill(cr);
  TRandom rng(22);
  Dabs(cr, rng, PathX - 30, 232, 60, 46, 30, 0x8a6a40, 0.5, 0.8, 1.8);
  // The field: unbought ground with its plot grid, in a darker rim.
  SoftShadow(cr, FieldX + FieldW / 2, FieldY + FieldH / 2, FieldW * 0.56, FieldH * 0.6, 0.5);
  garden::PaintGround(cr, FieldX, FieldY, FieldW, FieldH, 23);
  cairo_rectangle(cr, FieldX - 1, FieldY - 1, FieldW + 2, FieldH + 2);
  SetRgb(cr, 0x4a5a28);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  // Fence along the top of the field, open where the path comes in.
  RailFence(cr, 122, PathX - 40, FieldY - 2);
  RailFence(cr, PathX + 40, 1004, FieldY - 2);
  // Flowers and tufts along the bottom edge.
  for (double x = 20; x < 1010; x += rng.Uniform(26, 60)) {
    const double y = rng.Uniform(745, 760);
    for (int p = 0; p < 5; ++p) {
      const double a = p * 2 * M_PI / 5;
      Ellipse(cr, x + std::cos(a) * 2.4, y + std::sin(a) * 2.4, 2, 2);
    }
    SetRgb(cr, rng.Int(0, 1) ? 0xfff4e0 : palette::Gold);
    FillOutline(cr, 0.8);
    Ellipse(cr, x, y, 1.4, 1.4);
    SetRgb(cr, 0xd8901e);
    cairo_fill(cr);
  }
}

// The main panel, 200 x 120: a strip for the four buttons and paper for money and date.
constexpr uint32_t ButtonStrip = palette::SoilDark;

void PaintPanel(cairo_t* cr) {
  LinearV(cr, 0, 120, palette::WoodLight, palette::WoodDark);
  cairo_paint(cr);
  TRandom rng(24);
  SetRgb(cr, palette::WoodDark, 0.3);
  cairo_set_line_width(cr, 1);
  for (int i = 0; i < 10; ++i) {
    const double y = rng.Uniform(2, 118);
    cairo_move_to(cr, 0, y);
    cairo_curve_to(cr, 60, y + rng.Uniform(-3, 3), 140, y + rng.Uniform(-3, 3), 200, y);
  }
  cairo_stroke(cr);
  cairo_rectangle(cr, 1, 1, 198, 118);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  RoundRect(cr, 10, 11, 172, 38, 7);
  SetRgb(cr, ButtonStrip);
  FillOutline(cr, 1.5);
  RoundRect(cr, 9, 54, 183, 60, 5);
  LinearV(cr, 54, 114, palette::Paper, palette::PaperDark);
  FillOutline(cr, 1.5);
  widgets::Nails(cr, 0, 0, 200, 120, 4.5);
}

void PaintPanelButton(cairo_t* cr, int button, bool hovered) {
  widgets::Tile(cr, 1, 1, 33, 29, 6, hovered);
  const double cx = 17.5;
  const double cy = 15;
  switch (button) {
    case 0:
      icons::Cog(cr, cx, cy, 21);
      break;
    case 1:
      icons::Floppy(cr, cx, cy, 21);
      break;
    case 2:
      icons::Folder(cr, cx, cy + 1, 22);
      break;
    default:
      icons::Home(cr, cx, cy, 22);
      break;
  }
}

// The plot actions menu: a dark board with a recess under each of the ten buttons, so a
// button the level does not allow leaves an empty slot.
constexpr uint32_t MenuBoard = 0x4a3222;
constexpr uint32_t MenuWell = 0x2e1e12;

void PaintPlotMenu(cairo_t* cr) {
  using sprites::main_sheet::PlotMenuAt;
  using sprites::main_sheet::PlotMenuButtonHit;
  widgets::Board(cr, 1, 1, 376, 196, 16, 7, MenuBoard);
  TRandom rng(25);
  cairo_save(cr);
  RoundRect(cr, 8, 8, 362, 182, 10);
  cairo_clip(cr);
  SetRgb(cr, 0x3a2618, 0.6);
  cairo_set_line_width(cr, 1.2);
  for (int i = 0; i < 14; ++i) {
    const double y = rng.Uniform(10, 188);
    cairo_move_to(cr, 8, y);
    cairo_curve_to(cr, 120, y + rng.Uniform(-4, 4), 260, y + rng.Uniform(-4, 4), 370, y);
  }
  cairo_stroke(cr);
  cairo_restore(cr);
  for (const TRect& hit : PlotMenuButtonHit) {
    const double x = hit.Left - PlotMenuAt.X;
    const double y = hit.Top - PlotMenuAt.Y;
    RoundRect(cr, x + 1, y + 1, 46, 46, 9);
    SetRgb(cr, MenuWell);
    cairo_fill_preserve(cr);
    SetRgb(cr, 0x7a5a3a, 0.8);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
  TTextStyle caption;
  caption.Size = 22;
  caption.Fill = 0xf6e2b0;
  caption.Stroke = 0x1e120a;
  caption.StrokeWidth = 3;
  // TRANSLATORS: the caption of the menu of tools, 340 pixels wide.
  Text(cr, Words("Zahradnické nářadí"), 189, 160, caption, TAlign::Centre, 340);
  // Seeds in the corner beside the crop buttons.
  for (int crop = 0; crop < 4; ++crop) PaintProduce(cr, crop, 238 + crop * 30, 100, 26);
}

void PaintPlotButton(cairo_t* cr, int id, bool hovered, double height) {
  widgets::Tile(cr, 2, 2, 44, height - 3, 8, hovered);
  const double cx = 24;
  const double cy = 2 + (height - 5) / 2;
  switch (id) {
    case 1:
      icons::BedForSale(cr, cx, cy, 36);
      break;
    case 2:
      icons::WateringCan(cr, cx - 3, cy + 1, 34);
      break;
    case 3:
      icons::Basket(cr, cx, cy + 2, 34);
      break;
    case 4:
      PaintProduce(cr, Carrot, cx, cy + 1, 34);
      break;
    case 5:
      PaintProduce(cr, Cauliflower, cx, cy + 2, 34);
      break;
    case 6:
      PaintProduce(cr, Kohlrabi, cx, cy + 1, 32);
      break;
    case 7:
      PaintProduce(cr, Garlic, cx, cy + 1, 34);
      break;
    case 8:
      icons::Sack(cr, cx, cy + 1, 34);
      break;
    case 9:
      icons::Well(cr, cx, cy + 2, 36);
      break;
    default:
      icons::Sprinkler(cr, cx, cy + 3, 36);
      break;
  }
}

}  // namespace

TSheet DrawMain() {
  using namespace sprites::main_sheet;
  TSheet sheet(File, Width, Height);
  sheet.Paint(Background, TFlatten::Opaque(), PaintBackground);
  sheet.Paint(Panel, TFlatten::Opaque(), PaintPanel);
  for (int b = 0; b < 4; ++b) {
    for (bool hovered : {false, true})
      sheet.Paint(PanelButton(static_cast<TPanelButton>(b), hovered),
                  TFlatten::Over(Hex(ButtonStrip)),
                  [=](cairo_t* cr) { PaintPanelButton(cr, b, hovered); });
  }
  sheet.Paint(PlotMenu, TFlatten::Unmixed(0.5), PaintPlotMenu);
  for (int id = 1; id <= PlotMenuButtonCount; ++id) {
    for (bool hovered : {false, true}) {
      const TRect r = PlotMenuButton(id, hovered);
      sheet.Paint(r, TFlatten::Over(Hex(MenuWell)),
                  [=](cairo_t* cr) { PaintPlotButton(cr, id, hovered, r.Height()); });
    }
  }
  return sheet;
}

}  // namespace pictures
