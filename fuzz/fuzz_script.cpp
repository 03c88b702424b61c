// The runner's script parser on any bytes.
#include <string_view>

#include "Script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TScriptError error;
  ParseScript(std::string_view(reinterpret_cast<const char*>(data), size), error);
  return 0;
}
