// The four effects, the music (the menu tune outside a level, a random playlist in one) and the
// volumes, applied to every clip once a frame.
#include "app/Main.h"
#include "game/IniFile.h"

namespace {

constexpr const char* kSounds = "Data\\Hudba.dat";
constexpr const char* kPlaylist = "Data\\Hudba.ini";
constexpr const char* kMenuTune = "Menu.mp3";
// A random draw that keeps giving the last song is given up after this many tries.
constexpr int kSongDraws = 1000;
constexpr int32_t kMenuRegime = 1;
constexpr int32_t kPlaylistRegime = 2;

void Extract(const char* file) { Archive.ExtractMember(file, file, kSounds); }

// A song packed in the archive is extracted into the working directory under its own name and
// deleted after loading, so its name must not lead anywhere else.
bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\:") == std::string::npos;
}

}  // namespace

void TGame::LoadSounds() {
  ClickSound.InitLibrary();
  Click2Sound.InitLibrary();
  Music.InitLibrary();
  WaterSound.InitLibrary();
  BuySound.InitLibrary();
  for (const char* f : {"click.mp3", "click2.mp3", "Zalej.mp3", "Kup.mp3"}) Extract(f);
  ClickSound.Load("click.mp3", false, TSoundClip::KindByExtension);
  Click2Sound.Load("click2.mp3", false, TSoundClip::KindByExtension);
  WaterSound.Load("Zalej.mp3", false, TSoundClip::KindByExtension);
  BuySound.Load("Kup.mp3", false, TSoundClip::KindByExtension);
  for (const char* f : {"Kup.mp3", "Zalej.mp3", "click2.mp3", "click.mp3"}) DeleteFileA(f);
  Extract(kMenuTune);
  Music.Load(kMenuTune, true, TSoundClip::KindByExtension);
  DeleteFileA(kMenuTune);
  Music.SetVolume(MusicVolume);
  Music.Play();
}

void TGame::ApplyVolumes() {
  ClickSound.SetVolume(EffectsVolume);
  Click2Sound.SetVolume(EffectsVolume);
  WaterSound.SetVolume(EffectsVolume);
  BuySound.SetVolume(EffectsVolume);
  Music.SetVolume(MusicVolume);
}

void TGame::PlayMusicFromArchive(const char* file, bool loop) {
  Extract(file);
  Music.Load(file, loop, TSoundClip::KindByExtension);
  DeleteFileA(file);
  Music.Play();
}

// A piece that is finished as soon as it was started could not be played: a missing or damaged
// archive or file, or no sound device. Tried again every frame, it would show the archive's
// message sixty times a second and write the file out each time; it is tried again only when
// the regime changes (a level started or left).
void TGame::UpdateMusic() {
  ClickSound.KeepLooping();
  Click2Sound.KeepLooping();
  const int32_t regime = !InGame && !LevelIntroOpen ? kMenuRegime : InGame ? kPlaylistRegime : 0;
  if (regime != MusicFailedRegime) MusicFailedRegime = 0;
  if (regime != 0 && regime != MusicFailedRegime && Music.IsFinished()) {
    if (regime == kMenuRegime) {
      Music.Stop();
      PlayMusicFromArchive(kMenuTune, true);
    } else {
      StartNextSong();
    }
    if (Music.IsFinished()) MusicFailedRegime = regime;
  }
  Music.KeepLooping();
  ApplyVolumes();
}

// A new song differs from the last one. A playlist of one song repeats it; a playlist without
// songs (none counted, no name, no playlist file) keeps the menu tune.
void TGame::StartNextSong() {
  TIniFile playlist(kPlaylist);
  const int32_t count = playlist.ReadInteger("Nastaveni", "Pocet", 1);
  Randomize();
  int32_t i = 0;
  if (count >= 2) {
    int draws = 0;
    do {
      i = Random(count);
    } while (i == CurrentSong && ++draws < kSongDraws);
    if (i == CurrentSong) i = (CurrentSong + 1) % count;
  }
  const std::string key = IntToText(i);
  SongFile = count >= 1 ? playlist.ReadString("Skladby", "Skladba" + key, "") : "";
  if (SongFile.empty()) {
    Music.Stop();
    PlayMusicFromArchive(kMenuTune, true);
    return;
  }
  const bool packed = playlist.ReadBool("Skladby", "SkladbaB" + key, true);
  if (packed && !IsPlainFileName(SongFile)) {
    Music.Stop();
    PlayMusicFromArchive(kMenuTune, true);
    return;
  }
  if (packed) Archive.ExtractMember(SongFile.c_str(), SongFile.c_str(), kSounds);
  Music.Stop();
  Music.Load(SongFile, false, TSoundClip::KindByExtension);
  Music.Play();
  CurrentSong = i;
  if (packed) DeleteFileA(SongFile.c_str());
}
