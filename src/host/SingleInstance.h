// One running instance per (window class, title) across processes.
//
// A top-level window claims its key: a lock file "skirrow-<hash>.lock" held with flock and a
// unix socket "skirrow-<hash>.sock" beside it, in $XDG_RUNTIME_DIR (else /tmp). Another process
// that looks for the same class and title finds the lock held, connects to the socket and asks
// "front"; the holder brings its window to the front the next time it reads its messages and
// answers "ok". A crashed holder leaves no lock (the kernel drops it), and a stale socket file
// is replaced by the next holder.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "host/Types.h"

namespace host {

class SingleInstance {
 public:
  // `folder` empty: $XDG_RUNTIME_DIR, else /tmp.
  explicit SingleInstance(std::string folder = {});
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Claims the key for `window`. False when another process holds it (the window still works,
  // it is just not findable from outside).
  bool claim(Hwnd window, std::string_view className, std::string_view title);
  void release(Hwnd window);
  // True when another process holds the key.
  bool heldElsewhere(std::string_view className, std::string_view title) const;
  // Asks the holder to come to the front and waits up to `timeoutMs` (real time) for its
  // answer. True when it confirmed.
  bool askToFront(std::string_view className, std::string_view title, int timeoutMs = 3000) const;
  // Answers pending requests without waiting; `bringToFront` gets the window asked for.
  void serve(const std::function<void(Hwnd)>& bringToFront);
  // True while this process holds any key.
  bool serving() const { return !claims_.empty(); }

  std::string folder() const { return folder_; }

 private:
  struct Claim {
    int lockFd = -1;
    int socketFd = -1;
    std::string lockPath;
    std::string socketPath;
  };
  std::string basePath(std::string_view className, std::string_view title) const;

  std::string folder_;
  std::map<Hwnd, Claim> claims_;
};

}  // namespace host
