// The game's texts in the player's language. Each text the game shows is written in the code in
// Czech, the game's own language, as a UTF-8 literal passed through Tr, which gives it in UTF-8,
// the form every text takes on its way to the screen: translated by the catalogue in use where
// that has the text, as written otherwise. xgettext finds the texts by the name Tr, for the
// translators' template.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "base/Catalogue.h"

// Puts `catalogue` in use for every text from now on; an empty one leaves the texts in Czech.
void UseCatalogue(TCatalogue catalogue);

// Marks a text for the translators' template where it is written down to be passed through Tr
// later (a table's entry, a constant): the text itself.
constexpr const char* TrLater(const char* czech) { return czech; }

// `czech` in the language in use, in UTF-8. The text is a literal: the program keeps each one's
// translation by its address. The reference holds until the catalogue changes.
const std::string& Tr(const char* czech);

// A text of the game's data (a level's briefing, an order's request), in code page 1250 as its
// file holds it (and a saved game keeps it), in the language in use and in UTF-8: the catalogue's
// translation where it has the text, the text as it stands otherwise (a text the catalogue lacks
// stays Czech, so does one written since).
std::string TrText(const std::string& czech);

// `form` with every field of `fields` ("{file}") replaced by its value wherever it stands: a
// message is translated whole, and its translation puts the fields where its language wants them.
std::string FillForm(std::string_view form,
                     std::initializer_list<std::pair<std::string_view, std::string_view>> fields);
