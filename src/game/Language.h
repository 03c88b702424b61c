// The language the game speaks: Czech, its own, or a language whose game data the Data folder
// holds (data_files::LanguageData, made from the translators' catalogue po/<code>.po).
#pragma once

#include <string>

// Puts the texts of the language `code` ("en", "de"...) in use, "cs" being Czech. False, with
// every text left in Czech, where the Data folder holds no readable catalogue of that language
// or the code is none a language could have (a letter, digit, '-' or '_', at most 16).
bool SpeakLanguage(const std::string& code);

// The code of the language in use: "cs" until another is put in use.
const std::string& SpokenLanguage();
