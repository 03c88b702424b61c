// The file module: whole reads that tell a missing file from an unreadable one, and whole writes
// that keep the old file's permissions and leave nothing behind when they fail.
#include "base/Files.h"
#include "base/IniFile.h"
#include "gfx/Font.h"
#include "gfx/Text.h"

#include <cstdio>

#include "TestSupport.h"

namespace {

namespace fs = std::filesystem;

TEST(Files, WritesReplaceFilesWholeReadsTellMissingFromUnreadableAndAnyFolderNameOpens) {
  TTestFolder folder("files", TTestFolder::kEmpty);
  bool created = false;
  {
    const TCreationMask mask(027);
    created = WriteFileWhole("new.dat", "first");
  }
  ASSERT_TRUE(created);
  // A new file as the creation mask makes it; a replaced one keeps what it had (on Windows,
  // where the one permission is whether the file may be written, the same).
  if (kPosixPermissions) {
    EXPECT_EQ(fs::status("new.dat").permissions() & fs::perms::mask, fs::perms(0640));
    fs::permissions("new.dat", fs::perms(0604));
  }
  const fs::perms before = fs::status("new.dat").permissions();
  ASSERT_TRUE(WriteFileWhole("new.dat", "second"));
  EXPECT_EQ(ReadFile("new.dat"), "second");
  EXPECT_EQ(fs::status("new.dat").permissions(), before);
  EXPECT_FALSE(WriteFileWhole("sub/empty.dat", ""));  // no folder to write into
  fs::create_directory("sub");
  ASSERT_TRUE(WriteFileWhole(WritePath("sub\\empty.dat"), ""));
  EXPECT_EQ(FileNames("sub"), std::set<std::string>{"empty.dat"});
  EXPECT_EQ(FileNames("."), (std::set<std::string>{"new.dat", "sub"}));
  // Reads tell a missing file from an unreadable one.
  std::string bytes = "stale";
  EXPECT_EQ(ReadFileWhole("none.dat", bytes), TReadResult::Missing);
  EXPECT_EQ(ReadFileWhole("none/x.dat", bytes), TReadResult::Missing);
  EXPECT_TRUE(bytes.empty());
  fs::create_directory("folder");
  EXPECT_EQ(ReadFileWhole("folder", bytes), TReadResult::Unreadable);
  WriteFile("ten.dat", "0123456789");
  EXPECT_EQ(ReadFileWhole("ten.dat", bytes, 9), TReadResult::Unreadable);
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(ReadFileWhole("ten.dat", bytes, 10), TReadResult::Read);
  EXPECT_EQ(bytes, "0123456789");
  EXPECT_TRUE(RemoveFile("ten.dat") && RemoveFile("ten.dat"));  // gone, and gone again
  EXPECT_FALSE(fs::exists("ten.dat"));
  // A folder named in Czech, with spaces: a stream opens there, and a font there opens (FreeType
  // and SDL_ttf both read it), as they do from any folder on every system.
  ASSERT_TRUE(FontThin && FontThin->Usable());
  std::string fontBytes;
  ASSERT_EQ(ReadFileWhole(FontThin->File().Path, fontBytes), TReadResult::Read);
  const std::string name = "Hry/Zahrádka s mrkví";
  fs::create_directories(fs::path(u8"Hry/Zahrádka s mrkví"));
  ASSERT_TRUE(WriteFileWhole(WritePath(name + "/stream.dat"), "read piece by piece"));
  std::FILE* stream = OpenFile(ReadPath(name + "/stream.dat"), "rb");
  ASSERT_NE(stream, nullptr);
  char piece[6] = {};
  EXPECT_EQ(std::fread(piece, 1, 5, stream), 5u);
  std::fclose(stream);
  EXPECT_STREQ(piece, "read ");
  ASSERT_TRUE(WriteFileWhole(WritePath(name + "/font.ttf"), fontBytes));
  TFontFile file = FontThin->File();
  file.Path = ReadPath(name + "/font.ttf");
  const TFont font(file, 20, 400);
  EXPECT_TRUE(font.Usable());
  EXPECT_EQ(font.CellHeight(), 20);
}

TEST(Files, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  TTestFolder folder("files", TTestFolder::kEmpty);
  ASSERT_TRUE(WriteFileWhole("kept.dat", "old content"));
  auto unchanged = [] {
    EXPECT_EQ(ReadFile("kept.dat"), "old content");
    EXPECT_TRUE(fs::is_directory("folder.dat") && fs::is_empty("folder.dat"));
    EXPECT_EQ(FileNames("."), (std::set<std::string>{"kept.dat", "folder.dat"}));
  };
  // A folder where the file should be cannot be replaced by it.
  fs::create_directory("folder.dat");
  EXPECT_FALSE(WriteFileWhole("folder.dat", "x"));
  // Nothing can be created below a plain file.
  EXPECT_FALSE(WriteFileWhole("kept.dat/inner.dat", "x"));
  unchanged();
  // A file size limit makes the write fail part way, as a full disk would, also for root.
  bool written = false;
  {
    const TFileSizeLimit limit(16);
    if (!limit.Holds()) GTEST_SKIP() << "no file-size limit on this system";
    written = WriteFileWhole("kept.dat", std::string(100, 'x'));
  }
  EXPECT_FALSE(written);
  unchanged();
}

// An installed game: the player's folder is the current one; what it lacks is read from the
// installation, what it has stays the player's, and every write and deletion lands in the
// player's folder, also of a file that only the installation holds (an old save left there).
TEST(Files, AnInstalledGameReadsFromTheInstallationAndWritesOnlyIntoThePlayersFolder) {
  TTestFolder folder("files");
  fs::create_directories("installed/Data");
  fs::create_directories("player/Data");
  WriteFile("installed/Data/Game.dat", "archive");
  WriteFile("installed/Data/Save1.dat", "old save");
  WriteFile("installed/Data/Nastaveni.dat", "[Save1]\r\nPenize=5\r\n");
  WriteFile("player/Data/Own.dat", "own");
  const std::string installed = fs::absolute("installed").string();
  fs::current_path("player");
  SetInstalledFolder(installed);
  std::string bytes;
  EXPECT_EQ(ReadFileWhole(ReadPath("Data\\Game.dat"), bytes), TReadResult::Read);
  EXPECT_EQ(bytes, "archive");
  EXPECT_EQ(ReadFileWhole(ReadPath("Data\\Save1.dat"), bytes), TReadResult::Read);
  EXPECT_EQ(bytes, "old save");
  EXPECT_EQ(ReadPath("Data\\Own.dat"), WritePath("Data/Own.dat"));
  EXPECT_EQ(WritePath("Data\\Save1.dat"), WritePath("Data/Save1.dat"));
  ASSERT_TRUE(WriteFileWhole(WritePath("Data\\Save1.dat"), "new save"));
  {
    // The settings the installation holds are read, and written into the player's copy.
    TIniFile settings("Data\\Nastaveni.dat");
    EXPECT_EQ(settings.ReadInteger("Save1", "Penize", 0), 5);
    ASSERT_TRUE(settings.WriteInteger("Save1", "Rok", 2003));
  }
  EXPECT_EQ(ReadFile("Data/Save1.dat"), "new save");
  EXPECT_EQ(ReadFile("Data/Nastaveni.dat"), "[Save1]\r\nPenize=5\r\nRok=2003\r\n");
  EXPECT_TRUE(RemoveFile(WritePath("Data\\Game.dat")));
  EXPECT_EQ(ReadFile("../installed/Data/Save1.dat"), "old save");
  EXPECT_EQ(ReadFile("../installed/Data/Nastaveni.dat"), "[Save1]\r\nPenize=5\r\n");
  EXPECT_TRUE(fs::exists("../installed/Data/Game.dat"));
  // A listing names the files of both folders, each once.
  WriteFile("../installed/Data/Game-de.dat", "de");
  WriteFile("../installed/Data/Game-sk.dat", "sk");
  WriteFile("../installed/Data/Game-.dat", "no name between");
  WriteFile("Data/Game-de.dat", "de");
  WriteFile("Data/Game-pl.dat", "pl");
  EXPECT_EQ(ListGameFiles("Data", "Game-", ".dat"),
            (std::vector<std::string>{"Game-de.dat", "Game-pl.dat", "Game-sk.dat"}));
  SetInstalledFolder("");
  EXPECT_EQ(ListGameFiles("Data", "Game-", ".dat"),
            (std::vector<std::string>{"Game-de.dat", "Game-pl.dat"}));
  EXPECT_TRUE(ListGameFiles("Nowhere", "Game-", ".dat").empty());
  EXPECT_EQ(ReadFileWhole(ReadPath("Data\\Game.dat"), bytes), TReadResult::Missing);
  fs::current_path("..");
}

}  // namespace
