#include "host/MessageBoxes.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "host/Backend.h"
#include "host/Host.h"
#include "host/Script.h"
#include "host/WindowManager.h"

namespace host {

std::vector<int> buttonsOf(std::uint32_t type) {
  switch (type & 0x0F) {
    case MB_OKCANCEL:
      return {IDOK, IDCANCEL};
    case MB_YESNOCANCEL:
      return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
      return {IDYES, IDNO};
    default:
      return {IDOK};
  }
}

std::optional<int> answerFromName(std::string_view name) {
  if (name == "ok") return IDOK;
  if (name == "cancel") return IDCANCEL;
  if (name == "yes") return IDYES;
  if (name == "no") return IDNO;
  return std::nullopt;
}

const char* answerName(int answer) {
  switch (answer) {
    case IDOK:
      return "OK";
    case IDCANCEL:
      return "Cancel";
    case IDYES:
      return "Yes";
    case IDNO:
      return "No";
    default:
      return "?";
  }
}

MessageBoxes::MessageBoxes(Host& host) : host_(host) {}

int MessageBoxes::show(Hwnd owner, std::string_view text, std::string_view caption,
                       std::uint32_t type) {
  std::vector<int> buttons = buttonsOf(type);
  MessageBoxRecord record{owner, std::string(caption), std::string(text), type, buttons.front()};
  std::optional<int> answer;
  if (ScriptPlayer* script = host_.script()) answer = script->takeAnswer();
  if (answer && std::find(buttons.begin(), buttons.end(), *answer) == buttons.end())
    answer = buttons.front();
  if (!answer) {
    WindowManager& windows = host_.windows();
    bool wasEnabled = owner && windows.isEnabled(owner);
    if (wasEnabled) windows.enableWindow(owner, false);
    answer = host_.backend().askMessageBox({record.caption, record.text, type});
    if (wasEnabled) windows.enableWindow(owner, true);
  }
  record.answer = answer.value_or(buttons.front());
  log(record, answerName(record.answer));
  records_.push_back(record);
  return record.answer;
}

void MessageBoxes::log(const MessageBoxRecord& record, const char* answer) const {
  note("message box [" + record.caption + "] " + record.text + " -> " + answer);
}

void MessageBoxes::note(std::string_view line) const {
  // A person at the desktop saw it: nothing to log.
  if (!host_.backend().virtualClock() && host_.script() == nullptr) return;
  const char* logPath = std::getenv("SKIRROW_MESSAGEBOX_LOG");
  std::FILE* out = logPath && *logPath ? std::fopen(logPath, "a") : nullptr;
  std::fprintf(out ? out : stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
  if (out) std::fclose(out);
}

std::optional<int> MessageBoxes::pageBoxShown(Hwnd owner, std::string_view text,
                                              std::uint32_t type, bool withButtons) {
  if (!withButtons) {
    MessageBoxRecord record{owner, "page", std::string(text), type, 0};
    log(record, "-");
    records_.push_back(record);
    return std::nullopt;
  }
  ScriptPlayer* script = host_.script();
  std::optional<int> answer = script ? script->takeAnswer() : std::nullopt;
  if (!answer) return std::nullopt;
  const std::vector<int> buttons = buttonsOf(type);
  if (std::find(buttons.begin(), buttons.end(), *answer) == buttons.end()) answer = buttons.front();
  return answer;
}

void MessageBoxes::pageBoxAnswered(Hwnd owner, std::string_view text, std::uint32_t type,
                                   int answer) {
  MessageBoxRecord record{owner, "page", std::string(text), type, answer};
  log(record, answerName(answer));
  records_.push_back(record);
}

int messageBox(Hwnd owner, std::string_view text, std::string_view caption, std::uint32_t type) {
  return Host::get().messageBoxes().show(owner, text, caption, type);
}

}  // namespace host
