#include "archive/Archive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "TestFolder.h"
#include "base/Cp1250.h"
#include "platform/headless/HeadlessPlatform.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

std::string Le32(uint32_t value) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((value >> shift) & 0xFF);
  return bytes;
}

// One directory entry; `nameField` is padded with zeros to 24 bytes.
std::string Entry(std::string nameField, uint32_t offset, uint32_t size) {
  nameField.resize(24, '\0');
  return nameField + Le32(offset) + Le32(size);
}

// Distinct bytes, so a copy from the wrong place or of the wrong length shows.
std::string Pattern(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + seed * 31) % 251);
  return bytes;
}

class ArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = &platform::Current();
    platform::SetCurrent(&platform_);
  }
  void TearDown() override { platform::SetCurrent(previous_); }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  std::string Write(const std::string& name, const std::string& bytes) const {
    WriteFile(PathOf(name), bytes);
    return PathOf(name);
  }

  static std::string Read(const std::string& path) { return ReadFile(path); }

  // Extracts into "out" and returns whether the member was reported found.
  bool ExtractTo(const std::string& archive, const char* member) {
    return TArchive().ExtractMember(member, PathOf("out").c_str(), archive.c_str());
  }

  bool OutputExists() const { return fs::exists(dir_ / "out"); }

  std::vector<std::string> Messages() const { return platform_.Messages(); }

  TTestFolder folder_{"archive", TTestFolder::kEmpty};
  const fs::path& dir_ = folder_.Path();
  platform::THeadlessPlatform platform_;
  platform::TPlatform* previous_ = nullptr;
};

TEST_F(ArchiveTest, WorkedTwoMemberLayoutIsReadAndWrittenByteForByte) {
  const std::string layout =
      Le32(64) + Entry("A", 0, 3) + Entry("B", 3, 5) + Le32(0) + "aaa" + "bbbbb";
  ASSERT_EQ(layout.size(), 80u);
  const std::string archive = Write("worked.dat", layout);

  EXPECT_TRUE(ExtractTo(archive, "A"));
  EXPECT_EQ(Read(PathOf("out")), "aaa");
  EXPECT_TRUE(ExtractTo(archive, "B"));
  EXPECT_EQ(Read(PathOf("out")), "bbbbb");

  // The packing tool's writer lays the same two files out identically.
  fs::create_directories(dir_ / "src");
  std::string error;
  ASSERT_TRUE(
      WriteArchive(PathOf("packed.dat"), {Write("src/A", "aaa"), Write("src/B", "bbbbb")}, error))
      << error;
  EXPECT_EQ(Read(PathOf("packed.dat")), layout);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ArchiveTest, NamesMatchWithOnlyAsciiCaseFolded) {
  // 0xC8 / 0xE8 are the capital and small c with caron in code page 1250. The third entry
  // repeats the first name in other case: the first entry must win.
  const std::string archive =
      Write("names.dat", Le32(96) + Entry("Menu.mp3", 0, 1) + Entry("Kv\xC8t", 1, 1) +
                             Entry("menu.MP3", 2, 1) + Le32(0) + "MKX");
  struct Case {
    const char* wanted;
    bool found;
    const char* content;
  } cases[] = {
      {"Menu.mp3", true, "M"}, {"MENU.MP3", true, "M"},  {"menu.mp3", true, "M"},
      {"Menu.mp", false, ""},  {"Menu.mp3 ", false, ""}, {"KV\xC8T", true, "K"},
      {"kv\xE8t", false, ""},  {"", false, ""},
  };
  for (const Case& c : cases) {
    fs::remove(dir_ / "out");
    EXPECT_EQ(ExtractTo(archive, c.wanted), c.found) << c.wanted;
    EXPECT_EQ(OutputExists(), c.found) << c.wanted;
    if (c.found) {
      EXPECT_EQ(Read(PathOf("out")), c.content) << c.wanted;
    }
  }
}

TEST_F(ArchiveTest, EmptyDirectoryFindsNothing) {
  // 31 entries' worth of low bits still mean no entry.
  for (uint32_t directorySize : {0u, 31u}) {
    const std::string archive = Write("empty.dat", Le32(directorySize) + Le32(0) + "data");
    EXPECT_FALSE(ExtractTo(archive, "data")) << directorySize;
    EXPECT_FALSE(OutputExists());
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ArchiveTest, MembersOfEveryBlockMixAreCopiedExactly) {
  const std::size_t sizes[] = {0, 1, 39, 40, 143, 144, 239, 240, 280, 281, 1000};
  std::string directory, data;
  for (std::size_t i = 0; i < std::size(sizes); ++i) {
    directory += Entry("m" + std::to_string(i), static_cast<uint32_t>(data.size()),
                       static_cast<uint32_t>(sizes[i]));
    data += Pattern(sizes[i], static_cast<unsigned>(i));
  }
  const std::string header = Le32(static_cast<uint32_t>(directory.size()));
  const std::string archive = Write("sizes.dat", header + directory + "RSVD" + data);
  for (std::size_t i = 0; i < std::size(sizes); ++i) {
    ASSERT_TRUE(ExtractTo(archive, ("M" + std::to_string(i)).c_str()));
    EXPECT_EQ(Read(PathOf("out")), Pattern(sizes[i], static_cast<unsigned>(i))) << sizes[i];
  }
}

TEST_F(ArchiveTest, LongestNameIsFoundAndBytesAfterItsZeroIgnored) {
  const std::string name23 = "abcdefghijklmnopqrstuvw";
  ASSERT_EQ(name23.size(), 23u);
  const std::string archive =
      Write("long.dat", Le32(64) + Entry("Mys.bmp" + std::string(1, '\0') + "junkjunk", 0, 1) +
                            Entry(name23, 1, 2) + Le32(0) + "xyz");
  EXPECT_TRUE(ExtractTo(archive, "Mys.bmp"));
  EXPECT_EQ(Read(PathOf("out")), "x");
  EXPECT_FALSE(ExtractTo(archive, "Mys.bmp\x01junkjunk"));
  EXPECT_TRUE(ExtractTo(archive, "ABCDEFGHIJKLMNOPQRSTUVW"));
  EXPECT_EQ(Read(PathOf("out")), "yz");
}

TEST_F(ArchiveTest, ExistingOutputIsReplacedWhole) {
  const std::string archive = Write("a.dat", Le32(32) + Entry("A", 0, 3) + Le32(0) + "new");
  Write("out", std::string(5000, 'o'));
  EXPECT_TRUE(ExtractTo(archive, "A"));
  EXPECT_EQ(Read(PathOf("out")), "new");
  EXPECT_FALSE(fs::exists(PathOf("out.tmp")));
}

TEST_F(ArchiveTest, GamePathsWithBackslashesWork) {
  EXPECT_EQ(PortablePath("Data\\Grafika.dat"), "Data/Grafika.dat");
  fs::create_directories(dir_ / "Data");
  Write("Data/Game.dat", Le32(32) + Entry("Level.dat", 0, 2) + Le32(0) + "L1");
  const std::string base = dir_.string();
  EXPECT_TRUE(TArchive().ExtractMember("Level.dat", (base + "\\Data\\Level.dat").c_str(),
                                       (base + "\\Data\\Game.dat").c_str()));
  EXPECT_EQ(Read(PathOf("Data/Level.dat")), "L1");
}

TEST_F(ArchiveTest, DamagedArchivesNeverReadPastTheirEnd) {
  const uint32_t huge = 0xFFFFFFE0u;
  struct Case {
    const char* what;
    std::string bytes;
    const char* wanted;
    bool found;
    std::string output;
  } cases[] = {
      {"empty file", "", "A", false, ""},
      {"header cut short", "\x40\x00"s, "A", false, ""},
      {"directory ends inside an entry", Le32(64) + Entry("A", 0, 1) + "B\0\0"s, "B", false, ""},
      {"data position past the end", Le32(64) + Entry("A", 0, 1) + "B\0\0"s, "A", true, ""},
      {"data shorter than claimed", Le32(32) + Entry("A", 2, 1000) + Le32(0) + "xxpartial", "A",
       true, "partial"},
      {"huge directory size", Le32(huge) + Entry("A", 0, 4) + Le32(0) + "data", "A", true, ""},
      {"huge directory size, missing name", Le32(huge) + Entry("A", 0, 4), "Z", false, ""},
      {"offset and size at their limits", Le32(32) + Entry("A", 0xFFFFFFFFu, 0xFFFFFFFFu), "A",
       true, ""},
      {"name filling its field",
       Le32(64) + Entry(std::string(24, 'N'), 0, 1) + Entry("B", 1, 1) + Le32(0) + "nb", "B", true,
       "b"},
      {"name filling its field, prefix wanted",
       Le32(32) + Entry(std::string(24, 'N'), 0, 1) + Le32(0) + "n", "NNNNNNNNNNNNNNNNNNNNNNN",
       false, ""},
      {"name filling its field, name wanted",
       Le32(32) + Entry(std::string(24, 'N'), 0, 1) + Le32(0) + "n", "nnnnnnnnnnnnnnnnnnnnnnnn",
       true, "n"},
      {"name filling its field, longer name wanted",
       Le32(32) + Entry(std::string(24, 'N'), 0, 1) + Le32(0) + "n", "NNNNNNNNNNNNNNNNNNNNNNNNN",
       false, ""},
  };
  for (const Case& c : cases) {
    fs::remove(dir_ / "out");
    const std::string archive = Write("damaged.dat", c.bytes);
    EXPECT_EQ(ExtractTo(archive, c.wanted), c.found) << c.what;
    EXPECT_EQ(OutputExists(), c.found) << c.what;
    if (c.found) {
      EXPECT_EQ(Read(PathOf("out")), c.output) << c.what;
    }
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ArchiveTest, UnopenableArchiveIsReportedToThePlayer) {
  fs::create_directories(dir_ / "folder.dat");
  for (const char* name : {"missing.dat", "folder.dat"}) {
    platform_.ClearMessages();
    EXPECT_FALSE(ExtractTo(PathOf(name), "A")) << name;
    EXPECT_FALSE(OutputExists());
    EXPECT_EQ(Messages(),
              std::vector<std::string>{Utf8ToCp1250("Nelze pracovat se vstupním souborem")})
        << name;
  }
}

TEST_F(ArchiveTest, UncreatableOutputIsReportedButCountsAsFound) {
  const std::string archive = Write("a.dat", Le32(32) + Entry("A", 0, 3) + Le32(0) + "abc");
  const std::string out = PathOf("no-such-folder/out");
  EXPECT_TRUE(TArchive().ExtractMember("A", out.c_str(), archive.c_str()));
  EXPECT_EQ(TArchive().Extract("A", out.c_str(), archive.c_str()), TExtractResult::OutputFailed);
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(Messages(), std::vector<std::string>(
                            2, Utf8ToCp1250("Nastala chyba při prácí s výstupním souborem!")));

  // Renaming onto a folder fails after the copy: the temporary file goes too.
  fs::create_directories(dir_ / "out");
  EXPECT_EQ(TArchive().Extract("A", PathOf("out").c_str(), archive.c_str()),
            TExtractResult::OutputFailed);
  EXPECT_FALSE(fs::exists(PathOf("out.tmp")));
}

TEST_F(ArchiveTest, WrittenArchivesListAndExtractEveryMember) {
  fs::create_directories(dir_ / "src");
  const std::vector<std::string> files = {Write("src/Level.dat", Pattern(300, 1)),
                                          Write("src/Empty.bin", ""),
                                          Write("src/Objednav.dat", Pattern(145, 2))};
  std::string error;
  ASSERT_TRUE(WriteArchive(PathOf("Game.dat"), files, error)) << error;
  EXPECT_FALSE(fs::exists(PathOf("Game.dat.tmp")));

  std::vector<TArchiveEntry> entries;
  ASSERT_EQ(ListArchive(PathOf("Game.dat"), entries), TListResult::Complete);
  ASSERT_EQ(entries.size(), 3u);
  const uint32_t offsets[] = {0, 300, 300}, sizes[] = {300, 0, 145};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].Name, fs::path(files[i]).filename().string());
    EXPECT_EQ(entries[i].Offset, offsets[i]);
    EXPECT_EQ(entries[i].Size, sizes[i]);
    ASSERT_TRUE(ExtractTo(PathOf("Game.dat"), entries[i].Name.c_str()));
    EXPECT_EQ(Read(PathOf("out")), Read(files[i]));
  }

  ASSERT_TRUE(WriteArchive(PathOf("None.dat"), {}, error)) << error;
  EXPECT_EQ(Read(PathOf("None.dat")), Le32(0) + Le32(0));
}

TEST_F(ArchiveTest, RefusedArchivesLeaveThePreviousOneUntouched) {
  fs::create_directories(dir_ / "src");
  const std::string ok = Write("src/ok.bin", "ok");
  const std::string name24 = Write("src/abcdefghijklmnopqrst.bmp", "x");
  ASSERT_EQ(fs::path(name24).filename().string().size(), 24u);
  const std::string sameName = Write("src/OK.BIN", "other");
  const std::vector<std::vector<std::string>> refused = {
      {ok, name24}, {ok, PathOf("src/missing.bin")}, {ok, sameName}, {ok, PathOf("src")}};
  const std::string previous = Write("Game.dat", "previous archive");
  for (const auto& files : refused) {
    std::string error;
    EXPECT_FALSE(WriteArchive(PathOf("Game.dat"), files, error)) << files.back();
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Read(PathOf("Game.dat")), "previous archive");
    EXPECT_FALSE(fs::exists(PathOf("Game.dat.tmp")));
  }
}

TEST_F(ArchiveTest, ListingStopsAtTheEndOfATruncatedDirectory) {
  std::vector<TArchiveEntry> entries;
  Write("cut.dat", Le32(0xFFFFFFE0u) + Entry("Menu.mp3", 7, 9) + "Mra");
  EXPECT_EQ(ListArchive(PathOf("cut.dat"), entries), TListResult::Truncated);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].Name, "Menu.mp3");
  EXPECT_EQ(entries[0].Offset, 7u);
  EXPECT_EQ(entries[0].Size, 9u);
  EXPECT_EQ(ListArchive(PathOf("missing.dat"), entries), TListResult::CannotOpen);
}

}  // namespace
