// The pack archives of the Data folder (Grafika.dat, Hudba.dat, Game.dat) and the reader that
// copies one member out to a file of its own.
//
// Layout, all integers unsigned 32-bit little-endian:
//   0       directory size D; the directory holds D / 32 entries (the low five bits are ignored)
//   4       the entries, 32 bytes each: a 24-byte zero-padded name, the offset of the data
//           (counted from the data area) and its size
//   4 + D   4 reserved bytes (written as zeros, never read)
//   8 + D   the data area: member contents stored as they are
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Files.h"

enum class TExtractResult {
  Extracted,          // the member was found and written whole (or as much as the archive holds)
  NotFound,           // no entry carries the name, or the directory ends before one does
  ArchiveUnreadable,  // the archive could not be opened or read; the player was told
  OutputFailed,       // the member was found but the output file could not be written; told too
};

class TArchive {
 public:
  // Copies the member named `member` (ASCII letters compared without case, the first matching
  // entry wins) out of the archive at `archivePath` into `outFile`, replacing that file: a file
  // for the run (WriteRunFile), which the game deletes again. The output appears whole or not at
  // all. True when the member was found, even if the output file could not be written.
  bool ExtractMember(const char* member, const char* outFile, const char* archivePath);

  // The same extraction, telling which way it went.
  TExtractResult Extract(const char* member, const char* outFile, const char* archivePath);
};

// The bytes of a member name an archive can hold: at most 23, so a terminating zero always fits.
inline constexpr std::size_t kMaxMemberNameLength = 23;

struct TArchiveEntry {
  std::string Name;  // the bytes before the first zero of the 24-byte field
  uint32_t Offset = 0;
  uint32_t Size = 0;
};

enum class TListResult { Complete, Truncated, CannotOpen };

// Reads the directory of the archive at `archivePath` (a path of this system) into `entries`.
// Truncated when the file ends before the directory does; `entries` then holds the whole
// entries that were there.
TListResult ListArchive(const std::string& archivePath, std::vector<TArchiveEntry>& entries);

enum class TArchiveState { Whole, Missing, Damaged };

// Whether the archive at `archivePath` (a path of this system) holds all its directory lists:
// Missing when it cannot be opened, Damaged when the file ends before its directory or before
// the data of one of its members does (a copy cut short).
TArchiveState CheckArchive(const std::string& archivePath);

// Whether two member names name the same member: only the ASCII capitals are folded, since the
// archives hold code-page-1250 names, whose other letters must match byte for byte.
bool SameMemberName(std::string_view a, std::string_view b);

// One member of an archive held in memory: its name and its bytes.
struct TArchiveMember {
  std::string Name;
  std::string Bytes;
};

// Lays `members` out as the bytes of an archive, in the order given. Refuses (false, the reason
// in `error`) names longer than kMaxMemberNameLength, names that differ only in ASCII case (the
// second could never be found) and an archive of more than 4 GiB.
bool PackArchive(const std::vector<TArchiveMember>& members, std::string& archive,
                 std::string& error);

// Reads the members of the archive whose bytes are `archive`. False when the bytes are no whole
// archive: the directory, or a member's data, would run past their end, or the members would
// share bytes (together be larger than the data area).
bool UnpackArchive(std::string_view archive, std::vector<TArchiveMember>& members);

// Packs `files` into a new archive at `archivePath`: each file becomes a member named by its base
// name, the data laid out in the order given. Refuses names longer than kMaxMemberNameLength and
// names that differ only in ASCII case (the second could never be found). The archive is written
// to a temporary file beside it and renamed into place, so on failure (false, the reason in
// `error`) any previous archive is left as it was.
bool WriteArchive(const std::string& archivePath, const std::vector<std::string>& files,
                  std::string& error);
