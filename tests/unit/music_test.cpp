// Sound: the clip against the recording back end of the headless platform, and the music step
// (the playlist in a level, songs that cannot play, and the menu tune).
#include "TestSupport.h"
#include "app/Main.h"

namespace {

namespace fs = std::filesystem;

class SoundClipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.mp3", "Menu.MP3", "song.xm", "b.wav", "odd.txt"})
      WriteFile(name, "x");  // in the test's folder, the current one
    Recorder().ClearCalls();
  }
  static int Count(const std::string& op) {
    return static_cast<int>(std::count_if(Recorder().Calls().begin(), Recorder().Calls().end(),
                                          [&](const auto& c) { return c.Operation == op; }));
  }
  TTestFolder folder_{"sound", TTestFolder::kEmpty};
};

TEST_F(SoundClipTest, ClipsLoadByExtensionPlayOnNewChannelsAndCloseTheLibraryInBalance) {
  EXPECT_EQ(SoundKindOfFile("Menu.MP3"), TSoundClip::KindSample);
  EXPECT_EQ(SoundKindOfFile("song.XM"), TSoundClip::KindSong);
  for (const char* neither : {"readme.txt", "noextension", "dir.mp3/file"})
    EXPECT_EQ(SoundKindOfFile(neither), -1) << neither;
  TSoundClip clip;
  ASSERT_TRUE(clip.Load("Menu.MP3", true, TSoundClip::KindByExtension));
  EXPECT_TRUE(clip.IsSample);
  EXPECT_TRUE(clip.Loop);
  ASSERT_TRUE(clip.Load("song.xm", false, TSoundClip::KindByExtension));
  EXPECT_FALSE(clip.IsSample);
  // An extension of neither kind loads nothing and stops nothing.
  Recorder().ClearCalls();
  EXPECT_TRUE(clip.Load("odd.txt", false, TSoundClip::KindByExtension));
  EXPECT_TRUE(Recorder().Calls().empty());
  // Loading stops what played before; a failed load keeps the kind.
  TSoundClip sample;
  ASSERT_TRUE(sample.Load("a.mp3", false, TSoundClip::KindSample));
  sample.Play();
  const int channel = sample.Channel;
  EXPECT_GE(channel, 0);
  Recorder().ClearCalls();
  ASSERT_TRUE(sample.Load("b.wav", false, TSoundClip::KindSample));
  const auto& calls = Recorder().Calls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[0].Operation, "StopSound");  // the old sound stops before the new one loads
  EXPECT_EQ(calls[0].Value, channel);
  EXPECT_EQ(calls[1].Operation, "LoadSample");
  // A missing song: false, the song handle null, the clip still a sample.
  EXPECT_FALSE(sample.Load("missing.xm", false, TSoundClip::KindSong));
  EXPECT_EQ(sample.Song, nullptr);
  EXPECT_TRUE(sample.IsSample);
  Recorder().ClearCalls();
  sample.Play();  // still plays the sample it has
  EXPECT_EQ(Count("PlaySound"), 1);
  // Play starts a new channel at the clip volume, and only looping samples restart.
  TSoundClip played;
  ASSERT_TRUE(played.Load("a.mp3", false, TSoundClip::KindSample));
  played.SetVolume(300);
  EXPECT_EQ(played.Volume, 44);  // the low 8 bits
  Recorder().ClearCalls();
  played.Play();
  const int first = played.Channel;
  played.Play();
  EXPECT_NE(played.Channel, first);
  const auto& playCalls = Recorder().Calls();
  ASSERT_EQ(playCalls.size(), 4u);
  EXPECT_EQ(playCalls[1].Operation, "SetVolume");
  EXPECT_EQ(playCalls[1].Value, 44);
  // Keeping a clip looping restarts only a looping sample that ran out.
  TSoundClip once, looping, song;
  ASSERT_TRUE(once.Load("a.mp3", false, TSoundClip::KindSample));
  ASSERT_TRUE(looping.Load("a.mp3", true, TSoundClip::KindSample));
  ASSERT_TRUE(song.Load("song.xm", true, TSoundClip::KindSong));
  Recorder().ClearCalls();
  once.KeepLooping();
  song.KeepLooping();
  EXPECT_EQ(Count("PlaySound") + Count("PlaySong"), 0);
  looping.Play();
  looping.KeepLooping();  // still playing: nothing to do
  EXPECT_EQ(Count("PlaySound"), 1);
  Recorder().StopSound(looping.Channel);  // the sample ran out
  EXPECT_TRUE(looping.IsFinished());
  looping.KeepLooping();
  EXPECT_FALSE(looping.IsFinished());
  EXPECT_EQ(Count("PlaySound"), 2);
  // The library opens and closes in balance.
  Recorder().ClearCalls();
  {
    TSoundClip a, b, unopened;
    a.InitLibrary();
    a.InitLibrary();  // a second call on the same clip does not open twice
    b.InitLibrary();
  }
  EXPECT_EQ(Count("Init"), 2);
  EXPECT_EQ(Count("Close"), 2);
}

// The game runs in work/ below a folder of the test's own, so that a file written one level up
// stays inside it; made before the game object, removed after it.
struct MusicFolder : TTestFolder {
  MusicFolder() : TTestFolder("music", kEmpty) {
    fs::create_directories("work/Data");
    fs::current_path("work");
  }
  const fs::path Root = Path();
};

class MusicTest : public ::testing::Test {
 protected:
  void Playlist(const std::string& ini) { WriteFile("Data/Hudba.ini", ini); }
  void Sounds(std::vector<TArchiveMember> extra = {}) {
    extra.insert(extra.begin(), {{"Menu.mp3", "menu"}, {"a.xm", "song a"}, {"b.xm", "song b"}});
    WriteFile("Data/Hudba.dat", Packed(extra));
  }
  // One frame's music step in which the piece that played has just ended.
  void NextPiece() {
    game.Music.Stop();
    game.UpdateMusic();
  }
  // A step out of the level and into a new one, which forgets what could not play.
  void NewLevel() {
    game.InGame = false;
    game.UpdateMusic();
    game.InGame = true;
  }

  MusicFolder folder;
  TGame game;
};

// Without songs the menu tune plays on; songs alternate, and one that cannot play is passed over
// for the rest of the level, never leaving it silent or with the menu tune.
TEST_F(MusicTest, SongsPlayInTurnThoseThatCannotPlayArePassedOverAndWithoutSongsTheMenuTunePlays) {
  const char* playlists[] = {
      "[Nastaveni]\nPocet=0\n[Skladby]\nSkladba0=a.xm\n",
      "[Nastaveni]\nPocet=2\n[Skladby]\nSkladba0=gone.xm\nSkladba1=song.txt\n",  // none can play
      nullptr,  // no playlist at all: one song without a name
  };
  Sounds();
  for (const char* playlist : playlists) {
    fs::remove("Data/Hudba.ini");
    if (playlist) Playlist(playlist);
    NewLevel();  // each playlist in a level of its own
    NextPiece();
    EXPECT_EQ(game.Music.File, "Menu.mp3") << (playlist ? playlist : "none");
    EXPECT_TRUE(game.Music.Loop);
    EXPECT_FALSE(game.Music.IsFinished());
    EXPECT_EQ(game.CurrentSong, 0);
  }
  WriteFile("Data/Own.xm", "own song");
  // The number of songs, the songs, and what plays.
  const std::tuple<int, const char*, std::vector<std::string>> cases[] = {
      {2, "Skladba0=a.xm\nSkladba1=b.xm\n", {"b.xm", "a.xm", "b.xm", "a.xm", "b.xm", "a.xm"}},
      {1, "Skladba0=a.xm\n", {"a.xm", "a.xm", "a.xm"}},
      // A member missing from the archive, after a song that played.
      {2, "Skladba0=gone.xm\nSkladba1=b.xm\n", {"b.xm", "b.xm", "b.xm"}},
      // A file of its own that is not there.
      {2, "Skladba0=a.xm\nSkladba1=Data\\Gone.xm\nSkladbaB1=0\n", {"a.xm", "a.xm", "a.xm"}},
      // Entries that name nothing, or a packed name leading out of the working folder.
      {2, "Skladba0=a.xm\n", {"a.xm", "a.xm", "a.xm"}},
      {2, "Skladba0=a.xm\nSkladba1=../evil.xm\n", {"a.xm", "a.xm", "a.xm"}},
      // A file of its own named the way the data files write paths; it stays where it is.
      {2,
       "Skladba0=a.xm\nSkladba1=Data\\Own.xm\nSkladbaB1=0\n",
       {ReadPath("Data\\Own.xm"), "a.xm", ReadPath("Data\\Own.xm")}},
  };
  Sounds({{"../evil.xm", "payload"}});
  for (const auto& [count, songs, expected] : cases) {
    Playlist("[Nastaveni]\nPocet=" + std::to_string(count) + "\n[Skladby]\n" + songs);
    NewLevel();  // each playlist in a level of its own
    game.CurrentSong = 0;
    std::vector<std::string> played;
    for (size_t i = 0; i < expected.size(); ++i) {
      NextPiece();
      EXPECT_FALSE(game.Music.IsFinished()) << songs;
      EXPECT_FALSE(game.Music.Loop) << songs;
      played.push_back(game.Music.File);
    }
    EXPECT_EQ(played, expected) << songs;
    EXPECT_EQ(game.MusicFailedRegime, 0) << songs;
  }
  EXPECT_TRUE(fs::exists("Data/Own.xm"));
  EXPECT_FALSE(fs::exists(folder.Root / "evil.xm") || fs::exists("a.xm") || fs::exists("b.xm"));
}

// Without the archive the menu tune and a packed song are each tried once per regime, with a
// message; a song of its own needs no archive.
TEST_F(MusicTest, APieceThatCannotStartIsTriedOncePerRegime) {
  Playlist("[Nastaveni]\nPocet=2\n[Skladby]\nSkladba0=a.xm\nSkladba1=b.xm\n");
  auto& platform = Headless();
  platform.ClearMessages();
  for (const bool inGame : {false, true}) {
    game.InGame = inGame;
    for (int frame = 0; frame < 5; ++frame) game.UpdateMusic();
    EXPECT_EQ(platform.Messages().size(), 1u + inGame);
  }
  EXPECT_EQ(game.MusicFailedRegime, 2);
  WriteFile("Data/Own.xm", "own song");
  Playlist("[Nastaveni]\nPocet=2\n[Skladby]\nSkladba0=Data\\Own.xm\nSkladbaB0=0\nSkladba1=b.xm\n");
  NewLevel();
  for (int frame = 0; frame < 5; ++frame) NextPiece();
  EXPECT_EQ(game.Music.File, ReadPath("Data\\Own.xm"));
  EXPECT_FALSE(game.Music.IsFinished());
  EXPECT_EQ(platform.Messages().size(), 4u);  // the menu tune's, and once for the packed song
  // With the archive back, the next change of regime plays again.
  Sounds();
  game.InGame = false;
  NextPiece();
  EXPECT_EQ(game.Music.File, "Menu.mp3");
  EXPECT_FALSE(game.Music.IsFinished());
  EXPECT_EQ(platform.Messages().size(), 4u);
}

}  // namespace
