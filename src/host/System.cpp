#include "host/System.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "host/Backend.h"
#include "host/Cursor.h"
#include "host/Files.h"
#include "host/Gapi.h"
#include "host/Host.h"
#include "host/MessageBoxes.h"
#include "host/Screen.h"
#include "host/Script.h"
#include "host/WindowManager.h"

namespace host {

void setLastError(std::uint32_t code) {
  Host::get().records().lastError = code;
}

std::uint32_t lastError() {
  return Host::get().records().lastError;
}

std::string errorText(std::uint32_t code) {
  switch (code) {
    case ERROR_SUCCESS:
      return "The operation completed successfully.";
    case ERROR_FILE_NOT_FOUND:
      return "The system cannot find the file specified.";
    case ERROR_ACCESS_DENIED:
      return "Access is denied.";
    case ERROR_NOT_ENOUGH_MEMORY:
      return "Not enough storage is available to process this command.";
    case ERROR_INVALID_PARAMETER:
      return "The parameter is incorrect.";
    case ERROR_INVALID_WINDOW_HANDLE:
      return "Invalid window handle.";
    case ERROR_CANNOT_FIND_WND_CLASS:
      return "Cannot find window class.";
    case ERROR_CLASS_ALREADY_EXISTS:
      return "Class already exists.";
    default:
      return "Unknown error " + std::to_string(code) + ".";
  }
}

std::uint32_t tickCount() {
  return Host::get().backend().now();
}

void sleepMs(std::uint32_t ms) {
  Host::get().backend().sleep(ms);
}

MemoryStatus memoryStatus() {
  MemoryStatus status;
  std::ifstream in("/proc/meminfo");
  std::string key;
  std::uint64_t value = 0;
  std::string unit;
  while (in >> key >> value) {
    std::getline(in, unit);
    if (key == "MemTotal:") status.totalPhysical = value * 1024;
    if (key == "MemAvailable:") status.availablePhysical = value * 1024;
  }
  const DeviceProfile& profile = Host::get().profile();
  if (profile.availableMemory) {
    status.totalPhysical = profile.totalMemory;
    status.availablePhysical = *profile.availableMemory;
  }
  if (const char* env = std::getenv("SKIRROW_AVAILABLE_MEMORY"); env && *env)
    status.availablePhysical = std::strtoull(env, nullptr, 10);
  if (status.totalPhysical < status.availablePhysical)
    status.totalPhysical = status.availablePhysical;
  status.totalVirtual = 32ull << 20;  // a process slot of the device
  status.availableVirtual = status.totalVirtual;
  status.memoryLoad =
      status.totalPhysical
          ? static_cast<std::uint32_t>(100 - status.availablePhysical * 100 / status.totalPhysical)
          : 0;
  return status;
}

namespace {

std::string userDir(const char* envName, const char* key, const char* fallback) {
  if (const char* env = std::getenv(envName); env && *env) return env;
  const char* homeEnv = std::getenv("HOME");
  std::string home = homeEnv && *homeEnv ? homeEnv : "/tmp";
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::ifstream in((config && *config ? std::string(config) : home + "/.config") +
                   "/user-dirs.dirs");
  std::string line, prefix = std::string(key) + "=";
  while (std::getline(in, line)) {
    if (line.rfind(prefix, 0) != 0) continue;
    std::string value = line.substr(prefix.size());
    if (value.size() >= 2 && value.front() == '"') value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    return value;
  }
  return home + "/" + fallback;
}

void makeAll(const std::string& folder) {
  for (size_t i = 1; i <= folder.size(); ++i)
    if (i == folder.size() || folder[i] == '/') {
      std::string prefix = folder.substr(0, i);
      if (pathKind(prefix) == PathKind::None) makeFolder(prefix);
    }
}

}  // namespace

std::string picturesFolder() {
  std::string folder = userDir("XDG_PICTURES_DIR", "XDG_PICTURES_DIR", "Pictures");
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  makeAll(folder);
  return folder;
}

std::optional<std::string> specialFolder(int id) {
  if (id == kFolderDocuments) return documentsFolder();
  if (id == kFolderPictures) return picturesFolder();
  return std::nullopt;
}

std::string commandLine() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string line;
  size_t start = all.find('\0');
  if (start == std::string::npos) return line;
  for (size_t i = start + 1; i < all.size();) {
    size_t end = all.find('\0', i);
    if (end == std::string::npos) end = all.size();
    if (!line.empty()) line += ' ';
    line += all.substr(i, end - i);
    i = end + 1;
  }
  return line;
}

namespace {

// Starts a program detached from this process: an intermediate child starts it and ends at
// once, so no zombie is left and no signal handling of the caller changes. Returns its pid.
int spawnDetached(const std::string& exe, const std::vector<std::string>& args,
                  const std::string& scriptState) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return -1;
  pid_t middle = ::fork();
  if (middle < 0) {
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    return -1;
  }
  if (middle == 0) {
    ::close(pipeFds[0]);
    pid_t pid = ::fork();
    if (pid == 0) {
      ::close(pipeFds[1]);
      ::setsid();
      if (!scriptState.empty()) ::setenv("SKIRROW_SCRIPT_STATE", scriptState.c_str(), 1);
      std::vector<char*> argv;
      argv.push_back(const_cast<char*>(exe.c_str()));
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execvp(exe.c_str(), argv.data());
      ::_exit(127);
    }
    int value = pid;
    (void)!::write(pipeFds[1], &value, sizeof value);
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  int pid = -1;
  if (::read(pipeFds[0], &pid, sizeof pid) != sizeof pid) pid = -1;
  ::close(pipeFds[0]);
  ::waitpid(middle, nullptr, 0);
  return pid;
}

}  // namespace

int startProcess(std::string_view exePath, std::string_view commandLineText) {
  Host& host = Host::get();
  std::string args(commandLineText);
  host.records().processesStarted.push_back(args);
  host.messageBoxes().note("start " + args);
  std::string scriptState;
  if (ScriptPlayer* script = host.script())
    scriptState = script->stateForChild(host.backend().now());
  std::vector<std::string> argv;
  if (!args.empty()) argv.push_back(args);
  return spawnDetached(nativePath(exePath), argv, scriptState);
}

bool shellOpen(std::string_view path) {
  Host& host = Host::get();
  std::string native = nativePath(path);
  host.records().shellOpened.push_back(native);
  if (host.backend().virtualClock()) {
    std::fprintf(stderr, "shell open %s\n", native.c_str());
    return true;
  }
  return spawnDetached("xdg-open", {native}, {}) > 0;
}

std::string oemInfo() {
  return Host::get().profile().oemInfo;
}

bool processorInfo(std::string& core, std::string& name) {
  const DeviceProfile& p = Host::get().profile();
  if (p.processorName.empty()) return false;
  core = p.processorCore;
  name = p.processorName;
  return true;
}

RawFrameBufferInfo rawFrameBufferInfo() {
  return Host::get().profile().rawFrameBuffer;
}

int screenWidth() {
  return Host::get().screen().width();
}

int screenHeight() {
  return Host::get().screen().height();
}

void resetIdleTimer() {
  ++Host::get().records().idleTimerResets;
}

int idleTimerResets() {
  return Host::get().records().idleTimerResets;
}

Hcursor loadCursor(int id) {
  return id == IDC_ARROW || id == IDC_IBEAM || id == IDC_HAND ? static_cast<Hcursor>(id) : 0;
}

Hcursor setCursor(Hcursor cursor) {
  Host& host = Host::get();
  Hcursor previous = host.records().cursor;
  host.records().cursor = cursor;
  if (cursor != previous) host.backend().showCursor(cursor ? static_cast<int>(cursor) : IDC_ARROW);
  return previous;
}

Hcursor currentCursor() {
  return Host::get().records().cursor;
}

}  // namespace host
