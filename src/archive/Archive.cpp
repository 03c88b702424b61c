#include "archive/Archive.h"

#include <sys/types.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <utility>

#include "base/Translation.h"
#include "platform/Platform.h"

namespace {

constexpr char kApplicationTitle[] = "Kelvora";
// TRANSLATORS: a message box when an archive of the game's data cannot be read.
constexpr const char* kInputFileMessage = TrLater("Nelze pracovat se vstupním souborem");
// TRANSLATORS: a message box when a file unpacked from the game's data cannot be written.
constexpr const char* kOutputFileMessage = TrLater("Nastala chyba při prácí s výstupním souborem!");

constexpr std::size_t kEntrySize = 32;
constexpr std::size_t kNameFieldSize = 24;
constexpr uint64_t kDataAreaStart = 8;  // directory size and reserved word, around the directory

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

uint32_t ReadLe32(const unsigned char* bytes) {
  return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
         uint32_t(bytes[3]) << 24;
}

void AppendLe32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Reads the next 32-byte directory entry; false when the file ends (or fails) before it does.
// A name field without a terminating zero yields all of its 24 bytes, never more.
bool ReadEntry(std::FILE* archive, TArchiveEntry& entry) {
  unsigned char raw[kEntrySize];
  if (std::fread(raw, 1, kEntrySize, archive) != kEntrySize) return false;
  const void* zero = std::memchr(raw, 0, kNameFieldSize);
  std::size_t nameLength = zero ? static_cast<const unsigned char*>(zero) - raw : kNameFieldSize;
  entry.Name.assign(reinterpret_cast<const char*>(raw), nameLength);
  entry.Offset = ReadLe32(raw + kNameFieldSize);
  entry.Size = ReadLe32(raw + kNameFieldSize + 4);
  return true;
}

// Reads up to `size` bytes of a member. A short read means the archive ended: what was read is
// kept.
std::string ReadMember(std::FILE* archive, uint32_t size) {
  std::string bytes;
  char buffer[1 << 16];
  uint32_t left = size;
  while (left > 0) {
    const std::size_t want = std::min<std::size_t>(left, sizeof buffer);
    const std::size_t got = std::fread(buffer, 1, want, archive);
    bytes.append(buffer, got);
    if (got < want) break;
    left -= static_cast<uint32_t>(got);
  }
  return bytes;
}

// `czech` in the player's language.
void TellPlayer(const char* czech) {
  platform::Current().ShowMessageBox(Tr(czech), kApplicationTitle);
}

// Writes the member whole or not at all, so a failed write never leaves a half file for a loader
// to trip over. A data position the file system cannot seek to lies past the end: nothing to
// copy.
bool WriteMemberFile(std::FILE* archive, bool positioned, uint32_t size,
                     const std::string& outPath) {
  return WriteRunFile(outPath, positioned ? ReadMember(archive, size) : std::string());
}

}  // namespace

bool SameMemberName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

TExtractResult TArchive::Extract(const char* member, const char* outFile, const char* archivePath) {
  FilePtr archive(archivePath ? OpenFile(ReadPath(archivePath), "rb") : nullptr);
  unsigned char header[4];
  bool headerRead = archive && std::fread(header, 1, sizeof header, archive.get()) == 4;
  // A folder opens on this system but cannot be read: as unreadable as a missing file.
  if (!archive || (!headerRead && std::ferror(archive.get()))) {
    TellPlayer(kInputFileMessage);
    return TExtractResult::ArchiveUnreadable;
  }
  // An empty wanted name would only ever match a blank entry.
  if (!headerRead || !member || !*member) return TExtractResult::NotFound;

  const uint32_t directorySize = ReadLe32(header);
  const uint32_t entryCount = directorySize >> 5;
  TArchiveEntry entry;
  bool found = false;
  // Entries are read one at a time, so a directory size the file does not hold costs nothing.
  for (uint32_t i = 0; i < entryCount && !found; ++i) {
    if (!ReadEntry(archive.get(), entry)) break;
    found = SameMemberName(entry.Name, member);
  }
  if (!found) return TExtractResult::NotFound;

  const uint64_t position = kDataAreaStart + directorySize + entry.Offset;
  const bool positioned = fseeko(archive.get(), static_cast<off_t>(position), SEEK_SET) == 0;
  if (!outFile || !WriteMemberFile(archive.get(), positioned, entry.Size, WritePath(outFile))) {
    TellPlayer(kOutputFileMessage);
    return TExtractResult::OutputFailed;
  }
  return TExtractResult::Extracted;
}

bool TArchive::ExtractMember(const char* member, const char* outFile, const char* archivePath) {
  TExtractResult result = Extract(member, outFile, archivePath);
  return result == TExtractResult::Extracted || result == TExtractResult::OutputFailed;
}

TListResult ListArchive(const std::string& archivePath, std::vector<TArchiveEntry>& entries) {
  entries.clear();
  FilePtr archive(OpenFile(archivePath, "rb"));
  if (!archive) return TListResult::CannotOpen;
  unsigned char header[4];
  if (std::fread(header, 1, sizeof header, archive.get()) != 4) {
    return std::ferror(archive.get()) ? TListResult::CannotOpen : TListResult::Truncated;
  }
  const uint32_t entryCount = ReadLe32(header) >> 5;
  TArchiveEntry entry;
  for (uint32_t i = 0; i < entryCount; ++i) {
    if (!ReadEntry(archive.get(), entry)) return TListResult::Truncated;
    entries.push_back(entry);
  }
  return TListResult::Complete;
}

TArchiveState CheckArchive(const std::string& archivePath) {
  std::vector<TArchiveEntry> entries;
  const TListResult listed = ListArchive(archivePath, entries);
  if (listed == TListResult::CannotOpen) return TArchiveState::Missing;
  if (listed == TListResult::Truncated) return TArchiveState::Damaged;
  FilePtr archive(OpenFile(archivePath, "rb"));
  unsigned char header[4];
  if (!archive || std::fread(header, 1, sizeof header, archive.get()) != 4 ||
      fseeko(archive.get(), 0, SEEK_END) != 0) {
    return TArchiveState::Missing;
  }
  const off_t end = ftello(archive.get());
  // Members' offsets count from the data area, after the directory and the reserved word.
  const uint64_t dataStart = kDataAreaStart + ReadLe32(header);
  for (const TArchiveEntry& entry : entries) {
    if (end < 0 || dataStart + entry.Offset + entry.Size > static_cast<uint64_t>(end)) {
      return TArchiveState::Damaged;
    }
  }
  return TArchiveState::Whole;
}

bool PackArchive(const std::vector<TArchiveMember>& members, std::string& archive,
                 std::string& error) {
  uint64_t dataSize = 0;
  for (std::size_t i = 0; i < members.size(); ++i) {
    const std::string& name = members[i].Name;
    if (name.size() > kMaxMemberNameLength) {
      error = name + ": member names have at most 23 characters";
      return false;
    }
    for (std::size_t earlier = 0; earlier < i; ++earlier) {
      if (SameMemberName(members[earlier].Name, name)) {
        error = name + ": a member of this name (ignoring case) is already packed";
        return false;
      }
    }
    dataSize += members[i].Bytes.size();
    if (dataSize > UINT32_MAX) {
      error = name + ": the archive would exceed 4 GiB";
      return false;
    }
  }
  if (members.size() > UINT32_MAX / kEntrySize) {
    error = "too many members";
    return false;
  }
  archive.clear();
  AppendLe32(archive, static_cast<uint32_t>(members.size() * kEntrySize));
  uint32_t offset = 0;
  for (const TArchiveMember& member : members) {
    std::string name = member.Name;
    name.resize(kNameFieldSize, '\0');
    archive += name;
    AppendLe32(archive, offset);
    AppendLe32(archive, static_cast<uint32_t>(member.Bytes.size()));
    offset += static_cast<uint32_t>(member.Bytes.size());
  }
  AppendLe32(archive, 0);  // the reserved word
  for (const TArchiveMember& member : members) archive += member.Bytes;
  return true;
}

bool UnpackArchive(std::string_view archive, std::vector<TArchiveMember>& members) {
  members.clear();
  const auto* bytes = reinterpret_cast<const unsigned char*>(archive.data());
  if (archive.size() < 4) return false;
  const uint64_t directorySize = ReadLe32(bytes);
  const uint64_t dataStart = kDataAreaStart + directorySize;
  if (dataStart > archive.size()) return false;
  const uint64_t dataSize = archive.size() - dataStart;
  uint64_t unpacked = 0;
  for (uint64_t at = 4; at + kEntrySize <= 4 + (directorySize & ~uint64_t{kEntrySize - 1});
       at += kEntrySize) {
    const unsigned char* entry = bytes + at;
    const void* zero = std::memchr(entry, 0, kNameFieldSize);
    const std::size_t nameLength =
        zero ? static_cast<const unsigned char*>(zero) - entry : kNameFieldSize;
    const uint64_t offset = ReadLe32(entry + kNameFieldSize);
    const uint64_t size = ReadLe32(entry + kNameFieldSize + 4);
    // Members that share their bytes could make a small file unpack into a huge one.
    unpacked += size;
    if (offset + size > dataSize || unpacked > dataSize) return false;
    members.push_back({std::string(reinterpret_cast<const char*>(entry), nameLength),
                       std::string(archive.substr(dataStart + offset, size))});
  }
  return true;
}

bool WriteArchive(const std::string& archivePath, const std::vector<std::string>& files,
                  std::string& error) {
  namespace fs = std::filesystem;
  std::vector<TArchiveMember> members;
  for (const std::string& file : files) {
    std::error_code failure;
    TArchiveMember member{fs::path(file).filename().string(), {}};
    if (!fs::is_regular_file(file, failure)) {
      error = file + ": not a readable file";
      return false;
    }
    if (ReadFileWhole(file, member.Bytes) != TReadResult::Read) {
      error = file + ": cannot be read";
      return false;
    }
    members.push_back(std::move(member));
  }
  std::string archive;
  if (!PackArchive(members, archive, error)) return false;
  if (!WriteFileWhole(archivePath, archive)) {
    error = archivePath + ": " + std::strerror(errno);
    return false;
  }
  return true;
}
