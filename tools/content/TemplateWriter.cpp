#include "TemplateWriter.h"

namespace content {

Items& Items::operator()(const std::string& name, const std::string& value) {
  items_.emplace_back(name, value);
  return *this;
}

Items& Items::operator()(const std::string& name, int value) {
  return (*this)(name, std::to_string(value));
}

std::string colorText(uint32_t rgb) {
  return "(" + std::to_string((rgb >> 16) & 255) + ";" + std::to_string((rgb >> 8) & 255) + ";" +
         std::to_string(rgb & 255) + ")";
}

Items& Items::color(const std::string& name, uint32_t rgb) {
  return (*this)(name, colorText(rgb));
}

std::string Items::str() const {
  std::string out;
  for (const auto& [name, value] : items_) {
    if (!out.empty()) out += ", ";
    out += name + ":" + value;
  }
  return out;
}

void TemplateWriter::comment(const std::string& text) {
  text_ += "# " + text + "\n";
}
void TemplateWriter::blank() {
  text_ += "\n";
}
void TemplateWriter::entry(const std::string& key, const std::string& value) {
  text_ += key + "=" + value + "\n";
}

}  // namespace content
