// TSoundClip: one playable sound, either a sample (decoded into memory, played on a free channel
// of the mixer) or a song (played whole), with a volume 0..255. The game owns five: four effects
// and the music.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"

class TSoundClip {
 public:
  enum Kind { KindSong = 0, KindSample = 1, KindByExtension = 2 };

  TSoundClip();
  // Releases what the clip still holds (see Release).
  ~TSoundClip();
  TSoundClip(const TSoundClip&) = delete;
  TSoundClip& operator=(const TSoundClip&) = delete;

  bool InitLibrary();
  // Stops the clip, frees its sample and song and closes the sound library if this clip opened
  // it. A clip that holds nothing does not reach the sound back end at all.
  void Release();
  bool Load(const std::string& file, bool loop, int kind);
  void Play();
  void Stop();
  void KeepLooping();
  void SetVolume(int32_t volume);
  bool IsFinished();

  bool IsSample = false;
  platform::SoundSong* Song = nullptr;
  platform::SoundSample* Sample = nullptr;
  int32_t Channel = -1;
  int32_t Volume = 255;
  bool Loop = false;

  // The file last loaded successfully, for the runner's audio log.
  std::string File;

  // Told of every Load, Play and Stop of any clip, with the file concerned (the runner records
  // them); null: nobody.
  using TObserver = void (*)(const TSoundClip& clip, const char* operation,
                             const std::string& file);
  static TObserver Observer;

 private:
  void Notify(const char* operation, const std::string& file) const {
    if (Observer) Observer(*this, operation, file);
  }
  bool libraryOpen_ = false;
};

// The kind a file's extension gives (compared without regard to case); -1 for an extension that
// names neither kind.
int SoundKindOfFile(const std::string& file);
