// The INI access every data file of the game goes through: the settings, the playlist, the level
// and order tables. It reads like the Windows profile functions (names without regard to case,
// blanks around names and values ignored, one pair of quotes around a value removed, comments
// only at the start of a line, the first of equal sections and keys wins) and writes by changing
// single lines, leaving every other byte of the file as it was.
//
// The file is parsed once when opened; a file whose bytes are those parsed last time for its path
// is not parsed again (the game reads the order table every frame while its panel is open). Each
// write reads the file afresh (so two objects open on the same file do not undo each other's
// writes), changes it, and replaces it through a temporary file in the same folder: the file on
// disk is always either the old or the new one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class TIniFile {
 public:
  // Game paths may be written with backslashes ("Data\\Nastaveni.dat"). A missing or unreadable
  // file reads as empty.
  explicit TIniFile(std::string path);
  ~TIniFile() = default;

  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // An optional sign and decimal digits within int32 range; anything else gives the default.
  int32_t ReadInteger(const std::string& section, const std::string& key,
                      int32_t defaultValue) const;
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

  // Write at once to disk; false when the file could not be written (it is then unchanged) or
  // when a name or value could not be read back as written (a line break anywhere, an empty
  // key or a key holding '=' or starting with ';' or '[').
  bool WriteString(const std::string& section, const std::string& key, const std::string& value);
  bool WriteInteger(const std::string& section, const std::string& key, int32_t value);

  const std::string& Path() const { return path_; }

 private:
  struct Line {
    std::string text;  // without its line end
    std::string end;   // "\r\n", "\n", "\r" or, on the last line only, ""
  };
  struct Section {
    size_t header = 0;       // line index of "[name]"
    size_t lastKeyLine = 0;  // where a new key goes after; the header while there is none
    std::unordered_map<std::string, size_t> keys;  // lower-case name -> line of its first entry
  };
  struct Content {
    std::vector<Line> lines;
    std::vector<Section> sections;                          // the first of each name only
    std::unordered_map<std::string, size_t> sectionByName;  // lower-case name -> index
  };

  static Content Parse(const std::string& bytes);
  static std::shared_ptr<const Content> Parsed(const std::string& path, const std::string& bytes);
  static std::string Serialise(const Content& content);
  static bool ApplyWrite(Content& content, const std::string& section, const std::string& key,
                         const std::string& value);
  bool FindValue(const std::string& section, const std::string& key, std::string& value) const;

  std::string path_;
  std::shared_ptr<const Content> content_;
};
