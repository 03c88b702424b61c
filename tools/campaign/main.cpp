// kelvora-campaign DATA [--trace] [--soak FRAMES]: the campaign check. An automatic player plays
// every level of the campaign in DATA (a built Data folder) through the real game on the
// headless platform, in a scratch folder of its own, and prints for each level whether it was
// won and in how many game days. The status is 0 only when every level was won within two game
// years, the campaign ended with the congratulation and the main menu, and the game left no file
// behind in the scratch folder but its settings.
//
// With --soak the player goes on after the campaign, starting new games as often as needed,
// until FRAMES more frames have been presented, then leaves through the main menu's exit button.
// It prints the levels played in that time and the memory use when those frames began and when
// they were done; the memory the game holds must not have grown by more than a small margin.
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <system_error>

#include "Memory.h"
#include "Player.h"
#include "app/Main.h"
#include "game/DataFiles.h"
#include "game/Language.h"

namespace fs = std::filesystem;

namespace {

// How far the live heap may grow over the soak's frames. The game allocates nothing that should
// outlive a level, so what it holds after the campaign (every picture, sound and level loaded at
// least once) is what it needs; the margin leaves room for the libraries' own caches (fonts,
// the audio mixer), which settle in small steps. A leak of 16 bytes a frame over a million
// frames is four times this. The resident figures are reported but not judged: under the
// sanitizer they wander by tens of megabytes with its quarantine of freed blocks.
constexpr int64_t kHeapMarginKb = 4 * 1024;

struct TOptions {
  fs::path Data;
  bool Trace = false;
  uint64_t SoakFrames = 0;
  std::string Language;  // empty: the game's own choice (Czech, the runner's system asking none)
};

bool ParseOptions(int argc, char** argv, TOptions& options) {
  if (argc < 2) return false;
  options.Data = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--trace") {
      options.Trace = true;
    } else if (arg == "--language" && i + 1 < argc) {
      options.Language = argv[++i];
    } else if (arg == "--soak" && i + 1 < argc) {
      const std::string_view n = argv[++i];
      auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), options.SoakFrames);
      if (ec != std::errc() || end != n.data() + n.size() || options.SoakFrames == 0) return false;
    } else {
      return false;
    }
  }
  return true;
}

// Every file below `root`, as a path relative to it.
std::set<std::string> FilesBelow(const fs::path& root) {
  std::set<std::string> files;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    if (!it->is_directory()) files.insert(fs::relative(it->path(), root).generic_string());
  }
  return files;
}

void PrintLevels(const TCampaignPlayer& player, bool soak) {
  std::printf(soak ? "| Pass | Level | Won | Game days | Money | Orders | Plots |\n"
                     "|-----:|------:|:---:|----------:|------:|-------:|------:|\n"
                   : "| Level | Won | Game days | Money | Orders | Plots |\n"
                     "|------:|:---:|----------:|------:|-------:|------:|\n");
  for (const TLevelResult& r : player.Results()) {
    if ((r.Pass > 1) != soak) continue;
    if (soak) std::printf("| %d ", r.Pass);
    std::printf("| %d | %s | %d | %d | %d | %d |\n", r.Level, r.Won ? "yes" : "no", r.Days, r.Money,
                r.OrdersDone, r.Plots);
  }
  for (const TLevelResult& r : player.Results()) {
    if ((r.Pass > 1) == soak && !r.Won) {
      std::printf("Pass %d, level %d: %s\n", r.Pass, r.Level, r.Reason.c_str());
    }
  }
}

void PrintMemory(const std::string& when, const TMemoryUse& use) {
  std::printf("Memory %s: heap %lld kB, VmHWM %lld kB, VmRSS %lld kB\n", when.c_str(),
              static_cast<long long>(use.HeapKb), static_cast<long long>(use.PeakKb),
              static_cast<long long>(use.ResidentKb));
}

// The soak's figures; false when the frames were not all played or the memory grew.
bool ReportSoak(const TCampaignPlayer& player, uint64_t asked) {
  const TCampaignPlayer::TSoakFigures& s = player.Soak();
  std::printf("\nThe soak: new games after the campaign.\n\n");
  PrintLevels(player, true);
  std::printf("Soak frames: %llu of %llu asked for\n", static_cast<unsigned long long>(s.Frames),
              static_cast<unsigned long long>(asked));
  // The memory figures differ from run to run (addresses, the sanitizer's pools): they are kept
  // on lines of their own so that two runs' outputs can be compared without them.
  PrintMemory("at the start", s.AtStart);
  for (const auto& [frames, use] : s.Samples) {
    PrintMemory("after " + std::to_string(frames) + " frames", use);
  }
  PrintMemory("at the end", s.AtEnd);
  if (!s.Reached) {
    std::printf("The soak failed: its frames were not all played.\n");
    return false;
  }
  if (s.AtStart.HeapKb < 0 || s.AtEnd.HeapKb < 0) {
    std::printf("The soak failed: the memory use cannot be read.\n");
    return false;
  }
  const int64_t growth = s.AtEnd.HeapKb - s.AtStart.HeapKb;
  if (growth > kHeapMarginKb) {
    std::printf("The soak failed: the live heap grew by %lld kB (at most %lld kB allowed).\n",
                static_cast<long long>(growth), static_cast<long long>(kHeapMarginKb));
    return false;
  }
  std::printf("Memory flat: the live heap within %lld kB of the start (grew by %lld kB).\n",
              static_cast<long long>(kHeapMarginKb), static_cast<long long>(growth));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: kelvora-campaign DATA [--trace] [--soak FRAMES] [--language CODE]\n");
    return 2;
  }
  const fs::path data = fs::absolute(options.Data);
  if (!fs::is_regular_file(data / KELVORA_GAME_DATA_FILE)) {
    std::fprintf(stderr, "kelvora-campaign: no " KELVORA_GAME_DATA_FILE " in %s\n",
                 data.string().c_str());
    return 2;
  }
  // The game writes its settings and temporary files below the working folder: a copy of the
  // Data folder in a scratch folder keeps the built one as it is.
  const fs::path work =
      fs::temp_directory_path() / ("kelvora-campaign-" + std::to_string(getpid()));
  std::error_code ec;
  fs::remove_all(work, ec);
  fs::create_directories(work);
  fs::copy(data, work / "Data", fs::copy_options::recursive);
  fs::current_path(work);
  const std::set<std::string> before = FilesBelow(work);

  platform::THeadlessPlatform headless;
  const platform::TCurrentPlatform current(headless);
  TCampaignPlayer player(headless);
  player.SetTrace(options.Trace);
  player.SetSoak(options.SoakFrames);
  player.Start();
  const int status = KelvoraMain(options.Language);

  PrintLevels(player, false);
  bool ok = status == 0;
  if (status != 0) std::printf("The game ended with status %d.\n", status);
  if (!options.Language.empty() && SpokenLanguage() != options.Language) {
    std::printf("The game did not speak %s but %s.\n", options.Language.c_str(),
                SpokenLanguage().c_str());
    ok = false;
  }
  // Whatever the game extracted or wrote for the time of the run must be gone; the settings
  // file is the one file it keeps.
  for (const std::string& file : FilesBelow(work)) {
    if (!before.count(file) && file != "Data/Nastaveni.dat") {
      std::printf("Left behind in the working folder: %s\n", file.c_str());
      ok = false;
    }
  }
  fs::current_path(work.parent_path());
  fs::remove_all(work, ec);
  bool allWon = !player.Results().empty();
  for (const TLevelResult& r : player.Results()) allWon = allWon && (r.Won || r.Pass > 1);
  if (!allWon || !player.Completed()) {
    std::printf("The campaign check failed%s.\n",
                player.Completed() ? "" : ": the campaign did not reach its end");
    return 1;
  }
  std::printf("Every level was won within %d game days.\n", TCampaignPlayer::kDayLimit);
  if (options.SoakFrames > 0 && !ReportSoak(player, options.SoakFrames)) ok = false;
  if (!ok) {
    std::printf("The check failed.\n");
    return 1;
  }
  return 0;
}
