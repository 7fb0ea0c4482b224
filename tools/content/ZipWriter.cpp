#include "ZipWriter.h"

#include <minizip/zip.h>
#include <zlib.h>

#include <cstring>

namespace content {

bool writeZip(const std::string& path, const std::vector<ZipMember>& members) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  if (!zip) return false;
  bool ok = true;
  for (const ZipMember& member : members) {
    zip_fileinfo info;
    std::memset(&info, 0, sizeof(info));
    // A fixed date keeps rebuilt archives byte-identical.
    info.tmz_date.tm_year = 2007;
    info.tmz_date.tm_mon = 2;  // March (0-based)
    info.tmz_date.tm_mday = 9;
    info.tmz_date.tm_hour = 12;
    if (zipOpenNewFileInZip64(zip, member.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                              Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0) != ZIP_OK) {
      ok = false;
      break;
    }
    const std::vector<uint8_t>& bytes = *member.bytes;
    if (!bytes.empty() &&
        zipWriteInFileInZip(zip, bytes.data(), static_cast<unsigned>(bytes.size())) != ZIP_OK)
      ok = false;
    if (zipCloseFileInZip(zip) != ZIP_OK) ok = false;
    if (!ok) break;
  }
  if (zipClose(zip, nullptr) != ZIP_OK) ok = false;
  return ok;
}

}  // namespace content
