#include "archive/Archive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <tuple>

#include "TestSupport.h"
#include "base/Cp1250.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

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

// A fresh folder, and a headless platform that records the messages shown to the player.
class ArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = &platform::Current();
    platform::SetCurrent(&platform_);
  }
  void TearDown() override { platform::SetCurrent(previous_); }

  static std::string Write(const std::string& name, const std::string& bytes) {
    WriteFile(name, bytes);
    return name;
  }
  // Extracts into "out" and returns whether the member was reported found.
  static bool ExtractTo(const std::string& archive, const char* member) {
    return TArchive().ExtractMember(member, "out", archive.c_str());
  }
  // Each case extracts its member afresh: found, and the output holds `content`; or not found,
  // and there is no output.
  static void ExpectExtracted(const std::string& archive, const char* member, bool found,
                              const std::string& content) {
    fs::remove("out");
    EXPECT_EQ(ExtractTo(archive, member), found);
    EXPECT_EQ(fs::exists("out"), found);
    if (found) {
      EXPECT_EQ(ReadFile("out"), content);
    }
  }

  std::vector<std::string> Messages() const { return platform_.Messages(); }

  TTestFolder folder_{"archive", TTestFolder::kEmpty};
  platform::THeadlessPlatform platform_;
  platform::TPlatform* previous_ = nullptr;
};

TEST_F(ArchiveTest, MembersOfEverySizeAreCopiedExactlyAndLaidOutAsTheWriterDoes) {
  const std::string layout =
      Le32(64) + Entry("A", 0, 3) + Entry("B", 3, 5) + Le32(0) + "aaa" + "bbbbb";
  ASSERT_EQ(layout.size(), 80u);
  const std::string archive = Write("worked.dat", layout);
  EXPECT_TRUE(ExtractTo(archive, "B"));
  EXPECT_EQ(ReadFile("out"), "bbbbb");
  EXPECT_TRUE(ExtractTo(archive, "A"));  // a longer output is replaced whole
  EXPECT_EQ(ReadFile("out"), "aaa");
  // The packing tool's writer lays the same two files out identically.
  fs::create_directories("src");
  std::string error;
  ASSERT_TRUE(WriteArchive("packed.dat", {Write("src/A", "aaa"), Write("src/B", "bbbbb")}, error))
      << error;
  EXPECT_EQ(ReadFile("packed.dat"), layout);
  EXPECT_TRUE(Messages().empty());
  // Members empty, small, and larger than one read of the copy loop.
  const std::size_t sizes[] = {0, 1, 70000};
  std::string directory, data;
  for (std::size_t i = 0; i < std::size(sizes); ++i) {
    directory += Entry("m" + std::to_string(i), uint32_t(data.size()), uint32_t(sizes[i]));
    data += Pattern(sizes[i], unsigned(i));
  }
  const std::string sizesArchive =
      Write("sizes.dat", Le32(uint32_t(directory.size())) + directory + "RSVD" + data);
  for (std::size_t i = 0; i < std::size(sizes); ++i) {
    ASSERT_TRUE(ExtractTo(sizesArchive, ("M" + std::to_string(i)).c_str()));
    EXPECT_EQ(ReadFile("out"), Pattern(sizes[i], unsigned(i))) << sizes[i];
  }
}

// Names match with only ASCII case folded (0xC8 / 0xE8 are the capital and small c with caron in
// code page 1250) and the first of two equal names wins; the longest name (23 letters) is found,
// and the bytes after a name's zero are no part of it. A damaged archive is never read past its
// end.
TEST_F(ArchiveTest, MembersAreFoundByTheirNamesWithOnlyAsciiCaseFoldedAndNeverPastTheEnd) {
  const std::string names = Le32(96) + Entry("Menu.mp3", 0, 1) + Entry("Kv\xC8t", 1, 1) +
                            Entry("menu.MP3", 2, 1) + Le32(0) + "MKX";
  const std::string longest = Le32(64) + Entry("Mys.bmp\0junkjunk"s, 0, 1) +
                              Entry("abcdefghijklmnopqrstuvw", 1, 2) + Le32(0) + "xyz";
  // The archive, the name wanted, whether it is found and what it holds.
  const std::tuple<const std::string&, const char*, bool, const char*> cases[] = {
      {names, "MENU.MP3", true, "M"},
      {names, "menu.mp3", true, "M"},
      {names, "Menu.mp", false, ""},
      {names, "Menu.mp3 ", false, ""},
      {names, "KV\xC8T", true, "K"},
      {names, "kv\xE8t", false, ""},
      {names, "", false, ""},
      {longest, "Mys.bmp", true, "x"},
      {longest, "Mys.bmp\x01junkjunk", false, ""},
      {longest, "ABCDEFGHIJKLMNOPQRSTUVW", true, "yz"},
  };
  for (const auto& [archive, wanted, found, content] : cases) {
    SCOPED_TRACE(wanted);
    ExpectExtracted(Write("names.dat", archive), wanted, found, content);
  }
  // Damaged archives never read past their end.
  const std::string n24(24, 'N');
  // What, the archive, the name wanted, whether it is found and what it holds.
  const std::tuple<const char*, std::string, const char*, bool, std::string> damaged[] = {
      {"header cut short", "\x40\x00"s, "A", false, ""},
      {"directory shorter than one entry", Le32(31) + Le32(0) + "data", "data", false, ""},
      {"directory ends inside an entry", Le32(64) + Entry("A", 0, 1) + "B\0\0"s, "B", false, ""},
      {"data position past the end", Le32(64) + Entry("A", 0, 1) + "B\0\0"s, "A", true, ""},
      {"data shorter than claimed", Le32(32) + Entry("A", 2, 1000) + Le32(0) + "xxpartial", "A",
       true, "partial"},
      {"huge directory size, missing name", Le32(0xFFFFFFE0u) + Entry("A", 0, 4), "Z", false, ""},
      // 8 + 32 + the offset, taken in 32 bits, would wrap round to the reserved word.
      {"offset and size at their limits",
       Le32(32) + Entry("A", 0xFFFFFFFFu, 0xFFFFFFFFu) + Le32(0) + "xyz", "A", true, ""},
      {"name filling its field, prefix wanted", Le32(32) + Entry(n24, 0, 1) + Le32(0) + "n",
       "NNNNNNNNNNNNNNNNNNNNNNN", false, ""},
      {"name filling its field, name wanted", Le32(32) + Entry(n24, 0, 1) + Le32(0) + "n",
       "nnnnnnnnnnnnnnnnnnnnnnnn", true, "n"},
      {"name filling its field, longer name wanted", Le32(32) + Entry(n24, 0, 1) + Le32(0) + "n",
       "NNNNNNNNNNNNNNNNNNNNNNNNN", false, ""},
  };
  for (const auto& [what, bytes, wanted, found, output] : damaged) {
    SCOPED_TRACE(what);
    ExpectExtracted(Write("damaged.dat", bytes), wanted, found, output);
  }
  EXPECT_TRUE(Messages().empty());
}

// An archive that opens on this system but cannot be read (a folder), and an output that cannot
// be created, which counts as found: each is reported to the player. (A missing archive is played
// through in a scenario.)
TEST_F(ArchiveTest, UnreadableArchivesAndUncreatableOutputsAreReported) {
  fs::create_directories("folder.dat");
  EXPECT_FALSE(ExtractTo("folder.dat", "A"));
  EXPECT_FALSE(fs::exists("out"));
  const std::string archive = Write("a.dat", Le32(32) + Entry("A", 0, 3) + Le32(0) + "abc");
  const char* out = "no-such-folder/out";
  EXPECT_TRUE(TArchive().ExtractMember("A", out, archive.c_str()));
  EXPECT_EQ(TArchive().Extract("A", out, archive.c_str()), TExtractResult::OutputFailed);
  EXPECT_FALSE(fs::exists(out));
  const std::string output = "Nastala chyba při prácí s výstupním souborem!";
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"Nelze pracovat se vstupním souborem", output, output}));
}

TEST_F(ArchiveTest, ArchivesAreWrittenListedCheckedOrRefusedWhole) {
  fs::create_directories("src");
  const std::vector<std::string> files = {Write("src/Level.dat", Pattern(300, 1)),
                                          Write("src/Empty.bin", ""),
                                          Write("src/Objednav.dat", Pattern(145, 2))};
  std::string error;
  ASSERT_TRUE(WriteArchive("Game.dat", files, error)) << error;
  std::vector<TArchiveEntry> entries;
  ASSERT_EQ(ListArchive("Game.dat", entries), TListResult::Complete);
  ASSERT_EQ(entries.size(), 3u);
  const uint32_t offsets[] = {0, 300, 300}, sizes[] = {300, 0, 145};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].Name, fs::path(files[i]).filename().string());
    EXPECT_EQ(entries[i].Offset, offsets[i]);
    EXPECT_EQ(entries[i].Size, sizes[i]);
    ASSERT_TRUE(ExtractTo("Game.dat", entries[i].Name.c_str()));
    EXPECT_EQ(ReadFile("out"), ReadFile(files[i]));
  }
  ASSERT_TRUE(WriteArchive("None.dat", {}, error)) << error;
  EXPECT_EQ(ReadFile("None.dat"), Le32(0) + Le32(0));
  // A refused archive leaves the previous one untouched.
  const std::string ok = Write("src/ok.bin", "ok");
  const std::string name24 = Write("src/abcdefghijklmnopqrst.bmp", "x");
  ASSERT_EQ(fs::path(name24).filename().string().size(), 24u);
  const std::string sameName = Write("src/OK.BIN", "other");
  Write("Game.dat", "previous archive");
  for (const std::string& refused : {name24, std::string("src/missing.bin"), sameName}) {
    error.clear();
    EXPECT_FALSE(WriteArchive("Game.dat", {ok, refused}, error)) << refused;
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadFile("Game.dat"), "previous archive");
  }
  // Listing stops at the end of a truncated directory.
  Write("cut.dat", Le32(0xFFFFFFE0u) + Entry("Menu.mp3", 7, 9) + "Mra");
  EXPECT_EQ(ListArchive("cut.dat", entries), TListResult::Truncated);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].Name, "Menu.mp3");
  EXPECT_EQ(entries[0].Offset, 7u);
  EXPECT_EQ(entries[0].Size, 9u);
  EXPECT_EQ(ListArchive("missing.dat", entries), TListResult::CannotOpen);
  // A copy cut short is taken for damaged.
  const std::string whole = Write("src/a.bin", Pattern(300, 1));
  ASSERT_TRUE(WriteArchive("Game.dat", {whole, Write("src/b.bin", "bb")}, error)) << error;
  const std::string bytes = ReadFile("Game.dat");
  EXPECT_EQ(CheckArchive("Game.dat"), TArchiveState::Whole);
  // Cut by one byte, in the last member's data, in the directory, and in its size.
  for (std::size_t kept : {bytes.size() - 1, std::size_t{40}, std::size_t{2}}) {
    Write("cut.dat", bytes.substr(0, kept));
    EXPECT_EQ(CheckArchive("cut.dat"), TArchiveState::Damaged) << kept;
  }
  // A directory size with its low bits set still places the data after the whole size.
  Write("odd.dat", Le32(32 + 7) + Entry("a.bin", 0, 2) + std::string(7, '\0') + Le32(0) + "ab");
  EXPECT_EQ(CheckArchive("odd.dat"), TArchiveState::Whole);
  Write("odd.dat", Le32(32 + 7) + Entry("a.bin", 0, 2) + std::string(6, '\0') + Le32(0) + "ab");
  EXPECT_EQ(CheckArchive("odd.dat"), TArchiveState::Damaged);
  EXPECT_EQ(CheckArchive("missing.dat"), TArchiveState::Missing);
}

}  // namespace
