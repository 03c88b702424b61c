#include "Player.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "app/Main.h"
#include "game/Rules.h"
#include "gfx/SpriteRects.h"

namespace {

using platform::Event;
using platform::EventType;
using platform::MouseButton;

constexpr int kKeyDigit1 = 49;             // skips the intro
constexpr int kShedX = 200, kShedY = 130;  // a press here opens the plot actions menu
constexpr int kNewGameX = 500, kNewGameY = 255;
constexpr int kExitX = 400, kExitY = 600;                     // the main menu's exit button
constexpr int kMainMenuButtonX = 960, kMainMenuButtonY = 50;  // the main panel's way out
constexpr int kLevelButtonX = 510, kLevelButtonY = 680;
constexpr int kOrderOkX = 505, kOrderOkY = 556;
constexpr int kOrderCloseX = 564, kOrderCloseY = 556;
constexpr int kScreenPause = 5;  // frames given to a screen to follow a click

// Plot actions menu buttons by id.
enum : int {
  kBuy = 1,
  kWater = 2,
  kHarvest = 3,
  kCarrot = 4,
  kCauliflower = 5,
  kKohlrabi = 6,
  kGarlic = 7,
  kFertilise = 8,
  kWell = 9,
  kPipe = 10,
};
constexpr std::array<int, 4> kPlantButton{kCauliflower, kKohlrabi, kCarrot, kGarlic};

constexpr int kMaxPlots = 240;
constexpr double kPaybackDays = 140;

// The middle of a plot on the screen.
int PlotX(int col) { return rules::CellX(col) + rules::CellWidth / 2; }
int PlotY(int row) { return rules::CellY(row) + rules::CellHeight / 2; }

// Whole days from planting to ripeness.
int RipeDays(int crop) {
  const TCrop& c = Crops[crop];
  return ((c.Stages - 1) * c.TicksPerStage + FramesPerDay) / FramesPerDay;
}

// What one plot earns a day with this crop, less two waterings: the crop to grow for money.
double EarningPerDay(int crop) {
  const TCrop& c = Crops[crop];
  return (c.SalePrice - c.PlantPrice - 2.0 * rules::WaterPrice) / RipeDays(crop);
}

bool GameViewShown() {
  return Game.InGame && !Game.OptionsOpen && !Game.SaveScreenOpen && !Game.LoadScreenOpen &&
         !Game.LevelIntroOpen && !Game.LevelStatsOpen;
}

bool Living(const TPlot& p) { return p.Planted && p.Alive && p.Stage <= Crops[p.Crop].RipeStage; }

int64_t Required(uint32_t pieces) { return std::min<int64_t>(pieces, 100000); }

}  // namespace

int32_t DaysSinceStart(const TGameDate& date) {
  int32_t days = (date.Year - 2002) * 365 + date.Day - 1;
  for (int month = 1; month < date.Month && month <= 12; ++month) days += MonthLength(month);
  return days;
}

TCampaignPlayer::TCampaignPlayer(platform::THeadlessPlatform& platform) : platform_(platform) {}

void TCampaignPlayer::Start() {
  platform_.SetPresentHook([this](uint64_t) { AfterFrame(); });
}

void TCampaignPlayer::Click(TBatch& batch, int x, int y) const {
  Event move;
  move.type = EventType::MouseMove;
  move.x = x;
  move.y = y;
  Event down = move, up = move;
  down.type = EventType::MouseDown;
  up.type = EventType::MouseUp;
  down.button = up.button = MouseButton::Left;
  batch.insert(batch.end(), {move, down, up});
}

void TCampaignPlayer::Send(const TBatch& batch) {
  for (const Event& e : batch) platform_.PushEvent(e);
}

void TCampaignPlayer::Record(bool won, const std::string& reason) {
  if (!playing_) return;
  current_.Won = won;
  current_.Reason = reason;
  current_.Days = DaysSinceStart(Game.Date);
  current_.Money = Game.Money;
  current_.OrdersDone = Game.OrdersDone;
  results_.push_back(current_);
  playing_ = false;
}

void TCampaignPlayer::Finish(const std::string& reason) {
  Record(false, reason);
  Event close;
  close.type = EventType::Close;
  platform_.PushEvent(close);
  finished_ = true;
}

// Runs after every presented frame, also the frames that screens flip inside a handler (the
// banner, the congratulation, the game-over picture); what it queues is taken by the game at
// its next process-messages call.
void TCampaignPlayer::AfterFrame() {
  // The headless sound back end remembers every call for the tests. The player has no use for
  // that record, and over a long run it would be the one thing that grows.
  platform_.Recorder().ClearCalls();
  if (finished_) return;
  if (IntroPending) {
    if (!introSkipped_) {
      Event key;
      key.type = EventType::KeyDown;
      key.key = kKeyDigit1;
      platform_.PushEvent(key);
      introSkipped_ = true;
    }
    return;
  }
  const uint64_t frames = platform_.FramesPresented();
  if (soaking_ && !soakEnding_ && frames > soakStartFrame_ &&
      (frames - soakStartFrame_) % kSampleFrames == 0) {
    soak_.Samples.emplace_back(frames - soakStartFrame_, ReadMemoryUse());
  }
  if (soaking_ && !soakEnding_ && frames - soakStartFrame_ >= soakFrames_) {
    soakEnding_ = true;
    soak_.Reached = true;
    soak_.Frames = frames - soakStartFrame_;
    soak_.AtEnd = ReadMemoryUse();
  }
  if (cooldown_ > 0) {
    --cooldown_;
    return;
  }
  if (Game.LevelStatsOpen) {
    OnLevelStats();
  } else if (Game.LevelIntroOpen) {
    OnLevelIntro();
  } else if (!Game.InGame) {
    OnMainMenu();
  } else if (GameViewShown()) {
    InGame();
  }
}

void TCampaignPlayer::OnMainMenu() {
  if (playing_) {
    if (!soaking_) return Finish("the game was lost (out of money)");
    Record(false, "the game was lost (out of money)");
  }
  if (soakEnding_) {
    // The ordinary way out: the exit splash and the shut-down follow.
    TBatch batch;
    Click(batch, kExitX, kExitY);
    Send(batch);
    finished_ = true;
    return;
  }
  if (leftStats_ && !soaking_) {
    // The last level's statistics led here through the congratulation.
    completed_ = Game.LevelNumber == 1 && !results_.empty();
    if (!completed_ || soakFrames_ == 0) return Finish("");
    BeginSoak();
  }
  // During the soak, a campaign played through, a lost game and a level left all lead here.
  leftStats_ = false;
  StartNewGame();
}

void TCampaignPlayer::StartNewGame() {
  TBatch batch;
  Click(batch, kNewGameX, kNewGameY);
  Send(batch);
  cooldown_ = kScreenPause;
}

void TCampaignPlayer::BeginSoak() {
  soaking_ = true;
  soakStartFrame_ = platform_.FramesPresented();
  soak_.Started = true;
  soak_.AtStart = ReadMemoryUse();
}

// The main panel's main-menu button leaves a level that is not to be played on.
void TCampaignPlayer::LeaveLevel() {
  pending_.clear();
  playing_ = false;
  TBatch batch;
  Click(batch, kMainMenuButtonX, kMainMenuButtonY);
  Send(batch);
  cooldown_ = kScreenPause;
}

void TCampaignPlayer::OnLevelIntro() {
  leftStats_ = false;
  if (!playing_) {
    // A new game begins at level 1, and so does each pass through the campaign.
    if (Game.LevelNumber == 1) ++pass_;
    current_ = TLevelResult{};
    current_.Pass = pass_;
    current_.Level = Game.LevelNumber;
    pending_.clear();
    playing_ = true;
  }
  TBatch batch;
  Click(batch, kLevelButtonX, kLevelButtonY);
  Send(batch);
  cooldown_ = kScreenPause;
}

void TCampaignPlayer::OnLevelStats() {
  Record(true, "");
  TBatch batch;
  Click(batch, kLevelButtonX, kLevelButtonY);
  Send(batch);
  leftStats_ = true;
  cooldown_ = kScreenPause;
}

void TCampaignPlayer::InGame() {
  int plots = 0;
  for (const auto& column : Game.Field) {
    for (const TPlot& p : column) plots += p.Owned ? 1 : 0;
  }
  current_.Plots = plots;
  const int32_t day = DaysSinceStart(Game.Date);
  if (trace_ && day % 30 == 0 && day != lastTracedDay_) {
    int pipes = 0;
    for (const auto& column : Game.Pipe)
      pipes += static_cast<int>(std::count(column, column + FieldRows, true));
    std::fprintf(stderr,
                 "level %d day %d: money %d, plots %d, well %d, pipes %d, shed %d %d %d %d, "
                 "orders %d\n",
                 current_.Level, day, Game.Money, plots, Game.WellBuilt, pipes, Game.ShedStock[0],
                 Game.ShedStock[1], Game.ShedStock[2], Game.ShedStock[3], Game.OrdersDone);
  }
  lastTracedDay_ = day;
  if (day > kDayLimit) {
    if (!soaking_) return Finish("not won within two game years");
    Record(false, "not won within two game years");
  }
  if (Game.OrdersPanelOpen) {
    pending_.clear();
    return OnOrdersPanel();
  }
  if (soaking_ && (!playing_ || soakEnding_)) return LeaveLevel();
  if (!pending_.empty()) {
    Send(pending_.front());
    pending_.pop_front();
    return;
  }
  Plan();
}

void TCampaignPlayer::OnOrdersPanel() {
  TBatch batch;
  // An outcome or the running order is acknowledged with OK; an offer is taken or declined.
  if (Game.OrderActive || OfferWorthTaking()) {
    Click(batch, kOrderOkX, kOrderOkY);
  } else {
    Click(batch, kOrderCloseX, kOrderCloseY);
  }
  Send(batch);
}

void TCampaignPlayer::Needs(int32_t need[4]) const {
  int64_t pieces[4];
  for (int crop = 0; crop < 4; ++crop) {
    pieces[crop] = Required(Game.Levl.Zelenina[crop]) - Game.ShedStock[crop];
    if (Game.OrderActive && !Game.OrderFulfilled && !Game.OrderFailed) {
      pieces[crop] += Required(Game.CurrentOrder.Zelenina[crop]);
    }
  }
  for (const auto& column : Game.Field) {
    for (const TPlot& p : column) {
      if (Living(p)) --pieces[p.Crop];
    }
  }
  for (int crop = 0; crop < 4; ++crop) need[crop] = static_cast<int32_t>(pieces[crop]);
}

// A needed order is taken when the shed, the plants in the ground or a fresh sowing can meet it
// in time; an order the level does not need only when the shed can spare the goods at once.
bool TCampaignPlayer::OfferWorthTaking() const {
  const TOrder& offer = OfferedOrder;
  const bool needed = static_cast<uint32_t>(Game.OrdersDone) < Game.Levl.ObjednavkySplnene;
  const int32_t daysLeft =
      DaysSinceStart(AddMonths(Game.Date, offer.Mesice)) - DaysSinceStart(Game.Date);
  int32_t growing[4] = {};
  for (const auto& column : Game.Field) {
    for (const TPlot& p : column) {
      if (Living(p)) ++growing[p.Crop];
    }
  }
  bool asksForSomething = false;
  for (int crop = 0; crop < 4; ++crop) {
    const int64_t wanted = Required(offer.Zelenina[crop]);
    if (wanted == 0) continue;
    asksForSomething = true;
    if (!Game.Levl.SaditZeleninu[crop]) return false;
    const int64_t spare = Game.ShedStock[crop] - Required(Game.Levl.Zelenina[crop]);
    if (spare >= wanted) continue;
    if (!needed) return false;
    if (spare + growing[crop] >= wanted || daysLeft >= RipeDays(crop) + 6) continue;
    return false;
  }
  return asksForSomething;
}

void TCampaignPlayer::UseTool(int menuButton, bool selected,
                              const std::vector<std::pair<int, int>>& plots) {
  TBatch first;
  if (!selected) {
    Click(first, kShedX, kShedY);
    const TRect& b = sprites::main_sheet::PlotMenuButtonHit[static_cast<size_t>(menuButton - 1)];
    Click(first, b.Left + 24, b.Top + 24);
  }
  if (plots.empty()) {
    pending_.push_back(first);
    return;
  }
  // The hover pass finds the plot under the mouse in the next frame; the click after it acts
  // on that plot and moves on to the next.
  Event move;
  move.type = EventType::MouseMove;
  move.x = PlotX(plots[0].first);
  move.y = PlotY(plots[0].second);
  first.push_back(move);
  pending_.push_back(first);
  for (size_t i = 0; i < plots.size(); ++i) {
    TBatch batch;
    Event down;
    down.type = EventType::MouseDown;
    down.button = MouseButton::Left;
    down.x = PlotX(plots[i].first);
    down.y = PlotY(plots[i].second);
    Event up = down;
    up.type = EventType::MouseUp;
    batch.insert(batch.end(), {down, up});
    if (i + 1 < plots.size()) {
      move.x = PlotX(plots[i + 1].first);
      move.y = PlotY(plots[i + 1].second);
      batch.push_back(move);
    }
    pending_.push_back(batch);
  }
}

void TCampaignPlayer::Plan() {
  TGame& g = Game;
  const TLevel& level = g.Levl;
  std::vector<std::pair<int, int>> harvest, dry, tired, empty, unbought, noPipe;
  int living = 0, owned = 0;
  int32_t planned[4] = {};  // living plants of each vegetable
  for (int row = 0; row < FieldRows; ++row) {
    for (int col = 0; col < FieldColumns; ++col) {
      const TPlot& p = g.Field[col][row];
      const TCrop& c = Crops[p.Crop];
      if (!p.Owned) {
        unbought.emplace_back(col, row);
        continue;
      }
      ++owned;
      if (!g.Pipe[col][row] && p.Planted && p.Alive) noPipe.emplace_back(col, row);
      const bool ripe = p.Planted && p.Stage == c.RipeStage;
      const bool withered = p.Planted && p.Stage > c.RipeStage;
      if (ripe || (withered && g.Money >= rules::ClearingFee)) {
        harvest.emplace_back(col, row);
      } else if (withered) {
        continue;
      } else if (p.Planted) {
        ++living;
        if (p.Alive) ++planned[p.Crop];
        const bool piped = g.Pipe[col][row] && g.WellBuilt && g.Money >= rules::WaterPrice;
        if (p.Alive && p.Water < 35.0 && !piped) dry.emplace_back(col, row);
      } else if (p.Fertility < 25.0) {
        tired.emplace_back(col, row);
      } else {
        empty.emplace_back(col, row);
      }
    }
  }
  const int32_t reserve = 30 + rules::WaterPrice * living;
  auto affordable = [&](int32_t price) {
    return static_cast<size_t>(std::max<int32_t>(0, (g.Money - reserve) / price));
  };
  auto take = [](std::vector<std::pair<int, int>> plots, size_t n) {
    plots.resize(std::min(plots.size(), n));
    return plots;
  };

  if (!harvest.empty()) return UseTool(kHarvest, g.ToolHarvest, harvest);
  if (!dry.empty() && g.Money >= rules::WaterPrice) {
    return UseTool(kWater, g.ToolWater,
                   take(dry, static_cast<size_t>(g.Money / rules::WaterPrice)));
  }
  // Whether the money goal is far off for what grows now.
  double earning = 0;  // a day
  for (int crop = 0; crop < 4; ++crop) earning += planned[crop] * EarningPerDay(crop);
  const double gap = double(level.Penize) - g.Money;
  const bool slow = gap > 0 && (earning <= 0 || gap / earning > kPaybackDays);

  // The well when the level allows it and it leaves money to go on with; pipes only on plots
  // that carry a plant, and only from money the goal does not wait for.
  const int32_t days = DaysSinceStart(g.Date);
  if (level.StavetStudnu && !g.WellBuilt && g.Money >= rules::WellPrice + 700 && days < 60) {
    return UseTool(kWell, false, {});
  }
  if (g.WellBuilt && !slow && !noPipe.empty() && affordable(rules::PipeLayPrice) > 10) {
    return UseTool(kPipe, g.ToolPipe, take(noPipe, affordable(rules::PipeLayPrice) - 10));
  }
  if (!tired.empty() && affordable(rules::FertilisePrice) > 0) {
    return UseTool(kFertilise, g.ToolFertilise, take(tired, affordable(rules::FertilisePrice)));
  }

  int32_t need[4];
  Needs(need);
  if (!empty.empty()) {
    // Each free plot gets the vegetable most wanted by the goal and the running order, or else
    // the one that earns best while keeping a little of each vegetable in store for orders.
    int chosen = -1;
    int best = 0;
    for (int crop = 0; crop < 4; ++crop) {
      if (level.SaditZeleninu[crop] && need[crop] > best) {
        best = need[crop];
        chosen = crop;
      }
    }
    if (chosen < 0) {
      double lowest = 1e18;
      for (int crop = 0; crop < 4; ++crop) {
        if (!level.SaditZeleninu[crop]) continue;
        const double held =
            double(g.ShedStock[crop]) + planned[crop] - double(Required(level.Zelenina[crop]));
        const double score = (std::max(0.0, held) + 1.0) / EarningPerDay(crop);
        if (score < lowest) {
          lowest = score;
          chosen = crop;
        }
      }
    }
    if (chosen >= 0) {
      size_t n = affordable(Crops[chosen].PlantPrice);
      if (best > 0) n = std::min(n, static_cast<size_t>(best));
      const bool selected = g.ToolPlant && g.SelectedCrop == chosen;
      if (n > 0)
        return UseTool(kPlantButton[static_cast<size_t>(chosen)], selected, take(empty, n));
    }
  }

  // More plots while the money would take long to come in from what grows (a plot pays for
  // itself in about three harvests), or while the goal's vegetables have no room to grow.
  int32_t missing = 0;
  for (int crop = 0; crop < 4; ++crop) {
    if (level.SaditZeleninu[crop]) missing += std::max(0, need[crop]);
  }
  if ((slow || (missing > 0 && empty.empty())) && owned < kMaxPlots && !unbought.empty()) {
    const size_t n = affordable(rules::PlotPrice + 32);
    if (n > 0) return UseTool(kBuy, g.ToolBuy, take(unbought, std::min<size_t>(n, 24)));
  }
}
