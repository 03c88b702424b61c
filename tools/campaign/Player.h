// The campaign's automatic player. It plays the real game on the headless platform as a person
// would: after every presented frame it looks at the game's state and queues mouse and key
// events, which the game takes at its next process-messages call. Everything it does goes
// through the form's handlers and the game's own screens, tools, orders and goal test.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "Memory.h"
#include "game/Game.h"
#include "platform/headless/HeadlessPlatform.h"

// What happened to one level of the campaign.
struct TLevelResult {
  int32_t Pass = 1;  // the campaign is pass 1; the soak's new games are passes 2, 3, ...
  int32_t Level = 0;
  bool Won = false;
  int32_t Days = 0;   // game days from 1.1.2002 to the win (or to the end of the attempt)
  int32_t Money = 0;  // at the end of the level
  int32_t OrdersDone = 0;
  int32_t Plots = 0;   // plots bought
  std::string Reason;  // why a level was not won
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
  // After the campaign has ended at the main menu, plays on (new games from level 1, as often
  // as needed) until this many more frames have been presented, then leaves through the main
  // menu's exit button.
  void SetSoak(uint64_t frames) { soakFrames_ = frames; }

  const std::vector<TLevelResult>& Results() const { return results_; }
  // Every level was won and the campaign ended with the congratulation and the main menu.
  bool Completed() const { return completed_; }

  // What the soak saw: the frames presented after the campaign up to the point where it set
  // out for the exit, and the memory use when those frames began and when they were done.
  struct TSoakFigures {
    bool Started = false;
    bool Reached = false;  // all the frames asked for were presented
    uint64_t Frames = 0;
    TMemoryUse AtStart, AtEnd;
    // The memory use every kSampleFrames frames of the soak, to show its course.
    std::vector<std::pair<uint64_t, TMemoryUse>> Samples;
  };
  static constexpr uint64_t kSampleFrames = 100000;
  const TSoakFigures& Soak() const { return soak_; }

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
  void Record(bool won, const std::string& reason);
  void StartNewGame();
  void BeginSoak();
  void LeaveLevel();

  // Pieces of each vegetable still to be grown for the level's goal and the running order.
  void Needs(int32_t need[4]) const;

  platform::THeadlessPlatform& platform_;
  std::deque<TBatch> pending_;
  std::vector<TLevelResult> results_;
  TLevelResult current_;
  int cooldown_ = 0;  // frames to let pass before the next screen action
  bool introSkipped_ = false;
  bool playing_ = false;  // a level has been started and not yet ended
  bool leftStats_ = false;
  bool completed_ = false;
  bool finished_ = false;
  bool trace_ = false;
  int32_t lastTracedDay_ = -1;
  int32_t pass_ = 0;         // new games started
  uint64_t soakFrames_ = 0;  // 0: no soak
  uint64_t soakStartFrame_ = 0;
  bool soaking_ = false;     // the campaign is over and the soak's frames are being played
  bool soakEnding_ = false;  // the soak's frames are done: on the way to the exit button
  TSoakFigures soak_;
};

// Game days from 1 January 2002 to `date`.
int32_t DaysSinceStart(const TGameDate& date);
