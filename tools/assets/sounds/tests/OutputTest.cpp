// The shipped sounds: every file the game names and every song of the playlist is taken out of
// Data/Hudba.dat through the game's own archive reader and INI access, and played through
// SDL_mixer as the game plays it (effects and MP3s as decoded samples, modules as music).
// Usage: kelvora-sounds-output-tests DATA_FOLDER
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "Catalogue.h"
#include "archive/Archive.h"
#include "base/IniFile.h"

namespace fs = std::filesystem;

namespace {

std::string DataFolder;

struct TPcm {
  std::vector<int16_t> Samples;  // interleaved stereo at 44100 Hz
  double Seconds() const { return Samples.size() / 2 / 44100.0; }
  double Peak() const {
    int peak = 0;
    for (int16_t s : Samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak / 32768.0;
  }
  double Rms(size_t from, size_t count) const {
    double sum = 0;
    count = std::min(count, Samples.size() - std::min(from, Samples.size()));
    for (size_t i = from; i < from + count; ++i) sum += double(Samples[i]) * Samples[i];
    return count ? std::sqrt(sum / count) / 32768.0 : 0.0;
  }
};

std::mutex CaptureLock;
std::vector<int16_t> Captured;

// Keeps what the mixer puts out while a song plays: from the buffer that starts it up to the one
// that ends it (that one, partly silent, is left out).
void CaptureMix(void*, Uint8* stream, int length) {
  if (!Mix_PlayingMusic()) return;
  std::lock_guard<std::mutex> lock(CaptureLock);
  auto* samples = reinterpret_cast<int16_t*>(stream);
  Captured.insert(Captured.end(), samples, samples + length / 2);
}

class SoundArchive : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The disk driver needs no sound device and, without its delay, mixes as fast as it can.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    Mix_SetPostMix(CaptureMix, nullptr);
    Work = fs::temp_directory_path() / ("kelvora-sounds-test-" + std::to_string(getpid()));
    fs::create_directories(Work);
  }
  static void TearDownTestSuite() {
    Mix_CloseAudio();
    SDL_Quit();
    std::error_code ignored;
    fs::remove_all(Work, ignored);
  }

  // Takes a member out of the archive as the game does and decodes it: an MP3 as a whole sample,
  // a module by playing it to its end. False when it is not in the archive or does not load.
  static bool Decode(const std::string& member, TPcm& pcm) {
    const std::string file = (Work / member).string();
    const std::string archive = (fs::path(DataFolder) / "Hudba.dat").string();
    if (!TArchive().ExtractMember(member.c_str(), file.c_str(), archive.c_str())) return false;
    const bool module = fs::path(member).extension() != ".mp3";
    Mix_Chunk* chunk = module ? nullptr : Mix_LoadWAV(file.c_str());
    Mix_Music* music = module ? Mix_LoadMUS(file.c_str()) : nullptr;
    fs::remove(file);
    if (chunk) {
      auto* samples = reinterpret_cast<int16_t*>(chunk->abuf);
      pcm.Samples.assign(samples, samples + chunk->alen / 2);
      Mix_FreeChunk(chunk);
    } else if (music) {
      Mix_PlayMusic(music, 0);
      while (Mix_PlayingMusic()) SDL_Delay(2);
      Mix_FreeMusic(music);
      std::lock_guard<std::mutex> lock(CaptureLock);
      pcm.Samples.swap(Captured);
      Captured.clear();
    }
    return chunk || music;
  }

  // How long the generator meant the piece to last.
  static double IntendedSeconds(const std::string& name) {
    for (const sounds::TPieceDefinition& piece : sounds::MusicDefinitions())
      if (piece.FileName == name) return sounds::IntendedSeconds(piece);
    ADD_FAILURE() << name << " is not one of the generator's pieces";
    return 0;
  }

  static void ExpectLengthWithoutClipping(const TPcm& pcm, double shortest, double longest) {
    EXPECT_GE(pcm.Seconds(), shortest);
    EXPECT_LE(pcm.Seconds(), longest);
    EXPECT_LT(pcm.Peak(), 0.99) << "clips";
  }

  static inline fs::path Work;
};

TEST_F(SoundArchive, EffectsAreShortAndStartAndEndInSilence) {
  for (const char* name : {"click.mp3", "click2.mp3", "Zalej.mp3", "Kup.mp3"}) {
    SCOPED_TRACE(name);
    TPcm pcm;
    ASSERT_TRUE(Decode(name, pcm)) << Mix_GetError();
    ExpectLengthWithoutClipping(pcm, 0.1, 1.0);
    EXPECT_GT(pcm.Peak(), 0.1);
    const size_t edge = 2 * 44;  // the first and last millisecond
    EXPECT_LT(pcm.Rms(0, edge), 0.01) << "starts with a click";
    EXPECT_LT(pcm.Rms(pcm.Samples.size() - edge, edge), 0.01) << "ends with a click";
  }
}

TEST_F(SoundArchive, IntroAndMenuTunesLoopSeamlessly) {
  for (auto [name, shortest, longest] : {std::tuple{"uvod.mp3", 18, 22}, {"Menu.mp3", 30, 60}}) {
    SCOPED_TRACE(name);
    TPcm pcm;
    ASSERT_TRUE(Decode(name, pcm)) << Mix_GetError();
    EXPECT_NEAR(pcm.Seconds(), IntendedSeconds(name), 0.001);
    ExpectLengthWithoutClipping(pcm, shortest, longest);
    EXPECT_GT(pcm.Rms(0, pcm.Samples.size()), 0.02) << "nearly silent";
    // Across the seam the level goes on as it was...
    const size_t n = pcm.Samples.size(), window = 2 * 44100 / 20;
    const double tail = pcm.Rms(n - window, window), head = pcm.Rms(0, window);
    EXPECT_GT(head, 0.3 * tail);
    EXPECT_LT(head, 3.0 * tail);
    // ...and the wave does not jump: the step from the last frame to the first is no bigger
    // than the steps the music takes anyway.
    double largest = 0;
    for (size_t i = 2; i < n; ++i)
      largest = std::max(largest, std::fabs(double(pcm.Samples[i]) - pcm.Samples[i - 2]));
    for (size_t c = 0; c < 2; ++c)
      EXPECT_LE(std::fabs(double(pcm.Samples[c]) - pcm.Samples[n - 2 + c]), 0.5 * largest)
          << "channel " << c;
  }
}

TEST_F(SoundArchive, PlaylistSongsAreInTheArchiveAndPlayTheirLength) {
  TIniFile playlist((fs::path(DataFolder) / "Hudba.ini").string());
  const int count = playlist.ReadInteger("Nastaveni", "Pocet", 1);
  ASSERT_GE(count, 2) << "the song choice needs two songs to alternate";
  int modules = 0;
  double quietest = 1, loudest = 0;
  for (int i = 0; i < count; ++i) {
    const std::string song = playlist.ReadString("Skladby", "Skladba" + std::to_string(i), "");
    ASSERT_FALSE(song.empty()) << "song " << i;
    SCOPED_TRACE(song);
    EXPECT_TRUE(playlist.ReadBool("Skladby", "SkladbaB" + std::to_string(i), true));
    const bool module = fs::path(song).extension() != ".mp3";
    modules += module;
    TPcm pcm;
    ASSERT_TRUE(Decode(song, pcm)) << Mix_GetError();
    // A module played through lasts as long as it was written, to a row and a buffer.
    EXPECT_NEAR(pcm.Seconds(), IntendedSeconds(song), module ? 0.25 : 0.001);
    ExpectLengthWithoutClipping(pcm, 90, 180);
    const double level = pcm.Rms(0, pcm.Samples.size());
    EXPECT_GT(level, 0.02) << "nearly silent";
    quietest = std::min(quietest, level);
    loudest = std::max(loudest, level);
    // A song ends by fading out, not by being cut off.
    EXPECT_LT(pcm.Rms(pcm.Samples.size() - 2 * 4410, 2 * 4410), 0.01);
  }
  // Modules and MP3s take turns: none may be much louder than another.
  EXPECT_LT(20 * std::log10(loudest / quietest), 3.0) << "songs differ in loudness";
  EXPECT_GT(modules, 0) << "the playlist has no tracker module";
  EXPECT_LT(modules, count) << "the playlist has no MP3";
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: kelvora-sounds-output-tests DATA_FOLDER\n");
    return 2;
  }
  DataFolder = argv[1];
  return RUN_ALL_TESTS();
}
