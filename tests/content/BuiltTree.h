// Builds the whole resource tree and writes every file to disk, archive-only ones included, so
// that libraries which read by path can check each file.
#pragma once

#include <cstdio>
#include <filesystem>

#include "Builder.h"

namespace content_test {

inline bool writeBuiltTree(const std::filesystem::path& root) {
  content::Output out;
  if (!content::buildAll(out, root.string())) return false;
  for (const auto& [path, file] : out.files()) {
    std::filesystem::path target = root / path;
    std::filesystem::create_directories(target.parent_path());
    std::FILE* f = std::fopen(target.string().c_str(), "wb");
    if (!f) return false;
    bool written = std::fwrite(file.bytes.data(), 1, file.bytes.size(), f) == file.bytes.size();
    if (std::fclose(f) != 0 || !written) return false;
  }
  return true;
}

}  // namespace content_test
