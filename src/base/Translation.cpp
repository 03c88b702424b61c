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
    it->second = translated ? *translated : czech;
  }
  return it->second;
}

std::string TrText(const std::string& czech) {
  std::string text = Cp1250ToUtf8(czech);
  const std::string* translated = Current().Catalogue.Find(text);
  return translated ? *translated : text;
}

std::string FillForm(std::string_view form,
                     std::initializer_list<std::pair<std::string_view, std::string_view>> fields) {
  // One pass over the form: a value is never searched for fields itself (a file's name may
  // hold braces).
  std::string text;
  for (size_t at = 0; at < form.size();) {
    bool filled = false;
    for (const auto& [field, value] : fields) {
      if (!field.empty() && form.compare(at, field.size(), field) == 0) {
        text += value;
        at += field.size();
        filled = true;
        break;
      }
    }
    if (!filled) text += form[at++];
  }
  return text;
}
