#include "platform/headless/HeadlessSound.h"

#include <filesystem>

namespace platform {

struct SoundSample {
  std::string File;
};
struct SoundSong {
  std::string File;
  bool Playing = false;
};

THeadlessSound::THeadlessSound() = default;
THeadlessSound::~THeadlessSound() = default;

void THeadlessSound::Record(std::string operation, std::string file, int value) {
  calls_.push_back({std::move(operation), std::move(file), value});
}

std::string THeadlessSound::FileOf(const SoundSample* sample) { return sample ? sample->File : ""; }
std::string THeadlessSound::FileOf(const SoundSong* song) { return song ? song->File : ""; }

bool THeadlessSound::Init(int mixRate, int, unsigned) {
  Record("Init", "", mixRate);
  return true;
}

void THeadlessSound::Close() { Record("Close", ""); }

// A load succeeds when the file exists, as a real decoder would need it to.
SoundSample* THeadlessSound::LoadSample(const std::string& file) {
  std::error_code ec;
  bool ok = std::filesystem::is_regular_file(file, ec);
  Record(ok ? "LoadSample" : "LoadSampleFailed", file);
  if (!ok) return nullptr;
  samples_.push_back(std::make_unique<SoundSample>(SoundSample{file}));
  return samples_.back().get();
}

int THeadlessSound::PlaySound(SoundSample* sample) {
  if (!sample) return -1;
  int channel = nextChannel_;
  nextChannel_ = (nextChannel_ + 1) % kChannels;
  playing_[channel] = true;
  Record("PlaySound", sample->File, channel);
  return channel;
}

void THeadlessSound::SetVolume(int channel, int volume) {
  if (channel >= 0) Record("SetVolume", "", volume);
}

void THeadlessSound::StopSound(int channel) {
  if (channel < 0 || channel >= kChannels) return;
  playing_[channel] = false;
  Record("StopSound", "", channel);
}

// Nothing is mixed, so nothing ends by itself: a sample plays until its channel is stopped or
// taken by another sound.
bool THeadlessSound::IsPlaying(int channel) {
  return channel >= 0 && channel < kChannels && playing_[channel];
}

SoundSong* THeadlessSound::LoadSong(const std::string& file) {
  std::error_code ec;
  bool ok = std::filesystem::is_regular_file(file, ec);
  Record(ok ? "LoadSong" : "LoadSongFailed", file);
  if (!ok) return nullptr;
  songs_.push_back(std::make_unique<SoundSong>(SoundSong{file, false}));
  return songs_.back().get();
}

void THeadlessSound::PlaySong(SoundSong* song) {
  if (!song) return;
  song->Playing = true;
  Record("PlaySong", song->File);
}

void THeadlessSound::StopSong(SoundSong* song) {
  if (!song) return;
  song->Playing = false;
  Record("StopSong", song->File);
}

void THeadlessSound::SetMasterVolume(SoundSong* song, int volume) {
  if (song) Record("SetMasterVolume", song->File, volume);
}

// A song plays until it is stopped: the headless clock has no music to run out.
bool THeadlessSound::IsFinished(SoundSong* song) { return !song || !song->Playing; }

void THeadlessSound::FreeSample(SoundSample* sample) {
  std::erase_if(samples_, [sample](const auto& s) { return s.get() == sample; });
}

void THeadlessSound::FreeSong(SoundSong* song) {
  std::erase_if(songs_, [song](const auto& s) { return s.get() == song; });
}

}  // namespace platform
