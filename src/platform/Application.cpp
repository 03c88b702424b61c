#include "platform/Application.h"

namespace platform {

TApplication Application;

namespace {
constexpr int kIdleWaitMs = 100;
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  Current().SetTitle(title);
}

void TApplication::Run() {
  TPlatform& p = Current();
  Event event;
  while (mainForm_ && p.MainWindowOpen()) {
    if (p.NextEvent(event, kIdleWaitMs)) Dispatch(event);
  }
  delete mainForm_;
  mainForm_ = nullptr;
}

void TApplication::ProcessMessages() {
  TPlatform& p = Current();
  Event event;
  if (p.IsMinimised() && p.NextEvent(event, kIdleWaitMs)) Dispatch(event);
  while (p.NextEvent(event, 0)) Dispatch(event);
}

void TApplication::MessageBox(const std::string& text, const std::string& caption) {
  Current().ShowMessageBox(text, caption);
}

void TApplication::Dispatch(const Event& event) {
  if (!mainForm_) return;
  switch (event.type) {
    case EventType::User:
      mainForm_->OnUserMessage();
      break;
    case EventType::KeyDown:
      mainForm_->OnKeyDown(event.key);
      break;
    case EventType::MouseMove:
      mainForm_->OnMouseMove(event.x, event.y);
      break;
    case EventType::MouseDown:
      mainForm_->OnMouseDown(event.button, event.x, event.y);
      break;
    case EventType::MouseUp:
      mainForm_->OnMouseUp(event.button, event.x, event.y);
      break;
    case EventType::Close:
      mainForm_->OnCloseRequest();
      break;
  }
}

}  // namespace platform
