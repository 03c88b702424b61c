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

// A feathery carrot frond: a stalk with fine leaflets along it, like a little fern.
void Frond(cairo_t* cr, double bx, double by, double angle, double length, const TFoliage& colours,
           double droop = 0) {
  const double tx = bx + std::sin(angle) * length;
  const double ty = by - std::cos(angle) * length + droop;
  const double cx = (bx + tx) / 2 - std::sin(angle) * droop * 0.2;
  const double cy = (by + ty) / 2 - droop * 0.4;
  auto point = [&](double t) {
    const double u = 1 - t;
    return std::pair{u * u * bx + 2 * u * t * cx + t * t * tx,
                     u * u * by + 2 * u * t * cy + t * t * ty};
  };
  // Leaflets: short strokes on both sides, shorter towards the tip.
  const int pairs = std::max(2, static_cast<int>(length / 2.6));
  cairo_new_path(cr);
  for (int i = 1; i <= pairs; ++i) {
    const double t = static_cast<double>(i) / (pairs + 0.6);
    const auto [px, py] = point(t);
    const auto [qx, qy] = point(std::min(1.0, t + 0.05));
    const double dir = std::atan2(qx - px, -(qy - py));
    const double size = 4.2 * (1.1 - t * 0.65);
    for (int side = -1; side <= 1; side += 2) {
      const double la = dir + side * 0.85;
      cairo_move_to(cr, px, py);
      cairo_line_to(cr, px + std::sin(la) * size, py - std::cos(la) * size);
    }
  }
  cairo_move_to(cr, bx, by);
  cairo_curve_to(cr, cx, cy, cx, cy, tx, ty);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  SetRgb(cr, palette::Outline);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke_preserve(cr);
  LinearV(cr, ty, by, colours.Light, colours.Dark);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
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

// A little golden twinkle over a ripe plant: ready to harvest. It changes with the frame.
void Sparkle(cairo_t* cr, double x, double y, int frame) {
  const double r = frame % 2 == 0 ? 3.2 : 2.2;
  cairo_move_to(cr, x, y - r);
  cairo_curve_to(cr, x + r * 0.2, y - r * 0.2, x + r * 0.2, y - r * 0.2, x + r, y);
  cairo_curve_to(cr, x + r * 0.2, y + r * 0.2, x + r * 0.2, y + r * 0.2, x, y + r);
  cairo_curve_to(cr, x - r * 0.2, y + r * 0.2, x - r * 0.2, y + r * 0.2, x - r, y);
  cairo_curve_to(cr, x - r * 0.2, y - r * 0.2, x - r * 0.2, y - r * 0.2, x, y - r);
  cairo_close_path(cr);
  SetRgb(cr, 0x8a5a10);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke_preserve(cr);
  SetRgb(cr, 0xfff0a0);
  cairo_fill(cr);
}

void Cauliflower(cairo_t* cr, int stage, double sway) {
  if (stage == 0) return Seedling(cr, sway, CauliLeaf, 0x9ab890, 8);
  const bool withered = stage >= 5;
  const TFoliage& leaf = withered ? Dry : CauliLeaf;
  const int grow = withered ? (stage == 6 ? 4 : 3) : stage;
  const std::array<double, 5> lengths{0, 9, 13, 15.5, 16.5};
  const std::array<double, 5> widths{0, 7, 9.5, 11, 12};
  const double len = lengths[static_cast<size_t>(grow)];
  const double wid = widths[static_cast<size_t>(grow)];
  Mound(cr, 12 + grow * 3);
  // Broad blue-green leaves in a rosette: the outer pair lies low, the inner ones stand up.
  const std::array<double, 6> angles{-1.4, 1.4, -0.85, 0.85, -0.3, 0.3};
  const int count = std::min(6, 2 + grow);
  for (int i = 0; i < count; ++i) {
    const double spread = withered ? (i < 2 ? 1.05 : 1.5) : 1.0;
    const double a = angles[static_cast<size_t>(i)] * spread + sway * (1 + i * 0.2);
    const double l = len * (i < 2 ? 1.0 : 1.0 - 0.07 * (i - 2));
    const double droop = withered ? (i < 2 ? 3 : 7) : 0;
    Leaf(cr, BaseX, PlantBaseY, a, l, wid, leaf, droop);
  }
  // The curd: a small white bud in stage 3, the full head when ripe.
  if (grow >= 3 && stage != 5) {
    const double r = grow == 3 ? 4.6 : 9.4;
    const double cx = BaseX + sway * 8;
    const double cy = PlantBaseY - (grow == 3 ? 7 : 9);
    const uint32_t light = stage == 6 ? 0xd0bc82 : 0xfffdf0;
    const uint32_t dark = stage == 6 ? 0x7a5a30 : 0xd2c090;
    Ellipse(cr, cx, cy, r, r * 0.8);
    Radial(cr, cx, cy, r, cx - r * 0.35, cy - r * 0.4, light, dark);
    FillOutline(cr, Ink);
    if (grow == 4) {
      const double florets[][2] = {{-5, -1.5}, {0, -4}, {5, -1.5}, {-2.6, 2.4}, {2.6, 2.4}};
      for (const auto& f : florets) {
        Ellipse(cr, cx + f[0], cy + f[1], 2.9, 2.4);
        SetRgb(cr, stage == 6 ? 0x9a7c48 : 0xe2d4a6);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
      }
      if (stage == 6) {
        for (double dx : {-3.5, 2.5, 0.0}) {
          Ellipse(cr, cx + dx, cy + 1 - std::abs(dx) * 0.6, 1.9, 1.4);
          SetRgb(cr, 0x4a2e14);
          cairo_fill(cr);
        }
      }
    }
    // Two leaves hug the curd from the front.
    for (int side = -1; side <= 1; side += 2)
      Leaf(cr, BaseX + side * (r + 2), PlantBaseY + 0.5, -side * 1.15, r * 0.95, 5, leaf, 0, false);
  }
}

void Kohlrabi(cairo_t* cr, int stage, double sway) {
  if (stage == 0) {
    // Bright green seed leaves over a violet knob: already a little kohlrabi.
    Seedling(cr, sway, KohlLeaf, 0x9a6ab4, 8);
    Ellipse(cr, BaseX, PlantBaseY - 1.5, 2.2, 1.9);
    Radial(cr, BaseX, PlantBaseY - 1.5, 2.4, BaseX - 0.8, PlantBaseY - 2.3, 0xc4a0de, 0x5a2c78);
    FillOutline(cr, 0.8);
    return;
  }
  const bool withered = stage >= 4;
  const int grow = withered ? (stage == 5 ? 3 : 2) : stage;
  const TFoliage& leaf = withered ? Dry : KohlLeaf;
  const std::array<double, 4> bulbs{0, 3.2, 6.6, 10};
  const double bulbR = bulbs[static_cast<size_t>(grow)] * (withered ? 0.92 : 1);
  const double bulbY = PlantBaseY - bulbR * 0.8;
  Mound(cr, 8 + bulbR * 2);
  // Leaves on violet stalks rising from the top of the bulb, spread wide.
  const std::array<double, 4> angles{-0.95, 0.95, -0.35, 0.4};
  const int count = grow == 1 ? 3 : 4;
  const double stalk = grow == 1 ? 6 : grow == 2 ? 7 : 5;
  const double leafLen = grow == 1 ? 7 : grow == 2 ? 9 : 8.5;
  for (int i = 0; i < count; ++i) {
    const size_t k = static_cast<size_t>(grow == 1 ? std::min(i + 1, 3) : i);
    const double base = angles[k] * (withered ? 1.45 : 1);
    const double a = base + sway * (1 + 0.2 * i);
    const double sx = BaseX + angles[k] * bulbR * 0.45;
    const double sy = bulbY - bulbR * 0.7;
    const double ex = sx + std::sin(a) * stalk;
    const double ey = sy - std::cos(a) * stalk + (withered ? 3 : 0);
    cairo_move_to(cr, sx, sy);
    cairo_line_to(cr, ex, ey);
    SetRgb(cr, palette::Outline);
    cairo_set_line_width(cr, 2.4);
    cairo_stroke_preserve(cr);
    SetRgb(cr, withered ? 0x8a6a4a : 0xa67cc4);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    Leaf(cr, ex, ey, a * 1.05, leafLen, 4.6 + grow * 0.8, leaf, withered ? 5 : 0);
  }
  // The swollen stem: the kohlrabi itself, violet and shiny.
  const uint32_t light = withered ? (stage == 5 ? 0x9a7a8a : 0x8a7080) : 0xc4a0de;
  const uint32_t dark = withered ? 0x4a3440 : 0x5a2c78;
  Ellipse(cr, BaseX, bulbY, bulbR * 1.05, bulbR * 0.88);
  Radial(cr, BaseX, bulbY, bulbR * 1.1, BaseX - bulbR * 0.4, bulbY - bulbR * 0.4, light, dark);
  FillOutline(cr, Ink);
  if (grow >= 2) {
    Ellipse(cr, BaseX - bulbR * 0.42, bulbY - bulbR * 0.35, bulbR * 0.26, bulbR * 0.16);
    SetRgb(cr, withered ? 0xb8a4b0 : 0xeee2f6, 0.9);
    cairo_fill(cr);
    // Scars where old leaves fell off.
    for (const auto& [dx, dy] : {std::pair{-0.62, 0.12}, std::pair{0.3, 0.5}}) {
      Ellipse(cr, BaseX + dx * bulbR, bulbY + dy * bulbR, 0.8, 0.6);
      SetRgb(cr, 0x3a1a4a);
      cairo_fill(cr);
    }
  }
  if (withered) {
    SetRgb(cr, 0x2a1a22);
    cairo_set_line_width(cr, 0.8);
    cairo_move_to(cr, BaseX + bulbR * 0.35, bulbY - bulbR * 0.55);
    cairo_line_to(cr, BaseX + bulbR * 0.55, bulbY - bulbR * 0.1);
    cairo_line_to(cr, BaseX + bulbR * 0.45, bulbY + bulbR * 0.3);
    cairo_stroke(cr);
  }
}

void Carrot(cairo_t* cr, int stage, double sway) {
  const bool withered = stage >= 4;
  const int grow = withered ? (stage == 5 ? 3 : 2) : stage;
  const TFoliage& leaf = withered ? (stage == 5 ? Dry : Straw) : CarrotLeaf;
  Mound(cr, 8 + grow * 3);
  if (grow == 0) {
    // Two tiny feathery fronds: a carrot from its first day, unlike garlic's single blade.
    for (int side = -1; side <= 1; side += 2)
      Frond(cr, BaseX, PlantBaseY, side * 0.45 + sway, 8.5, CarrotLeaf);
    return;
  }
  // Feathery fronds fanning out from one point.
  const std::array<double, 6> angles{-0.95, 0.95, -0.5, 0.5, -0.12, 0.14};
  const int count = grow == 1 ? 3 : grow == 2 ? 5 : 6;
  const std::array<double, 4> lengths{0, 11, 17, 22};
  const double len = lengths[static_cast<size_t>(grow)];
  for (int i = 0; i < count; ++i) {
    const size_t k = static_cast<size_t>(grow == 1 ? i + 2 : i);
    const double a = angles[std::min<size_t>(k, 5)] * (withered ? 1.9 : 1) + sway * (1.3 - 0.1 * i);
    const double l = len * (k < 2 ? 0.8 : k < 4 ? 0.92 : 1.0);
    Frond(cr, BaseX, PlantBaseY - 1, a, l, leaf, withered ? 8 + (k < 2 ? 0 : 4) : 0);
  }
  // The carrot's orange shoulder shows above the soil once it has grown.
  if (grow >= 2) {
    const double w = grow == 2 ? 3.8 : 6.5;
    const double h = grow == 2 ? 3 : 6;
    cairo_move_to(cr, BaseX - w, PlantBaseY + 1.5);
    cairo_curve_to(cr, BaseX - w, PlantBaseY - h, BaseX + w, PlantBaseY - h, BaseX + w,
                   PlantBaseY + 1.5);
    cairo_close_path(cr);
    const bool rotten = stage == 5;
    LinearH(cr, BaseX - w, BaseX + w, rotten ? 0xb87840 : 0xffb04a, rotten ? 0x6a4020 : 0xd2581a);
    FillOutline(cr, Ink);
    SetRgb(cr, rotten ? 0x4a2a10 : 0xa8400c, 0.8);
    cairo_set_line_width(cr, 0.7);
    cairo_move_to(cr, BaseX - w * 0.6, PlantBaseY - h * 0.2);
    cairo_line_to(cr, BaseX - w * 0.1, PlantBaseY - h * 0.15);
    cairo_stroke(cr);
  }
}

void Garlic(cairo_t* cr, int stage, double sway) {
  const bool withered = stage >= 4;
  const int grow = withered ? (stage == 5 ? 3 : 2) : stage;
  Mound(cr, 8 + grow * 2.5);
  // Long flat grey-green blades standing up; garlic is the tall, narrow one.
  const std::array<double, 6> angles{0.0, -0.22, 0.26, -0.45, 0.48, -0.7};
  const int count = std::array<int, 4>{1, 3, 5, 6}[static_cast<size_t>(grow)];
  const double len = std::array<double, 4>{9, 15, 20, 23}[static_cast<size_t>(grow)];
  const TFoliage& leaf = withered ? Straw : GarlicLeaf;
  for (int i = count - 1; i >= 0; --i) {
    const double a = angles[static_cast<size_t>(i)] * (withered ? 2.8 : 1) +
                     (i % 2 ? -0.05 : 0.05) * (grow > 1) + sway * (1 + 0.25 * i);
    // Ripe garlic browns from the tips.
    const uint32_t tip = (!withered && grow == 3) ? 0xd8c070 : (withered ? 0x9a7a34 : 0);
    Blade(cr, BaseX, PlantBaseY - 1, a, len * (1 - 0.08 * i), leaf, withered ? 12 : 0, tip);
  }
  // The bulb swells at the foot of the leaves, white with a violet blush.
  if (grow >= 2) {
    const double r = grow == 2 ? 4 : 7;
    const double cy = PlantBaseY - r * 0.55;
    cairo_move_to(cr, BaseX - 1, cy - r * 1.15);
    cairo_curve_to(cr, BaseX - r * 1.3, cy - r * 0.2, BaseX - r * 1.1, cy + r * 0.8, BaseX,
                   cy + r * 0.8);
    cairo_curve_to(cr, BaseX + r * 1.1, cy + r * 0.8, BaseX + r * 1.3, cy - r * 0.2, BaseX + 1,
                   cy - r * 1.15);
    cairo_close_path(cr);
    const uint32_t light = stage == 5 ? 0xc8bca0 : 0xfffcf4;
    const uint32_t dark = stage == 5 ? 0x7a6a50 : 0xc4aed0;
    Radial(cr, BaseX, cy, r * 1.2, BaseX - r * 0.4, cy - r * 0.3, light, dark);
    FillOutline(cr, Ink);
    if (grow == 3) {
      SetRgb(cr, stage == 5 ? 0x5a4a30 : 0xa08ab4, 0.9);
      cairo_set_line_width(cr, 0.7);
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
  constexpr double Amount = 0.12;
  if (frames == 3) return std::array<double, 3>{0, Amount, -Amount}[static_cast<size_t>(frame)];
  return std::array<double, 4>{0, Amount, 0, -Amount}[static_cast<size_t>(frame % 4)];
}

void PaintPlant(cairo_t* cr, int crop, int stage, int frame, double sway) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  switch (crop) {
    case pictures::Cauliflower:
      Cauliflower(cr, stage, sway);
      break;
    case pictures::Kohlrabi:
      Kohlrabi(cr, stage, sway);
      break;
    case pictures::Carrot:
      Carrot(cr, stage, sway);
      break;
    default:
      Garlic(cr, stage, sway);
      break;
  }
  if (stage == sprites::plants::Sheets[static_cast<size_t>(crop)].RipeStage)
    Sparkle(cr, frame % 2 == 0 ? 33 : 31, frame % 2 == 0 ? 6 : 8, frame);
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
                    [=](cairo_t* cr) { PaintPlant(cr, crop, stage, frame, sway); });
      }
    }
  }
  return sheet;
}

}  // namespace pictures
