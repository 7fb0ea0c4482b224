// Device services the start-up and the pages ask for: memory, processes, the shell's opener, the
// system's error text, the screen and the device's identification.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Available physical memory in bytes.
uint64_t freeMemoryBytes();

// Free memory in megabytes (bytes times 1/1048576 in single precision).
float freeMemoryMB();

// The start-up memory check: IDYES when at least `requiredMB` is free, otherwise the user's answer
// to the "Memory Warning" box (Yes/No, warning icon) naming `exeName`.
int checkMemory(float requiredMB, std::string_view exeName);

// Starts `exePath` with `commandLine` as its whole command line. The result is not examined by
// the system; true when the process was started.
bool startProcess(std::string_view exePath, std::string_view commandLine);

// Opens folder + file (joined with '\' unless the folder ends in a separator) with the desktop's
// document handler. True when the request was made.
bool shellOpen(std::string_view folder, std::string_view file);

// Shows the system's text for the last error in an "Error" box with the exclamation icon.
void showLastError();

struct ScreenRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool landscape() const { return width > height; }
};
// The screen from the system metrics, at (0, 0).
ScreenRect getScreenRect();

// The processor core text and name; false (both empty) when the device does not tell.
bool getProcessorInfo(std::string& core, std::string& name);
// The OEM information text (at most 62 characters, as the platform's query returns it).
std::string getOemInfo();
// Width of the display's raw frame buffer (0 when the display does not report one).
int probeRawFrameBufferWidth();

}  // namespace platform
