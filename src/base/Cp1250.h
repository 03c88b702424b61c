// The game keeps every text in Windows code page 1250 (single bytes, as its data files store them).
// These convert at the edges: UTF-8 source literals into game text, game text into UTF-8 for
// rendering and for the window system.
#pragma once

#include <string>
#include <string_view>

// Game text (code page 1250) to UTF-8. Bytes with no character in the code page become U+FFFD.
std::string Cp1250ToUtf8(std::string_view text);

// UTF-8 to game text. Characters outside the code page, and malformed sequences, become '?'.
std::string Utf8ToCp1250(std::string_view text);
