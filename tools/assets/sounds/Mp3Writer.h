// MP3 encoding with LAME. The output is the same bytes on every run: no ID3 tag, no date, and
// the LAME info frame (which carries the encoder delay and padding, so that decoders give back
// exactly the samples that went in: a loop stays seamless).
#pragma once

#include <cstdint>
#include <vector>

#include "Render.h"

namespace sounds {

std::vector<uint8_t> EncodeMp3(const TStereo& audio, int kilobitsPerSecond);
std::vector<uint8_t> EncodeMp3(const std::vector<float>& mono, int kilobitsPerSecond);

}  // namespace sounds
