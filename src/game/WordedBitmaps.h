// The bitmaps with words drawn in them (the menu's buttons, the panels' labels, the shed's sign,
// the intro's and the farewell's lines) come in each language. Czech's, and every bitmap without
// words, are in Grafika.dat; a language's archive of pictures (data_files::LanguageGraphics)
// holds for each worded bitmap only what its words change in Czech's: a patch
// (gfx/BitmapPatch.h) named after the bitmap (PatchName). The rest of the game asks for a
// bitmap by its name and gets the one of the language in use.
#pragma once

// Copies the bitmap `member` out of Grafika.dat to a file of its own name, as
// TArchive::ExtractMember does, and where the language in use (SpokenLanguage) is not Czech and
// its archive of pictures holds a patch of the bitmap, draws the patch over it: the file then
// holds the language's bitmap, the same byte for byte as the language's drawing of it. Where the
// language's archive is missing, damaged or without the patch, or the patch does not fit Czech's
// bitmap (cut short, damaged, outside the sheet, of another size), the file keeps Czech's bitmap
// whole, in silence: Czech's pictures do. True when the member was found in Grafika.dat.
//
// After a change of language (SpeakLanguage), LoadAllBitmaps (app/Main.h) loads the game's
// bitmaps again through here, in the new language; the logo and the farewell are loaded where
// they are shown, so they are always the language's.
bool ExtractBitmap(const char* member);
