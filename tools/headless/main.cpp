// kelvora-headless [--language CODE] SCRIPT: runs the game without a screen, driven by a script
// (see Script.h and the README), in the current directory, which must hold Data; in Czech, or in
// the language CODE.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Runner.h"
#include "Script.h"
#include "app/Main.h"
#include "app/StateDump.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string language;
  if (!TakeLanguageOption(args, language) || args.size() != 1) {
    std::fprintf(stderr, "usage: kelvora-headless [--language CODE] SCRIPT\n");
    return 2;
  }
  const char* script = args[0].c_str();
  std::ifstream in(script, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "kelvora-headless: cannot read %s\n", script);
    return 2;
  }
  std::stringstream text;
  text << in.rdbuf();
  TScriptError error;
  auto commands = ParseScript(text.str(), error);
  if (!commands) {
    std::fprintf(stderr, "kelvora-headless: %s:%d: cannot understand \"%s\"\n", script, error.line,
                 error.text.c_str());
    return 2;
  }
  platform::THeadlessPlatform headless;
  const platform::TCurrentPlatform current(headless);
  RecordAudio([&headless] { return headless.FramesPresented(); });
  TScriptRunner runner(std::move(*commands), headless);
  runner.Start();
  int status = KelvoraMain(language);
  if (status == 0 && !runner.Succeeded()) status = 1;
  TSoundClip::Observer = nullptr;
  return status;
}
