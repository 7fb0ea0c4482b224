#include "engine3d/UserMessage.h"

#include <cstdio>

namespace engine3d {

void printMessageToStderr(const UserMessage& message) {
  std::fprintf(stderr, "%s: %s\n", message.caption.c_str(), message.text.c_str());
}

void showMessage(const MessageSink& sink, const UserMessage& message) {
  if (sink)
    sink(message);
  else
    printMessageToStderr(message);
}

}  // namespace engine3d
