// What the program would have told its user while a command ran, as one plain line each.
//
// The program shows a loader's failure (a picture that is missing or damaged, a model cut off,
// a template it cannot find) in a message box, often on several lines. The tool catches those
// messages, from the picture loaders, the 3D loader and the host's message boxes, and prints each
// as one line: "skirrow-tool: <text>", its lines joined. A command that caught any ends with exit
// code 1, even when it could go on (a JPEG cut short still decodes, padded).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine3d/UserMessage.h"
#include "media/ImageMessages.h"

namespace inspect {

// `text` as one line: a leading "Error: " dropped (the tool's lines are all errors), the lines
// trimmed and joined with ": " (or a blank after a line that ends in ':').
std::string oneLine(std::string_view text);

class ToolMessages {
 public:
  // Catches the picture loaders' messages while it lives.
  ToolMessages();

  // A sink for the 3D loader's messages.
  engine3d::MessageSink modelSink();
  // Takes the host's message boxes shown since the host started (call before it ends).
  void takeMessageBoxes();

  bool any() const { return !lines_.empty(); }
  const std::vector<std::string>& lines() const { return lines_; }
  // Prints every line to stderr; returns 1 when there was one, else `code`.
  int finish(int code = 0) const;

 private:
  void add(std::string_view text);

  std::vector<std::string> lines_;
  media::ScopedMessageReporter reporter_;
};

}  // namespace inspect
