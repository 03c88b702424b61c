// Text output: what draws nothing, accents, drawing over a blit, faces, the cache, wrapping.
#include "gfx/Text.h"

#include <optional>

#include "TestSupport.h"
#include "app/Main.h"

namespace {

constexpr uint16_t kPaper = 0x2104;
constexpr uint32_t kWhite = 0xFFFFFF;

bool SamePixels(const TSurface& a, const TSurface& b) { return PixelsOf(a) == PixelsOf(b); }

class TextTest : public TGameTest {
 protected:
  void SetUp() override {
    TGameTest::SetUp();
    ASSERT_TRUE(FontThin && FontThin->Usable()) << "no font file for Arial CE";
  }
  // One text drawn with its cell at (40, 50) of a fresh canvas; with a count by DrawTextN.
  TSurface Canvas(std::string_view text, TFont* font, uint32_t colour = kWhite,
                  std::optional<int> count = std::nullopt) {
    TSurface s(640, 200);
    std::fill_n(s.Pixels(), 640 * 200, kPaper);
    if (count)
      g.DrawTextN(text, 40, 50, colour, &s, font, *count);
    else
      g.DrawText(text, 40, 50, colour, &s, font);
    return s;
  }
};

TEST_F(TextTest, NothingIsDrawnWithoutTextSurfaceOrFontACountIsKeptAndTheCacheIsBounded) {
  TFontFile nowhere;
  nowhere.Path = "no/such/font.ttf";
  TFont missing(nowhere, 20, 400);
  EXPECT_FALSE(missing.Usable());
  const std::string dobre = "Dobře!";
  const std::tuple<const char*, std::string_view, TFont*, std::optional<int>> cases[] = {
      {"empty", "", FontThin, {}},
      {"blanks", "   ", FontStatus, {}},
      {"count -5", dobre, FontThin, -5},
      {"no font", dobre, nullptr, {}},
      {"no file", dobre, &missing, {}}};
  for (const auto& [name, text, font, count] : cases)
    EXPECT_EQ(InkOf(Canvas(text, font, kWhite, count), kPaper).Count, 0) << name;
  g.DrawText(dobre, 0, 0, kWhite, nullptr, FontThin);  // no surface: nothing, safely
  // A count draws that many characters, never past the text.
  const TSurface whole = Canvas(dobre, FontPanel);
  EXPECT_TRUE(SamePixels(Canvas(dobre, FontPanel, kWhite, 60), whole));
  EXPECT_TRUE(SamePixels(Canvas(dobre, FontPanel, kWhite, 3), Canvas("Dob", FontPanel)));
  EXPECT_LT(InkOf(Canvas("Dob", FontPanel), kPaper).Right, InkOf(whole, kPaper).Right - 10);
  // The cache keeps colours apart and stays bounded.
  const std::string money = "Peníze : 2000 Kč";
  for (uint32_t colour : {0x0000FFu, 0xFF0000u, 0x0000FFu}) {
    const TSurface s = Canvas(money, FontStatus, colour);
    EXPECT_GT(std::count(s.Pixels(), s.Pixels() + 640 * 200, Rgb565FromColorRef(colour)), 50);
  }
  const TSurface warm = Canvas(money, FontStatus);
  ClearTextCache();
  EXPECT_TRUE(SamePixels(Canvas(money, FontStatus), warm));
  TSurface scratch(100, 30);
  for (size_t i = 0; i < kTextCacheMaxEntries + 40; ++i)
    g.DrawText(std::to_string(i), 0, 0, kWhite, &scratch, FontSmall);
  EXPECT_LE(TextCacheEntries(), kTextCacheMaxEntries);
  EXPECT_GT(TextCacheEntries(), kTextCacheMaxEntries / 2);
}

TEST_F(TextTest, TextOverABlitLeavesTheBlitBetweenTheGlyphs) {
  constexpr uint16_t kGreen = 0x07E0;
  std::unique_ptr<TSurface> owner(PlainSurface(300, 40, kGreen));
  TSurface* field = owner.get();
  g.Draw(&field, 100, 100, {0, 0, 300, 40}, 0);
  g.DrawText("Peníze : 2000 Kč", 110, 110, kWhite, g.BackBuffer, FontStatus);
  int white = 0, green = 0, smoothed = 0;
  for (int y = 100; y < 140; ++y)
    for (int x = 100; x < 400; ++x) {
      const uint16_t p = g.BackBuffer->Row(y)[x];
      white += p == 0xFFFF;
      green += p == kGreen;
      smoothed += p != kGreen && (p & kGreen) == kGreen && p != 0xFFFF;  // green mixed with white
    }
  EXPECT_EQ(InkOf(*g.BackBuffer, 0).Count, 300 * 40);  // nothing outside the blit
  EXPECT_GT(white, 100);
  EXPECT_GT(smoothed, 20);
  EXPECT_GT(green, 300 * 40 / 2);
}

// Cells of the height asked for, accents, faces of Windows names, and fallback faces.
TEST_F(TextTest, FontsHaveTheCellsAskedForAndCzechLettersTheirAccents) {
  const std::tuple<const char*, int, int> fonts[] = {
      {"Arial CE", 12, 1000}, {"Times New Roman", 20, 600}, {"Comic Sans MS", 100, 1000}};
  for (const auto& [face, height, weight] : fonts) {
    SCOPED_TRACE(face);
    TFont font(face, height, weight);
    ASSERT_TRUE(font.Usable());
    EXPECT_NEAR(font.CellHeight(), height, 1) << font.File().Path;
    const TInk ink = InkOf(Canvas("Hlýžgj|", &font), kPaper);
    EXPECT_GE(ink.Top, 50 - 1);
    EXPECT_LE(ink.Top, 50 + height * 3 / 10);
    EXPECT_LE(ink.Bottom, 50 + height);
    EXPECT_GE(ink.Bottom - ink.Top + 1, height * 7 / 10);
    // The baseline stays put when a letter taller than the cell joins the text.
    EXPECT_EQ(InkOf(Canvas("ŮH", &font), kPaper).Bottom, InkOf(Canvas("H", &font), kPaper).Bottom);
  }
  // A Windows face with its code-page suffix is its metric-compatible family, bold where asked.
  for (bool bold : {false, true}) {
    const auto expected = FindFontFile("Liberation Sans", bold);
    if (!expected || expected->Family != "Liberation Sans") continue;  // not installed here
    const auto found = FindFontFile("Arial CE", bold);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->Path, expected->Path);
    EXPECT_EQ(found->Bold, bold);
  }
  // Czech letters show their accents.
  EXPECT_FALSE(SamePixels(Canvas("Peníze : ", FontThin), Canvas("Penize : ", FontThin)));
  // Each accent rises above its bare letter; a wrong code page shows other letters or none.
  for (const auto& [accented, bare] : std::vector<std::pair<const char*, const char*>>{
           {"ř", "r"}, {"š", "s"}, {"ě", "e"}, {"č", "c"}, {"ž", "z"}, {"ů", "u"}, {"Č", "C"}}) {
    EXPECT_LT(InkOf(Canvas(accented, FontThin), kPaper).Top,
              InkOf(Canvas(bare, FontThin), kPaper).Top - 1)
        << accented;
  }
  // A text with a letter its face lacks (Cyrillic, Vietnamese) is drawn whole in the fallback.
  TFont informal("Comic Neue", 45, 1100);
  ASSERT_TRUE(informal.Usable());
  TFont* fallback = informal.Fallback();
  ASSERT_NE(fallback, nullptr);
  EXPECT_EQ(fallback->File().Family, "Andika");
  for (const char* text : {"Ґанок", "Tiếng Việt", "Dobře ї"}) {
    EXPECT_FALSE(informal.HasLetters(text)) << text;
    EXPECT_TRUE(fallback->HasLetters(text)) << text;
    EXPECT_TRUE(SamePixels(Canvas(text, &informal), Canvas(text, fallback))) << text;
  }
  EXPECT_TRUE(informal.HasLetters("Dobře!"));
  EXPECT_FALSE(SamePixels(Canvas("Dobře!", &informal), Canvas("Dobře!", fallback)));
}

// The orders panel's message of a failed order.
constexpr const char* kFailed =
    "Protože jsi nesplnil objednávku v daném časovém termínu, tak nedostaneš žádné peníze a na "
    "skladě ti zůstane všechna zelenina.";

TEST_F(TextTest, WrapTextBreaksAfterTheLastBlankThatFitsAndDrawsEachLineOneStepLower) {
  const std::string x33(33, 'x');
  // The text, the width in characters, the lines.
  const std::tuple<std::string, int, std::vector<std::string>> cases[] = {
      {kFailed,
       32,
       {"Protože jsi nesplnil objednávku ", "v daném časovém termínu, tak ",
        "nedostaneš žádné peníze a na ", "skladě ti zůstane všechna ", "zelenina."}},
      // The orders panel's paid message keeps its two lines.
      {"Nyní ti bude zaplacena slíbená částka.",
       32,
       {"Nyní ti bude zaplacena slíbená ", "částka."}},
      {"", 32, {""}},
      {std::string(32, 'a') + " bc", 32, {std::string(32, 'a') + " ", "bc"}},
      // No blank among the first W + 1 characters: the run is cut after W + 1.
      {std::string(100, 'x'), 32, {x33, x33, x33, "x"}},
      {x33 + " y", 32, {x33, " y"}},
      {x33, 32, {x33, ""}},
      {"ab cd", 0, {"a", "b", " ", "c", "d", ""}},
      {"ab", -4, {"a", "b", ""}},
      // A character is what the reader sees: Cyrillic letters are one each, and so is a letter
      // with its combining marks ("Tiếng Việt" written with them).
      {"гриб ягода", 4, {"гриб ", "ягода", ""}},
      {"Tie\u0302\u0301ng Vie\u0323\u0302t", 5, {"Tie\u0302\u0301ng ", "Vie\u0323\u0302t"}},
  };
  for (const auto& [utf8, width, lines] : cases) {
    const std::vector<std::string_view> got = SplitTextLines(utf8, width);
    EXPECT_EQ(std::vector<std::string>(got.begin(), got.end()), lines) << utf8;
  }
  // A line must also fit its room (here six bytes): it ends at an earlier blank where that fits,
  // and stays whole where no blank would make it fit.
  const auto six = [](std::string_view line) { return line.size() <= 6; };
  for (const auto& [text, width, lines] :
       {std::tuple{"aa bb cc dd", 10, std::vector<std::string>{"aa bb ", "cc dd"}},
        {"aaaaaaa bb", 20, {"aaaaaaa bb"}}}) {
    const auto got = SplitTextLines(text, width, six);
    EXPECT_EQ(std::vector<std::string>(got.begin(), got.end()), lines) << text;
  }
  // WrapText draws each line one step lower: the screen of its five lines drawn one by one.
  EXPECT_EQ(g.WrapText(kFailed, 32, 656, 375, 240, 20, kWhite, FontPanel), 4);
  const std::vector<uint16_t> wrapped = Screen();
  g.Clear(0);
  for (int i = 0; i < 5; ++i)
    g.DrawText(std::get<2>(cases[0])[i], 375, 240 + 20 * i, kWhite, g.BackBuffer, FontPanel);
  EXPECT_EQ(Screen(), wrapped);
}

}  // namespace
