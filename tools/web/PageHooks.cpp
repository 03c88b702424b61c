// What the page itself asks of the game running in it (page.js): whether a level is being
// played, so that closing the tab then asks the player first; and the saved games out to one
// file and back (game/SaveTransfer), for the panel's buttons, on the player's folder.
#include <emscripten.h>

#include <string>

#include "app/Main.h"
#include "game/SaveTransfer.h"
#include "platform/System.h"

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
