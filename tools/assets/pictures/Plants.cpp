// The plants (Rostliny.bmp): every crop in every growth stage and sway frame, and its two
// withered pictures. Each sprite is a 40 x 35 plot cell and is drawn over the bed's soil.
#include <array>
#include <cmath>

#include "Garden.h"
#include "Paint.h"
#include "Pictures.h"
#include "Produce.h"
#include "gfx/SpriteRects.h"

namespace pictures {

namespace {

using garden::PlantBaseY;
constexpr double BaseX = 20;

// Colours of one kind of foliage: fresh, or dried out.
struct TFoliage {
  uint32_t Light;
  uint32_t Dark;
};
constexpr TFoliage CauliLeaf{0x86c09a, 0x3b7450};
constexpr TFoliage KohlLeaf{0x9ed068, 0x44862e};
constexpr TFoliage CarrotLeaf{0xa6dc5a, 0x3e8a26};
constexpr TFoliage GarlicLeaf{0xa8c8a8, 0x4e7a5c};
constexpr TFoliage Dry{0xc8a060, 0x6e4a22};
constexpr TFoliage Straw{0xe0c878, 0x9a7a34};

constexpr double Ink = 0.9;  // outline width in a plant sprite

// A leaf on a plant standing at (bx, by): `angle` from upright (radians, negative to the
// left), `droop` bends it down along its length.
void Leaf(cairo_t* cr, double bx, double by, double angle, double length, double width,
          const TFoliage& colours, double droop = 0, bool vein = true) {
  const double tx = bx + std::sin(angle) * length;
  const double ty = by - std::cos(angle) * length + droop;
  LeafPath(cr, bx, by, tx, ty, width, (angle < 0 ? 1 : -1) * droop * 0.3);
  LinearAny(cr, bx, by, tx, ty, colours.Dark, colours.Light);
  FillOutline(cr, Ink);
  if (vein && length > 7) {
    cairo_move_to(cr, bx, by);
    cairo_line_to(cr, bx + (tx - bx) * 0.8, by + (ty - by) * 0.8);
    SetRgb(cr, MixHex(colours.Light, 0xffffff, 0.4), 0.8);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
  }
}

// A feathery carrot frond: a stalk with leaflets along it.
void Frond(cairo_t* cr, double bx, double by, double angle, double length, const TFoliage& colours,
           double droop = 0) {
  const double tx = bx + std::sin(angle) * length;
  const double ty = by - std::cos(angle) * length + droop;
  const double mx = (bx + tx) / 2 + std::sin(angle) * droop * 0.3;
  const double my = (by + ty) / 2 - droop * 0.2;
  cairo_move_to(cr, bx, by);
  cairo_curve_to(cr, mx, my, mx, my, tx, ty);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, 1.8);
  cairo_stroke_preserve(cr);
  SetRgb(cr, colours.Dark);
  cairo_set_line_width(cr, 0.9);
  cairo_stroke(cr);
  // Leaflets in pairs, smaller towards the tip.
  const int pairs = std::max(2, static_cast<int>(length / 3.2));
  for (int i = 1; i <= pairs; ++i) {
    const double t = static_cast<double>(i) / (pairs + 0.5);
    const double px = bx + (tx - bx) * t;
    const double py = by + (ty - by) * t;
    const double size = 3.2 * (1.15 - t * 0.6);
    for (int side = -1; side <= 1; side += 2) {
      const double la = angle + side * 0.95;
      Ellipse(cr, px + std::sin(la) * size * 0.7, py - std::cos(la) * size * 0.7, size * 0.72,
              size * 0.48);
    }
  }
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, 1.4);
  cairo_stroke_preserve(cr);
  LinearV(cr, ty, by, colours.Light, colours.Dark);
  cairo_fill(cr);
}

// A long narrow garlic blade, slightly curled at its tip.
void Blade(cairo_t* cr, double bx, double by, double angle, double length, const TFoliage& colours,
           double droop = 0, uint32_t tip = 0) {
  const double tx = bx + std::sin(angle) * length;
  const double ty = by - std::cos(angle) * length + droop;
  LeafPath(cr, bx, by, tx, ty, 3.4, (angle < 0 ? -1 : 1) * (1.5 + droop * 0.4));
  if (tip != 0) {
    cairo_pattern_t* p = cairo_pattern_create_linear(bx, by, tx, ty);
    auto stop = [&](double at, uint32_t c) {
      cairo_pattern_add_color_stop_rgb(p, at, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                                       (c & 0xFF) / 255.0);
    };
    stop(0, colours.Dark);
    stop(0.55, colours.Light);
    stop(1, tip);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
  } else {
    LinearAny(cr, bx, by, tx, ty, colours.Dark, colours.Light);
  }
  FillOutline(cr, Ink);
}

// A little mound of soil where the plant stands.
void Mound(cairo_t* cr, double width) {
  Ellipse(cr, BaseX, PlantBaseY + 0.5, width / 2, 2.2);
  SetRgb(cr, 0x7a5234);
  cairo_fill(cr);
  Ellipse(cr, BaseX, PlantBaseY + 1.2, width / 2 - 1, 1.2);
  SetRgb(cr, 0x3a2212, 0.6);
  cairo_fill(cr);
}

// Two seed leaves on a short stem: the first stage of every broad-leaved crop.
void Seedling(cairo_t* cr, double sway, const TFoliage& colours, uint32_t stem, double size) {
  Mound(cr, 10);
  const double top = PlantBaseY - size;
  cairo_move_to(cr, BaseX, PlantBaseY);
  cairo_line_to(cr, BaseX + sway * 20, top);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, 2.2);
  cairo_stroke_preserve(cr);
  SetRgb(cr, stem);
  cairo_set_line_width(cr, 1.1);
  cairo_stroke(cr);
  Leaf(cr, BaseX + sway * 20, top, -1.15 + sway, size * 0.85, size * 0.7, colours, 0, false);
  Leaf(cr, BaseX + sway * 20, top, 1.15 + sway, size * 0.85, size * 0.7, colours, 0, false);
}

void Cauliflower(cairo_t* cr, int stage, double sway) {
  if (stage == 0) return Seedling(cr, sway, CauliLeaf, 0x9ab890, 6);
  const bool withered = stage >= 5;
  const TFoliage& leaf = withered ? Dry : CauliLeaf;
  const int grow = withered ? (stage == 6 ? 4 : 2) : stage;
  const double len = 6 + grow * 3.6;
  const double wid = 5 + grow * 1.6;
  const double droop = withered ? 7 : 0;
  Mound(cr, 12 + grow * 3);
  // Outer leaves first (spread wide), inner leaves over them.
  const std::array<double, 6> angles{-1.35, 1.35, -0.8, 0.8, -0.3, 0.3};
  const int count = std::min<int>(6, 2 + grow);
  for (int i = 0; i < count; ++i) {
    const double a = angles[static_cast<size_t>(i)] * (withered ? 1.25 : 1) + sway * (1 + i * 0.15);
    const double l = len * (i < 2 ? 0.95 : 1.0 - 0.08 * (i - 2));
    Leaf(cr, BaseX, PlantBaseY, a, l, wid, leaf, droop + (i < 2 ? 2 : 0));
  }
  // The curd: a small white bud in stage 3, the full head when ripe.
  if (grow >= 3) {
    const double r = grow == 3 ? 4.2 : 8.2;
    const double cy = PlantBaseY - (grow == 3 ? 6 : 8);
    const uint32_t light = stage == 6 ? 0xd8c48a : 0xfffdf0;
    const uint32_t dark = stage == 6 ? 0x8a6a3a : 0xd2c090;
    Ellipse(cr, BaseX + sway * 6, cy, r, r * 0.8);
    Radial(cr, BaseX + sway * 6, cy, r, BaseX - r * 0.35, cy - r * 0.4, light, dark);
    FillOutline(cr, Ink);
    if (grow == 4) {
      const double florets[][2] = {{-4.5, -1.5}, {0, -3.5}, {4.5, -1.5}, {-2.5, 2}, {2.5, 2}};
      for (const auto& f : florets) {
        Ellipse(cr, BaseX + sway * 6 + f[0], cy + f[1], 2.6, 2.2);
        SetRgb(cr, stage == 6 ? 0xb09460 : 0xe8dcb4);
        cairo_set_line_width(cr, 0.7);
        cairo_stroke(cr);
      }
      if (stage == 6) {
        for (double dx : {-3.0, 2.0}) {
          Ellipse(cr, BaseX + dx, cy + 1, 1.8, 1.3);
          SetRgb(cr, 0x5a3a1a);
          cairo_fill(cr);
        }
      }
    }
    // Two leaves hug the curd from the front.
    for (int side = -1; side <= 1; side += 2)
      Leaf(cr, BaseX + side * (r + 3), PlantBaseY + 0.5, -side * 1.2, r * 0.9, 4, leaf, 0, false);
  }
}

void Kohlrabi(cairo_t* cr, int stage, double sway) {
  if (stage == 0) return Seedling(cr, sway, KohlLeaf, 0x9a6ab4, 6);
  const bool withered = stage >= 4;
  const int grow = withered ? (stage == 5 ? 3 : 2) : stage;
  const TFoliage& leaf = withered ? Dry : KohlLeaf;
  const double bulbR = grow == 1 ? 2.6 : grow == 2 ? 5.6 : 9.2;
  const double bulbY = PlantBaseY - bulbR * 0.75;
  Mound(cr, 8 + bulbR * 2);
  // Leaves on long purple stalks that rise from the top of the bulb.
  const std::array<double, 4> angles{-0.75, 0.75, -0.2, 0.25};
  const int count = grow == 1 ? 3 : 4;
  const double stalk = 5 + grow * 3.2;
  const double droop = withered ? 8 : 0;
  for (int i = 0; i < count; ++i) {
    const double a = angles[static_cast<size_t>(i)] * (withered ? 1.6 : 1) + sway * (1 + 0.2 * i);
    const double sx = BaseX + angles[static_cast<size_t>(i)] * bulbR * 0.5;
    const double sy = bulbY - bulbR * 0.6;
    const double ex = sx + std::sin(a) * stalk;
    const double ey = sy - std::cos(a) * stalk + droop * 0.5;
    cairo_move_to(cr, sx, sy);
    cairo_line_to(cr, ex, ey);
    SetRgb(cr, palette::Outline);
    cairo_set_line_width(cr, 2.3);
    cairo_stroke_preserve(cr);
    SetRgb(cr, withered ? 0x8a6a4a : 0xa078c0);
    cairo_set_line_width(cr, 1.1);
    cairo_stroke(cr);
    Leaf(cr, ex, ey, a * 1.1, 4 + grow * 1.8, 4 + grow * 1.3, leaf, droop * 0.6);
  }
  // The swollen stem: the kohlrabi itself, violet and shiny.
  const uint32_t light = withered ? (stage == 5 ? 0x9a7a8a : 0x8a7080) : 0xc09ada;
  const uint32_t dark = withered ? 0x4a3440 : 0x5a2c78;
  Ellipse(cr, BaseX, bulbY, bulbR * (withered ? 0.95 : 1.05), bulbR * (withered ? 0.8 : 0.9));
  Radial(cr, BaseX, bulbY, bulbR * 1.1, BaseX - bulbR * 0.4, bulbY - bulbR * 0.4, light, dark);
  FillOutline(cr, Ink);
  if (grow >= 2) {
    Ellipse(cr, BaseX - bulbR * 0.4, bulbY - bulbR * 0.35, bulbR * 0.25, bulbR * 0.16);
    SetRgb(cr, withered ? 0xb8a4b0 : 0xeadcf4, 0.9);
    cairo_fill(cr);
  }
  if (withered) {
    SetRgb(cr, 0x2a1a22);
    cairo_set_line_width(cr, 0.8);
    cairo_move_to(cr, BaseX - bulbR * 0.3, bulbY - bulbR * 0.2);
    cairo_line_to(cr, BaseX + bulbR * 0.1, bulbY + bulbR * 0.3);
    cairo_line_to(cr, BaseX + bulbR * 0.4, bulbY + bulbR * 0.1);
    cairo_stroke(cr);
  }
}

void Carrot(cairo_t* cr, int stage, double sway) {
  const bool withered = stage >= 4;
  const int grow = withered ? (stage == 5 ? 3 : 2) : stage;
  const TFoliage& leaf = withered ? (stage == 5 ? Dry : Straw) : CarrotLeaf;
  Mound(cr, 8 + grow * 3);
  if (grow == 0) {
    // Two thin grass-like seed leaves.
    for (int side = -1; side <= 1; side += 2)
      Blade(cr, BaseX, PlantBaseY, side * 0.35 + sway, 8, CarrotLeaf);
    return;
  }
  const std::array<double, 5> angles{-0.7, 0.7, -0.3, 0.3, 0.0};
  const int count = grow == 1 ? 3 : 5;
  const double len = 7 + grow * 4.8;
  const double droop = withered ? 9 : 0;
  for (int i = 0; i < count; ++i) {
    const size_t k = static_cast<size_t>(grow == 1 ? i + 2 : i);
    const double a = angles[std::min<size_t>(k, 4)] * (withered ? 2.0 : 1) + sway * (1.2 - 0.1 * i);
    Frond(cr, BaseX, PlantBaseY - 1, a, len * (k == 4 ? 1.05 : 0.92), leaf, droop);
  }
  // The carrot's orange shoulder shows above the soil once it has grown.
  if (grow >= 2) {
    const double w = grow == 2 ? 3.5 : 6;
    const double h = grow == 2 ? 2.5 : 5;
    cairo_move_to(cr, BaseX - w, PlantBaseY + 1);
    cairo_curve_to(cr, BaseX - w, PlantBaseY - h, BaseX + w, PlantBaseY - h, BaseX + w,
                   PlantBaseY + 1);
    cairo_close_path(cr);
    const bool rotten = stage == 5;
    LinearH(cr, BaseX - w, BaseX + w, rotten ? 0xb87840 : 0xffb04a, rotten ? 0x6a4020 : 0xd2581a);
    FillOutline(cr, Ink);
    if (grow == 3) {
      SetRgb(cr, rotten ? 0x4a2a10 : 0xa8400c, 0.8);
      cairo_set_line_width(cr, 0.6);
      cairo_move_to(cr, BaseX - 3.5, PlantBaseY - 1.5);
      cairo_line_to(cr, BaseX - 1, PlantBaseY - 1.2);
      cairo_stroke(cr);
    }
  }
}

void Garlic(cairo_t* cr, int stage, double sway) {
  const bool withered = stage >= 4;
  const int grow = withered ? (stage == 5 ? 3 : 2) : stage;
  Mound(cr, 8 + grow * 2.5);
  const std::array<double, 5> angles{0.0, -0.28, 0.3, -0.55, 0.5};
  const int count = std::min(5, 1 + grow + (grow >= 2 ? 1 : 0));
  const double len = 9 + grow * 4.4;
  const TFoliage& leaf = withered ? Straw : GarlicLeaf;
  const double droop = withered ? 14 : 0;
  for (int i = count - 1; i >= 0; --i) {
    const double a = angles[static_cast<size_t>(i)] * (withered ? 2.6 : 1) + sway * (1 + 0.25 * i);
    // Ripe garlic browns from the tips.
    const uint32_t tip = (!withered && grow == 3) ? 0xd8c070 : (withered ? 0x9a7a34 : 0);
    Blade(cr, BaseX, PlantBaseY - 1, a, len * (1 - 0.1 * i), leaf, droop, tip);
  }
  // The bulb swells at the foot of the leaves, white with a violet blush.
  if (grow >= 2) {
    const double r = grow == 2 ? 3.6 : 6.2;
    const double cy = PlantBaseY - r * 0.55;
    cairo_move_to(cr, BaseX - 1, cy - r * 1.1);
    cairo_curve_to(cr, BaseX - r * 1.3, cy - r * 0.2, BaseX - r * 1.1, cy + r * 0.8, BaseX,
                   cy + r * 0.8);
    cairo_curve_to(cr, BaseX + r * 1.1, cy + r * 0.8, BaseX + r * 1.3, cy - r * 0.2, BaseX + 1,
                   cy - r * 1.1);
    cairo_close_path(cr);
    const uint32_t light = stage == 5 ? 0xc8bca0 : 0xfffcf4;
    const uint32_t dark = stage == 5 ? 0x7a6a50 : 0xc4aed0;
    Radial(cr, BaseX, cy, r * 1.2, BaseX - r * 0.4, cy - r * 0.3, light, dark);
    FillOutline(cr, Ink);
    if (grow == 3) {
      SetRgb(cr, stage == 5 ? 0x5a4a30 : 0xa08ab4, 0.9);
      cairo_set_line_width(cr, 0.6);
      for (double dx : {-0.45, 0.45}) {
        cairo_move_to(cr, BaseX + dx * r * 0.3, cy - r * 0.8);
        cairo_curve_to(cr, BaseX + dx * r * 1.4, cy, BaseX + dx * r * 1.2, cy + r * 0.5,
                       BaseX + dx * r * 0.6, cy + r * 0.75);
      }
      cairo_stroke(cr);
    }
  }
}

// The sway of each frame: upright, leaning one way, upright, the other way.
double Sway(int frames, int frame) {
  constexpr double Amount = 0.085;
  if (frames == 3) return std::array<double, 3>{0, Amount, -Amount}[static_cast<size_t>(frame)];
  return std::array<double, 4>{0, Amount, 0, -Amount}[static_cast<size_t>(frame % 4)];
}

void PaintPlant(cairo_t* cr, int crop, int stage, double sway) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  switch (crop) {
    case pictures::Cauliflower: Cauliflower(cr, stage, sway); break;
    case pictures::Kohlrabi: Kohlrabi(cr, stage, sway); break;
    case pictures::Carrot: Carrot(cr, stage, sway); break;
    default: Garlic(cr, stage, sway); break;
  }
}

}  // namespace

TSheet DrawPlants() {
  using namespace sprites::plants;
  TSheet sheet(File, Width, Height);
  const TFlatten onSoil = TFlatten::Over(Hex(garden::BedSoil));
  for (int crop = 0; crop < 4; ++crop) {
    const TPlantSheet& s = Sheets[static_cast<size_t>(crop)];
    for (int stage = 0; stage < s.Rows; ++stage) {
      for (int frame = 0; frame < s.Frames; ++frame) {
        // Withered plants no longer move.
        const double sway = stage > s.RipeStage ? 0 : Sway(s.Frames, frame);
        sheet.Paint(Plant(crop, stage, frame), onSoil,
                    [=](cairo_t* cr) { PaintPlant(cr, crop, stage, sway); });
      }
    }
  }
  return sheet;
}

}  // namespace pictures
