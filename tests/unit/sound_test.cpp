// The sound clip against the recording back end of the headless platform.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "TestSupport.h"
#include "audio/SoundClip.h"

namespace {

namespace fs = std::filesystem;

class SoundClipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.mp3", "Menu.MP3", "song.xm", "b.wav", "odd.txt"})
      WriteFile(dir_ / name, "x");
    Recorder().ClearCalls();
  }
  std::string File(const char* name) { return (dir_ / name).string(); }
  static int Count(const std::string& op) {
    return static_cast<int>(std::count_if(Recorder().Calls().begin(), Recorder().Calls().end(),
                                          [&](const auto& c) { return c.Operation == op; }));
  }
  TTestFolder folder_{"sound", TTestFolder::kEmpty};
  const fs::path& dir_ = folder_.Path();
};

TEST_F(SoundClipTest, LoadingTakesTheKindOfTheExtensionAndStopsWhatPlayedBefore) {
  EXPECT_EQ(SoundKindOfFile("Menu.MP3"), TSoundClip::KindSample);
  EXPECT_EQ(SoundKindOfFile("song.XM"), TSoundClip::KindSong);
  for (const char* neither : {"readme.txt", "noextension", "dir.mp3/file"})
    EXPECT_EQ(SoundKindOfFile(neither), -1) << neither;
  TSoundClip clip;
  ASSERT_TRUE(clip.Load(File("Menu.MP3"), true, TSoundClip::KindByExtension));
  EXPECT_TRUE(clip.IsSample);
  EXPECT_TRUE(clip.Loop);
  ASSERT_TRUE(clip.Load(File("song.xm"), false, TSoundClip::KindByExtension));
  EXPECT_FALSE(clip.IsSample);
  // An extension of neither kind loads nothing and stops nothing.
  Recorder().ClearCalls();
  EXPECT_TRUE(clip.Load(File("odd.txt"), false, TSoundClip::KindByExtension));
  EXPECT_TRUE(Recorder().Calls().empty());
  // Loading stops what played before; a failed load keeps the kind.
  TSoundClip sample;
  ASSERT_TRUE(sample.Load(File("a.mp3"), false, TSoundClip::KindSample));
  sample.Play();
  const int channel = sample.Channel;
  EXPECT_GE(channel, 0);
  Recorder().ClearCalls();
  ASSERT_TRUE(sample.Load(File("b.wav"), false, TSoundClip::KindSample));
  const auto& calls = Recorder().Calls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[0].Operation, "StopSound");  // the old sound stops before the new one loads
  EXPECT_EQ(calls[0].Value, channel);
  EXPECT_EQ(calls[1].Operation, "LoadSample");
  // A missing song: false, the song handle null, the clip still a sample.
  EXPECT_FALSE(sample.Load(File("missing.xm"), false, TSoundClip::KindSong));
  EXPECT_EQ(sample.Song, nullptr);
  EXPECT_TRUE(sample.IsSample);
  Recorder().ClearCalls();
  sample.Play();  // still plays the sample it has
  EXPECT_EQ(Count("PlaySound"), 1);
}

TEST_F(SoundClipTest, PlayStartsANewChannelAtTheClipVolumeAndOnlyLoopingSamplesRestart) {
  TSoundClip clip;
  ASSERT_TRUE(clip.Load(File("a.mp3"), false, TSoundClip::KindSample));
  clip.SetVolume(300);
  EXPECT_EQ(clip.Volume, 44);  // the low 8 bits
  Recorder().ClearCalls();
  clip.Play();
  const int first = clip.Channel;
  clip.Play();
  EXPECT_NE(clip.Channel, first);
  const auto& calls = Recorder().Calls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[1].Operation, "SetVolume");
  EXPECT_EQ(calls[1].Value, 44);
  // Keeping a clip looping restarts only a looping sample that ran out.
  TSoundClip once, looping, song;
  ASSERT_TRUE(once.Load(File("a.mp3"), false, TSoundClip::KindSample));
  ASSERT_TRUE(looping.Load(File("a.mp3"), true, TSoundClip::KindSample));
  ASSERT_TRUE(song.Load(File("song.xm"), true, TSoundClip::KindSong));
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
}

TEST_F(SoundClipTest, LibraryOpensAndClosesInBalance) {
  {
    TSoundClip a, b, unopened;
    a.InitLibrary();
    a.InitLibrary();  // a second call on the same clip does not open twice
    b.InitLibrary();
  }
  EXPECT_EQ(Count("Init"), 2);
  EXPECT_EQ(Count("Close"), 2);
}

}  // namespace
