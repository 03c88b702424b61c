// The file module's system parts that its shared part (Files.cpp) builds on: each system's
// Files.cpp implements the paths; MakeDurable is the POSIX systems' and the web page's
// (Durable.cpp), whose writers call it, as Windows's writer makes its replacement durable itself.
// Not for use outside the base layer.
#pragma once

#include <string>
#include <string_view>

// A game path with this system's separators.
std::string NativePath(std::string_view path);
// True for a path from the root of a file system (or a drive), false for one relative to the
// current folder.
bool IsAbsolutePath(const std::string& path);

// Makes the files just written into `folder` survive what may come: on a disk, flushes the
// folder's entries, so that a rename in it outlives a crash; in a web page, writes the page's
// files into the browser's storage. False when they may not survive (the browser refused to
// store them); a write that ends so has failed.
bool MakeDurable(const std::string& folder);
