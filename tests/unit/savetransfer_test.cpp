// Saved games out to one file and back: every slot and its summary come back byte for byte, a
// damaged or hostile file is refused and changes nothing, a slot holding a game is kept unless
// replacing is asked, and a single saved game of the game's own is taken by its name.
#include "game/SaveTransfer.h"

#include <map>

#include "TestSupport.h"
#include "base/Files.h"
#include "base/IniFile.h"
#include "game/DataFiles.h"
#include "game/SaveGame.h"

namespace {

namespace fs = std::filesystem;
using save_transfer::ExportSaves;
using save_transfer::ImportSaves;
using save_transfer::TResult;

// A saved game of its own for each seed: level, date and money differ.
std::string GameBytes(int seed) {
  TGame g;
  g.LevelNumber = 1 + seed;
  g.Date = TGameDate(static_cast<uint16_t>(3 + seed), static_cast<uint16_t>(1 + seed), 2002);
  g.Money = 1000 * seed + 7;
  g.Field[seed][2].Owned = true;
  return SavedGameImage(g);
}

// Every file of Data with its bytes.
std::map<std::string, std::string> DataFolder() {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator("Data")) {
    files[entry.path().filename().string()] = ReadFile(entry.path());
  }
  return files;
}

TSaveSlotInfo Listed(int slot) {
  TSaveSlotInfo summary;
  ReadSlotSummary(TIniFile("Data\\Nastaveni.dat"), slot, summary);
  return summary;
}

// `slot` holds the saved game of `seed`, listed with its level, date and money.
void ExpectSlotHolds(int slot, int seed) {
  EXPECT_EQ(ReadFile("Data/Save" + std::to_string(slot) + ".dat"), GameBytes(seed)) << slot;
  const TSaveSlotInfo listed = Listed(slot);
  EXPECT_EQ(listed.Money, 1000 * seed + 7) << slot;
  EXPECT_EQ(listed.Level, 1 + seed) << slot;
  EXPECT_EQ(DateToText(listed.Date),
            std::to_string(3 + seed) + "." + std::to_string(1 + seed) + ".2002")
      << slot;
}

// Puts the saved game of `seed` into `slot`, with its summary.
void PutGame(int slot, int seed) {
  TIniFile settings("Data\\Nastaveni.dat");
  TSaveSlotInfo summary;
  ASSERT_TRUE(CheckSavedGame(GameBytes(seed), summary));
  ASSERT_EQ(PutIntoSlot(settings, slot, GameBytes(seed), summary), TSlotPut::Put);
}

std::string AllMessages(const TResult& r) {
  std::string text;
  for (const std::string& m : r.Messages) text += m + "\n";
  return text;
}

TEST(SaveTransfer, AllFiveSlotsTravelWithTheirSummaries) {
  std::string file;
  {
    TTestFolder from("transfer_from");
    for (int slot = 0; slot < SaveSlotCount; ++slot) ASSERT_NO_FATAL_FAILURE(PutGame(slot, slot));
    const TResult exported = ExportSaves(file);
    EXPECT_TRUE(exported.Ok) << AllMessages(exported);
    std::vector<TArchiveMember> members;
    ASSERT_TRUE(UnpackArchive(file, members));
    ASSERT_EQ(members.size(), 6u);
    EXPECT_EQ(members[4].Name, "Save4.dat");
    EXPECT_EQ(members[4].Bytes, GameBytes(4));
    EXPECT_EQ(members[5].Name, "Nastaveni.dat");
    EXPECT_NE(members[5].Bytes.find("[Save3]\r\nCisloLevelu=4\r\nDen=6\r\nMesic=4\r\nRok=2002\r\n"
                                    "Penize=3007\r\n"),
              std::string::npos);
  }
  TTestFolder to("transfer_to");
  WriteFile("Data/Nastaveni.dat", "[Hlasitost]\r\nZvuk=10\r\n");
  const TResult imported = ImportSaves("kelvora-hry.dat", file, false);
  EXPECT_TRUE(imported.Ok) << AllMessages(imported);
  for (int slot = 0; slot < SaveSlotCount; ++slot) ExpectSlotHolds(slot, slot);
  EXPECT_NE(ReadFile("Data/Nastaveni.dat").find("Zvuk=10"), std::string::npos);
  // The same file again finds every game in its place.
  EXPECT_TRUE(ImportSaves("kelvora-hry.dat", file, false).Ok);
  // Nothing to export is no file at all.
  for (int slot = 0; slot < SaveSlotCount; ++slot)
    fs::remove(WritePath(data_files::SaveSlot(slot)));
  EXPECT_FALSE(ExportSaves(file).Ok);
  EXPECT_TRUE(file.empty());
}

// Each file below is refused as a whole, names itself in the message, and leaves Data as it was
// (slot 1 holds a game, slot 0 none).
TEST(SaveTransfer, DamagedOrHostileFilesAreRefusedAndChangeNothing) {
  TTestFolder folder("transfer_damaged");
  ASSERT_NO_FATAL_FAILURE(PutGame(1, 1));
  const auto before = DataFolder();

  std::string negativeMoney = GameBytes(0);
  negativeMoney.replace(80, 4, "\xFF\xFF\xFF\xFF");
  const std::string good = Packed({{"Save0.dat", GameBytes(0)}});
  // Two members on the same bytes, and the same slot twice (its name in another case).
  std::string overlapping = Packed({{"Save0.dat", GameBytes(0)}, {"Save2.dat", ""}});
  overlapping.replace(4 + 32 + 24, 8, good.substr(4 + 24, 8));
  std::string twice = Packed({{"Save0.dat", GameBytes(0)}, {"SaveX.dat", GameBytes(1)}});
  twice.replace(4 + 32, 9, "save0.dat");
  const std::map<std::string, std::string> refused = {
      {"Save0.dat", negativeMoney},
      {"save0.DAT", GameBytes(0).substr(1)},
      {"Save3.dat", GameBytes(0) + "x"},
      {"cut.dat", good.substr(0, good.size() - 1)},
      {"bad-game.dat", Packed({{"Save4.dat", GameBytes(4)}, {"Save0.dat", negativeMoney}})},
      {"stranger.dat", Packed({{"Save0.dat", GameBytes(0)}, {"Level.dat", "[Level1]"}})},
      {"twice.dat", twice},
      {"overlap.dat", overlapping},
      {"empty.dat", Packed({{"Nastaveni.dat", ""}})},
      {"text.txt", "nothing but text"},
  };
  for (const auto& [name, bytes] : refused) {
    const TResult r = ImportSaves("/somewhere/" + name, bytes, true);
    EXPECT_FALSE(r.Ok) << name;
    EXPECT_NE(AllMessages(r).find("„" + name + "“"), std::string::npos) << AllMessages(r);
    EXPECT_EQ(DataFolder(), before) << name;
  }
  // The good archive itself is taken.
  EXPECT_TRUE(ImportSaves("good.dat", good, false).Ok);
  EXPECT_EQ(ReadFile("Data/Save0.dat"), GameBytes(0));
}

TEST(SaveTransfer, ASlotHoldingAGameIsReplacedOnlyWhenAskedAndASingleGameTakesTheSlotOfItsName) {
  TTestFolder folder("transfer_replace");
  ASSERT_NO_FATAL_FAILURE(PutGame(2, 2));
  const std::string file = Packed({{"Save2.dat", GameBytes(4)}, {"Save3.dat", GameBytes(3)}});

  const TResult kept = ImportSaves("hry.dat", file, false);
  EXPECT_FALSE(kept.Ok);
  EXPECT_TRUE(kept.SlotsKept);
  ExpectSlotHolds(2, 2);
  ExpectSlotHolds(3, 3);  // the free slot is taken

  const TResult replaced = ImportSaves("hry.dat", file, true);
  EXPECT_TRUE(replaced.Ok) << AllMessages(replaced);
  EXPECT_FALSE(replaced.SlotsKept);
  ExpectSlotHolds(2, 4);
  // A saved game as the desktop game writes it is taken into the slot its name gives, whatever
  // the folder it comes from and the case of the name; the same bytes under another name are no
  // file of saved games.
  const TResult r = ImportSaves("C:\\Users\\hrac\\SAVE4.DAT", GameBytes(1), false);
  EXPECT_TRUE(r.Ok) << AllMessages(r);
  ExpectSlotHolds(4, 1);
  EXPECT_FALSE(ImportSaves("Hra.dat", GameBytes(1), false).Ok);
  EXPECT_FALSE(ImportSaves("Save5.dat", GameBytes(1), false).Ok);
  EXPECT_FALSE(fs::exists("Data/Save5.dat"));
}

// The disk takes a saved game but not the settings that name it: the slot's old file goes back
// and the transfer says the slot stayed as it was. Where the old file cannot go back either (it
// is larger than the disk still takes), the transfer says the slot may now hold the new game.
TEST(SaveTransfer, ASlotThatCouldNotBePutBackIsNeverToldAsKept) {
  TTestFolder folder("transfer_put_back");
  const std::string settings = std::string(20000, ';') + "\r\n";
  WriteFile("Data/Nastaveni.dat", settings);
  WriteFile("Data/Save1.dat", GameBytes(1));
  const std::string large(16500, 'x');  // a damaged game, too large to be written again
  WriteFile("Data/Save2.dat", large);
  const std::string file = Packed({{"Save1.dat", GameBytes(3)}, {"Save2.dat", GameBytes(4)}});
  TResult r;
  {
    const TFileSizeLimit limit(16000);
    if (!limit.Holds()) GTEST_SKIP() << "no file-size limit on this system";
    r = ImportSaves("hry.dat", file, true);
  }
  EXPECT_FALSE(r.Ok);
  ASSERT_EQ(r.Messages.size(), 2u) << AllMessages(r);
  EXPECT_NE(r.Messages[0].find("zůstala, jak byla"), std::string::npos) << r.Messages[0];
  EXPECT_EQ(ReadFile("Data/Save1.dat"), GameBytes(1));
  EXPECT_EQ(r.Messages[1].find("zůstala"), std::string::npos) << r.Messages[1];
  EXPECT_NE(r.Messages[1].find("Pozice 3 (Save2.dat)"), std::string::npos) << r.Messages[1];
  EXPECT_NE(r.Messages[1].find("může obsahovat novou hru"), std::string::npos) << r.Messages[1];
  EXPECT_EQ(ReadFile("Data/Save2.dat"), GameBytes(4));
  EXPECT_EQ(ReadFile("Data/Nastaveni.dat"), settings);
}

}  // namespace
