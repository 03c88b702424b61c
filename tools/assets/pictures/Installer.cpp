// The Windows installer's pictures: the tall one beside its welcome and finish pages and the
// small one in the header of its other pages, in the warm style of the logo and the icon.
#include "Paint.h"
#include "Pictures.h"
#include "Produce.h"
#include "Sky.h"

namespace pictures {

namespace {

// A garden bed seen from the front: dark soil with a lighter ridge, produce standing in it.
void PaintBed(cairo_t* cr, double y, double w, int first, double size) {
  RoundRect(cr, 6, y, w - 12, 26, 9);
  LinearV(cr, y, y + 26, palette::SoilLight, palette::SoilDark);
  FillOutline(cr, 2);
  for (int i = 0; i < 3; ++i) {
    PaintProduce(cr, (first + i) % 4, 30 + i * (w - 60) / 2, y + 6, size);
  }
}

void PaintWelcome(cairo_t* cr, double w, double h) {
  // Sky down to the hills, a sun behind the emblem, the meadow below.
  LinearV(cr, 0, 190, sky::Top, sky::Horizon);
  cairo_paint(cr);
  cairo_move_to(cr, 0, 178);
  cairo_curve_to(cr, 40, 150, 80, 170, w / 2, 168);
  cairo_curve_to(cr, 110, 166, 130, 148, w, 160);
  cairo_line_to(cr, w, h);
  cairo_line_to(cr, 0, h);
  cairo_close_path(cr);
  LinearV(cr, 150, h, palette::GrassLight, palette::GrassDark);
  FillOutline(cr, 2);
  TRandom rng(164);
  Dabs(cr, rng, 0, 170, w, h - 170, 120, palette::GrassLight, 0.35, 1.5, 3.5);
  PaintEmblem(cr, w / 2, 78, 60);

  // The game's name on a wooden board under the emblem.
  RoundRect(cr, 14, 148, w - 28, 40, 10);
  LinearV(cr, 148, 188, palette::WoodLight, palette::WoodDark);
  FillOutline(cr, 3);
  Text(cr, "KELVORA", w / 2, 168, NameLettering(27, 3.5, 2), TAlign::Centre);

  // Two beds of the four vegetables in front.
  PaintBed(cr, 226, w, Cauliflower, 30);
  PaintBed(cr, 278, w, Carrot, 30);
}

void PaintHeader(cairo_t* cr, double w, double h) {
  // The header of the installer's pages is white: the picture is a parchment label on it.
  SetRgb(cr, 0xffffff);
  cairo_paint(cr);
  RoundRect(cr, 2, 3, w - 4, h - 6, 10);
  LinearV(cr, 3, h - 3, palette::Paper, palette::PaperDark);
  FillOutline(cr, 2);
  PaintEmblem(cr, 28, h / 2, 22);
  TTextStyle name;
  name.Size = 21;
  name.Fill = palette::Gold;
  name.Stroke = palette::Outline;
  name.StrokeWidth = 3;
  Text(cr, "Kelvora", 98, h / 2, name, TAlign::Centre);
}

}  // namespace

TSheet DrawInstallerWelcome() {
  const int32_t w = InstallerWelcomeSize[0], h = InstallerWelcomeSize[1];
  TSheet sheet("installer-welcome.bmp", w, h);
  sheet.Paint({0, 0, w, h}, TFlatten::Opaque(), [=](cairo_t* cr) { PaintWelcome(cr, w, h); });
  return sheet;
}

TSheet DrawInstallerHeader() {
  const int32_t w = InstallerHeaderSize[0], h = InstallerHeaderSize[1];
  TSheet sheet("installer-header.bmp", w, h);
  sheet.Paint({0, 0, w, h}, TFlatten::Opaque(), [=](cairo_t* cr) { PaintHeader(cr, w, h); });
  return sheet;
}

}  // namespace pictures
