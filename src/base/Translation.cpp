#include "base/Translation.h"

#include <unordered_map>
#include <utility>

#include "base/Cp1250.h"

namespace {

struct TTranslation {
  TCatalogue Catalogue;
  // The texts given so far, by their literals' addresses: a screen asks for the same few dozen
  // texts in every frame.
  std::unordered_map<const char*, std::string> Given;
};

TTranslation& Current() {
  static TTranslation translation;
  return translation;
}

}  // namespace

void UseCatalogue(TCatalogue catalogue) {
  TTranslation& current = Current();
  current.Catalogue = std::move(catalogue);
  current.Given.clear();
}

const std::string& Tr(const char* czech) {
  TTranslation& current = Current();
  auto [it, added] = current.Given.try_emplace(czech);
  if (added) {
    const std::string* translated = current.Catalogue.Find(czech);
    it->second = Utf8ToCp1250(translated ? std::string_view(*translated) : czech);
  }
  return it->second;
}
