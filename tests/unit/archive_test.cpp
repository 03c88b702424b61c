// The game's archives: extracting members by name, damaged archives, writing, listing, checking.
#include "archive/Archive.h"

#include "TestSupport.h"

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
  // Extracts into "out" afresh and returns its bytes, or "(not found)" with no output.
  static std::string Extracted(const std::string& archive, const std::string& member) {
    fs::remove("out");
    const bool found = TArchive().ExtractMember(member.c_str(), "out", archive.c_str());
    EXPECT_EQ(fs::exists("out"), found) << member;
    return found ? ReadFile("out") : "(not found)";
  }

  std::vector<std::string> Messages() const { return platform_.Messages(); }

  TTestFolder folder_{"archive", TTestFolder::kEmpty};
  platform::THeadlessPlatform platform_;
  platform::TPlatform* previous_ = nullptr;
};

TEST_F(ArchiveTest, MembersOfEverySizeAreCopiedExactlyAndArchivesWrittenListedCheckedOrRefused) {
  const std::string layout =
      Le32(64) + Entry("A", 0, 3) + Entry("B", 3, 5) + Le32(0) + "aaa" + "bbbbb";
  ASSERT_EQ(layout.size(), 80u);
  const std::string archive = Write("worked.dat", layout);
  EXPECT_EQ(Extracted(archive, "B"), "bbbbb");
  WriteFile("out", "longer output");
  EXPECT_TRUE(TArchive().ExtractMember("A", "out", archive.c_str()));  // replaced whole
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
  for (std::size_t i = 0; i < std::size(sizes); ++i)
    EXPECT_EQ(Extracted(sizesArchive, "M" + std::to_string(i)), Pattern(sizes[i], unsigned(i)));
  // Archives are written, listed, checked or refused whole.
  fs::create_directories("src");
  const std::vector<std::string> files = {Write("src/Level.dat", Pattern(300, 1)),
                                          Write("src/Empty.bin", ""),
                                          Write("src/Objednav.dat", Pattern(145, 2))};
  ASSERT_TRUE(WriteArchive("Game.dat", files, error)) << error;
  std::vector<TArchiveEntry> entries;
  ASSERT_EQ(ListArchive("Game.dat", entries), TListResult::Complete);
  ASSERT_EQ(entries.size(), 3u);
  const uint32_t offsets[] = {0, 300, 300}, listedSizes[] = {300, 0, 145};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(std::tuple(entries[i].Name, entries[i].Offset, entries[i].Size),
              std::tuple(fs::path(files[i]).filename().string(), offsets[i], listedSizes[i]));
    EXPECT_EQ(Extracted("Game.dat", entries[i].Name), ReadFile(files[i]));
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
  EXPECT_EQ(std::tuple(entries[0].Name, entries[0].Offset, entries[0].Size),
            std::tuple("Menu.mp3", 7u, 9u));
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

// Names match with ASCII case folded only; damaged archives are never read past their end.
TEST_F(ArchiveTest, MembersAreFoundByNameWithAsciiCaseFoldedNeverPastTheEndAndFailuresAreReported) {
  const std::string names = Le32(96) + Entry("Menu.mp3", 0, 1) + Entry("Kv\xC8t", 1, 1) +
                            Entry("menu.MP3", 2, 1) + Le32(0) + "MKX";
  const std::string longest = Le32(64) + Entry("Mys.bmp\0junkjunk"s, 0, 1) +
                              Entry("abcdefghijklmnopqrstuvw", 1, 2) + Le32(0) + "xyz";
  const std::string n24 = Le32(32) + Entry(std::string(24, 'N'), 0, 1) + Le32(0) + "n";
  const std::string cut = Le32(64) + Entry("A", 0, 1) + "B\0\0"s;  // ends inside an entry
  const std::string none = "(not found)";
  // The archive, the name wanted, what the member holds.
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {names, "MENU.MP3", "M"},
      {names, "menu.mp3", "M"},
      {names, "Menu.mp", none},
      {names, "Menu.mp3 ", none},
      {names, "KV\xC8T", "K"},
      {names, "kv\xE8t", none},
      {names, "", none},
      {longest, "Mys.bmp", "x"},
      {longest, "Mys.bmp\x01junkjunk", none},
      {longest, "ABCDEFGHIJKLMNOPQRSTUVW", "yz"},   // the longest name
      {"\x40\x00"s, "A", none},                     // header cut short
      {Le32(31) + Le32(0) + "data", "data", none},  // directory shorter than one entry
      {cut, "B", none},
      {cut, "A", ""},  // its data past the end
      {Le32(32) + Entry("A", 2, 1000) + Le32(0) + "xxpartial", "A", "partial"},
      {Le32(0xFFFFFFE0u) + Entry("A", 0, 4), "Z", none},  // huge directory size
      // 8 + 32 + the offset, taken in 32 bits, would wrap round to the reserved word.
      {Le32(32) + Entry("A", 0xFFFFFFFFu, 0xFFFFFFFFu) + Le32(0) + "xyz", "A", ""},
      {n24, std::string(23, 'N'), none},  // a name filling its field
      {n24, std::string(24, 'n'), "n"},
      {n24, std::string(25, 'N'), none},
  };
  int i = 0;
  for (const auto& [archive, wanted, content] : cases)
    EXPECT_EQ(Extracted(Write("names.dat", archive), wanted), content) << i++ << " " << wanted;
  EXPECT_TRUE(Messages().empty());
  // An unreadable archive and an output that cannot be created are reported to the player.
  fs::create_directories("folder.dat");
  EXPECT_EQ(Extracted("folder.dat", "A"), "(not found)");
  const std::string archive = Write("a.dat", Le32(32) + Entry("A", 0, 3) + Le32(0) + "abc");
  const char* out = "no-such-folder/out";
  EXPECT_TRUE(TArchive().ExtractMember("A", out, archive.c_str()));
  EXPECT_EQ(TArchive().Extract("A", out, archive.c_str()), TExtractResult::OutputFailed);
  EXPECT_FALSE(fs::exists(out));
  const std::string output = "Nastala chyba při prácí s výstupním souborem!";
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"Nelze pracovat se vstupním souborem", output, output}));
}

}  // namespace
