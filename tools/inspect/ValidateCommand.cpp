#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Commands.h"
#include "Validator.h"

namespace inspect {

int validateCommand(const Args& args) {
  if (args.size() != 1) return fail("usage: skirrow-tool validate RESOURCES", 2);
  const std::string& root = args[0];
  if (!std::filesystem::is_directory(root)) return fail("no resource folder " + root);
  Validator validator(root);
  const std::vector<Problem> problems = validator.run();
  for (const Problem& p : problems)
    std::printf("%s: %s\n", p.file.empty() ? root.c_str() : p.file.c_str(), p.what.c_str());
  if (problems.empty()) {
    std::printf("%s: complete, %d files checked, no problems\n", root.c_str(),
                validator.filesChecked());
    return 0;
  }
  std::printf("%s: %zu problem%s, %d files checked\n", root.c_str(), problems.size(),
              problems.size() == 1 ? "" : "s", validator.filesChecked());
  return 1;
}

}  // namespace inspect
