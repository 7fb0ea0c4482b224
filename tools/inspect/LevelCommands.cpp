// skirrow-tool level: a room as the battle loads it, and its collision grid.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "ToolMessages.h"
#include "engine3d/Model3dsLoader.h"
#include "game/Analyzer.h"
#include "game/Level.h"

namespace inspect {

namespace {

constexpr const char* kUsage =
    "usage: skirrow-tool level info FILE.3ds [--radius R] | "
    "level query FILE.3ds X Y Z AXIS [--radius R]";

bool parseNumber(const std::string& text, float& out) {
  char* end = nullptr;
  out = std::strtof(text.c_str(), &end);
  return end != text.c_str() && *end == '\0';
}

// The radius the battle gives the room in `folder` ("level<n>"): its room number decides.
float radiusOfFolder(const std::string& file) {
  const size_t cut = file.find_last_of("\\/");
  const std::string folder = cut == std::string::npos ? "." : file.substr(0, cut);
  const size_t start = folder.find_last_of("\\/");
  const std::string name = start == std::string::npos ? folder : folder.substr(start + 1);
  if (name.size() > 5 && name.rfind("level", 0) == 0) {
    char* end = nullptr;
    const long number = std::strtol(name.c_str() + 5, &end, 10);
    if (*end == '\0') return game::levelRadius(static_cast<int>(number));
  }
  return game::levelRadius(0);
}

struct LoadedLevel {
  std::unique_ptr<engine3d::Group3D> model;
  std::unique_ptr<game::Analyzer> grid;
};

// Loads `file` and builds its grid as the battle does; prints one error line and returns false
// when that fails.
bool load(const std::string& file, float radius, LoadedLevel& level, int& code) {
  const size_t cut = file.find_last_of("\\/");
  const std::string folder = cut == std::string::npos ? "." : file.substr(0, cut + 1);
  const std::string name = cut == std::string::npos ? file : file.substr(cut + 1);
  // The grid needs no pictures; what the loader would show joins the one error line.
  std::vector<std::string> messages;
  engine3d::ModelLoadOptions options;
  options.messages = [&](const engine3d::UserMessage& m) { messages.push_back(m.text); };
  level.model = engine3d::loadModel3ds(folder, name, radius, {}, options);
  if (!level.model) {
    // The loader's own message names the file; without one, say what could not be read.
    code = fail(messages.empty() ? "cannot read level " + file : oneLine(messages.back()));
    return false;
  }
  game::prepareLevel(*level.model);
  level.grid = game::analyzeLevel(*level.model);
  if (!level.grid) {
    code = fail("level " + file + " has no vertices");
    return false;
  }
  return true;
}

void printVector(const char* label, const engine3d::Vector3& v) {
  // + 0 turns the -0 of a negated zero component into 0, which reads better.
  std::printf("%-7s(%.4f, %.4f, %.4f)\n", label, v.x + 0.0f, v.y + 0.0f, v.z + 0.0f);
}

int info(const std::string& file, float radius) {
  LoadedLevel level;
  int code = 0;
  if (!load(file, radius, level, code)) return code;
  const game::PathFinder& finder = *level.grid->pathFinder();
  std::printf("level %s, radius %g\n", file.c_str(), radius);
  std::printf("Analyzer Info:\n%s\n", level.grid->info().c_str());
  std::printf("PathFinder Info:\n%s\n", finder.info().c_str());
  std::printf("free cells: %zu\n", game::freeCells(finder).size());
  return 0;
}

int query(const std::string& file, const engine3d::Vector3& p, int axis, float radius) {
  LoadedLevel level;
  int code = 0;
  if (!load(file, radius, level, code)) return code;
  const game::AxisHit hit = level.grid->query(p, axis);
  if (!hit.hit()) {
    std::printf("no hit\n");
    return 0;
  }
  std::printf("object %s, face %d\n", hit.object->name.c_str(),
              static_cast<int>(hit.face - hit.object->faces.data()));
  printVector("point", hit.point);
  printVector("normal", hit.normal);
  printVector("offset", hit.offset);
  return 0;
}

}  // namespace

int levelCommand(const Args& args) {
  std::vector<std::string> positional;
  float radius = 0.0f;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--radius") {
      positional.push_back(args[i]);
      continue;
    }
    if (i + 1 >= args.size() || !parseNumber(args[i + 1], radius) || !(radius > 0.0f))
      return fail("--radius must be a number greater than 0", 2);
    ++i;
  }
  if (positional.size() < 2) return fail(kUsage, 2);
  const std::string& file = positional[1];
  if (radius == 0.0f) radius = radiusOfFolder(file);
  if (positional[0] == "info" && positional.size() == 2) return info(file, radius);
  if (positional[0] == "query" && positional.size() == 6) {
    float at[3];
    for (int k = 0; k < 3; ++k)
      if (!parseNumber(positional[2 + k], at[k])) return fail("X, Y and Z must be numbers", 2);
    const std::string& a = positional[5];
    const int axis = a == "0" || a == "x"   ? 0
                     : a == "1" || a == "y" ? 1
                     : a == "2" || a == "z" ? 2
                                            : -1;
    if (axis < 0) return fail("AXIS must be x, y or z (or 0, 1, 2)", 2);
    return query(file, {at[0], at[1], at[2]}, axis, radius);
  }
  return fail(kUsage, 2);
}

}  // namespace inspect
