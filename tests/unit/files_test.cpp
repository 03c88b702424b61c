// The file module: whole reads that tell a missing file from an unreadable one, and whole writes
// that keep the old file's permissions and leave nothing behind when they fail.
#include "base/Files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>

#include "TestFolder.h"

namespace {

namespace fs = std::filesystem;

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

mode_t ModeOf(const char* path) {
  struct stat info {};
  return stat(path, &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(Files, WritesReplaceTheFileWholeAndKeepItsPermissions) {
  TTestFolder folder("files", TTestFolder::kEmpty);
  const mode_t mask = umask(027);
  const bool created = WriteFileWhole("new.dat", "first");
  umask(mask);
  ASSERT_TRUE(created);
  EXPECT_EQ(ModeOf("new.dat"), 0640u);  // a new file as the creation mask makes it
  chmod("new.dat", 0604);
  ASSERT_TRUE(WriteFileWhole("new.dat", "second"));
  EXPECT_EQ(ReadFile("new.dat"), "second");
  EXPECT_EQ(ModeOf("new.dat"), 0604u);
  EXPECT_FALSE(WriteFileWhole("sub/empty.dat", ""));  // no folder to write into
  fs::create_directory("sub");
  ASSERT_TRUE(WriteFileWhole(PortablePath("sub\\empty.dat"), ""));
  EXPECT_EQ(Names("sub"), std::set<std::string>{"empty.dat"});
  EXPECT_EQ(Names("."), (std::set<std::string>{"new.dat", "sub"}));
}

TEST(Files, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  TTestFolder folder("files", TTestFolder::kEmpty);
  ASSERT_TRUE(WriteFileWhole("kept.dat", "old content"));
  // A file size limit makes the write fail part way, as a full disk would, also for root.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit tight = saved;
  tight.rlim_cur = 16;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
  const bool written = WriteFileWhole("kept.dat", std::string(100, 'x'));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previousHandler);
  EXPECT_FALSE(written);
  // A folder where the file should be cannot be replaced by it.
  fs::create_directory("folder.dat");
  EXPECT_FALSE(WriteFileWhole("folder.dat", "x"));
  // Nothing can be created below a plain file.
  EXPECT_FALSE(WriteFileWhole("kept.dat/inner.dat", "x"));

  EXPECT_EQ(ReadFile("kept.dat"), "old content");
  EXPECT_TRUE(fs::is_directory("folder.dat") && fs::is_empty("folder.dat"));
  EXPECT_EQ(Names("."), (std::set<std::string>{"kept.dat", "folder.dat"}));
}

TEST(Files, ReadsTellMissingFromUnreadable) {
  TTestFolder folder("files", TTestFolder::kEmpty);
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
}

}  // namespace
