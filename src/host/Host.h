// The running host: one per process. It owns the device profile, the backend, the device screen
// and every service that keeps state (windows, GDI objects, script, shell and GAPI state).
//
// The host is created on first use from the environment:
//   SKIRROW_HOST=sdl|headless   backend (default: sdl when DISPLAY or WAYLAND_DISPLAY is set;
//                               another word is reported and the default taken)
//   SKIRROW_DEVICE=name         device profile (see Profile.h; default qvga)
//   SKIRROW_SCRIPT=file         scripted session (see Script.h)
//   SKIRROW_AUDIO=none          a device without sound (see WaveOut.h)
// Tests replace it with `Host::restart` to begin each case from a clean state.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/Profile.h"

namespace host {

class Backend;
class Screen;
class WindowManager;
class Gdi;
class ScriptPlayer;
class MessageBoxes;
class Shell;
class Gapi;
class SingleInstance;
class Controls;
class WaveOut;

enum class BackendKind { Sdl, Headless };

struct HostConfig {
  BackendKind backend = BackendKind::Headless;
  DeviceProfile profile;
  std::string scriptPath;        // empty: no script
  std::string scriptState;       // resume point handed down by a parent process (Script.h)
  std::uint32_t clockStart = 0;  // first reading of a virtual clock
  // A program that is not hi-res aware sees a hi-res profile's screen at half size, shown
  // pixel-doubled; the raw frame buffer keeps the full size.
  bool hiResAware = true;
  // False: a machine without a sound device (wave-out reports none). $SKIRROW_AUDIO=none.
  bool audioDevice = true;
  // Headless only: the real clock instead of the virtual one (HeadlessBackend.h).
  bool realClock = false;
};

// The configuration the environment asks for.
HostConfig configFromEnvironment();

class Host {
 public:
  // The running host, created from the environment when there is none.
  static Host& get();
  // Ends the running host (if any) and starts a new one with `config`.
  static Host& restart(const HostConfig& config);
  // Starts the host from the environment for a program with this hi-res awareness (the two
  // executables differ in it); call before any other host service. A headless program that no
  // script drives runs on the real clock, so that it sleeps instead of spinning. When the
  // script cannot be read or has a bad line, scriptError() says why (also on stderr) and the
  // program should end at once with exit code 2.
  static Host& start(bool hiResAware);
  // Ends the running host; the next `get` creates a fresh one.
  static void shutdown();

  ~Host();

  const HostConfig& config() const { return config_; }
  const DeviceProfile& profile() const { return config_.profile; }
  Backend& backend() { return *backend_; }
  Screen& screen() { return *screen_; }
  WindowManager& windows() { return *windows_; }
  Gdi& gdi() { return *gdi_; }
  // Null when no script drives this session.
  ScriptPlayer* script() { return script_.get(); }
  // Why the configured script could not be used; empty when it could or there is none.
  const std::string& scriptError() const { return scriptError_; }
  MessageBoxes& messageBoxes() { return *messageBoxes_; }
  Shell& shell() { return *shell_; }
  Gapi& gapi() { return *gapi_; }
  SingleInstance& singleInstance() { return *singleInstance_; }
  WaveOut& waveOut() { return *waveOut_; }

  // Small records of system calls (System.h).
  struct Records {
    std::uint32_t lastError = 0;
    int idleTimerResets = 0;
    std::vector<std::string> shellOpened;
    std::vector<std::string> processesStarted;  // command lines
    std::uint32_t cursor = 0;
    // Script screenshots that could not be written (each also reported on stderr).
    int failedScreenshots = 0;
  };
  Records& records() { return records_; }

 private:
  explicit Host(const HostConfig& config);

  HostConfig config_;
  Records records_;
  std::string scriptError_;
  std::unique_ptr<Backend> backend_;
  std::unique_ptr<Screen> screen_;
  std::unique_ptr<Gdi> gdi_;
  std::unique_ptr<ScriptPlayer> script_;
  std::unique_ptr<MessageBoxes> messageBoxes_;
  std::unique_ptr<Shell> shell_;
  std::unique_ptr<Gapi> gapi_;
  std::unique_ptr<SingleInstance> singleInstance_;
  std::unique_ptr<WindowManager> windows_;
  std::unique_ptr<Controls> controls_;
  std::unique_ptr<WaveOut> waveOut_;
};

}  // namespace host
