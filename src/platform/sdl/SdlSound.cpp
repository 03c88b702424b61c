#include "platform/sdl/SdlSound.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace platform {

namespace {
// Volumes of the game run 0..255, SDL_mixer's 0..128.
int MixerVolume(int volume) { return (volume & 0xFF) * MIX_MAX_VOLUME / 255; }
Mix_Chunk* Chunk(SoundSample* s) { return reinterpret_cast<Mix_Chunk*>(s); }
Mix_Music* Music(SoundSong* s) { return reinterpret_cast<Mix_Music*>(s); }
}  // namespace

// Every clip initialises the library once and closes it once; the device is opened by the first
// Init and closed with the last Close.
bool TSdlSound::Init(int mixRate, int channels, unsigned) {
  if (opens_ > 0) {
    ++opens_;
    return true;
  }
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  Mix_Init(MIX_INIT_MP3 | MIX_INIT_MOD | MIX_INIT_OGG | MIX_INIT_MID);
  if (Mix_OpenAudio(mixRate, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_AllocateChannels(channels);
  opens_ = 1;
  return true;
}

void TSdlSound::Close() {
  if (opens_ == 0) return;
  if (--opens_ > 0) return;
  Mix_HaltChannel(-1);
  Mix_HaltMusic();
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  current_ = nullptr;
}

SoundSample* TSdlSound::LoadSample(const std::string& file) {
  if (!Open()) return nullptr;
  return reinterpret_cast<SoundSample*>(Mix_LoadWAV(file.c_str()));
}

int TSdlSound::PlaySound(SoundSample* sample) {
  if (!Open() || !sample) return -1;
  return Mix_PlayChannel(-1, Chunk(sample), 0);
}

void TSdlSound::SetVolume(int channel, int volume) {
  if (Open() && channel >= 0) Mix_Volume(channel, MixerVolume(volume));
}

void TSdlSound::StopSound(int channel) {
  if (Open() && channel >= 0) Mix_HaltChannel(channel);
}

bool TSdlSound::IsPlaying(int channel) {
  return Open() && channel >= 0 && Mix_Playing(channel) != 0;
}

SoundSong* TSdlSound::LoadSong(const std::string& file) {
  if (!Open()) return nullptr;
  return reinterpret_cast<SoundSong*>(Mix_LoadMUS(file.c_str()));
}

void TSdlSound::PlaySong(SoundSong* song) {
  if (!Open() || !song) return;
  if (Mix_PlayMusic(Music(song), 0) == 0) current_ = song;
}

void TSdlSound::StopSong(SoundSong* song) {
  if (!Open() || !song) return;
  if (current_ == song) {
    Mix_HaltMusic();
    current_ = nullptr;
  }
}

// SDL_mixer has one music volume; only one song plays at a time, so it is that song's volume.
void TSdlSound::SetMasterVolume(SoundSong* song, int volume) {
  if (Open() && song) Mix_VolumeMusic(MixerVolume(volume));
}

bool TSdlSound::IsFinished(SoundSong* song) {
  if (!Open() || !song) return true;
  return current_ != song || !Mix_PlayingMusic();
}

void TSdlSound::FreeSample(SoundSample* sample) {
  if (Open() && sample) Mix_FreeChunk(Chunk(sample));
}

void TSdlSound::FreeSong(SoundSong* song) {
  if (!Open() || !song) return;
  if (current_ == song) current_ = nullptr;
  Mix_FreeMusic(Music(song));
}

}  // namespace platform
