#include "gfx/Blitter.h"

#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

bool ValidRect(const TRect& r, int width, int height) {
  return r.Left >= 0 && r.Top >= 0 && r.Left < r.Right && r.Top < r.Bottom && r.Right <= width &&
         r.Bottom <= height;
}

// A colour-keyed copy keeps the destination where the source holds the key, so copying a pixel
// twice gives what copying it once gives: a run whose width is not a whole number of steps ends
// with a step that overlaps the one before it, and no pixel is left for a loop of single pixels.
// Only runs narrower than one step go pixel by pixel. The same holds for a plain copy between
// two surfaces.

// A sprite's rows, each trimmed to the pixels from its first to its last opaque one, in pixels
// from the rectangle's left: [Begin, End); and within that, its runs of opaque pixels, `Runs` of
// them from `FirstRun` of the sprite's list. An opaque span (one run) holds no keyed pixel and is
// copied without comparing; most of a sprite's rows (a pipe, a plant, a cloud's edge) are keyed
// at their ends and solid in the middle, or keyed throughout. The vector loops step through a
// row's span and compare; the portable loop copies the runs, comparing nothing.
struct TRowSpan {
  uint32_t Begin = 0;
  uint32_t End = 0;
  uint32_t FirstRun = 0;
  uint32_t Runs = 0;
  bool Opaque() const { return Runs == 1; }
};

struct TRun {
  uint32_t Begin = 0;
  uint32_t Length = 0;
};

struct TSpriteRows {
  std::vector<TRowSpan> Spans;  // one a row
  std::vector<TRun> Runs;
};

// The spans and runs of every row of `w` x `h` pixels from `s`.
TSpriteRows MeasureRows(const uint16_t* s, size_t pitch, int w, int h, uint16_t key) {
  TSpriteRows rows;
  rows.Spans.resize(static_cast<size_t>(h));
  for (int row = 0; row < h; ++row, s += pitch) {
    TRowSpan& span = rows.Spans[static_cast<size_t>(row)];
    span.FirstRun = static_cast<uint32_t>(rows.Runs.size());
    for (int x = 0; x < w;) {
      while (x < w && s[x] == key) ++x;
      const int begin = x;
      while (x < w && s[x] != key) ++x;
      if (x > begin) rows.Runs.push_back({uint32_t(begin), uint32_t(x - begin)});
    }
    span.Runs = static_cast<uint32_t>(rows.Runs.size()) - span.FirstRun;
    if (span.Runs > 0) {
      span.Begin = rows.Runs[span.FirstRun].Begin;
      const TRun& last = rows.Runs.back();
      span.End = last.Begin + last.Length;
    }
  }
  return rows;
}

// The spans of the sprite rectangles drawn so far, by the source's content, the rectangle and
// the key: the sprites of a frame are the same few hundred rectangles every frame. An open
// table of a power-of-two size, looked up about a thousand times a frame: a node-based map's
// bucket division and pointer chase cost more than the lookup itself. Emptied when half full,
// so rectangles seen once (a cloud cut at the screen's edge) cannot make it grow without end.
class TSpanCache {
 public:
  const TSpriteRows& Rows(const TSurface& src, const TRect& r, uint16_t key) {
    const TKey k{src.ContentId(), r, key};
    for (size_t i = Hash(k);; ++i) {
      TSlot& slot = slots_[i & (kSlots - 1)];
      if (slot.Key == k) return slot.Rows;
      if (slot.Key.Content != kFree) continue;
      if (used_ == kSlots / 2) {
        Clear();
        return Rows(src, r, key);
      }
      ++used_;
      slot.Key = k;
      slot.Rows = MeasureRows(src.Row(r.Top) + r.Left, src.Width(), r.Width(), r.Height(), key);
      return slot.Rows;
    }
  }

 private:
  static constexpr size_t kSlots = 8192;
  static constexpr uint64_t kFree = 0;  // content identities start at 1
  struct TKey {
    uint64_t Content = kFree;
    TRect Rect;
    uint16_t Key = 0;
    bool operator==(const TKey&) const = default;
  };
  struct TSlot {
    TKey Key;
    TSpriteRows Rows;
  };

  static size_t Hash(const TKey& k) {
    uint64_t h = k.Content * 0x9E3779B97F4A7C15ull;
    for (int32_t v : {k.Rect.Left, k.Rect.Top, k.Rect.Right, k.Rect.Bottom, int32_t{k.Key}}) {
      h = (h ^ static_cast<uint32_t>(v)) * 0x100000001B3ull;
    }
    return static_cast<size_t>(h ^ (h >> 29));
  }

  void Clear() {
    for (TSlot& slot : slots_) slot = TSlot{};
    used_ = 0;
  }

  std::vector<TSlot> slots_ = std::vector<TSlot>(kSlots);
  size_t used_ = 0;
};

// Runs of fewer than eight pixels, and a keyed blit within one surface, where a pixel may be
// read after it was written: one pixel at a time, in order.
void RunScalar(uint16_t* d, const uint16_t* s, int n, bool opaque, uint16_t key) {
  if (opaque) {
    for (int i = 0; i < n; ++i) d[i] = s[i];
  } else {
    for (int i = 0; i < n; ++i) {
      if (s[i] != key) d[i] = s[i];
    }
  }
}

void KeyedRowsScalar(uint16_t* d, size_t dPitch, const uint16_t* s, size_t sPitch, int w, int h,
                     uint16_t key) {
  for (int row = 0; row < h; ++row, d += dPitch, s += sPitch) RunScalar(d, s, w, false, key);
}

#if defined(__SSE2__)
// Eight pixels at a time, for runs of eight or more.
void RunSse2(uint16_t* d, const uint16_t* s, int n, bool opaque, uint16_t key) {
  const __m128i k = _mm_set1_epi16(static_cast<short>(key));
  for (int i = 0;; i += 8) {
    if (i > n - 8) i = n - 8;
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    auto* dv = reinterpret_cast<__m128i*>(d + i);
    if (opaque) {
      _mm_storeu_si128(dv, sv);
    } else {
      const __m128i transparent = _mm_cmpeq_epi16(sv, k);
      const int mask = _mm_movemask_epi8(transparent);
      if (mask == 0) {
        _mm_storeu_si128(dv, sv);
      } else if (mask != 0xFFFF) {  // all transparent: the destination stays
        const __m128i under = _mm_loadu_si128(dv);
        _mm_storeu_si128(
            dv, _mm_or_si128(_mm_and_si128(transparent, under), _mm_andnot_si128(transparent, sv)));
      }
    }
    if (i == n - 8) break;
  }
}

#endif

// One run of opaque pixels, copied in the widest pieces the run holds, the last piece
// overlapping the one before it: 16 bytes a step (one vector of SSE2 or of WebAssembly), else a
// head and a tail of 8, 4 or 2 bytes. The copies of a fixed size compile to single loads and
// stores, with no call.
inline void CopyRun(uint16_t* d, const uint16_t* s, uint32_t n) {
  auto piece = [d, s](uint32_t at, auto bytes) {
    decltype(bytes) v;
    std::memcpy(&v, s + at, sizeof v);
    std::memcpy(d + at, &v, sizeof v);
  };
  using T16 = uint16_t __attribute__((vector_size(16)));
  if (n >= 8) {
    for (uint32_t i = 0;; i += 8) {
      if (i > n - 8) i = n - 8;
      piece(i, T16{});
      if (i == n - 8) break;
    }
  } else if (n >= 4) {
    piece(0, uint64_t{}), piece(n - 4, uint64_t{});
  } else if (n >= 2) {
    piece(0, uint32_t{}), piece(n - 2, uint32_t{});
  } else {
    d[0] = s[0];
  }
}

// A sprite's rows without AVX2, and in the browser: the opaque runs copied, nothing compared.
// WebAssembly's vectors compare and select keyed pixels at half the speed of this copy, and it
// needs no instructions of any processor.
void RunRows(uint16_t* d, size_t dPitch, const uint16_t* s, size_t sPitch,
             const TSpriteRows& rows) {
  const TRun* runs = rows.Runs.data();
  for (const TRowSpan& span : rows.Spans) {
    for (uint32_t i = span.FirstRun, end = span.FirstRun + span.Runs; i < end; ++i) {
      CopyRun(d + runs[i].Begin, s + runs[i].Begin, runs[i].Length);
    }
    d += dPitch, s += sPitch;
  }
}

#if defined(__x86_64__)
// Sixteen pixels at a time, for runs of sixteen or more.
__attribute__((target("avx2"))) void RunAvx2(uint16_t* d, const uint16_t* s, int n, bool opaque,
                                             uint16_t key) {
  const __m256i k = _mm256_set1_epi16(static_cast<short>(key));
  for (int i = 0;; i += 16) {
    if (i > n - 16) i = n - 16;
    const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    auto* dv = reinterpret_cast<__m256i*>(d + i);
    if (opaque) {
      _mm256_storeu_si256(dv, sv);
    } else {
      const __m256i transparent = _mm256_cmpeq_epi16(sv, k);
      const int mask = _mm256_movemask_epi8(transparent);
      if (mask == 0) {
        _mm256_storeu_si256(dv, sv);
      } else if (mask != -1) {  // all transparent: the destination stays
        _mm256_storeu_si256(dv, _mm256_blendv_epi8(sv, _mm256_loadu_si256(dv), transparent));
      }
    }
    if (i == n - 16) break;
  }
}

// Runs of 8 to 15 pixels go eight at a time, so the SSE2 steps are tested where AVX2 is.
__attribute__((target("avx2"))) void SpanRowsAvx2(uint16_t* d, size_t dPitch, const uint16_t* s,
                                                  size_t sPitch, const TRowSpan* spans, int h,
                                                  uint16_t key) {
  for (int row = 0; row < h; ++row, d += dPitch, s += sPitch) {
    const TRowSpan& span = spans[row];
    const int n = static_cast<int>(span.End - span.Begin);
    if (n >= 16) {
      RunAvx2(d + span.Begin, s + span.Begin, n, span.Opaque(), key);
    } else if (n >= 8) {
      RunSse2(d + span.Begin, s + span.Begin, n, span.Opaque(), key);
    } else {
      RunScalar(d + span.Begin, s + span.Begin, n, span.Opaque(), key);
    }
  }
}
#endif

#if defined(__x86_64__)
// With AVX-512's masks a step stores just the opaque pixels, so there is no branch on the mix
// of key and colour and no read of the destination, and a row's last partial step is a masked
// one. An opaque span compares all unequal to the key, so it needs no case of its own. 256-bit
// registers only: they keep the processor at its full clock, where 512-bit ones may not.
__attribute__((target("avx512bw,avx512vl"))) void SpanRowsAvx512(uint16_t* d, size_t dPitch,
                                                                 const uint16_t* s, size_t sPitch,
                                                                 const TRowSpan* spans, int h,
                                                                 uint16_t key) {
  const __m256i k = _mm256_set1_epi16(static_cast<short>(key));
  for (int row = 0; row < h; ++row, d += dPitch, s += sPitch) {
    const TRowSpan& span = spans[row];
    uint16_t* to = d + span.Begin;
    const uint16_t* from = s + span.Begin;
    int n = static_cast<int>(span.End - span.Begin);
    for (; n >= 16; n -= 16, to += 16, from += 16) {
      const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from));
      _mm256_mask_storeu_epi16(to, _mm256_cmpneq_epi16_mask(v, k), v);
    }
    if (n > 0) {
      const auto tail = static_cast<__mmask16>((1u << n) - 1);
      const __m256i v = _mm256_maskz_loadu_epi16(tail, from);
      _mm256_mask_storeu_epi16(to, _mm256_mask_cmpneq_epi16_mask(tail, v, k), v);
    }
  }
}
#endif

TKeyedRowLoop chosenLoop = TKeyedRowLoop::Best;

void SpanRows(uint16_t* d, size_t dPitch, const uint16_t* s, size_t sPitch, const TSpriteRows& rows,
              [[maybe_unused]] uint16_t key) {
#if defined(__x86_64__)
  const std::vector<TRowSpan>& spans = rows.Spans;
  const int h = static_cast<int>(spans.size());
  static const bool avx2 = __builtin_cpu_supports("avx2");
  static const bool avx512 =
      __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
  if (avx512 && chosenLoop == TKeyedRowLoop::Best) {
    return SpanRowsAvx512(d, dPitch, s, sPitch, spans.data(), h, key);
  }
  if (avx2 && chosenLoop != TKeyedRowLoop::Portable) {
    return SpanRowsAvx2(d, dPitch, s, sPitch, spans.data(), h, key);
  }
#endif
  RunRows(d, dPitch, s, sPitch, rows);
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

// An opaque copy between two surfaces, 128 bytes a step with a last step that overlaps. The
// copy is not streamed past the caches, though a full screen is large: the sprites, panels and
// text of the frame are drawn over it next, and find it cached (streamed, the game-view frame
// took 740 us instead of 430).
#if defined(__x86_64__)
__attribute__((target("avx2"))) void CopyRowsAvx2(uint8_t* d, size_t dPitch, const uint8_t* s,
                                                  size_t sPitch, size_t bytes, int h) {
  for (int row = 0; row < h; ++row, d += dPitch, s += sPitch) {
    // The destination lines two rows down are fetched ahead: the processor's own prefetcher
    // stops at every 4 KB page (two screen rows), and a store that misses holds up the stores
    // behind it. A full-screen copy takes about 7 % less time for it; prefetching the source as
    // well, or for writing (prefetchw), gains nothing more.
    const uint8_t* ahead = (row + 2 < h ? d + 2 * dPitch : d);
    for (size_t i = 0;; i += 128) {
      if (i > bytes - 128) i = bytes - 128;
      __builtin_prefetch(ahead + i);
      __builtin_prefetch(ahead + i + 64);
      const auto* sv = reinterpret_cast<const __m256i*>(s + i);
      __m256i a = _mm256_loadu_si256(sv), b = _mm256_loadu_si256(sv + 1);
      __m256i c = _mm256_loadu_si256(sv + 2), e = _mm256_loadu_si256(sv + 3);
      auto* dv = reinterpret_cast<__m256i*>(d + i);
      _mm256_storeu_si256(dv, a), _mm256_storeu_si256(dv + 1, b);
      _mm256_storeu_si256(dv + 2, c), _mm256_storeu_si256(dv + 3, e);
      if (i == bytes - 128) break;
    }
  }
}
#endif

// `h` rows of `bytes` each; rows that lie end to end in both surfaces (pitch == bytes) are one.
void CopyRows(uint8_t* d, size_t dPitch, const uint8_t* s, size_t sPitch, size_t bytes, int h) {
  if (dPitch == bytes && sPitch == bytes) {
    bytes *= static_cast<size_t>(h);
    h = 1;
  }
#if defined(__x86_64__)
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2 && bytes >= 128) return CopyRowsAvx2(d, dPitch, s, sPitch, bytes, h);
#endif
  for (int row = 0; row < h; ++row, d += dPitch, s += sPitch) std::memcpy(d, s, bytes);
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
    if (&src == &dst) {
      KeyedRowsScalar(to, dst.Width(), from, src.Width(), w, h, key);
    } else {
      thread_local TSpanCache cache;
      SpanRows(to, dst.Width(), from, src.Width(), cache.Rows(src, source, key), key);
    }
  } else {
    const size_t bytes = static_cast<size_t>(w) * sizeof(uint16_t);
    if (&src == &dst) {  // the rows may overlap
      for (int row = 0; row < h; ++row) {
        std::memmove(dst.Row(y + row) + x, src.Row(source.Top + row) + source.Left, bytes);
      }
      return DD_OK;
    }
    if (w == dst.Width() && h == dst.Height()) dst.WillOverwriteAll();
    CopyRows(reinterpret_cast<uint8_t*>(dst.Row(y) + x), dst.Width() * sizeof(uint16_t),
             reinterpret_cast<const uint8_t*>(src.Row(source.Top) + source.Left),
             src.Width() * sizeof(uint16_t), bytes, h);
  }
  return DD_OK;
}

void ChooseKeyedRowLoop(TKeyedRowLoop loop) { chosenLoop = loop; }

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
