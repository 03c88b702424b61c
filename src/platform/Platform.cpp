#include "platform/Platform.h"

namespace platform {

namespace {

// Where no platform is set (before the program entry sets one, after it is gone, in a tool that
// needs none): a platform that does nothing. It has no window, no display and no events; its
// sound back end loads nothing and plays nothing; messages are dropped.
class TNullSound final : public TSoundBackend {
 public:
  bool Init(int, int, unsigned) override { return false; }
  void Close() override {}
  SoundSample* LoadSample(const std::string&) override { return nullptr; }
  int PlaySound(SoundSample*) override { return -1; }
  void SetVolume(int, int) override {}
  void StopSound(int) override {}
  bool IsPlaying(int) override { return false; }
  SoundSong* LoadSong(const std::string&) override { return nullptr; }
  void PlaySong(SoundSong*) override {}
  void StopSong(SoundSong*) override {}
  void SetMasterVolume(SoundSong*, int) override {}
  bool IsFinished(SoundSong*) override { return true; }
  void FreeSample(SoundSample*) override {}
  void FreeSong(SoundSong*) override {}
};

class TNullPlatform final : public TPlatform {
 public:
  void SetTitle(const std::string&) override {}
  bool CreateMainWindow(TFormBase*) override { return false; }
  void CloseMainWindow() override {}
  bool MainWindowOpen() const override { return false; }
  bool IsMinimised() override { return false; }
  void PostUserMessage() override {}
  bool NextEvent(Event&, int) override { return false; }
  void ShowMessageBox(const std::string&, const std::string&) override {}
  void ShowSystemCursor(bool) override {}
  void SetWindowMode(const TWindowMode& mode) override { mode_ = mode; }
  TWindowMode WindowMode() const override { return mode_; }
  TPresenter* OpenDisplay(int, int, int) override { return nullptr; }
  uint64_t NowNanoseconds() override { return 0; }
  void Sleep(uint32_t) override {}
  TSoundBackend& Sound() override { return sound_; }

 private:
  TNullSound sound_;
  TWindowMode mode_;
};

// Constant-initialised, so both serve from the first static initialiser to the last destructor
// of the objects initialised after them (the game object's sound clips among them).
constinit TNullPlatform none;
constinit TPlatform* current = nullptr;

}  // namespace

TPlatform& Current() { return current ? *current : none; }

void SetCurrent(TPlatform* platform) { current = platform; }

}  // namespace platform
