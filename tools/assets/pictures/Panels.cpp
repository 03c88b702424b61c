// The orders panel (Objednav.bmp), the level progress panel (Level.bmp) and the symbols
// (Symboly.bmp): side icons, the shed block and the end-of-level pictures.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "Icons.h"
#include "Paint.h"
#include "Pictures.h"
#include "Produce.h"
#include "Widgets.h"
#include "Words.h"
#include "gfx/SpriteRects.h"

namespace pictures {

namespace {

constexpr TRgb OnParchment = Hex(palette::Parchment);

// Paper with a few soft stains, inside a wooden frame.
void PaperBoard(cairo_t* cr, double w, double h, double frame, uint32_t seed) {
  widgets::Board(cr, 1, 1, w - 2, h - 2, 12, frame, palette::Paper);
  cairo_save(cr);
  RoundRect(cr, 1 + frame, 1 + frame, w - 2 - 2 * frame, h - 2 - 2 * frame, 6);
  cairo_clip(cr);
  // Old paper: lighter in the middle, a few soft blotches, darker towards the frame.
  TRandom rng(seed);
  for (int i = 0; i < static_cast<int>(w * h / 9000) + 2; ++i) {
    const double r = rng.Uniform(30, 70);
    SoftShadow(cr, rng.Uniform(0, w), rng.Uniform(0, h), r, r * rng.Uniform(0.6, 1.0), 0.045);
  }
  cairo_pattern_t* edge = cairo_pattern_create_radial(w / 2, h / 2, std::min(w, h) * 0.35, w / 2,
                                                      h / 2, std::max(w, h) * 0.62);
  cairo_pattern_add_color_stop_rgba(edge, 0, 0.55, 0.38, 0.18, 0);
  cairo_pattern_add_color_stop_rgba(edge, 1, 0.55, 0.38, 0.18, 0.28);
  cairo_set_source(cr, edge);
  cairo_paint(cr);
  cairo_pattern_destroy(edge);
  cairo_restore(cr);
  widgets::Nails(cr, 1, 1, w - 2, h - 2, frame / 2 + 0.5);
}

void PaintOrdersPanel(cairo_t* cr) {
  PaperBoard(cr, 300, 400, 8, 61);
  // Header of the order letter; the text starts at row 54.
  TTextStyle header;
  header.Size = 26;
  header.Fill = 0x8a2a1a;
  header.Stroke = 0xfff6e0;
  header.StrokeWidth = 2;
  // TRANSLATORS: the heading of the orders panel, over a line 240 pixels long.
  Text(cr, Words("Objednávka"), 150, 29, header, TAlign::Centre, 240);
  cairo_move_to(cr, 30, 46.5);
  cairo_line_to(cr, 270, 46.5);
  SetRgb(cr, 0x8a2a1a, 0.6);
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
  // A wax seal at the foot of the letter.
  Ellipse(cr, 46, 368, 14, 14);
  Radial(cr, 46, 368, 14, 42, 363, 0xe05a40, 0x8a1a10);
  FillOutline(cr, 1.5);
  LeafPath(cr, 40, 374, 52, 361, 7);
  SetRgb(cr, 0xf6c0a0, 0.9);
  cairo_fill(cr);
}

void PaintSmallButton(cairo_t* cr, double w, double h, const std::string& label, bool hovered,
                      uint32_t wood) {
  RoundRect(cr, 0.8, 0.8, w - 1.6, h - 1.6, 4);
  if (hovered)
    LinearV(cr, 0, h, 0xffe8a0, 0xe09a3a);
  else
    LinearV(cr, 0, h, MixHex(wood, 0xffffff, 0.3), MixHex(wood, 0x000000, 0.25));
  FillOutline(cr, 1.4);
  if (label == "x") {
    // A cross, drawn: at this size a glyph would be a smudge.
    const double d = std::min(w, h) * 0.26;
    cairo_move_to(cr, w / 2 - d, h / 2 - d);
    cairo_line_to(cr, w / 2 + d, h / 2 + d);
    cairo_move_to(cr, w / 2 + d, h / 2 - d);
    cairo_line_to(cr, w / 2 - d, h / 2 + d);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetRgb(cr, hovered ? 0xfff6e0 : palette::Outline);
    cairo_set_line_width(cr, 3.6);
    cairo_stroke_preserve(cr);
    SetRgb(cr, hovered ? 0xb8402a : 0xfff6e0);
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
    return;
  }
  TTextStyle style;
  style.Size = h * 0.72;
  style.Fill = hovered ? 0x5a2a08 : 0xfff6e0;
  style.Stroke = hovered ? 0xfff6e0 : palette::Outline;
  style.StrokeWidth = 1.4;
  Text(cr, label, w / 2, h / 2, style, TAlign::Centre, w - 4);
}

}  // namespace

TSheet DrawOrders() {
  using namespace sprites::orders;
  TSheet sheet(File, Width, Height);
  // The panel lies over the garden, whose colours change under it: its edge keeps its own.
  sheet.Paint(Panel, TFlatten::Unmixed(0.5), PaintOrdersPanel);
  // The buttons are seen against the paper where they are drawn.
  auto under = [&](sprites::TSpot at, TRect r) {
    const int32_t x = at.X - PanelAt.X;
    const int32_t y = at.Y - PanelAt.Y;
    return TFlatten::Over(sheet.Average({x, y, x + r.Width(), y + r.Height()}));
  };
  // TRANSLATORS: the orders panel's button that accepts an order, 66 pixels wide.
  const std::string ok = Words("OK");
  const TFlatten onOk = under(OkAt, OkNormal);
  const TFlatten onClose = under(CloseAt, CloseNormal);
  sheet.Paint(OkNormal, onOk,
              [&](cairo_t* cr) { PaintSmallButton(cr, 70, 20, ok, false, palette::Leaf); });
  sheet.Paint(OkHovered, onOk,
              [&](cairo_t* cr) { PaintSmallButton(cr, 70, 20, ok, true, palette::Leaf); });
  sheet.Paint(CloseNormal, onClose,
              [](cairo_t* cr) { PaintSmallButton(cr, 16, 20, "x", false, 0xb8402a); });
  sheet.Paint(CloseHovered, onClose,
              [](cairo_t* cr) { PaintSmallButton(cr, 16, 20, "x", true, 0xb8402a); });
  return sheet;
}

namespace {

void PaintLevelPanel(cairo_t* cr) {
  PaperBoard(cr, 150, 300, 6, 62);
  // A goal flag on a little hill of vegetables, below the lines of text.
  cairo_move_to(cr, 20, 262);
  cairo_curve_to(cr, 50, 228, 100, 228, 130, 262);
  cairo_close_path(cr);
  LinearV(cr, 230, 262, 0x9ac860, palette::GrassDark);
  FillOutline(cr, 1.5);
  cairo_rectangle(cr, 74, 190, 3, 48);
  SetRgb(cr, palette::WoodDark);
  FillOutline(cr, 1);
  cairo_move_to(cr, 77, 192);
  cairo_curve_to(cr, 90, 186, 98, 200, 112, 194);
  cairo_line_to(cr, 112, 212);
  cairo_curve_to(cr, 98, 218, 90, 204, 77, 210);
  cairo_close_path(cr);
  LinearH(cr, 77, 112, 0xe85a3a, 0xa82a1a);
  FillOutline(cr, 1.4);
  PaintProduce(cr, Carrot, 45, 242, 20);
  PaintProduce(cr, Kohlrabi, 106, 244, 18);
}

}  // namespace

TSheet DrawLevel() {
  using namespace sprites::level;
  TSheet sheet(File, Width, Height);
  sheet.Paint(Panel, TFlatten::Unmixed(0.5), PaintLevelPanel);
  const int32_t x = CloseAt.X - PanelAt.X;
  const int32_t y = CloseAt.Y - PanelAt.Y;
  const TFlatten onPanel =
      TFlatten::Over(sheet.Average({x, y, x + CloseNormal.Width(), y + CloseNormal.Height()}));
  // TRANSLATORS: the button that closes the level's progress panel: a tiny one, 35 pixels of
  // text across; a longer word is drawn smaller, down to 9 pixels high, and a word that does not
  // fit even so stops the build.
  const std::string close = Words("Zavřít");
  sheet.Paint(CloseNormal, onPanel,
              [&](cairo_t* cr) { PaintSmallButton(cr, 39, 18, close, false, palette::Wood); });
  sheet.Paint(CloseHovered, onPanel,
              [&](cairo_t* cr) { PaintSmallButton(cr, 39, 18, close, true, palette::Wood); });
  return sheet;
}

namespace {

void PaintShedBlock(cairo_t* cr) {
  LinearV(cr, 0, 120, palette::WoodLight, palette::WoodDark);
  cairo_paint(cr);
  cairo_rectangle(cr, 1, 1, 68, 118);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  // Paper slots: an icon on the left, the count written to its right.
  RoundRect(cr, 5, 7, 60, 99, 5);
  LinearV(cr, 7, 106, palette::Paper, palette::PaperDark);
  FillOutline(cr, 1.4);
  SetRgb(cr, palette::PaperDark);
  cairo_set_line_width(cr, 1);
  for (double y : {31.5, 56.5, 81.5}) {
    cairo_move_to(cr, 9, y);
    cairo_line_to(cr, 61, y);
  }
  cairo_stroke(cr);
  TTextStyle label;
  label.Size = 12;
  label.Fill = 0xfff1cc;
  label.Stroke = palette::Outline;
  label.StrokeWidth = 2.2;
  // TRANSLATORS: the label under the shed's stock of vegetables, 64 pixels wide.
  Text(cr, Words("Sklad"), 35, 113, label, TAlign::Centre, 64);
}

void PaintBanner(cairo_t* cr, double w, double h, const std::string& text, uint32_t light,
                 uint32_t dark, double size, double room) {
  // A ribbon with folded ends behind a board.
  for (int side = -1; side <= 1; side += 2) {
    const double outer = side < 0 ? 4 : w - 4;
    const double inner = side < 0 ? 60 : w - 60;
    cairo_move_to(cr, outer, h * 0.3);
    cairo_line_to(cr, inner, h * 0.3);
    cairo_line_to(cr, inner, h * 0.88);
    cairo_line_to(cr, outer, h * 0.88);
    cairo_line_to(cr, outer - side * 18, h * 0.59);
    cairo_close_path(cr);
    LinearV(cr, h * 0.3, h * 0.88, MixHex(dark, 0x000000, 0.1), MixHex(dark, 0x000000, 0.4));
    FillOutline(cr, 2.5);
  }
  RoundRect(cr, 40, 6, w - 80, h - 16, h * 0.25);
  LinearV(cr, 6, h - 10, light, dark);
  FillOutline(cr, 3);
  RoundRect(cr, 50, 10, w - 100, (h - 16) * 0.3, h * 0.12);
  SetRgb(cr, 0xffffff, 0.25);
  cairo_fill(cr);
  TTextStyle style;
  style.Size = size;
  style.Fill = 0xfff6d8;
  style.Stroke = palette::Outline;
  style.StrokeWidth = size * 0.14;
  style.Shadow = 0x2a180c;
  style.ShadowOffset = 2;
  Text(cr, text, w / 2, (h - 10) / 2 + 1, style, TAlign::Centre, room);
}

}  // namespace

TSheet DrawSymbols() {
  using namespace sprites::symbols;
  TSheet sheet(File, Width, Height);
  // The side icons lie on the main panel's paper.
  // The side icons lie on the main panel's paper, which darkens downwards (see PaintPanel).
  sheet.Paint(OrderIcon, TFlatten::Over(Mix(palette::Paper, palette::PaperDark, 0.8)),
              [](cairo_t* cr) { icons::Envelope(cr, 0.8, 0.8, 22.4, 15.4); });
  sheet.Paint(ProgressIcon, TFlatten::Over(Mix(palette::Paper, palette::PaperDark, 0.45)),
              [](cairo_t* cr) { icons::Clipboard(cr, 0.8, 0.8, 15.4, 21.4); });
  sheet.Paint(ShedBlock, TFlatten::Opaque(), PaintShedBlock);
  for (int crop = 0; crop < 4; ++crop) {
    // Each icon is seen against the part of the shed block it is drawn on.
    const sprites::TSpot at = CropIconAt[static_cast<size_t>(crop)];
    const int32_t x = ShedBlock.Left + at.X - ShedBlockAt.X;
    const int32_t y = ShedBlock.Top + at.Y - ShedBlockAt.Y;
    const TFlatten onBlock = TFlatten::Over(sheet.Average({x, y, x + 19, y + 19}));
    sheet.Paint(CropIcon[static_cast<size_t>(crop)], onBlock,
                [crop](cairo_t* cr) { PaintProduce(cr, crop, 9.5, 9.8, 18.5); });
  }
  // TRANSLATORS: the banner of a level won, 310 pixels between its stars.
  const std::string won = Words("Level splněn!");
  sheet.Paint(LevelBanner, TFlatten::Over(OnParchment), [&](cairo_t* cr) {
    // The words keep between the stars.
    PaintBanner(cr, 452, 89, won, 0x8ad060, 0x3a7a24, 46, 310);
    // Golden stars on the board's corners: a win.
    for (const auto& st :
         {std::array<double, 3>{62, 18, 9}, {392, 18, 9}, {74, 62, 6}, {380, 62, 6}}) {
      cairo_new_path(cr);
      for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double r = i % 2 == 0 ? st[2] : st[2] * 0.45;
        cairo_line_to(cr, st[0] + std::cos(a) * r, st[1] + std::sin(a) * r);
      }
      cairo_close_path(cr);
      Radial(cr, st[0], st[1], st[2], st[0] - 2, st[1] - 2, 0xfff4b0, 0xe0a020);
      FillOutline(cr, 1.4);
    }
  });
  // TRANSLATORS: the banner of a game lost for want of money, 330 pixels wide.
  const std::string lost = Words("Došly peníze – konec hry");
  sheet.Paint(GameOver, TFlatten::Over(OnParchment),
              [&](cairo_t* cr) { PaintBanner(cr, 429, 62, lost, 0xd86a4a, 0x8a2a1a, 28, 330); });
  return sheet;
}

}  // namespace pictures
