// skirrow-tool's command groups. Each runs one subcommand and returns the process exit code:
// 0 on success, 1 when the content could not be read or written, 2 for a usage error.
#pragma once

#include <string>
#include <vector>

namespace inspect {

using Args = std::vector<std::string>;

int templateCommand(const Args& args);  // template dump FILE | template set FILE KEY [ITEM] VALUE
int archiveCommand(const Args& args);   // archive list ZIP | archive extract ZIP MEMBER DIR
int modelCommand(const Args& args);     // model info FILE.3ds [RADIUS]
// level info FILE.3ds [--radius R] | level query FILE.3ds X Y Z AXIS [--radius R]
int levelCommand(const Args& args);
int imageCommand(const Args& args);     // image info FILE | image export FILE DIR
int pageCommand(const Args& args);      // page render TEMPLATE OUT.png [--profile P]
int validateCommand(const Args& args);  // validate RESOURCES: 1 when the tree has problems
// render FILE.3ds OUT.png [--renderer soft|gles] [--size WxH] [--eye x,y,z] [--target x,y,z]
// [--depth 16|32]
int renderCommand(const Args& args);

// battle [--room N|all] [--team CODE] [--skill 0|1|2] [--battles K] [--seed S] [--minutes M]
// [--draw soft|gles|none] [--resources DIR]
int battleCommand(const Args& args);

// Prints "skirrow-tool: <message>" to standard error and returns `code`.
int fail(const std::string& message, int code = 1);

}  // namespace inspect
