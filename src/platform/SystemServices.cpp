#include "platform/SystemServices.h"

#include <cstdio>

#include "host/MessageBoxes.h"
#include "host/System.h"

namespace platform {

uint64_t freeMemoryBytes() {
  return host::memoryStatus().availablePhysical;
}

float freeMemoryMB() {
  return static_cast<float>(freeMemoryBytes()) * 9.536743e-7f;
}

int checkMemory(float requiredMB, std::string_view exeName) {
  float freeMB = freeMemoryMB();
  if (freeMB >= requiredMB) return host::IDYES;
  char text[512];
  std::snprintf(text, sizeof text,
                "'%s' needs %.1fMB memory. Free memory is now %.1fMB.\nSystem will adjust memory "
                "distribution to meet this requirement.\nIngore this warning and continue?",
                std::string(exeName).c_str(), static_cast<double>(requiredMB),
                static_cast<double>(freeMB));
  return host::messageBox(0, text, "Memory Warning", host::MB_YESNO | host::MB_ICONWARNING);
}

bool startProcess(std::string_view exePath, std::string_view commandLine) {
  return host::startProcess(exePath, commandLine) >= 0;
}

bool shellOpen(std::string_view folder, std::string_view file) {
  std::string path(folder);
  if (path.empty() || (path.back() != '\\' && path.back() != '/')) path.push_back('\\');
  path.append(file);
  return host::shellOpen(path);
}

void showLastError() {
  host::messageBox(0, host::errorText(host::lastError()), "Error", host::MB_ICONEXCLAMATION);
}

ScreenRect getScreenRect() {
  return {0, 0, host::screenWidth(), host::screenHeight()};
}

bool getProcessorInfo(std::string& core, std::string& name) {
  core.clear();
  name.clear();
  return host::processorInfo(core, name);
}

std::string getOemInfo() {
  std::string oem = host::oemInfo();
  if (oem.size() > 62) oem.resize(62);
  return oem;
}

int probeRawFrameBufferWidth() {
  return host::rawFrameBufferInfo().width;
}

}  // namespace platform
