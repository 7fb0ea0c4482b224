#include "ToolMessages.h"

#include <cstdio>

#include "host/Host.h"
#include "host/MessageBoxes.h"

namespace inspect {

std::string oneLine(std::string_view text) {
  constexpr std::string_view kPrefix = "Error: ";
  if (text.substr(0, kPrefix.size()) == kPrefix) text.remove_prefix(kPrefix.size());
  std::string out;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\t'))
      line.remove_suffix(1);
    if (line.empty()) continue;
    if (!out.empty()) out += out.back() == ':' ? " " : ": ";
    out += line;
  }
  return out;
}

ToolMessages::ToolMessages()
    : reporter_(
          [this](std::string_view, std::string_view text, media::MessageIcon) { add(text); }) {}

engine3d::MessageSink ToolMessages::modelSink() {
  return [this](const engine3d::UserMessage& m) { add(m.text); };
}

void ToolMessages::takeMessageBoxes() {
  for (const host::MessageBoxRecord& box : host::Host::get().messageBoxes().records())
    add(box.text);
}

void ToolMessages::add(std::string_view text) {
  lines_.push_back(oneLine(text));
}

int ToolMessages::finish(int code) const {
  for (const std::string& line : lines_) std::fprintf(stderr, "skirrow-tool: %s\n", line.c_str());
  return lines_.empty() ? code : 1;
}

}  // namespace inspect
