// Text output: the game's nine fonts, drawing UTF-8 texts onto surfaces with a transparent
// background, the cache of rendered strings, and the line breaking of WrapText.
// The game draws through its members DrawText, DrawTextN and WrapText (game/Text.cpp).
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

#include "gfx/Font.h"
#include "gfx/Rect.h"
#include "gfx/Surface.h"

// The font table, created by CreateFonts and kept for the whole run.
extern TFont* FontInfo;
extern TFont* FontStatus;
extern TFont* FontPanel;
extern TFont* FontHuge;
extern TFont* FontLarge;
extern TFont* FontLevel;
extern TFont* FontLevelTitle;
extern TFont* FontSmall;
extern TFont* FontThin;

// Creates the nine fonts in table order (finding and reading their files); a second call does
// nothing. Needs no SDL initialisation.
void CreateFonts();

// True when at least one font of the table could be opened: a system without any font file the
// game can read writes no text at all.
bool AnyFontUsable();

// Draws a text (UTF-8, ending at the first zero byte) with its cell's top left at (x, y) in a
// Windows colour reference; the background stays as it was. A text with a letter the font lacks
// is drawn in the font's fallback (TFont::Fallback). Nothing is drawn without a surface or a
// usable font.
void DrawString(std::string_view text, int x, int y, uint32_t colour, TSurface* surface,
                const TFont* font);

// Where DrawString puts the ink of `text` drawn at (0, 0): the box of the pixels it colours,
// right and bottom exclusive; an empty box where it colours none. The game's own measure of a
// text (its layout and the tests of what fits).
TRect TextInk(std::string_view text, const TFont* font);

// The lines WrapText draws a UTF-8 text in (width W, and a room the line must `fit`): each line
// but the last ends just after the last blank among its first W + 1 characters that leaves a line
// that fits, or where none does, the last blank among them; when there is none, after W + 1
// characters. The last line is what remains once it is at most W long and fits, or at most W
// long with no blank that leaves a line that fits (possibly empty). A character is what the reader
// sees as one: a letter with its combining marks. A negative width counts as 0. Czech lines of W
// characters fit the game's rooms; letters of other scripts may be wider, and their lines end
// earlier.
std::vector<std::string_view> SplitTextLines(
    std::string_view text, int width,
    const std::function<bool(std::string_view)>& fits = [](std::string_view) { return true; });

// Rendered strings are kept by font, colour and text, the least recently drawn going first
// once either bound is reached.
constexpr size_t kTextCacheMaxEntries = 512;
constexpr size_t kTextCacheMaxBytes = size_t{4} << 20;
void ClearTextCache();
size_t TextCacheEntries();
