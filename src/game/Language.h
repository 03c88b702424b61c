// The language the game speaks: Czech, its own, or a language whose game data the Data folder
// holds (data_files::LanguageData, made from the translators' catalogue po/<code>.po).
#pragma once

#include <string>
#include <vector>

// Puts the texts of the language `code` ("en", "de"...) in use, "cs" being Czech. False, with
// every text left in Czech, where the Data folder holds no readable catalogue of that language
// or the code is none a language could have (a letter, digit, '-' or '_', at most 16).
bool SpeakLanguage(std::string code);

// The code of the language in use: "cs" until another is put in use.
const std::string& SpokenLanguage();

// Calls `listener` with the code of the language in use whenever it changes (the web page shows
// its own texts in the game's language); null for none.
void WhenLanguageChanges(void (*listener)(const std::string& code));

// Speaks the first of the system's languages (platform::SystemLanguages) the game has: a name
// with its country ("pt_BR", "de-AT.UTF-8") is matched with it first, then without it ("de").
// Czech where the system asks for none the game has.
void SpeakSystemLanguage(const std::vector<std::string>& system);

// Speaks the language a run starts in: `option` (a command line's --language) where one is given,
// and false where the Data folder has none of it (Czech is spoken then); otherwise the language
// the player chose on the options screen, or where there is no such choice (or its data is
// gone), the first of `system` the game has (SpeakSystemLanguage).
bool SpeakStartLanguage(const std::string& option, const std::vector<std::string>& system);

// The language the player chose on the options screen, kept in the settings file; empty while
// the player has chosen none (the system's language is spoken then).
std::string ChosenLanguage();
// Keeps the player's choice. False where the settings file could not be written.
bool KeepChosenLanguage(const std::string& code);

// A language the game offers: its code and the name it gives itself ("English", "polski"), as the
// options screen shows it.
struct TOfferedLanguage {
  std::string Code;
  std::string OwnName;
};
// Czech, then each language whose game data the Data folder holds whole (data_files::
// LanguageData), in the order of their codes: a language added to the Data folder is offered
// with no change to the game. Each call reads the game data again.
std::vector<TOfferedLanguage> OfferedLanguages();
