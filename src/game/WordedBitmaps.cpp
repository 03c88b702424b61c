#include "game/WordedBitmaps.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "archive/Archive.h"
#include "base/Files.h"
#include "game/DataFiles.h"
#include "game/Language.h"

namespace {

// Member names compare as the archive reader compares them: ASCII letters without case.
bool SameName(const std::string& a, const char* b) {
  const std::string other(b);
  return a.size() == other.size() &&
         std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string BitmapArchive(const std::string& code, const char* member) {
  if (code == "cs" || !member) return data_files::Graphics;
  const std::string own = data_files::LanguageGraphics(code);
  const std::string path = ReadPath(own);
  if (CheckArchive(path) != TArchiveState::Whole) return data_files::Graphics;
  std::vector<TArchiveEntry> entries;
  if (ListArchive(path, entries) != TListResult::Complete) return data_files::Graphics;
  const bool holds = std::any_of(entries.begin(), entries.end(), [&](const TArchiveEntry& entry) {
    return SameName(entry.Name, member);
  });
  return holds ? own : data_files::Graphics;
}

bool ExtractBitmap(const char* member) {
  TArchive archive;
  const std::string from = BitmapArchive(SpokenLanguage(), member);
  if (from != data_files::Graphics) {
    const TExtractResult result = archive.Extract(member, member, from.c_str());
    // Written, or found but not writable (which Grafika.dat's copy would not be either).
    if (result == TExtractResult::Extracted || result == TExtractResult::OutputFailed) return true;
  }
  return archive.ExtractMember(member, member, data_files::Graphics);
}
