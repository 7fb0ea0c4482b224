// Output: the resource tree being built, held in memory until it is written out.
//
// Paths are relative to the output root ('/' separated, e.g. "resources/GUI/cover.properties").
// A file is placed on disk, inside its folder's archive, or both. Writing happens once at the
// end, in path order, so the tree does not depend on the order assets were made in.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace content {

enum class Placement {
  kDiskAndArchive,  // the usual case: on disk, and a member of the folder's archive
  kDiskOnly,        // on disk only (folders without an archive, the archives themselves)
  kArchiveOnly,     // only inside the folder's archive: the program must extract it
};

struct OutputFile {
  std::vector<uint8_t> bytes;
  Placement placement = Placement::kDiskAndArchive;
};

class Output {
 public:
  // Adds or replaces a file.
  void put(const std::string& path, std::vector<uint8_t> bytes,
           Placement placement = Placement::kDiskAndArchive);
  void putText(const std::string& path, const std::string& text,
               Placement placement = Placement::kDiskAndArchive);

  bool contains(const std::string& path) const { return files_.count(path) != 0; }
  const std::map<std::string, OutputFile>& files() const { return files_; }

  // Adds the archive `archiveName` inside `folder` (e.g. "resources/GUI", "GUI.zip") holding
  // every file under the folder that is not disk-only, named relative to the folder.
  bool addArchive(const std::string& folder, const std::string& archiveName,
                  const std::string& scratchFolder);

  // Writes every disk file under `root`, creating folders. False on the first failure; `error`
  // then names the file.
  bool write(const std::string& root, std::string* error) const;

 private:
  std::map<std::string, OutputFile> files_;
};

}  // namespace content
