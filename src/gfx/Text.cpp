// Text output: the font table, rendering a UTF-8 text
// into a coverage mask with SDL_ttf (in the face's fallback where the face lacks a letter), the
// cache of those masks, and blending a mask onto an RGB565 surface in the text colour, leaving
// everything between the glyphs untouched.
#include "gfx/Text.h"

#include <SDL_ttf.h>

#if defined(__x86_64__)
#include <immintrin.h>
#endif
#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

#include <algorithm>
#include <cstring>
#include <list>
#include <string>
#include <unordered_map>

#include "base/Cp1250.h"
#include "gfx/Rect.h"
#include "gfx/Surface.h"

// Constant-initialised, so CreateFonts may fill them from any static initialiser.
constinit TFont* FontInfo = nullptr;
constinit TFont* FontStatus = nullptr;
constinit TFont* FontPanel = nullptr;
constinit TFont* FontHuge = nullptr;
constinit TFont* FontLarge = nullptr;
constinit TFont* FontLevel = nullptr;
constinit TFont* FontLevelTitle = nullptr;
constinit TFont* FontSmall = nullptr;
constinit TFont* FontThin = nullptr;

namespace {

// Height is the cell height in pixels. The character sets, qualities and pitches of the
// Windows fonts have nothing to select here: texts are rendered as Unicode, always smoothed.
struct TFontEntry {
  TFont** slot;
  const char* face;
  int height;
  int weight;
};
constexpr TFontEntry kFontTable[] = {
    {&FontInfo, "Times New Roman", 20, 600}, {&FontStatus, "Arial CE", 20, 800},
    {&FontPanel, "Arial CE", 18, 1000},      {&FontHuge, "Comic Sans MS", 100, 1000},
    {&FontLarge, "Comic Sans MS", 45, 1100}, {&FontLevel, "Arial CE", 24, 600},
    {&FontLevelTitle, "Arial CE", 42, 1000}, {&FontSmall, "Arial CE", 12, 1000},
    {&FontThin, "Arial CE", 14, 200},
};

// A rendered string: glyph coverage (0..255) over the ink's bounding box, placed relative to
// the top-left corner of the text's cell.
struct TRenderedText {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  uint16_t colour = 0;
  std::vector<uint8_t> coverage;
};

// The face a text is drawn in: the font's own where it has every letter, else its fallback
// (a whole text in one face: a word of two faces reads badly).
const TFont& FaceFor(const TFont& font, std::string_view utf8) {
  if (font.HasLetters(utf8)) return font;
  const TFont* fallback = font.Fallback();
  return fallback ? *fallback : font;
}

// SDL_ttf puts the pen's start at the left edge of its surface and the baseline
// TTF_FontAscent rows below the top, except that the surface grows to the left by the first
// glyph's overhang and at the top by however far a glyph rises above that ascent.
void FindPenOrigin(TTF_Font* handle, std::string_view utf8, int& originX, int& baselineY) {
  const int ascent = TTF_FontAscent(handle);
  int rise = 0, overhang = 0;
  bool first = true;
  for (size_t at = 0; at < utf8.size();) {
    const char32_t cp = NextCodePoint(utf8, at);
    int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
    if (TTF_GlyphMetrics32(handle, cp, &minX, &maxX, &minY, &maxY, &advance) != 0) continue;
    rise = std::max(rise, maxY - ascent);
    if (first) overhang = std::max(0, -minX);
    first = false;
  }
  originX = overhang;
  baselineY = ascent + rise;
}

TRenderedText RenderText(const TFont& chosen, uint32_t colour, std::string_view text) {
  TRenderedText out;
  out.colour = Rgb565FromColorRef(colour);
  const std::string utf8(text);
  const TFont& font = FaceFor(chosen, utf8);
  SDL_Surface* rendered = TTF_RenderUTF8_Blended(font.Handle(), utf8.c_str(), {255, 255, 255, 255});
  if (!rendered) return out;
  SDL_Surface* argb = rendered;
  if (rendered->format->format != SDL_PIXELFORMAT_ARGB8888) {
    argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (!argb) return out;
  }

  auto alpha = [argb](int x, int y) -> uint8_t {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) +
                                                        static_cast<size_t>(y) * argb->pitch);
    return static_cast<uint8_t>(row[x] >> 24);
  };
  int inkLeft = argb->w, inkRight = -1, inkTop = argb->h, inkBottom = -1;
  for (int y = 0; y < argb->h; ++y) {
    for (int x = 0; x < argb->w; ++x) {
      if (alpha(x, y) == 0) continue;
      inkLeft = std::min(inkLeft, x);
      inkRight = std::max(inkRight, x);
      inkTop = std::min(inkTop, y);
      inkBottom = std::max(inkBottom, y);
    }
  }
  if (inkRight >= 0) {
    int originX = 0, baselineY = 0;
    FindPenOrigin(font.Handle(), utf8, originX, baselineY);
    out.left = inkLeft - originX;
    out.top = font.Ascent() - baselineY + inkTop;
    out.width = inkRight - inkLeft + 1;
    out.height = inkBottom - inkTop + 1;
    out.coverage.resize(static_cast<size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y) {
      for (int x = 0; x < out.width; ++x) {
        out.coverage[static_cast<size_t>(y) * out.width + x] = alpha(inkLeft + x, inkTop + y);
      }
    }
  }
  SDL_FreeSurface(argb);
  return out;
}

// Least recently drawn strings go first once the cache holds too many or too large ones.
class TTextCache {
 public:
  const TRenderedText& Find(const TFont& font, uint32_t colour, std::string_view text) {
    const unsigned serial = font.Serial();
    key_.assign(reinterpret_cast<const char*>(&serial), sizeof serial);
    key_.append(reinterpret_cast<const char*>(&colour), sizeof colour);
    key_.append(text);
    if (auto found = index_.find(key_); found != index_.end()) {
      entries_.splice(entries_.begin(), entries_, found->second);
      return found->second->rendered;
    }
    entries_.push_front({key_, RenderText(font, colour, text)});
    index_.emplace(entries_.front().key, entries_.begin());
    bytes_ += Bytes(entries_.front());
    Trim();
    return entries_.front().rendered;
  }

  void Clear() {
    index_.clear();
    entries_.clear();
    bytes_ = 0;
  }

  size_t Entries() const { return entries_.size(); }

 private:
  struct TEntry {
    std::string key;
    TRenderedText rendered;
  };

  static size_t Bytes(const TEntry& e) {
    return sizeof(TEntry) + e.key.capacity() + e.rendered.coverage.capacity();
  }

  // The newest entry always stays, however large.
  void Trim() {
    while (entries_.size() > 1 &&
           (entries_.size() > kTextCacheMaxEntries || bytes_ > kTextCacheMaxBytes)) {
      bytes_ -= Bytes(entries_.back());
      index_.erase(entries_.back().key);
      entries_.pop_back();
    }
  }

  std::list<TEntry> entries_;
  // Keys view the strings inside the list's entries, which never move.
  std::unordered_map<std::string_view, std::list<TEntry>::iterator> index_;
  size_t bytes_ = 0;
  std::string key_;
};

TTextCache& Cache() {
  static TTextCache cache;
  return cache;
}

// Spreads an RGB565 pixel so that each channel has room for a product with a 5-bit weight.
constexpr uint32_t Spread(uint16_t pixel) { return (pixel | (uint32_t{pixel} << 16)) & 0x07E0F81F; }
constexpr uint16_t Pack(uint32_t spread) { return static_cast<uint16_t>(spread | (spread >> 16)); }

constexpr uint32_t kSpreadMask = 0x07E0F81F;

#if defined(__x86_64__)
// Eight pixels of a row at a time, with the arithmetic of Blend's own loop in 32-bit lanes.
// Coverage 0 then leaves a pixel as it was and 255 gives the text colour, exactly what the
// loop's shortcuts do, so every pixel comes out the same. Returns how many pixels it mixed.
__attribute__((target("avx2"))) int BlendRowAvx2(uint16_t* out, const uint8_t* coverage, int n,
                                                 uint32_t ink) {
  const __m256i mask = _mm256_set1_epi32(kSpreadMask), low16 = _mm256_set1_epi32(0xFFFF);
  const __m256i inkv = _mm256_set1_epi32(static_cast<int>(ink)), four = _mm256_set1_epi32(4);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i a =
        _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(coverage + i)));
    const __m256i weight = _mm256_srli_epi32(_mm256_add_epi32(a, four), 3);
    const __m256i p =
        _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i)));
    const __m256i under = _mm256_and_si256(_mm256_or_si256(p, _mm256_slli_epi32(p, 16)), mask);
    const __m256i step =
        _mm256_srli_epi32(_mm256_mullo_epi32(_mm256_sub_epi32(inkv, under), weight), 5);
    const __m256i mixed = _mm256_and_si256(_mm256_add_epi32(under, step), mask);
    const __m256i packed =
        _mm256_and_si256(_mm256_or_si256(mixed, _mm256_srli_epi32(mixed, 16)), low16);
    // Packing works within each half: the two halves' first four words, side by side.
    const __m256i words = _mm256_permute4x64_epi64(_mm256_packus_epi32(packed, packed), 0x08);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm256_castsi256_si128(words));
  }
  return i;
}
#endif

#if defined(__wasm_simd128__)
// BlendRowAvx2's arithmetic in WebAssembly's 128-bit vectors: eight pixels a step, as two
// halves of four 32-bit lanes. Returns how many pixels it mixed.
int BlendRowWasmSimd(uint16_t* out, const uint8_t* coverage, int n, uint32_t ink) {
  const v128_t mask = wasm_i32x4_splat(static_cast<int32_t>(kSpreadMask));
  const v128_t low16 = wasm_i32x4_splat(0xFFFF), four = wasm_i32x4_splat(4);
  const v128_t inkv = wasm_i32x4_splat(static_cast<int32_t>(ink));
  const auto mix = [&](v128_t a, v128_t p) {
    const v128_t weight = wasm_u32x4_shr(wasm_i32x4_add(a, four), 3);
    const v128_t under = wasm_v128_and(wasm_v128_or(p, wasm_i32x4_shl(p, 16)), mask);
    const v128_t step = wasm_u32x4_shr(wasm_i32x4_mul(wasm_i32x4_sub(inkv, under), weight), 5);
    const v128_t mixed = wasm_v128_and(wasm_i32x4_add(under, step), mask);
    return wasm_v128_and(wasm_v128_or(mixed, wasm_u32x4_shr(mixed, 16)), low16);
  };
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const v128_t a = wasm_u16x8_load8x8(coverage + i);
    const v128_t p = wasm_v128_load(out + i);
    const v128_t low = mix(wasm_u32x4_extend_low_u16x8(a), wasm_u32x4_extend_low_u16x8(p));
    const v128_t high = mix(wasm_u32x4_extend_high_u16x8(a), wasm_u32x4_extend_high_u16x8(p));
    wasm_v128_store(out + i, wasm_u16x8_narrow_i32x4(low, high));
  }
  return i;
}
#endif

// Mixes the text colour onto the surface by each pixel's coverage, clipped to the surface.
void Blend(TSurface& surface, int x, int y, const TRenderedText& text) {
  const int left = x + text.left, top = y + text.top;
  const int col0 = std::max(0, -left), col1 = std::min(text.width, surface.Width() - left);
  const int row0 = std::max(0, -top), row1 = std::min(text.height, surface.Height() - top);
  const uint32_t ink = Spread(text.colour);
#if defined(__x86_64__)
  static const bool avx2 = __builtin_cpu_supports("avx2");
#endif
  for (int row = row0; row < row1; ++row) {
    const uint8_t* coverage = text.coverage.data() + static_cast<size_t>(row) * text.width;
    uint16_t* out = surface.Row(top + row) + left;
    int col = col0;
#if defined(__x86_64__)
    if (avx2 && col1 > col0) col += BlendRowAvx2(out + col0, coverage + col0, col1 - col0, ink);
#elif defined(__wasm_simd128__)
    if (col1 > col0) col += BlendRowWasmSimd(out + col0, coverage + col0, col1 - col0, ink);
#endif
    for (; col < col1; ++col) {
      const uint32_t a = coverage[col];
      if (a == 0) continue;
      if (a == 255) {
        out[col] = text.colour;
        continue;
      }
      const uint32_t weight = (a + 4) >> 3;  // 1..32
      const uint32_t under = Spread(out[col]);
      out[col] = Pack((under + (((ink - under) * weight) >> 5)) & kSpreadMask);
    }
  }
}

}  // namespace

void DrawString(std::string_view text, int x, int y, uint32_t colour, TSurface* surface,
                const TFont* font) {
  text = text.substr(0, text.find('\0'));
  if (text.empty() || !surface || !font || !font->Usable()) return;
  Blend(*surface, x, y, Cache().Find(*font, colour, text));
}

TRect TextInk(std::string_view text, const TFont* font) {
  text = text.substr(0, text.find('\0'));
  if (text.empty() || !font || !font->Usable()) return {};
  const TRenderedText& rendered = Cache().Find(*font, 0, text);
  if (rendered.width == 0) return {};
  return {rendered.left, rendered.top, rendered.left + rendered.width,
          rendered.top + rendered.height};
}

void CreateFonts() {
  for (const TFontEntry& entry : kFontTable) {
    if (!*entry.slot) *entry.slot = new TFont(entry.face, entry.height, entry.weight);
  }
}

bool AnyFontUsable() {
  for (const TFontEntry& entry : kFontTable) {
    if (*entry.slot && (*entry.slot)->Usable()) return true;
  }
  return false;
}

void ClearTextCache() { Cache().Clear(); }

size_t TextCacheEntries() { return Cache().Entries(); }

std::vector<std::string_view> SplitTextLines(std::string_view text, int width,
                                             const std::function<bool(std::string_view)>& fits) {
  const size_t w = static_cast<size_t>(std::max(width, 0));
  // Where each character begins: a code point but a combining mark, which belongs to the letter
  // before it. The last entry is the text's end.
  std::vector<size_t> starts;
  for (size_t at = 0; at < text.size();) {
    const size_t start = at;
    if (!CombiningMark(NextCodePoint(text, at)) || start == 0) starts.push_back(start);
  }
  starts.push_back(text.size());
  std::vector<std::string_view> lines;
  size_t first = 0;  // the line's first character
  auto piece = [&](size_t from, size_t to) {
    return text.substr(starts[from], starts[to] - starts[from]);
  };
  for (;;) {
    const size_t left = starts.size() - 1 - first;
    if (left <= w && fits(piece(first, starts.size() - 1))) break;
    // The blanks among the first W + 1 characters, the last first: the last whose line fits.
    size_t lastBlank = 0, fitting = 0;  // characters up to and with the blank; 0: none
    for (size_t i = std::min(w + 1, left); i-- > 0;) {
      if (text[starts[first + i]] != ' ') continue;
      if (lastBlank == 0) lastBlank = i + 1;
      if (fits(piece(first, first + i + 1))) {
        fitting = i + 1;
        break;
      }
    }
    if (left <= w && fitting == 0) break;  // no blank makes the rest fit: it stays one line
    // No blank to break at: the run is cut after W + 1 characters.
    const size_t n = fitting ? fitting : lastBlank ? lastBlank : w + 1;
    lines.push_back(piece(first, first + n));
    first += n;
  }
  lines.push_back(piece(first, starts.size() - 1));
  return lines;
}
