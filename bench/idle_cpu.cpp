// CPU time of ten idle seconds: the real program shows a still menu screen (the cover, the
// settings screen, the hangar) and nobody touches it. One iteration is one whole run of
// `skirrow` in a child process; the figure is the child's user + system time.
//
//   headless_scripted  a script ends the run at 10 s of the virtual clock
//   headless_undriven  no script: the real clock; the run is stopped after 10 s
//   sdl                the desktop window (needs DISPLAY, e.g. under xvfb-run); a script ends
//                      the run after 10 s of the real clock
//
// $SKIRROW_IDLE_PROGRAM names another build of the program to measure (to compare two
// versions); by default the skirrow beside this benchmark.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

enum Mode { kHeadlessScripted, kHeadlessUndriven, kSdl };
const char* const kPages[] = {"", "ARG:gsetting", "ARG:hangar"};
const char* const kPageNames[] = {"cover", "settings", "hangar"};
constexpr int kIdleSeconds = 10;

std::string program() {
  if (const char* chosen = std::getenv("SKIRROW_IDLE_PROGRAM"); chosen && *chosen) return chosen;
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "skirrow").string();
}

// Runs the program once; returns its CPU seconds, or a negative value when it failed.
double runIdle(Mode mode, int page, const std::string& folder) {
  std::string script = folder + "/idle.txt";
  std::ofstream(script) << kIdleSeconds * 1000 << " quit\n";
  pid_t pid = ::fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    ::setenv("XDG_DOCUMENTS_DIR", (folder + "/docs").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (folder + "/cache").c_str(), 1);
    ::setenv("SKIRROW_AUDIO", "none", 1);
    ::setenv("SKIRROW_HOST", mode == kSdl ? "sdl" : "headless", 1);
    if (mode == kHeadlessUndriven)
      ::unsetenv("SKIRROW_SCRIPT");
    else
      ::setenv("SKIRROW_SCRIPT", script.c_str(), 1);
    std::freopen("/dev/null", "w", stderr);
    std::string exe = program();
    if (*kPages[page])
      ::execl(exe.c_str(), exe.c_str(), kPages[page], nullptr);
    else
      ::execl(exe.c_str(), exe.c_str(), nullptr);
    ::_exit(127);
  }
  if (mode == kHeadlessUndriven) {
    std::this_thread::sleep_for(std::chrono::seconds(kIdleSeconds));
    ::kill(pid, SIGTERM);
  }
  int status = 0;
  rusage usage{};
  if (::wait4(pid, &status, 0, &usage) != pid) return -1;
  bool ended = WIFEXITED(status) ? WEXITSTATUS(status) == 0
                                 : mode == kHeadlessUndriven && WIFSIGNALED(status);
  if (!ended) return -1;
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_IdleTenSeconds(benchmark::State& state) {
  const Mode mode = static_cast<Mode>(state.range(0));
  const int page = static_cast<int>(state.range(1));
  if (mode == kSdl && !std::getenv("DISPLAY")) {
    state.SkipWithError("no DISPLAY: run under xvfb-run for the desktop figure");
    return;
  }
  char pattern[] = "/tmp/skirrow-idle-XXXXXX";
  const char* made = ::mkdtemp(pattern);
  if (!made) {
    state.SkipWithError("no temporary folder");
    return;
  }
  std::string folder = made;
  double cpu = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    cpu = runIdle(mode, page, folder);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (cpu < 0) state.SkipWithError("the program did not run to its end");
  }
  state.counters["cpu_s"] = cpu;
  // Share of one core over the ten seconds the screen was shown.
  state.counters["core_%"] = cpu * 100.0 / kIdleSeconds;
  state.SetLabel(std::string(kPageNames[page]));
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}
BENCHMARK(BM_IdleTenSeconds)
    ->ArgNames({"mode", "page"})
    ->ArgsProduct({{kHeadlessScripted, kHeadlessUndriven, kSdl}, {0, 1, 2}})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace
