#include "host/SingleInstance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace host {

namespace {

std::uint64_t fnv1a(std::string_view text) {
  std::uint64_t h = 1469598103934665603ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

bool fillAddress(sockaddr_un& address, const std::string& path) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size());
  return true;
}

}  // namespace

SingleInstance::SingleInstance(std::string folder) : folder_(std::move(folder)) {
  if (folder_.empty()) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    folder_ = runtime && *runtime && ::access(runtime, W_OK) == 0 ? runtime : "/tmp";
  }
}

SingleInstance::~SingleInstance() {
  while (!claims_.empty()) release(claims_.begin()->first);
}

std::string SingleInstance::basePath(std::string_view className, std::string_view title) const {
  std::string key(className);
  key += '\n';
  key += title;
  char name[64];
  std::snprintf(name, sizeof name, "/skirrow-%u-%016llx", static_cast<unsigned>(::getuid()),
                static_cast<unsigned long long>(fnv1a(key)));
  return folder_ + name;
}

bool SingleInstance::claim(Hwnd window, std::string_view className, std::string_view title) {
  Claim c;
  std::string base = basePath(className, title);
  c.lockPath = base + ".lock";
  c.socketPath = base + ".sock";
  c.lockFd = ::open(c.lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (c.lockFd < 0) return false;
  if (::flock(c.lockFd, LOCK_EX | LOCK_NB) != 0) {
    ::close(c.lockFd);
    return false;
  }
  sockaddr_un address;
  c.socketFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (c.socketFd >= 0 && fillAddress(address, c.socketPath)) {
    // Holding the lock means any socket file left here is stale.
    ::unlink(c.socketPath.c_str());
    if (::bind(c.socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(c.socketFd, 4) != 0) {
      ::close(c.socketFd);
      c.socketFd = -1;
    }
  }
  claims_[window] = c;
  return true;
}

void SingleInstance::release(Hwnd window) {
  auto it = claims_.find(window);
  if (it == claims_.end()) return;
  Claim& c = it->second;
  if (c.socketFd >= 0) {
    ::close(c.socketFd);
    ::unlink(c.socketPath.c_str());
  }
  ::close(c.lockFd);
  claims_.erase(it);
}

bool SingleInstance::heldElsewhere(std::string_view className, std::string_view title) const {
  std::string lockPath = basePath(className, title) + ".lock";
  for (const auto& [window, c] : claims_)
    if (c.lockPath == lockPath) return false;
  int fd = ::open(lockPath.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
  ::close(fd);
  return held;
}

bool SingleInstance::askToFront(std::string_view className, std::string_view title,
                                int timeoutMs) const {
  sockaddr_un address;
  if (!fillAddress(address, basePath(className, title) + ".sock")) return false;
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool confirmed = false;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::send(fd, "front\n", 6, MSG_NOSIGNAL) == 6) {
    pollfd p{fd, POLLIN, 0};
    char reply[8] = {};
    if (::poll(&p, 1, timeoutMs) == 1 && ::recv(fd, reply, sizeof reply - 1, 0) >= 2)
      confirmed = std::strncmp(reply, "ok", 2) == 0;
  }
  ::close(fd);
  return confirmed;
}

void SingleInstance::serve(const std::function<void(Hwnd)>& bringToFront) {
  for (auto& [window, c] : claims_) {
    if (c.socketFd < 0) continue;
    for (;;) {
      int client = ::accept4(c.socketFd, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) break;
      // The asker writes at once; a short wait covers a slow scheduler.
      pollfd p{client, POLLIN, 0};
      char request[16] = {};
      if (::poll(&p, 1, 200) == 1 && ::recv(client, request, sizeof request - 1, 0) > 0 &&
          std::strncmp(request, "front", 5) == 0) {
        bringToFront(window);
        ::send(client, "ok\n", 3, MSG_NOSIGNAL);
      }
      ::close(client);
    }
  }
}

}  // namespace host
