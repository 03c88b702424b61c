#include "audio/SoundClip.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int kMixRate = 44100;
constexpr int kChannels = 64;
constexpr unsigned kGlobalFocus = 2;  // keep playing while the window is in the background

platform::TSoundBackend& Backend() { return platform::Current().Sound(); }

}  // namespace

TSoundClip::TObserver TSoundClip::Observer = nullptr;

int SoundKindOfFile(const std::string& file) {
  const size_t dot = file.find_last_of('.');
  const size_t slash = file.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return -1;
  std::string ext = file.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const char* e : {".mp3", ".wav", ".mp2", ".ogg", ".raw"}) {
    if (ext == e) return TSoundClip::KindSample;
  }
  for (const char* e : {".mod", ".s3m", ".xm", ".it", ".mid"}) {
    if (ext == e) return TSoundClip::KindSong;
  }
  return -1;
}

TSoundClip::TSoundClip() : Channel(-1), Volume(255) {}

TSoundClip::~TSoundClip() { Release(); }

void TSoundClip::Release() {
  if (!Song && !Sample && Channel < 0 && !libraryOpen_) return;
  platform::TSoundBackend& b = Backend();
  b.StopSong(Song);
  b.StopSound(Channel);
  b.FreeSong(Song);
  b.FreeSample(Sample);
  if (libraryOpen_) b.Close();
  Song = nullptr;
  Sample = nullptr;
  Channel = -1;
  libraryOpen_ = false;
}

bool TSoundClip::InitLibrary() {
  if (libraryOpen_) return true;
  libraryOpen_ = Backend().Init(kMixRate, kChannels, kGlobalFocus);
  return libraryOpen_;
}

bool TSoundClip::Load(const std::string& file, bool loop, int kind) {
  Loop = loop;
  if (kind == KindByExtension) kind = SoundKindOfFile(file);
  if (kind != KindSample && kind != KindSong) return true;
  platform::TSoundBackend& b = Backend();
  b.StopSong(Song);
  b.StopSound(Channel);
  Notify("Load", file);
  // The handle being replaced is released: nothing plays it any more.
  if (kind == KindSample) {
    b.FreeSample(Sample);
    Sample = b.LoadSample(file);
    if (!Sample) return false;
    IsSample = true;
  } else {
    b.FreeSong(Song);
    Song = b.LoadSong(file);
    if (!Song) return false;
    IsSample = false;
  }
  File = file;
  return true;
}

void TSoundClip::Play() {
  platform::TSoundBackend& b = Backend();
  Notify("Play", File);
  if (IsSample) {
    Channel = b.PlaySound(Sample);
    b.SetVolume(Channel, Volume);
  } else {
    b.SetMasterVolume(Song, Volume);
    b.PlaySong(Song);
  }
}

void TSoundClip::Stop() {
  Notify("Stop", File);
  if (IsSample)
    Backend().StopSound(Channel);
  else
    Backend().StopSong(Song);
}

void TSoundClip::KeepLooping() {
  if (Loop && IsSample && !Backend().IsPlaying(Channel)) Channel = Backend().PlaySound(Sample);
}

void TSoundClip::SetVolume(int32_t volume) {
  Volume = volume & 0xFF;
  if (IsSample)
    Backend().SetVolume(Channel, Volume);
  else
    Backend().SetMasterVolume(Song, Volume);
}

bool TSoundClip::IsFinished() {
  if (IsSample) return !Backend().IsPlaying(Channel);
  return Backend().IsFinished(Song);
}
