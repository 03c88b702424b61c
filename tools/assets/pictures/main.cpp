// kelvora-pictures OUTDIR [--previews] [--catalogue FILE.mo [--patches CZECH_DIR]]: draws the
// game's thirteen bitmaps, its desktop icon and the Windows installer's pictures, in Czech.
// With --catalogue, draws only the bitmaps that have words in them, with the words of that
// catalogue (a language's translators' catalogue compiled by msgfmt): that language's pictures.
// With --patches as well, writes beside each of them its patch of Czech's bitmap in CZECH_DIR
// ("Menu.bmp.patch", gfx/BitmapPatch.h), which the language's archive of pictures holds.
// With --previews every bitmap is also written as a PNG, for looking at the pictures.
// A word too long for its place even at the smallest size allowed fails the run (status 1).
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <utility>

#include "Pictures.h"
#include "Words.h"
#include "base/Catalogue.h"
#include "base/Files.h"

int main(int argc, char** argv) {
  const char* out = nullptr;
  const char* catalogueFile = nullptr;
  const char* czechDir = nullptr;
  bool previews = false;
  bool understood = true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--previews") == 0) {
      previews = true;
    } else if (std::strcmp(argv[i], "--catalogue") == 0 && i + 1 < argc) {
      catalogueFile = argv[++i];
    } else if (std::strcmp(argv[i], "--patches") == 0 && i + 1 < argc) {
      czechDir = argv[++i];
    } else if (argv[i][0] != '-' && !out) {
      out = argv[i];
    } else {
      understood = false;
    }
  }
  if (!understood || !out || (czechDir && !catalogueFile)) {
    std::fprintf(stderr,
                 "usage: kelvora-pictures OUTDIR [--previews] [--catalogue FILE.mo "
                 "[--patches CZECH_DIR]]\n");
    return 2;
  }
  std::string error;
  try {
    if (catalogueFile) {
      std::string bytes;
      TCatalogue catalogue;
      if (ReadFileWhole(catalogueFile, bytes) != TReadResult::Read || !catalogue.Read(bytes)) {
        std::fprintf(stderr, "kelvora-pictures: %s is no catalogue\n", catalogueFile);
        return 1;
      }
      pictures::UseWords(std::move(catalogue));
      if (!pictures::WriteWorded(out, previews, error, czechDir ? czechDir : "")) {
        std::fprintf(stderr, "kelvora-pictures: %s\n", error.c_str());
        return 1;
      }
      return 0;
    }
    if (!pictures::WriteAll(out, previews, error)) {
      std::fprintf(stderr, "kelvora-pictures: %s\n", error.c_str());
      return 1;
    }
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "kelvora-pictures: %s\n", failure.what());
    return 1;
  }
  return 0;
}
