// kelvora-pictures OUTDIR [--previews]: draws the game's thirteen bitmaps, its desktop icon and
// the Windows installer's pictures.
// With --previews every bitmap is also written as a PNG, for looking at the pictures.
#include <cstdio>
#include <cstring>
#include <string>

#include "Pictures.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--previews") != 0)) {
    std::fprintf(stderr, "usage: kelvora-pictures OUTDIR [--previews]\n");
    return 2;
  }
  std::string error;
  if (!pictures::WriteAll(argv[1], argc == 3, error)) {
    std::fprintf(stderr, "kelvora-pictures: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
