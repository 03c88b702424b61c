#include "game/WordedBitmaps.h"

#include <string_view>
#include <vector>

#include "archive/Archive.h"
#include "base/Files.h"
#include "game/DataFiles.h"
#include "game/Language.h"
#include "gfx/BitmapPatch.h"

namespace {

// A language's archive of pictures holds patches of a few kilobytes each; anything much larger
// is not one.
constexpr uintmax_t kMaxLanguageArchiveBytes = uintmax_t{64} << 20;

// The patch of `member` in the language `code`'s archive of pictures; empty where the archive
// is missing, not whole, or without it.
std::string LanguagePatch(const std::string& code, const char* member) {
  std::string archive;
  if (ReadFileWhole(ReadPath(data_files::LanguageGraphics(code)), archive,
                    kMaxLanguageArchiveBytes) != TReadResult::Read) {
    return {};
  }
  std::vector<TArchiveMember> members;
  if (!UnpackArchive(archive, members)) return {};
  const std::string wanted = PatchName(member);
  for (TArchiveMember& found : members) {
    if (SameMemberName(found.Name, wanted)) return std::move(found.Bytes);
  }
  return {};
}

}  // namespace

bool ExtractBitmap(const char* member) {
  TArchive archive;
  if (!archive.ExtractMember(member, member, data_files::Graphics)) return false;
  const std::string code = SpokenLanguage();
  if (code == "cs") return true;
  const std::string patch = LanguagePatch(code, member);
  if (patch.empty()) return true;
  std::string czech, patched;
  const std::string file = WritePath(member);
  if (ReadFileWhole(file, czech) == TReadResult::Read &&
      ApplyBitmapPatch(czech, patch, patched) == TPatchResult::Applied) {
    // Written whole, or not at all: Czech's bitmap then stays.
    WriteRunFile(file, patched);
  }
  return true;
}
