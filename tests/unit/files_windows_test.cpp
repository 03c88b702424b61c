// The Windows file writer when its system calls fail (made to fail through KELVORA_FILE_FAULTS):
// whatever call fails, and whatever a failed replacement leaves on the disk, the file holds the
// old bytes or the new ones whole, and the write reports true only where the new ones are there.
#ifdef _WIN32

#include <windows.h>

#include "TestSupport.h"
#include "base/Files.h"

namespace {

namespace fs = std::filesystem;

// The faults asked for while the object lives.
class TFileFaults {
 public:
  explicit TFileFaults(const std::string& faults) {
    SetEnvironmentVariableA("KELVORA_FILE_FAULTS", faults.c_str());
  }
  ~TFileFaults() { SetEnvironmentVariableA("KELVORA_FILE_FAULTS", nullptr); }
  TFileFaults(const TFileFaults&) = delete;
  TFileFaults& operator=(const TFileFaults&) = delete;
};

// The contents of the hidden files the writer left beside "slot.dat".
std::multiset<std::string> LeftBehind() {
  std::multiset<std::string> contents;
  for (const std::string& name : FileNames(".")) {
    if (name != "slot.dat") contents.insert(ReadFile(name));
  }
  return contents;
}

bool WriteWith(const std::string& faults, const std::string& bytes) {
  const TFileFaults failing(faults);
  return WriteFileWhole("slot.dat", bytes);
}

const std::string kOld = "the old game, whole";
const std::string kNew = "the new game, longer than the old one";

TEST(WindowsFileFaults, AFailureBeforeTheReplacementKeepsTheOldFileAndLeavesNothing) {
  for (const char* faults :
       {"CreateFileW=5", "WriteFile=112@SLOT.DAT", "FlushFileBuffers=5", "CloseHandle=6",
        "ReplaceFileW=5,MoveFileExW=5", "ReplaceFileW=1175,MoveFileExW=32"}) {
    SCOPED_TRACE(faults);
    TTestFolder folder("winfaults", TTestFolder::kEmpty);
    ASSERT_TRUE(WriteFileWhole("slot.dat", kOld));
    EXPECT_FALSE(WriteWith(faults, kNew));
    EXPECT_EQ(ReadFile("slot.dat"), kOld);
    EXPECT_EQ(FileNames("."), std::set<std::string>{"slot.dat"});
  }
  // A new file whose move into place fails is not there at all.
  TTestFolder folder("winfaults", TTestFolder::kEmpty);
  EXPECT_FALSE(WriteWith("MoveFileExW=5", kNew));
  EXPECT_TRUE(FileNames(".").empty());
  EXPECT_TRUE(WriteWith("MoveFileExW=5@other.dat", kNew));  // faults for another file
  EXPECT_EQ(ReadFile("slot.dat"), kNew);
  // Written under a hidden name, the new file is shown once it is in place.
  EXPECT_EQ(GetFileAttributesA("slot.dat") & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// A replacement that fails, with the old file left in place (ERROR_UNABLE_TO_REMOVE_REPLACED,
// or any error but the two below) or moved to the backup name (ERROR_UNABLE_TO_MOVE_REPLACEMENT
// and ERROR_UNABLE_TO_MOVE_REPLACEMENT_2), is finished by a move of the new file; where that
// move fails, the old file is back in place.
TEST(WindowsFileFaults, AReplacementThatFailsHalfWayEndsWithTheOldOrTheNewFileWhole) {
  for (const char* error : {"1175", "1176", "1177", "5"}) {
    SCOPED_TRACE(error);
    const std::string replace = std::string("ReplaceFileW=") + error;
    {
      TTestFolder folder("winfaults", TTestFolder::kEmpty);
      ASSERT_TRUE(WriteFileWhole("slot.dat", kOld));
      SetFileAttributesA("slot.dat", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
      EXPECT_TRUE(WriteWith(replace, kNew));
      EXPECT_EQ(ReadFile("slot.dat"), kNew);
      EXPECT_EQ(GetFileAttributesA("slot.dat"),
                DWORD{FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN});
      EXPECT_EQ(FileNames("."), std::set<std::string>{"slot.dat"});
      SetFileAttributesA("slot.dat", FILE_ATTRIBUTE_NORMAL);
    }
    {
      TTestFolder folder("winfaults", TTestFolder::kEmpty);
      ASSERT_TRUE(WriteFileWhole("slot.dat", kOld));
      EXPECT_FALSE(WriteWith(replace + ",MoveFileExW=5:1", kNew));
      EXPECT_EQ(ReadFile("slot.dat"), kOld);
      EXPECT_EQ(FileNames("."), std::set<std::string>{"slot.dat"});
    }
  }
}

// Where the old file went to the backup name and no move succeeds, neither copy is deleted.
TEST(WindowsFileFaults, WhenNothingCanBeMovedBackBothCopiesStay) {
  for (const char* replace : {"ReplaceFileW=1176", "ReplaceFileW=1177"}) {
    SCOPED_TRACE(replace);
    TTestFolder folder("winfaults", TTestFolder::kEmpty);
    ASSERT_TRUE(WriteFileWhole("slot.dat", kOld));
    EXPECT_FALSE(WriteWith(std::string(replace) + ",MoveFileExW=5", kNew));
    EXPECT_FALSE(fs::exists("slot.dat"));
    EXPECT_EQ(LeftBehind(), (std::multiset<std::string>{kOld, kNew}));
  }
}

// Deletions that fail leave a hidden file behind, and change nothing of the outcome.
TEST(WindowsFileFaults, AFailedDeletionNeitherLosesTheFileNorTurnsTheOutcome) {
  TTestFolder folder("winfaults", TTestFolder::kEmpty);
  ASSERT_TRUE(WriteFileWhole("slot.dat", kOld));
  EXPECT_FALSE(WriteWith("WriteFile=112,DeleteFileW=5", kNew));
  EXPECT_EQ(ReadFile("slot.dat"), kOld);
  EXPECT_TRUE(WriteWith("DeleteFileW=5", kNew));
  EXPECT_EQ(ReadFile("slot.dat"), kNew);
  EXPECT_TRUE(WriteWith("ReplaceFileW=1177,DeleteFileW=5", kOld));
  EXPECT_EQ(ReadFile("slot.dat"), kOld);
}

}  // namespace

#endif
