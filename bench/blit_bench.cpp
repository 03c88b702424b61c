// Our blitter against SDL_BlitSurface on the same RGB565 work: a full-screen opaque copy, 936
// colour-keyed 40 x 35 sprites (the whole field of plants three times over), a full-screen
// fill, and a fill followed by a full-screen copy (the start of every frame). Compare the pairs
// side by side; the ratio is ours / SDL's.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include "gfx/Blitter.h"

namespace {

constexpr int kW = 1024, kH = 768;
// The sources are as wide as the in-game sheet, whose full-screen background is copied every
// frame: a source row is longer than a screen row, so the rows do not lie end to end.
constexpr int kSheetW = 1402;
constexpr uint16_t kMagenta = 0xF81F;

// A source with a plausible mix of opaque and transparent pixels: sprite-like blobs.
void Pattern(uint16_t* p, int w, int h, int pitchPixels) {
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int cx = x % 40 - 20, cy = y % 35 - 17;
      bool inside = cx * cx + cy * cy < 15 * 15;
      p[y * pitchPixels + x] =
          inside ? static_cast<uint16_t>(((x * 31 + y * 7) & 0xFFFF) | 0x0420) : kMagenta;
    }
  }
}

struct TOurs {
  TSurface screen{kW, kH};
  TSurface source{kSheetW, kH};
  TOurs() {
    Pattern(source.Pixels(), kSheetW, kH, kSheetW);
    source.SetColourKey(kMagenta);
  }
};

struct TSdls {
  SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 16, SDL_PIXELFORMAT_RGB565);
  SDL_Surface* source = SDL_CreateRGBSurfaceWithFormat(0, kSheetW, kH, 16, SDL_PIXELFORMAT_RGB565);
  SDL_Surface* keyed = SDL_CreateRGBSurfaceWithFormat(0, kSheetW, kH, 16, SDL_PIXELFORMAT_RGB565);
  TSdls() {
    Pattern(static_cast<uint16_t*>(source->pixels), kSheetW, kH, source->pitch / 2);
    Pattern(static_cast<uint16_t*>(keyed->pixels), kSheetW, kH, keyed->pitch / 2);
    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
    SDL_SetSurfaceBlendMode(keyed, SDL_BLENDMODE_NONE);
    SDL_SetColorKey(keyed, SDL_TRUE, kMagenta);
  }
  ~TSdls() {
    SDL_FreeSurface(screen);
    SDL_FreeSurface(source);
    SDL_FreeSurface(keyed);
  }
};

// The field: 24 x 13 plots, each sprite drawn three times (bed, plant, sprinkler).
template <class F>
void ForEachSprite(F f) {
  for (int pass = 0; pass < 3; ++pass) {
    for (int col = 0; col < 24; ++col) {
      for (int row = 0; row < 13; ++row) {
        f(33 + col * 40, 280 + row * 35, (col * 40 + pass * 8) % 960, row * 35);
      }
    }
  }
}

void BM_Opaque_Ours(benchmark::State& state) {
  TOurs o;
  for (auto _ : state) {
    Blit(o.screen, 0, 0, o.source, {0, 0, kW, kH}, false);
    benchmark::ClobberMemory();
  }
}
void BM_Opaque_SDL(benchmark::State& state) {
  TSdls s;
  for (auto _ : state) {
    SDL_Rect r{0, 0, kW, kH};
    SDL_BlitSurface(s.source, &r, s.screen, nullptr);
    benchmark::ClobberMemory();
  }
}

void BM_KeyedSprites_Ours(benchmark::State& state) {
  TOurs o;
  for (auto _ : state) {
    ForEachSprite([&](int x, int y, int sx, int sy) {
      Blit(o.screen, x, y, o.source, {sx, sy, sx + 40, sy + 35}, true);
    });
    benchmark::ClobberMemory();
  }
}
void BM_KeyedSprites_SDL(benchmark::State& state) {
  TSdls s;
  for (auto _ : state) {
    ForEachSprite([&](int x, int y, int sx, int sy) {
      SDL_Rect src{sx, sy, 40, 35}, dst{x, y, 0, 0};
      SDL_BlitSurface(s.keyed, &src, s.screen, &dst);
    });
    benchmark::ClobberMemory();
  }
}

// A fill of the whole surface is carried out when the pixels are next used: Pixels() makes it
// happen inside the timed loop.
void BM_Fill_Ours(benchmark::State& state) {
  TOurs o;
  for (auto _ : state) {
    Fill(o.screen, {0, 0, kW, kH}, 0);
    benchmark::DoNotOptimize(o.screen.Pixels());
    benchmark::ClobberMemory();
  }
}
void BM_Fill_SDL(benchmark::State& state) {
  TSdls s;
  for (auto _ : state) {
    SDL_FillRect(s.screen, nullptr, 0);
    benchmark::ClobberMemory();
  }
}

// How every game-view and menu frame starts: the back buffer cleared, then the full-screen
// background copied over it.
void BM_ClearAndBackground_Ours(benchmark::State& state) {
  TOurs o;
  for (auto _ : state) {
    Fill(o.screen, {0, 0, kW, kH}, 0);
    Blit(o.screen, 0, 0, o.source, {0, 0, kW, kH}, false);
    benchmark::ClobberMemory();
  }
}
void BM_ClearAndBackground_SDL(benchmark::State& state) {
  TSdls s;
  for (auto _ : state) {
    SDL_FillRect(s.screen, nullptr, 0);
    SDL_Rect r{0, 0, kW, kH};
    SDL_BlitSurface(s.source, &r, s.screen, nullptr);
    benchmark::ClobberMemory();
  }
}

}  // namespace

BENCHMARK(BM_Opaque_Ours);
BENCHMARK(BM_Opaque_SDL);
BENCHMARK(BM_KeyedSprites_Ours);
BENCHMARK(BM_KeyedSprites_SDL);
BENCHMARK(BM_Fill_Ours);
BENCHMARK(BM_Fill_SDL);
BENCHMARK(BM_ClearAndBackground_Ours);
BENCHMARK(BM_ClearAndBackground_SDL);
