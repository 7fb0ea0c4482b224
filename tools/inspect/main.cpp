// skirrow-tool: the content author's command-line tool. It reads and writes content exactly as
// the program does, so what it shows is what the program will see.
#include <cstdio>
#include <cstring>

#include "Commands.h"

namespace {

constexpr const char* kUsage =
    "usage: skirrow-tool COMMAND ...\n"
    "\n"
    "  template dump FILE                   list every line of a template as the program reads\n"
    "                                       it: properties with their expanded values, and the\n"
    "                                       kept comment and empty lines\n"
    "  template set FILE KEY VALUE          set a property and save the template\n"
    "  template set FILE KEY ITEM VALUE     set one item of a property's nested list and save\n"
    "  archive list ZIP                     list the members of a resource archive\n"
    "  archive extract ZIP MEMBER DIR       extract MEMBER (any letter case) into DIR as the\n"
    "                                       program does: its folders flattened into the name\n"
    "  model info FILE.3ds [RADIUS]         list a 3DS model's objects (vertex and face counts)\n"
    "                                       and materials (colours, maps), and its bounds after\n"
    "                                       normalising to RADIUS (default 1)\n"
    "  level info FILE.3ds [--radius R]     load a room as the battle does (normalised to R:\n"
    "                                       80 in folders level4 and level6, else 50) and\n"
    "                                       print its collision grid (Analyzer Info), its\n"
    "                                       path-finder grid (PathFinder Info) and the number\n"
    "                                       of free cells\n"
    "  level query FILE.3ds X Y Z AXIS [--radius R]\n"
    "                                       the face the battle's collision query finds along\n"
    "                                       AXIS (x, y or z) from the point X Y Z: its object,\n"
    "                                       hit point, normal and offset, or \"no hit\"\n"
    "  image info [--depth 16|32] FILE      format, size, depth, frames with their delays and\n"
    "                                       transparency keys of a GIF, BMP or JPEG picture\n"
    "  image export [--depth 16|32] FILE DIR\n"
    "                                       write every frame as the program decodes it to\n"
    "                                       DIR/NAME_000.png, NAME_001.png ... (default depth:\n"
    "                                       the device's display depth)\n"
    "  page render TEMPLATE OUT.png [--profile P]\n"
    "                                       one frame of a screen template on a headless device\n"
    "                                       (profiles: qvga, qvga-nogl, vga, vga-2700g, h38,\n"
    "                                       landscape; default qvga) written as a PNG\n"
    "  render FILE.3ds OUT.png [--renderer soft|gles] [--size WxH] [--eye x,y,z]\n"
    "         [--target x,y,z] [--depth 16|32]\n"
    "                                       draw a model (normalised to radius 1, one light)\n"
    "                                       with the software renderer into a PNG (default\n"
    "                                       240x320, 32 bits, eye 0,1.2,-3.5 looking at 0,0,0)\n"
    "  validate RESOURCES                   check a resource tree (the folder holding GUI, "
    "scenes,\n"
    "                                       chopper, flyable, characters) against what the "
    "program\n"
    "                                       looks up: templates and their objects, pictures,\n"
    "                                       sounds, models and their parts, archives; one line "
    "per\n"
    "                                       problem, then a summary\n"
    "  battle [--room N|all] [--team CODE] [--skill 0|1|2] [--battles K] [--seed S]\n"
    "         [--minutes M] [--draw soft|gles|none] [--resources DIR]\n"
    "                                       run K battles per room (default 1, every room) on\n"
    "                                       the game's rules with all four helicopters flown by\n"
    "                                       their computer pilots, seeds S, S+1 ... (default 1),\n"
    "                                       skill 1 and team 3210 by default, each for at most M\n"
    "                                       game minutes (default 61: past the hour's time-out),\n"
    "                                       drawn by a renderer or not at all (default none);\n"
    "                                       one line per battle (room seed outcome seconds\n"
    "                                       scoreA scoreB lostA lostB bullets flyersHit), then\n"
    "                                       a summary line per room\n"
    "\n"
    "Each problem is one line on standard error (validate: on standard output): what the\n"
    "program would tell its user about the file.\n"
    "Exit status: 0 on success, 1 when content cannot be read or written, is damaged (even\n"
    "when it still loads in part) or does not pass validate, 2 for bad usage.\n";

}  // namespace

int inspect::fail(const std::string& message, int code) {
  std::fprintf(stderr, "skirrow-tool: %s\n", message.c_str());
  return code;
}

int main(int argc, char** argv) {
  inspect::Args args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::fputs(kUsage, args.empty() ? stderr : stdout);
    return args.empty() ? 2 : 0;
  }
  std::string group = args[0];
  args.erase(args.begin());
  if (group == "template") return inspect::templateCommand(args);
  if (group == "archive") return inspect::archiveCommand(args);
  if (group == "model") return inspect::modelCommand(args);
  if (group == "level") return inspect::levelCommand(args);
  if (group == "image") return inspect::imageCommand(args);
  if (group == "page") return inspect::pageCommand(args);
  if (group == "validate") return inspect::validateCommand(args);
  if (group == "render") return inspect::renderCommand(args);
  if (group == "battle") return inspect::battleCommand(args);
  std::fputs(kUsage, stderr);
  return inspect::fail("unknown command '" + group + "'", 2);
}
