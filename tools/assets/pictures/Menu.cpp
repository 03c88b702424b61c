// The menu sheet (Menu.bmp): the background of every menu screen, the main menu buttons, the
// options screen's parts and the level screens' button.
#include <array>
#include <cmath>
#include <string>

#include "Garden.h"
#include "Paint.h"
#include "Pictures.h"
#include "Produce.h"
#include "Sky.h"
#include "Widgets.h"
#include "Words.h"
#include "gfx/SpriteRects.h"

namespace pictures {

namespace {

// The parchment board where the screens write their texts; kept calm and of one tone so that
// black, dark red, blue and the light highlight of the save slots all read on it.
constexpr double BoardX = 22;
constexpr double BoardY = 186;
constexpr double BoardW = 980;
constexpr double BoardH = 546;

void PaintMenuBackground(cairo_t* cr) {
  // Garden scenery around the board.
  LinearV(cr, 0, 200, sky::Top, sky::Horizon);
  cairo_paint(cr);
  cairo_move_to(cr, 0, 150);
  cairo_curve_to(cr, 220, 110, 380, 170, 520, 140);
  cairo_curve_to(cr, 700, 110, 860, 160, 1024, 130);
  cairo_line_to(cr, 1024, 768);
  cairo_line_to(cr, 0, 768);
  cairo_close_path(cr);
  LinearV(cr, 110, 200, 0x8ab860, 0x6e9e48);
  FillOutline(cr, 2);
  // A few clouds and trees on the hills.
  const double clouds[][3] = {{70, 40, 1.0}, {420, 24, 0.7}, {940, 52, 0.9}};
  for (const auto& c : clouds) {
    cairo_new_path(cr);
    for (const auto& p :
         {std::array<double, 3>{-30, 6, 16}, {-8, -2, 22}, {18, 2, 18}, {38, 8, 12}})
      Ellipse(cr, c[0] + p[0] * c[2], c[1] + p[1] * c[2], p[2] * 1.2 * c[2], p[2] * c[2]);
    SetRgb(cr, 0x86a6c2);
    cairo_set_line_width(cr, 2.4);
    cairo_stroke_preserve(cr);
    LinearV(cr, c[1] - 22 * c[2], c[1] + 20 * c[2], 0xffffff, 0xc8d8e8);
    cairo_fill(cr);
  }
  for (const auto& t : {std::array<double, 2>{40, 150}, {96, 141}, {930, 134}, {985, 140}}) {
    cairo_rectangle(cr, t[0] - 2.5, t[1] - 14, 5, 16);
    SetRgb(cr, palette::WoodDark);
    FillOutline(cr, 1.2);
    Ellipse(cr, t[0], t[1] - 24, 14, 16);
    Radial(cr, t[0], t[1] - 24, 17, t[0] - 5, t[1] - 30, 0x9ad060, 0x3e7a2c);
    FillOutline(cr, 1.6);
  }
  garden::PaintGrass(cr, 0, 170, 1024, 598, 51, garden::Grass);
  // Vegetables along the bottom and up the sides.
  TRandom rng(52);
  for (double x = 14; x < 1024; x += rng.Uniform(34, 48))
    PaintProduce(cr, rng.Int(0, 3), x, rng.Uniform(748, 758), rng.Uniform(26, 32));
  for (double y = 230; y < 720; y += rng.Uniform(50, 70)) {
    PaintProduce(cr, rng.Int(0, 3), 11, y, 18);
    PaintProduce(cr, rng.Int(0, 3), 1013, y + 20, 18);
  }
  // The title over the board.
  for (int side = -1; side <= 1; side += 2) PaintEmblem(cr, 512 + side * 300, 96, 58);
  TTextStyle title;
  title.Size = 92;
  title.Fill = palette::Gold;
  title.Stroke = palette::Outline;
  title.StrokeWidth = 8;
  title.Shadow = 0x4a2e16;
  title.ShadowOffset = 5;
  Text(cr, "Kelvora", 512, 92, title, TAlign::Centre);
  // The board: wooden frame, parchment inside with a faint, even texture.
  SoftShadow(cr, 512, BoardY + BoardH / 2 + 8, BoardW * 0.55, BoardH * 0.56, 0.5);
  widgets::Board(cr, BoardX, BoardY, BoardW, BoardH, 18, 12, palette::Parchment);
  cairo_save(cr);
  RoundRect(cr, BoardX + 12, BoardY + 12, BoardW - 24, BoardH - 24, 8);
  cairo_clip(cr);
  Dabs(cr, rng, BoardX, BoardY, BoardW, BoardH, 900, 0xc8b488, 0.25, 2, 7);
  Dabs(cr, rng, BoardX, BoardY, BoardW, BoardH, 700, 0xa08c60, 0.18, 2, 6);
  // A narrow shade along the frame: the parchment lies a little below it. (A wide soft
  // vignette would show as rings in the game's 16-bit display.)
  for (int i = 0; i < 6; ++i) {
    RoundRect(cr, BoardX + 12 + i * 2, BoardY + 12 + i * 2, BoardW - 24 - i * 4,
              BoardH - 24 - i * 4, 8 + i);
    SetRgb(cr, 0x4a3018, 0.07);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
  widgets::Nails(cr, BoardX, BoardY, BoardW, BoardH, 6);
}

void PaintSignpost(cairo_t* cr, bool hovered) {
  // The post, then the sign pointing back to the left.
  cairo_rectangle(cr, 62, 44, 12, 30);
  LinearH(cr, 62, 74, palette::WoodLight, palette::WoodDark);
  FillOutline(cr, 2);
  cairo_move_to(cr, 3, 26);
  cairo_line_to(cr, 24, 3);
  cairo_line_to(cr, 132, 3);
  cairo_line_to(cr, 132, 49);
  cairo_line_to(cr, 24, 49);
  cairo_close_path(cr);
  if (hovered)
    LinearV(cr, 3, 49, 0xffe8a0, 0xe09a3a);
  else
    LinearV(cr, 3, 49, palette::WoodLight, palette::Wood);
  FillOutline(cr, 2.5);
  TTextStyle style;
  style.Size = 32;
  style.Fill = hovered ? 0xfffbe8 : 0xfff1cc;
  style.Stroke = hovered ? 0x7a3a0a : palette::Outline;
  style.StrokeWidth = 5;
  style.Shadow = 0x2a180c;
  style.ShadowOffset = 2;
  // Within the sign's straight part, both sides of its middle.
  // TRANSLATORS: the options screen's back button, a sign 104 pixels wide (a longer word is
  // drawn smaller).
  Text(cr, Words("Zpět"), 76, 26, style, TAlign::Centre, 104);
}

void PaintCaption(cairo_t* cr, const std::string& text, double width, double height) {
  TTextStyle wanted;
  wanted.Size = 26;
  wanted.Fill = 0x4a2410;
  wanted.Stroke = 0xe8d6a8;
  wanted.StrokeWidth = 3;
  const TTextStyle style = FitWidth(cr, text, wanted, width - 6);
  const cairo_text_extents_t ext = TextExtents(cr, text, style);
  Text(cr, text, 3, height / 2 - ext.y_bearing - ext.height / 2, style);
}

void PaintTrack(cairo_t* cr) {
  RoundRect(cr, 0.5, 0.5, 739, 6, 3);
  LinearV(cr, 0, 7, 0x3a2414, 0x8a6a44);
  FillOutline(cr, 1);
}

void PaintKnob(cairo_t* cr) {
  RoundRect(cr, 0.8, 0.8, 10.4, 21.4, 4);
  LinearH(cr, 0, 12, 0xffe8a0, palette::GoldDark);
  FillOutline(cr, 1.4);
  for (double y : {8.0, 11.5, 15.0}) {
    cairo_move_to(cr, 3.5, y);
    cairo_line_to(cr, 8.5, y);
  }
  SetRgb(cr, 0x7a4a10);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

}  // namespace

TSheet DrawMenu() {
  using namespace sprites::menu;
  TSheet sheet(File, Width, Height);
  sheet.Paint(Background, TFlatten::Opaque(), PaintMenuBackground);
  // TRANSLATORS: the main menu's buttons, planks with room for 250 pixels of text (a longer
  // word is drawn smaller).
  const std::string labels[] = {Words("Nová hra"), Words("Nahrát hru"), Words("Nastavení"),
                                Words("Konec")};
  for (int b = 1; b <= 4; ++b) {
    for (bool hovered : {false, true}) {
      const TRect r = MainButton(b, hovered);
      const std::string& label = labels[b - 1];
      // Seen against the board where the button stands.
      sheet.Paint(r, TFlatten::Over(sheet.Average(MainButtonHit[static_cast<size_t>(b - 1)])),
                  [&, r, hovered](cairo_t* cr) {
                    widgets::Plank(cr, 3, 2, r.Width() - 6, r.Height() - 3, label, 40, hovered);
                  });
    }
  }
  // Every part is seen against the board where the options screen draws it.
  auto at = [&](sprites::TSpot spot, TRect r) {
    return TFlatten::Over(sheet.Average({spot.X, spot.Y, spot.X + r.Width(), spot.Y + r.Height()}));
  };
  sheet.Paint(BackNormal, at(BackAt, BackNormal), [](cairo_t* cr) { PaintSignpost(cr, false); });
  sheet.Paint(BackHovered, at(BackAt, BackHovered), [](cairo_t* cr) { PaintSignpost(cr, true); });
  // TRANSLATORS: the options screen's captions over the volume sliders, 350 pixels wide.
  const std::string effects = Words("Hlasitost efektů");
  const std::string music = Words("Hlasitost hudby");
  sheet.Paint(EffectsCaption, at(EffectsCaptionAt, EffectsCaption), [&](cairo_t* cr) {
    PaintCaption(cr, effects, EffectsCaption.Width(), EffectsCaption.Height());
  });
  sheet.Paint(MusicCaption, at(MusicCaptionAt, MusicCaption), [&](cairo_t* cr) {
    PaintCaption(cr, music, MusicCaption.Width(), MusicCaption.Height());
  });
  sheet.Paint(Track, at(EffectsTrackAt, Track), PaintTrack);
  sheet.Paint(Knob, at(EffectsTrackAt, TRect{0, 0, Track.Width(), Knob.Height()}), PaintKnob);
  const TRect levelButtonArea{LevelButtonAt.X, LevelButtonAt.Y,
                              LevelButtonAt.X + LevelButtonNormal.Width(),
                              LevelButtonAt.Y + LevelButtonNormal.Height()};
  const TFlatten onLevelScreens = TFlatten::Over(sheet.Average(levelButtonArea));
  // TRANSLATORS: the level screens' button, a plank with room for 130 pixels of text (a longer
  // word is drawn smaller).
  const std::string next = Words("Pokračovat");
  for (bool hovered : {false, true}) {
    const TRect r = hovered ? LevelButtonHovered : LevelButtonNormal;
    sheet.Paint(r, onLevelScreens, [&, r, hovered](cairo_t* cr) {
      widgets::Plank(cr, 2, 2, r.Width() - 4, r.Height() - 3, next, 25, hovered);
    });
  }
  return sheet;
}

}  // namespace pictures
