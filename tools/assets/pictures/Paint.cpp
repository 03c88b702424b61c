#include "Paint.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pictures {

uint32_t TRandom::Next() {
  // xorshift32: tiny, fast, and the same sequence everywhere.
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

double TRandom::Uniform(double lo, double hi) {
  return lo + (hi - lo) * (static_cast<double>(Next() >> 8) / static_cast<double>(1u << 24));
}

int TRandom::Int(int lo, int hi) {
  return lo + static_cast<int>(Next() % static_cast<uint32_t>(hi - lo + 1));
}

namespace {
double Channel(uint32_t rgb, int shift) {
  return static_cast<double>((rgb >> shift) & 0xFF) / 255.0;
}
}  // namespace

void SetRgb(cairo_t* cr, uint32_t rgb, double alpha) {
  cairo_set_source_rgba(cr, Channel(rgb, 16), Channel(rgb, 8), Channel(rgb, 0), alpha);
}

TRgb Mix(uint32_t a, uint32_t b, double t) {
  auto m = [&](int shift) {
    const double v = ((a >> shift) & 0xFF) * (1 - t) + ((b >> shift) & 0xFF) * t;
    return static_cast<uint8_t>(std::lround(v));
  };
  return {m(16), m(8), m(0)};
}

uint32_t MixHex(uint32_t a, uint32_t b, double t) {
  const TRgb c = Mix(a, b, t);
  return (uint32_t{c.R} << 16) | (uint32_t{c.G} << 8) | c.B;
}

void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min(r, std::min(w, h) / 2);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
  if (rx <= 0 || ry <= 0) return;
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
}

void LeafPath(cairo_t* cr, double bx, double by, double tx, double ty, double width, double bend) {
  const double dx = tx - bx;
  const double dy = ty - by;
  const double len = std::hypot(dx, dy);
  if (len <= 0) return;
  const double nx = -dy / len;  // unit normal
  const double ny = dx / len;
  const double half = width / 2;
  // Control points at a third and two thirds of the way, pushed out to both sides.
  auto at = [&](double t, double side) {
    const double off = side * half * 1.25 + bend * std::sin(M_PI * t);
    return std::pair{bx + dx * t + nx * off, by + dy * t + ny * off};
  };
  const auto [a1x, a1y] = at(0.25, 1);
  const auto [a2x, a2y] = at(0.7, 1);
  const auto [b2x, b2y] = at(0.7, -1);
  const auto [b1x, b1y] = at(0.25, -1);
  cairo_new_sub_path(cr);
  cairo_move_to(cr, bx, by);
  cairo_curve_to(cr, a1x, a1y, a2x, a2y, tx + nx * bend * 0.3, ty + ny * bend * 0.3);
  cairo_curve_to(cr, b2x, b2y, b1x, b1y, bx, by);
  cairo_close_path(cr);
}

namespace {
void AddStop(cairo_pattern_t* p, double offset, uint32_t rgb, double alpha = 1.0) {
  cairo_pattern_add_color_stop_rgba(p, offset, Channel(rgb, 16), Channel(rgb, 8), Channel(rgb, 0),
                                    alpha);
}
void UseAndRelease(cairo_t* cr, cairo_pattern_t* p) {
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}
}  // namespace

void LinearV(cairo_t* cr, double y0, double y1, uint32_t top, uint32_t bottom) {
  LinearAny(cr, 0, y0, 0, y1, top, bottom);
}

void LinearH(cairo_t* cr, double x0, double x1, uint32_t left, uint32_t right) {
  LinearAny(cr, x0, 0, x1, 0, left, right);
}

void LinearAny(cairo_t* cr, double x0, double y0, double x1, double y1, uint32_t c0, uint32_t c1) {
  cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
  AddStop(p, 0, c0);
  AddStop(p, 1, c1);
  UseAndRelease(cr, p);
}

void Radial(cairo_t* cr, double cx, double cy, double r, double lx, double ly, uint32_t light,
            uint32_t dark) {
  cairo_pattern_t* p = cairo_pattern_create_radial(lx, ly, 0, cx, cy, r);
  AddStop(p, 0, light);
  AddStop(p, 1, dark);
  UseAndRelease(cr, p);
}

void FillOutline(cairo_t* cr, double lineWidth, uint32_t outline) {
  FillPreserveOutline(cr, lineWidth, outline);
  cairo_new_path(cr);
}

void FillPreserveOutline(cairo_t* cr, double lineWidth, uint32_t outline) {
  cairo_fill_preserve(cr);
  if (lineWidth > 0) {
    SetRgb(cr, outline);
    cairo_set_line_width(cr, lineWidth);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
  }
}

void Dabs(cairo_t* cr, TRandom& rng, double x, double y, double w, double h, int count,
          uint32_t colour, double alpha, double minR, double maxR) {
  SetRgb(cr, colour, alpha);
  for (int i = 0; i < count; ++i) {
    const double cx = rng.Uniform(x, x + w);
    const double cy = rng.Uniform(y, y + h);
    const double r = rng.Uniform(minR, maxR);
    Ellipse(cr, cx, cy, r, r * rng.Uniform(0.5, 1.0));
  }
  cairo_fill(cr);
}

void SoftShadow(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
  cairo_pattern_add_color_stop_rgba(p, 0, 0.1, 0.05, 0.02, alpha);
  cairo_pattern_add_color_stop_rgba(p, 1, 0.1, 0.05, 0.02, 0);
  cairo_set_source(cr, p);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_restore(cr);
}

namespace {
void SelectFamily(cairo_t* cr, const char* family, const TTextStyle& style) {
  cairo_select_font_face(cr, family, CAIRO_FONT_SLANT_NORMAL,
                         style.Bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, style.Size);
}

// True where the selected face has a glyph for every letter of `utf8` (glyph 0 is the box a
// face draws for a letter it lacks).
bool FaceHasLetters(cairo_t* cr, const std::string& utf8) {
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  if (cairo_scaled_font_text_to_glyphs(cairo_get_scaled_font(cr), 0, 0, utf8.c_str(), -1, &glyphs,
                                       &count, nullptr, nullptr, nullptr) != CAIRO_STATUS_SUCCESS) {
    return false;
  }
  const bool all =
      std::all_of(glyphs, glyphs + count, [](const cairo_glyph_t& g) { return g.index != 0; });
  cairo_glyph_free(glyphs);
  return all;
}

void SelectFont(cairo_t* cr, const std::string& utf8, const TTextStyle& style) {
  SelectFamily(cr, style.Family, style);
  if (!FaceHasLetters(cr, utf8)) SelectFamily(cr, style.LettersFamily, style);
}
}  // namespace

cairo_text_extents_t TextExtents(cairo_t* cr, const std::string& utf8, const TTextStyle& style) {
  cairo_save(cr);
  SelectFont(cr, utf8, style);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, utf8.c_str(), &ext);
  cairo_restore(cr);
  return ext;
}

double TextWidth(cairo_t* cr, const std::string& utf8, const TTextStyle& style) {
  return TextExtents(cr, utf8, style).x_advance;
}

double InkWidth(cairo_t* cr, const std::string& utf8, const TTextStyle& style) {
  const cairo_text_extents_t ext = TextExtents(cr, utf8, style);
  // The outline reaches half its width beyond the glyphs on either side; the shadow lies to the
  // right by its offset.
  return ext.width + style.StrokeWidth + style.ShadowOffset;
}

namespace {
int Shrunk = 0;
}  // namespace

int TextsShrunk() { return Shrunk; }

TTextStyle FitWidth(cairo_t* cr, const std::string& utf8, const TTextStyle& style, double width) {
  if (InkWidth(cr, utf8, style) <= width) return style;
  ++Shrunk;
  const double smallest = std::max(MinReadableSize, style.Size * MinShrink);
  TTextStyle fitted = style;
  for (int step = 1;; ++step) {
    const double size = style.Size - 0.25 * step;
    if (size < smallest) {
      char why[160];
      std::snprintf(why, sizeof why,
                    "\" needs %.1f pixels across at %.2f pixels high, %.1f are there",
                    InkWidth(cr, utf8, fitted), fitted.Size, width);
      throw TTextDoesNotFit("the words \"" + utf8 + why);
    }
    const double scale = size / style.Size;
    fitted.Size = size;
    fitted.StrokeWidth = style.StrokeWidth * scale;
    fitted.ShadowOffset = style.ShadowOffset * scale;
    if (InkWidth(cr, utf8, fitted) <= width) return fitted;
  }
}

void Text(cairo_t* cr, const std::string& utf8, double x, double y, const TTextStyle& wanted,
          TAlign align, double maxWidth) {
  const TTextStyle style = maxWidth > 0 ? FitWidth(cr, utf8, wanted, maxWidth) : wanted;
  cairo_save(cr);
  SelectFont(cr, utf8, style);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, utf8.c_str(), &ext);
  if (align == TAlign::Centre) {
    x -= ext.x_bearing + ext.width / 2;
    y -= ext.y_bearing + ext.height / 2;
  }
  if (style.ShadowOffset > 0) {
    cairo_move_to(cr, x + style.ShadowOffset, y + style.ShadowOffset);
    cairo_text_path(cr, utf8.c_str());
    SetRgb(cr, style.Shadow, 0.8);
    if (style.StrokeWidth > 0) {
      cairo_set_line_width(cr, style.StrokeWidth);
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
      cairo_stroke_preserve(cr);
    }
    cairo_fill(cr);
  }
  cairo_move_to(cr, x, y);
  cairo_text_path(cr, utf8.c_str());
  if (style.StrokeWidth > 0) {
    SetRgb(cr, style.Stroke);
    cairo_set_line_width(cr, style.StrokeWidth);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
  }
  SetRgb(cr, style.Fill);
  cairo_fill(cr);
  cairo_restore(cr);
}

}  // namespace pictures
