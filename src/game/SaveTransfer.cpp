// Saved games out to one file and back. An import first checks the whole file (the archive, every
// member's name, every saved game as a load checks it) and only then touches the Data folder, one
// slot at a time, each whole or not at all.
#include "game/SaveTransfer.h"

#include <optional>

#include "archive/Archive.h"
#include "base/Files.h"
#include "base/IniFile.h"
#include "base/Translation.h"
#include "game/DataFiles.h"
#include "game/GameDate.h"
#include "game/Money.h"
#include "game/SaveGame.h"

namespace save_transfer {

namespace {

constexpr const char* kSummariesMember = "Nastaveni.dat";

// The slot a saved game's name stands for ("save3.DAT" is slot 3).
std::optional<int> SlotOfName(std::string_view name) {
  for (int slot = 0; slot < SaveSlotCount; ++slot) {
    if (SameMemberName(name, data_files::SaveSlotName(slot))) return slot;
  }
  return std::nullopt;
}

// The last part of a path of any system.
std::string_view BaseName(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// "Pozice 3 (Save2.dat)": the slots are listed from the top of the load screen.
std::string SlotText(int slot) {
  // TRANSLATORS: a save slot, {number} counted from the top of the load screen, {file} its file.
  return FillForm(Tr("Pozice {number} ({file})"), {{"{number}", std::to_string(slot + 1)},
                                                   {"{file}", data_files::SaveSlotName(slot)}});
}

std::string SummaryText(const TSaveSlotInfo& s) {
  // TRANSLATORS: what a saved game holds: its level, the date in the game and its money.
  return FillForm(Tr("level {level}, {date}, {money} Kč"), {{"{level}", std::to_string(s.Level)},
                                                            {"{date}", DateToText(s.Date)},
                                                            {"{money}", MoneyToText(s.Money)}});
}

struct TIncoming {
  int Slot = 0;
  std::string Bytes;
  TSaveSlotInfo Summary;
};

// Refuses the whole file: `why` (a translated form, "{file}" the file's name, "{member}" a
// member's) says what is wrong with it.
TResult Refused(const std::string& name, const std::string& why, const std::string& member = "") {
  TResult result;
  result.Ok = false;
  result.Messages.push_back(FillForm(why, {{"{file}", name}, {"{member}", member}}) + " " +
                            Tr("Nic nebylo změněno."));
  return result;
}

}  // namespace

TResult ExportSaves(std::string& file) {
  TResult result;
  std::vector<TArchiveMember> members;
  std::string summaries;
  for (int slot = 0; slot < SaveSlotCount; ++slot) {
    std::string bytes;
    const TReadResult read =
        ReadFileWhole(ReadPath(data_files::SaveSlot(slot)), bytes, SavedGameBytes);
    if (read == TReadResult::Missing) continue;
    // The summary is the game's own: the settings file may be older than the slot's file.
    TSaveSlotInfo summary;
    if (read != TReadResult::Read || !CheckSavedGame(bytes, summary)) {
      result.Ok = false;
      result.Messages.push_back(
          FillForm(Tr("{slot} obsahuje poškozenou hru, která do souboru nebyla přidána."),
                   {{"{slot}", SlotText(slot)}}));
      continue;
    }
    members.push_back({data_files::SaveSlotName(slot), std::move(bytes)});
    summaries += SlotSummaryText(slot, summary);
    result.Messages.push_back(
        FillForm(Tr("{slot}: {summary}."),
                 {{"{slot}", SlotText(slot)}, {"{summary}", SummaryText(summary)}}));
  }
  if (members.empty()) {
    result.Ok = false;
    result.Messages.push_back(Tr("Žádná pozice neobsahuje uloženou hru; soubor nebyl vytvořen."));
    file.clear();
    return result;
  }
  members.push_back({kSummariesMember, std::move(summaries)});
  std::string error;
  PackArchive(members, file, error);  // the names are the game's own: never refused
  return result;
}

TResult ImportSaves(const std::string& path, std::string_view bytes, bool replace) {
  const std::string name(BaseName(path));
  std::vector<TIncoming> incoming;
  if (const std::optional<int> slot = SlotOfName(name)) {
    incoming.push_back({*slot, std::string(bytes), {}});
  } else {
    std::vector<TArchiveMember> members;
    if (!UnpackArchive(bytes, members)) {
      return Refused(name,
                     Tr("Soubor „{file}“ není soubor uložených her Kelvory, nebo je poškozený."));
    }
    bool summaries = false;
    for (TArchiveMember& member : members) {
      const std::optional<int> slot = SlotOfName(member.Name);
      bool twice = summaries && SameMemberName(member.Name, kSummariesMember);
      for (const TIncoming& earlier : incoming) twice = twice || (slot && earlier.Slot == *slot);
      if (twice)
        return Refused(name, Tr("Soubor „{file}“ obsahuje dvakrát „{member}“."), member.Name);
      if (slot) {
        incoming.push_back({*slot, std::move(member.Bytes), {}});
      } else if (SameMemberName(member.Name, kSummariesMember)) {
        summaries = true;  // the summaries are taken from the games themselves
      } else {
        return Refused(name,
                       Tr("Soubor „{file}“ obsahuje „{member}“, což není uložená hra Kelvory."),
                       member.Name);
      }
    }
    if (incoming.empty())
      return Refused(name, Tr("Soubor „{file}“ neobsahuje žádnou uloženou hru."));
  }
  for (TIncoming& game : incoming) {
    if (!CheckSavedGame(game.Bytes, game.Summary)) {
      return Refused(name,
                     Tr("Soubor „{file}“ obsahuje poškozenou nebo neplatnou hru {member}, "
                        "kterou hra nenačte."),
                     data_files::SaveSlotName(game.Slot));
    }
  }

  TResult result;
  TIniFile settings(data_files::Settings);
  for (const TIncoming& game : incoming) {
    std::string held;
    const TReadResult read = ReadFileWhole(ReadPath(data_files::SaveSlot(game.Slot)), held);
    if (read == TReadResult::Read && held == game.Bytes) {
      // The same game again: only its summary may be missing.
      TSaveSlotInfo listed;
      ReadSlotSummary(settings, game.Slot, listed);
      if (SummaryText(listed) == SummaryText(game.Summary) ||
          WriteSlotSummary(settings, game.Slot, game.Summary)) {
        result.Messages.push_back(
            FillForm(Tr("{slot} už tuto hru obsahuje."), {{"{slot}", SlotText(game.Slot)}}));
        continue;
      }
    } else if (read != TReadResult::Missing && !replace) {
      result.Ok = false;
      result.SlotsKept = true;
      result.Messages.push_back(
          FillForm(Tr("{slot} už obsahuje uloženou hru; ta zůstala a nová nebyla nahrána."),
                   {{"{slot}", SlotText(game.Slot)}}));
      continue;
    }
    const TSlotPut put = PutIntoSlot(settings, game.Slot, game.Bytes, game.Summary);
    if (put == TSlotPut::Put) {
      result.Messages.push_back(
          FillForm(Tr("{slot}: nahrána hra {summary}."),
                   {{"{slot}", SlotText(game.Slot)}, {"{summary}", SummaryText(game.Summary)}}));
      continue;
    }
    result.Ok = false;
    result.Messages.push_back(FillForm(
        put == TSlotPut::Kept
            ? Tr("{slot}: hru se nepodařilo uložit (na disku asi není místo, nebo do "
                 "složky Data nelze zapisovat); pozice zůstala, jak byla.")
            // TRANSLATORS: the game's file was written, its summary not, and the old game could
            // not be put back either: the slot may hold the new game while its list shows the old.
            : Tr("{slot}: hru se nepodařilo uložit celou a původní hru se do pozice "
                 "nepodařilo vrátit (na disku asi není místo, nebo do složky Data nelze "
                 "zapisovat). Pozice teď může obsahovat novou hru, i když seznam ukazuje "
                 "tu původní."),
        {{"{slot}", SlotText(game.Slot)}}));
  }
  return result;
}

}  // namespace save_transfer
