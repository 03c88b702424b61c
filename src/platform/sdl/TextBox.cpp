#include "platform/sdl/TextBox.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "base/Translation.h"
#include "platform/FontFiles.h"

namespace {

constexpr int kMargin = 20;
constexpr int kTextWidth = 460;
constexpr int kButtonWidth = 90, kButtonHeight = 30;
constexpr SDL_Color kInk{0, 0, 0, 255};

// The lines `text` takes in `width` pixels: its own lines, each broken at blanks.
std::vector<std::string> Lines(TTF_Font* font, const std::string& text, int width) {
  std::vector<std::string> lines;
  size_t from = 0;
  while (from <= text.size()) {
    size_t end = text.find('\n', from);
    if (end == std::string::npos) end = text.size();
    std::string line;
    for (size_t at = from; at < end;) {
      size_t blank = text.find(' ', at);
      if (blank == std::string::npos || blank > end) blank = end;
      const std::string word = text.substr(at, blank - at);
      const std::string longer = line.empty() ? word : line + " " + word;
      int w = 0;
      TTF_SizeUTF8(font, longer.c_str(), &w, nullptr);
      if (w > width && !line.empty()) {
        lines.push_back(line);
        line = word;
      } else {
        line = longer;
      }
      at = blank + 1;
    }
    lines.push_back(line);
    from = end + 1;
  }
  return lines;
}

void Put(SDL_Surface* target, TTF_Font* font, const std::string& text, int x, int y) {
  if (text.empty()) return;
  SDL_Surface* drawn = TTF_RenderUTF8_Blended(font, text.c_str(), kInk);
  if (!drawn) return;
  SDL_Rect at{x, y, drawn->w, drawn->h};
  SDL_BlitSurface(drawn, nullptr, target, &at);
  SDL_FreeSurface(drawn);
}

struct TBox {
  SDL_Window* window = nullptr;
  TTF_Font* font = nullptr;
  std::vector<std::string> lines;
  std::string button;
  SDL_Rect buttonAt{};

  void Draw() const {
    SDL_Surface* s = SDL_GetWindowSurface(window);
    if (!s) return;
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 240, 240, 240));
    const int skip = TTF_FontLineSkip(font);
    for (size_t i = 0; i < lines.size(); ++i) {
      Put(s, font, lines[i], kMargin, kMargin + skip * static_cast<int>(i));
    }
    SDL_FillRect(s, &buttonAt, SDL_MapRGB(s->format, 120, 120, 120));
    SDL_Rect face{buttonAt.x + 1, buttonAt.y + 1, buttonAt.w - 2, buttonAt.h - 2};
    SDL_FillRect(s, &face, SDL_MapRGB(s->format, 225, 225, 225));
    int w = 0, h = 0;
    TTF_SizeUTF8(font, button.c_str(), &w, &h);
    Put(s, font, button, buttonAt.x + (buttonAt.w - w) / 2, buttonAt.y + (buttonAt.h - h) / 2);
    SDL_UpdateWindowSurface(window);
  }

  // Until the player closes the box.
  void Wait() const {
    for (SDL_Event e; SDL_WaitEvent(&e);) {
      switch (e.type) {
        case SDL_QUIT:
          return;
        case SDL_WINDOWEVENT:
          if (e.window.event == SDL_WINDOWEVENT_CLOSE) return;
          if (e.window.event == SDL_WINDOWEVENT_EXPOSED) Draw();
          break;
        case SDL_KEYDOWN: {
          const SDL_Keycode key = e.key.keysym.sym;
          if (key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_ESCAPE ||
              key == SDLK_SPACE) {
            return;
          }
          break;
        }
        case SDL_MOUSEBUTTONUP: {
          const SDL_Point at{e.button.x, e.button.y};
          if (SDL_PointInRect(&at, &buttonAt)) return;
          break;
        }
        default:
          break;
      }
    }
  }
};

}  // namespace

namespace platform {

bool ShowTextBox(const std::string& captionUtf8, const std::string& textUtf8) {
  const std::optional<TFontFile> file = FindFontFile("Arial CE", false);
  if (!file) return false;
  const bool videoBefore = SDL_WasInit(SDL_INIT_VIDEO) != 0;
  if (!videoBefore && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  const bool ttfBefore = TTF_WasInit() != 0;
  bool shown = false;
  if (ttfBefore || TTF_Init() == 0) {
    TBox box;
    box.font = TTF_OpenFontIndex(file->Path.c_str(), 16, file->Index);
    if (box.font) {
      box.lines = Lines(box.font, textUtf8, kTextWidth);
      // TRANSLATORS: the button that closes a message box.
      box.button = Tr("OK");
      const int width = kTextWidth + 2 * kMargin;
      const int textHeight = TTF_FontLineSkip(box.font) * static_cast<int>(box.lines.size());
      const int height = kMargin + textHeight + kMargin + kButtonHeight + kMargin;
      box.buttonAt = {width - kMargin - kButtonWidth, height - kMargin - kButtonHeight,
                      kButtonWidth, kButtonHeight};
      box.window = SDL_CreateWindow(captionUtf8.c_str(), SDL_WINDOWPOS_CENTERED,
                                    SDL_WINDOWPOS_CENTERED, width, height, SDL_WINDOW_SHOWN);
      if (box.window) {
        SDL_RaiseWindow(box.window);
        box.Draw();
        box.Wait();
        SDL_DestroyWindow(box.window);
        shown = true;
      }
      TTF_CloseFont(box.font);
    }
    if (!ttfBefore) TTF_Quit();
  }
  if (!videoBefore) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return shown;
}

}  // namespace platform
