// The music step: the playlist in a level, songs that cannot play, and the menu tune.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <vector>

#include "TestSupport.h"
#include "app/Main.h"

namespace {

namespace fs = std::filesystem;

// An archive in the pack layout, with member names as given (the packer would refuse some).
void WriteArchiveFile(const fs::path& path,
                      const std::vector<std::pair<std::string, std::string>>& members) {
  std::string directory, data;
  for (const auto& [name, content] : members) {
    directory +=
        name + std::string(24 - name.size(), '\0') + Le32(data.size()) + Le32(content.size());
    data += content;
  }
  WriteFile(path, Le32(directory.size()) + directory + Le32(0) + data);
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
  void Sounds(const std::vector<std::pair<std::string, std::string>>& extra = {}) {
    std::vector<std::pair<std::string, std::string>> members{
        {"Menu.mp3", "menu"}, {"a.xm", "song a"}, {"b.xm", "song b"}};
    members.insert(members.end(), extra.begin(), extra.end());
    WriteArchiveFile("Data/Hudba.dat", members);
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
