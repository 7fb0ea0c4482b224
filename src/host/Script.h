// Scripted sessions: a text file of timed input, screenshots, message-box answers and quit.
//
// One command per line; '#' starts a comment. A line starts with its time in milliseconds on
// the session clock, absolute ("1500") or after the previous line ("+100"):
//   <t> key down NAME | key up NAME | key NAME      (key = down then up; names as in Keys.h)
//   <t> vkey down CODE | vkey up CODE | vkey CODE  (a raw virtual key code, 1..255, "0x" hex)
//   <t> button A|B|C|D [down|up]                   (application buttons; no word = press)
//   ... hold MS                                     (after a whole key, vkey or button press:
//                                                    the release comes MS ms later)
//   <t> stylus down X Y | stylus move X Y | stylus up X Y   (device pixels: a program that
//                                                    sees a hi-res device at half size gets
//                                                    them halved, as from the desktop mouse)
//   <t> tap X Y                                     (stylus down then up)
//   <t> type TEXT                                   (letters, digits, spaces; Shift for capitals)
//   <t> screenshot PATH                             (PNG of the device screen)
//   <t> quit                                        (closes the top-level windows)
//   answer ok|cancel|yes|no                         (next message box's answer; no time)
// Actions due at the same time run in file order (a held press's release counts as written on
// its line). Message boxes take the answers in file order; when none is left they take their
// first button.
//
// Relaunch: a program that starts itself again (startProcess) hands the script on through
// $SKIRROW_SCRIPT_STATE = "next=<line index>;answers=<used>;clock=<ms>". The child reads the
// same $SKIRROW_SCRIPT, skips what its parent already did, and its clock starts where the
// parent's stood, so script times stay on one time line across processes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/Backend.h"

namespace host {

struct ScriptAction {
  enum class Kind { Input, Screenshot, Quit };
  Kind kind = Kind::Input;
  InputEvent input;
  std::string path;
};

struct ScriptResume {
  std::size_t next = 0;
  std::size_t answers = 0;
  std::uint32_t clock = 0;
};

// Reads a resume state string; nullopt when malformed or empty.
std::optional<ScriptResume> parseScriptResume(std::string_view text);

class ScriptPlayer {
 public:
  // Parses script text. On a bad line returns nullopt and puts "line N: why" in `error`.
  static std::optional<ScriptPlayer> parse(std::string_view text, std::string* error);
  // Reads and parses a file; nullopt (with `error`) when unreadable or malformed.
  static std::optional<ScriptPlayer> load(const std::string& path, std::string* error);

  // Skips what a parent process already did.
  void resume(const ScriptResume& state);

  // Time of the next action, nullopt when none is left.
  std::optional<std::uint32_t> nextTime() const;
  // Removes and returns every action due at `now`, in order.
  std::vector<ScriptAction> takeDue(std::uint32_t now);
  // The next message-box answer (ID* code), nullopt when none is left.
  std::optional<int> takeAnswer();
  // What a child started now must resume from.
  std::string stateForChild(std::uint32_t now) const;

  std::size_t actionCount() const { return actions_.size(); }

 private:
  struct Timed {
    std::uint32_t time;
    ScriptAction action;
  };
  std::vector<Timed> actions_;
  std::vector<int> answers_;
  std::size_t next_ = 0;
  std::size_t nextAnswer_ = 0;
};

}  // namespace host
