#include "Script.h"

#include <charconv>

namespace {

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

template <class T>
bool Number(std::string_view word, T& out, T min, T max) {
  T value{};
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size() || value < min || value > max) {
    return false;
  }
  out = value;
  return true;
}

bool Button(std::string_view word, platform::MouseButton& out) {
  if (word == "left")
    out = platform::MouseButton::Left;
  else if (word == "right")
    out = platform::MouseButton::Right;
  else if (word == "middle")
    out = platform::MouseButton::Middle;
  else
    return false;
  return true;
}

// Screen coordinates beyond the 1024 x 768 display are allowed (the game must cope with them),
// within reason.
constexpr int kCoordLimit = 100000;

bool Point(std::string_view xs, std::string_view ys, TScriptCommand& c) {
  return Number(xs, c.x, -kCoordLimit, kCoordLimit) && Number(ys, c.y, -kCoordLimit, kCoordLimit);
}

bool ParseLine(const std::vector<std::string_view>& w, int line, std::vector<TScriptCommand>& out) {
  TScriptCommand c;
  c.line = line;
  const std::string_view verb = w[0];
  const size_t n = w.size();
  if (verb == "wait" && n == 2) {
    c.kind = TScriptCommand::Wait;
    if (!Number<int64_t>(w[1], c.count, 0, int64_t(1) << 40)) return false;
  } else if (verb == "move" && n == 3) {
    c.kind = TScriptCommand::Move;
    if (!Point(w[1], w[2], c)) return false;
  } else if ((verb == "press" || verb == "release") && n == 4) {
    c.kind = verb == "press" ? TScriptCommand::Press : TScriptCommand::Release;
    if (!Button(w[1], c.button) || !Point(w[2], w[3], c)) return false;
  } else if (verb == "click" && n == 3) {
    if (!Point(w[1], w[2], c)) return false;
    TScriptCommand step = c;
    step.kind = TScriptCommand::Move;
    out.push_back(step);
    step.kind = TScriptCommand::Press;
    out.push_back(step);
    step.kind = TScriptCommand::Wait;
    step.count = 1;
    out.push_back(step);
    step.kind = TScriptCommand::Release;
    out.push_back(step);
    step.kind = TScriptCommand::Wait;
    out.push_back(step);
    return true;
  } else if (verb == "key" && n == 2) {
    c.kind = TScriptCommand::Key;
    if (!Number(w[1], c.key, 0, 255)) return false;
  } else if ((verb == "shot" || verb == "state") && n == 2) {
    c.kind = verb == "shot" ? TScriptCommand::Shot : TScriptCommand::State;
    c.file = std::string(w[1]);
  } else if (verb == "lose" && n == 1) {
    c.kind = TScriptCommand::Lose;
  } else if (verb == "quit" && n == 1) {
    c.kind = TScriptCommand::Quit;
  } else {
    return false;
  }
  out.push_back(c);
  return true;
}

}  // namespace

std::optional<std::vector<TScriptCommand>> ParseScript(std::string_view script,
                                                       TScriptError& error) {
  std::vector<TScriptCommand> commands;
  int lineNo = 0;
  size_t pos = 0;
  while (pos <= script.size()) {
    size_t end = script.find('\n', pos);
    if (end == std::string_view::npos) end = script.size();
    std::string_view line = script.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++lineNo;
    pos = end + 1;
    std::vector<std::string_view> words = Words(line);
    if (words.empty() || words[0][0] == '#') continue;
    if (!ParseLine(words, lineNo, commands)) {
      error = {lineNo, std::string(line)};
      return std::nullopt;
    }
  }
  return commands;
}
