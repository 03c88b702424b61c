// The sound back end of the headless platform: plays nothing, remembers what it was asked to do.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace platform {

class THeadlessSound : public TSoundBackend {
 public:
  struct TCall {
    std::string Operation;  // "Init", "LoadSample", "PlaySound", "StopSound", "LoadSong", ...
    std::string File;       // the file of the sample or song the call concerns, if any
    int Value = 0;          // channel or volume, where the call has one
  };

  THeadlessSound();
  ~THeadlessSound() override;

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

  const std::vector<TCall>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // The file a handle was loaded from ("" for null).
  static std::string FileOf(const SoundSample* sample);
  static std::string FileOf(const SoundSong* song);

 private:
  void Record(std::string operation, std::string file, int value = 0);

  std::vector<TCall> calls_;
  std::vector<std::unique_ptr<SoundSample>> samples_;
  std::vector<std::unique_ptr<SoundSong>> songs_;
  static constexpr int kChannels = 64;
  bool playing_[kChannels] = {};
  int nextChannel_ = 0;
};

}  // namespace platform
