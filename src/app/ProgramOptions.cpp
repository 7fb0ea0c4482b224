#include "app/ProgramOptions.h"

namespace app {

namespace {

bool isOption(std::string_view arg) {
  return arg.size() > 2 && arg.substr(0, 2) == "--" && arg.find("ARG:") == std::string_view::npos;
}

}  // namespace

std::string usageText(std::string_view program) {
  const std::string p(program);
  return "usage: " + p + " [ARG:page]\n"
         "       " + p + " --help | --version\n"
         "\n"
         "A 3D helicopter combat game. Without an argument it opens the cover. The program\n"
         "starts itself again with one of these when it changes pages:\n"
         "  ARG:intro          the menus, from the intro\n"
         "  ARG:W              the menus on the screen W (ARG:MainMenu, ARG:gsetting)\n"
         "  ARG:GameCanvas:room,team,gl,train\n"
         "                     a battle: room index, team code (a digit per slot),\n"
         "                     1 for OpenGL ES, 1 for a training game\n"
         "  ARG:scoreboard /score:N, room:R, date:YYYY/MM/DD\n"
         "                     the scoreboard with a new score to enter\n"
         "\n"
         "Environment:\n"
         "  SKIRROW_HOST=sdl|headless   the backend (default: sdl with a display)\n"
         "  SKIRROW_DEVICE=name         qvga (default), qvga-nogl, vga, vga-2700g, h38,\n"
         "                              landscape\n"
         "  SKIRROW_SCALE=n             the window's scale on the desktop\n"
         "  SKIRROW_RENDERER=gles       the menus' 3D views with OpenGL ES\n"
         "  SKIRROW_AUDIO=none          no sound device\n"
         "  SKIRROW_EGL=none            behave as a machine without EGL\n"
         "  SKIRROW_FONT_DIR=folder     folder of the Liberation fonts\n"
         "  SKIRROW_SCRIPT=file         a scripted session\n"
         "  SKIRROW_MESSAGEBOX_LOG=file where scripted message boxes are logged\n"
         "  SKIRROW_AVAILABLE_MEMORY=n  the free memory (bytes) the device reports\n"
         "  XDG_DATA_HOME               saves go to $XDG_DATA_HOME/skirrow\n"
         "                              (default ~/.local/share/skirrow)\n"
         "  XDG_CACHE_HOME              scratch files in $XDG_CACHE_HOME/skirrow\n"
         "\n"
         "Keys: menus: arrows, Enter, Escape. Battle: arrows turn, climb and descend;\n"
         "F9-F12 are the buttons A-D (A full speed, B fire); Space fires; Q flies the\n"
         "teammate; Z cockpit view; F1-F8 cameras; Escape leaves. Alt+Enter: full screen.\n"
         "More in the manual page " + p + "(6).\n";
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
