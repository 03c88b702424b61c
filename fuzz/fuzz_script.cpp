// The runner's script parser on any bytes. A script it refuses names the line it could not
// understand; a script it takes, written out again one command a line, parses to the same
// commands, each within the ranges the language allows.
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "Script.h"

namespace {

const char* ButtonWord(platform::MouseButton button) {
  switch (button) {
    case platform::MouseButton::Left:
      return "left";
    case platform::MouseButton::Right:
      return "right";
    case platform::MouseButton::Middle:
      return "middle";
  }
  std::abort();
}

// One line for each command. Lines end in "\r\n": the parser takes one '\r' off a line's end, so
// a file name that itself ends in '\r' keeps it.
std::string Print(const std::vector<TScriptCommand>& commands) {
  std::string out;
  for (const TScriptCommand& c : commands) {
    const std::string point = std::to_string(c.x) + " " + std::to_string(c.y);
    switch (c.kind) {
      case TScriptCommand::Wait:
        out += "wait " + std::to_string(c.count);
        break;
      case TScriptCommand::Move:
        out += "move " + point;
        break;
      case TScriptCommand::Press:
        out += std::string("press ") + ButtonWord(c.button) + " " + point;
        break;
      case TScriptCommand::Release:
        out += std::string("release ") + ButtonWord(c.button) + " " + point;
        break;
      case TScriptCommand::Key:
        out += "key " + std::to_string(c.key);
        break;
      case TScriptCommand::Shot:
        out += "shot " + c.file;
        break;
      case TScriptCommand::State:
        out += "state " + c.file;
        break;
      case TScriptCommand::Lose:
        out += "lose";
        break;
      case TScriptCommand::Quit:
        out += "quit";
        break;
    }
    out += "\r\n";
  }
  return out;
}

// What a command may hold: the numbers of its kind within their ranges, a file name that is one
// word, the line it came from within the script.
void CheckCommand(const TScriptCommand& c, int lines) {
  if (c.line < 1 || c.line > lines) std::abort();
  constexpr int kCoordLimit = 100000;
  switch (c.kind) {
    case TScriptCommand::Wait:
      if (c.count < 0 || c.count > (int64_t(1) << 40)) std::abort();
      break;
    case TScriptCommand::Move:
    case TScriptCommand::Press:
    case TScriptCommand::Release:
      if (c.x < -kCoordLimit || c.x > kCoordLimit || c.y < -kCoordLimit || c.y > kCoordLimit) {
        std::abort();
      }
      break;
    case TScriptCommand::Key:
      if (c.key < 0 || c.key > 255) std::abort();
      break;
    case TScriptCommand::Shot:
    case TScriptCommand::State:
      if (c.file.empty() || c.file.find_first_of(" \t\n") != std::string::npos) std::abort();
      break;
    case TScriptCommand::Lose:
    case TScriptCommand::Quit:
      break;
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
  std::size_t end = script.find('\n', pos);
  if (end == std::string_view::npos) end = script.size();
  std::string_view line = script.substr(pos, end - pos);
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
  for (const TScriptCommand& c : *commands) {
    CheckCommand(c, lines);
    if (c.line < previous) std::abort();  // commands keep the order of their lines
    previous = c.line;
  }
  TScriptError againError;
  const auto again = ParseScript(Print(*commands), againError);
  // Print writes every field a command's kind uses, one line each: the same print, the same
  // commands.
  if (!again || Print(*again) != Print(*commands)) std::abort();
  for (std::size_t i = 0; i < again->size(); ++i) {
    if ((*again)[i].line != static_cast<int>(i) + 1) std::abort();
  }
  return 0;
}
