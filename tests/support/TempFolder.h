// A fresh folder under /tmp for one test, removed with everything in it afterwards.
#pragma once

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace testing_support {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "skirrow-test-XXXXXX").string();
    char* made = ::mkdtemp(pattern.data());
    path_ = made ? made : "";
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, without a trailing separator.
  const std::string& path() const { return path_; }
  // path() + "/" + name.
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  // Writes `bytes` to path()/name (creating folders on the way) and returns the full path.
  std::string write(const std::string& name, const std::string& bytes) const {
    std::string full = *this / name;
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    std::ofstream(full, std::ios::binary) << bytes;
    return full;
  }

 private:
  std::string path_;
};

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool exists(const std::string& path) {
  return std::filesystem::exists(path);
}

// Waits up to `seconds` for a file another process writes (a relaunched program whose parent
// has ended already), then a little longer so that it is written whole.
inline bool waitForFile(const std::string& path, int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    if (exists(path)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

}  // namespace testing_support
