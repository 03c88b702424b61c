// The translation catalogue reader on any bytes: a catalogue it rejects is empty, and each
// translation it keeps is found again by its text.
#include <cstdlib>
#include <string_view>

#include "base/Catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TCatalogue catalogue;
  const bool read = catalogue.Read(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!read && catalogue.Size() != 0) std::abort();
  if (catalogue.Find("") != nullptr) std::abort();
  for (const std::string_view text : {"Peníze : ", "Ano", "button\004Ano"}) {
    const std::string* translation = catalogue.Find(text);
    if (translation && translation->empty()) std::abort();
  }
  return 0;
}
