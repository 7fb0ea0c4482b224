// page render: one frame of a screen template, as the program's root page shows it, written to a
// PNG. Content authors preview screens with it without starting the game.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "Commands.h"
#include "ToolMessages.h"
#include "engine3d/soft/VexagraphRenderer.h"
#include "host/Host.h"
#include "host/Profile.h"
#include "host/Screen.h"
#include "media/GuiCanvas.h"
#include "media/ImageMessages.h"
#include "media/Runtime.h"
#include "platform/Files.h"
#include "platform/ProcessSwitches.h"
#include "platform/Window.h"
#include "scene/TemplateFactory.h"

namespace inspect {
namespace {

constexpr const char* kPageUsage = "usage: skirrow-tool page render TEMPLATE OUT.png [--profile P]";

// The tool's stand-in for the program's main window. Several tools (and the program) may run
// at once, so it does not claim the single-instance lock the program's window takes.
class ToolWindow : public platform::Window {
 public:
  ToolWindow() : Window("Skirrow", 0, false) { multiInstance_ = true; }
};

// A headless device of the chosen profile started for the session; its message boxes are the
// tool's lines here, not the headless log's.
struct HeadlessDevice {
  explicit HeadlessDevice(const host::DeviceProfile& profile) {
    ::setenv("SKIRROW_MESSAGEBOX_LOG", "/dev/null", 1);
    host::HostConfig config = host::configFromEnvironment();
    config.backend = host::BackendKind::Headless;
    config.profile = profile;
    config.scriptPath.clear();
    host::Host::restart(config);
  }
  ~HeadlessDevice() { host::Host::shutdown(); }
};

// A headless device, a runtime as the program's with the software renderer, and the messages of
// loaders and message boxes caught as the tool's lines. Ends in the order the program ends: page,
// runtime, host.
class PageSession {
 public:
  explicit PageSession(const host::DeviceProfile& profile) : device_(profile) {
    runtime_.drivers().add(engine3d::kRendererSoftware, engine3d::softwareDriver());
  }

  // What loaders and message boxes said while the page was shown.
  ToolMessages messages;

  // The main window over the screen and the root page over its client area.
  media::GuiCanvas* open() {
    const host::DeviceProfile& p = host::Host::get().profile();
    main_ = std::make_unique<ToolWindow>();
    if (!main_->create(0, 0, p.screenWidth, p.screenHeight)) return nullptr;
    platform::setScreenScaleFromWidth(main_->clientWidth());
    auto page = std::make_unique<media::GuiCanvas>(runtime_, "gamePage", true);
    media::GuiCanvas* raw = page.get();
    if (!main_->addChild(std::move(page), 0, 0, main_->clientWidth(), main_->clientHeight()))
      return nullptr;
    return raw;
  }

 private:
  HeadlessDevice device_;
  media::Runtime runtime_;
  std::unique_ptr<platform::Window> main_;
};

int render(const std::string& file, const std::string& out, const std::string& profileName) {
  std::optional<host::DeviceProfile> profile = host::findProfile(profileName);
  if (!profile) return fail("unknown profile '" + profileName + "'", 2);
  if (!platform::fileExists(file)) return fail("cannot read template " + file);
  size_t slash = file.find_last_of("/\\");
  std::string folder = slash == std::string::npos ? "./" : file.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? file : file.substr(slash + 1);

  PageSession session(*profile);
  // Pictures a template names are looked up beside it, as the GUI folder's are.
  platform::setGuiFolder(folder);
  media::GuiCanvas* page = session.open();
  if (!page) return fail("cannot create the page window");
  if (!scene::TemplateFactory::loadTemplate(*page, folder, name, true))
    return fail("cannot read template " + file);
  if (page->scenes().empty()) return fail(file + " shows nothing: it holds no scene");
  page->refresh();
  if (!host::Host::get().screen().writePng(out)) return fail("cannot write " + out);
  std::printf("%s: %dx%d, %zu scenes\n", out.c_str(), profile->screenWidth, profile->screenHeight,
              page->scenes().size());
  // What the program would have said while showing it (a missing picture, a damaged model).
  session.messages.takeMessageBoxes();
  return session.messages.finish();
}

}  // namespace

int pageCommand(const Args& args) {
  if (args.empty() || args[0] != "render") return fail(kPageUsage, 2);
  std::string profile = "qvga";
  Args rest;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--profile") {
      if (i + 1 >= args.size()) return fail(kPageUsage, 2);
      profile = args[++i];
    } else {
      rest.push_back(args[i]);
    }
  }
  if (rest.size() != 2) return fail(kPageUsage, 2);
  return render(rest[0], rest[1], profile);
}

}  // namespace inspect
