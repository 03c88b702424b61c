// Runs a parsed script against the game on the headless platform. Commands run between frames:
// at the start, and after every presented frame once the current `wait` has run out. Input
// commands queue events, which the game takes at its next process-messages call, exactly as a
// window system would deliver them.
#pragma once

#include <string>
#include <vector>

#include "Script.h"
#include "platform/headless/HeadlessPlatform.h"

class TScriptRunner {
 public:
  TScriptRunner(std::vector<TScriptCommand> commands, platform::THeadlessPlatform& platform);

  // Installs the runner on the platform; once the game's window is up, the commands run up to
  // the first wait.
  void Start();
  // False when a shot or state file could not be written.
  bool Succeeded() const { return failures_ == 0; }

 private:
  void AfterFrame(uint64_t frames);
  void RunUntilWait();
  void Execute(const TScriptCommand& c);
  void Push(platform::EventType type, const TScriptCommand& c);
  void LoseSurfaces(const TScriptCommand& c);

  std::vector<TScriptCommand> commands_;
  platform::THeadlessPlatform& platform_;
  size_t next_ = 0;
  int64_t framesToWait_ = 0;
  bool finished_ = false;
  int failures_ = 0;
};
