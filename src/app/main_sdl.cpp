// The game's entry point: the SDL platform under the program, for as long as the game runs.
// `kelvora --version` prints the version and touches nothing else. `kelvora --export-saves FILE`
// writes every saved game of the player into one file, and `kelvora --import-saves FILE...`
// takes them back (with `--replace`, also into slots that hold a game); both work in the game's
// folder without opening a window, tell the player what they did, and end with status 1 when
// anything was refused or failed (2 for options they cannot understand). `kelvora --language CODE`
// plays in that language (CODE: cs, or that of a catalogue in po/).
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Main.h"
#include "base/Files.h"
#include "base/Translation.h"
#include "game/Language.h"
#include "game/SaveTransfer.h"
#include "platform/CommandLine.h"
#include "platform/Folders.h"
#include "platform/SystemLanguages.h"
#include "platform/sdl/SdlPlatform.h"

namespace {

// What the command line asks for.
struct TTransferRequest {
  bool Export = false;
  bool Import = false;
  bool Replace = false;
  std::vector<std::string> Files;  // absolute: the game's folder becomes the current one
  bool Understood = true;
};

bool IsTransferOption(const std::string& arg) {
  return arg == "--export-saves" || arg == "--import-saves";
}

// `path` (UTF-8, as every path of the game) made absolute; as it is where that fails. The path
// library is given and asked for UTF-8 by name: on Windows its plain strings are taken byte by
// byte, which garbles every letter beyond ASCII.
std::string AbsolutePath(const std::string& path) {
  std::error_code failure;
  try {
    const std::filesystem::path absolute =
        std::filesystem::absolute(std::u8string(path.begin(), path.end()), failure);
    if (failure) return path;
    const std::u8string text = absolute.u8string();
    return std::string(text.begin(), text.end());
  } catch (const std::filesystem::filesystem_error&) {
    return path;  // not UTF-8: a file the game cannot name anyway, which it says
  }
}

TTransferRequest ParseTransfer(const std::vector<std::string>& args) {
  TTransferRequest request;
  for (const std::string& arg : args) {
    if (arg == "--replace") {
      request.Replace = true;
    } else if (arg == "--export-saves") {
      request.Export = true;
    } else if (arg == "--import-saves") {
      request.Import = true;
    } else if (arg.rfind("--", 0) == 0 || arg.empty()) {
      request.Understood = false;
    } else {
      request.Files.push_back(AbsolutePath(arg));
    }
  }
  // One export into one file, or an import of one file or more.
  if (request.Export == request.Import || request.Files.empty()) request.Understood = false;
  if (request.Export && (request.Files.size() != 1 || request.Replace)) request.Understood = false;
  return request;
}

// The player reads the messages in the terminal, or a script in the file or pipe it sent them
// to; where nobody reads them (the game of Windows started from its icon), in a message box.
void Tell(const std::vector<std::string>& messages, bool ok) {
  std::string text;
  for (const std::string& message : messages) text += message + "\n";
  std::fputs(text.c_str(), ok ? stdout : stderr);
  std::fflush(ok ? stdout : stderr);
  if (!platform::HasConsole()) {
    SDL_ShowSimpleMessageBox(ok ? SDL_MESSAGEBOX_INFORMATION : SDL_MESSAGEBOX_ERROR, "Kelvora",
                             text.c_str(), nullptr);
  }
}

// The command line's usage, in the language the game would speak (the one asked for, where the
// option itself was understood). Returns the status of a command line not understood.
int TellUsage(const std::string& language, bool transfer) {
  platform::EnterGameFolder();
  SpeakStartLanguage(language, platform::SystemLanguages());
  Tell({transfer
            // TRANSLATORS: the command line's usage, printed when its options are not understood.
            // Keep "kelvora" and the options as they are; KÓD (a language's code) and SOUBOR (a
            // file) stand for what the player writes. The second line's blanks align its
            // "kelvora" with the first's.
            ? Tr("Použití: kelvora [--language KÓD] --export-saves SOUBOR\n"
                 "         kelvora [--language KÓD] --import-saves [--replace] SOUBOR...")
            // TRANSLATORS: the game's usage, printed when its options are not understood; see
            // the longer usage above.
            : Tr("Použití: kelvora [--language KÓD]")},
       false);
  return 2;
}

// A file of saved games is small (five games of 14 kB); anything much larger is not one.
constexpr uintmax_t kMaxTransferFile = 16u << 20;

int RunTransfer(const TTransferRequest& request) {
  std::vector<std::string> messages;
  bool ok = true;
  if (request.Export) {
    std::string bytes;
    save_transfer::TResult result = save_transfer::ExportSaves(bytes);
    messages = result.Messages;
    ok = result.Ok;
    const std::string& file = request.Files.front();
    if (!bytes.empty()) {
      if (WriteFileWhole(file, bytes)) {
        messages.push_back(
            FillForm(Tr("Uložené hry jsou v souboru „{file}“."), {{"{file}", file}}));
      } else {
        ok = false;
        messages.push_back(
            FillForm(Tr("Soubor „{file}“ se nepodařilo zapsat."), {{"{file}", file}}));
      }
    }
  }
  bool slotsKept = false;
  for (const std::string& file : request.Import ? request.Files : std::vector<std::string>{}) {
    std::string bytes;
    const TReadResult read = ReadFileWhole(file, bytes, kMaxTransferFile);
    if (read != TReadResult::Read) {
      ok = false;
      messages.push_back(FillForm(read == TReadResult::Missing
                                      ? Tr("Soubor „{file}“ neexistuje.")
                                      : Tr("Soubor „{file}“ nelze přečíst."),
                                  {{"{file}", file}}));
      continue;
    }
    save_transfer::TResult result = save_transfer::ImportSaves(file, bytes, request.Replace);
    messages.insert(messages.end(), result.Messages.begin(), result.Messages.end());
    ok = ok && result.Ok;
    slotsKept = slotsKept || result.SlotsKept;
  }
  if (slotsKept) {
    messages.push_back(Tr("Pozici, která už hru obsahuje, přepíše volba --replace."));
  }
  Tell(messages, ok);
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args = platform::CommandLineArguments(argc, argv);
  if (args.size() == 1 && args[0] == "--version") {
    std::printf("Kelvora %s\n", KELVORA_VERSION);
    return 0;
  }
  std::string language;
  const bool languageUnderstood = TakeLanguageOption(args, language);
  if (std::any_of(args.begin(), args.end(), IsTransferOption)) {
    const TTransferRequest request = ParseTransfer(args);
    if (!request.Understood || !languageUnderstood)
      return TellUsage(languageUnderstood ? language : "", true);
    platform::EnterGameFolder();
    // The messages are the player's: in the language the game would speak.
    SpeakStartLanguage(language, platform::SystemLanguages());
    return RunTransfer(request);
  }
  if (!languageUnderstood) return TellUsage("", false);
  platform::EnterGameFolder();
  int status;
  {
    platform::TSdlPlatform sdl;
    const platform::TCurrentPlatform current(sdl);
    status = KelvoraMain(language, platform::SystemLanguages());
  }
  platform::EndProgram(status);
  return status;
}
