// The sound back end of the real game, over SDL_mixer: samples are Mix_Chunks played on free
// channels, songs are Mix_Music. Without an audio device every call does nothing.
#pragma once

#include "platform/Platform.h"

namespace platform {

class TSdlSound : public TSoundBackend {
 public:
  bool Init(int mixRate, int channels, unsigned flags) override;
  void Close() override;
  SoundSample* LoadSample(const std::string& file) override;
  int PlaySound(SoundSample* sample) override;
  void SetVolume(int channel, int volume) override;
  void StopSound(int channel) override;
  bool IsPlaying(int channel) override;
  SoundSong* LoadSong(const std::string& file) override;
  void PlaySong(SoundSong* song) override;
  void StopSong(SoundSong* song) override;
  void SetMasterVolume(SoundSong* song, int volume) override;
  bool IsFinished(SoundSong* song) override;
  void FreeSample(SoundSample* sample) override;
  void FreeSong(SoundSong* song) override;

 private:
  bool Open() const { return opens_ > 0; }
  int opens_ = 0;                 // successful Inits not yet matched by a Close
  SoundSong* current_ = nullptr;  // the song last started
};

}  // namespace platform
