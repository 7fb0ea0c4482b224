// ProgramOptions: the few options a person types, read before anything else starts.
//
// The program's own command line is the "ARG:" protocol (CommandLine.h), which the program
// writes when it starts itself again; options sit beside it without changing it. An argument
// that starts with "--" and holds no "ARG:" is an option: "--help" and "--version" print their
// text and end the process with 0 before the host (and with it any window) exists; any other
// such argument is an error (one line on stderr, exit code 2). Every other argument is left to
// the "ARG:" search as before.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

enum class OptionAction { Run, Help, Version, Error };

struct OptionResult {
  OptionAction action = OptionAction::Run;
  std::string text;  // Help and Version: what goes to stdout; Error: the line for stderr
  int exitCode = 0;  // what the process ends with unless the action is Run
};

// Reads `args` (without the program name). `program` is the executable's file name, used in the
// texts; `version` and `buildName` go into the version line.
OptionResult readProgramOptions(const std::vector<std::string>& args, std::string_view program,
                                std::string_view version, std::string_view buildName);

// The usage text: the command-line forms, the environment variables and where saves live.
std::string usageText(std::string_view program);

}  // namespace app
