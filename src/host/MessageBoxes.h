// Modal message boxes: caption, text, buttons and icon.
//
// sdl asks the user with a native dialog. headless cannot ask: it writes each box to its log
// ($SKIRROW_MESSAGEBOX_LOG, else stderr) and answers with the script's next answer, or with the
// box's first button. A scripted answer always wins over asking, so scripts drive sdl too.
// Every box shown is recorded in order for tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/Types.h"

namespace host {

class Host;

constexpr std::uint32_t MB_OK = 0x00;
constexpr std::uint32_t MB_OKCANCEL = 0x01;
constexpr std::uint32_t MB_YESNOCANCEL = 0x03;
constexpr std::uint32_t MB_YESNO = 0x04;
constexpr std::uint32_t MB_ICONSTOP = 0x10;
constexpr std::uint32_t MB_ICONERROR = MB_ICONSTOP;
constexpr std::uint32_t MB_ICONQUESTION = 0x20;
constexpr std::uint32_t MB_ICONEXCLAMATION = 0x30;
constexpr std::uint32_t MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr std::uint32_t MB_ICONINFORMATION = 0x40;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The answer codes of the buttons a box type shows, in order.
std::vector<int> buttonsOf(std::uint32_t type);
// "ok", "cancel", "yes", "no" to the ID* code; nullopt otherwise.
std::optional<int> answerFromName(std::string_view name);
// "OK", "Cancel", "Yes", "No".
const char* answerName(int answer);

struct MessageBoxRecord {
  Hwnd owner = 0;
  std::string caption;
  std::string text;
  std::uint32_t type = 0;
  int answer = 0;
};

class MessageBoxes {
 public:
  explicit MessageBoxes(Host& host);

  // Shows a modal box and returns the answer (ID* code). The owner is disabled meanwhile.
  int show(Hwnd owner, std::string_view text, std::string_view caption, std::uint32_t type);

  // Boxes a page draws itself, with buttons of its own on its own screen. They are logged and
  // recorded like the system's (caption "page"), and a script answers them as it answers those.
  // pageBoxShown: the box of `type` is up now. Returns the script's next answer when the script
  // has one waiting (the page then acts as if that button had been tapped), else nothing (a
  // person, or the script's taps, will answer). A box without buttons (`withButtons` false) is
  // only logged, as answered with nothing.
  std::optional<int> pageBoxShown(Hwnd owner, std::string_view text, std::uint32_t type,
                                  bool withButtons = true);
  // Writes `line` to the same log (a scripted or headless session's record of what happened,
  // such as the program starting itself again).
  void note(std::string_view line) const;
  // The page box with `text` was answered with `answer`.
  void pageBoxAnswered(Hwnd owner, std::string_view text, std::uint32_t type, int answer);
  const std::vector<MessageBoxRecord>& records() const { return records_; }

 private:
  void log(const MessageBoxRecord& record, const char* answer) const;

  Host& host_;
  std::vector<MessageBoxRecord> records_;
};

// Shows a box through the running host.
int messageBox(Hwnd owner, std::string_view text, std::string_view caption, std::uint32_t type);

}  // namespace host
