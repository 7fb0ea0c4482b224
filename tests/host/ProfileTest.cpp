#include "host/Profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "HostFixture.h"
#include "host/Cursor.h"
#include "host/Files.h"
#include "host/Gapi.h"
#include "host/Gdi.h"
#include "host/Screen.h"
#include "host/System.h"

namespace host::testing {
namespace {

TEST(ProfileTest, GlQualificationNeedsPxaAndTwentySevenOrTwentyEight) {
  EXPECT_TRUE(processorQualifiesForGl("Intel PXA270"));
  EXPECT_TRUE(processorQualifiesForGl("intel pxa28x"));
  EXPECT_TRUE(processorQualifiesForGl("Marvell PXA320 rev 27"));  // both words, anywhere
  EXPECT_FALSE(processorQualifiesForGl("Intel PXA255"));
  EXPECT_FALSE(processorQualifiesForGl("XScale 270"));
  EXPECT_FALSE(processorQualifiesForGl(""));
}

TEST(ProfileTest, BuiltInProfilesDescribeTheirDevices) {
  auto names = profileNames();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.front(), "qvga");

  auto qvga = findProfile("qvga");
  ASSERT_TRUE(qvga);
  EXPECT_EQ(qvga->screenWidth, 240);
  EXPECT_EQ(qvga->screenHeight, 320);
  EXPECT_EQ(qvga->displayDepth, 16);
  EXPECT_TRUE(processorQualifiesForGl(qvga->processorName));

  auto nogl = findProfile("qvga-nogl");
  ASSERT_TRUE(nogl);
  EXPECT_FALSE(processorQualifiesForGl(nogl->processorName));

  auto vga = findProfile("vga");
  ASSERT_TRUE(vga);
  EXPECT_EQ(vga->screenWidth, 480);
  EXPECT_EQ(vga->rawFrameBuffer.width, 480);
  EXPECT_EQ(vga->oemInfo.find("Dell"), std::string::npos);
  EXPECT_TRUE(vga->hiRes);

  auto dell = findProfile("vga-2700g");
  ASSERT_TRUE(dell);
  EXPECT_NE(dell->oemInfo.find("Dell"), std::string::npos);
  EXPECT_EQ(dell->rawFrameBuffer.width, 480);
  EXPECT_EQ(dell->screenHeight, 640);

  auto h38 = findProfile("h38");
  ASSERT_TRUE(h38);
  EXPECT_NE(h38->oemInfo.find("iPAQ"), std::string::npos);
  EXPECT_NE(h38->oemInfo.find("H38"), std::string::npos);
  EXPECT_LT(h38->rawFrameBuffer.xStride, 0);

  auto landscape = findProfile("landscape");
  ASSERT_TRUE(landscape);
  EXPECT_GT(landscape->screenWidth, landscape->screenHeight);

  EXPECT_FALSE(findProfile("nokia"));
}

TEST(ProfileTest, EnvironmentSelectsProfileAndFallsBackToDefault) {
  ::setenv("SKIRROW_DEVICE", "h38", 1);
  EXPECT_EQ(profileFromEnvironment().name, "h38");
  ::setenv("SKIRROW_DEVICE", "no-such-device", 1);
  EXPECT_EQ(profileFromEnvironment().name, "qvga");
  ::unsetenv("SKIRROW_DEVICE");
  EXPECT_EQ(profileFromEnvironment().name, "qvga");
}

TEST(ProfileTest, BackendChoiceFollowsEnvironmentAndDisplay) {
  // Put the environment back afterwards: later tests may need the real display.
  auto saved = [](const char* name) {
    const char* v = std::getenv(name);
    return v ? std::optional<std::string>(v) : std::nullopt;
  };
  auto display = saved("DISPLAY"), wayland = saved("WAYLAND_DISPLAY"), kind = saved("SKIRROW_HOST");
  ::setenv("SKIRROW_HOST", "headless", 1);
  ::setenv("DISPLAY", ":99", 1);
  EXPECT_EQ(configFromEnvironment().backend, BackendKind::Headless);
  ::unsetenv("SKIRROW_HOST");
  EXPECT_EQ(configFromEnvironment().backend, BackendKind::Sdl);
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  EXPECT_EQ(configFromEnvironment().backend, BackendKind::Headless);
  auto restore = [](const char* name, const std::optional<std::string>& v) {
    if (v)
      ::setenv(name, v->c_str(), 1);
    else
      ::unsetenv(name);
  };
  restore("DISPLAY", display);
  restore("WAYLAND_DISPLAY", wayland);
  restore("SKIRROW_HOST", kind);
}

using DeviceServicesTest = HostTest;

TEST_F(DeviceServicesTest, SystemQueriesAnswerFromTheProfile) {
  restart("vga-2700g");
  EXPECT_EQ(screenWidth(), 480);
  EXPECT_EQ(screenHeight(), 640);
  EXPECT_NE(oemInfo().find("Dell"), std::string::npos);
  std::string core, name;
  ASSERT_TRUE(processorInfo(core, name));
  EXPECT_TRUE(processorQualifiesForGl(name));
  EXPECT_EQ(rawFrameBufferInfo().width, 480);
  RawFrameBuffer raw = Host::get().gapi().rawFrameBuffer();
  EXPECT_EQ(raw.width, 480);
  EXPECT_EQ(raw.yStride, 960);
  EXPECT_NE(raw.frame, nullptr);
}

TEST_F(DeviceServicesTest, ProgramWithoutHiResAwarenessSeesHalfTheVgaScreen) {
  HostConfig config;
  config.backend = BackendKind::Headless;
  config.profile = *findProfile("vga-2700g");
  config.hiResAware = false;
  Host::restart(config);
  registerRecorder();
  EXPECT_EQ(screenWidth(), 240);
  EXPECT_EQ(screenHeight(), 320);
  RawFrameBuffer raw = Host::get().gapi().rawFrameBuffer();
  EXPECT_EQ(raw.width, 480);  // the device's buffer keeps its size
  ASSERT_NE(raw.frame, nullptr);
  Hwnd w = topLevel("main");
  drain();
  Hdc dc = wm().getDC(w);
  Host::get().gdi().setPixel(dc, 10, 10, rgb(255, 0, 0));
  wm().releaseDC(w, dc);
  // Written straight into the device buffer, below the doubled picture.
  static_cast<std::uint16_t*>(raw.frame)[600 * 480 + 400] = pack565(0, 255, 0);
  Screen& screen = Host::get().screen();
  auto rgbAt = [&](const std::vector<std::uint8_t>& image, int x, int y) {
    const std::uint8_t* p = &image[(static_cast<size_t>(y) * 480 + x) * 3];
    return rgb(p[0], p[1], p[2]);
  };
  auto image = screen.toRgb();
  ASSERT_EQ(image.size(), 480u * 640 * 3);
  for (auto [x, y] : {std::pair{20, 20}, {21, 20}, {20, 21}, {21, 21}})
    EXPECT_EQ(rgbAt(image, x, y), rgb(255, 0, 0));
  EXPECT_EQ(rgbAt(image, 22, 22), rgb(0, 0, 0));
  EXPECT_EQ(rgbAt(image, 400, 600), rgb(0, 255, 0));
}

TEST_F(DeviceServicesTest, AvailableMemoryCanBeForcedForTheStartUpCheck) {
  ::setenv("SKIRROW_AVAILABLE_MEMORY", "5242880", 1);
  MemoryStatus status = memoryStatus();
  ::unsetenv("SKIRROW_AVAILABLE_MEMORY");
  EXPECT_EQ(status.availablePhysical, 5242880u);
  EXPECT_GE(status.totalPhysical, status.availablePhysical);
  EXPECT_GT(memoryStatus().availablePhysical, 0u);  // real figures otherwise
}

TEST_F(DeviceServicesTest, SpecialFoldersAreCreated) {
  std::string base = "/tmp/skirrow-folders-" + std::to_string(::getpid());
  ::setenv("XDG_DOCUMENTS_DIR", (base + "/docs/deep").c_str(), 1);
  ::setenv("XDG_PICTURES_DIR", (base + "/pics").c_str(), 1);
  auto documents = specialFolder(kFolderDocuments);
  auto pictures = specialFolder(kFolderPictures);
  ::unsetenv("XDG_DOCUMENTS_DIR");
  ::unsetenv("XDG_PICTURES_DIR");
  ASSERT_TRUE(documents);
  EXPECT_EQ(*documents, base + "/docs/deep");
  EXPECT_EQ(pathKind(*documents), PathKind::Folder);
  ASSERT_TRUE(pictures);
  EXPECT_EQ(pathKind(*pictures), PathKind::Folder);
  EXPECT_FALSE(specialFolder(1234));
}

TEST_F(DeviceServicesTest, SleepAndIdleResetOnTheVirtualClock) {
  std::uint32_t t = tickCount();
  sleepMs(250);
  EXPECT_EQ(tickCount() - t, 250u);
  resetIdleTimer();
  resetIdleTimer();
  EXPECT_EQ(idleTimerResets(), 2);
}

TEST_F(DeviceServicesTest, CursorShapesAreKnownByTheirSystemIds) {
  EXPECT_EQ(loadCursor(12345), 0u);
  Hcursor hand = loadCursor(IDC_HAND);
  ASSERT_NE(hand, 0u);
  EXPECT_EQ(setCursor(hand), 0u);
  EXPECT_EQ(setCursor(loadCursor(IDC_IBEAM)), hand);
  EXPECT_EQ(currentCursor(), loadCursor(IDC_IBEAM));
}

TEST_F(DeviceServicesTest, ShellOpenIsLoggedHeadless) {
  EXPECT_TRUE(shellOpen("\\manual\\index.htm"));
  ASSERT_EQ(Host::get().records().shellOpened.size(), 1u);
  EXPECT_EQ(Host::get().records().shellOpened[0], "/manual/index.htm");
}

}  // namespace
}  // namespace host::testing
