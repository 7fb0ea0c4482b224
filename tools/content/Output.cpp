#include "Output.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ZipWriter.h"

namespace content {

void Output::put(const std::string& path, std::vector<uint8_t> bytes, Placement placement) {
  files_[path] = OutputFile{std::move(bytes), placement};
}

void Output::putText(const std::string& path, const std::string& text, Placement placement) {
  put(path, std::vector<uint8_t>(text.begin(), text.end()), placement);
}

bool Output::addArchive(const std::string& folder, const std::string& archiveName,
                        const std::string& scratchFolder) {
  const std::string prefix = folder + "/";
  std::vector<ZipMember> members;
  for (const auto& [path, file] : files_) {
    if (path.compare(0, prefix.size(), prefix) != 0 || file.placement == Placement::kDiskOnly)
      continue;
    members.push_back(ZipMember{path.substr(prefix.size()), &file.bytes});
  }
  // minizip writes to a file; build it in the scratch folder and keep its bytes.
  const std::string scratch = scratchFolder + "/" + archiveName;
  if (!writeZip(scratch, members)) return false;
  std::ifstream in(scratch, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  in.close();
  std::filesystem::remove(scratch);
  if (bytes.empty()) return false;
  put(prefix + archiveName, std::move(bytes), Placement::kDiskOnly);
  return true;
}

bool Output::write(const std::string& root, std::string* error) const {
  namespace fs = std::filesystem;
  for (const auto& [path, file] : files_) {
    if (file.placement == Placement::kArchiveOnly) {
      // A stale copy from an earlier run would hide the archive path: remove it.
      std::error_code ignored;
      fs::remove(fs::path(root) / path, ignored);
      continue;
    }
    fs::path target = fs::path(root) / path;
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.bytes.data()),
              static_cast<std::streamsize>(file.bytes.size()));
    if (!out) {
      if (error) *error = target.string();
      return false;
    }
  }
  return true;
}

}  // namespace content
