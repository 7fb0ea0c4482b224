#include "media/ImageMessages.h"

#include <cstdio>
#include <string>
#include <utility>

namespace media {
namespace {

void writeToStderr(std::string_view caption, std::string_view text, MessageIcon) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
               static_cast<int>(text.size()), text.data());
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
    writeToStderr(caption, text, icon);
  }
}

MessageReporter setMessageReporter(MessageReporter reporter) {
  return std::exchange(installedReporter(), std::move(reporter));
}

void reportCannotFindImage(std::string_view path) {
  reportMessage("Exception", concat("Error: can not find the image '", path, "'."),
                MessageIcon::Exclamation);
}

void reportUnsupportedImage(std::string_view path) {
  reportMessage("Error", concat("Error: ", path, " is not a supported image."),
                MessageIcon::Exclamation);
}

void reportInvalidImage(std::string_view path) {
  reportMessage("Error", concat("Error: ", path, " is not a valid image."),
                MessageIcon::Exclamation);
}

void reportPrematureEnd() {
  reportMessage("Error", "Premature End Of Image File", MessageIcon::Exclamation);
}

void reportImageCorrupt() {
  reportMessage("Error", "Image File Corrupt", MessageIcon::Exclamation);
}

void reportInvalidBmp(std::string_view path) {
  reportMessage("Error", concat("Error: ", path, " is not a valid BMP image."),
                MessageIcon::Exclamation);
}

void reportJpegMessage(std::string_view path, std::string_view libraryText) {
  std::string text = concat("Error happened when loading image:\n", path, "\n");
  text.append(libraryText);
  reportMessage("Error", text, MessageIcon::Error);
}

}  // namespace media
