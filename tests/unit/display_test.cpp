// The display engine: blits, keys, opaque copies, the flip, the cursor, fades, a lost device.
#include <stdexcept>

#include "TestSupport.h"
#include "app/Main.h"
#include "gfx/Blitter.h"

namespace {

// Runs `body` with each keyed row loop in turn (missing ones fall back), then the best again.
template <class TBody>
void ForEachKeyedRowLoop(TBody body) {
  const TKeyedRowLoop loops[] = {TKeyedRowLoop::Best, TKeyedRowLoop::Avx2, TKeyedRowLoop::Portable};
  for (int i = 0; i < 3; ++i) {
    ChooseKeyedRowLoop(loops[i]);
    body(i);
  }
  ChooseKeyedRowLoop(TKeyedRowLoop::Best);
}

int CountPixels(const TSurface& s, uint16_t pixel) {
  return int(std::ranges::count(PixelsOf(s), pixel));
}

class DisplayTest : public TGameTest {
 protected:
  void TearDown() override { delete sprite; }
  // Draws `r` of `s` colour-keyed at (x, y) over a screen of 0x0007: each pixel of the rectangle
  // is the source's where that is not the key, and the screen's under it and around it.
  void ExpectKeyedDraw(TSurface*& s, int x, int y, const TRect& r, const std::string& what) {
    g.Clear(0x0007);
    g.Draw(&s, x, y, r, 1);
    const TSurface& source = *s;
    for (int dy = -1; dy <= r.Height(); ++dy)
      for (int dx = -1; dx <= r.Width(); ++dx) {
        const bool inside = dx >= 0 && dx < r.Width() && dy >= 0 && dy < r.Height();
        const uint16_t pixel = inside ? source.Row(r.Top + dy)[r.Left + dx] : 0;
        EXPECT_EQ(g.BackBuffer->Row(y + dy)[x + dx],
                  inside && pixel != source.ColourKey() ? pixel : 0x0007)
            << what << ": " << dx << "," << dy;
      }
  }
  TSurface* sprite = PlainSurface(40, 35, 0x1234);
};

TEST_F(DisplayTest, BlitsThatReachPastAnEdgeAreRefusedWholeAndTheCursorIsCutThere) {
  // Where the rectangle goes, the rectangle, whether it is drawn: flush with the edges, a pixel
  // past one, a source rectangle reaching past its surface, empty or inverted.
  const std::tuple<int, int, TRect, bool> cases[] = {
      {0, 0, {0, 0, 40, 35}, true},    {984, 733, {0, 0, 40, 35}, true},
      {985, 0, {0, 0, 40, 35}, false}, {0, 734, {0, 0, 40, 35}, false},
      {-1, 0, {0, 0, 40, 35}, false},  {0, -1, {0, 0, 40, 35}, false},
      {0, 0, {0, 0, 41, 35}, false},   {0, 0, {0, 0, 40, 36}, false},
      {0, 0, {-1, 0, 40, 35}, false},  {0, 0, {0, -1, 40, 35}, false},
      {0, 0, {10, 0, 10, 35}, false},  {0, 0, {0, 20, 40, 10}, false}};
  for (const auto& [x, y, r, accepted] : cases) {
    g.Clear(0);
    g.Draw(&sprite, x, y, r, 0);
    SCOPED_TRACE(testing::Message() << x << "," << y);
    EXPECT_EQ(g.LastResult == 0, accepted);
    EXPECT_EQ(CountPixels(*g.BackBuffer, 0x1234), accepted ? r.Width() * r.Height() : 0);
  }
  TSurface* empty = nullptr;  // nor does an empty slot draw
  g.Draw(&empty, 0, 0, {0, 0, 10, 10}, 0);
  EXPECT_NE(g.LastResult, 0);
  EXPECT_EQ(CountPixels(*g.BackBuffer, 0), 1024 * 768);
  // The cursor, though, is cut at the right and bottom edges.
  g.CursorSurface = PlainSurface(64, 64, 0x0F0F);
  g.CursorRect = {0, 0, 32, 32};
  // Where the cursor is drawn, and how much of it shows.
  const std::array<int, 4> cursors[] = {{1000, 0, 24, 32},  {992, 0, 32, 32},   {0, 760, 32, 8},
                                        {1016, 752, 8, 16}, {500, 300, 32, 32}, {1024, 100, 0, 0}};
  for (const auto& [x, y, width, height] : cursors) {
    g.Clear(0);
    g.DrawCursor(x, y);
    EXPECT_EQ(CountPixels(*g.BackBuffer, 0x0F0F), width * height) << x << "," << y;
    EXPECT_TRUE(width == 0 || g.BackBuffer->Row(y)[x] == 0x0F0F);  // its corner
  }
  delete g.CursorSurface;
}

// Keyed blocks, opaque blocks and mixed ones at unaligned places, and opaque runs of 1 to 20.
TEST_F(DisplayTest, ColourKeySkipsExactlyTheKeyedPixelsAsTheyAreNow) {
  auto keyedAt = [](int x) { return x < 16 || (x >= 40 && x < 48) || (x >= 56 && x % 3 == 0); };
  TSurface* keyed = new TSurface(83, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 83; ++x) keyed->Row(y)[x] = keyedAt(x) ? 0xF81F : uint16_t(0x0100 + x);
  keyed->SetColourKey(0xF81F);
  std::vector<bool> runKeyed;
  for (int length = 1; length <= 20; ++length) {
    runKeyed.insert(runKeyed.end(), length, false);
    runKeyed.insert(runKeyed.end(), 1 + length % 2, true);
  }
  const int w = static_cast<int>(runKeyed.size());
  TSurface* runs = new TSurface(w, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < w; ++x) runs->Row(y)[x] = runKeyed[x] ? 0xF81F : uint16_t(0x0200 + x + y);
  runs->SetColourKey(0xF81F);
  ForEachKeyedRowLoop([&](int loop) {
    const std::string where = "loop " + std::to_string(loop);
    for (int left : {0, 9, 56})
      for (int width : {5, 8, 13, 16, 27, 83})
        if (left + width <= 83)
          ExpectKeyedDraw(keyed, 101, 100, {left, 0, left + width, 3},
                          where + ", " + std::to_string(left) + "+" + std::to_string(width));
    ExpectKeyedDraw(runs, 33, 10, {0, 0, w, 2}, where + ", runs");
  });
  g.Draw(&keyed, 100, 200, {0, 0, 83, 3}, 0);  // opaque copies the key colour too
  keyed->SetColourKey(0xFFFFFFFF);             // a key no pixel can match
  g.Draw(&keyed, 100, 300, {0, 0, 83, 3}, 1);
  EXPECT_EQ(std::tuple(g.BackBuffer->Row(200)[100], g.BackBuffer->Row(300)[100]),
            std::tuple(0xF81F, 0xF81F));
  delete keyed;
  delete runs;
  // The blitter keeps each sprite's opaque rows between draws: changed pixels or key still show.
  // Row 0 all keyed, row 1 opaque, rows 2-3 keyed at their ends.
  TSurface* s = PlainSurface(40, 4, 0xF81F);
  std::fill_n(s->Row(1), 40, 0x0011);
  for (int y : {2, 3}) std::fill_n(s->Row(y) + 10, 20, 0x0022);
  s->Row(3)[15] = 0xF81F;  // a hole inside the span
  ExpectKeyedDraw(s, 60, 50, {0, 0, 40, 4}, "first draw");
  // New pixels: the keyed row gains colour at both ends, the opaque one gains a hole.
  s->Row(0)[0] = s->Row(0)[39] = 0x0033;
  s->Row(1)[20] = 0xF81F;
  ExpectKeyedDraw(s, 60, 50, {0, 0, 40, 4}, "new pixels");
  // Another key: the former key colour is drawn, the former opaque colour is skipped.
  s->SetColourKey(0x0011);
  ExpectKeyedDraw(s, 60, 50, {0, 0, 40, 4}, "another key");
  delete s;
}

// More rectangles than the blitter keeps the rows of: each draws its own pixels, none of another's.
TEST(Blitter, ManyRectanglesEachDrawTheirOwnPixels) {
  constexpr uint16_t kKey = 0xFFFF, kUnder = 0xFFFE;
  TSurface sheet(128, 64);
  sheet.SetColourKey(kKey);
  auto pixel = [](int x, int y) {
    return (x * 7 + y * 13) % 5 == 0 ? kKey : static_cast<uint16_t>(x + 128 * y + 1);
  };
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x) sheet.Row(y)[x] = pixel(x, y);
  TSurface out(48, 1);
  int wrong = 0;
  auto drawAll = [&](int) {
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 80; ++x) {  // 5120 rectangles, more than the table holds
        const int w = 9 + (x + y) % 40;
        ASSERT_EQ(Fill(out, {0, 0, 48, 1}, kUnder), DD_OK);
        ASSERT_EQ(Blit(out, 0, 0, sheet, {x, y, x + w, y + 1}, true), DD_OK);
        for (int i = 0; i < 48; ++i) {
          const uint16_t want = i < w && pixel(x + i, y) != kKey ? pixel(x + i, y) : kUnder;
          wrong += out.Row(0)[i] != want;
        }
      }
    }
  };
  ForEachKeyedRowLoop(drawAll);  // three times over: the table empties on the way
  EXPECT_EQ(wrong, 0);
}

// Opaque copies of widths around the copy's 64-pixel steps write exactly their rectangle.
TEST(Blitter, OpaqueCopiesWriteExactlyTheirRectangle) {
  constexpr uint16_t kUnder = 0x0007;
  TSurface sheet(1402, 40);
  auto pixel = [](int x, int y) { return static_cast<uint16_t>(x * 3 + y * 1402 + 1); };
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 1402; ++x) sheet.Row(y)[x] = pixel(x, y);
  TSurface out(1024, 48);
  int wrong = 0;
  for (int w : {1, 63, 64, 65, 100, 127, 128, 129, 200, 1000, 1021})
    for (int h : {1, 2, 3, 37}) {
      const int x = 3, y = 5, left = 377, top = 2;  // 377 + 1021 still fits in the sheet
      ASSERT_EQ(Fill(out, {0, 0, 1024, 48}, kUnder), DD_OK);
      ASSERT_EQ(Blit(out, x, y, sheet, {left, top, left + w, top + h}, false), DD_OK);
      for (int oy = 0; oy < 48; ++oy)
        for (int ox = 0; ox < 1024; ++ox) {
          const bool inside = ox >= x && ox < x + w && oy >= y && oy < y + h;
          const uint16_t want = inside ? pixel(left + ox - x, top + oy - y) : kUnder;
          wrong += out.Row(oy)[ox] != want;
        }
    }
  EXPECT_EQ(wrong, 0);
}

// The flip shows the back buffer and swaps the buffers at sixty frames a second.
TEST_F(DisplayTest, FlipShowsTheBackBufferKeepsTheFrameRateAndAFadeRestoresTheRamp) {
  for (uint16_t pixel : {0xAAAA, 0xBBBB}) {
    std::unique_ptr<TSurface> owner(PlainSurface(1024, 768, pixel));
    TSurface* s = owner.get();
    g.Draw(&s, 0, 0, {0, 0, 1024, 768}, 0);
    g.Flip(nullptr);
    EXPECT_EQ(Headless().Presenter()->LastFrame()[0], pixel);
  }
  // The back buffer now holds the frame shown two flips ago.
  EXPECT_EQ(CountPixels(*g.BackBuffer, 0xAAAA), 1024 * 768);
  platform::THeadlessPlatform& p = Headless();
  const uint64_t frames = p.FramesPresented();
  const uint64_t start = p.NowNanoseconds();
  for (int i = 0; i < 60; ++i) g.Flip(nullptr);
  EXPECT_EQ(p.FramesPresented() - frames, 60u);
  const uint64_t elapsed = p.NowNanoseconds() - start;
  EXPECT_GE(elapsed, 983'000'000u);  // within one frame of a second, wherever the schedule began
  EXPECT_LE(elapsed, 1'000'000'000u);
  // After a pause of 3 s the next frame comes at once, not 180 frames in a burst.
  p.Sleep(3000);
  const uint64_t resumed = p.NowNanoseconds();
  g.Flip(nullptr);
  EXPECT_EQ(p.NowNanoseconds(), resumed);
  g.Flip(nullptr);
  EXPECT_EQ(p.NowNanoseconds() - resumed, platform::TFramePacer::Period());
  // A fade to black and back restores the saved ramp.
  uint16_t original[768], device[768];
  g.DirectDraw->GammaControl()->GetGammaRamp(0, original);
  g.SaveGamma();
  const uint64_t fadeStart = Headless().NowNanoseconds();
  g.Fade(true);
  const uint16_t* shown = Headless().Presenter()->Ramp();
  EXPECT_TRUE(std::all_of(shown, shown + 768, [](uint16_t v) { return v == 0; }));
  EXPECT_EQ(Headless().NowNanoseconds() - fadeStart, 256u * 1'000'000);  // 256 steps of 1 ms
  g.Fade(false);
  EXPECT_EQ(Headless().NowNanoseconds() - fadeStart, 256u * 3'000'000);  // and of 2 ms back
  g.DirectDraw->GammaControl()->GetGammaRamp(0, device);
  EXPECT_TRUE(std::equal(shown, shown + 768, original));
  EXPECT_TRUE(std::equal(device, device + 768, original));
}

// A lost device stays lost until a flip restores it; without a display the program ends.
TEST(DisplayFaults, ALostDeviceStaysLostUntilRestoredAndNoDisplayEndsTheProgram) {
  ASSERT_TRUE(Game.InitDisplay(nullptr, 1024, 768, 16));
  Headless().Presenter()->InjectLoss();
  Game.Flip(nullptr);
  EXPECT_EQ(Game.LastResult, DDERR_SURFACELOST);
  Game.Clear(0);
  EXPECT_EQ(Game.LastResult, DDERR_SURFACELOST);
  Game.Flip([] { return Game.DirectDraw->RestorePrimary(); });
  EXPECT_EQ(Game.LastResult, 0);
  Game.Clear(0);
  EXPECT_EQ(Game.LastResult, 0);
  // Without a usable display, drawing and flipping do nothing; the program says so and fails.
  TTestFolder folder("no_display");
  platform::THeadlessPlatform& p = Headless();
  {
    TGame game;
    p.FailNextOpenDisplay();
    EXPECT_FALSE(game.InitDisplay(nullptr, 1024, 768, 16));
    EXPECT_EQ(game.BackBuffer, nullptr);
    TSurface* none = nullptr;
    game.Draw(&none, 0, 0, {0, 0, 1, 1}, 0);
    game.Clear(0);
    game.Flip(nullptr);
    EXPECT_NE(game.LastResult, 0);
  }
  const size_t messages = p.Messages().size();
  p.FailNextOpenDisplay();
  EXPECT_EQ(KelvoraMain(), 1);
  ASSERT_EQ(p.Messages().size(), messages + 1);
  EXPECT_NE(p.Messages().back().find("1024"), std::string::npos);
  EXPECT_FALSE(Running);
}

// An error escaping the run loop ends the program with its message, leaving no files behind.
TEST(ProgramEnd, AnErrorEscapingTheRunLoopIsReportedAndCleansUp) {
  TTestFolder folder("escaped_error");
  WriteFile("Level.dat", "[Level1]\r\nText=x\r\n");
  WriteFile("Objednav.dat", "[ProLevel1Objednavka0]\r\n");
  std::string error;
  ASSERT_TRUE(WriteArchive("Data/Game.dat", {"Level.dat", "Objednav.dat"}, error)) << error;
  for (int kind = 0; kind < 2; ++kind) {
    EXPECT_EXIT(
        {
          platform::THeadlessPlatform& p = Headless();
          p.SetPresentHook([&](uint64_t frames) {
            if (frames < 3) return;
            if (!std::filesystem::exists("Data/Level.dat")) std::_Exit(5);  // tables extracted
            if (kind == 0) throw std::runtime_error("broken");
            throw 42;
          });
          const int status = KelvoraMain();
          const std::string said = kind == 0 ? "broken" : "Nastala neočekávaná chyba.";
          const bool told = !p.Messages().empty() && p.Messages().back() == said;
          std::_Exit(status == 1 && told ? 3 : 4);
        },
        ::testing::ExitedWithCode(3), "")
        << (kind == 0 ? "a standard exception" : "another error");
    EXPECT_FALSE(std::filesystem::exists("Data/Level.dat"));
    EXPECT_FALSE(std::filesystem::exists("Data/Objednav.dat"));
  }
}

}  // namespace
