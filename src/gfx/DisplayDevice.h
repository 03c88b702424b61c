// The display device: the screen's two buffers and their page flip, the device's gamma ramp, and
// the loss and restoring of the device's resources. It stands where the game expects its
// exclusive full-screen display and hands finished frames to the platform's presenter.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/Surface.h"
#include "platform/Platform.h"

class TDisplayDevice;

// The gamma control of the visible surface.
class TGammaControl {
 public:
  explicit TGammaControl(TDisplayDevice& device) : device_(device) {}
  int32_t GetGammaRamp(uint32_t flags, uint16_t* ramp) const;  // 3 x 256 entries
  int32_t SetGammaRamp(uint32_t flags, const uint16_t* ramp);

 private:
  TDisplayDevice& device_;
};

class TDisplayDevice {
 public:
  TDisplayDevice();
  ~TDisplayDevice();

  // Switches to the display mode and creates the visible surface with one back buffer.
  int32_t SetDisplayMode(int width, int height, int bitsPerPixel);
  TSurface* PrimarySurface() { return primary_.get(); }
  TSurface* BackBuffer() { return back_.get(); }
  TGammaControl* GammaControl() { return primary_ ? &gamma_ : nullptr; }

  // Shows the back buffer; afterwards the back buffer holds the frame shown before.
  int32_t Flip();
  // Recreates what a loss destroyed (the visible surface and its back buffer).
  int32_t RestorePrimary();
  // While lost, blits into the back buffer fail as the lost surfaces do.
  bool Lost() const { return lost_; }

 private:
  friend class TGammaControl;

  platform::TPresenter* presenter_ = nullptr;
  std::unique_ptr<TSurface> primary_;
  std::unique_ptr<TSurface> back_;
  TGammaControl gamma_;
  uint16_t ramp_[768];
  bool lost_ = false;
};
