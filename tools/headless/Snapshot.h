// The `shot` command: the last presented frame, through the gamma ramp, as a PNG file.
#pragma once

#include <string>

#include "platform/headless/HeadlessPlatform.h"

// Writes the file whole or not at all; a black picture before the first frame.
bool WriteSnapshot(platform::THeadlessPlatform& platform, const std::string& file);
