#include "Words.h"

#include <utility>

namespace pictures {

namespace {
TCatalogue Catalogue;
int Asked = 0;
}  // namespace

void UseWords(TCatalogue catalogue) { Catalogue = std::move(catalogue); }

std::string Words(const char* czech) {
  ++Asked;
  const std::string* translation = Catalogue.Find(czech);
  return translation ? *translation : std::string(czech);
}

int WordsAsked() { return Asked; }

}  // namespace pictures
