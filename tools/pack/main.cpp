// kelvora-pack: makes and inspects the game's pack archives.
//
//   kelvora-pack create ARCHIVE FILE...          pack the files, each named by its base name
//   kelvora-pack list ARCHIVE                    name, offset and size of every entry
//   kelvora-pack extract ARCHIVE MEMBER OUTFILE  copy one member out, as the game does
//
// Exit status: 0 success; 1 create failed, list found a truncated directory, or extract found no
// such member; 2 wrong arguments or an archive that cannot be opened; 3 extract could not write
// the output file.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "archive/Archive.h"

namespace {

int Usage() {
  std::cerr << "usage: kelvora-pack create ARCHIVE FILE...\n"
               "       kelvora-pack list ARCHIVE\n"
               "       kelvora-pack extract ARCHIVE MEMBER OUTFILE\n";
  return 2;
}

int Create(const std::string& archive, const std::vector<std::string>& files) {
  std::string error;
  if (!WriteArchive(archive, files, error)) {
    std::cerr << "kelvora-pack: " << error << "; " << archive << " not written\n";
    return 1;
  }
  return 0;
}

int List(const std::string& archive) {
  std::vector<TArchiveEntry> entries;
  TListResult result = ListArchive(archive, entries);
  if (result == TListResult::CannotOpen) {
    std::cerr << "kelvora-pack: cannot open " << archive << "\n";
    return 2;
  }
  for (const TArchiveEntry& entry : entries) {
    std::cout << entry.Name << '\t' << entry.Offset << '\t' << entry.Size << '\n';
  }
  if (result == TListResult::Truncated) {
    std::cerr << "kelvora-pack: " << archive << " ends inside its directory\n";
    return 1;
  }
  return 0;
}

// The archive must open and yield its header here, so that the reader's message box is only
// ever about the output file.
bool Readable(const std::string& archive) {
  std::FILE* file = std::fopen(ReadPath(archive).c_str(), "rb");
  if (!file) return false;
  unsigned char header[4];
  bool readable = std::fread(header, 1, sizeof header, file) == sizeof header || !std::ferror(file);
  std::fclose(file);
  return readable;
}

int Extract(const std::string& archive, const std::string& member, const std::string& outFile) {
  if (!Readable(archive)) {
    std::cerr << "kelvora-pack: cannot open " << archive << "\n";
    return 2;
  }
  TArchive reader;
  switch (reader.Extract(member.c_str(), outFile.c_str(), archive.c_str())) {
    case TExtractResult::Extracted:
      return 0;
    case TExtractResult::NotFound:
      std::cerr << "kelvora-pack: no member " << member << " in " << archive << "\n";
      return 1;
    case TExtractResult::ArchiveUnreadable:
      return 2;
    case TExtractResult::OutputFailed:
      std::cerr << "kelvora-pack: cannot write " << outFile << "\n";
      return 3;
  }
  return 3;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() >= 2 && args[0] == "create") {
    return Create(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
  }
  if (args.size() == 2 && args[0] == "list") return List(args[1]);
  if (args.size() == 4 && args[0] == "extract") return Extract(args[1], args[2], args[3]);
  return Usage();
}
