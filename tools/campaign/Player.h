// The campaign's automatic player. It plays the real game on the headless platform as a person
// would: after every presented frame it looks at the game's state and queues mouse and key
// events, which the game takes at its next process-messages call. Everything it does goes
// through the form's handlers and the game's own screens, tools, orders and goal test.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "game/Game.h"
#include "platform/headless/HeadlessPlatform.h"

// What happened to one level of the campaign.
struct TLevelResult {
  int32_t Level = 0;
  bool Won = false;
  int32_t Days = 0;         // game days from 1.1.2002 to the win (or to the end of the attempt)
  int32_t Money = 0;        // at the end of the level
  int32_t OrdersDone = 0;
  int32_t Plots = 0;        // plots bought
  std::string Reason;       // why a level was not won
};

class TCampaignPlayer {
 public:
  // A level not won within this many game days fails the check.
  static constexpr int32_t kDayLimit = 730;

  explicit TCampaignPlayer(platform::THeadlessPlatform& platform);

  // Installs the player on the platform; it then plays once the game's window is up.
  void Start();
  // Prints the state of the level every 30 game days on standard error.
  void SetTrace(bool trace) { trace_ = trace; }

  const std::vector<TLevelResult>& Results() const { return results_; }
  // Every level was won and the campaign ended with the congratulation and the main menu.
  bool Completed() const { return completed_; }

 private:
  using TBatch = std::vector<platform::Event>;

  void AfterFrame();
  void OnMainMenu();
  void OnLevelIntro();
  void OnLevelStats();
  void InGame();
  void OnOrdersPanel();
  bool OfferWorthTaking() const;
  void Plan();

  // The plot actions of one tool on a list of plots, each list entry a (column, row).
  void UseTool(int menuButton, bool selected, const std::vector<std::pair<int, int>>& plots);
  void Click(TBatch& batch, int x, int y) const;
  void Send(const TBatch& batch);
  void Finish(const std::string& reason);

  // Pieces of each vegetable still to be grown for the level's goal and the running order.
  void Needs(int32_t need[4]) const;

  platform::THeadlessPlatform& platform_;
  std::deque<TBatch> pending_;
  std::vector<TLevelResult> results_;
  TLevelResult current_;
  int cooldown_ = 0;      // frames to let pass before the next screen action
  bool introSkipped_ = false;
  bool playing_ = false;  // a level has been started and not yet ended
  bool leftStats_ = false;
  bool completed_ = false;
  bool finished_ = false;
  bool trace_ = false;
  int32_t lastTracedDay_ = -1;
};

// Game days from 1 January 2002 to `date`.
int32_t DaysSinceStart(const TGameDate& date);
