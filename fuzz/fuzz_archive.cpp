// Archive extraction from any bytes: never a crash, never a read outside the file.
#include "FuzzSupport.h"
#include "archive/Archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnterFuzzFolder();
  WriteInput("fuzz.dat", data, size);
  TArchive archive;
  for (const char* member : {"Level.dat", "MENU.MP3", "a"}) {
    archive.ExtractMember(member, "out.bin", "fuzz.dat");
  }
  std::vector<TArchiveEntry> entries;
  ListArchive("fuzz.dat", entries);
  return 0;
}
