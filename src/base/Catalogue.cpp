#include "base/Catalogue.h"

#include <cstdint>
#include <utility>

namespace {

// A .mo file begins with seven 32-bit words: the magic number, the format's revision, the
// number of texts, and where the tables of the originals and of the translations begin (the
// hash table after them is not needed: the texts go into a map). Each table holds a length and
// an offset for each text.
constexpr uint32_t kMagic = 0x950412de;
constexpr size_t kHeaderWords = 7;

class TReader {
 public:
  explicit TReader(std::string_view data) : data_(data) {}

  // Reads the byte order from the magic number; false where it is not a catalogue's.
  bool Start() {
    if (data_.size() < kHeaderWords * 4) return false;
    swapped_ = false;
    if (Word(0) == kMagic) return true;
    swapped_ = true;
    return Word(0) == kMagic;
  }

  // The 32-bit word at `at`, which the caller has checked lies within the data.
  uint32_t Word(uint64_t at) const {
    const auto* p = reinterpret_cast<const unsigned char*>(data_.data()) + at;
    return swapped_ ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
                    : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
  }

  // Text `index` of the table at `table`, up to its first NUL (a plural's first form); false
  // where the table's entry or the text lies past the end.
  bool Text(uint64_t table, uint64_t index, std::string_view& text) const {
    const uint64_t entry = table + index * 8;
    if (entry + 8 > data_.size()) return false;
    const uint64_t length = Word(entry), offset = Word(entry + 4);
    if (offset + length > data_.size()) return false;
    text = data_.substr(offset, length);
    text = text.substr(0, text.find('\0'));
    return true;
  }

 private:
  std::string_view data_;
  bool swapped_ = false;
};

}  // namespace

bool TCatalogue::Read(std::string_view data) {
  texts_.clear();
  TReader reader(data);
  // Revisions 0 and 1 of the format hold these tables alike; a later major revision may not.
  if (!reader.Start() || reader.Word(4) >> 16 > 1) return false;
  const uint32_t count = reader.Word(8), originals = reader.Word(12),
                 translations = reader.Word(16);
  std::map<std::string, std::string, std::less<>> texts;
  for (uint32_t i = 0; i < count; ++i) {
    std::string_view source, translation;
    if (!reader.Text(originals, i, source) || !reader.Text(translations, i, translation)) {
      return false;
    }
    // The empty text holds the catalogue's own header (its language, its plural rule).
    if (!source.empty() && !translation.empty()) texts.emplace(source, translation);
  }
  texts_ = std::move(texts);
  return true;
}

const std::string* TCatalogue::Find(std::string_view source) const {
  const auto it = texts_.find(source);
  return it == texts_.end() ? nullptr : &it->second;
}
