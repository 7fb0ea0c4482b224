// System services of the device: clock, memory, processes, the shell's opener, error texts,
// device identification and the raw frame buffer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/Profile.h"

namespace host {

// Error codes with the platform's numbers (what lastError() returns).
constexpr std::uint32_t ERROR_SUCCESS = 0;
constexpr std::uint32_t ERROR_FILE_NOT_FOUND = 2;
constexpr std::uint32_t ERROR_ACCESS_DENIED = 5;
constexpr std::uint32_t ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr std::uint32_t ERROR_INVALID_PARAMETER = 87;
constexpr std::uint32_t ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr std::uint32_t ERROR_CANNOT_FIND_WND_CLASS = 1407;
constexpr std::uint32_t ERROR_CLASS_ALREADY_EXISTS = 1410;

void setLastError(std::uint32_t code);
std::uint32_t lastError();
// The system's message text for an error code ("The system cannot find the file specified.").
std::string errorText(std::uint32_t code);

// Milliseconds on the backend clock (virtual in headless sessions).
std::uint32_t tickCount();
void sleepMs(std::uint32_t ms);

struct MemoryStatus {
  std::uint32_t memoryLoad = 0;  // percent in use
  std::uint64_t totalPhysical = 0;
  std::uint64_t availablePhysical = 0;
  std::uint64_t totalVirtual = 0;
  std::uint64_t availableVirtual = 0;
};
// The machine's real figures (/proc/meminfo); a profile figure or $SKIRROW_AVAILABLE_MEMORY
// (bytes) replaces the available amount.
MemoryStatus memoryStatus();

// Special folders by the platform's number: 5 = documents (created when missing),
// 0x27 = pictures; other numbers give nullopt.
constexpr int kFolderDocuments = 5;
constexpr int kFolderPictures = 0x27;
std::optional<std::string> specialFolder(int id);
// The user's pictures folder: $XDG_PICTURES_DIR, user-dirs.dirs, else ~/Pictures. Created.
std::string picturesFolder();

// The whole command line this process was started with, without the program name: the
// arguments joined by single spaces (a relaunched child receives its command line as one
// argument, so it reads back unchanged).
std::string commandLine();
// Starts `exePath` with `commandLine` as its whole command line (one argument). A scripted
// session hands its position on to the child. Returns the child's process id, or -1.
int startProcess(std::string_view exePath, std::string_view commandLine);
// Opens a document with the desktop's opener (xdg-open); headless only logs the request.
// Returns true when the request was made.
bool shellOpen(std::string_view path);

// Device identification from the profile.
std::string oemInfo();
// Processor core and name; false when the device does not report them.
bool processorInfo(std::string& core, std::string& name);
// The display's raw frame buffer (width, height, strides); pixels are reached through GAPI.
RawFrameBufferInfo rawFrameBufferInfo();
// Screen size from the system metrics (the profile's screen).
int screenWidth();
int screenHeight();

// Tells the device the user is active; counted so tests can see it.
void resetIdleTimer();
int idleTimerResets();

}  // namespace host
