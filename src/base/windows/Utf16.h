// Windows' wide (UTF-16) strings and the UTF-8 the game's code keeps paths in.
#pragma once

#include <string>

std::wstring Utf16FromUtf8(const std::string& text);
std::string Utf8FromUtf16(const std::wstring& text);
