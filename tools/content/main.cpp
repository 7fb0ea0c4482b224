// skirrow-content: writes the game's resource tree under the folder given (default ".").
#include <chrono>
#include <cstdio>
#include <string>

#include "Builder.h"

int main(int argc, char** argv) {
  if (argc > 2 || (argc == 2 && std::string(argv[1]) == "--help")) {
    std::fprintf(stderr, "usage: skirrow-content [output-folder]\n");
    return 2;
  }
  const std::string root = argc == 2 ? argv[1] : ".";
  auto start = std::chrono::steady_clock::now();
  std::string error;
  if (!content::buildTree(root, &error)) {
    std::fprintf(stderr, "skirrow-content: %s\n", error.c_str());
    return 1;
  }
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                  start)
                .count();
  std::printf("skirrow-content: resources written to %s in %lld ms\n", root.c_str(),
              static_cast<long long>(ms));
  return 0;
}
