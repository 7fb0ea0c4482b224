#include <cstdio>

#include "Commands.h"
#include "platform/ResourceArchive.h"

namespace inspect {

namespace {

int list(const std::string& zip) {
  platform::ResourceArchive archive(zip);
  if (!archive.isOpen()) return fail("cannot open archive " + zip);
  std::vector<platform::ArchiveMember> members = archive.members();
  std::printf("%-8s %10s %10s  %s\n", "method", "size", "packed", "name");
  for (const platform::ArchiveMember& m : members) {
    const char* method = m.method == 0 ? "stored" : m.method == 8 ? "deflated" : "other";
    std::printf("%-8s %10llu %10llu  %s\n", method, static_cast<unsigned long long>(m.size),
                static_cast<unsigned long long>(m.compressedSize), m.name.c_str());
  }
  std::printf("# %zu members\n", members.size());
  return 0;
}

int extract(const std::string& zip, const std::string& member, std::string folder) {
  platform::ResourceArchive archive(zip);
  if (!archive.isOpen()) return fail("cannot open archive " + zip);
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder.push_back('/');
  platform::ExtractResult result = archive.extractMember(member, folder, false);
  switch (result.code) {
    case platform::kExtractOk:
      break;
    case platform::kExtractNotFound:
      return fail(zip + " has no member '" + member + "'");
    case platform::kExtractBadName:
      return fail("'" + member + "' is not a member name the archive can hold");
    case platform::kExtractWriteError:
      return fail("cannot write '" + member + "' into " + folder);
    default:
      return fail("cannot read '" + member + "' from " + zip + ": the archive is damaged");
  }
  std::printf("%s\n", result.path.c_str());
  return 0;
}

}  // namespace

int archiveCommand(const Args& args) {
  if (args.size() == 2 && args[0] == "list") return list(args[1]);
  if (args.size() == 4 && args[0] == "extract") return extract(args[1], args[2], args[3]);
  return fail("usage: archive list ZIP | archive extract ZIP MEMBER DIR", 2);
}

}  // namespace inspect
