#include "base/IniFile.h"

#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

// Every test runs in a fresh folder of its own, entered while it runs.
class IniTest : public testing::Test {
 protected:
  static std::string Put(const std::string& name, const std::string& bytes) {
    WriteFile(name, bytes);
    return name;
  }

  TTestFolder folder_{"ini", TTestFolder::kEmpty};
};

TEST_F(IniTest, ReadsFollowTheProfileRulesAndNumbersTakeSignAndDigitsOnly) {
  const std::string dflt = "<default>";
  // The rule, the file, the section and key read, what is read.
  const std::tuple<const char*, std::string, std::string, std::string, std::string> cases[] = {
      {"names ignore case", "[Hlasitost]\r\nZvuk=12\r\n", "HLASITOST", "zvuk", "12"},
      {"blanks around names and values", "  [ Sec ]  \n\t key \t=\t v a l \t\n", "sec", "KEY",
       "v a l"},
      {"inner blanks belong to the key", "[L]\nStavet Studnu=1\n", "l", "stavet studnu", "1"},
      {"CRLF, LF and lone CR end lines", "[s]\r\na=1\nb=2\rc=3", "s", "b", "2"},
      {"double quotes removed", "[s]\nn=\"v2\"\n", "s", "n", "v2"},
      {"single quotes removed", "[s]\nn='v2'\n", "s", "n", "v2"},
      {"blanks inside quotes kept", "[s]\nn=\" v \"\n", "s", "n", " v "},
      {"only one pair removed", "[s]\nn=\"\"x\"\"\n", "s", "n", "\"x\""},
      {"different quotes kept", "[s]\nn=\"abc'\n", "s", "n", "\"abc'"},
      {"lone quote kept", "[s]\nn=\"\n", "s", "n", "\""},
      {"empty value is a value", "[s]\nk=\n", "s", "k", ""},
      {"text after the first equals sign", "[s]\nk=a=b\n", "s", "k", "a=b"},
      {"semicolon after a value is text", "[s]\nk=1 ;c\n", "s", "k", "1 ;c"},
      {"indented comment line is no key", "[s]\n  ;k=1\n", "s", ";k", dflt},
      {"line without equals sign", "[s]\nk\n", "s", "k", dflt},
      {"first of equal keys", "[s]\nk=1\nK=2\n", "s", "k", "1"},
      {"first of equal sections", "[s]\na=1\n[t]\n[S]\na=2\nb=3\n", "s", "a", "1"},
      {"later equal section unseen", "[s]\na=1\n[t]\n[S]\na=2\nb=3\n", "s", "b", dflt},
      {"keys stay in their section", "[a]\nk=1\n[b]\n", "b", "k", dflt},
      {"keys before any section", "k=1\n[s]\n", "s", "k", dflt},
      {"unclosed bracket is no header", "[s]\n[t\nk=1\n", "s", "k", "1"},
      {"text after the bracket", "[s] ; slot\nk=1\n", "s", "k", "1"},
      {"letters above ASCII keep their case", "[s]\n\xc8=1\n", "s", "\xe8", dflt},
  };
  for (const auto& [rule, file, section, key, expected] : cases) {
    SCOPED_TRACE(rule);
    const TIniFile ini(Put("case.ini", file));
    EXPECT_EQ(ini.ReadString(section, key, dflt), expected);
  }
  // ReadInteger takes sign and digits only; ReadBool is it with 0 false, any other number true.
  auto ini = [](const std::string& value) {
    return TIniFile(Put("int.ini", "[s]\nk=" + value + "\n"));
  };
  const std::pair<const char*, int> numbers[] = {
      {"-17", -17}, {"+8", 8}, {"010", 10}, {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}};
  for (auto [value, expected] : numbers)
    EXPECT_EQ(ini(value).ReadInteger("s", "k", -99), expected) << value;
  for (const char* bad : {"2147483648", "-2147483649", "42A9", "", "0x10", "+-1", "-"})
    EXPECT_EQ(ini(bad).ReadInteger("s", "k", -99), -99) << "value '" << bad << "'";
  for (auto [value, dflt, expected] : {std::tuple{"0", true, false},
                                       {"1", false, true},
                                       {"2", false, true},
                                       {"abc", true, true},
                                       {"abc", false, false}})
    EXPECT_EQ(ini(value).ReadBool("s", "k", dflt), expected) << value << " " << dflt;
}

TEST_F(IniTest, AMissingFileReadsAsEmptyAndWritesChangeOnlyTheirLine) {
  const TIniFile ini("none.ini");
  EXPECT_EQ(ini.ReadInteger("Hlasitost", "Zvuk", 254), 254);
  EXPECT_EQ(ini.ReadString("Level1", "Text", "x"), "x");
  EXPECT_TRUE(ini.ReadBool("s", "k", true));
  EXPECT_FALSE(fs::exists("none.ini"));  // reading creates nothing
  // Written, it is made with CRLF line ends.
  TIniFile fresh("Nastaveni.dat");
  ASSERT_TRUE(fresh.WriteInteger("Hlasitost", "Zvuk", 0));
  ASSERT_TRUE(fresh.WriteInteger("Hlasitost", "Hudba", 254));
  ASSERT_TRUE(fresh.WriteInteger("Save0", "Penize", INT_MIN));
  ASSERT_TRUE(fresh.WriteString("Save0", "Text", "a b"));
  EXPECT_EQ(ReadFile("Nastaveni.dat"),
            "[Hlasitost]\r\nZvuk=0\r\nHudba=254\r\n\r\n[Save0]\r\nPenize=-2147483648\r\n"
            "Text=a b\r\n");
  // What, the file before, the section, key and value written, the file after.
  const std::tuple<const char*, std::string, std::string, std::string, std::string, std::string>
      cases[] = {
          {"value changed in place, other bytes kept",
           "; volumes\r\n[Hlasitost]\r\n  Zvuk = 254   \r\nHudba=254\n\n[Save0]\rDen=1",
           "hlasitost", "ZVUK", "0",
           "; volumes\r\n[Hlasitost]\r\n  Zvuk = 0\r\nHudba=254\n\n[Save0]\rDen=1"},
          {"empty value filled", "[s]\nk=\n", "s", "k", "5", "[s]\nk=5\n"},
          {"new key after the last key, not after blanks and comments",
           "[a]\nx=1\n\n;next\n[b]\ny=2\n", "a", "z", "5", "[a]\nx=1\nz=5\n\n;next\n[b]\ny=2\n"},
          {"new key in an empty section", "[a]\r\n[b]\r\n", "a", "k", "v", "[a]\r\nk=v\r\n[b]\r\n"},
          {"new key in the last section without a final line end", "[a]\nx=1", "a", "y", "2",
           "[a]\nx=1\ny=2\n"},
          {"new section at the end", "[a]\nx=1\n", "Save0", "Den", "1",
           "[a]\nx=1\n\n[Save0]\nDen=1\n"},
          {"new section after a missing final line end", "[a]\rx=1", "b", "k", "1",
           "[a]\rx=1\r\r[b]\rk=1\r"},
          {"new section after a trailing blank line", "[a]\nx=1\n\n", "b", "k", "1",
           "[a]\nx=1\n\n[b]\nk=1\n"},
          {"first of equal sections and keys", "[s]\nk=1\nk=3\n[s]\nk=2\n", "s", "k", "9",
           "[s]\nk=9\nk=3\n[s]\nk=2\n"},
          {"a quoted value quoted again", "[s]\nk=1\n", "s", "k", "'c'", "[s]\nk=\"'c'\"\n"},
          {"blanks around a new value kept in quotes", "[s]\n", "s", "n", " b ",
           "[s]\nn=\" b \"\n"},
      };
  for (const auto& [what, before, section, key, value, after] : cases) {
    SCOPED_TRACE(what);
    TIniFile ini(Put("w.ini", before));
    ASSERT_TRUE(ini.WriteString(section, key, value));
    EXPECT_EQ(ReadFile("w.ini"), after);
    EXPECT_EQ(ini.ReadString(section, key, "?"), value);  // the open copy is in step
    EXPECT_EQ(TIniFile("w.ini").ReadString(section, key, "?"), value);
  }
  // Another writer's change is kept.
  TIniFile first(Put("shared.ini", "[s]\na=1\n")), second("shared.ini");
  ASSERT_TRUE(first.WriteInteger("s", "a", 2));
  ASSERT_TRUE(second.WriteInteger("s", "b", 3));  // must not bring back a=1
  EXPECT_EQ(ReadFile("shared.ini"), "[s]\na=2\nb=3\n");
  EXPECT_EQ(second.ReadInteger("s", "a", 0), 2);
}

// Writes refused, failed, or of the value the file holds leave the file as it was.
TEST_F(IniTest, RefusedFailedAndNeedlessWritesLeaveTheOldFile) {
  const std::string before = "[s]\nk=1\n";
  TIniFile ini(Put("r.ini", before));
  EXPECT_FALSE(ini.WriteString("s", "k", "1\r\n[x]"));
  EXPECT_FALSE(ini.WriteString("s\n", "k", "1"));
  for (const char* key : {"a\rb", "  ", "a=b", ";k", "[k"})
    EXPECT_FALSE(ini.WriteString("s", key, "1")) << key;
  EXPECT_EQ(ReadFile("r.ini"), before);
  EXPECT_EQ(ini.ReadInteger("s", "k", 0), 1);
  // The folder of the path is a regular file: nothing can be created there, not even by root.
  Put("plain", "not a folder");
  TIniFile underFile("plain/x.ini");
  EXPECT_FALSE(underFile.WriteInteger("s", "k", 1));
  EXPECT_EQ(underFile.ReadInteger("s", "k", 7), 7);
  EXPECT_EQ(ReadFile("plain"), "not a folder");
  // A folder in the place of the file: it cannot be read, so it must not be replaced.
  fs::create_directory("folder.ini");
  TIniFile folder("folder.ini");
  EXPECT_FALSE(folder.WriteInteger("s", "k", 1));
  EXPECT_TRUE(fs::is_directory("folder.ini"));
  // A value the file holds already needs no write, so a disk that takes nothing more fails only
  // the writes that would change the file.
  const std::string same = "[s]\r\nk = 5\r\n";
  TIniFile unchanged(Put("same.ini", same));
  const TFileSizeLimit limit(1);
  if (!limit.Holds()) GTEST_SKIP() << "no file-size limit on this system";
  EXPECT_TRUE(unchanged.WriteInteger("s", "k", 5));
  EXPECT_FALSE(unchanged.WriteInteger("s", "k", 6));
  EXPECT_FALSE(unchanged.WriteInteger("s", "other", 5));
  EXPECT_EQ(ReadFile("same.ini"), same);
}

TEST_F(IniTest, DamagedFilesGiveWhatTheirLinesSay) {
  std::string garbage;
  for (int i = 0; i < 256; ++i) garbage += static_cast<char>(i);
  const std::string original = garbage + "\n[s]\nk=5\n" + garbage + garbage;
  {
    TIniFile ini(Put("bad.ini", original));
    EXPECT_EQ(ini.ReadInteger("s", "k", 0), 5);
    EXPECT_EQ(ini.ReadInteger("s", "missing", 3), 3);
    ASSERT_TRUE(ini.WriteInteger("s", "k", 6));
    std::string expected = original;
    expected[expected.find("\n[s]\nk=5\n") + 7] = '6';
    EXPECT_EQ(ReadFile("bad.ini"), expected);  // every garbage byte kept
  }
  const TIniFile nul(Put("zero.ini", std::string("[s]\nk=a\0b\n", 10)));
  EXPECT_EQ(nul.ReadString("s", "k", ""), std::string("a\0b", 3));
  const std::string longText(1 << 20, 'x');
  const TIniFile longLine(Put("long.ini", longText + "\n[s]\nlong=" + longText + "\nk=1"));
  EXPECT_EQ(longLine.ReadString("s", "long", "").size(), longText.size());
  EXPECT_EQ(longLine.ReadInteger("s", "k", 0), 1);  // the last line, without a line end
}

}  // namespace
