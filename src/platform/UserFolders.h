// UserFolders: where an installed program keeps what it writes, and its private scratch folder.
//
// An installed program's tree (the folder above its executable's, holding resources/ and manual/)
// is read-only and shared by every user. Each file the program writes under that tree (settings,
// menu choices, key calibration, scores: every template save) goes instead to the same relative
// path under the user's data folder, $XDG_DATA_HOME/skirrow/ (default ~/.local/share/skirrow/):
// "<tree>/resources/GUI/gsetting.properties" is saved as
// "<data>/skirrow/resources/GUI/gsetting.properties". Reading looks at the user's copy first and
// falls back to the installed one (Template::load and Template::save do this for every template).
//
// A build tree is portable: the build writes the marker file "skirrow.portable" beside its
// executables, and a program that finds it keeps saving inside its own tree, as before. So an
// installed copy and a build tree never share saves, and a build's test runs never touch the
// user's home.
//
// Archive members are extracted into a private scratch folder, one per process:
// $XDG_CACHE_HOME/skirrow/<pid>/ (default ~/.cache/skirrow/<pid>/), both levels mode 0700, so
// two instances (a relaunch overlaps the old instance's end) never share one, and another user
// can neither read nor plant files there.
#pragma once

#include <string>
#include <string_view>

namespace platform {

class UserFolders {
 public:
  static constexpr const char* kPortableMarker = "skirrow.portable";
  static constexpr const char* kFolderName = "skirrow";

  // No redirection: every path is read and written where it is named.
  UserFolders() = default;
  // Paths under `installedTree` are redirected to the same relative path under `userTree`. Both
  // are folders ('/' or '\\' separated, "." and ".." resolved here); an empty `userTree` means
  // no redirection.
  UserFolders(std::string_view installedTree, std::string_view userTree);

  // The folders of the running program whose executable lies in `exeFolder`: portable (no
  // redirection) when the marker file lies beside the executable, else the tree above
  // `exeFolder` redirected to host::dataHomeFolder() + "/skirrow".
  static UserFolders forProgram(std::string_view exeFolder);

  bool redirects() const { return !userTree_.empty(); }
  // Both with '/' separators and a trailing '/' ("" when not redirecting).
  const std::string& installedTree() const { return installedTree_; }
  const std::string& userTree() const { return userTree_; }

  // The user's copy of `path` when `path` lies inside the installed tree (the tree itself does
  // not count), else "". Separators and ".." of `path` are resolved first, so
  // "<tree>/bin/..\resources\GUI\x.properties" maps like "<tree>/resources/GUI/x.properties".
  std::string userCopyOf(std::string_view path) const;

 private:
  std::string installedTree_;
  std::string userTree_;
};

// The process-wide folders every template load and save consults. The application sets them once
// at start; until then (tools, tests) nothing is redirected.
void setUserFolders(UserFolders folders);
const UserFolders& userFolders();

// Makes this process's private scratch folder `cacheRoot`/<pid>/ (cacheRoot itself is created,
// both mode 0700) and returns it with a trailing '/'; "" when either cannot be made private.
// Folders of processes that no longer exist, left by a crash, are removed on the way (a folder
// named by a number whose process is gone); any other entry is left alone.
std::string preparePrivateTempFolder(std::string_view cacheRoot, int pid);

// Removes `cacheRoot` when it is empty (after the last instance's folder has gone), so that a
// game that has ended leaves nothing in the cache.
void removeCacheRootIfEmpty(std::string_view cacheRoot);

// The default cache root: host::cacheHomeFolder() + "/skirrow".
std::string defaultCacheRoot();

}  // namespace platform
