// Resource archives: resource folders bound to the zip archive that ships inside each.
//
// A file under a registered folder that is missing on disk is extracted from the folder's
// archive into the temporary folder and opened there; closing the stream deletes the copy.
// Callers never use this directly: they open files with openResource() (platform/Files.h).
//
// Member names are looked up without regard to letter case. Extraction flattens a member's
// folders into its file name ('/' becomes '_'), so an extracted file always lands directly in
// the target folder: a member name can never reach outside it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Error codes of extraction; the reader's own (negative) codes pass through as they are.
inline constexpr int kExtractOk = 0;
inline constexpr int kExtractWriteError = -1;  // target not created, or a short write
inline constexpr int kExtractNotFound = -100;  // the reader's end-of-list-of-files code
inline constexpr int kExtractBadName = -102;   // the reader's parameter-error code
inline constexpr int kExtractInternalError = -104;

// Member names of this many characters or more are refused.
inline constexpr size_t kMaxMemberNameChars = 256;

struct ArchiveMember {
  std::string name;
  uint64_t compressedSize = 0;
  uint64_t size = 0;
  int method = 0;  // 0 = stored, 8 = deflated
};

struct ExtractResult {
  int code = kExtractOk;
  std::string path;  // the file written, when code is kExtractOk
};

class ResourceArchive {
 public:
  // Opens `archivePath` (a zip file). isOpen() tells whether that worked.
  explicit ResourceArchive(std::string_view archivePath);
  ~ResourceArchive();
  ResourceArchive(const ResourceArchive&) = delete;
  ResourceArchive& operator=(const ResourceArchive&) = delete;

  bool isOpen() const { return zip_ != nullptr; }

  // Every member in the archive's order.
  std::vector<ArchiveMember> members() const;

  // Writes member `memberName` (found without regard to case) into `targetFolder` ('/' or '\'
  // separated, ending in a separator). Without `keepFolders` the member's '/' become '_';
  // with it the member's folders are created below the target (a ".." or absolute member
  // name is refused). The copy is written beside the target and renamed into place, so a
  // failed extraction never leaves a partial file.
  ExtractResult extractMember(std::string_view memberName, std::string_view targetFolder,
                              bool keepFolders) const;

  // Folder prefix served ('/' separators, trailing '/'); set by the registry.
  std::string archiveName;
  std::string folder;

 private:
  struct Index;
  void* zip_ = nullptr;  // minizip's unzFile
  std::unique_ptr<Index> index_;
};

// Registers the archive folder + `archiveName` for `folder` (".." resolved, '\' -> '/', with a
// trailing '/'). An archive that cannot be opened is skipped silently.
void registerArchive(std::string_view archiveName, std::string_view folder);
// Closes and removes every record with exactly that archive name.
void unregisterArchive(std::string_view archiveName);
// Number of registered archives.
int registeredArchiveCount();

// Sets the folder extractions go to ('\' -> '/', trailing '/') and deletes every plain file
// directly inside it. The folder itself is created on the first extraction.
void setTempFolder(std::string_view path);
// The temporary folder with its trailing '/', or "" when none is set.
const std::string& getTempFolder();

// Extracts `path` from the last registered archive whose folder is a prefix of it and opens
// the copy with `mode`. Null when no archive yields it. A stream opened for reading deletes its
// copy when closed with closeResource(); a stream opened for writing keeps its copy until the
// temporary folder is emptied.
std::FILE* openFromArchives(std::string_view path, const char* mode);

// Closes the stream and deletes its extracted copy, if any. Returns fclose's result.
int closeResource(std::FILE* stream);

// Closes every archive, deletes the temporary folder's files and the folder, and forgets it.
void releaseArchives();

// Creates `path` and every missing folder of it from index `fromIndex` on ('/' or '\'
// separated; a trailing separator is ignored). An existing folder counts as created; an
// existing file of a needed name fails.
bool makeFolders(std::string_view path, size_t fromIndex);

}  // namespace platform
