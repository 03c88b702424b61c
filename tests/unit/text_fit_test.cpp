// Every text the screens draw fits its room in every language; the longer pseudo-language
// overflows exactly in kTightPlaces.
#include "TestSupport.h"
#include "app/Main.h"
#include "base/IniFile.h"
#include "game/DataFiles.h"
#include "gfx/Text.h"

namespace {

namespace fs = std::filesystem;

// Where each screen's texts may go (left, top, right, bottom; right and bottom exclusive).
const std::pair<std::string, TRect> kRooms[] = {
    // The briefing and the level's data, above the intro's button (y 650).
    {"level intro", {30, 195, 994, 648}},
    {"level statistics", {30, 240, 994, 648}},
    {"campaign end", {30, 195, 994, 648}},
    // Inside the panel (x 362..662), above its buttons (y 546).
    {"orders panel", {368, 228, 656, 544}},
    // Inside the panel (x 437..587), above its close button (y 506).
    {"progress panel", {440, 238, 585, 504}},
    // Money and date on the main panel (x 808..1008), with the shed's counts left of it.
    {"money and date", {760, 30, 1006, 124}},
    {"save screen", {10, 150, 1014, 760}},
    {"load screen", {10, 150, 1014, 760}},
    // The row of languages, between the two sliders.
    {"options", {142, 320, 884, 440}},
};

// The fixed lines of the progress panel and the save screen's failure; wrapped texts have rows.
const std::set<std::string> kTightPlaces = {"progress panel", "save screen"};

constexpr uint16_t kPaper = 0x39E7;
constexpr int32_t kWidestMoney = 999'999;
const TGameDate kWidestDate{28, 10, 2002};  // two-digit day and month, after months too

// The built game data in every language, the pseudo-language's, and the extracted tables.
void MakeDataFolder() {
  CopyBuiltLanguages();
  WriteFile("Data/Game-pseudo.dat",
            Packed({{"Texty.mo", ReadFile(KELVORA_TEST_CATALOGUES "/pseudo.mo")}}));
  std::vector<TArchiveMember> members;
  ASSERT_TRUE(UnpackArchive(ReadFile(fs::path(KELVORA_BUILT_DATA) / "Game.dat"), members));
  for (const TArchiveMember& member : members) WriteFile("Data/" + member.Name, member.Bytes);
}

std::vector<std::string> Languages() {
  std::vector<std::string> codes{"cs", "pseudo"};
  for (const auto& entry : fs::directory_iterator("Data")) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("Game-", 0) == 0 && name != "Game-pseudo.dat")
      codes.push_back(name.substr(5, name.size() - 9));
  }
  return codes;
}

class TextFit : public TGameTest {
 protected:
  void SetUp() override {
    TGameTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(MakeDataFolder());
    ASSERT_TRUE(FontLevel && FontLevel->Usable()) << "no font file for Arial CE";
  }
  void TearDown() override {
    SpeakLanguage("cs");
    for (TSurface* s : {menu, symbols, orders, level}) delete s;
  }

  // Draws a screen on paper and checks that it left ink (of the back buffer, or of the frame
  // presented), all within the room of the screen `place` names before its view.
  void Check(const std::string& place, const std::string& state, std::function<void()> draw,
             bool presented = false) {
    const std::string screen = place.substr(0, place.find(','));
    TSurface& b = *g.BackBuffer;
    std::fill_n(b.Pixels(), b.Width() * b.Height(), kPaper);
    draw();
    const TInk ink = InkOf(presented ? Headless().Presenter()->LastFrame() : b.Pixels(), b.Width(),
                           b.Height(), kPaper);
    const auto room = std::ranges::find(kRooms, screen, &std::pair<std::string, TRect>::first);
    ASSERT_NE(room, std::end(kRooms)) << "no room for " << screen;
    const TRect& r = room->second;
    const std::string where = SpokenLanguage() + ", " + screen + ", " + state;
    ASSERT_GT(ink.Count, 0) << where << ": no text drawn";
    const bool fits =
        ink.Left >= r.Left && ink.Top >= r.Top && ink.Right < r.Right && ink.Bottom < r.Bottom;
    if (SpokenLanguage() == "pseudo") {
      if (!fits) tight.insert(place);
      return;
    }
    EXPECT_TRUE(fits) << where << ": the text reaches (" << ink.Left << ", " << ink.Top << ")-("
                      << ink.Right << ", " << ink.Bottom << ") inclusive, beyond its room ("
                      << r.Left << ", " << r.Top << ")-(" << r.Right << ", " << r.Bottom << ")";
  }

  void CheckLevel(int32_t n) {
    const std::string state = "level " + std::to_string(n);
    g.LevelNumber = n;
    g.LevelLoaded = false;
    Check("level intro", state, [&] { g.LevelIntroScreen(0, 0, &menu, false); });
    g.Money = kWidestMoney;
    std::fill(std::begin(g.ShedStock), std::end(g.ShedStock), 99'999);
    Check("level statistics", state, [&] { g.LevelStatsScreen(0, 0, &menu, &symbols, false); });
    Check("progress panel", state, [&] { g.ProgressPanel(0, 0, &level, false); });
    for (int32_t k = 0; k < 4; ++k) CheckOrder(n, k);
  }

  void CheckOrder(int32_t n, int32_t k) {
    const std::string state = "level " + std::to_string(n) + ", order " + std::to_string(k);
    const std::string view = "orders panel, ";
    g.InGame = true;
    g.LevelNumber = n;
    g.OrderIndex = k;
    g.PickNewOrder = false;
    g.Date = kWidestDate;
    g.OrderDeadline = kWidestDate;
    for (const auto& [name, active, delivered, failed] :
         {std::tuple{"offered", false, false, false},
          {"running", true, false, false},
          {"delivered", true, true, false},
          {"failed", true, false, true}}) {
      std::tie(g.OrderActive, g.OrderFulfilled, g.OrderFailed) =
          std::tuple(active, delivered, failed);
      Check(view + name, state, [&] { g.OrdersPanel(0, 0, &orders, false); });
    }
  }

  std::set<std::string> tight;  // the places where the pseudo-language overflowed
  TSurface* menu = PlainSurface(1415, 800, kPaper);
  TSurface* symbols = PlainSurface(452, 313, kPaper);
  TSurface* orders = PlainSurface(300, 420, kPaper);
  TSurface* level = PlainSurface(150, 318, kPaper);
};

TEST_F(TextFit, EveryTextOfEveryLanguageFitsItsRoom) {
  const std::vector<std::string> languages = Languages();
  ASSERT_GE(languages.size(), 6u) << "the built languages' game data is missing";
  int32_t levels = 0;
  {
    const TIniFile file(data_files::Levels);
    while (!file.ReadString("Level" + std::to_string(levels + 1), "Text", "").empty()) ++levels;
  }
  ASSERT_GE(levels, 1);
  for (const std::string& code : languages) {
    ASSERT_TRUE(SpeakLanguage(code)) << code;
    for (int32_t n = 1; n <= levels; ++n) CheckLevel(n);
    // An order the file lacks offers the placeholder.
    CheckOrder(levels + 1, 0);
    // The statistics of the last level lead to the campaign's end.
    g.LevelNumber = levels;
    g.InGame = false;
    g.StatsBannerShown = true;
    Check(
        "campaign end", "after level " + std::to_string(levels),
        [&] { g.LevelStatsScreen(500, 680, &menu, &symbols, true); }, true);
    g.Money = kWidestMoney;
    g.Date = kWidestDate;
    Check("money and date", "the widest", [&] { g.DrawStatus(&symbols); });
    for (TSaveSlotInfo& slot : g.SaveSlots) slot = {kWidestDate, kWidestMoney, levels};
    g.SaveFailed = true;
    Check("save screen", "a save failed", [&] { g.SaveLoadScreen(0, 0, &menu, true, false); });
    Check("load screen", "every slot", [&] { g.SaveLoadScreen(0, 0, &menu, false, false); });
    g.OfferedLanguageList.clear();
    Check("options", "the languages", [&] { g.OptionsScreen(0, 0, &menu, false, false, false); });
  }
  EXPECT_EQ(tight, kTightPlaces);
}

}  // namespace
