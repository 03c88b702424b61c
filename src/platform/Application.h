// The application object of the main window: its title, the message loop that delivers events to
// the form, and the process-messages call that lets pending events through between two frames.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace platform {

class TApplication {
 public:
  void Initialize() {}
  void SetTitle(const std::string& title);
  const std::string& Title() const { return title_; }

  // Creates the form: T's constructor opens the main window through the platform.
  template <class T>
  void CreateForm(T*& form) {
    form = new T(nullptr);
    mainForm_ = form;
  }

  // Delivers events to the main form until its window has closed, then destroys the form.
  void Run();
  // Delivers every pending event. While the window is minimised it first waits for one, so a
  // loop that calls it does not spin.
  void ProcessMessages();
  void MessageBox(const std::string& text, const std::string& caption);

  TFormBase* MainForm() const { return mainForm_; }

 private:
  void Dispatch(const Event& event);

  std::string title_;
  TFormBase* mainForm_ = nullptr;
};

extern TApplication Application;

}  // namespace platform
