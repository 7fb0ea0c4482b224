// File-system services of the handheld platform, on Linux.
//
// The system builds paths with '\' as separator; every function here accepts '\' and '/' alike
// and turns '\' into '/' before the OS sees the path. Nothing outside src/host/ calls the OS
// file API directly.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// The path as the OS wants it: every '\' becomes '/'.
std::string nativePath(std::string_view path);

// fopen() with the path converted. Returns null on failure (errno tells why); a folder is
// never opened.
std::FILE* openFile(std::string_view path, const char* mode);

enum class PathKind { None, File, Folder };
PathKind pathKind(std::string_view path);

// False when `path` exists and this process may not write it.
bool isWritableOrAbsent(std::string_view path);

// Each returns true on success. makeFolder fails when anything of that name exists already.
bool makeFolder(std::string_view path);
bool removeFile(std::string_view path);
bool removeFolder(std::string_view path);  // the folder must be empty
// Replaces `to` atomically when both lie on one file system.
bool renamePath(std::string_view from, std::string_view to);
// Flushes the stream's data to the storage medium (used before an atomic replace).
bool syncFile(std::FILE* stream);

struct FolderEntry {
  std::string name;
  bool isFolder = false;
};
// The entries of a folder, without "." and "..", sorted by name. Empty when it cannot be read.
std::vector<FolderEntry> listFolder(std::string_view path);

// Full path of the running executable ("/.../bin/skirrow"), or "" when unknown.
std::string modulePath();

// The user's documents folder: $XDG_DOCUMENTS_DIR, else XDG_DOCUMENTS_DIR of
// ~/.config/user-dirs.dirs, else ~/Documents. Created when missing. No trailing separator.
std::string documentsFolder();

}  // namespace host
