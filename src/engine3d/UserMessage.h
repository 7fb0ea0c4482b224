// User-visible messages of the 3D engine (a model that cannot be found or read).
//
// The engine does not draw message boxes itself: it hands caption, text and icon to a
// MessageSink. The program routes them to the host message box; the default prints them to
// standard error; tests record them.
#pragma once

#include <functional>
#include <string>

namespace engine3d {

enum class MessageIcon { kStop, kExclamation, kInformation };

struct UserMessage {
  std::string caption;
  std::string text;
  MessageIcon icon = MessageIcon::kStop;
};

using MessageSink = std::function<void(const UserMessage&)>;

// Prints "<caption>: <text>" to standard error.
void printMessageToStderr(const UserMessage& message);

// Calls `sink` when set, printMessageToStderr otherwise.
void showMessage(const MessageSink& sink, const UserMessage& message);

}  // namespace engine3d
