// What the page asks of the game loaded into it (web/page/game.js): whether a level is being
// played, so that closing the tab then asks the player first; the saved games out to one file
// and back (game/SaveTransfer), for the panel's buttons, on the player's folder; and the
// language, which the game keeps and the page shows its own texts in and offers on its panel.
#include <emscripten.h>

#include <string>
#include <utility>

#include "app/Main.h"
#include "game/Language.h"
#include "game/SaveTransfer.h"
#include "platform/Folders.h"
#include "platform/SystemLanguages.h"
#include "platform/web/Page.h"

namespace {

// The last transfer: its result as the page reads it, "OK KEPT" (each 0 or 1) and then one
// message a line (UTF-8), and the exported file's bytes.
std::string transferResult;
std::string exportedFile;

const char* Told(const save_transfer::TResult& result) {
  transferResult = std::string(result.Ok ? "1" : "0") + (result.SlotsKept ? " 1" : " 0");
  for (const std::string& message : result.Messages) transferResult += "\n" + message;
  return transferResult.c_str();
}

// The language the player chose on the page's panel while the game runs, until the game takes
// it after its next frame.
std::string chosenOnPage;

// Speaks the language chosen on the page as a press on its name on the options screen does:
// kept as the player's choice, with its pictures. Run on the game's own stack, between two of
// its frames, where it may wait for the browser (a language's pictures, the settings' write),
// as the page's own calls into the game may not while the game's stack is set aside.
void SpeakChosenOnPage() {
  const std::string code = std::exchange(chosenOnPage, std::string());
  const std::string spoken = SpokenLanguage();
  if (code.empty()) return;
  if (code != spoken) {
    if (!SpeakLanguage(code)) {
      SpeakLanguage(spoken);
      return;
    }
    LoadAllBitmaps();
  }
  if (ChosenLanguage() != code) KeepChosenLanguage(code);
}

// The JavaScript of EM_JS is not C++: clang-format would break it.
// clang-format off
EM_JS(void, TellThePage, (const char* code), {
  if (Module['onLanguageSpoken']) Module['onLanguageSpoken'](UTF8ToString(code));
});
// clang-format on

// The page speaks what the game speaks, told as the game changes it.
[[maybe_unused]] const bool kPageFollowsTheGame =
    (WhenLanguageChanges([](const std::string& code) { TellThePage(code.c_str()); }), true);

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE int kelvora_level_running() { return Game.InGame ? 1 : 0; }

// Makes the player's folder the current one, as the game's start does, for a transfer before
// the game runs. It reads the browser's storage: the page calls it as an asynchronous call.
extern "C" EMSCRIPTEN_KEEPALIVE void kelvora_enter_player_folder() { platform::EnterGameFolder(); }

// Packs the saved games of the current folder's Data; the file is then kelvora_exported_file()'s
// kelvora_exported_size() bytes, until the next call.
extern "C" EMSCRIPTEN_KEEPALIVE const char* kelvora_export_saves() {
  return Told(save_transfer::ExportSaves(exportedFile));
}
extern "C" EMSCRIPTEN_KEEPALIVE const char* kelvora_exported_file() { return exportedFile.data(); }
extern "C" EMSCRIPTEN_KEEPALIVE int kelvora_exported_size() { return int(exportedFile.size()); }

// Takes the saved games of a file the player chose (`name`, UTF-8; `size` bytes at `bytes`).
// Its writes wait for the browser's storage: the page calls it as an asynchronous call.
extern "C" EMSCRIPTEN_KEEPALIVE const char* kelvora_import_saves(const char* name,
                                                                 const char* bytes, int size,
                                                                 int replace) {
  return Told(
      save_transfer::ImportSaves(name, std::string_view(bytes, size_t(size)), replace != 0));
}

// Speaks the language the game would start in, the player's choice or else the browser's, so
// that the page offers the game in it; its code. It reads the player's folder and may fetch the
// language's pictures: the page calls it as an asynchronous call.
extern "C" EMSCRIPTEN_KEEPALIVE const char* kelvora_speak_start_language() {
  platform::EnterGameFolder();
  SpeakStartLanguage("", platform::SystemLanguages());
  return SpokenLanguage().c_str();
}

// Speaks `code` while the game does not run (before its start, after its end), so that the
// transfers' messages are in the page's language; 0 where the game has no such language. It may
// fetch the language's pictures: the page calls it as an asynchronous call.
extern "C" EMSCRIPTEN_KEEPALIVE int kelvora_speak_language(const char* code) {
  return SpeakLanguage(code) ? 1 : 0;
}

// Keeps `code` as the player's choice in the settings file of the current folder, for a choice
// made on the page before the game starts: the game then starts in it. 0 where the file could
// not be written. Its write waits for the browser's storage: an asynchronous call.
extern "C" EMSCRIPTEN_KEEPALIVE int kelvora_keep_language(const char* code) {
  return KeepChosenLanguage(code) ? 1 : 0;
}

// The player chose `code` on the page's panel while the game runs: the game speaks it from its
// next frame on, and keeps it as the options screen would.
extern "C" EMSCRIPTEN_KEEPALIVE void kelvora_choose_language(const char* code) {
  chosenOnPage = code;
  platform::AfterNextFrame(SpeakChosenOnPage);
}
