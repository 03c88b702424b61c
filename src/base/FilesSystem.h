// The file module's system parts that its shared part (Files.cpp) builds on: each system's
// Files.cpp implements the paths; ReplaceDurably and RemoveDurably are the POSIX systems' and the
// web page's (Durable.cpp), whose writers call them, as Windows's writer makes its replacement
// durable itself. Not for use outside the base layer.
#pragma once

#include <string>
#include <string_view>

// A game path with this system's separators.
std::string NativePath(std::string_view path);
// True for a path from the root of a file system (or a drive), false for one relative to the
// current folder.
bool IsAbsolutePath(const std::string& path);

// Puts the file `temporary`, written whole beside `path`, in the place of `path`, so that the
// new bytes survive what may come: on a disk, the rename is made and the folder's entries are
// flushed, so that it outlives a crash; in a web page, the bytes go into the browser's storage
// first, and the page's file is replaced only once the browser has kept them. False when the
// file at `path` is as it was (the browser refused them); the caller then removes `temporary`.
bool ReplaceDurably(const std::string& temporary, const std::string& path);

// Deletes the file at `path`; in a web page from the browser's storage first. True when it is
// gone (or was never there), false when it is still there, in the page and in the storage.
bool RemoveDurably(const std::string& path);
