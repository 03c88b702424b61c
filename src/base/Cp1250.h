// The game's files keep their texts in Windows code page 1250 (single bytes: the data files, the
// settings and the saved games); every text on its way to the screen, the window system, the
// console or the page is UTF-8, which holds any language's letters. These convert between the two
// and read UTF-8 a code point at a time.
#pragma once

#include <string>
#include <string_view>

// The code point of the UTF-8 text `text` at byte `at`, moving `at` past it. A malformed or cut
// sequence gives U+FFFD and moves one byte on.
char32_t NextCodePoint(std::string_view text, size_t& at);

// True for a combining mark (an accent, a tone mark), drawn on the letter before it: a letter and
// its marks are one character to the reader.
bool CombiningMark(char32_t cp);

// Game text (code page 1250) to UTF-8. Bytes with no character in the code page become U+FFFD.
std::string Cp1250ToUtf8(std::string_view text);

// UTF-8 to game text. Characters outside the code page, and malformed sequences, become '?'.
std::string Utf8ToCp1250(std::string_view text);
