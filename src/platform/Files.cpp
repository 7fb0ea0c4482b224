#include "platform/Files.h"

#include <vector>

#include "host/Files.h"
#include "platform/Text.h"

namespace platform {

std::string displayPath(std::string_view path) {
  const bool absolute = !path.empty() && (path[0] == '/' || path[0] == '\\');
  std::vector<std::string> folders;
  for (const std::string& part : split(path, "/\\")) {
    if (part.empty() || part == ".") continue;
    if (part == ".." && !folders.empty() && folders.back() != "..") {
      folders.pop_back();
    } else if (part != ".." || !absolute) {
      folders.push_back(part);  // a ".." above the root of an absolute path is the root
    }
  }
  std::string out = absolute ? "/" : "";
  for (size_t i = 0; i < folders.size(); ++i) out += (i ? "/" : "") + folders[i];
  // A folder keeps its trailing separator.
  if (!folders.empty() && (path.back() == '/' || path.back() == '\\')) out += '/';
  return out;
}

namespace {

// Index just past the last separator of either kind (0 when there is none).
size_t afterLastSeparator(std::string_view path) {
  size_t at = path.find_last_of("\\/");
  return at == std::string_view::npos ? 0 : at + 1;
}

}  // namespace

ResourceStream openResource(std::string_view path, const char* mode) {
  if (std::FILE* stream = host::openFile(path, mode)) return ResourceStream(stream);
  std::string collapsed(path);
  collapseDoubled(collapsed, '\\');
  return ResourceStream(openFromArchives(collapsed, mode));
}

int closeResource(ResourceStream stream) {
  return closeResource(stream.release());
}

bool fileExists(std::string_view path) {
  return openResource(path, "rb") != nullptr;
}

bool ensureFolder(std::string_view path) {
  switch (host::pathKind(path)) {
    case host::PathKind::None:
      return host::makeFolder(path);
    case host::PathKind::Folder:
      return true;
    case host::PathKind::File:
      return false;
  }
  return false;
}

void deleteFilesIn(std::string_view folder) {
  std::string base(folder);
  for (const host::FolderEntry& entry : host::listFolder(base))
    if (!entry.isFolder && !entry.name.empty()) host::removeFile(base + "\\" + entry.name);
}

bool matchesPattern(std::string_view name, std::string_view pattern) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  // Greedy matching with one remembered star: enough for the patterns the pages use, and linear
  // in practice.
  size_t n = 0, p = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<std::string> findFiles(std::string_view folder, std::string_view pattern) {
  std::vector<std::string> found;
  for (const host::FolderEntry& entry : host::listFolder(std::string(folder)))
    if (!entry.isFolder && matchesPattern(entry.name, pattern)) found.push_back(entry.name);
  return found;
}

std::string getModuleFolder() {
  std::string path = host::modulePath();
  return path.substr(0, afterLastSeparator(path));
}

std::string getModuleFileName() {
  std::string path = host::modulePath();
  return path.substr(afterLastSeparator(path));
}

std::string getSpecialFolder(int id) {
  return id == kDocumentsFolder ? host::documentsFolder() : std::string();
}

}  // namespace platform
