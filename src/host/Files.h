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

// The user's XDG base folders, without a trailing separator and not created here:
// $XDG_DATA_HOME, else ~/.local/share; $XDG_CACHE_HOME, else ~/.cache. A relative value does not
// count (the base-directory rules say to ignore it).
std::string dataHomeFolder();
std::string cacheHomeFolder();

// Creates `path` with mode 0700, or narrows an existing folder of this user's to 0700. False
// when it cannot be made, is not a folder, or belongs to another user (a folder someone else
// prepared must not receive this user's files).
bool makePrivateFolder(std::string_view path);

// This process's id, and whether a process of id `pid` exists now.
int processId();
bool processExists(int pid);

}  // namespace host
