#include "gfx/DisplayDevice.h"

#include <algorithm>

#include "gfx/Blitter.h"

int32_t TGammaControl::GetGammaRamp(uint32_t, uint16_t* ramp) const {
  std::copy(device_.ramp_, device_.ramp_ + 768, ramp);
  return DD_OK;
}

int32_t TGammaControl::SetGammaRamp(uint32_t, const uint16_t* ramp) {
  std::copy(ramp, ramp + 768, device_.ramp_);
  if (device_.presenter_) device_.presenter_->SetGammaRamp(device_.ramp_);
  return DD_OK;
}

TDisplayDevice::TDisplayDevice() : gamma_(*this) { platform::FillIdentityRamp(ramp_); }

TDisplayDevice::~TDisplayDevice() = default;

int32_t TDisplayDevice::SetDisplayMode(int width, int height, int bitsPerPixel) {
  if (width <= 0 || height <= 0 || bitsPerPixel != 16) return DDERR_INVALIDRECT;
  presenter_ = platform::Current().OpenDisplay(width, height, bitsPerPixel);
  if (!presenter_) return DDERR_NOTINITIALIZED;
  presenter_->SetGammaRamp(ramp_);
  primary_ = std::make_unique<TSurface>(width, height);
  back_ = std::make_unique<TSurface>(width, height);
  return DD_OK;
}

int32_t TDisplayDevice::Flip() {
  if (!presenter_ || !primary_) return DDERR_NOTINITIALIZED;
  if (lost_) return DDERR_SURFACELOST;
  if (presenter_->Present(back_->Pixels()) == platform::TPresenter::Lost) {
    lost_ = true;
    return DDERR_SURFACELOST;
  }
  primary_->SwapPixels(*back_);
  return DD_OK;
}

int32_t TDisplayDevice::RestorePrimary() {
  if (!presenter_) return DDERR_NOTINITIALIZED;
  if (!lost_) return DD_OK;
  if (!presenter_->Restore()) return DDERR_SURFACELOST;
  presenter_->SetGammaRamp(ramp_);
  lost_ = false;
  return DD_OK;
}
