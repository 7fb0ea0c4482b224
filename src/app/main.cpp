// Entry point of the program: the host, the run's runtime with the drivers this build offers,
// and the application until it ends.
#include "app/Application.h"
#include "app/BuildProfile.h"
#include "app/ProgramOptions.h"
#include "app/ProgramPages.h"
#include "engine3d/gles/GlesDriver.h"
#include "engine3d/soft/VexagraphRenderer.h"
#include "host/Host.h"
#include "host/System.h"
#include "media/Runtime.h"

#include <cstdio>
#include <string>
#include <vector>

#ifndef SKIRROW_VERSION
#define SKIRROW_VERSION "unknown"
#endif

int main(int argc, char** argv) {
  // --help and --version answer before the host exists: no window, no sound, no lock.
  const std::string self = argc > 0 ? argv[0] : "skirrow";
  const std::string program = self.substr(self.find_last_of('/') + 1);
  app::OptionResult options = app::readProgramOptions(
      std::vector<std::string>(argv + 1, argv + argc), program, SKIRROW_VERSION, app::kBuildName);
  if (options.action != app::OptionAction::Run) {
    std::fputs(options.text.c_str(), options.action == app::OptionAction::Error ? stderr : stdout);
    return options.exitCode;
  }
  // The Common build is not hi-res aware: a VGA device shows it at 240x320, pixel-doubled.
  host::Host& host = host::Host::start(app::kHiResAware);
  // A session whose script cannot run would go on undriven: end at once instead.
  if (!host.scriptError().empty()) return 2;
  // Made after the host and ended before it: the pages' pictures are host bitmaps.
  media::Runtime runtime;
  runtime.drivers().add(engine3d::kRendererSoftware, engine3d::softwareDriver());
  // The two builds differ in the display their OpenGL ES set-up asks EGL for.
  runtime.drivers().add(engine3d::kRendererGles, engine3d::glesDriver(app::kEglDisplayArgument));
  int code = app::runApplication(host::commandLine(), app::programPages(runtime));
  // A scripted run whose screenshots were not all written has not done its job.
  if (code == 0 && host.records().failedScreenshots > 0) code = 2;
  return code;
}
