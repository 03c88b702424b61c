// Writing files safely: the content goes to a temporary file in the same folder, which then
// replaces the old file in one step, so a crash or a full disk never leaves half a file.
#pragma once

#include <string>
#include <string_view>

bool WriteFileWhole(const std::string& path, std::string_view bytes);
