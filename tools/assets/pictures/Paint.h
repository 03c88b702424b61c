// Drawing helpers shared by all pictures: colours, paths, gradients, text and a fixed-seed
// random source, so that every picture is painted the same way in the same warm style.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "Sheet.h"

namespace pictures {

// The common palette (0xRRGGBB).
namespace palette {
inline constexpr uint32_t Outline = 0x3b2414;  // dark brown ink of every outline
inline constexpr uint32_t SoilDark = 0x4a2e1a;
inline constexpr uint32_t Soil = 0x6b4428;
inline constexpr uint32_t SoilLight = 0x8a5d38;
inline constexpr uint32_t Meadow = 0x9a8a52;  // unbought ground of the field
inline constexpr uint32_t Grass = 0x7dab48;
inline constexpr uint32_t GrassDark = 0x5a8a32;
inline constexpr uint32_t GrassLight = 0xa3c864;
inline constexpr uint32_t SkyTop = 0x8cc4ea;
inline constexpr uint32_t SkyLow = 0xd9eef6;
inline constexpr uint32_t Wood = 0xa8703c;
inline constexpr uint32_t WoodLight = 0xd09a5e;
inline constexpr uint32_t WoodDark = 0x6e4423;
inline constexpr uint32_t Paper = 0xf3e5c0;
inline constexpr uint32_t PaperDark = 0xe0c895;
inline constexpr uint32_t Parchment = 0xbea26c;  // calm middle of the menu background
inline constexpr uint32_t Gold = 0xf2c14e;
inline constexpr uint32_t GoldDark = 0xb07a1e;
inline constexpr uint32_t Leaf = 0x4f9a3a;
inline constexpr uint32_t LeafDark = 0x2f6a25;
inline constexpr uint32_t LeafLight = 0x8cc65a;
inline constexpr uint32_t Water = 0x7cc8f2;
inline constexpr uint32_t WaterLight = 0xd4f0ff;
inline constexpr uint32_t Stone = 0x9a948a;
inline constexpr uint32_t StoneDark = 0x6a645c;
}  // namespace palette

// A deterministic random source (fixed seed per picture, the same numbers on every run).
class TRandom {
 public:
  explicit TRandom(uint32_t seed) : state_(seed * 2654435761u + 0x9e3779b9u) {}
  uint32_t Next();
  double Uniform(double lo, double hi);  // lo <= value < hi
  int Int(int lo, int hi);               // lo <= value <= hi

 private:
  uint32_t state_;
};

void SetRgb(cairo_t* cr, uint32_t rgb, double alpha = 1.0);
TRgb Mix(uint32_t a, uint32_t b, double t);  // t = 0 gives a
uint32_t MixHex(uint32_t a, uint32_t b, double t);

// Paths.
void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r);
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
// A leaf from base to tip, `width` at its widest, bent sideways by `bend` pixels.
void LeafPath(cairo_t* cr, double bx, double by, double tx, double ty, double width,
              double bend = 0);

// Sources.
void LinearV(cairo_t* cr, double y0, double y1, uint32_t top, uint32_t bottom);
void LinearH(cairo_t* cr, double x0, double x1, uint32_t left, uint32_t right);
void LinearAny(cairo_t* cr, double x0, double y0, double x1, double y1, uint32_t c0, uint32_t c1);
// A ball-like shading: light at (lx, ly), `dark` at the rim of radius r around (cx, cy).
void Radial(cairo_t* cr, double cx, double cy, double r, double lx, double ly, uint32_t light,
            uint32_t dark);

// Fills the current path with the current source, then outlines it (keeps no path).
void FillOutline(cairo_t* cr, double lineWidth, uint32_t outline = palette::Outline);
void FillPreserveOutline(cairo_t* cr, double lineWidth, uint32_t outline = palette::Outline);

// Texture: small dabs of colour scattered over a rectangle, like brush strokes.
void Dabs(cairo_t* cr, TRandom& rng, double x, double y, double w, double h, int count,
          uint32_t colour, double alpha, double minR, double maxR);
// Soft drop shadow under the current picture: an ellipse of darkening.
void SoftShadow(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha);

// Text with cairo's toy API (fontconfig family names, UTF-8 text). A text with a letter the
// style's family lacks (Comic Neue has no Cyrillic and no Vietnamese) is drawn whole in Andika,
// as the game draws its own texts.
enum class TAlign { Left, Centre };
struct TTextStyle {
  const char* Family = "Comic Neue";
  const char* LettersFamily = "Andika";
  double Size = 20;
  bool Bold = true;
  uint32_t Fill = palette::Outline;
  uint32_t Stroke = 0;     // outline colour
  double StrokeWidth = 0;  // 0: no outline
  uint32_t Shadow = 0;
  double ShadowOffset = 0;  // 0: no shadow
};
// Draws text with its baseline at y (Left) or centred on (x, y) vertically by its ink (Centre).
// With a `maxWidth`, the text is first made to fit that many pixels (FitWidth).
void Text(cairo_t* cr, const std::string& utf8, double x, double y, const TTextStyle& style,
          TAlign align = TAlign::Left, double maxWidth = 0);
double TextWidth(cairo_t* cr, const std::string& utf8, const TTextStyle& style);
// The extents of `utf8` drawn with `style`.
cairo_text_extents_t TextExtents(cairo_t* cr, const std::string& utf8, const TTextStyle& style);

// A word that does not fit its space even at the smallest size it may take: the picture cannot
// be drawn (kelvora-pictures fails, and the build with it).
class TTextDoesNotFit : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// The smallest font size a word of the pictures is still read at, in pixels, and the least part
// of its own size a word may shrink to (smaller, it would no longer look like its picture).
inline constexpr double MinReadableSize = 9;
inline constexpr double MinShrink = 0.6;
// The ink of `utf8` drawn with `style`, outline and shadow included, in pixels across.
double InkWidth(cairo_t* cr, const std::string& utf8, const TTextStyle& style);
// `style`, shrunk where needed so that `utf8` takes at most `width` pixels of ink: unchanged
// where it fits already (a translation may be longer than the Czech word the picture was made
// for); otherwise the size, with the outline and the shadow, goes down a quarter pixel at a time
// until it fits. Throws TTextDoesNotFit when it would have to go below MinReadableSize or below
// MinShrink of its size.
TTextStyle FitWidth(cairo_t* cr, const std::string& utf8, const TTextStyle& style, double width);
// How many texts FitWidth has drawn smaller since the program started: none in Czech, whose words
// the pictures were made for.
int TextsShrunk();

}  // namespace pictures
