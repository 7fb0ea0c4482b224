// TemplateWriter: composes ".properties" text, one "key=value" line per entry.
//
// Object entries are nested lists of "name:value" items joined with ", ". Values are written as
// given: callers keep commas followed by "word:" and "//" out of free text, since the reader
// would split or cut there.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace content {

class Items {
 public:
  Items& operator()(const std::string& name, const std::string& value);
  Items& operator()(const std::string& name, const char* value) {
    return (*this)(name, std::string(value));
  }
  Items& operator()(const std::string& name, int value);
  // A colour item "(r;g;b)" from 0xRRGGBB (alpha ignored).
  Items& color(const std::string& name, uint32_t rgb);
  std::string str() const;

 private:
  std::vector<std::pair<std::string, std::string>> items_;
};

std::string colorText(uint32_t rgb);

class TemplateWriter {
 public:
  void comment(const std::string& text);
  void blank();
  void entry(const std::string& key, const std::string& value);
  void entry(const std::string& key, const Items& items) { entry(key, items.str()); }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace content
