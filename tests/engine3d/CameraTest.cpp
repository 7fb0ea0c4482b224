#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine3d/Camera.h"
#include "engine3d/RendererDrivers.h"

namespace engine3d {
namespace {

TEST(Camera, StartsAtTheDefaultEyeLookingAtTheOrigin) {
  Camera camera(nullptr, 3);
  EXPECT_EQ(camera.eye(), Vector3(0, 0, -10));
  EXPECT_EQ(camera.target(), Vector3(0, 0, 0));
  EXPECT_EQ(camera.up(), Vector3(0, 1, 0));
  EXPECT_EQ(camera.followDistance, 10.0f);
  EXPECT_EQ(camera.mode(), 3);
  // Looking down +z from z = -10: the origin lies 10 units ahead.
  const Vector3 origin = camera.viewMatrix().transformPoint({0, 0, 0});
  EXPECT_FLOAT_EQ(origin.z, 10.0f);
}

TEST(Camera, ViewMatrixFollowsEyeTargetAndUpChanges) {
  Camera camera(nullptr, 0);
  camera.viewMatrix();
  camera.setEye(0, 0, -4);
  EXPECT_FLOAT_EQ(camera.viewMatrix().transformPoint({0, 0, 0}).z, 4.0f);
  // Looking along +x from the origin: a point at x = 7 is 7 units ahead.
  camera.setEye(Vector3(0, 0, 0));
  camera.setTarget(1, 0, 0);
  EXPECT_FLOAT_EQ(camera.viewMatrix().transformPoint({7, 0, 0}).z, 7.0f);
  // Up along -y turns the picture over: a point above the eye appears below.
  camera.setUp(0, -1, 0);
  EXPECT_FLOAT_EQ(camera.viewMatrix().transformPoint({0, 2, 0}).y, -2.0f);
}

TEST(Camera, FortyFiveDegreesGiveTanHalfFov424AndFocalLength289At240Pixels) {
  Camera camera(nullptr, 0);
  camera.setViewport(240, 320);
  camera.setPerspective(45.0f, 1.0f, 10000.0f);
  // tan(22.5 degrees) = 0.41421..., times 1024 = 424.15.
  EXPECT_EQ(camera.tanHalfFov1024(), 424);
  // (240 << 9) / 424 = 122880 / 424 = 289.8.
  EXPECT_EQ(camera.focalLength(), 289);
  // The lowest bit of the width is dropped first.
  camera.setViewport(241, 320);
  EXPECT_EQ(camera.focalLength(), 289);
  float fov = 0, near = 0, far = 0;
  camera.getPerspective(fov, near, far);
  EXPECT_EQ(fov, 45.0f);
  EXPECT_EQ(near, 1.0f);
  EXPECT_EQ(far, 10000.0f);
  int width = 0, height = 0;
  camera.getViewport(width, height);
  EXPECT_EQ(width, 241);
  EXPECT_EQ(height, 320);
}

TEST(Camera, ANonPositiveFovIsOneDegree) {
  Camera camera(nullptr, 0);
  camera.setPerspective(-5.0f, 2.0f, 50.0f);
  // tan(0.5 degrees) = 0.0087269, times 1024 = 8.94.
  EXPECT_EQ(camera.tanHalfFov1024(), 8);
  float fov = 0, near = 0, far = 0;
  camera.getPerspective(fov, near, far);
  EXPECT_EQ(fov, 1.0f);
  // 90 degrees: the degree constant 0.017453292 is 5.2e-10 short of pi / 180, so the half
  // angle falls 2.3e-8 rad short of pi / 4 and the tangent 4.7e-8 short of 1: 1023.99995.
  camera.setPerspective(90.0f, 1.0f, 2.0f);
  EXPECT_EQ(camera.tanHalfFov1024(), 1023);
}

TEST(Camera, ThePortraitVerticalHalfAngleIsTheHorizontalOneScaledByTheViewportsShape) {
  Camera camera(nullptr, 0);
  camera.setPerspective(45.0f, 1.0f, 10000.0f);
  // No viewport yet: the horizontal half-angle.
  EXPECT_EQ(camera.tanHalfFovY1024(), 424);
  // 424 * 320 / 240 = 565.33, rounded up.
  camera.setViewport(240, 320);
  EXPECT_EQ(camera.tanHalfFovY1024(), 566);
  // Not taller than wide: never narrower than the horizontal half-angle.
  camera.setViewport(320, 320);
  EXPECT_EQ(camera.tanHalfFovY1024(), 424);
  camera.setViewport(320, 240);
  EXPECT_EQ(camera.tanHalfFovY1024(), 424);
  // The battle's lens: tan(25 degrees) * 1024 = 477.5 -> 477; 477 * 4 / 3 = 636 exactly.
  camera.setViewport(240, 320);
  camera.setPerspective(50.0f, 1.0f, 150.0f);
  EXPECT_EQ(camera.tanHalfFovY1024(), 636);
  camera.setViewport(480, 641);
  EXPECT_EQ(camera.tanHalfFovY1024(), 637);  // 636.99
  // A fov past 180 degrees has no finite tangent; the scaled value stays representable.
  camera.setPerspective(181.0f, 1.0f, 150.0f);
  EXPECT_GE(camera.tanHalfFovY1024(), camera.tanHalfFov1024());
}

TEST(Camera, FocalLengthWithoutPerspectiveIsZeroRatherThanADivisionByZero) {
  Camera camera(nullptr, 0);
  camera.setViewport(240, 320);
  EXPECT_EQ(camera.focalLength(), 0);
}

// A driver camera that records the order of the calls createCamera makes.
std::vector<std::string> cameraCalls;

class RecordingCamera : public Camera {
 public:
  RecordingCamera(SceneView* scene, int mode) : Camera(scene, mode) {}
  void setPerspective(float fov, float near, float far) override {
    cameraCalls.push_back("setPerspective");
    Camera::setPerspective(fov, near, far);
  }
  void setViewport(int width, int height) override {
    cameraCalls.push_back("setViewport");
    Camera::setViewport(width, height);
  }
};

std::unique_ptr<Camera> makeRecordingCamera(SceneView* scene, int mode) {
  return std::make_unique<RecordingCamera>(scene, mode);
}

TEST(CreateCamera, SetsTheViewportThenThePerspectiveOnTheDriversCamera) {
  RendererDrivers drivers;
  ASSERT_TRUE(drivers.add(kRendererSoftware, {nullptr, makeRecordingCamera}));
  cameraCalls.clear();
  auto camera =
      drivers.createCamera(kRendererSoftware, nullptr, 240, 320, 45.0f, 1.0f, 10000.0f, 2);
  ASSERT_NE(camera, nullptr);
  EXPECT_EQ(cameraCalls, (std::vector<std::string>{"setViewport", "setPerspective"}));
  EXPECT_EQ(camera->mode(), 2);
  EXPECT_EQ(camera->eye(), Vector3(0, 0, -10));
  EXPECT_EQ(camera->tanHalfFov1024(), 424);
  EXPECT_EQ(camera->focalLength(), 289);
}

TEST(CreateCamera, UnknownOrDriverlessTypesMakeNothing) {
  RendererDrivers drivers;
  EXPECT_EQ(drivers.createCamera(kRendererGles, nullptr, 240, 320, 45.0f, 1.0f, 100.0f, 0),
            nullptr);
  EXPECT_FALSE(drivers.add(2, {nullptr, makeRecordingCamera}));
  EXPECT_FALSE(drivers.add(-1, {nullptr, makeRecordingCamera}));
  EXPECT_EQ(drivers.createCamera(2, nullptr, 240, 320, 45.0f, 1.0f, 100.0f, 0), nullptr);
  EXPECT_EQ(drivers.createCamera(-1, nullptr, 240, 320, 45.0f, 1.0f, 100.0f, 0), nullptr);
}

}  // namespace
}  // namespace engine3d
