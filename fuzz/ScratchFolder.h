// A folder of the fuzzing process's own for the files a harness writes and reads back; made once,
// in memory when /dev/shm is there (saves sync their files, which is slow on a disk). Returned
// with a trailing '/'.
#pragma once

#include <unistd.h>

#include <string>

inline std::string makeScratchFolder(const std::string& harness) {
  std::string shm = "/dev/shm/skirrow-fuzz-" + harness + "-XXXXXX";
  std::string tmp = "/tmp/skirrow-fuzz-" + harness + "-XXXXXX";
  const char* made = ::mkdtemp(shm.data());
  if (!made) made = ::mkdtemp(tmp.data());
  return std::string(made ? made : "/tmp") + "/";
}
