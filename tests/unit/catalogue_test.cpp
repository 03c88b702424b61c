// The translation catalogue reader, on catalogues compiled by Debian's msgfmt from
// tests/data/catalogue.po in both byte orders, and on damaged copies of them.
#include <gtest/gtest.h>

#include <string>

#include "TestFolder.h"
#include "base/Catalogue.h"
#include "base/Translation.h"

namespace {

const std::string kLittle = KELVORA_TEST_CATALOGUES "/catalogue.mo";
const std::string kBig = KELVORA_TEST_CATALOGUES "/catalogue-big.mo";

TEST(Catalogue, FindsEachTranslatedTextInEitherByteOrderAndDamagedDataReadsAsNone) {
  for (const std::string& path : {kLittle, kBig}) {
    SCOPED_TRACE(path);
    const std::string data = ReadFile(path);
    ASSERT_FALSE(data.empty());
    TCatalogue catalogue;
    ASSERT_TRUE(catalogue.Read(data));
    EXPECT_EQ(*catalogue.Find("Peníze : "), "Money : ");
    EXPECT_EQ(*catalogue.Find("Ano"), "Aye");
    EXPECT_EQ(*catalogue.Find("button\004Ano"), "Yes");
    EXPECT_EQ(*catalogue.Find("%d rostlina"), "%d plant");
    // Untranslated, fuzzy, the header's empty text, and a text that is not there.
    EXPECT_EQ(catalogue.Find("Nepřeloženo"), nullptr);
    EXPECT_EQ(catalogue.Find("Studna : Ano"), nullptr);
    EXPECT_EQ(catalogue.Find(""), nullptr);
    EXPECT_EQ(catalogue.Find("Peníze"), nullptr);
    EXPECT_EQ(catalogue.Size(), 5u);
  }
  // Damaged data reads as no catalogue.
  const std::string whole = ReadFile(kLittle);
  ASSERT_GT(whole.size(), 28u);
  TCatalogue catalogue;
  // Cut short anywhere before its last text ends: the tables or texts run past the end.
  for (size_t size = 0; size < whole.size(); ++size) {
    ASSERT_TRUE(catalogue.Read(whole));
    const bool read = catalogue.Read(whole.substr(0, size));
    // The last text's NUL terminator is the only byte that may go.
    ASSERT_TRUE(size + 1 == whole.size() || !read) << size;
    ASSERT_TRUE(read || catalogue.Size() == 0u) << size;
  }
  // Another file, a later major revision, and a text table pointing past the end.
  EXPECT_FALSE(catalogue.Read(std::string(64, 'x')));
  std::string later = whole;
  later[6] = 2;  // revision 2.0, little-endian: bytes 4-7, the major number in the high half
  EXPECT_FALSE(catalogue.Read(later));
  std::string wild = whole;
  wild[16] = wild[17] = wild[18] = wild[19] = '\xff';  // the translations' table offset
  EXPECT_FALSE(catalogue.Read(wild));
  EXPECT_EQ(catalogue.Find("Ano"), nullptr);
}

// The game's texts: translated where the catalogue in use has them, in code page 1250, and in
// Czech again once the catalogue is put away.
TEST(Catalogue, TextsComeFromTheCatalogueInUse) {
  // The other tests' texts are Czech, whatever this one stops at.
  struct TBackToCzech {
    ~TBackToCzech() { UseCatalogue(TCatalogue()); }
  } backToCzech;
  TCatalogue english;
  ASSERT_TRUE(english.Read(ReadFile(kLittle)));
  const char* money = "Peníze : ";
  const char* harvest = "Sklidit";
  const char* untranslated = "Nepřeloženo";
  EXPECT_EQ(Tr(money), money);
  UseCatalogue(english);
  EXPECT_EQ(Tr(money), "Money : ");
  EXPECT_EQ(Tr(harvest), "Zbiór");
  EXPECT_EQ(Tr(untranslated), untranslated);
  UseCatalogue(TCatalogue());
  EXPECT_EQ(Tr(money), "Peníze : ");
  EXPECT_EQ(Tr(harvest), "Sklidit");
}

}  // namespace
