// Treats arbitrary bytes as a resource archive and extracts every member both ways. Whatever
// the member names, nothing may be written outside the target folder.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Files.h"
#include "platform/ResourceArchive.h"

namespace {

const std::string& workFolder() {
  static const std::string folder = [] {
    // Memory-backed when possible: saves sync their files, which is slow on a disk.
    char shm[] = "/dev/shm/skirrow-fuzz-archive-XXXXXX";
    char tmp[] = "/tmp/skirrow-fuzz-archive-XXXXXX";
    const char* made = ::mkdtemp(shm);
    return std::string(made ? made : ::mkdtemp(tmp));
  }();
  return folder;
}

// Names in `folder` other than the ones allowed there.
int strangers(const std::string& folder) {
  int count = 0;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (dirent* e = ::readdir(dir)) {
      std::string name = e->d_name;
      if (name != "." && name != ".." && name != "in.zip" && name != "target") ++count;
    }
    ::closedir(dir);
  }
  return count;
}

void removeTree(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& folder = workFolder();
  std::string zip = folder + "/in.zip";
  if (std::FILE* f = std::fopen(zip.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  std::string target = folder + "/target/";
  platform::ResourceArchive archive(zip);
  if (archive.isOpen()) {
    ::mkdir(target.c_str(), 0755);
    for (const platform::ArchiveMember& member : archive.members()) {
      archive.extractMember(member.name, target, false);
      archive.extractMember(member.name, target, true);
    }
    platform::setTempFolder(target);
    platform::registerArchive("in.zip", folder);
    for (const platform::ArchiveMember& member : archive.members())
      platform::openResource(folder + "/" + member.name, "rb");
    platform::releaseArchives();
    if (strangers(folder) != 0) std::abort();  // something escaped the target folder
    removeTree(target);
  }
  return 0;
}
