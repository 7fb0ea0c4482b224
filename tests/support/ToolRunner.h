// Runs skirrow-tool as a content author does and captures what it prints.
#pragma once

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace testing_support {

struct ToolRun {
  int status;       // exit status, -1 when it did not exit normally
  std::string out;  // standard output
  std::string err;  // standard error
};

// `args` are shell-quoted by the caller.
inline ToolRun runTool(const std::string& args) {
  char errors[] = "/tmp/skirrow-tool-err-XXXXXX";
  const int fd = ::mkstemp(errors);
  if (fd >= 0) ::close(fd);
  std::string command = std::string(SKIRROW_BIN_DIR) + "/skirrow-tool " + args + " 2>" +
                        (fd >= 0 ? std::string(errors) : std::string("/dev/null"));
  ToolRun run{-1, {}, {}};
  if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  if (fd >= 0) {
    std::ifstream in(errors, std::ios::binary);
    run.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    std::remove(errors);
  }
  return run;
}

}  // namespace testing_support
