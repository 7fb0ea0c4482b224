#include "game/FollowCamera.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine3d/Camera.h"

namespace {

using engine3d::Camera;
using engine3d::Matrix4;
using engine3d::Vector3;
using game::FollowCamera;

// Rotation blocks written out, so the expected values below need no tables:
// yaw: a quarter turn about y, R(x, y, z) = (z, y, -x);
// pitch: a quarter turn about x, R(x, y, z) = (x, -z, y);
// roll: a quarter turn about z, R(x, y, z) = (-y, x, z).
Matrix4 placed(const float (&rows)[9], const Vector3& at) {
  Matrix4 m;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) m.at(r, c) = rows[3 * r + c];
  m.setTranslation(at);
  return m;
}
constexpr float kYaw[9] = {0, 0, 1, 0, 1, 0, -1, 0, 0};
constexpr float kPitch[9] = {1, 0, 0, 0, 0, -1, 0, 1, 0};
constexpr float kRoll[9] = {0, -1, 0, 1, 0, 0, 0, 0, 1};
const Vector3 kAt(10, 2, -4);

void expectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-4f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

class FollowCameraTest : public ::testing::Test {
 protected:
  Camera camera{nullptr, 0};  // eye (0, 0, -10), target (0, 0, 0), up (0, 1, 0)
  FollowCamera follow{camera};
};

TEST_F(FollowCameraTest, StartsWithTheCamerasModeAndNothingFollowed) {
  Camera chase(nullptr, 5);
  FollowCamera f(chase);
  EXPECT_EQ(f.followKind(), 5);
  EXPECT_EQ(f.followed(), nullptr);
  EXPECT_EQ(f.distance(), 10.0f);
  f.update(0.1f);  // nothing to follow
  EXPECT_EQ(chase.eye(), Vector3(0, 0, -10));
  EXPECT_EQ(chase.target(), Vector3(0, 0, 0));
}

TEST_F(FollowCameraTest, FixedIgnoresUpdatesAndDropsTheObject) {
  const Matrix4 m = placed(kYaw, kAt);
  follow.setFollow(FollowCamera::kChase, &m, 6, 80, {0, 0, -1});
  follow.setFollow(FollowCamera::kFixed, &m, 3, 10, {1, 0, 0});
  EXPECT_EQ(follow.followKind(), FollowCamera::kFixed);
  EXPECT_EQ(follow.followed(), nullptr);
  EXPECT_EQ(follow.distance(), 6.0f);  // only kind and object change
  camera.setEye(1, 2, 3);
  camera.setTarget(4, 5, 6);
  camera.setUp(0, 0, 1);
  follow.setFollowed(&m);
  for (int i = 0; i < 5; ++i) follow.update(0.1f);
  EXPECT_EQ(camera.eye(), Vector3(1, 2, 3));
  EXPECT_EQ(camera.target(), Vector3(4, 5, 6));
  EXPECT_EQ(camera.up(), Vector3(0, 0, 1));
}

TEST_F(FollowCameraTest, LookAtAddsTheDirectionUnnormalisedAndLeavesTheEye) {
  const Matrix4 m = placed(kYaw, kAt);
  const Vector3 offset(0, 1, 0);
  follow.setFollow(FollowCamera::kLookAt, &m, 5, 0, {3, 0, 4}, &offset);
  EXPECT_EQ(follow.direction(), Vector3(3, 0, 4));
  follow.update(0.1f);
  EXPECT_EQ(camera.target(), Vector3(13, 3, 0));
  EXPECT_EQ(camera.eye(), Vector3(0, 0, -10));
}

TEST_F(FollowCameraTest, FlyByPlacesTheEyeThenWaitsThenJumps) {
  Matrix4 m = placed(kYaw, kAt);
  follow.setFollow(FollowCamera::kFlyBy, &m, 20, 0, {0, 0, -1});
  // Placed at once: M((0, 0, -1) x -20) = M((0, 0, 20)) = (20 + 10, 2, -4).
  EXPECT_EQ(camera.eye(), Vector3(30, 2, -4));
  EXPECT_EQ(camera.up(), Vector3(0, 1, 0));
  // 15 units away: within the distance, the eye waits while the target follows.
  m.setTranslation({15, 2, -4});
  follow.update(0.1f);
  EXPECT_EQ(camera.eye(), Vector3(30, 2, -4));
  EXPECT_EQ(camera.target(), Vector3(15, 2, -4));
  m.setTranslation({10, 2, 12});  // 20 x 20 + 16 x 16 > 20 x 20: too far
  follow.update(0.1f);
  EXPECT_EQ(camera.eye(), Vector3(30, 2, 12));
  EXPECT_EQ(camera.target(), Vector3(10, 2, 12));
}

TEST_F(FollowCameraTest, FlyByAtDistanceZeroLeavesTheEye) {
  const Matrix4 m = placed(kYaw, kAt);
  follow.setFollow(FollowCamera::kFlyBy, &m, 0, 0, {0, 0, -1});
  EXPECT_EQ(camera.eye(), Vector3(0, 0, -10));
  follow.update(0.1f);  // |P - eye|^2 > 0: placed again, still without moving
  EXPECT_EQ(camera.eye(), Vector3(0, 0, -10));
  EXPECT_EQ(camera.target(), kAt);
}

TEST_F(FollowCameraTest, SettingTheFollowedObjectPlacesAFlyByEye) {
  const Matrix4 first = placed(kYaw, kAt);
  const Matrix4 second = placed(kYaw, {0, 0, 0});
  follow.setFollow(FollowCamera::kFlyBy, &first, 20, 0, {0, 0, -1});
  follow.setFollowed(&second);
  EXPECT_EQ(camera.eye(), Vector3(20, 0, 0));
  EXPECT_EQ(follow.followed(), &second);
}

TEST_F(FollowCameraTest, RigidKeepsTheUnturnedHeightAndItsDistance) {
  // Pitched: R((0, 0.6, 0.8)) = (0, -0.8, 0.6); its y becomes the unturned 0.6, so v =
  // (0, 0.6, 0.6), normalised (0, 0.7071068, 0.7071068).
  const Matrix4 m = placed(kPitch, kAt);
  follow.setFollow(FollowCamera::kRigid, &m, 8, 0, {0, 0.6f, 0.8f});
  follow.update(0.1f);
  expectNear(camera.eye(), {10, 2 + 5.656854f, -4 + 5.656854f});
  EXPECT_EQ(camera.target(), kAt);
  EXPECT_EQ(camera.up(), Vector3(0, 1, 0));
  // Kind 3 is the same arithmetic; a negative distance puts the eye on the other side.
  follow.setFollow(FollowCamera::kRigidFront, &m, -8, 0, {0, 0.6f, 0.8f});
  follow.update(0.1f);
  expectNear(camera.eye(), {10, 2 - 5.656854f, -4 - 5.656854f});
}

TEST_F(FollowCameraTest, RigidSidewaysTurnsWithTheObject) {
  // Yawed: (1, 0.5, 0) normalised is (0.894427, 0.447214, 0), turned (0, 0.447214, -0.894427).
  const Matrix4 m = placed(kYaw, kAt);
  follow.setFollow(FollowCamera::kRigid, &m, 8, 0, {1, 0.5f, 0});
  follow.update(0.1f);
  expectNear(camera.eye(), {10, 2 + 3.577709f, -4 - 7.155418f});
}

TEST_F(FollowCameraTest, OverheadLooksStraightDownFromJustBehind) {
  const Matrix4 m = placed(kRoll, kAt);
  follow.setFollow(FollowCamera::kOverhead, &m, 20, 0, {0, 1, 0});
  follow.update(0.1f);
  // v = (0, 1, -0.001): normalised (0, 0.9999995, -0.0009999995).
  expectNear(camera.eye(), {10, 2 + 19.99999f, -4 - 0.02f});
  EXPECT_EQ(camera.target(), kAt);
  EXPECT_EQ(camera.up(), Vector3(0, 1, 0));
}

TEST_F(FollowCameraTest, CockpitSitsInTheObjectAndRollsWithIt) {
  // Direction (0, -0.08, 1) normalised: (0, -0.0797468, 0.9968152); x 0.4 = (0, -0.0318987,
  // 0.3987261). Rolled: M(v) = (-v.y + 10, v.x + 2, v.z - 4).
  const Matrix4 m = placed(kRoll, kAt);
  follow.setFollow(FollowCamera::kCockpit, &m, 0.4f, 0, {0, -0.08f, 1});
  follow.update(0.1f);
  expectNear(camera.eye(), {10.0318987f, 2, -3.6012739f});
  // c = (10.0319 + 2 + 3.6013) x 0.33333 = 5.211 < 10: the target is 10 ahead.
  expectNear(camera.target(), {10.797468f, 2, 5.968152f});
  expectNear(camera.up(), {-1, 0, 0});
  // Far from the origin c grows: at (40, 2, -4), c = (40.0319 + 2 + 3.6013) x 0.33333 =
  // 15.2109, and the target is that far ahead.
  const Matrix4 far = placed(kRoll, {40, 2, -4});
  follow.setFollowed(&far);
  follow.update(0.1f);
  expectNear(camera.target(), {40 + 0.0797468f * 15.2109f, 2, 0.9968152f * 15.2109f - 4}, 1e-3f);
}

TEST_F(FollowCameraTest, ChaseClosesAFifthOfTheGapAndCatchesUpFasterWhileBehind) {
  const Matrix4 m = placed(kYaw, kAt);
  follow.setFollow(FollowCamera::kChase, &m, 6, 80, {0, 0, -1});
  EXPECT_EQ(follow.lag(), 80.0f);
  follow.update(0.1f);
  // f = 0.2; goal = M((0, 0, -6)) = (4, 2, -4); eye = (0, 0, -10) + (4, 2, 6) x 0.2.
  expectNear(camera.eye(), {0.8f, 0.4f, -8.8f});
  EXPECT_EQ(camera.target(), kAt);
  // |eye - target|^2 = 84.64 + 2.56 + 23.04 = 110.24: lag = 80 - (110.24 - 36) / 36 x 0.1.
  EXPECT_NEAR(follow.lag(), 79.793778f, 1e-4f);
  EXPECT_EQ(follow.baseLag(), 80.0f);
  follow.update(0.1f);
  // f = 0.2020622: eye += (3.2, 1.6, 4.8) x f.
  expectNear(camera.eye(), {1.446599f, 0.7232995f, -7.830101f});
  EXPECT_EQ(camera.up(), Vector3(0, 1, 0));
}

TEST_F(FollowCameraTest, ChaseLagHundredFreezesAndZeroJumps) {
  const Matrix4 m = placed(kYaw, kAt);
  follow.setFollow(FollowCamera::kChase, &m, 6, 80, {0, 0, -1});
  follow.setLag(100);
  EXPECT_EQ(follow.baseLag(), 100.0f);
  follow.update(0.1f);
  EXPECT_EQ(camera.eye(), Vector3(0, 0, -10));
  // The eye is far behind, so the lag drops below 100 for the next frame.
  EXPECT_LT(follow.lag(), 100.0f);
  follow.setLag(0);
  follow.update(0.1f);
  expectNear(camera.eye(), {4, 2, -4});
  EXPECT_EQ(follow.lag(), 0.0f);  // at the wanted distance: nothing to correct
}

TEST_F(FollowCameraTest, ChaseLagStaysWithinZeroAndHundred) {
  const Matrix4 m = placed(kYaw, kAt);
  follow.setFollow(FollowCamera::kChase, &m, 6, 5, {0, 0, -1});
  camera.setEye(500, 0, 0);
  follow.update(1.0f);  // far behind: the correction exceeds the base lag
  EXPECT_EQ(follow.lag(), 0.0f);
  follow.setFollow(FollowCamera::kChase, &m, 6, 99.9f, {0, 0, -1});
  camera.setEye(kAt);  // on the target: closer than wanted, the lag grows
  follow.update(1.0f);
  EXPECT_EQ(follow.lag(), 100.0f);
  follow.setFollow(FollowCamera::kChase, &m, 0, 50, {0, 0, -1});
  follow.update(0.1f);  // no distance to scale by: the lag is the base lag
  EXPECT_EQ(follow.lag(), 50.0f);
}

TEST_F(FollowCameraTest, ChaseRollBlendsTheUpVector) {
  const Matrix4 m = placed(kRoll, kAt);
  follow.setFollow(FollowCamera::kChaseRoll, &m, 6, 80, {0, 0, -1});
  follow.update(0.1f);
  // R((0, 1, 0)) = (-1, 0, 0); up = (0, 1, 0) + ((-1, 0, 0) - (0, 1, 0)) x 0.2.
  expectNear(camera.up(), {-0.2f, 0.8f, 0});
  // The eye goes toward M((0, 0, -6)) = (10, 2, -10).
  expectNear(camera.eye(), {2, 0.4f, -10});
}

TEST_F(FollowCameraTest, ChaseWorldIgnoresTheObjectsTurn) {
  const Matrix4 m = placed(kYaw, kAt);
  follow.setFollow(FollowCamera::kChaseWorld, &m, 6, 0, {0, 0.4f, -1});
  follow.update(0.1f);
  // (0, 0.4, -1) / 1.077033 x 6 = (0, 2.228344, -5.570860), from the target.
  expectNear(camera.eye(), {10, 2 + 2.228344f, -4 - 5.570860f});
}

TEST_F(FollowCameraTest, SetDirectionDoesNotNormalise) {
  const Matrix4 m = placed(kYaw, kAt);
  follow.setFollow(FollowCamera::kChase, &m, 6, 0, {0, 0, -1});
  follow.setDirection({0, 0.3f, -1});
  EXPECT_EQ(follow.direction(), Vector3(0, 0.3f, -1));
  follow.update(0.1f);
  // M((0, 1.8, -6)) = (-6 + 10, 1.8 + 2, -4).
  expectNear(camera.eye(), {4, 3.8f, -4});
}

TEST_F(FollowCameraTest, UpdatesMarkTheViewMatrixForRecomputation) {
  const Matrix4 m = placed(kYaw, kAt);
  const Matrix4 before = camera.viewMatrix();
  follow.setFollow(FollowCamera::kChase, &m, 6, 0, {0, 0, -1});
  follow.update(0.1f);
  const Matrix4 after = camera.viewMatrix();
  EXPECT_NE(after, before);
  EXPECT_EQ(after, Matrix4::lookAt(camera.eye(), camera.target(), camera.up(), true));
}

}  // namespace
