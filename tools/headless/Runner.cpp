#include "Runner.h"

#include <algorithm>
#include <cstdio>

#include "Snapshot.h"
#include "app/Main.h"
#include "app/StateDump.h"

TScriptRunner::TScriptRunner(std::vector<TScriptCommand> commands,
                             platform::THeadlessPlatform& platform)
    : commands_(std::move(commands)), platform_(platform) {}

void TScriptRunner::Start() {
  platform_.SetPresentHook([this](uint64_t frames) { AfterFrame(frames); });
  platform_.SetStartHook([this] { RunUntilWait(); });
}

void TScriptRunner::AfterFrame(uint64_t) {
  if (finished_) return;
  if (framesToWait_ > 0 && --framesToWait_ > 0) return;
  RunUntilWait();
}

void TScriptRunner::RunUntilWait() {
  while (!finished_ && framesToWait_ == 0) {
    if (next_ == commands_.size()) {
      // The script has run out: the run ends as a window closed by its user would.
      TScriptCommand quit;
      quit.kind = TScriptCommand::Quit;
      Execute(quit);
      return;
    }
    Execute(commands_[next_++]);
  }
}

void TScriptRunner::Push(platform::EventType type, const TScriptCommand& c) {
  platform::Event e;
  e.type = type;
  e.x = c.x;
  e.y = c.y;
  e.button = c.button;
  e.key = c.key;
  platform_.PushEvent(e);
}

void TScriptRunner::Execute(const TScriptCommand& c) {
  using platform::EventType;
  switch (c.kind) {
    case TScriptCommand::Wait:
      framesToWait_ = c.count;
      break;
    case TScriptCommand::Move:
      Push(EventType::MouseMove, c);
      break;
    case TScriptCommand::Press:
      Push(EventType::MouseDown, c);
      break;
    case TScriptCommand::Release:
      Push(EventType::MouseUp, c);
      break;
    case TScriptCommand::Key:
      Push(EventType::KeyDown, c);
      break;
    case TScriptCommand::Shot:
      if (!WriteSnapshot(platform_, c.file)) {
        std::fprintf(stderr, "kelvora-headless: line %d: cannot write %s\n", c.line,
                     c.file.c_str());
        ++failures_;
      }
      break;
    case TScriptCommand::State:
      if (!WriteFileWhole(c.file,
                          StateDumpJson(platform_.FramesPresented(), platform_.Messages()))) {
        std::fprintf(stderr, "kelvora-headless: line %d: cannot write %s\n", c.line,
                     c.file.c_str());
        ++failures_;
      }
      break;
    case TScriptCommand::Lose:
      LoseSurfaces(c);
      break;
    case TScriptCommand::Quit:
      Push(EventType::Close, c);
      finished_ = true;
      break;
  }
}

// A switch away from the exclusive display: the device reports the loss at the next flip, and
// what the surfaces held in video memory is gone until the game loads it again. The wipe leaves
// every slot one flat grey, so that a picture not reloaded shows on the screen.
void TScriptRunner::LoseSurfaces(const TScriptCommand& c) {
  platform::THeadlessPresenter* presenter = platform_.Presenter();
  if (!presenter) {
    std::fprintf(stderr, "kelvora-headless: line %d: there is no display to lose\n", c.line);
    ++failures_;
    return;
  }
  presenter->InjectLoss();
  constexpr uint16_t kWiped = 0x0821;  // a dark grey of RGB565
  for (const TBitmapSlot& slot : BitmapSlots()) {
    TSurface* s = *slot.Slot;
    if (s) std::fill_n(s->Pixels(), size_t(s->Width()) * s->Height(), kWiped);
  }
}
