// The text members of TGame: the device context's rules over the text engine. Nothing is drawn
// while the display's surfaces are lost.
#include "gfx/Text.h"
#include "game/Game.h"

namespace {

bool SurfacesLost(const TGame& game) { return game.DirectDraw && game.DirectDraw->Lost(); }

}  // namespace

void TGame::DrawText(std::string_view text, int x, int y, uint32_t colour, TSurface* surface,
                     TFont* font) {
  if (!SurfacesLost(*this)) DrawString(text, x, y, colour, surface, font);
}

void TGame::DrawTextN(std::string_view text, int x, int y, uint32_t colour, TSurface* surface,
                      TFont* font, int count) {
  if (count <= 0) return;
  DrawText(text.substr(0, static_cast<size_t>(count)), x, y, colour, surface, font);
}

int TGame::WrapText(std::string_view text, int width, int right, int x, int y0, int step,
                    uint32_t colour, TFont* font) {
  const std::vector<std::string_view> lines = SplitTextLines(
      text, width, [&](std::string_view line) { return x + TextInk(line, font).Right <= right; });
  const int last = static_cast<int>(lines.size()) - 1;
  for (int line = 0; line < last; ++line) {
    DrawTextN(lines[line], x, y0 + step * line, colour, BackBuffer, font,
              static_cast<int>(lines[line].size()));
  }
  DrawText(lines[last], x, y0 + step * last, colour, BackBuffer, font);
  return last;
}
