// File and folder services: the archive-aware opener and the folder helpers every loader uses.
//
// Paths are UTF-8 and may use '\' or '/' as separators; the host converts them at the OS call.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ResourceArchive.h"

namespace platform {

// Closes a stream from openResource(), deleting its extracted archive copy if it has one.
struct ResourceCloser {
  void operator()(std::FILE* stream) const { closeResource(stream); }
};
using ResourceStream = std::unique_ptr<std::FILE, ResourceCloser>;

// Opens `path` with fopen-style `mode`. When the plain open fails, doubled '\' are collapsed
// and the resource archives are tried (see openFromArchives). Null when neither yields it.
ResourceStream openResource(std::string_view path, const char* mode);

// Closes the stream (and deletes its extracted copy). Returns fclose's result.
int closeResource(ResourceStream stream);

// True when openResource(path, "rb") succeeds: a file that exists only inside an archive
// counts (it is extracted and deleted again); a folder does not.
bool fileExists(std::string_view path);

// Creates the folder when nothing of that name exists (returning whether that worked);
// otherwise true for a folder and false for a file.
bool ensureFolder(std::string_view path);

// Deletes every entry of `folder` that is not itself a folder.
void deleteFilesIn(std::string_view folder);

// The names of the plain files of `folder` (on disk, not in the archives) that match `pattern`,
// where '*' stands for any run of characters and '?' for one, letters compared without regard to
// case as the handheld's file system does. In the folder's listing order (by name); empty when
// the folder cannot be read.
std::vector<std::string> findFiles(std::string_view folder, std::string_view pattern);
// Whether `name` matches `pattern` as findFiles matches them.
bool matchesPattern(std::string_view name, std::string_view pattern);
// A path as a person should read it in a message: '/' between the folders, no empty or "."
// folders, and each ".." gone with the folder before it ("/opt/skirrow/bin/..\resources\GUI\x"
// -> "/opt/skirrow/resources/GUI/x"). The ".." that lead a relative
// path are kept; a folder keeps its trailing '/'.
std::string displayPath(std::string_view path);

// The executable's folder with its trailing separator ("/opt/skirrow/bin/").
std::string getModuleFolder();
// The executable's file name without folder ("skirrow").
std::string getModuleFileName();

// The special folder `id` (kDocumentsFolder is the one the system uses), created if missing,
// without a trailing separator. "" for an id the platform does not know.
inline constexpr int kDocumentsFolder = 5;
std::string getSpecialFolder(int id);

}  // namespace platform
