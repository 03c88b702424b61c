// The presenter of the real game on SDL's offscreen video driver, which keeps the window's
// pixels in memory: what the window holds after a frame is that frame as SDL converts RGB565,
// at a scale of 1 and of 2, and through a gamma ramp.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/sdl/SdlPlatform.h"

namespace {

constexpr int kW = 1024, kH = 768;

class PresenterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) GTEST_SKIP() << SDL_GetError();
    window = SDL_CreateWindow("presenter", 0, 0, kW, kH, 0);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    presenter = std::make_unique<platform::TSdlPresenter>(window, kW, kH);
    ASSERT_TRUE(presenter->Open());
    SetFrame(7);
  }
  void TearDown() override {
    presenter.reset();
    if (window) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  // Every RGB565 value, twelve times over (for an odd step), and how SDL converts each.
  void SetFrame(unsigned step) {
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint16_t>(i * step);
    ASSERT_EQ(SDL_ConvertPixels(kW, kH, SDL_PIXELFORMAT_RGB565, frame.data(), kW * 2,
                                SDL_PIXELFORMAT_XRGB8888, expected.data(), kW * 4),
              0);
  }

  // The window's pixel (x, y), without the unused byte.
  uint32_t Shown(int x, int y) const {
    SDL_Surface* s = SDL_GetWindowSurface(window);
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) +
                                                        static_cast<size_t>(y) * s->pitch);
    return row[x] & 0xFFFFFF;
  }

  // How many pixels of the frame the window shows otherwise than `want` says (without it, as
  // SDL converts them), at `scale`.
  int WrongPixels(int scale, std::function<uint32_t(int, int)> want = {}) const {
    int wrong = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        for (int dy = 0; dy < scale; ++dy)
          for (int dx = 0; dx < scale; ++dx)
            wrong += Shown(scale * x + dx, scale * y + dy) !=
                     (want ? want(x, y) : expected[size_t(y) * kW + x] & 0xFFFFFF);
    return wrong;
  }

  SDL_Window* window = nullptr;
  std::unique_ptr<platform::TSdlPresenter> presenter;
  std::vector<uint16_t> frame = std::vector<uint16_t>(size_t{kW} * kH);
  std::vector<uint32_t> expected = std::vector<uint32_t>(size_t{kW} * kH);
};

TEST_F(PresenterTest, TheWindowShowsTheFrameAtOneAndTwoTimesItsSizeAndThroughAGammaRamp) {
  ASSERT_EQ(presenter->Present(frame.data()), platform::TPresenter::Presented);
  ASSERT_EQ(SDL_GetWindowSurface(window)->w, kW);
  EXPECT_EQ(WrongPixels(1), 0);
  // Twice its size, then back to its own size, each time with another frame.
  for (const int scale : {2, 1}) {
    SDL_SetWindowSize(window, scale * kW, scale * kH);
    presenter->UpdateScaling();
    SetFrame(5 + 4 * scale);
    ASSERT_EQ(presenter->Present(frame.data()), platform::TPresenter::Presented);
    ASSERT_EQ(SDL_GetWindowSurface(window)->w, scale * kW);
    EXPECT_EQ(WrongPixels(scale), 0) << scale;
  }
  // A gamma ramp darkens what the window shows.
  uint16_t ramp[768];
  for (int i = 0; i < 256; ++i) {
    ramp[i] = 0;                                      // no red
    ramp[256 + i] = static_cast<uint16_t>(i << 8);    // green as it is
    ramp[512 + i] = static_cast<uint16_t>(255 << 8);  // blue at full
  }
  presenter->SetGammaRamp(ramp);
  ASSERT_EQ(presenter->Present(frame.data()), platform::TPresenter::Presented);
  EXPECT_EQ(WrongPixels(1,
                        [&](int x, int y) {
                          const uint16_t p = frame[size_t(y) * kW + x];
                          const int g6 = (p >> 5) & 63;
                          return uint32_t((g6 << 2) | (g6 >> 4)) << 8 | 0xFF;
                        }),
            0);
}

}  // namespace
