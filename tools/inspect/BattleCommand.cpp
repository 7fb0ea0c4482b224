// skirrow-tool battle: battles on the game's own rules, headless, every helicopter flown by its
// computer pilot, one line per battle and a summary per room. It is how rooms and pilots are
// balanced and how long runs are soaked: the same arguments give the same lines.
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "app/BuildProfile.h"
#include "engine3d/BitmapTarget.h"
#include "engine3d/gles/GlesDriver.h"
#include "engine3d/soft/VexagraphRenderer.h"
#include "game/Roster.h"
#include "game/Simulation.h"
#include "host/Host.h"
#include "media/Runtime.h"
#include "platform/Files.h"
#include "platform/ResourceArchive.h"

namespace inspect {

namespace {

constexpr const char* kUsage =
    "usage: skirrow-tool battle [--room N|all] [--team CODE] [--skill 0|1|2] [--battles K] "
    "[--seed S] [--minutes M] [--draw soft|gles|none] [--resources DIR]";

// The page's frame rate: the rules step at 30 frames per game second.
constexpr float kDt = 1.0f / 30.0f;
// Slot 0 Vega... in the content: one pilot of each character, slot n character n.
constexpr int kDefaultTeam = 3210;

struct Options {
  std::optional<int> room;  // nothing: every room
  int team = kDefaultTeam;
  int skill = 1;
  int battles = 1;
  std::uint32_t seed = 1;
  int minutes = 61;  // past the game's own hour time-out
  std::string draw = "none";
  std::string resources;
};

// A whole decimal number in [low, high]; nothing for anything else.
std::optional<long> number(const std::string& text, long low, long high) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE || value < low || value > high) return std::nullopt;
  return value;
}

// Reads the arguments into `out`; an error message for bad usage.
std::optional<std::string> parse(const Args& args, Options& out) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& flag = args[i];
    if (i + 1 >= args.size()) return "'" + flag + "' needs a value";
    const std::string& value = args[++i];
    if (flag == "--room") {
      if (value == "all") {
        out.room.reset();
      } else if (auto n = number(value, 0, 99)) {
        out.room = static_cast<int>(*n);
      } else {
        return "--room must be a room number or 'all', not '" + value + "'";
      }
    } else if (flag == "--team") {
      auto n = number(value, 0, 9999);
      if (!n) return "--team must be a team code of four digits, not '" + value + "'";
      out.team = static_cast<int>(*n);
    } else if (flag == "--skill") {
      auto n = number(value, 0, 2);
      if (!n) return "--skill must be 0, 1 or 2, not '" + value + "'";
      out.skill = static_cast<int>(*n);
    } else if (flag == "--battles") {
      auto n = number(value, 1, 100000);
      if (!n) return "--battles must be a number from 1 to 100000, not '" + value + "'";
      out.battles = static_cast<int>(*n);
    } else if (flag == "--seed") {
      auto n = number(value, 0, 0xFFFFFFFFL);
      if (!n) return "--seed must be a number from 0 to 4294967295, not '" + value + "'";
      out.seed = static_cast<std::uint32_t>(*n);
    } else if (flag == "--minutes") {
      auto n = number(value, 1, 24 * 60);
      if (!n) return "--minutes must be a number from 1 to 1440, not '" + value + "'";
      out.minutes = static_cast<int>(*n);
    } else if (flag == "--draw") {
      if (value != "soft" && value != "gles" && value != "none")
        return "--draw must be soft, gles or none, not '" + value + "'";
      out.draw = value;
    } else if (flag == "--resources") {
      out.resources = value;
      if (!out.resources.empty() && out.resources.back() != '/') out.resources += '/';
    } else {
      return "unknown option '" + flag + "'";
    }
  }
  return std::nullopt;
}

const char* outcomeName(game::GameResult result) {
  switch (result) {
    case game::kWon: return "won";
    case game::kLost: return "lost";
    case game::kTie: return "tie";
    case game::kTimeOut: return "time-out";
    case game::kTrainingOver: return "training-over";
    case game::kRunning: break;
  }
  return "cut";  // stopped by --minutes before the game ended
}

struct RoomTally {
  int won = 0, lost = 0, ties = 0, timeOuts = 0, cut = 0;
  double seconds = 0.0;
  int battles = 0;
};

// The resource archives registered as the program has them, for the length of the command.
class Session {
 public:
  Session(const std::string& resources, const std::string& temp) {
    host::HostConfig config = host::configFromEnvironment();
    config.backend = host::BackendKind::Headless;
    config.scriptPath.clear();
    host::Host::restart(config);
    runtime_ = std::make_unique<media::Runtime>();
    runtime_->drivers().add(engine3d::kRendererSoftware, engine3d::softwareDriver());
    runtime_->drivers().add(engine3d::kRendererGles,
                            engine3d::glesDriver(app::kEglDisplayArgument));
    platform::setTempFolder(temp);
    for (const char* name : {"GUI", "scenes", "chopper", "flyable"})
      platform::registerArchive(std::string(name) + ".zip", resources + name);
  }
  ~Session() {
    platform::releaseArchives();
    runtime_.reset();
    host::Host::shutdown();
  }
  media::Runtime& runtime() { return *runtime_; }

 private:
  std::unique_ptr<media::Runtime> runtime_;
};

}  // namespace

int battleCommand(const Args& args) {
  Options options;
  if (std::optional<std::string> error = parse(args, options)) {
    std::fprintf(stderr, "%s\n", kUsage);
    return fail(*error, 2);
  }
  const std::string resources = options.resources.empty()
                                    ? platform::getModuleFolder() + "../resources/"
                                    : options.resources;
  const std::vector<std::string> rooms = game::roomNames(resources);
  if (rooms.empty()) return fail("no rooms in " + resources + "scenes");
  if (options.room && *options.room >= static_cast<int>(rooms.size()))
    return fail("--room " + std::to_string(*options.room) + " names no room (there are " +
                    std::to_string(rooms.size()) + ")",
                2);
  const std::vector<std::string> characters = game::characterNames(resources);
  const std::optional<std::array<std::string, 4>> seats =
      game::decodeTeam(options.team, characters);
  if (!seats)
    return fail("--team " + std::to_string(options.team) + " names a pilot that is not there (" +
                    std::to_string(characters.size()) + " pilots)",
                2);

  char temp[] = "/tmp/skirrow-battle-XXXXXX";
  if (!::mkdtemp(temp)) return fail("cannot make a temporary folder");
  std::optional<Session> session;
  session.emplace(resources, std::string(temp) + "/");
  std::optional<int> renderer;
  if (options.draw == "soft") renderer = engine3d::kRendererSoftware;
  if (options.draw == "gles") renderer = engine3d::kRendererGles;

  std::optional<engine3d::BitmapTarget> gles;
  if (options.draw == "gles") {
    gles.emplace(240, 320);
    if (!gles->valid()) return fail("cannot make the bitmap OpenGL ES draws into");
  }

  std::printf("# room seed outcome seconds scoreA scoreB lostA lostB bullets flyersHit\n");
  const int first = options.room.value_or(0);
  const int last = options.room.value_or(static_cast<int>(rooms.size()) - 1);
  const int frameLimit = options.minutes * 60 * 30;
  std::string failure;
  std::vector<RoomTally> tallies;
  for (int room = first; room <= last; ++room) {
    RoomTally tally;
    for (int b = 0; b < options.battles; ++b) {
      game::BattleSettings settings;
      settings.level = room;
      settings.characters = *seats;
      settings.skill = options.skill;
      settings.seed = options.seed + static_cast<std::uint32_t>(b);
      game::BattleAssets assets;
      assets.resourceFolder = resources;
      // With the pictures as the game has them, drawn or not: a flyer draws its skin at random
      // from those it has, so the pictures take part in the battle's random sequence.
      assets.models.textures = session->runtime().textures().loader();
      assets.models.messages = [](const engine3d::UserMessage&) {};
      game::Simulation sim(settings, assets, renderer, &session->runtime().drivers());
      // OpenGL ES draws into a pixmap surface of a bitmap of the page's size.
      if (gles) sim.scene().offscreenTarget = &gles->pixels();
      if (!sim.setUp()) {
        // Told once the host has ended: the headless host keeps its own log of standard error.
        failure = "cannot draw with " +
                  std::string(options.draw == "gles" ? "OpenGL ES" : "the software renderer");
        break;
      }
      sim.start();
      // The demonstration hands the player's helicopter to its computer pilot too.
      sim.battle().setDemo(true);
      int frames = 0;
      while (sim.battle().running() && frames < frameLimit) {
        sim.step(kDt);
        ++frames;
      }
      game::Battle& battle = sim.battle();
      int bullets = 0;
      for (int slot = 0; slot < game::kHelicopters; ++slot)
        bullets += battle.gunship(slot).cannon().bulletsFired();
      const double seconds = frames * static_cast<double>(kDt);
      std::printf("%d %u %s %.1f %d %d %d %d %d %d\n", room, settings.seed,
                  outcomeName(battle.result()), seconds, battle.score(0), battle.score(1),
                  battle.losses(0), battle.losses(1), bullets, battle.flyersHit());
      switch (battle.result()) {
        case game::kWon: ++tally.won; break;
        case game::kLost: ++tally.lost; break;
        case game::kTie: ++tally.ties; break;
        case game::kTimeOut: ++tally.timeOuts; break;
        default: ++tally.cut; break;
      }
      tally.seconds += seconds;
      ++tally.battles;
    }
    tallies.push_back(tally);
    if (!failure.empty()) break;
  }
  std::printf("# room name battles wonA lostA ties time-outs cut mean-seconds\n");
  for (std::size_t i = 0; i < tallies.size(); ++i) {
    const RoomTally& t = tallies[i];
    const int room = first + static_cast<int>(i);
    std::string name = rooms[static_cast<std::size_t>(room)];
    for (char& c : name)
      if (c == ' ') c = '_';
    std::printf("summary %d %s %d %d %d %d %d %d %.1f\n", room, name.c_str(), t.battles, t.won,
                t.lost, t.ties, t.timeOuts, t.cut, t.battles ? t.seconds / t.battles : 0.0);
  }
  std::fflush(stdout);
  gles.reset();
  session.reset();
  std::error_code ignored;
  std::filesystem::remove_all(temp, ignored);
  return failure.empty() ? 0 : fail(failure);
}

}  // namespace inspect
