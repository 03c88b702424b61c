// The platform layer: everything the game needs from the machine it runs on (the window and its
// message loop, the presenter that shows frames, the clock, message boxes and the sound back end).
// The game reaches it only through these interfaces; the SDL build and the headless runner each
// provide one implementation. No SDL header is included here.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

enum class MouseButton { Left, Right, Middle };

enum class EventType { KeyDown, MouseMove, MouseDown, MouseUp, User, Close };

struct Event {
  EventType type = EventType::User;
  int x = 0, y = 0;                        // mouse position in game pixels
  MouseButton button = MouseButton::Left;  // for MouseDown and MouseUp
  int key = 0;                             // Windows virtual-key code for KeyDown
};

// The application side of the main window: the handlers the message loop dispatches to.
class TFormBase {
 public:
  virtual ~TFormBase() = default;
  virtual void OnUserMessage() {}  // the posted WM_USER message
  virtual void OnKeyDown(int /*key*/) {}
  virtual void OnMouseDown(MouseButton, int /*x*/, int /*y*/) {}
  virtual void OnMouseMove(int /*x*/, int /*y*/) {}
  virtual void OnMouseUp(MouseButton, int /*x*/, int /*y*/) {}
  virtual void OnCloseRequest() {}  // the window system asked the window to close
};

// Shows finished frames. One presenter exists per opened display.
class TPresenter {
 public:
  enum Result { Presented = 0, Lost = 1 };
  virtual ~TPresenter() = default;
  // Shows a width x height RGB565 frame (rows of `width` pixels) through the gamma ramp, paced
  // at 60 frames a second. Returns Lost, without showing the frame, when the device lost its
  // resources since the last call. The pixels stay untouched until the next Present.
  virtual Result Present(const uint16_t* pixels) = 0;
  // The ramp (3 x 256 entries: red, green, blue) that frames are shown through. It takes effect
  // at once: while the game sleeps (a fade), the last frame is shown again through the new ramp.
  virtual void SetGammaRamp(const uint16_t* ramp) = 0;
  // Recreates what a loss destroyed; false while that is not possible yet.
  virtual bool Restore() = 0;
};

// The identity gamma ramp: entry i of each channel is i * 257 (0..65535).
inline void FillIdentityRamp(uint16_t* ramp) {
  for (int c = 0; c < 3; ++c) {
    for (int i = 0; i < 256; ++i) ramp[c * 256 + i] = static_cast<uint16_t>(i * 257);
  }
}

inline bool IsIdentityRamp(const uint16_t* ramp) {
  for (int c = 0; c < 3; ++c) {
    for (int i = 0; i < 256; ++i) {
      if (ramp[c * 256 + i] != static_cast<uint16_t>(i * 257)) return false;
    }
  }
  return true;
}

// Opaque handles of the sound back end.
struct SoundSample;
struct SoundSong;

// The sound library: samples decoded into memory and played on free channels, and songs played
// whole. Every call with a null handle or an invalid channel does nothing.
class TSoundBackend {
 public:
  virtual ~TSoundBackend() = default;
  virtual bool Init(int mixRate, int channels, unsigned flags) = 0;
  virtual void Close() = 0;
  virtual SoundSample* LoadSample(const std::string& file) = 0;
  virtual int PlaySound(SoundSample* sample) = 0;       // channel number, -1 when none
  virtual void SetVolume(int channel, int volume) = 0;  // 0..255
  virtual void StopSound(int channel) = 0;
  virtual bool IsPlaying(int channel) = 0;
  virtual SoundSong* LoadSong(const std::string& file) = 0;
  virtual void PlaySong(SoundSong* song) = 0;
  virtual void StopSong(SoundSong* song) = 0;
  virtual void SetMasterVolume(SoundSong* song, int volume) = 0;
  virtual bool IsFinished(SoundSong* song) = 0;
  // Releases a handle that nothing plays any more.
  virtual void FreeSample(SoundSample* sample) = 0;
  virtual void FreeSong(SoundSong* song) = 0;
};

// How the game's picture is shown: on the whole screen, or in a window of the given size.
struct TWindowMode {
  bool FullScreen = true;
  int Width = 1024;  // of the window, when not full screen
  int Height = 768;
};

class TPlatform {
 public:
  virtual ~TPlatform() = default;

  // Application and main window.
  // Texts given to the window system are UTF-8.
  virtual void SetTitle(const std::string& title) = 0;
  virtual bool CreateMainWindow(TFormBase* form) = 0;
  virtual void CloseMainWindow() = 0;
  virtual bool MainWindowOpen() const = 0;
  virtual bool IsMinimised() = 0;
  virtual void PostUserMessage() = 0;
  // Takes the next event; blocks up to timeoutMs (0: do not block). False when there is none.
  virtual bool NextEvent(Event& event, int timeoutMs) = 0;
  virtual void ShowMessageBox(const std::string& text, const std::string& caption) = 0;
  virtual void ShowSystemCursor(bool show) = 0;
  // The mode the display opens in, or switches to at once when it is open; and the mode it is in
  // now (the player may switch it, and resize the window).
  virtual void SetWindowMode(const TWindowMode& mode) = 0;
  virtual TWindowMode WindowMode() const = 0;

  // Display: switches to the game's display and returns its presenter, or null on failure.
  virtual TPresenter* OpenDisplay(int width, int height, int bitsPerPixel) = 0;

  // Time. Only Sleep and presenting advance the clock of the headless platform.
  virtual uint64_t NowNanoseconds() = 0;
  virtual void Sleep(uint32_t ms) = 0;

  virtual TSoundBackend& Sound() = 0;
};

// The platform the program runs on, set by the program entry before the game starts and reset
// (null) before that platform is destroyed. Where none is set, a platform that does nothing.
TPlatform& Current();
void SetCurrent(TPlatform* platform);

// Makes a platform the current one for as long as this object lives.
class TCurrentPlatform {
 public:
  explicit TCurrentPlatform(TPlatform& platform) { SetCurrent(&platform); }
  ~TCurrentPlatform() { SetCurrent(nullptr); }
  TCurrentPlatform(const TCurrentPlatform&) = delete;
  TCurrentPlatform& operator=(const TCurrentPlatform&) = delete;
};

}  // namespace platform
