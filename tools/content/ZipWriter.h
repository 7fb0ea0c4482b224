// ZipWriter: writes a zip archive through minizip's zip writer.
//
// Every member gets the same fixed date and no extra fields, so an archive depends only on its
// members' names and bytes. Members are deflated at the default level.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace content {

struct ZipMember {
  std::string name;  // '/' separated, relative to the archive's folder
  const std::vector<uint8_t>* bytes = nullptr;
};

// Writes `members` in the given order to `path`. False when the archive cannot be written.
bool writeZip(const std::string& path, const std::vector<ZipMember>& members);

}  // namespace content
