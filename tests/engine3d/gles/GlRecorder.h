// Records some of the GL calls the driver makes, for the cases whose effect cannot be read
// back from GL (a call that sets what is already the default, or strings GL reports).
//
// The test program defines these GL entry points itself; the driver's calls bind to them and
// they forward to the real library, so drawing is unchanged.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace engine3d::testing {

struct GlCall {
  std::string name;
  std::vector<std::int64_t> args;
};

class GlRecorder {
 public:
  static GlRecorder& get();

  void clear() { calls.clear(); }
  // True when a call of that name with exactly these leading arguments was recorded.
  bool called(const std::string& name, const std::vector<std::int64_t>& args = {}) const;
  int count(const std::string& name) const;

  std::vector<GlCall> calls;
  // When set, glGetString(GL_VERSION / GL_VENDOR) answers these instead of the library.
  std::optional<std::string> version;
  std::optional<std::string> vendor;
};

}  // namespace engine3d::testing
