#include "Mp3Writer.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace sounds {
namespace {

short ToPcm(float x) {
  return static_cast<short>(std::lround(std::clamp(x, -1.0f, 1.0f) * 32767.0f));
}

std::vector<uint8_t> Encode(const std::vector<short>& interleaved, int channels, int kbps) {
  lame_t lame = lame_init();
  if (!lame) throw std::runtime_error("LAME could not be initialised");
  lame_set_in_samplerate(lame, kSampleRate);
  lame_set_out_samplerate(lame, kSampleRate);
  lame_set_num_channels(lame, channels);
  lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
  lame_set_brate(lame, kbps);
  lame_set_quality(lame, 3);
  lame_set_bWriteVbrTag(lame, 1);
  if (lame_init_params(lame) < 0) {
    lame_close(lame);
    throw std::runtime_error("LAME rejected the encoder settings");
  }
  int frames = static_cast<int>(interleaved.size() / channels);
  std::vector<uint8_t> out(frames * 5 / 4 + 7200 + 16384);
  int written = channels == 1 ? lame_encode_buffer(lame, interleaved.data(), interleaved.data(),
                                                   frames, out.data(), static_cast<int>(out.size()))
                              : lame_encode_buffer_interleaved(
                                    lame, const_cast<short*>(interleaved.data()), frames,
                                    out.data(), static_cast<int>(out.size()));
  if (written < 0) {
    lame_close(lame);
    throw std::runtime_error("LAME failed to encode");
  }
  int flushed =
      lame_encode_flush(lame, out.data() + written, static_cast<int>(out.size()) - written);
  if (flushed < 0) {
    lame_close(lame);
    throw std::runtime_error("LAME failed to flush");
  }
  out.resize(written + flushed);
  // The first frame was left empty for the info tag; fill it in now that the totals are known.
  std::vector<uint8_t> tag(4096);
  size_t tagSize = lame_get_lametag_frame(lame, tag.data(), tag.size());
  lame_close(lame);
  if (tagSize > 0 && tagSize <= out.size()) std::copy_n(tag.begin(), tagSize, out.begin());
  return out;
}

}  // namespace

std::vector<uint8_t> EncodeMp3(const TStereo& audio, int kilobitsPerSecond) {
  std::vector<short> pcm(audio.Frames() * 2);
  for (size_t i = 0; i < audio.Frames(); ++i) {
    pcm[2 * i] = ToPcm(audio.Left[i]);
    pcm[2 * i + 1] = ToPcm(audio.Right[i]);
  }
  return Encode(pcm, 2, kilobitsPerSecond);
}

std::vector<uint8_t> EncodeMp3(const std::vector<float>& mono, int kilobitsPerSecond) {
  std::vector<short> pcm(mono.size());
  for (size_t i = 0; i < mono.size(); ++i) pcm[i] = ToPcm(mono[i]);
  return Encode(pcm, 1, kilobitsPerSecond);
}

}  // namespace sounds
