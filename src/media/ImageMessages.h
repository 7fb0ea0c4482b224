// The messages the picture loaders show the user, and the seam they go through.
//
// The loaders never stop the program: each failure is reported here once and the loader returns
// nothing (or the frames it could decode). By default a message is a modal box of the running
// host (MB_OK with the message's icon); a reporter installed here replaces the box, which is how
// tests and tools collect the messages.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace media {

enum class MessageIcon { Exclamation, Error, Information };

using MessageReporter =
    std::function<void(std::string_view caption, std::string_view text, MessageIcon icon)>;

// Sends one message to the installed reporter.
void reportMessage(std::string_view caption, std::string_view text, MessageIcon icon);

// Installs a reporter and returns the previous one; an empty function restores the default.
MessageReporter setMessageReporter(MessageReporter reporter);

// Installs a reporter for the lifetime of this object and puts the previous one back after.
class ScopedMessageReporter {
 public:
  explicit ScopedMessageReporter(MessageReporter reporter)
      : previous_(setMessageReporter(std::move(reporter))) {}
  ~ScopedMessageReporter() { setMessageReporter(std::move(previous_)); }
  ScopedMessageReporter(const ScopedMessageReporter&) = delete;
  ScopedMessageReporter& operator=(const ScopedMessageReporter&) = delete;

 private:
  MessageReporter previous_;
};

// The loaders' messages. Each reports caption, text and icon as the user sees them, and names
// the file as displayPath shows it (Files.h).
void reportCannotFindImage(std::string_view path);   // "Exception", exclamation
void reportUnsupportedImage(std::string_view path);  // "Error", exclamation
void reportInvalidImage(std::string_view path);      // "Error", exclamation (GIF signature)
void reportPrematureEnd(std::string_view path);      // "Error", exclamation
void reportImageCorrupt(std::string_view path);      // "Error", exclamation
void reportInvalidBmp(std::string_view path);        // "Error", exclamation
// A JPEG library message for the named file, followed by the library's own text.
void reportJpegMessage(std::string_view path, std::string_view libraryText);  // "Error", error

}  // namespace media
