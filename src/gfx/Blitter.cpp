#include "gfx/Blitter.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool ValidRect(const TRect& r, int width, int height) {
  return r.Left >= 0 && r.Top >= 0 && r.Left < r.Right && r.Top < r.Bottom &&
         r.Right <= width && r.Bottom <= height;
}

// One row of a colour-keyed copy: eight pixels at a time where the processor allows.
void KeyedRow(uint16_t* d, const uint16_t* s, int n, uint16_t key) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i k = _mm_set1_epi16(static_cast<short>(key));
  for (; i + 8 <= n; i += 8) {
    __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    __m128i transparent = _mm_cmpeq_epi16(sv, k);
    int mask = _mm_movemask_epi8(transparent);
    if (mask == 0xFFFF) continue;  // all transparent: leave the destination alone
    if (mask == 0) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), sv);
      continue;
    }
    __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    __m128i out = _mm_or_si128(_mm_and_si128(transparent, dv), _mm_andnot_si128(transparent, sv));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), out);
  }
#endif
  for (; i < n; ++i) {
    if (s[i] != key) d[i] = s[i];
  }
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

}  // namespace

int32_t Blit(TSurface& dst, int x, int y, const TSurface& src, const TRect& source, bool keyed) {
  if (!ValidRect(source, src.Width(), src.Height())) return DDERR_INVALIDRECT;
  const int w = source.Width(), h = source.Height();
  if (x < 0 || y < 0 || x > dst.Width() - w || y > dst.Height() - h) return DDERR_INVALIDRECT;

  if (keyed && src.HasColourKey()) {
    const uint16_t key = static_cast<uint16_t>(src.ColourKey());
    for (int row = 0; row < h; ++row) {
      KeyedRow(dst.Row(y + row) + x, src.Row(source.Top + row) + source.Left, w, key);
    }
  } else {
    if (&src != &dst && w == dst.Width() && h == dst.Height()) dst.WillOverwriteAll();
    const size_t bytes = static_cast<size_t>(w) * sizeof(uint16_t);
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
