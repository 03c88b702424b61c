// The INI access on any bytes: reading, then writing a key and reading it back.
#include <cstdlib>

#include "FuzzSupport.h"
#include "base/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnterFuzzFolder();
  WriteInput("fuzz.ini", data, size);
  TIniFile ini("fuzz.ini");
  ini.ReadInteger("Hlasitost", "Zvuk", 254);
  ini.ReadString("Level1", "Text", "");
  ini.ReadBool("Skladby", "SkladbaB0", true);
  if (ini.WriteInteger("Hlasitost", "Zvuk", 7)) {
    TIniFile again("fuzz.ini");
    if (again.ReadInteger("Hlasitost", "Zvuk", -1) != 7) std::abort();
  }
  ini.WriteString("Nova", "Klic", "hodnota");
  return 0;
}
