// The field's drawing passes, from surfaces whose pixels tell where they were cut from.
#include "TestSupport.h"

namespace {

constexpr uint16_t kKey = 0xF81F;

class FieldTest : public TGameTest {
 protected:
  bool Untouched() const { return InkOf(*g.BackBuffer, 0).Count == 0; }
};

// Bed pieces: left end 1, middle 2, right end 3 (keyed in its left half), highlight 4.
constexpr uint16_t kLeft = 1, kMiddle = 2, kRight = 3, kHighlight = 4;
std::unique_ptr<TSurface> FieldPieces() {
  return Painted(160, 35, [](int x, int) -> uint16_t {
    if (x < 40) return kLeft;
    if (x < 80) return kMiddle;
    if (x < 100) return kKey;
    return x < 120 ? kRight : kHighlight;
  });
}

TEST_F(FieldTest, BoughtPlotsOfARowJoinIntoBedsAndTheHoverFollowsTheMouse) {
  auto pieces = FieldPieces();
  TSurface* slot = pieces.get();
  // What each plot shows in its left half and in its right half.
  using TSeen = std::pair<uint16_t, uint16_t>;
  const TSeen left{kLeft, kLeft}, middle{kMiddle, kMiddle}, right{0, kRight},
      lastAlone{kLeft, kRight};
  // The plots bought, and what each shows.
  std::vector<std::pair<std::vector<std::pair<int, int>>, std::vector<TSeen>>> cases = {
      {{{4, 2}, {5, 2}, {6, 2}}, {left, middle, right}},
      {{{0, 0}, {1, 0}}, {left, right}},
      {{{22, 12}, {23, 12}}, {left, right}},
      {{{5, 3}, {6, 4}}, {left, left}},  // neighbours in different rows stay apart
      {{}, {}},                          // unbought ground is left to the background
  };
  for (int col = 0; col < FieldColumns; ++col)
    cases.push_back({{{col, col % FieldRows}}, {col == 23 ? lastAlone : left}});
  for (const auto& [owned, seen] : cases) {
    for (auto& column : g.Field)
      for (TPlot& p : column) p.Owned = false;
    for (auto [col, row] : owned) g.Field[col][row].Owned = true;
    g.Clear(0);
    g.DrawPlots(&slot);
    EXPECT_TRUE(!owned.empty() || Untouched());
    for (size_t i = 0; i < owned.size(); ++i) {
      const int x = 33 + 40 * owned[i].first, y = 280 + 35 * owned[i].second;
      SCOPED_TRACE(testing::Message() << "plot " << owned[i].first << "," << owned[i].second);
      EXPECT_EQ(At(x + 10, y + 17), seen[i].first);
      EXPECT_EQ(At(x + 30, y + 17), seen[i].second);
    }
  }
  // The plot under the mouse is followed and highlighted only inside the field: the mouse, the
  // plot.
  const std::array<int, 4> hovers[] = {{33, 280, 0, 0},  {992, 734, 23, 12}, {72, 314, 0, 0},
                                       {73, 315, 1, 1},  {993, 500, -1, 0},  {500, 735, -1, 0},
                                       {32, 500, -1, 0}, {500, 279, -1, 0}};
  for (const auto& [x, y, col, row] : hovers) {
    SCOPED_TRACE(testing::Message() << "mouse " << x << "," << y);
    g.HoverX = 7;
    g.Clear(0);
    g.DrawHover(&slot, x, y);
    EXPECT_EQ(g.HoverX, col);
    EXPECT_TRUE(col >= 0 || Untouched());
    if (col < 0) continue;
    EXPECT_EQ(g.HoverY, row);
    EXPECT_EQ(At(33 + 40 * col, 280 + 35 * row), kHighlight);
    EXPECT_EQ(At(72 + 40 * col, 314 + 35 * row), kHighlight);
  }
}

TEST_F(FieldTest, WellShedAndPlantsAreCutFromTheirSheetsWhereTheyBelong) {
  auto water = Painted(200, 105, [](int, int y) -> uint16_t { return y < 35 ? 0x100 : 0x200; });
  TSurface* waterSlot = water.get();
  g.DrawWell(&waterSlot);
  EXPECT_TRUE(Untouched());  // not bought yet
  g.WellBuilt = true;
  g.DrawWell(&waterSlot);
  EXPECT_EQ(std::tuple(At(35, 190), At(113, 259), At(114, 259)), std::tuple(0x200, 0x200, 0));
  auto sheds = Painted(1000, 1050, [](int, int y) { return uint16_t(0x300 + y / 210); });
  TSurface* shedSlot = sheds.get();
  for (int kulna : {0, 4}) {
    g.Levl.Kulna = kulna;
    g.DrawShed(&shedSlot);
    EXPECT_EQ(At(13, 15), 0x300 + kulna);
    EXPECT_EQ(At(1012, 224), 0x300 + kulna);
  }
  // Rows the picture does not hold draw nothing, however wild the number.
  for (int kulna : {5, -1, INT_MAX, INT_MIN}) {
    g.Clear(0);
    g.Levl.Kulna = kulna;
    g.DrawShed(&shedSlot);
    EXPECT_TRUE(Untouched()) << kulna;
  }
  // Plants are cut from their crops' columns and stage rows.
  // Each sheet pixel holds its own column and its 35-pixel row, so a drawn cell tells its origin.
  auto plants = Painted(603, 245, [](int x, int y) { return uint16_t(x | (y / 35) << 10); });
  TSurface* slot = plants.get();
  g.OrdersPanelOpen = true;  // keep the plant step from changing what is checked
  // The plot, and the crop, stage and frame on it.
  const std::tuple<int, int, uint16_t, uint16_t, int16_t> cases[] = {
      {0, 0, 0, 6, 0}, {23, 12, 1, 2, 2}, {7, 3, 2, 5, 3}, {12, 8, 3, 0, 1}};
  for (const auto& [col, row, crop, stage, frame] : cases)
    g.Field[col][row] = {.Planted = true, .AnimFrame = frame, .Crop = crop, .Stage = stage};
  g.Field[5][5].Owned = true;  // bought but empty: nothing
  // A crop the table does not hold: neither drawn nor stepped.
  g.Field[6][6] = {.Planted = true, .WaterTick = 25, .Crop = 9};
  g.DrawPlants(&slot);
  for (const auto& [col, row, crop, stage, frame] : cases) {
    const int left = Crops[crop].SheetX + 40 * frame;
    EXPECT_EQ(At(33 + 40 * col, 280 + 35 * row), left | stage << 10) << col;
    EXPECT_EQ(At(72 + 40 * col, 314 + 35 * row), (left + 39) | stage << 10) << col;
  }
  EXPECT_EQ(At(33 + 5 * 40, 280 + 5 * 35) | At(33 + 6 * 40, 280 + 6 * 35), 0);
  g.OrdersPanelOpen = false;
  g.DrawPlants(&slot);
  EXPECT_EQ(g.Field[6][6].WaterTick, 25);
  EXPECT_EQ(g.Field[6][6].Water, 100.0);
}

TEST_F(FieldTest, ASprinklerRunShowsEachFrameFiveTimesOverAndCloudsMoveEveryFourFrames) {
  auto water = Painted(200, 105, [](int x, int y) { return uint16_t(y < 35 ? 0x10 + x / 40 : 0); });
  TSurface* slot = water.get();
  g.Pipe[3][4] = g.Pipe[9][9] = true;
  TPlot& p = g.Field[3][4];
  p.Planted = true;
  p.Water = 10.0;  // the threshold itself: the pipe waters
  g.Money = 100;
  std::vector<int> shown;
  for (int frame = 0; frame < 130; ++frame) {
    g.Clear(0);
    g.DrawPipes(&slot);
    shown.push_back(At(33 + 3 * 40, 280 + 4 * 35) - 0x10);
    EXPECT_EQ(At(33 + 9 * 40, 280 + 9 * 35), 0x10) << "idle pipe, frame " << frame;
    EXPECT_EQ(At(33 + 5 * 40, 280 + 5 * 35), 0) << "no pipe there";
    // The run ends with the draw of frame 124.
    EXPECT_EQ(g.SprinklerOn[3][4], frame < 124) << frame;
  }
  for (int frame = 0; frame < 125; ++frame) EXPECT_EQ(shown[frame], frame / 5 % 5) << frame;
  for (int frame = 125; frame < 130; ++frame) EXPECT_EQ(shown[frame], 0) << frame;
  // One filling, no more while the plot is wet.
  EXPECT_EQ(std::tuple(g.SprinklerOn[3][4], g.Money, p.Water), std::tuple(false, 97, 100.0));
  // A run loaded with counters past their ends stops at once.
  g.SprinklerOn[9][9] = true;
  g.SprinklerFrame[9][9] = 200;
  g.SprinklerCycles[9][9] = 77;
  g.DrawPipes(&slot);
  EXPECT_FALSE(g.SprinklerOn[9][9]);
  // Cloud strips: row 0 pixels hold their column + 1, row 1 pixels their column + 4001. They enter,
  // scroll and leave one pixel every four frames.
  auto clouds = Painted(2998, 80, [](int x, int y) { return uint16_t(x + (y < 40 ? 1 : 4001)); });
  TSurface* cloudSlot = clouds.get();
  // The step, and the entry, scroll and tail seen by the draw of the first frame after it.
  const std::array<int, 4> checks[] = {{0, 985, 0, 0},       {1, 984, 0, 0},     {984, 1, 0, 0},
                                       {985, 0, 1, 0},       {2982, 0, 1998, 0}, {2983, 0, 1998, 1},
                                       {3980, 0, 1998, 998}, {3981, 985, 0, 0}};
  int step = 0;
  for (const auto& [after, entry, scroll, tail] : checks) {
    for (; step < after; ++step)
      for (int f = 0; f < 4; ++f) g.DrawClouds(&cloudSlot);
    SCOPED_TRACE(testing::Message() << "after step " << after);
    EXPECT_EQ(std::tuple(g.CloudEntry, g.CloudScroll, g.CloudTail, g.CloudRow),
              std::tuple(entry, scroll, tail, after == 3981));
    const uint16_t row = after == 3981 ? 4001 : 1;
    g.Clear(0);
    g.DrawClouds(&cloudSlot);
    EXPECT_EQ(At(entry + 13, 15), row + scroll + tail);          // left end in view
    EXPECT_EQ(At(1012 - tail, 54), row + scroll - entry + 999);  // right end in view
    EXPECT_EQ(At(entry + 12, 15) | At(1013 - tail, 15), 0);      // nothing beyond its ends
    for (int f = 0; f < 3; ++f) g.DrawClouds(&cloudSlot);
    ++step;
  }
  // A state no pass goes through starts a fresh pass of the same strip.
  g.CloudTail = 5000;
  g.CloudScroll = INT_MAX;
  g.DrawClouds(&cloudSlot);
  EXPECT_EQ(std::tuple(g.CloudEntry, g.CloudTail, g.CloudTick), std::tuple(985, 0, 1));
}

}  // namespace
