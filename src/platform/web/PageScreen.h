// The web page's own way to the screen. SDL's renderer in a page (OpenGL ES 2 on WebGL) has no
// 16-bit texture, so it would turn every RGB565 frame into 32 bits in the program before
// uploading it; this screen uploads the frame as it is, straight from the program's memory, and
// WebGL draws it scaled into the page's canvas, through the gamma ramp in its shader while a
// ramp other than the identity is set.
#pragma once

#include <cstdint>
#include <memory>

namespace platform {

// Where a picture of `width` x `height` lies in an output of `outWidth` x `outHeight`: as large
// as it fits with its shape kept, in the middle.
struct TPicturePlace {
  int X = 0, Y = 0, Width = 0, Height = 0;
  double Scale = 1;

  TPicturePlace(int outWidth, int outHeight, int width, int height) {
    Scale = outWidth * double(height) <= outHeight * double(width) ? double(outWidth) / width
                                                                   : double(outHeight) / height;
    Width = int(width * Scale);
    Height = int(height * Scale);
    X = (outWidth - Width) / 2;
    Y = (outHeight - Height) / 2;
  }
  // An output point in the picture's pixels (outside it, beyond its edges).
  int PictureX(int x) const { return int((x - X) / Scale); }
  int PictureY(int y) const { return int((y - Y) / Scale); }
};

class TPageScreen {
 public:
  virtual ~TPageScreen() = default;
  // True once the browser has taken the drawing context away; a new screen can be opened once
  // it gives it back.
  virtual bool Lost() const = 0;
  // The frame (rows of `width` RGB565 pixels) shown next; it must stay untouched until then.
  virtual void Upload(const uint16_t* pixels) = 0;
  // The gamma ramp (3 x 256 entries) the picture is shown through; null for the identity.
  virtual void SetGammaRamp(const uint16_t* ramp) = 0;
  // Draws the last frame into the canvas, scaled to it (sharp pixels at whole scales, smoothed at
  // others), the bars beside it black.
  virtual void Show() = 0;
};

// The screen of a `width` x `height` picture in the page's canvas; null where the page gives no
// WebGL.
std::unique_ptr<TPageScreen> OpenPageScreen(int width, int height);

}  // namespace platform
