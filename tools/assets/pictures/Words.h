// The words drawn into the pictures (the menu's buttons, the panels' labels, the shed's sign...),
// in the language being drawn: Czech, the game's own, or the language of the catalogue the
// generator was given (kelvora-pictures --catalogue FILE.mo). Every word of a picture is written
// here in Czech and passed through Words, by which xgettext finds it for the translators'
// template (scripts/update-pot).
#pragma once

#include <string>

#include "base/Catalogue.h"

namespace pictures {

// Draws every word from now on in the language of `catalogue`; an empty one draws Czech.
void UseWords(TCatalogue catalogue);

// `czech` (UTF-8) in the language being drawn: the catalogue's translation where it has one, the
// text as written otherwise.
std::string Words(const char* czech);

// How many words have been asked for since the program started: a picture that asks for none
// is the same in every language.
int WordsAsked();

}  // namespace pictures
