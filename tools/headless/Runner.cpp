#include "Runner.h"

#include <cstdio>

#include "Snapshot.h"
#include "StateDump.h"

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
    case TScriptCommand::Wait: framesToWait_ = c.count; break;
    case TScriptCommand::Move: Push(EventType::MouseMove, c); break;
    case TScriptCommand::Press: Push(EventType::MouseDown, c); break;
    case TScriptCommand::Release: Push(EventType::MouseUp, c); break;
    case TScriptCommand::Key: Push(EventType::KeyDown, c); break;
    case TScriptCommand::Shot:
      if (!WriteSnapshot(platform_, c.file)) {
        std::fprintf(stderr, "kelvora-headless: line %d: cannot write %s\n", c.line, c.file.c_str());
        ++failures_;
      }
      break;
    case TScriptCommand::State:
      if (!WriteStateDump(platform_, c.file)) {
        std::fprintf(stderr, "kelvora-headless: line %d: cannot write %s\n", c.line, c.file.c_str());
        ++failures_;
      }
      break;
    case TScriptCommand::Quit:
      Push(EventType::Close, c);
      finished_ = true;
      break;
  }
}
