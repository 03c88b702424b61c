// Archives from any bytes: extraction never crashes nor reads outside the file, and what the
// reader takes out of a whole archive is what the archive holds. Archives written from any
// members read back as the same members, through the game's reader too.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "archive/Archive.h"

namespace {

bool SameMembers(const std::vector<TArchiveMember>& a, const std::vector<TArchiveMember>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
    return x.Name == y.Name && x.Bytes == y.Bytes;
  });
}

// Whether no earlier member has the name of member `i`, as the reader compares names.
bool FirstOfItsName(const std::vector<TArchiveMember>& members, std::size_t i) {
  for (std::size_t earlier = 0; earlier < i; ++earlier)
    if (SameMemberName(members[earlier].Name, members[i].Name)) return false;
  return true;
}

// True when the members may be packed: names of at most 23 bytes, each first of its name.
bool Packable(const std::vector<TArchiveMember>& members) {
  for (std::size_t i = 0; i < members.size(); ++i)
    if (members[i].Name.size() > kMaxMemberNameLength || !FirstOfItsName(members, i)) return false;
  return true;
}

// The game's reader finds each member by its name (the first of a name, without regard to ASCII
// case) and copies out exactly its bytes; the listing names every entry with its size.
void CheckReader(const std::string& path, const std::vector<TArchiveMember>& members) {
  TArchive archive;
  for (std::size_t i = 0; i < members.size(); ++i) {
    // An empty wanted name is never looked up.
    if (members[i].Name.empty() || !FirstOfItsName(members, i)) continue;
    std::string extracted;
    if (archive.Extract(members[i].Name.c_str(), "out.bin", path.c_str()) !=
            TExtractResult::Extracted ||
        ReadFileWhole("out.bin", extracted) != TReadResult::Read || extracted != members[i].Bytes) {
      std::abort();  // a member of a whole archive was not found, or not copied out exactly
    }
  }
  std::vector<TArchiveEntry> entries;
  if (ListArchive(path, entries) != TListResult::Complete || entries.size() != members.size()) {
    std::abort();
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].Name != members[i].Name || entries[i].Size != members[i].Bytes.size()) {
      std::abort();
    }
  }
}

// Packs the members, unpacks the bytes again and checks the result is the same, then writes
// the archive and checks the game's reader on it. Members that may not be packed are refused.
void RoundTrip(const std::vector<TArchiveMember>& members) {
  std::string packed, error;
  const bool ok = PackArchive(members, packed, error);
  if (ok != Packable(members)) std::abort();
  if (!ok && error.empty()) std::abort();  // a refusal says why
  if (!ok) return;
  std::vector<TArchiveMember> unpacked;
  if (!UnpackArchive(packed, unpacked) || !SameMembers(members, unpacked)) std::abort();
  if (!WriteFileWhole("packed.dat", packed)) std::abort();
  CheckReader("packed.dat", members);
}

// Members of the fuzzer's own choosing: the input cut at each byte 0xFF; in each piece the bytes
// before the first zero (at most 30 of them) name the member, the rest are its contents.
std::vector<TArchiveMember> MembersFrom(std::string_view input) {
  std::vector<TArchiveMember> members;
  std::size_t at = 0;
  while (at < input.size()) {
    std::size_t end = input.find('\xFF', at);
    if (end == std::string_view::npos) end = input.size();
    const std::string_view piece = input.substr(at, end - at);
    std::size_t nameEnd = piece.find('\0');
    if (nameEnd == std::string_view::npos || nameEnd > 30)
      nameEnd = std::min<std::size_t>(piece.size(), 30);
    members.push_back({std::string(piece.substr(0, nameEnd)),
                       std::string(piece.substr(std::min(piece.size(), nameEnd + 1)))});
    at = end + 1;
  }
  return members;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnterFuzzFolder();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  WriteInput("fuzz.dat", data, size);
  TArchive archive;
  for (const char* member : {"Level.dat", "MENU.MP3", "a"})
    archive.ExtractMember(member, "out.bin", "fuzz.dat");
  std::vector<TArchiveEntry> entries;
  ListArchive("fuzz.dat", entries);

  // A whole archive: the reader agrees with it member for member, and it packs back the same.
  std::vector<TArchiveMember> members;
  if (UnpackArchive(input, members)) {
    CheckReader("fuzz.dat", members);
    RoundTrip(members);
  }
  RoundTrip(MembersFrom(input));
  return 0;
}
