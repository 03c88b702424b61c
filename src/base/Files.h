// The file module: every file the game and its tools read or write whole goes through here.
//
// The game names files the way its data always did ("Data\\Save1.dat"); ReadPath and WritePath
// turn such a name into one this system opens, for reading and for writing. A file is written
// whole or not at all: the bytes go to a temporary file with a name of its own in the same
// folder, which is flushed to the disk and then takes the old file's place in one step, keeping
// the old file's permissions; on any failure the temporary file is removed and the old file
// stays as it was. Where a system replaces a file in more than one step (Windows) and a step in
// the middle fails, the new file or the old one is put in place; where even that cannot be done,
// neither copy is deleted: both stay beside it under hidden names, and the write has failed.
// Interrupted system calls are retried. The calls are the same on every system;
// only Files.cpp knows how each one replaces a file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// A game path ("Data\\Level.dat") as a path of this system to read from. Relative paths name
// files of the current folder, the player's; where an installed folder is set (below) and the
// current folder has no such file, a file of that name in the installed folder is named instead.
std::string ReadPath(std::string_view path);
// A game path as a path of this system to write to, or to delete: always in the current folder
// (for a relative path), never in the installed one, even where only the installed folder holds
// the file.
std::string WritePath(std::string_view path);

// An installed game keeps the player's files in a folder of the player's own, the current one,
// and reads its archives from the installation (`folder`), which the player may not write to.
void SetInstalledFolder(std::string_view folder);

enum class TReadResult {
  Read,        // the whole file is in the bytes
  Missing,     // nothing is there (no such file, or a folder on the way is missing)
  Unreadable,  // something is there but could not be read whole (a folder, no permission, an
               // error, or more than the limit)
};

// Reads the whole file at `path` (a path of this system) into `bytes`, which is left empty unless
// the file was read. A file larger than `limit` bytes is not read.
TReadResult ReadFileWhole(const std::string& path, std::string& bytes,
                          uintmax_t limit = UINTMAX_MAX);

// Writes `bytes` as the whole content of the file at `path` (a path of this system), replacing
// it in one step. False on failure, with the old file untouched and no temporary file left (but
// for the rare case above). True only when the new bytes are in place.
bool WriteFileWhole(const std::string& path, std::string_view bytes);

// Writes a file the game unpacks for its run and deletes again (a table, a bitmap, a sound):
// whole or not at all, like WriteFileWhole, but it need not outlive the run, so a web page never
// puts it into the browser's storage (and so plays on where that storage refuses to keep saves).
bool WriteRunFile(const std::string& path, std::string_view bytes);
// Deletes such a file; one that is not there is no failure.
bool RemoveRunFile(const std::string& path);

// Opens the file at `path` (a path of this system, UTF-8 like every path of the game) as a C
// stream, in a `mode` std::fopen takes, for what reads a large file piece by piece (an
// archive). Null where it cannot be opened. Every other file is read and written whole, above.
std::FILE* OpenFile(const std::string& path, const char* mode);

// True when something is at `path` (a path of this system), readable or not.
bool FileExists(const std::string& path);

// The names of the files in the game folder `folder` ("Data") whose names begin with `prefix`
// and end with `suffix` (with something between), found in the current folder and, for an
// installed game, in the installed one: each name once, in order. None where neither is there.
std::vector<std::string> ListGameFiles(std::string_view folder, std::string_view prefix,
                                       std::string_view suffix);

// Deletes the file at `path` (a path of this system). A file that is not there is no failure.
bool RemoveFile(const std::string& path);
