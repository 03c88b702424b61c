#include "base/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "TestFolder.h"

namespace fs = std::filesystem;

namespace {

class IniTest : public testing::Test {
 protected:
  // A test that took the folder's write permission away must not leave it behind.
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
  }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  std::string Put(const std::string& name, const std::string& bytes) const {
    WriteFile(PathOf(name), bytes);
    return PathOf(name);
  }

  static std::string Contents(const std::string& path) { return ReadFile(path); }

  // Names in the folder other than the given file: a left-over temporary file shows up here.
  std::vector<std::string> Strays(const std::string& keep) const {
    std::vector<std::string> strays;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      if (entry.path().filename() != keep) strays.push_back(entry.path().filename().string());
    }
    return strays;
  }

  TTestFolder folder_{"ini", TTestFolder::kEmpty};
  const fs::path& dir_ = folder_.Path();
};

struct StringCase {
  const char* rule;
  std::string file, section, key, expected;
};

TEST_F(IniTest, ReadStringFollowsTheProfileRules) {
  const std::string dflt = "<default>";
  const std::vector<StringCase> cases = {
      {"names ignore case", "[Hlasitost]\r\nZvuk=12\r\n", "HLASITOST", "zvuk", "12"},
      {"blanks around names and values", "  [ Sec ]  \n\t key \t=\t v a l \t\n", "sec", "KEY",
       "v a l"},
      {"blanks around queried names", "[Sec]\nkey=1\n", " Sec\t", " key ", "1"},
      {"inner blanks belong to the key", "[L]\nStavet Studnu=1\n", "l", "stavet studnu", "1"},
      {"LF ends", "[s]\na=1\nb=2\n", "s", "b", "2"},
      {"lone CR ends", "[s]\ra=1\rb=2\r", "s", "b", "2"},
      {"mixed ends, none at the end", "[s]\r\na=1\nb=2\rc=3", "s", "c", "3"},
      {"double quotes removed", "[s]\nn=\"v2\"\n", "s", "n", "v2"},
      {"single quotes removed", "[s]\nn='v2'\n", "s", "n", "v2"},
      {"blanks inside quotes kept", "[s]\nn=\" v \"\n", "s", "n", " v "},
      {"only one pair removed", "[s]\nn=\"\"x\"\"\n", "s", "n", "\"x\""},
      {"unmatched quote kept", "[s]\nn=\"abc\n", "s", "n", "\"abc"},
      {"different quotes kept", "[s]\nn=\"abc'\n", "s", "n", "\"abc'"},
      {"lone quote kept", "[s]\nn=\"\n", "s", "n", "\""},
      {"empty value is a value", "[s]\nk=\n", "s", "k", ""},
      {"text after the first equals sign", "[s]\nk=a=b\n", "s", "k", "a=b"},
      {"semicolon after a value is text", "[s]\nk=1 ;c\n", "s", "k", "1 ;c"},
      {"comment line", "[s]\n;k=1\nk=2\n", "s", "k", "2"},
      {"indented comment line", "[s]\n  ;k=1\n", "s", "k", dflt},
      {"line without equals sign", "[s]\nk\n", "s", "k", dflt},
      {"first of equal keys", "[s]\nk=1\nK=2\n", "s", "k", "1"},
      {"first of equal sections", "[s]\na=1\n[t]\n[S]\na=2\nb=3\n", "s", "a", "1"},
      {"later equal section unseen", "[s]\na=1\n[t]\n[S]\na=2\nb=3\n", "s", "b", dflt},
      {"keys stay in their section", "[a]\nk=1\n[b]\n", "b", "k", dflt},
      {"keys before any section", "k=1\n[s]\n", "s", "k", dflt},
      {"missing section", "[a]\nk=1\n", "x", "k", dflt},
      {"unclosed bracket is no header", "[s]\n[t\nk=1\n", "s", "k", "1"},
      {"text after the bracket", "[s] ; slot\nk=1\n", "s", "k", "1"},
      {"code page 1250 bytes pass",
       "[s]\nText=Kv\xec"
       "t\xe1k\n",
       "s", "text",
       "Kv\xec"
       "t\xe1k"},
      {"letters above ASCII keep their case", "[s]\n\xc8=1\n", "s", "\xe8", dflt},
  };
  for (const StringCase& c : cases) {
    SCOPED_TRACE(c.rule);
    const TIniFile ini(Put("case.ini", c.file));
    EXPECT_EQ(ini.ReadString(c.section, c.key, dflt), c.expected);
  }
}

TEST_F(IniTest, ReadIntegerTakesSignAndDigitsOnly) {
  const struct {
    std::string value;
    int32_t expected;
  } cases[] = {
      {"42", 42},
      {"-17", -17},
      {"+8", 8},
      {"007", 7},
      {"-0", 0},
      {" 7 ", 7},
      {"\"5\"", 5},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"42A9", -99},
      {"", -99},
      {"2147483648", -99},
      {"-2147483649", -99},
      {"99999999999999999999", -99},
      {"0x10", -99},
      {"1.5", -99},
      {"+-1", -99},
      {"-", -99},
      {"+", -99},
      {"1 2", -99},
      {"1 ;c", -99},
      {"\"5", -99},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("value '" + c.value + "'");
    const TIniFile ini(Put("int.ini", "[s]\nk=" + c.value + "\n"));
    EXPECT_EQ(ini.ReadInteger("s", "k", -99), c.expected);
  }
  const TIniFile ini(Put("int.ini", "[s]\n"));
  EXPECT_EQ(ini.ReadInteger("s", "k", 254), 254);
}

TEST_F(IniTest, ReadBoolIsReadIntegerWithZeroOrOne) {
  const struct {
    std::string line;
    bool dflt, expected;
  } cases[] = {
      {"k=0", true, false},  {"k=1", false, true},    {"k=2", false, true}, {"k=-1", false, true},
      {"k=abc", true, true}, {"k=abc", false, false}, {"", true, true},     {"", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const TIniFile ini(Put("bool.ini", "[s]\n" + c.line + "\n"));
    EXPECT_EQ(ini.ReadBool("s", "k", c.dflt), c.expected);
  }
}

TEST_F(IniTest, MissingFileReadsAsEmpty) {
  const TIniFile ini(PathOf("none.ini"));
  EXPECT_EQ(ini.ReadInteger("Hlasitost", "Zvuk", 254), 254);
  EXPECT_EQ(ini.ReadString("Level1", "Text", "x"), "x");
  EXPECT_TRUE(ini.ReadBool("s", "k", true));
  EXPECT_FALSE(fs::exists(PathOf("none.ini")));  // reading creates nothing
}

TEST_F(IniTest, BackslashesInGamePathsAreFolders) {
  fs::create_directory(dir_ / "Data");
  Put("Data/Nastaveni.dat", "[Hlasitost]\nZvuk=3\n");
  const std::string gamePath = dir_.string() + "\\Data\\Nastaveni.dat";
  TIniFile ini(gamePath);
  EXPECT_EQ(ini.ReadInteger("Hlasitost", "Zvuk", 254), 3);
  ASSERT_TRUE(ini.WriteInteger("Hlasitost", "Hudba", 9));
  EXPECT_EQ(Contents(PathOf("Data/Nastaveni.dat")), "[Hlasitost]\nZvuk=3\nHudba=9\n");
}

TEST_F(IniTest, WritesChangeOnlyTheirLine) {
  const struct {
    const char* what;
    std::string before, section, key, value, after;
  } cases[] = {
      {"value changed in place, other bytes kept",
       "; volumes\r\n[Hlasitost]\r\n  Zvuk = 254   \r\nHudba=254\n\n[Save0]\rDen=1", "hlasitost",
       "ZVUK", "0", "; volumes\r\n[Hlasitost]\r\n  Zvuk = 0\r\nHudba=254\n\n[Save0]\rDen=1"},
      {"empty value filled", "[s]\nk=\n", "s", "k", "5", "[s]\nk=5\n"},
      {"new key after the last key, not after blanks and comments", "[a]\nx=1\n\n;next\n[b]\ny=2\n",
       "a", "z", "5", "[a]\nx=1\nz=5\n\n;next\n[b]\ny=2\n"},
      {"new key in an empty section", "[a]\r\n[b]\r\n", "a", "k", "v", "[a]\r\nk=v\r\n[b]\r\n"},
      {"new key in the last section without a final line end", "[a]\nx=1", "a", "y", "2",
       "[a]\nx=1\ny=2\n"},
      {"new section at the end", "[a]\nx=1\n", "Save0", "Den", "1", "[a]\nx=1\n\n[Save0]\nDen=1\n"},
      {"new section after a missing final line end", "[a]\rx=1", "b", "k", "1",
       "[a]\rx=1\r\r[b]\rk=1\r"},
      {"new section after a trailing blank line", "[a]\nx=1\n\n", "b", "k", "1",
       "[a]\nx=1\n\n[b]\nk=1\n"},
      {"first of equal sections and keys", "[s]\nk=1\nk=3\n[s]\nk=2\n", "s", "k", "9",
       "[s]\nk=9\nk=3\n[s]\nk=2\n"},
      {"code page 1250 bytes pass", "[s]\nn=\xe8\n", "s", "n",
       "Kv\xec"
       "t\xe1k",
       "[s]\nn=Kv\xec"
       "t\xe1k\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = Put("w.ini", c.before);
    TIniFile ini(path);
    ASSERT_TRUE(ini.WriteString(c.section, c.key, c.value));
    EXPECT_EQ(Contents(path), c.after);
    EXPECT_EQ(ini.ReadString(c.section, c.key, "?"), c.value);  // the open copy is in step
    EXPECT_TRUE(Strays("w.ini").empty());
  }
}

TEST_F(IniTest, NewFileHasCrlfLinesAndReadsBack) {
  const std::string path = PathOf("Nastaveni.dat");
  {
    TIniFile ini(path);
    ASSERT_TRUE(ini.WriteInteger("Hlasitost", "Zvuk", 0));
    ASSERT_TRUE(ini.WriteInteger("Hlasitost", "Hudba", 254));
    ASSERT_TRUE(ini.WriteInteger("Save0", "Penize", INT_MIN));
    ASSERT_TRUE(ini.WriteString("Save0", "Text", "a b"));
    EXPECT_EQ(ini.ReadInteger("Hlasitost", "Zvuk", 254), 0);
  }
  EXPECT_EQ(Contents(path),
            "[Hlasitost]\r\nZvuk=0\r\nHudba=254\r\n\r\n[Save0]\r\nPenize=-2147483648\r\n"
            "Text=a b\r\n");
  const TIniFile reopened(path);
  EXPECT_EQ(reopened.ReadInteger("Hlasitost", "Zvuk", 254), 0);
  EXPECT_EQ(reopened.ReadInteger("save0", "penize", 0), INT_MIN);
  EXPECT_EQ(reopened.ReadString("Save0", "Text", ""), "a b");
}

TEST_F(IniTest, WritesKeepPermissionsAndOtherWritersChanges) {
  const std::string path = Put("shared.ini", "[s]\na=1\n");
  chmod(path.c_str(), 0640);
  TIniFile first(path), second(path);
  ASSERT_TRUE(first.WriteInteger("s", "a", 2));
  ASSERT_TRUE(second.WriteInteger("s", "b", 3));  // must not bring back a=1
  EXPECT_EQ(Contents(path), "[s]\na=2\nb=3\n");
  EXPECT_EQ(second.ReadInteger("s", "a", 0), 2);
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(IniTest, WritesThatCouldNotBeReadBackAreRefused) {
  const std::string before = "[s]\nk=1\n";
  const std::string path = Put("r.ini", before);
  TIniFile ini(path);
  EXPECT_FALSE(ini.WriteString("s", "k", "1\r\n[x]"));
  EXPECT_FALSE(ini.WriteString("s\n", "k", "1"));
  EXPECT_FALSE(ini.WriteString("s", "a\rb", "1"));
  EXPECT_FALSE(ini.WriteString("s", "  ", "1"));
  EXPECT_FALSE(ini.WriteString("s", "a=b", "1"));
  EXPECT_FALSE(ini.WriteString("s", ";k", "1"));
  EXPECT_FALSE(ini.WriteString("s", "[k", "1"));
  EXPECT_EQ(Contents(path), before);
  EXPECT_EQ(ini.ReadInteger("s", "k", 0), 1);
}

TEST_F(IniTest, FailedWritesLeaveTheOldFile) {
  // The folder of the path is a regular file: nothing can be created there, not even by root.
  Put("plain", "not a folder");
  TIniFile underFile(PathOf("plain/x.ini"));
  EXPECT_FALSE(underFile.WriteInteger("s", "k", 1));
  EXPECT_EQ(underFile.ReadInteger("s", "k", 7), 7);
  EXPECT_EQ(Contents(PathOf("plain")), "not a folder");

  // A folder in the place of the file: it cannot be read, so it must not be replaced.
  fs::create_directory(dir_ / "folder.ini");
  TIniFile folder(PathOf("folder.ini"));
  EXPECT_FALSE(folder.WriteInteger("s", "k", 1));
  EXPECT_TRUE(fs::is_directory(dir_ / "folder.ini"));
}

TEST_F(IniTest, ReadOnlyFolderOrFileLeavesTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
  const std::string before = "[s]\nk=1\n";
  const std::string path = Put("ro.ini", before);
  TIniFile ini(path);
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(ini.WriteInteger("s", "k", 2));
  fs::permissions(dir_, fs::perms::owner_all);
  EXPECT_EQ(Contents(path), before);
  EXPECT_EQ(ini.ReadInteger("s", "k", 0), 1);

  // A file that is there but cannot be read must not be replaced by one holding only the key.
  chmod(path.c_str(), 0);
  EXPECT_FALSE(ini.WriteInteger("s", "other", 2));
  chmod(path.c_str(), 0644);
  EXPECT_EQ(Contents(path), before);
}

TEST_F(IniTest, DamagedFilesGiveWhatTheirLinesSay) {
  std::string garbage;
  for (int i = 0; i < 256; ++i) garbage += static_cast<char>(i);
  const std::string original = garbage + "\n[s]\nk=5\n" + garbage + garbage;
  const std::string path = Put("bad.ini", original);
  {
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("s", "k", 0), 5);
    EXPECT_EQ(ini.ReadInteger("s", "missing", 3), 3);
    ASSERT_TRUE(ini.WriteInteger("s", "k", 6));
    std::string expected = original;
    expected[expected.find("\n[s]\nk=5\n") + 7] = '6';
    EXPECT_EQ(Contents(path), expected);  // every garbage byte kept
  }

  const TIniFile nul(Put("nul.ini", std::string("[s]\nk=a\0b\n", 10)));
  EXPECT_EQ(nul.ReadString("s", "k", ""), std::string("a\0b", 3));

  const std::string longText(1 << 20, 'x');
  const TIniFile longLine(Put("long.ini", longText + "\n[s]\nlong=" + longText + "\nk=1"));
  EXPECT_EQ(longLine.ReadString("s", "long", "").size(), longText.size());
  EXPECT_EQ(longLine.ReadInteger("s", "k", 0), 1);

  for (const std::string& odd : {std::string(), std::string("\r\r\r"), std::string("["),
                                 std::string("]\n=\n[\n==\n[]]"), std::string(4096, '\0')}) {
    const TIniFile ini(Put("odd.ini", odd));
    EXPECT_EQ(ini.ReadInteger("s", "k", 11), 11);
  }
}

}  // namespace
