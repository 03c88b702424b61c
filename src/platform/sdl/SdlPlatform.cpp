#include "platform/sdl/SdlPlatform.h"
#include "platform/sdl/TextBox.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <type_traits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/Clock.h"
#include "platform/Screen.h"

// After the project's own headers: the X library's headers, which this one brings in, define
// short macro names (None, Status, Bool, True, False) that must not reach them.
#include <SDL_syswm.h>

namespace platform {

// ---------------------------------------------------------------- presenter

namespace {

// True for an OpenGL renderer whose OpenGL is drawn by the processor (Mesa's llvmpipe and its
// kin: a virtual X server, a machine without a graphics driver). Showing a frame through it
// costs several times what SDL's own software renderer needs to copy the frame into the window.
bool DrawsThroughSoftwareGl(SDL_Renderer* renderer) {
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) {
    return false;
  }
  // The renderer's context is current once it is created.
  using TGetString = const unsigned char* (*)(unsigned);
  constexpr unsigned kGlRenderer = 0x1F01;
  auto getString = reinterpret_cast<TGetString>(SDL_GL_GetProcAddress("glGetString"));
  const auto* name = getString ? reinterpret_cast<const char*>(getString(kGlRenderer)) : nullptr;
  if (!name) return false;
  for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"}) {
    if (std::strstr(name, software)) return true;
  }
  return false;
}

// RGB565 to XRGB8888 as SDL 2 converts it: red and blue scaled to 0..255 and rounded down
// (v * 255 / 31 is (v * 1053) >> 7 for every 5-bit v), green from SDL's own table, which is
// 4 * v + v / 24. Eight pixels at a time where the processor allows. Whether this SDL still
// converts so is checked once (ConversionMatchesSdl) before it is used.
// With `stream`, rows that start on 16 bytes are written past the caches: the window's surface
// is read next by the display server, not by this process, and fetching its lines first only
// to overwrite them was half of the conversion's time.
void ConvertRow(const uint16_t* in, uint32_t* out, int n, bool stream) {
  int i = 0;
#if defined(__SSE2__)
  stream = stream && (reinterpret_cast<uintptr_t>(out) & 15) == 0;
  auto store = [stream](uint32_t* at, __m128i v) {
    if (stream)
      _mm_stream_si128(reinterpret_cast<__m128i*>(at), v);
    else
      _mm_storeu_si128(reinterpret_cast<__m128i*>(at), v);
  };
  const __m128i mask5 = _mm_set1_epi16(31), mask6 = _mm_set1_epi16(63);
  const __m128i scale5 = _mm_set1_epi16(1053), by24 = _mm_set1_epi16(43);
  for (; i + 8 <= n; i += 8) {
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const __m128i r = _mm_srli_epi16(_mm_mullo_epi16(_mm_srli_epi16(p, 11), scale5), 7);
    const __m128i g6 = _mm_and_si128(_mm_srli_epi16(p, 5), mask6);
    const __m128i g =
        _mm_add_epi16(_mm_slli_epi16(g6, 2), _mm_srli_epi16(_mm_mullo_epi16(g6, by24), 10));
    const __m128i b = _mm_srli_epi16(_mm_mullo_epi16(_mm_and_si128(p, mask5), scale5), 7);
    const __m128i greenBlue = _mm_or_si128(_mm_slli_epi16(g, 8), b);
    store(out + i, _mm_unpacklo_epi16(greenBlue, r));
    store(out + i + 4, _mm_unpackhi_epi16(greenBlue, r));
  }
#endif
  for (; i < n; ++i) {
    const uint32_t p = in[i], g6 = (p >> 5) & 63;
    out[i] =
        ((p >> 11) * 1053 >> 7) << 16 | ((g6 << 2) + (g6 * 43 >> 10)) << 8 | ((p & 31) * 1053 >> 7);
  }
}

// Every RGB565 value converted by ConvertRow and by SDL, compared (once per run).
bool ConversionMatchesSdl() {
  static const bool matches = [] {
    std::vector<uint16_t> all(65536);
    for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<uint16_t>(i);
    std::vector<uint32_t> ours(all.size()), sdl(all.size());
    ConvertRow(all.data(), ours.data(), static_cast<int>(all.size()), false);
    constexpr int kSide = 256;
    if (SDL_ConvertPixels(kSide, kSide, SDL_PIXELFORMAT_RGB565, all.data(), kSide * 2,
                          SDL_PIXELFORMAT_XRGB8888, sdl.data(), kSide * 4) != 0) {
      return false;
    }
    for (size_t i = 0; i < all.size(); ++i) {
      if ((sdl[i] & 0xFFFFFF) != ours[i]) return false;
    }
    return true;
  }();
  return matches;
}

}  // namespace

TSdlPresenter::TSdlPresenter(SDL_Window* window, int width, int height)
    : window_(window), width_(width), height_(height) {
  FillIdentityRamp(ramp_);
}

TSdlPresenter::~TSdlPresenter() { DestroyResources(); }

bool TSdlPresenter::Open() { return CreateResources(); }

bool TSdlPresenter::CreateResources() {
#if defined(__EMSCRIPTEN__)
  // A web page shows frames only through its own screen, which takes the 16-bit frame as it is.
  // (SDL's renderers would also wait inside SDL's function pointers, which the browser build
  // does not prepare for waiting: cmake/WebAsyncify.cmake.)
  page_ = OpenPageScreen(width_, height_);
  if (page_) page_->SetGammaRamp(rampIdentity_ ? nullptr : ramp_);
  return page_ != nullptr;
#endif
  if (HasGraphicsDevice()) {
    renderer_ =
        SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  }
  if (renderer_ && DrawsThroughSoftwareGl(renderer_)) {
    SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
  }
  if (!renderer_) {
    // The software renderer draws into the window's own surface; without this hint SDL would
    // show that surface through an OpenGL texture again.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  }
  if (!renderer_) return false;
  SDL_RendererInfo created;
  convertsHere_ = SDL_GetRendererInfo(renderer_, &created) == 0 &&
                  (created.flags & SDL_RENDERER_SOFTWARE) && ConversionMatchesSdl();
  SDL_RenderSetLogicalSize(renderer_, width_, height_);
  texture565_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                  width_, height_);
  texture888_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING,
                                  width_, height_);
  if (!texture565_ || !texture888_) {
    DestroyResources();
    return false;
  }
  UpdateScaling();
  // Vsync paces the game only where it really waits for a 60 Hz display; elsewhere (other
  // refresh rates, software rendering, a virtual X server) our own limiter keeps 60 frames.
  SDL_RendererInfo info;
  SDL_DisplayMode mode;
  useVsync_ = SDL_GetRendererInfo(renderer_, &info) == 0 &&
              (info.flags & SDL_RENDERER_PRESENTVSYNC) && (info.flags & SDL_RENDERER_ACCELERATED) &&
              SDL_GetWindowDisplayMode(window_, &mode) == 0 && mode.refresh_rate >= 59 &&
              mode.refresh_rate <= 61;
  return true;
}

void TSdlPresenter::UpdateScaling() {
  if (!renderer_) return;
  int w = 0, h = 0;
  SDL_GetRendererOutputSize(renderer_, &w, &h);
  // The picture is scaled by the narrower of the two ratios; it is whole when that side of the
  // output is a whole multiple of the picture's.
  const bool widthLimits = int64_t(w) * height_ <= int64_t(h) * width_;
  const bool whole =
      w >= width_ && h >= height_ && (widthLimits ? w % width_ == 0 : h % height_ == 0);
  coversOutput_ = int64_t(w) * height_ == int64_t(h) * width_;
  const SDL_ScaleMode mode = whole ? SDL_ScaleModeNearest : SDL_ScaleModeLinear;
  SDL_SetTextureScaleMode(texture565_, mode);
  SDL_SetTextureScaleMode(texture888_, mode);
}

void TSdlPresenter::DestroyResources() {
  page_.reset();
  if (texture565_) SDL_DestroyTexture(texture565_);
  if (texture888_) SDL_DestroyTexture(texture888_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  texture565_ = texture888_ = nullptr;
  renderer_ = nullptr;
}

void TSdlPresenter::SetGammaRamp(const uint16_t* ramp) {
  std::copy(ramp, ramp + 768, ramp_);
  rampIdentity_ = IsIdentityRamp(ramp_);
  // Tables from the 5- and 6-bit channels through the ramp to 8 bits.
  for (int i = 0; i < 32; ++i) {
    int v8 = (i << 3) | (i >> 2);
    red_[i] = uint32_t(ramp_[v8] >> 8) << 16;
    blue_[i] = uint32_t(ramp_[512 + v8] >> 8);
  }
  for (int i = 0; i < 64; ++i) {
    int v8 = (i << 2) | (i >> 4);
    green_[i] = uint32_t(ramp_[256 + v8] >> 8) << 8;
  }
  if (page_) page_->SetGammaRamp(rampIdentity_ ? nullptr : ramp_);
  rampPending_ = true;
}

void TSdlPresenter::Upload(const uint16_t* pixels) {
  direct_ = false;
  if (page_) {
    page_->Upload(pixels);
    return;
  }
  if (Shows565()) {
    SDL_UpdateTexture(texture565_, nullptr, pixels, width_ * 2);
    return;
  }
  if (SDL_Surface* window = DirectTarget()) {
    if (SDL_MUSTLOCK(window) && SDL_LockSurface(window) != 0) return;
    ConvertInto(pixels, window->pixels, window->pitch, true);
    if (SDL_MUSTLOCK(window)) SDL_UnlockSurface(window);
    direct_ = true;
    return;
  }
  void* locked = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture888_, nullptr, &locked, &pitch) != 0) return;
  ConvertInto(pixels, locked, pitch, false);
  SDL_UnlockTexture(texture888_);
}

// The frame as XRGB8888 rows `pitch` bytes apart: through the ramp's tables while a ramp other
// than the identity is set, else as SDL itself would convert it (see ConvertRow for `stream`).
void TSdlPresenter::ConvertInto(const uint16_t* pixels, void* out, int pitch, bool stream) const {
  for (int y = 0; y < height_; ++y) {
    const uint16_t* in = pixels + static_cast<size_t>(y) * width_;
    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(out) + size_t(y) * pitch);
    if (rampIdentity_) {
      ConvertRow(in, row, width_, stream);
      continue;
    }
    for (int x = 0; x < width_; ++x) {
      const uint16_t p = in[x];
      row[x] = red_[p >> 11] | green_[(p >> 5) & 63] | blue_[p & 31];
    }
  }
#if defined(__SSE2__)
  if (stream) _mm_sfence();  // the streamed rows are in memory before the server is told
#endif
}

// SDL's software renderer draws into the window's own surface. Where that surface is the
// picture's size and format, the frame is converted straight into it, and the renderer's copy
// of a texture into the window (a third of the game's time) is left out.
SDL_Surface* TSdlPresenter::DirectTarget() const {
  if (!convertsHere_) return nullptr;
  SDL_Surface* window = SDL_GetWindowSurface(window_);
  if (!window || window->w != width_ || window->h != height_ ||
      window->format->format != SDL_PIXELFORMAT_XRGB8888) {
    return nullptr;
  }
  return window;
}

void TSdlPresenter::Show() {
  if (page_) {
    page_->Show();
  } else {
    // The bars beside a picture of another shape need clearing; a picture that fills the output
    // covers every pixel of it (clearing costs the software renderer as much as the copy).
    if (!direct_) {
      if (!coversOutput_) {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
      }
      SDL_RenderCopy(renderer_, Shows565() ? texture565_ : texture888_, nullptr, nullptr);
    }
    SDL_RenderPresent(renderer_);
  }
  lastShown_ = MonotonicNanoseconds();
}

bool TSdlPresenter::Usable() const {
  return !lost_ && (page_ ? !page_->Lost() : renderer_ != nullptr);
}

void TSdlPresenter::ToPicture(int& x, int& y) const {
  int w = 0, h = 0;
  if (!page_ || (SDL_GetWindowSize(window_, &w, &h), w <= 0 || h <= 0)) return;
  const TPicturePlace place(w, h, width_, height_);
  x = place.PictureX(x);
  y = place.PictureY(y);
}

void TSdlPresenter::ShowInTime() {
  if (ShowAtDisplayFrame([](void* self) { static_cast<TSdlPresenter*>(self)->Show(); }, this)) {
    return;
  }
  if (!useVsync_) {
    const uint64_t now = MonotonicNanoseconds();
    const uint64_t deadline = pacer_.NextDeadline(now);
    if (deadline > now) SleepUntil(deadline);
  }
  Show();
}

TPresenter::Result TSdlPresenter::Present(const uint16_t* pixels) {
  if (!Usable()) return Lost;
  if (workFrom_ != 0) workNs_ = MonotonicNanoseconds() - workFrom_;
  Upload(pixels);
  ShowInTime();
  lastPixels_ = pixels;
  ++frames_;
  rampPending_ = false;
  workFrom_ = MonotonicNanoseconds();
  return Presented;
}

void TSdlPresenter::RefreshIfDue() {
  if (!rampPending_ || !Usable() || !lastPixels_) return;
  if (MonotonicNanoseconds() - lastShown_ < TFramePacer::Period()) return;
  // A page's screen applies the ramp as it draws, to the frame it holds already.
  if (!page_) Upload(lastPixels_);
  Show();
  rampPending_ = false;
}

bool TSdlPresenter::Restore() {
  DestroyResources();
  if (!CreateResources()) {
    // The system gives a lost screen back in its own time (a page's WebGL context once the
    // browser restores it, which it can do only while the page yields to it): the game tries
    // again a display frame later, as it would draw one, rather than at once.
    if (!ShowAtDisplayFrame([](void*) {}, nullptr))
      SleepUntil(pacer_.NextDeadline(MonotonicNanoseconds()));
    return false;
  }
  lost_ = false;
  lastPixels_ = nullptr;
  return true;
}

// ---------------------------------------------------------------- platform

TSdlPlatform::TSdlPlatform() {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
}

TSdlPlatform::~TSdlPlatform() {
  presenter_.reset();
  CloseMainWindow();
}

void TSdlPlatform::SetTitle(const std::string& title) {
  title_ = title;
  if (window_) SDL_SetWindowTitle(window_, title_.c_str());
}

bool TSdlPlatform::CreateMainWindow(TFormBase*) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::fprintf(stderr, "Kelvora: %s\n", SDL_GetError());
    return false;
  }
  userEventType_ = SDL_RegisterEvents(1);
  window_ = SDL_CreateWindow(title_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1024,
                             768, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (!window_) std::fprintf(stderr, "Kelvora: %s\n", SDL_GetError());
  return window_ != nullptr;
}

void TSdlPlatform::CloseMainWindow() {
  presenter_.reset();
  if (window_) {
    // A window leaves full screen before it goes, and the system gets a frame to answer: a
    // browser reports the change later, and SDL would take the report for a window it has freed.
    if (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) {
      SDL_SetWindowFullscreen(window_, 0);
      SleepUntil(MonotonicNanoseconds() + TFramePacer::Period());
      SDL_PumpEvents();
    }
    SDL_DestroyWindow(window_);
    window_ = nullptr;
  }
}

bool TSdlPlatform::IsMinimised() {
  return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED);
}

void TSdlPlatform::PostUserMessage() {
  SDL_Event e{};
  e.type = userEventType_;
  SDL_PushEvent(&e);
}

namespace {

// Keys by their position, as Windows virtual-key codes are: the digit row gives 48..57 on every
// keyboard layout.
int VirtualKey(SDL_Scancode sc) {
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
  if (sc == SDL_SCANCODE_0) return '0';
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return 112 + (sc - SDL_SCANCODE_F1);
  switch (sc) {
    case SDL_SCANCODE_ESCAPE:
      return 27;
    case SDL_SCANCODE_RETURN:
      return 13;
    case SDL_SCANCODE_SPACE:
      return 32;
    case SDL_SCANCODE_TAB:
      return 9;
    case SDL_SCANCODE_BACKSPACE:
      return 8;
    case SDL_SCANCODE_LEFT:
      return 37;
    case SDL_SCANCODE_UP:
      return 38;
    case SDL_SCANCODE_RIGHT:
      return 39;
    case SDL_SCANCODE_DOWN:
      return 40;
    default:
      return 0;
  }
}

bool Button(uint8_t sdlButton, MouseButton& out) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT:
      out = MouseButton::Left;
      return true;
    case SDL_BUTTON_RIGHT:
      out = MouseButton::Right;
      return true;
    case SDL_BUTTON_MIDDLE:
      out = MouseButton::Middle;
      return true;
    default:
      return false;
  }
}

// Alt+Enter and F11 switch between full screen and a window; the game never sees them.
bool IsModeSwitch(const SDL_KeyboardEvent& key) {
  const SDL_Scancode sc = key.keysym.scancode;
  return sc == SDL_SCANCODE_F11 || ((sc == SDL_SCANCODE_RETURN || sc == SDL_SCANCODE_KP_ENTER) &&
                                    (key.keysym.mod & KMOD_ALT));
}

}  // namespace

bool TSdlPlatform::Translate(const SDL_Event& in, Event& out) {
  auto clampX = [](int x) { return std::clamp(x, 0, 1023); };
  auto clampY = [](int y) { return std::clamp(y, 0, 767); };
  if (in.type == userEventType_) {
    out.type = EventType::User;
    return true;
  }
  switch (in.type) {
    case SDL_QUIT:
      out.type = EventType::Close;
      return true;
    case SDL_KEYDOWN:
      if (IsModeSwitch(in.key)) {
        if (!in.key.repeat) {
          mode_.FullScreen = !mode_.FullScreen;
          ApplyWindowMode();
        }
        return false;
      }
      out.type = EventType::KeyDown;
      out.key = VirtualKey(in.key.keysym.scancode);
      return out.key != 0;
    case SDL_WINDOWEVENT:
      return TranslateWindowEvent(in.window);
    case SDL_MOUSEMOTION:
      out.x = in.motion.x;
      out.y = in.motion.y;
      if (presenter_) presenter_->ToPicture(out.x, out.y);
      TrackPointer(out.x, out.y);
      out.type = EventType::MouseMove;
      out.x = clampX(out.x);
      out.y = clampY(out.y);
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      out.type = in.type == SDL_MOUSEBUTTONDOWN ? EventType::MouseDown : EventType::MouseUp;
      out.x = in.button.x;
      out.y = in.button.y;
      if (presenter_) presenter_->ToPicture(out.x, out.y);
      out.x = clampX(out.x);
      out.y = clampY(out.y);
      return Button(in.button.button, out.button);
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      if (presenter_) presenter_->MarkLost();
      return false;
    default:
      return false;
  }
}

bool TSdlPlatform::NextEvent(Event& event, int timeoutMs) {
  SDL_Event e;
  uint64_t until = MonotonicNanoseconds() + uint64_t(std::max(timeoutMs, 0)) * 1'000'000;
  while (true) {
    int remainingMs =
        static_cast<int>((until - std::min(until, MonotonicNanoseconds())) / 1'000'000);
    int got = remainingMs > 0 ? SDL_WaitEventTimeout(&e, remainingMs) : SDL_PollEvent(&e);
    if (!got) return false;
    event = Event{};
    if (Translate(e, event)) return true;
  }
}

void TSdlPlatform::ShowMessageBox(const std::string& text, const std::string& caption) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
#if defined(SDL_VIDEO_DRIVER_X11) && !defined(__EMSCRIPTEN__)
  // SDL's box on X11 writes with the X server's core fonts, which may lack the game's quotes and
  // letters: the game draws its own box where it can.
  if (ShowTextBox(caption, text)) return;
#endif
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption.c_str(), text.c_str(), window_);
}

#if defined(SDL_VIDEO_DRIVER_X11)
namespace {

// The few calls of the X library that look at and place the window. They are taken at run time
// from the X library SDL itself has loaded, so the game does not link it; null where it is not.
struct TXlib {
  decltype(&XSync) sync = nullptr;
  decltype(&XGetWindowAttributes) getAttributes = nullptr;
  decltype(&XTranslateCoordinates) translate = nullptr;
  decltype(&XMoveResizeWindow) moveResize = nullptr;
  decltype(&XRaiseWindow) raise = nullptr;
};

const TXlib* Xlib() {
  static const TXlib lib = [] {
    TXlib l;
    if (void* so = SDL_LoadObject("libX11.so.6")) {
      auto take = [so](auto& fn, const char* name) {
        fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(SDL_LoadFunction(so, name));
      };
      take(l.sync, "XSync");
      take(l.getAttributes, "XGetWindowAttributes");
      take(l.translate, "XTranslateCoordinates");
      take(l.moveResize, "XMoveResizeWindow");
      take(l.raise, "XRaiseWindow");
    }
    SDL_ClearError();
    return l;
  }();
  const bool complete =
      lib.sync && lib.getAttributes && lib.translate && lib.moveResize && lib.raise;
  return complete ? &lib : nullptr;
}

}  // namespace
#endif

// SDL takes a window in full screen to have the display's size once it has asked the window
// manager for that, and sizes the renderer's output so. With no window manager running (a bare
// X session, a kiosk) nobody answers: the window keeps its size and place, and only the
// top-left part of a picture drawn for the whole display reaches the screen. Where the window
// really has another size than SDL's, or lies elsewhere than over the display, it is put over
// the display here, as a window manager would; X applies that at once when no window manager
// stands between.
void TSdlPlatform::CoverDisplay() {
#if defined(SDL_VIDEO_DRIVER_X11)
  if (!mode_.FullScreen || (SDL_GetWindowFlags(window_) & SDL_WINDOW_HIDDEN)) return;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window_, &info) || info.subsystem != SDL_SYSWM_X11) return;
  const TXlib* x = Xlib();
  SDL_Rect display;
  if (!x || SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window_), &display) != 0) return;
  Display* server = info.info.x11.display;
  const Window window = info.info.x11.window;
  int width = 0, height = 0;
  SDL_GetWindowSize(window_, &width, &height);
  XWindowAttributes real;
  int left = 0, top = 0;
  Window child;
  x->sync(server, False);
  if (!x->getAttributes(server, window, &real) ||
      !x->translate(server, window, real.root, 0, 0, &left, &top, &child)) {
    return;
  }
  if (real.width == width && real.height == height && left == display.x && top == display.y) return;
  x->moveResize(server, window, display.x, display.y, unsigned(width), unsigned(height));
  x->raise(server, window);
  x->sync(server, False);
#endif
}

bool TSdlPlatform::TranslateWindowEvent(const SDL_WindowEvent& e) {
  if (e.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
    if (presenter_) presenter_->UpdateScaling();
    if (!mode_.FullScreen && !(SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN)) {
      mode_.Width = e.data1;
      mode_.Height = e.data2;
    }
  }
  return false;
}

void TSdlPlatform::ShowSystemCursor(bool show) {
  cursorWanted_ = show;
  cursorShown_ = show;
  SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void TSdlPlatform::TrackPointer(int logicalX, int logicalY) {
  const bool outside = logicalX < 0 || logicalY < 0 || logicalX >= 1024 || logicalY >= 768;
  const bool show = cursorWanted_ || outside;
  if (show == cursorShown_) return;
  cursorShown_ = show;
  SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void TSdlPlatform::SetWindowMode(const TWindowMode& mode) {
  mode_ = mode;
  mode_.Width = std::clamp(mode_.Width, 320, 16384);
  mode_.Height = std::clamp(mode_.Height, 240, 16384);
  if (presenter_) ApplyWindowMode();
}

void TSdlPlatform::ApplyWindowMode() {
  if (!window_) return;
  if (mode_.FullScreen && !SystemOwnsFullScreen()) {
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    CoverDisplay();
  } else {
    SDL_SetWindowFullscreen(window_, 0);
    SDL_SetWindowSize(window_, mode_.Width, mode_.Height);
  }
  if (presenter_) presenter_->UpdateScaling();
}

TPresenter* TSdlPlatform::OpenDisplay(int width, int height, int bitsPerPixel) {
  if (!window_ || bitsPerPixel != 16) return nullptr;
  ApplyWindowMode();
  SDL_ShowWindow(window_);
  CoverDisplay();  // full screen was asked for while the window was hidden
  auto presenter = std::make_unique<TSdlPresenter>(window_, width, height);
  if (!presenter->Open()) {
    std::fprintf(stderr, "Kelvora: %s\n", SDL_GetError());
    return nullptr;
  }
  presenter_ = std::move(presenter);
  return presenter_.get();
}

uint64_t TSdlPlatform::NowNanoseconds() { return MonotonicNanoseconds(); }

// While the game sleeps (the fades, the banners), the screen still follows the gamma ramp.
void TSdlPlatform::Sleep(uint32_t ms) {
  const uint64_t until = MonotonicNanoseconds() + uint64_t(ms) * 1'000'000;
  const uint64_t slice = TFramePacer::Period() / 4;
  while (true) {
    if (presenter_) presenter_->RefreshIfDue();
    uint64_t now = MonotonicNanoseconds();
    if (now >= until) return;
    SleepUntil(std::min(until, now + slice));
  }
}

}  // namespace platform
