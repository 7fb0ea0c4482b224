#include "host/Host.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/Backend.h"
#include "host/Controls.h"
#include "host/Gapi.h"
#include "host/Gdi.h"
#include "host/MessageBoxes.h"
#include "host/Screen.h"
#include "host/Script.h"
#include "host/Shell.h"
#include "host/SingleInstance.h"
#include "host/WaveOut.h"
#include "host/WindowManager.h"
#include "host/headless/HeadlessBackend.h"
#include "host/sdl/SdlBackend.h"

namespace host {

namespace {

// The one host of the process (the backend singleton).
std::unique_ptr<Host>& runningHost() {
  static std::unique_ptr<Host> host;
  return host;
}

}  // namespace

HostConfig configFromEnvironment() {
  HostConfig config;
  const char* kind = std::getenv("SKIRROW_HOST");
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  bool hasDisplay = (display && *display) || (wayland && *wayland);
  config.backend = hasDisplay ? BackendKind::Sdl : BackendKind::Headless;
  if (kind && std::strcmp(kind, "sdl") == 0) {
    config.backend = BackendKind::Sdl;
  } else if (kind && std::strcmp(kind, "headless") == 0) {
    config.backend = BackendKind::Headless;
  } else if (kind && *kind) {
    std::fprintf(stderr, "skirrow: unknown host '%s' (sdl or headless), using %s\n", kind,
                 config.backend == BackendKind::Sdl ? "sdl" : "headless");
  }
  config.profile = profileFromEnvironment();
  if (const char* script = std::getenv("SKIRROW_SCRIPT")) config.scriptPath = script;
  if (const char* audio = std::getenv("SKIRROW_AUDIO"); audio && std::strcmp(audio, "none") == 0)
    config.audioDevice = false;
  if (const char* state = std::getenv("SKIRROW_SCRIPT_STATE")) {
    config.scriptState = state;
    if (auto resume = parseScriptResume(state)) config.clockStart = resume->clock;
  }
  return config;
}

Host& Host::get() {
  std::unique_ptr<Host>& host = runningHost();
  if (!host) host.reset(new Host(configFromEnvironment()));
  return *host;
}

Host& Host::restart(const HostConfig& config) {
  std::unique_ptr<Host>& host = runningHost();
  host.reset();
  host.reset(new Host(config));
  return *host;
}

Host& Host::start(bool hiResAware) {
  HostConfig config = configFromEnvironment();
  config.hiResAware = hiResAware;
  config.realClock = config.scriptPath.empty();
  return restart(config);
}

void Host::shutdown() {
  runningHost().reset();
}

Host::Host(const HostConfig& config) : config_(config) {
  int scale = config_.profile.hiRes && !config_.hiResAware ? 2 : 1;
  if (config_.backend == BackendKind::Sdl) {
    auto sdl = SdlBackend::create(config_.profile, config_.clockStart, scale);
    if (sdl)
      backend_ = std::move(sdl);
    else
      std::fprintf(stderr, "skirrow: no SDL display, running headless\n");
  }
  if (!backend_) {
    config_.backend = BackendKind::Headless;
    backend_ = std::make_unique<HeadlessBackend>(
        config_.clockStart,
        config_.realClock ? HeadlessBackend::Clock::kReal : HeadlessBackend::Clock::kVirtual);
  }
  screen_ = std::make_unique<Screen>(config_.profile.screenWidth / scale,
                                     config_.profile.screenHeight / scale, scale);
  gdi_ = std::make_unique<Gdi>(*this);
  if (!config_.scriptPath.empty()) {
    std::string error;
    if (auto script = ScriptPlayer::load(config_.scriptPath, &error)) {
      script_ = std::make_unique<ScriptPlayer>(std::move(*script));
      if (auto resume = parseScriptResume(config_.scriptState)) script_->resume(*resume);
    } else {
      scriptError_ = config_.scriptPath + ": " + error;
      std::fprintf(stderr, "skirrow: script %s\n", scriptError_.c_str());
    }
  }
  messageBoxes_ = std::make_unique<MessageBoxes>(*this);
  shell_ = std::make_unique<Shell>();
  gapi_ = std::make_unique<Gapi>(*this);
  singleInstance_ = std::make_unique<SingleInstance>();
  windows_ = std::make_unique<WindowManager>(*this);
  controls_ = std::make_unique<Controls>(*this);
  // The device exists only when the backend can play the mixer.
  auto mixerOwner = std::make_unique<WaveOut>(*this, true);
  AudioMode audio =
      config_.audioDevice ? backend_->startAudio(mixerOwner->mixer()) : AudioMode::kNone;
  if (audio == AudioMode::kNone) {
    backend_->stopAudio();
    mixerOwner = std::make_unique<WaveOut>(*this, false);
  }
  mixerOwner->setRealTime(audio == AudioMode::kRealTime);
  waveOut_ = std::move(mixerOwner);
}

Host::~Host() {
  // Windows go first: their destruction still talks to GDI and the single-instance files.
  windows_.reset();
  controls_.reset();
  // The audio thread must let go of the mixer before wave-out (which owns it) goes.
  if (backend_) backend_->stopAudio();
  waveOut_.reset();
}

}  // namespace host
