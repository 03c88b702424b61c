#include "base/IniFile.h"

#include <algorithm>
#include <charconv>
#include <mutex>
#include <string_view>
#include <utility>

#include "base/Files.h"

namespace {

constexpr std::string_view Blanks = " \t";

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(Blanks);
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(Blanks);
  return text.substr(first, last - first + 1);
}

// Names compare without regard to ASCII case; bytes above 127 (Czech letters in code page
// 1250) are kept as they are.
std::string Fold(std::string_view name) {
  std::string folded(Trim(name));
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// The value of a key line: after the first '=', blanks trimmed, one pair of matching quotes
// removed.
std::string ValueOfLine(std::string_view line) {
  std::string_view value = Trim(line.substr(line.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

}  // namespace

// An installed game's settings may still lie only in the installed folder: they are read from
// there and written into the player's own.
TIniFile::TIniFile(std::string path) : path_(std::move(path)) {
  std::string bytes;
  if (ReadFileWhole(ReadPath(path_), bytes) != TReadResult::Read) bytes.clear();
  content_ = Parsed(path_, bytes);
}

// The last bytes parsed for each path, with what they parsed to. Never destroyed, so that the
// settings written while static objects are torn down still find it.
std::shared_ptr<const TIniFile::Content> TIniFile::Parsed(const std::string& path,
                                                          const std::string& bytes) {
  struct TParsed {
    std::string bytes;
    std::shared_ptr<const Content> content;
  };
  static auto* guard = new std::mutex;
  static auto* parsed = new std::unordered_map<std::string, TParsed>;
  constexpr size_t kMaxFiles = 16;
  const std::lock_guard<std::mutex> lock(*guard);
  if (parsed->size() >= kMaxFiles && !parsed->count(path)) parsed->clear();
  TParsed& entry = (*parsed)[path];
  if (!entry.content || entry.bytes != bytes) {
    entry.content = std::make_shared<const Content>(Parse(bytes));
    entry.bytes = bytes;
  }
  return entry.content;
}

TIniFile::Content TIniFile::Parse(const std::string& bytes) {
  Content content;
  // Split at LF, CRLF and lone CR, keeping each line's own end.
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t stop = bytes.find_first_of("\r\n", start);
    if (stop == std::string::npos) {
      content.lines.push_back({bytes.substr(start), ""});
      break;
    }
    const size_t endLength =
        (bytes[stop] == '\r' && stop + 1 < bytes.size() && bytes[stop + 1] == '\n') ? 2 : 1;
    content.lines.push_back({bytes.substr(start, stop - start), bytes.substr(stop, endLength)});
    start = stop + endLength;
  }

  constexpr size_t NoSection = static_cast<size_t>(-1);
  size_t current = NoSection;  // keys of lines before any section, or of a repeated one, are unseen
  for (size_t i = 0; i < content.lines.size(); ++i) {
    const std::string_view text = Trim(content.lines[i].text);
    if (text.empty() || text.front() == ';') continue;
    if (text.front() == '[') {
      const size_t close = text.rfind(']');
      if (close != std::string_view::npos) {
        const auto [entry, isNew] =
            content.sectionByName.emplace(Fold(text.substr(1, close - 1)), content.sections.size());
        current = NoSection;
        if (isNew) {
          content.sections.push_back({i, i, {}});
          current = entry->second;
        }
        continue;
      }
      // An unclosed bracket is no section header; the line is read like any other.
    }
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos || current == NoSection) continue;
    Section& section = content.sections[current];
    section.keys.emplace(Fold(text.substr(0, equals)), i);
    section.lastKeyLine = i;
  }
  return content;
}

std::string TIniFile::Serialise(const Content& content) {
  std::string bytes;
  for (const Line& line : content.lines) bytes += line.text + line.end;
  return bytes;
}

bool TIniFile::FindValue(const std::string& section, const std::string& key,
                         std::string& value) const {
  const auto sectionEntry = content_->sectionByName.find(Fold(section));
  if (sectionEntry == content_->sectionByName.end()) return false;
  const Section& found = content_->sections[sectionEntry->second];
  const auto keyEntry = found.keys.find(Fold(key));
  if (keyEntry == found.keys.end()) return false;
  value = ValueOfLine(content_->lines[keyEntry->second].text);
  return true;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
  std::string value;
  return FindValue(section, key, value) ? value : defaultValue;
}

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key,
                              int32_t defaultValue) const {
  std::string value;
  if (!FindValue(section, key, value)) return defaultValue;
  // An optional sign, then decimal digits only. from_chars takes a minus sign but no plus.
  std::string_view digits = value;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return defaultValue;
  }
  const char* first = value.front() == '+' ? value.data() + 1 : value.data();
  const char* last = value.data() + value.size();
  int32_t number = 0;
  const auto [end, error] = std::from_chars(first, last, number);
  if (error != std::errc() || end != last) return defaultValue;
  return number;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key,
                        bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::ApplyWrite(Content& content, const std::string& section, const std::string& key,
                          const std::string& value) {
  const std::string_view sectionName = Trim(section), keyName = Trim(key);
  if (HasLineBreak(sectionName) || HasLineBreak(keyName) || HasLineBreak(value)) return false;
  if (keyName.empty() || keyName.find('=') != std::string_view::npos || keyName.front() == ';' ||
      keyName.front() == '[') {
    return false;
  }
  // A value that reading would change (blanks around it, a pair of quotes around it) is written
  // inside quotes of its own, which reading removes again.
  const std::string stored = ValueOfLine("=" + value) == value ? value : "\"" + value + "\"";
  const std::string keyLine = std::string(keyName) + "=" + stored;

  // New lines take the file's own line end; a new file gets CRLF.
  std::string lineEnd = "\r\n";
  for (const Line& line : content.lines) {
    if (!line.end.empty()) {
      lineEnd = line.end;
      break;
    }
  }

  const auto sectionEntry = content.sectionByName.find(Fold(sectionName));
  if (sectionEntry != content.sectionByName.end()) {
    const Section& found = content.sections[sectionEntry->second];
    const auto keyEntry = found.keys.find(Fold(keyName));
    if (keyEntry != found.keys.end()) {
      // Keep the line up to its value (indentation, the key's spelling, blanks around '=').
      std::string& text = content.lines[keyEntry->second].text;
      size_t valueStart = text.find('=') + 1;
      while (valueStart < text.size() && Blanks.find(text[valueStart]) != std::string_view::npos) {
        ++valueStart;
      }
      text = text.substr(0, valueStart) + stored;
      return true;
    }
    Line& after = content.lines[found.lastKeyLine];
    if (after.end.empty()) after.end = lineEnd;
    content.lines.insert(content.lines.begin() + static_cast<std::ptrdiff_t>(found.lastKeyLine + 1),
                         Line{keyLine, lineEnd});
    return true;
  }

  if (!content.lines.empty()) {
    if (content.lines.back().end.empty()) content.lines.back().end = lineEnd;
    if (!Trim(content.lines.back().text).empty()) content.lines.push_back({"", lineEnd});
  }
  content.lines.push_back({"[" + std::string(sectionName) + "]", lineEnd});
  content.lines.push_back({keyLine, lineEnd});
  return true;
}

bool TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
  // Start from the file as it is now, not as it was when opened.
  std::string bytes;
  const std::string from = ReadPath(path_), to = WritePath(path_);
  if (ReadFileWhole(from, bytes) == TReadResult::Unreadable) return false;
  Content updated = Parse(bytes);
  if (!ApplyWrite(updated, section, key, value)) return false;
  const std::string written = Serialise(updated);
  // A file that holds the value already needs no write: a folder the player may not write to
  // then costs nothing that could be lost.
  const bool unchanged = from == to && written == bytes;
  if (!unchanged && !WriteFileWhole(to, written)) return false;
  content_ = Parsed(path_, written);
  return true;
}

bool TIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  return WriteString(section, key, std::to_string(value));
}
