// The four effects, the music (the menu tune outside a level, a random playlist in one) and the
// volumes, applied to every clip once a frame.
#include <algorithm>

#include "base/Files.h"
#include "base/IniFile.h"
#include "game/DataFiles.h"
#include "game/Game.h"
#include "game/Random.h"

namespace {

constexpr const char* kMenuTune = "Menu.mp3";
// A random draw that keeps giving the last song is given up after this many tries.
constexpr int kSongDraws = 1000;
// Songs tried in one music step before the menu tune takes over; a playlist of up to this many
// songs has each of them tried in the step that finds none can play.
constexpr int kSongAttempts = 64;
constexpr int32_t kMenuRegime = 1;
constexpr int32_t kPlaylistRegime = 2;

void Extract(const char* file) { Archive.ExtractMember(file, file, data_files::Sounds); }

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
  for (const char* f : {"Kup.mp3", "Zalej.mp3", "click2.mp3", "click.mp3"}) DeleteGameFile(f);
  Extract(kMenuTune);
  Music.Load(kMenuTune, true, TSoundClip::KindByExtension);
  DeleteGameFile(kMenuTune);
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
  DeleteGameFile(file);
  Music.Play();
}

// A piece that is finished as soon as it was started could not be played: a missing or damaged
// archive or file, or no sound device. Tried again every frame, it would show the archive's
// message sixty times a second and write the file out each time; it is tried again only when
// the regime changes (a level started or left). What the playlist learnt it cannot play is
// forgotten then too.
void TGame::UpdateMusic() {
  ClickSound.KeepLooping();
  Click2Sound.KeepLooping();
  const int32_t regime = !InGame && !LevelIntroOpen ? kMenuRegime : InGame ? kPlaylistRegime : 0;
  if (regime != MusicRegime) {
    MusicRegime = regime;
    MusicFailedRegime = 0;
    MusicArchiveFailed = false;
    UnplayableSongs.clear();
  }
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

namespace {

// The number of the next song: drawn at random among the songs other than the last one and
// than those that could not play; failing that, the first such song after the last one; else
// the last song again, when it can play (a playlist with one usable song repeats it); else -1.
int32_t DrawSong(const TGame& g, int32_t count) {
  auto usable = [&g](int32_t i) { return !g.UnplayableSongs.contains(i); };
  if (count < 1) return -1;
  if (count == 1) return usable(0) ? 0 : -1;
  int draws = 0;
  int32_t i = 0;
  do {
    i = Random(count);
  } while ((i == g.CurrentSong || !usable(i)) && ++draws < kSongDraws);
  if (i != g.CurrentSong && usable(i)) return i;
  // At most the unplayable songs lie between the last song and the next usable one.
  const int64_t last = std::clamp<int64_t>(g.CurrentSong, 0, count - 1);
  const int64_t steps = std::min<int64_t>(count - 1, int64_t(g.UnplayableSongs.size()) + 1);
  for (int64_t step = 1; step <= steps; ++step) {
    const auto j = static_cast<int32_t>((last + step) % count);
    if (j != g.CurrentSong && usable(j)) return j;
  }
  return g.CurrentSong >= 0 && g.CurrentSong < count && usable(g.CurrentSong) ? g.CurrentSong : -1;
}

// Starts song i of the playlist and makes it the current song; false, with nothing playing, when
// it cannot play: no name, a packed name that would lead out of the working folder, a member or
// a file that is not there, a file no decoder takes, or no sound device. An archive that cannot
// be read (or whose member cannot be written out) stops every packed song of the regime, with
// one message.
bool StartSong(TGame& g, const TIniFile& playlist, int32_t i) {
  const std::string key = IntToText(i);
  g.SongFile = playlist.ReadString("Skladby", "Skladba" + key, "");
  const bool packed = playlist.ReadBool("Skladby", "SkladbaB" + key, true);
  if (g.SongFile.empty()) return false;
  std::string file = g.SongFile;
  if (packed) {
    if (g.MusicArchiveFailed || !IsPlainFileName(file)) return false;
    const TExtractResult extracted =
        Archive.Extract(file.c_str(), file.c_str(), data_files::Sounds);
    if (extracted == TExtractResult::ArchiveUnreadable ||
        extracted == TExtractResult::OutputFailed) {
      g.MusicArchiveFailed = true;
      return false;
    }
    if (extracted == TExtractResult::NotFound) return false;
  } else {
    // A song of its own is named the way the data files name paths ("Data\\Moje.xm").
    file = ReadPath(file);
  }
  g.Music.Stop();
  const bool loaded =
      SoundKindOfFile(file) >= 0 && g.Music.Load(file, false, TSoundClip::KindByExtension);
  if (loaded) g.Music.Play();
  if (packed) DeleteGameFile(file.c_str());
  if (!loaded || g.Music.IsFinished()) return false;
  g.CurrentSong = i;
  return true;
}

}  // namespace

// A new song differs from the last one. Songs that cannot play are passed over for the rest of
// the regime, so one bad entry neither silences the level nor keeps the others from playing. A
// playlist without a song that can play (none counted, no name, no playlist file, every song
// failing) keeps the menu tune.
void TGame::StartNextSong() {
  const TIniFile playlist(data_files::Playlist);
  const int32_t count = playlist.ReadInteger("Nastaveni", "Pocet", 1);
  Randomize();
  for (int attempt = 0; attempt < kSongAttempts; ++attempt) {
    const int32_t i = DrawSong(*this, count);
    if (i < 0) break;
    if (StartSong(*this, playlist, i)) return;
    UnplayableSongs.insert(i);
  }
  Music.Stop();
  if (!MusicArchiveFailed) PlayMusicFromArchive(kMenuTune, true);
}
