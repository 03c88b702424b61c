#include "gfx/Blitter.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

bool ValidRect(const TRect& r, int width, int height) {
  return r.Left >= 0 && r.Top >= 0 && r.Left < r.Right && r.Top < r.Bottom &&
         r.Right <= width && r.Bottom <= height;
}

// A colour-keyed copy keeps the destination where the source holds the key, so copying a pixel
// twice gives what copying it once gives: a row whose width is not a whole number of steps ends
// with a step that overlaps the one before it, and no pixel is left for a loop of single pixels.
// Only rows narrower than one step go pixel by pixel.

void KeyedRowsScalar(uint16_t* d, size_t dPitch, const uint16_t* s, size_t sPitch, int w, int h,
                     uint16_t key) {
  for (int row = 0; row < h; ++row, d += dPitch, s += sPitch) {
    for (int i = 0; i < w; ++i) {
      if (s[i] != key) d[i] = s[i];
    }
  }
}

#if defined(__SSE2__)
// Eight pixels at a time.
void KeyedRowsSse2(uint16_t* d, size_t dPitch, const uint16_t* s, size_t sPitch, int w, int h,
                   uint16_t key) {
  const __m128i k = _mm_set1_epi16(static_cast<short>(key));
  for (int row = 0; row < h; ++row, d += dPitch, s += sPitch) {
    for (int i = 0;; i += 8) {
      if (i > w - 8) i = w - 8;
      const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
      const __m128i transparent = _mm_cmpeq_epi16(sv, k);
      const int mask = _mm_movemask_epi8(transparent);
      auto* dv = reinterpret_cast<__m128i*>(d + i);
      if (mask == 0) {
        _mm_storeu_si128(dv, sv);
      } else if (mask != 0xFFFF) {  // all transparent: the destination stays
        const __m128i under = _mm_loadu_si128(dv);
        _mm_storeu_si128(dv, _mm_or_si128(_mm_and_si128(transparent, under),
                                          _mm_andnot_si128(transparent, sv)));
      }
      if (i == w - 8) break;
    }
  }
}
#endif

#if defined(__x86_64__)
// Sixteen pixels at a time; rows of 8 to 15 pixels go eight at a time.
__attribute__((target("avx2"))) void KeyedRowsAvx2(uint16_t* d, size_t dPitch, const uint16_t* s,
                                                   size_t sPitch, int w, int h, uint16_t key) {
  if (w < 16) return KeyedRowsSse2(d, dPitch, s, sPitch, w, h, key);
  const __m256i k = _mm256_set1_epi16(static_cast<short>(key));
  for (int row = 0; row < h; ++row, d += dPitch, s += sPitch) {
    for (int i = 0;; i += 16) {
      if (i > w - 16) i = w - 16;
      const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
      const __m256i transparent = _mm256_cmpeq_epi16(sv, k);
      const int mask = _mm256_movemask_epi8(transparent);
      auto* dv = reinterpret_cast<__m256i*>(d + i);
      if (mask == 0) {
        _mm256_storeu_si256(dv, sv);
      } else if (mask != -1) {  // all transparent: the destination stays
        _mm256_storeu_si256(dv, _mm256_blendv_epi8(sv, _mm256_loadu_si256(dv), transparent));
      }
      if (i == w - 16) break;
    }
  }
}
#endif

void KeyedRows(uint16_t* d, size_t dPitch, const uint16_t* s, size_t sPitch, int w, int h,
               uint16_t key) {
#if defined(__x86_64__)
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2 && w >= 8) return KeyedRowsAvx2(d, dPitch, s, sPitch, w, h, key);
#endif
#if defined(__SSE2__)
  if (w >= 8) return KeyedRowsSse2(d, dPitch, s, sPitch, w, h, key);
#endif
  KeyedRowsScalar(d, dPitch, s, sPitch, w, h, key);
}

// One run of a fill. A pixel whose two bytes are equal (black, white) is a plain memset.
void FillRun(uint16_t* d, size_t n, uint16_t pixel) {
  if ((pixel >> 8) == (pixel & 0xFF)) {
    std::memset(d, pixel & 0xFF, n * sizeof(uint16_t));
    return;
  }
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i v = _mm_set1_epi16(static_cast<short>(pixel));
  for (; i + 8 <= n; i += 8) _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), v);
#endif
  for (; i < n; ++i) d[i] = pixel;
}

// A copy between two surfaces. A block of half a megabyte or more (the background of a whole
// screen) would only push out what is cached; it is written past the caches, 64 bytes at a
// time, as SDL's own copy does.
void CopyPixels(void* to, const void* from, size_t bytes) {
#if defined(__SSE2__)
  constexpr size_t kStreamFrom = 512 * 1024;
  if (bytes >= kStreamFrom) {
    auto* d = static_cast<uint8_t*>(to);
    auto* s = static_cast<const uint8_t*>(from);
    // Whole cache lines: a streamed line written in two parts goes to memory twice.
    const size_t head = (64 - reinterpret_cast<uintptr_t>(d) % 64) % 64;
    std::memcpy(d, s, head);
    d += head, s += head, bytes -= head;
    for (; bytes >= 64; d += 64, s += 64, bytes -= 64) {
      const auto* sv = reinterpret_cast<const __m128i*>(s);
      __m128i a = _mm_loadu_si128(sv), b = _mm_loadu_si128(sv + 1);
      __m128i c = _mm_loadu_si128(sv + 2), e = _mm_loadu_si128(sv + 3);
      auto* dv = reinterpret_cast<__m128i*>(d);
      _mm_stream_si128(dv, a), _mm_stream_si128(dv + 1, b);
      _mm_stream_si128(dv + 2, c), _mm_stream_si128(dv + 3, e);
    }
    _mm_sfence();
    std::memcpy(d, s, bytes);
    return;
  }
#endif
  std::memcpy(to, from, bytes);
}

}  // namespace

int32_t Blit(TSurface& dst, int x, int y, const TSurface& src, const TRect& source, bool keyed) {
  if (!ValidRect(source, src.Width(), src.Height())) return DDERR_INVALIDRECT;
  const int w = source.Width(), h = source.Height();
  if (x < 0 || y < 0 || x > dst.Width() - w || y > dst.Height() - h) return DDERR_INVALIDRECT;

  if (keyed && src.HasColourKey()) {
    uint16_t* to = dst.Row(y) + x;
    const uint16_t* from = src.Row(source.Top) + source.Left;
    const auto key = static_cast<uint16_t>(src.ColourKey());
    // Within one surface a pixel may be read after it was written: one at a time, in order.
    if (&src == &dst) {
      KeyedRowsScalar(to, dst.Width(), from, src.Width(), w, h, key);
    } else {
      KeyedRows(to, dst.Width(), from, src.Width(), w, h, key);
    }
  } else {
    const bool another = &src != &dst;
    if (another && w == dst.Width() && h == dst.Height()) dst.WillOverwriteAll();
    const size_t bytes = static_cast<size_t>(w) * sizeof(uint16_t);
    if (another && w == dst.Width() && w == src.Width()) {
      // Whole rows of two surfaces lie end to end: one copy of the block.
      CopyPixels(dst.Row(y), src.Row(source.Top), bytes * h);
      return DD_OK;
    }
    for (int row = 0; row < h; ++row) {
      std::memmove(dst.Row(y + row) + x, src.Row(source.Top + row) + source.Left, bytes);
    }
  }
  return DD_OK;
}

int32_t Fill(TSurface& dst, const TRect& area, uint16_t pixel) {
  if (!ValidRect(area, dst.Width(), dst.Height())) return DDERR_INVALIDRECT;
  const size_t w = static_cast<size_t>(area.Width());
  if (area.Width() == dst.Width() && area.Height() == dst.Height()) {
    dst.FillAll(pixel);
  } else if (area.Width() == dst.Width()) {
    FillRun(dst.Row(area.Top), w * area.Height(), pixel);
  } else {
    for (int row = area.Top; row < area.Bottom; ++row) FillRun(dst.Row(row) + area.Left, w, pixel);
  }
  return DD_OK;
}
