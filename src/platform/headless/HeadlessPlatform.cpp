#include "platform/headless/HeadlessPlatform.h"

#include <algorithm>
#include <cstdio>

namespace platform {

TPresenter::Result THeadlessPresenter::Present(const uint16_t* pixels) {
  if (lossPending_) {
    lossPending_ = false;
    lost_ = true;
  }
  if (lost_) return Lost;
  lastFrame_ = pixels;
  owner_.FramePresented();
  return Presented;
}

void THeadlessPresenter::SetGammaRamp(const uint16_t* ramp) { std::copy(ramp, ramp + 768, ramp_); }

bool THeadlessPresenter::Restore() {
  lost_ = false;
  return true;
}

THeadlessPlatform::THeadlessPlatform() = default;

THeadlessPlatform::~THeadlessPlatform() = default;

bool THeadlessPlatform::CreateMainWindow(TFormBase*) {
  windowOpen_ = true;
  return true;
}

void THeadlessPlatform::PostUserMessage() {
  Event e;
  e.type = EventType::User;
  events_.push_back(e);
}

bool THeadlessPlatform::NextEvent(Event& event, int timeoutMs) {
  if (startHook_) {
    auto hook = std::move(startHook_);
    startHook_ = nullptr;
    hook();
  }
  if (events_.empty()) {
    // Waiting for an event that no script will send: let the virtual time pass.
    if (timeoutMs > 0) Sleep(static_cast<uint32_t>(timeoutMs));
    return false;
  }
  event = events_.front();
  events_.pop_front();
  return true;
}

void THeadlessPlatform::ShowMessageBox(const std::string& text, const std::string& caption) {
  messages_.push_back(text);
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

TPresenter* THeadlessPlatform::OpenDisplay(int width, int height, int) {
  if (failOpenDisplay_) {
    failOpenDisplay_ = false;
    return nullptr;
  }
  presenters_.push_back(std::make_unique<THeadlessPresenter>(*this, width, height));
  presenter_ = presenters_.back().get();
  uint16_t ramp[768];
  FillIdentityRamp(ramp);
  presenter_->SetGammaRamp(ramp);
  return presenter_;
}

void THeadlessPlatform::FramePresented() {
  now_ = std::max(now_, pacer_.NextDeadline(now_));
  ++frames_;
  if (presentHook_) presentHook_(frames_);
}

}  // namespace platform
