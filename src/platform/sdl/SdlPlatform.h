// The platform of the real game: an SDL window with its event queue, a presenter that scales the
// 1024 x 768 frame to the screen, the monotonic clock, and SDL_mixer for sound.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "platform/FramePacer.h"
#include "platform/Platform.h"
#include "platform/sdl/SdlSound.h"
#include "platform/web/PageScreen.h"

namespace platform {

class TSdlPresenter : public TPresenter {
 public:
  TSdlPresenter(SDL_Window* window, int width, int height);
  ~TSdlPresenter() override;
  bool Open();
  Result Present(const uint16_t* pixels) override;
  void SetGammaRamp(const uint16_t* ramp) override;
  bool Restore() override;

  // A device or render-target reset: the next Present reports the loss.
  void MarkLost() { lost_ = true; }
  // A point of the window in the picture's pixels. SDL's renderer maps the mouse's points itself;
  // a page's screen leaves them in the window's.
  void ToPicture(int& x, int& y) const;
  // The window changed size: whole-number scales are drawn with sharp pixels, others smoothed.
  void UpdateScaling();
  // Shows the last frame again through a changed ramp, at most once per frame period.
  void RefreshIfDue();
  // The frames presented so far, and the last of them (null before the first).
  uint64_t FramesPresented() const { return frames_; }
  const uint16_t* LastFrame() const { return lastPixels_; }
  // How long the game worked on the last frame: from the return of the last presentation to
  // this one.
  uint64_t LastFrameWorkNs() const { return workNs_; }

 private:
  bool CreateResources();
  void DestroyResources();
  void Upload(const uint16_t* pixels);
  void ConvertInto(const uint16_t* pixels, void* out, int pitch, bool stream) const;
  SDL_Surface* DirectTarget() const;
  // The RGB565 texture goes to the screen as it is; otherwise the frame is turned into XRGB8888
  // here: through the ramp, or for the software renderer as SDL itself would convert it.
  bool Shows565() const { return rampIdentity_ && !convertsHere_; }
  void Show();
  // Shows the uploaded frame when its display frame comes: the page's own, or the presenter's
  // pace of 60 a second (or the driver's vertical sync).
  void ShowInTime();
  // Not lost, and with a way to the screen.
  bool Usable() const;

  SDL_Window* window_;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture565_ = nullptr;
  SDL_Texture* texture888_ = nullptr;
  int width_, height_;
  bool useVsync_ = false;
  // SDL's software renderer, which converts RGB565 slowly: frames are converted here instead.
  bool convertsHere_ = false;
  bool direct_ = false;        // the last frame went straight into the window's surface
  bool coversOutput_ = false;  // the picture fills the output, with no bars to clear
  bool lost_ = false;
  bool rampIdentity_ = true;
  bool rampPending_ = false;
  const uint16_t* lastPixels_ = nullptr;
  uint64_t lastShown_ = 0;
  uint64_t frames_ = 0;
  uint64_t workFrom_ = 0;
  uint64_t workNs_ = 0;
  uint16_t ramp_[768];
  uint32_t red_[32], green_[64], blue_[32];
  TFramePacer pacer_;
  // In a web page, the page's own screen, which SDL's renderer then leaves to it.
  std::unique_ptr<TPageScreen> page_;
};

class TSdlPlatform : public TPlatform {
 public:
  TSdlPlatform();
  ~TSdlPlatform() override;

  void SetTitle(const std::string& title) override;
  bool CreateMainWindow(TFormBase* form) override;
  void CloseMainWindow() override;
  bool MainWindowOpen() const override { return window_ != nullptr; }
  bool IsMinimised() override;
  void PostUserMessage() override;
  bool NextEvent(Event& event, int timeoutMs) override;
  void ShowMessageBox(const std::string& text, const std::string& caption) override;
  void ShowSystemCursor(bool show) override;
  void SetWindowMode(const TWindowMode& mode) override;
  TWindowMode WindowMode() const override { return mode_; }
  TPresenter* OpenDisplay(int width, int height, int bitsPerPixel) override;
  uint64_t NowNanoseconds() override;
  void Sleep(uint32_t ms) override;
  TSoundBackend& Sound() override { return sound_; }
  // The game's presenter, while its display is open.
  const TSdlPresenter* Presenter() const { return presenter_.get(); }

 private:
  bool Translate(const SDL_Event& in, Event& out);
  bool TranslateWindowEvent(const SDL_WindowEvent& e);
  void ApplyWindowMode();
  // In full screen, a window that the system left at another size than SDL counts on is put
  // over the whole display.
  void CoverDisplay();
  // The system cursor shows only outside the game's picture (over the black bars), since the
  // game draws its own.
  void TrackPointer(int logicalX, int logicalY);

  std::string title_ = "Kelvora";
  SDL_Window* window_ = nullptr;
  std::unique_ptr<TSdlPresenter> presenter_;
  TSdlSound sound_;
  uint32_t userEventType_ = 0;
  TWindowMode mode_;
  bool cursorWanted_ = true;  // what the game asked for
  bool cursorShown_ = true;   // what is shown now
};

}  // namespace platform
