// kelvora-headless SCRIPT: runs the game without a screen, driven by a script (see Script.h and
// the README), in the current directory, which must hold Data.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "Runner.h"
#include "Script.h"
#include "app/Main.h"
#include "app/StateDump.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kelvora-headless SCRIPT\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "kelvora-headless: cannot read %s\n", argv[1]);
    return 2;
  }
  std::stringstream text;
  text << in.rdbuf();
  TScriptError error;
  auto commands = ParseScript(text.str(), error);
  if (!commands) {
    std::fprintf(stderr, "kelvora-headless: %s:%d: cannot understand \"%s\"\n", argv[1], error.line,
                 error.text.c_str());
    return 2;
  }
  platform::THeadlessPlatform headless;
  const platform::TCurrentPlatform current(headless);
  RecordAudio([&headless] { return headless.FramesPresented(); });
  TScriptRunner runner(std::move(*commands), headless);
  runner.Start();
  int status = KelvoraMain();
  if (status == 0 && !runner.Succeeded()) status = 1;
  TSoundClip::Observer = nullptr;
  return status;
}
