#include "game/Language.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "archive/Archive.h"
#include "base/Catalogue.h"
#include "base/Files.h"
#include "base/IniFile.h"
#include "base/Translation.h"
#include "game/DataFiles.h"
#include "platform/Folders.h"

namespace {

std::string Spoken = "cs";
void (*LanguageChanged)(const std::string&) = nullptr;

// Czech's own name, which each catalogue translates into its language's own.
constexpr const char* kOwnName =
    // TRANSLATORS: the name of your language in your language, as a list of languages shows it
    // ("English", "polski"): the options screen offers it so.
    TrLater("čeština");

// Where the settings file keeps the player's choice.
constexpr const char* kLanguageSection = "Jazyk";
constexpr const char* kChoiceKey = "Volba";

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

bool SpeakLanguage(std::string code) {
  // The language in use stays until the new one is read whole: a page that asks which language
  // is spoken while the pictures are fetched hears the old one, never Czech for a moment.
  TCatalogue catalogue;
  const bool known = code == "cs" || (PlausibleCode(code) && ReadCatalogue(code, catalogue));
  // Its pictures, where the system keeps them apart; without them Czech's are shown.
  if (known && code != "cs") platform::FetchInstalledFile(data_files::LanguageGraphics(code));
  UseCatalogue(std::move(catalogue));
  const std::string before = std::exchange(Spoken, known ? std::move(code) : "cs");
  if (LanguageChanged && Spoken != before) LanguageChanged(Spoken);
  return known;
}

const std::string& SpokenLanguage() { return Spoken; }

void WhenLanguageChanges(void (*listener)(const std::string& code)) { LanguageChanged = listener; }

void SpeakSystemLanguage(const std::vector<std::string>& system) {
  for (const std::string& name : system) {
    // "de_AT.UTF-8@euro" and "de-AT" both name the code "de_AT" of the language "de".
    std::string code = name.substr(0, name.find_first_of(".@"));
    std::replace(code.begin(), code.end(), '-', '_');
    for (const std::string& candidate : {code, code.substr(0, code.find('_'))}) {
      if (SpeakLanguage(candidate)) return;
    }
  }
  SpeakLanguage("cs");
}

bool SpeakStartLanguage(const std::string& option, const std::vector<std::string>& system) {
  if (!option.empty()) return SpeakLanguage(option);
  const std::string chosen = ChosenLanguage();
  if (chosen.empty() || !SpeakLanguage(chosen)) SpeakSystemLanguage(system);
  return true;
}

std::string ChosenLanguage() {
  const TIniFile settings(data_files::Settings);
  return settings.ReadString(kLanguageSection, kChoiceKey, "");
}

bool KeepChosenLanguage(const std::string& code) {
  TIniFile settings(data_files::Settings);
  return settings.WriteString(kLanguageSection, kChoiceKey, code);
}

std::vector<TOfferedLanguage> OfferedLanguages() {
  std::vector<TOfferedLanguage> languages{{"cs", kOwnName}};
  using data_files::LanguageDataPrefix, data_files::LanguageDataSuffix;
  for (const std::string& file : ListGameFiles("Data", LanguageDataPrefix, LanguageDataSuffix)) {
    const std::string code =
        file.substr(LanguageDataPrefix.size(),
                    file.size() - LanguageDataPrefix.size() - LanguageDataSuffix.size());
    if (!PlausibleCode(code)) continue;
    TCatalogue catalogue;
    if (!ReadCatalogue(code, catalogue)) continue;
    const std::string* name = catalogue.Find(kOwnName);
    languages.push_back({code, name ? *name : code});
  }
  return languages;
}
