// The bitmaps with words drawn in them (the menu's buttons, the panels' labels, the shed's sign,
// the intro's and the farewell's lines) come in each language: a language's own are in its
// archive of pictures (data_files::LanguageGraphics), drawn with its catalogue; Czech's, and
// every bitmap without words, are in Grafika.dat. The rest of the game asks for a bitmap by its
// name and gets the one of the language in use.
#pragma once

#include <string>

// The archive (named as the game names files) that the bitmap `member` is taken from in the
// language `code`: the language's own archive where the code is not Czech's ("cs") and that
// archive is whole and holds the member; Grafika.dat otherwise, also where the language's archive
// is missing or cut short (which is passed over in silence: Czech's pictures do).
std::string BitmapArchive(const std::string& code, const char* member);

// Copies the bitmap `member` out to a file of its own name, as TArchive::ExtractMember does, from
// the archive BitmapArchive names for the language in use (SpokenLanguage), or from Grafika.dat
// where that fails. True when the member was found.
//
// After a change of language (SpeakLanguage), LoadAllBitmaps (app/Main.h) loads the game's
// bitmaps again through here, in the new language; the logo and the farewell are loaded where
// they are shown, so they are always the language's.
bool ExtractBitmap(const char* member);
