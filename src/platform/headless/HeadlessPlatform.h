// The platform without a screen, a sound device or a real clock: for the scripted runner, the
// tests and the benchmarks. Events come from a queue that the runner fills, time is virtual (only
// sleeps and presented frames advance it), and message boxes and sound calls are recorded.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/FramePacer.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessSound.h"

namespace platform {

class THeadlessPlatform;

class THeadlessPresenter : public TPresenter {
 public:
  explicit THeadlessPresenter(THeadlessPlatform& owner, int width, int height)
      : owner_(owner), width_(width), height_(height) {}
  Result Present(const uint16_t* pixels) override;
  void SetGammaRamp(const uint16_t* ramp) override;
  bool Restore() override;

  // The next Present reports a lost device, as after a switch away from the game.
  void InjectLoss() { lossPending_ = true; }

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The last presented frame (valid until the next flip) and the ramp it is shown through.
  const uint16_t* LastFrame() const { return lastFrame_; }
  const uint16_t* Ramp() const { return ramp_; }

 private:
  THeadlessPlatform& owner_;
  int width_, height_;
  bool lossPending_ = false;
  bool lost_ = false;
  const uint16_t* lastFrame_ = nullptr;
  uint16_t ramp_[768] = {};
};

class THeadlessPlatform : public TPlatform {
 public:
  THeadlessPlatform();
  ~THeadlessPlatform() override;

  void SetTitle(const std::string& title) override { title_ = title; }
  bool CreateMainWindow(TFormBase* form) override;
  void CloseMainWindow() override { windowOpen_ = false; }
  bool MainWindowOpen() const override { return windowOpen_; }
  bool IsMinimised() override { return false; }
  void PostUserMessage() override;
  bool NextEvent(Event& event, int timeoutMs) override;
  void ShowMessageBox(const std::string& text, const std::string& caption) override;
  void ShowSystemCursor(bool show) override { systemCursorShown_ = show; }
  void SetWindowMode(const TWindowMode& mode) override { windowMode_ = mode; }
  TWindowMode WindowMode() const override { return windowMode_; }
  TPresenter* OpenDisplay(int width, int height, int bitsPerPixel) override;
  uint64_t NowNanoseconds() override { return now_; }
  void Sleep(uint32_t ms) override { now_ += uint64_t(ms) * 1'000'000; }
  TSoundBackend& Sound() override { return sound_; }
  THeadlessSound& Recorder() { return sound_; }

  // The script side.
  void PushEvent(const Event& event) { events_.push_back(event); }
  // Called once, when the game first asks for events: its window and display are up by then.
  void SetStartHook(std::function<void()> hook) { startHook_ = std::move(hook); }
  // Called after every presented frame, with the number of frames presented so far.
  void SetPresentHook(std::function<void(uint64_t)> hook) { presentHook_ = std::move(hook); }
  // Fails the next OpenDisplay, as a machine without a usable display would.
  void FailNextOpenDisplay() { failOpenDisplay_ = true; }

  uint64_t FramesPresented() const { return frames_; }
  const std::string& Title() const { return title_; }
  bool SystemCursorShown() const { return systemCursorShown_; }
  THeadlessPresenter* Presenter() { return presenter_; }
  const std::vector<std::string>& Messages() const { return messages_; }
  void ClearMessages() { messages_.clear(); }

 private:
  friend class THeadlessPresenter;
  void FramePresented();

  THeadlessSound sound_;
  std::deque<Event> events_;
  std::function<void()> startHook_;
  std::function<void(uint64_t)> presentHook_;
  std::vector<std::string> messages_;
  std::string title_;
  THeadlessPresenter* presenter_ = nullptr;
  std::vector<std::unique_ptr<THeadlessPresenter>> presenters_;
  TFramePacer pacer_;
  TWindowMode windowMode_;
  uint64_t now_ = 0;
  uint64_t frames_ = 0;
  bool windowOpen_ = false;
  bool systemCursorShown_ = true;
  bool failOpenDisplay_ = false;
};

}  // namespace platform
