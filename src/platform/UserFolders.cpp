#include "platform/UserFolders.h"

#include <utility>

#include "host/Files.h"
#include "platform/Files.h"

namespace platform {

namespace {

// displayPath() of a folder, with its trailing '/'.
std::string folderPath(std::string_view folder) {
  if (folder.empty()) return {};
  std::string path = displayPath(std::string(folder) + "/");
  if (path.empty() || path.back() != '/') path.push_back('/');
  return path;
}

bool allDigits(std::string_view text) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

UserFolders& current() {
  static UserFolders folders;
  return folders;
}

}  // namespace

UserFolders::UserFolders(std::string_view installedTree, std::string_view userTree)
    : installedTree_(folderPath(installedTree)), userTree_(folderPath(userTree)) {
  // Redirecting a tree into itself (or into one of its folders) would read a save as its own
  // installed copy: treat it as no redirection.
  if (installedTree_.empty() || userTree_.rfind(installedTree_, 0) == 0) userTree_.clear();
}

UserFolders UserFolders::forProgram(std::string_view exeFolder) {
  std::string folder = folderPath(exeFolder);
  if (folder.empty() || host::pathKind(folder + kPortableMarker) == host::PathKind::File)
    return UserFolders();
  return UserFolders(folder + "..", host::dataHomeFolder() + "/" + kFolderName);
}

std::string UserFolders::userCopyOf(std::string_view path) const {
  if (userTree_.empty()) return {};
  std::string resolved = displayPath(path);
  if (resolved.size() <= installedTree_.size() || resolved.rfind(installedTree_, 0) != 0) return {};
  return userTree_ + resolved.substr(installedTree_.size());
}

void setUserFolders(UserFolders folders) {
  current() = std::move(folders);
}

const UserFolders& userFolders() {
  return current();
}

std::string preparePrivateTempFolder(std::string_view cacheRoot, int pid) {
  std::string root = folderPath(cacheRoot);
  if (root.empty() || pid <= 0) return {};
  root.pop_back();
  // The levels above the root are ordinary folders of the user's (~/.cache); only ours is private.
  size_t cut = root.find_last_of('/');
  if (cut != std::string::npos && cut > 0) makeFolders(root.substr(0, cut), 1);
  if (!host::makePrivateFolder(root)) return {};
  for (const host::FolderEntry& entry : host::listFolder(root)) {
    if (!entry.isFolder || !allDigits(entry.name)) continue;
    int owner = std::stoi(entry.name);
    if (owner == pid || host::processExists(owner)) continue;
    std::string stale = root + "/" + entry.name;
    deleteFilesIn(stale);
    host::removeFolder(stale);
  }
  std::string folder = root + "/" + std::to_string(pid);
  // Another instance that ends now may remove the root (empty) between the two steps: make it
  // again then.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (host::makePrivateFolder(folder)) return folder + "/";
    if (host::pathKind(root) != host::PathKind::None || !host::makePrivateFolder(root)) break;
  }
  return {};
}

void removeCacheRootIfEmpty(std::string_view cacheRoot) {
  std::string root = folderPath(cacheRoot);
  if (root.empty()) return;
  root.pop_back();
  host::removeFolder(root);  // fails, harmlessly, while another instance's folder is in it
}

std::string defaultCacheRoot() {
  return host::cacheHomeFolder() + "/" + UserFolders::kFolderName;
}

}  // namespace platform
