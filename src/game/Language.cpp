#include "game/Language.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "archive/Archive.h"
#include "base/Catalogue.h"
#include "base/Files.h"
#include "base/Translation.h"
#include "game/DataFiles.h"

namespace {

std::string Spoken = "cs";

// A code names a file: nothing in it may lead out of the Data folder.
bool PlausibleCode(const std::string& code) {
  return !code.empty() && code.size() <= 16 && std::all_of(code.begin(), code.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
  });
}

// The catalogue of the language's game data, or false.
bool ReadCatalogue(const std::string& code, TCatalogue& catalogue) {
  std::string archive;
  if (ReadFileWhole(ReadPath(data_files::LanguageData(code)), archive) != TReadResult::Read) {
    return false;
  }
  std::vector<TArchiveMember> members;
  if (!UnpackArchive(archive, members)) return false;
  const auto member = std::find_if(members.begin(), members.end(), [](const TArchiveMember& m) {
    return m.Name == data_files::CatalogueMember;
  });
  return member != members.end() && catalogue.Read(member->Bytes);
}

}  // namespace

bool SpeakLanguage(const std::string& code) {
  UseCatalogue(TCatalogue());
  Spoken = "cs";
  if (code == "cs") return true;
  TCatalogue catalogue;
  if (!PlausibleCode(code) || !ReadCatalogue(code, catalogue)) return false;
  UseCatalogue(std::move(catalogue));
  Spoken = code;
  return true;
}

const std::string& SpokenLanguage() { return Spoken; }
