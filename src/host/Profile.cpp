#include "host/Profile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace host {

namespace {

DeviceProfile portrait(std::string name, int width, int height) {
  DeviceProfile p;
  p.name = std::move(name);
  p.screenWidth = width;
  p.screenHeight = height;
  p.rawFrameBuffer = {width, height, 2, width * 2, 16};
  p.hiRes = width > 240 && height > 240;
  return p;
}

std::vector<DeviceProfile> builtInProfiles() {
  std::vector<DeviceProfile> all;

  DeviceProfile qvga = portrait("qvga", 240, 320);
  qvga.oemInfo = "Skirrow Reference PXA270 QVGA";
  qvga.processorCore = "ARM920T";
  qvga.processorName = "Intel PXA270";
  all.push_back(qvga);

  DeviceProfile nogl = portrait("qvga-nogl", 240, 320);
  nogl.oemInfo = "Skirrow Reference SA1110 QVGA";
  nogl.processorCore = "StrongARM";
  nogl.processorName = "Intel SA1110";
  all.push_back(nogl);

  DeviceProfile vga = portrait("vga", 480, 640);
  vga.oemInfo = "Skirrow Reference PXA270 VGA";
  vga.processorCore = "ARM920T";
  vga.processorName = "Intel PXA270";
  vga.totalMemory = 128ull << 20;
  all.push_back(vga);

  DeviceProfile dell = portrait("vga-2700g", 480, 640);
  dell.oemInfo = "Dell Axim X50v";
  dell.processorCore = "ARM920T";
  dell.processorName = "Intel PXA270";
  dell.totalMemory = 128ull << 20;
  all.push_back(dell);

  // The H38 series drives its portrait display through a 320x240 landscape buffer: moving one
  // pixel right steps back one buffer row (-640 bytes), one pixel down steps 2 bytes.
  DeviceProfile h38 = portrait("h38", 240, 320);
  h38.oemInfo = "Compaq iPAQ H3850";
  h38.processorCore = "StrongARM";
  h38.processorName = "Intel SA1110";
  h38.rawFrameBuffer = {240, 320, -640, 2, 16};
  h38.gapiLandscapeBuffer = true;
  all.push_back(h38);

  DeviceProfile landscape = portrait("landscape", 320, 240);
  landscape.oemInfo = "Skirrow Reference PXA270 Landscape";
  landscape.processorCore = "ARM920T";
  landscape.processorName = "Intel PXA270";
  all.push_back(landscape);
  return all;
}

}  // namespace

std::vector<std::string> profileNames() {
  std::vector<std::string> names;
  for (const DeviceProfile& p : builtInProfiles()) names.push_back(p.name);
  return names;
}

std::optional<DeviceProfile> findProfile(std::string_view name) {
  for (DeviceProfile& p : builtInProfiles())
    if (p.name == name) return std::move(p);
  return std::nullopt;
}

DeviceProfile profileFromEnvironment() {
  const char* env = std::getenv("SKIRROW_DEVICE");
  if (env && *env) {
    if (auto p = findProfile(env)) return *p;
    std::fprintf(stderr, "skirrow: unknown device profile '%s', using qvga\n", env);
  }
  return *findProfile("qvga");
}

bool processorQualifiesForGl(std::string_view processorName) {
  std::string upper(processorName);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return upper.find("PXA") != std::string::npos &&
         (upper.find("27") != std::string::npos || upper.find("28") != std::string::npos);
}

}  // namespace host
