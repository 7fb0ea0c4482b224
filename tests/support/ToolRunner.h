// Runs skirrow-tool as a content author does and captures what it prints.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace testing_support {

struct ToolRun {
  int status;       // exit status, -1 when it did not exit normally
  std::string out;  // standard output
};

// `args` are shell-quoted by the caller; standard error is discarded.
inline ToolRun runTool(const std::string& args) {
  std::string command = std::string(SKIRROW_BIN_DIR) + "/skirrow-tool " + args + " 2>/dev/null";
  ToolRun run{-1, {}};
  if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  return run;
}

}  // namespace testing_support
