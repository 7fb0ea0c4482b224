#include "media/ImageMessages.h"

#include <string>
#include <utility>

#include "host/Host.h"
#include "host/MessageBoxes.h"
#include "host/WindowManager.h"
#include "platform/Files.h"

namespace media {
namespace {

// The platform's modal box. Only the JPEG library's messages (the error icon) belong to the
// active window; the loaders' own messages have no owner.
void showMessageBox(std::string_view caption, std::string_view text, MessageIcon icon) {
  std::uint32_t type = host::MB_OK;
  host::Hwnd owner = 0;
  switch (icon) {
    case MessageIcon::Exclamation:
      type |= host::MB_ICONEXCLAMATION;
      break;
    case MessageIcon::Error:
      type |= host::MB_ICONERROR;
      owner = host::Host::get().windows().activeWindow();
      break;
    case MessageIcon::Information:
      type |= host::MB_ICONINFORMATION;
      break;
  }
  host::messageBox(owner, text, caption, type);
}

MessageReporter& installedReporter() {
  static MessageReporter reporter;
  return reporter;
}

std::string concat(std::string_view a, std::string_view b, std::string_view c) {
  std::string s;
  s.reserve(a.size() + b.size() + c.size());
  s.append(a).append(b).append(c);
  return s;
}

}  // namespace

void reportMessage(std::string_view caption, std::string_view text, MessageIcon icon) {
  const MessageReporter& reporter = installedReporter();
  if (reporter) {
    reporter(caption, text, icon);
  } else {
    showMessageBox(caption, text, icon);
  }
}

MessageReporter setMessageReporter(MessageReporter reporter) {
  return std::exchange(installedReporter(), std::move(reporter));
}

void reportCannotFindImage(std::string_view path) {
  reportMessage("Exception",
                concat("Error: can not find the image '", platform::displayPath(path), "'."),
                MessageIcon::Exclamation);
}

void reportUnsupportedImage(std::string_view path) {
  reportMessage("Error",
                concat("Error: ", platform::displayPath(path), " is not a supported image."),
                MessageIcon::Exclamation);
}

void reportInvalidImage(std::string_view path) {
  reportMessage("Error", concat("Error: ", platform::displayPath(path), " is not a valid image."),
                MessageIcon::Exclamation);
}

void reportPrematureEnd(std::string_view path) {
  reportMessage("Error", concat("Premature End Of Image File: ", platform::displayPath(path), ""),
                MessageIcon::Exclamation);
}

void reportImageCorrupt(std::string_view path) {
  reportMessage("Error", concat("Image File Corrupt: ", platform::displayPath(path), ""),
                MessageIcon::Exclamation);
}

void reportInvalidBmp(std::string_view path) {
  reportMessage("Error",
                concat("Error: ", platform::displayPath(path), " is not a valid BMP image."),
                MessageIcon::Exclamation);
}

void reportJpegMessage(std::string_view path, std::string_view libraryText) {
  std::string text =
      concat("Error happened when loading image:\n", platform::displayPath(path), "\n");
  text.append(libraryText);
  reportMessage("Error", text, MessageIcon::Error);
}

}  // namespace media
