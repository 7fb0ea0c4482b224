#include "host/Files.h"

#include <dirent.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>

namespace host {

std::string nativePath(std::string_view path) {
  std::string out(path);
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

std::FILE* openFile(std::string_view path, const char* mode) {
  if (path.empty()) return nullptr;
  std::FILE* stream = std::fopen(nativePath(path).c_str(), mode);
  // The platform's open refuses folders; Linux would hand back a stream that fails on read.
  struct stat st {};
  if (stream && ::fstat(::fileno(stream), &st) == 0 && S_ISDIR(st.st_mode)) {
    std::fclose(stream);
    errno = EISDIR;
    return nullptr;
  }
  return stream;
}

PathKind pathKind(std::string_view path) {
  struct stat st {};
  if (path.empty() || ::stat(nativePath(path).c_str(), &st) != 0) return PathKind::None;
  return S_ISDIR(st.st_mode) ? PathKind::Folder : PathKind::File;
}

bool isWritableOrAbsent(std::string_view path) {
  std::string native = nativePath(path);
  return ::access(native.c_str(), F_OK) != 0 || ::access(native.c_str(), W_OK) == 0;
}

bool makeFolder(std::string_view path) {
  return !path.empty() && ::mkdir(nativePath(path).c_str(), 0755) == 0;
}

bool removeFile(std::string_view path) {
  return ::unlink(nativePath(path).c_str()) == 0;
}

bool removeFolder(std::string_view path) {
  return ::rmdir(nativePath(path).c_str()) == 0;
}

bool renamePath(std::string_view from, std::string_view to) {
  return std::rename(nativePath(from).c_str(), nativePath(to).c_str()) == 0;
}

bool syncFile(std::FILE* stream) {
  return stream && std::fflush(stream) == 0 && ::fsync(::fileno(stream)) == 0;
}

std::vector<FolderEntry> listFolder(std::string_view path) {
  std::vector<FolderEntry> entries;
  std::string folder = nativePath(path);
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return entries;
  while (dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    std::string full = folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
    entries.push_back({name, pathKind(full) == PathKind::Folder});
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return entries;
}

std::string modulePath() {
  char buffer[4096];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

namespace {

std::string homeFolder() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  // Without HOME the account's own folder, so that two users never share a default folder.
  const passwd* account = ::getpwuid(::geteuid());
  if (account && account->pw_dir && *account->pw_dir) return account->pw_dir;
  return "/tmp";
}

// Reads XDG_DOCUMENTS_DIR="$HOME/..." from user-dirs.dirs; "" when absent.
std::string documentsFromUserDirs(const std::string& home) {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string file =
      (config && *config ? std::string(config) : home + "/.config") + "/user-dirs.dirs";
  std::ifstream in(file);
  std::string line;
  const std::string key = "XDG_DOCUMENTS_DIR=";
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) != 0) continue;
    std::string value = line.substr(key.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    return value;
  }
  return {};
}

}  // namespace

std::string documentsFolder() {
  std::string home = homeFolder();
  const char* env = std::getenv("XDG_DOCUMENTS_DIR");
  std::string folder = env && *env ? env : documentsFromUserDirs(home);
  if (folder.empty()) folder = home + "/Documents";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  // Create every missing level, as the platform's special-folder call does.
  for (size_t i = 1; i <= folder.size(); ++i) {
    if (i == folder.size() || folder[i] == '/') {
      std::string prefix = folder.substr(0, i);
      if (pathKind(prefix) == PathKind::None) makeFolder(prefix);
    }
  }
  return folder;
}

namespace {

std::string baseFolder(const char* variable, const char* underHome) {
  const char* env = std::getenv(variable);
  std::string folder = env && *env == '/' ? env : homeFolder() + underHome;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace

std::string dataHomeFolder() {
  return baseFolder("XDG_DATA_HOME", "/.local/share");
}

std::string cacheHomeFolder() {
  return baseFolder("XDG_CACHE_HOME", "/.cache");
}

bool makePrivateFolder(std::string_view path) {
  if (path.empty()) return false;
  std::string native = nativePath(path);
  if (::mkdir(native.c_str(), 0700) == 0) return true;
  struct stat st {};
  if (errno != EEXIST || ::lstat(native.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
      st.st_uid != ::geteuid())
    return false;
  return (st.st_mode & 0777) == 0700 || ::chmod(native.c_str(), 0700) == 0;
}

int processId() {
  return static_cast<int>(::getpid());
}

bool processExists(int pid) {
  // Signal 0 only asks: EPERM means it exists but is another user's.
  return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

}  // namespace host
