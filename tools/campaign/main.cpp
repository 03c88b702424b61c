// kelvora-campaign DATA [--trace]: the campaign check. An automatic player plays every level of the
// campaign in DATA (a built Data folder) through the real game on the headless platform, in a
// scratch folder of its own, and prints for each level whether it was won and in how many game
// days. The status is 0 only when every level was won within two game years and the campaign
// ended with the congratulation and the main menu.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "Player.h"
#include "app/Main.h"

namespace fs = std::filesystem;

namespace {

void PrintTable(const TCampaignPlayer& player) {
  std::printf("| Level | Won | Game days | Money | Orders | Plots |\n");
  std::printf("|------:|:---:|----------:|------:|-------:|------:|\n");
  for (const TLevelResult& r : player.Results()) {
    std::printf("| %d | %s | %d | %d | %d | %d |\n", r.Level, r.Won ? "yes" : "no", r.Days,
                r.Money, r.OrdersDone, r.Plots);
  }
  for (const TLevelResult& r : player.Results()) {
    if (!r.Won) std::printf("Level %d: %s\n", r.Level, r.Reason.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool trace = argc == 3 && std::string(argv[2]) == "--trace";
  if (argc != 2 && !trace) {
    std::fprintf(stderr, "usage: kelvora-campaign DATA [--trace]\n");
    return 2;
  }
  const fs::path data = fs::absolute(argv[1]);
  if (!fs::is_regular_file(data / "Game.dat")) {
    std::fprintf(stderr, "kelvora-campaign: no Game.dat in %s\n", data.string().c_str());
    return 2;
  }
  // The game writes its settings and temporary files below the working folder: a copy of the
  // Data folder in a scratch folder keeps the built one as it is.
  const fs::path work = fs::temp_directory_path() / ("kelvora-campaign-" + std::to_string(getpid()));
  std::error_code ec;
  fs::remove_all(work, ec);
  fs::create_directories(work);
  fs::copy(data, work / "Data", fs::copy_options::recursive);
  fs::current_path(work);

  // The platform and the player outlive main, like the game object that is destroyed after it.
  static auto* headless = new platform::THeadlessPlatform();
  platform::SetCurrent(headless);
  static auto* player = new TCampaignPlayer(*headless);
  player->SetTrace(trace);
  player->Start();
  const int status = KelvoraMain();

  PrintTable(*player);
  fs::current_path(work.parent_path());
  fs::remove_all(work, ec);
  bool allWon = !player->Results().empty();
  for (const TLevelResult& r : player->Results()) allWon = allWon && r.Won;
  if (status != 0 || !allWon || !player->Completed()) {
    std::printf("The campaign check failed%s.\n",
                player->Completed() ? "" : ": the campaign did not reach its end");
    return 1;
  }
  std::printf("Every level was won within %d game days.\n", TCampaignPlayer::kDayLimit);
  return 0;
}
