#include "platform/ResourceArchive.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cstring>

#include "host/Files.h"
#include "platform/HashMap.h"
#include "platform/Text.h"

namespace platform {

namespace {

constexpr size_t kCopyBlock = 8192;
constexpr const char* kPartialName = ".extracting";

// Folds letter case for look-ups: ASCII and the Latin-1 letters (U+00C0..U+00DE, which UTF-8
// writes as C3 80..C3 9E), as the platform's wide-text comparison does for Western names.
std::string foldCase(std::string_view name) {
  std::string out(name);
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c + 32);
    } else if (c == 0xC3 && i + 1 < out.size()) {
      unsigned char d = static_cast<unsigned char>(out[i + 1]);
      if (d >= 0x80 && d <= 0x9E && d != 0x97) out[i + 1] = static_cast<char>(d + 0x20);
      ++i;
    }
  }
  return out;
}

bool isSeparator(char c) {
  return c == '/' || c == '\\';
}

// A member name that is safe to write below a folder: no "..", no absolute path, no empty
// segment. Applied after flattening too, where it only has to reject "", "." and "..".
bool isSafeRelativeName(std::string_view name) {
  if (name.empty() || isSeparator(name.front())) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = start;
    while (end < name.size() && !isSeparator(name[end])) ++end;
    std::string_view segment = name.substr(start, end - start);
    if (segment.empty() || segment == "." || segment == "..") return false;
    start = end + 1;
  }
  return true;
}

struct Registry {
  std::vector<std::unique_ptr<ResourceArchive>> archives;  // in registration order
  std::string tempFolder;                                  // "" when none
  HashMap<std::FILE*, std::string> openExtracted;          // stream -> its extracted copy
};

// The process-wide archive registry and temporary folder.
Registry& registry() {
  static Registry instance;
  return instance;
}

std::string withTrailingSlash(std::string folder) {
  replaceChar(folder, '\\', '/');
  if (!folder.empty() && folder.back() != '/') folder.push_back('/');
  return folder;
}

void deletePlainFiles(const std::string& folder) {
  for (const host::FolderEntry& entry : host::listFolder(folder))
    if (!entry.isFolder && !entry.name.empty()) host::removeFile(folder + entry.name);
}

}  // namespace

struct ResourceArchive::Index {
  HashMap<std::string, unz64_file_pos> byFoldedName;
};

ResourceArchive::ResourceArchive(std::string_view archivePath) : index_(std::make_unique<Index>()) {
  unzFile zip = unzOpen64(host::nativePath(archivePath).c_str());
  if (!zip) return;
  zip_ = zip;
  // Index every member once, so that each open is one hash look-up instead of a directory walk.
  char name[kMaxMemberNameChars * 4 + 1];
  for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK; rc = unzGoToNextFile(zip)) {
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK)
      continue;
    if (info.size_filename >= sizeof name) continue;  // too long to be asked for anyway
    unz64_file_pos pos{};
    if (unzGetFilePos64(zip, &pos) != UNZ_OK) continue;
    // The first of two members that differ only in case wins, as a directory walk would find it.
    std::string key = foldCase(name);
    if (!index_->byFoldedName.contains(key)) index_->byFoldedName.put(key, pos);
  }
}

ResourceArchive::~ResourceArchive() {
  if (zip_) unzClose(static_cast<unzFile>(zip_));
}

std::vector<ArchiveMember> ResourceArchive::members() const {
  std::vector<ArchiveMember> out;
  if (!zip_) return out;
  unzFile zip = static_cast<unzFile>(zip_);
  char name[4096];
  for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK; rc = unzGoToNextFile(zip)) {
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK)
      continue;
    out.push_back({name, info.compressed_size, info.uncompressed_size,
                   static_cast<int>(info.compression_method)});
  }
  return out;
}

ExtractResult ResourceArchive::extractMember(std::string_view memberName,
                                             std::string_view targetFolder,
                                             bool keepFolders) const {
  if (!zip_) return {kExtractBadName, {}};
  if (characterCount(memberName) >= kMaxMemberNameChars) return {kExtractBadName, {}};
  unzFile zip = static_cast<unzFile>(zip_);

  std::string lookup(memberName);
  replaceChar(lookup, '\\', '/');
  const unz64_file_pos* pos = index_->byFoldedName.get(foldCase(lookup));
  if (!pos) return {kExtractNotFound, {}};
  unz64_file_pos where = *pos;
  int rc = unzGoToFilePos64(zip, &where);
  if (rc != UNZ_OK) return {rc, {}};

  std::string name = lookup;
  if (!keepFolders) replaceChar(name, '/', '_');
  if (!isSafeRelativeName(name)) return {kExtractBadName, {}};

  std::string folder(targetFolder);
  std::string target = folder + name;
  // The copy is written under a fixed name beside its final place (a suffix could push a long
  // member name past the file system's name limit) and renamed when complete.
  std::string partial = target.substr(0, target.find_last_of("\\/") + 1) + kPartialName;

  rc = unzOpenCurrentFile(zip);
  if (rc != UNZ_OK) return {rc, {}};

  std::FILE* out = host::openFile(partial, "wb");
  if (!out) {
    // Create the missing folders from the end of the target folder on, then try once more.
    size_t cut = host::nativePath(partial).rfind('/');
    if (cut != std::string::npos) makeFolders(partial.substr(0, cut), folder.size());
    out = host::openFile(partial, "wb");
  }
  if (!out) {
    unzCloseCurrentFile(zip);
    return {kExtractWriteError, {}};
  }

  std::unique_ptr<char[]> buffer(new (std::nothrow) char[kCopyBlock]);
  int result = buffer ? kExtractOk : kExtractInternalError;
  while (result == kExtractOk) {
    int n = unzReadCurrentFile(zip, buffer.get(), kCopyBlock);
    if (n == 0) break;
    if (n < 0) {
      result = n;
    } else if (std::fwrite(buffer.get(), 1, static_cast<size_t>(n), out) !=
               static_cast<size_t>(n)) {
      result = kExtractWriteError;
    }
  }
  if (std::fclose(out) != 0 && result == kExtractOk) result = kExtractWriteError;
  // Closing the member checks its CRC: a damaged member must not pass for a good file.
  int closed = unzCloseCurrentFile(zip);
  if (result == kExtractOk && closed != UNZ_OK) result = closed;
  if (result == kExtractOk && !host::renamePath(partial, target)) result = kExtractWriteError;
  if (result != kExtractOk) {
    host::removeFile(partial);
    return {result, {}};
  }
  return {kExtractOk, target};
}

void registerArchive(std::string_view archiveName, std::string_view folder) {
  std::string served(folder);
  resolveDotDot(served);
  served = withTrailingSlash(std::move(served));
  auto archive = std::make_unique<ResourceArchive>(served + std::string(archiveName));
  if (!archive->isOpen()) return;
  archive->archiveName = archiveName;
  archive->folder = std::move(served);
  registry().archives.push_back(std::move(archive));
}

void unregisterArchive(std::string_view archiveName) {
  auto& archives = registry().archives;
  for (size_t i = archives.size(); i-- > 0;)
    if (archives[i]->archiveName == archiveName) archives.erase(archives.begin() + i);
}

int registeredArchiveCount() {
  return static_cast<int>(registry().archives.size());
}

void setTempFolder(std::string_view path) {
  std::string& temp = registry().tempFolder;
  temp = withTrailingSlash(std::string(path));
  if (!temp.empty()) deletePlainFiles(temp);
}

const std::string& getTempFolder() {
  return registry().tempFolder;
}

std::FILE* openFromArchives(std::string_view path, const char* mode) {
  Registry& reg = registry();
  std::string resolved(path);
  resolveDotDot(resolved);
  replaceChar(resolved, '\\', '/');
  for (size_t i = reg.archives.size(); i-- > 0;) {
    const ResourceArchive& archive = *reg.archives[i];
    if (resolved.compare(0, archive.folder.size(), archive.folder) != 0) continue;
    std::string member = resolved.substr(archive.folder.size());
    const std::string& target = reg.tempFolder.empty() ? archive.folder : reg.tempFolder;
    ExtractResult extracted = archive.extractMember(member, target, false);
    if (extracted.code != kExtractOk) continue;
    std::FILE* stream = host::openFile(extracted.path, mode);
    if (!stream) continue;
    if (!std::strpbrk(mode, "wW")) reg.openExtracted.put(stream, extracted.path);
    return stream;
  }
  return nullptr;
}

int closeResource(std::FILE* stream) {
  if (!stream) return EOF;
  std::optional<std::string> copy = registry().openExtracted.remove(stream);
  int result = std::fclose(stream);
  if (copy) host::removeFile(*copy);
  return result;
}

void releaseArchives() {
  Registry& reg = registry();
  reg.archives.clear();
  reg.openExtracted.clear();
  if (reg.tempFolder.empty()) return;
  deletePlainFiles(reg.tempFolder);
  std::string folder = reg.tempFolder;
  folder.pop_back();
  host::removeFolder(folder);
  reg.tempFolder.clear();
}

bool makeFolders(std::string_view path, size_t fromIndex) {
  std::string whole(path);
  if (whole.empty()) return false;
  if (isSeparator(whole.back())) whole.pop_back();
  if (whole.empty()) return false;
  auto create = [](const std::string& folder) {
    return host::makeFolder(folder) || host::pathKind(folder) == host::PathKind::Folder;
  };
  if (create(whole)) return true;
  for (size_t i = fromIndex; i < whole.size(); ++i)
    if (isSeparator(whole[i]) && i > 0 && !create(whole.substr(0, i))) return false;
  return create(whole);
}

}  // namespace platform
