// The runner's script parser on any bytes. A script it refuses names the line it could not
// understand; a script it takes, written out again one command a line, parses to the same
// commands, each within the ranges the language allows.
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "Script.h"

namespace {

using K = TScriptCommand;

// One line for each command, with every field its kind uses. Lines end in "\r\n": the parser
// takes one '\r' off a line's end, so a file name that itself ends in '\r' keeps it.
std::string Print(const std::vector<K>& commands) {
  static const char* const kWords[] = {"wait", "move",  "press", "release", "key",
                                       "shot", "state", "lose",  "quit"};
  static const char* const kButtons[] = {"left", "right", "middle"};
  std::string out;
  for (const K& c : commands) {
    out += kWords[c.kind];
    if (c.kind == K::Press || c.kind == K::Release)
      out += std::string(" ") + kButtons[static_cast<int>(c.button)];
    if (c.kind == K::Move || c.kind == K::Press || c.kind == K::Release)
      out += " " + std::to_string(c.x) + " " + std::to_string(c.y);
    if (c.kind == K::Wait) out += " " + std::to_string(c.count);
    if (c.kind == K::Key) out += " " + std::to_string(c.key);
    if (c.kind == K::Shot || c.kind == K::State) out += " " + c.file;
    out += "\r\n";
  }
  return out;
}

// What a command may hold: the numbers of its kind within their ranges, a file name that is one
// word, the line it came from within the script.
void CheckCommand(const K& c, int lines) {
  const auto far = [](int v) { return v < -100000 || v > 100000; };
  const bool pointed = c.kind == K::Move || c.kind == K::Press || c.kind == K::Release;
  if (c.line < 1 || c.line > lines || c.kind < K::Wait || c.kind > K::Quit ||
      (c.kind == K::Wait && (c.count < 0 || c.count > (int64_t(1) << 40))) ||
      (pointed && (far(c.x) || far(c.y) || static_cast<unsigned>(c.button) > 2)) ||
      (c.kind == K::Key && (c.key < 0 || c.key > 255)) ||
      ((c.kind == K::Shot || c.kind == K::State) &&
       (c.file.empty() || c.file.find_first_of(" \t\n") != std::string::npos))) {
    std::abort();
  }
}

// Line `number` (from 1) of the script, without its '\n' and one '\r' before it.
std::string_view Line(std::string_view script, int number) {
  std::size_t pos = 0;
  for (int i = 1; i < number; ++i) {
    pos = script.find('\n', pos);
    if (pos == std::string_view::npos) std::abort();  // the error names a line past the end
    ++pos;
  }
  std::string_view line = script.substr(pos, script.find('\n', pos) - pos);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view script(reinterpret_cast<const char*>(data), size);
  TScriptError error;
  const auto commands = ParseScript(script, error);
  if (!commands) {
    if (error.line < 1 || error.text != Line(script, error.line)) std::abort();
    return 0;
  }
  int lines = 1;
  for (char c : script) lines += c == '\n';
  int previous = 0;
  for (const K& c : *commands) {
    CheckCommand(c, lines);
    if (c.line < previous) std::abort();  // commands keep the order of their lines
    previous = c.line;
  }
  // The same print, the same commands, each on its own line.
  TScriptError againError;
  const auto again = ParseScript(Print(*commands), againError);
  if (!again || Print(*again) != Print(*commands)) std::abort();
  for (std::size_t i = 0; i < again->size(); ++i) {
    if ((*again)[i].line != static_cast<int>(i) + 1) std::abort();
  }
  return 0;
}
