// A translation catalogue as GNU gettext's msgfmt compiles it (a .mo file): each text of the
// game's own language, Czech, mapped to its translation. The texts are UTF-8 on both sides, as
// the catalogues' sources are written.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

class TCatalogue {
 public:
  // Reads a compiled catalogue, in either byte order. Data that is not a whole catalogue (cut
  // short, a table or a text past its end, another file) reads as no catalogue at all: false,
  // and every text stays untranslated.
  bool Read(std::string_view data);

  // The translation of `source`, or null where the catalogue has none. A text with a context is
  // found as msgfmt stores it, "context\x04text"; a text with plural forms by its singular, and
  // its first form is returned.
  const std::string* Find(std::string_view source) const;

  size_t Size() const { return texts_.size(); }

 private:
  std::map<std::string, std::string, std::less<>> texts_;
};
