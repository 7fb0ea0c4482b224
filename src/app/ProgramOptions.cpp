#include "app/ProgramOptions.h"

namespace app {

namespace {

bool isOption(std::string_view arg) {
  return arg.size() > 2 && arg.substr(0, 2) == "--" && arg.find("ARG:") == std::string_view::npos;
}

// "@" stands for the program's name.
constexpr std::string_view kUsage = R"(usage: @ [ARG:page]
       @ --help | --version

A 3D helicopter combat game. Without an argument it opens the cover. The program
starts itself again with one of these when it changes pages:
  ARG:intro          the menus, from the intro
  ARG:W              the menus on the screen W (ARG:MainMenu, ARG:gsetting)
  ARG:GameCanvas:room,team,gl,train
                     a battle: room index, team code (a digit per slot),
                     1 for OpenGL ES, 1 for a training game
  ARG:scoreboard /score:N, room:R, date:YYYY/MM/DD
                     the scoreboard with a new score to enter

Environment:
  SKIRROW_HOST=sdl|headless   the backend (default: sdl with a display)
  SKIRROW_DEVICE=name         qvga (default), qvga-nogl, vga, vga-2700g, h38,
                              landscape
  SKIRROW_SCALE=n             the window's scale on the desktop
  SKIRROW_RENDERER=gles       the menus' 3D views with OpenGL ES
  SKIRROW_AUDIO=none          no sound device
  SKIRROW_EGL=none            behave as a machine without EGL
  SKIRROW_FONT_DIR=folder     folder of the Liberation fonts
  SKIRROW_SCRIPT=file         a scripted session
  SKIRROW_MESSAGEBOX_LOG=file where scripted message boxes are logged
  SKIRROW_AVAILABLE_MEMORY=n  the free memory (bytes) the device reports
  XDG_DATA_HOME               saves go to $XDG_DATA_HOME/skirrow
                              (default ~/.local/share/skirrow)
  XDG_CACHE_HOME              scratch files in $XDG_CACHE_HOME/skirrow

Keys: menus: arrows, Enter, Escape. Battle: arrows turn, climb and descend;
F9-F12 are the buttons A-D (A full speed, B fire); Space fires; Q flies the
teammate; Z cockpit view; F1-F8 cameras; Escape leaves. Alt+Enter: full screen.
More in the manual page @(6).
)";

}  // namespace

std::string usageText(std::string_view program) {
  std::string text;
  for (char c : kUsage) {
    if (c == '@')
      text += program;
    else
      text.push_back(c);
  }
  return text;
}

OptionResult readProgramOptions(const std::vector<std::string>& args, std::string_view program,
                                std::string_view version, std::string_view buildName) {
  for (const std::string& arg : args) {
    if (!isOption(arg)) continue;
    if (arg == "--help") return {OptionAction::Help, usageText(program), 0};
    if (arg == "--version")
      return {OptionAction::Version,
              std::string(program) + " " + std::string(version) + " (" + std::string(buildName) +
                  " build)\n",
              0};
    return {OptionAction::Error,
            std::string(program) + ": unknown option '" + arg + "' (try --help)\n", 2};
  }
  return {};
}

}  // namespace app
