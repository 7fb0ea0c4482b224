// The alpha routines and texture upload of the OpenGL ES driver.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "GlesFixture.h"
#include "engine3d/SurfaceTexture.h"
#include "engine3d/gles/GlesTextures.h"

namespace engine3d::testing {
namespace {

std::uint32_t alphaOf(std::uint32_t p) {
  return p >> 24;
}

TEST(GlesAlphaChannel, TextureOnlySetsEveryAlphaToTheLevelAndKeepsColours) {
  SurfaceTexture t(2, 2, {0x00112233, 0x00445566, 0xAA778899, 0x00000000});
  setAlphaChannel(t.texturePixels(), nullptr, 77, kNoKey, true);
  for (std::uint32_t p : t.pixels()) EXPECT_EQ(alphaOf(p), 77u);
  EXPECT_EQ(t.pixels()[0] & 0xFFFFFF, 0x112233u);
  EXPECT_EQ(t.pixels()[2] & 0xFFFFFF, 0x778899u);
  EXPECT_FALSE(t.texturePixels()->opaque);
}

TEST(GlesAlphaChannel, NothingChangesOnceUploadedOrBelow32Bits) {
  SurfaceTexture t(1, 1, {0x00123456});
  t.texturePixels()->uploaded = true;
  setAlphaChannel(t.texturePixels(), nullptr, 10, kNoKey, true);
  EXPECT_EQ(t.pixels()[0], 0x00123456u);
  EXPECT_TRUE(t.texturePixels()->opaque);

  SurfaceTexture sixteen(1, 1, {0x00123456});
  sixteen.texturePixels()->bitsPerPixel = 16;
  setAlphaChannel(sixteen.texturePixels(), nullptr, 10, kNoKey, true);
  EXPECT_EQ(sixteen.pixels()[0], 0x00123456u);
}

TEST(GlesAlphaChannel, OpacityMapOnlyBecomesLuminanceAlphaAtHalfTheStride) {
  // 2 x 2 map: white, black, grey 120, (30, 60, 90) -> grey 60.
  SurfaceTexture map(2, 2, {0x00FFFFFF, 0x00000000, 0x00787878, 0x005A3C1E});
  setAlphaChannel(nullptr, map.texturePixels(), 0, kNoKey, true);
  const auto* la = reinterpret_cast<const std::uint16_t*>(map.texturePixels()->bits);
  // Row 0 at offset 0, row 1 at stride / 2 = 4 bytes = two 16-bit values: packed.
  // alpha = 255 - (grey * 255 >> 8): white 255 - 254 = 1, black 255, 120 -> 136, 60 -> 196.
  EXPECT_EQ(la[0], 1 << 8);
  EXPECT_EQ(la[1], 255 << 8);
  EXPECT_EQ(la[2], 136 << 8);
  EXPECT_EQ(la[3], 196 << 8);
  EXPECT_FALSE(map.texturePixels()->opaque);

  // The level lowers the opacity range: level 128 -> 255 - (255 * 127 >> 8) = 129 for white.
  SurfaceTexture second(1, 1, {0x00FFFFFF});
  setAlphaChannel(nullptr, second.texturePixels(), 128, kNoKey, true);
  EXPECT_EQ(*reinterpret_cast<const std::uint16_t*>(second.texturePixels()->bits), 129 << 8);
}

TEST(GlesAlphaChannel, BothWithKeyMarksKeyPixelsTransparentInRedLowOrder) {
  SurfaceTexture texture(2, 1, {0x00010203, 0x00040506});
  // Map in red-low order: the key 0xFF0000 (red) is stored as 0x0000FF.
  SurfaceTexture map(2, 1, {0x000000FF, 0x00FF0000});
  setAlphaChannel(texture.texturePixels(), map.texturePixels(), 0, 0xFF0000, true);
  EXPECT_EQ(texture.pixels()[0], 0xFF010203u);
  EXPECT_EQ(texture.pixels()[1], 0x00040506u);
  EXPECT_FALSE(texture.texturePixels()->opaque);

  // Without the swap the key is compared as given.
  SurfaceTexture plain(2, 1, {0x00010203, 0x00040506});
  setAlphaChannel(plain.texturePixels(), map.texturePixels(), 0, 0xFF0000, false);
  EXPECT_EQ(alphaOf(plain.pixels()[0]), 0u);
  EXPECT_EQ(alphaOf(plain.pixels()[1]), 255u);
}

TEST(GlesAlphaChannel, ColourKeyedPictureIsItsOwnOpacityMap) {
  SurfaceTexture t(3, 1, {0x00FF00FF, 0x00123456, 0x00FF00FF});
  setAlphaChannel(t.texturePixels(), t.texturePixels(), 0, 0xFF00FF, true);
  EXPECT_EQ(t.pixels()[0], 0xFFFF00FFu);
  EXPECT_EQ(t.pixels()[1], 0x00123456u);
  EXPECT_EQ(t.pixels()[2], 0xFFFF00FFu);
}

TEST(GlesAlphaChannel, BothWithoutKeyTakesTransparencyFromTheMapBrightness) {
  SurfaceTexture texture(3, 1, {0x00AAAAAA, 0x00BBBBBB, 0x00CCCCCC});
  SurfaceTexture map(3, 1, {0x00FFFFFF, 0x00000000, 0x00808080});
  setAlphaChannel(texture.texturePixels(), map.texturePixels(), 0, kNoKey, true);
  EXPECT_EQ(alphaOf(texture.pixels()[0]), 1u);    // white: opaque (almost)
  EXPECT_EQ(alphaOf(texture.pixels()[1]), 255u);  // black: transparent
  EXPECT_EQ(alphaOf(texture.pixels()[2]), 128u);  // 255 - (128 * 255 >> 8) = 128
  EXPECT_EQ(texture.pixels()[0] & 0xFFFFFF, 0xAAAAAAu);
}

TEST(GlesAlphaChannel, BothOfDifferentSizesWritesNothing) {
  SurfaceTexture texture(2, 1, {0x00111111, 0x00222222});
  SurfaceTexture map(1, 1, {0x00FFFFFF});
  setAlphaChannel(texture.texturePixels(), map.texturePixels(), 0, kNoKey, true);
  EXPECT_EQ(texture.pixels()[0], 0x00111111u);
  EXPECT_EQ(texture.pixels()[1], 0x00222222u);
}

TEST(GlesKeyToAlpha, NonKeyPixelsAreSwappedAndOpaqueKeyPixelsKeptAndTransparent) {
  SurfaceTexture s(3, 1, {0x00112233, 0xAA00FF00, 0x00445566});
  keyToAlpha(*s.texturePixels(), 0x0000FF00);
  EXPECT_EQ(s.pixels()[0], 0x00332211u);
  EXPECT_EQ(s.pixels()[1], 0xFF00FF00u);  // key: colour kept, alpha 255
  EXPECT_EQ(s.pixels()[2], 0x00665544u);
}

TEST(GlesKeyToAlpha, LeavesOtherDepthsAlone) {
  SurfaceTexture s(1, 1, {0x00112233});
  s.texturePixels()->bitsPerPixel = 16;
  keyToAlpha(*s.texturePixels(), 0);
  EXPECT_EQ(s.pixels()[0], 0x00112233u);
}

TEST(GlesTextureNames, AreUniqueAndStayFixed) {
  SurfaceTexture a(1, 1);
  SurfaceTexture b(1, 1);
  const std::uint32_t name = a.texturePixels()->name;
  EXPECT_NE(name, 0u);
  EXPECT_NE(name, b.texturePixels()->name);
  a.setPixels({0x00FFFFFF});
  EXPECT_EQ(a.texturePixels()->name, name);
}

TEST(GlesTexturePixels, InMemoryPicturesAreHandedOverRedLowAndOpaque) {
  PixelTexture picture(2, 1, {0x00112233, 0x00AABBCC});
  TexturePixels* pixels = picture.texturePixels();
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(pixels->width, 2);
  EXPECT_EQ(pixels->stride, 8);
  EXPECT_EQ(pixels->bitsPerPixel, 32);
  const auto* words = reinterpret_cast<const std::uint32_t*>(pixels->bits);
  EXPECT_EQ(words[0], 0x00332211u);
  EXPECT_EQ(words[1], 0x00CCBBAAu);
  // The copy is made once: a driver's alpha and upload flag stay with it.
  pixels->uploaded = true;
  EXPECT_EQ(picture.texturePixels(), pixels);
  EXPECT_TRUE(picture.texturePixels()->uploaded);
  EXPECT_EQ(picture.texels()[0], 0x00112233u);  // the software renderer's texels are unchanged
  EXPECT_EQ(PixelTexture(0, 0).texturePixels(), nullptr);
}

using GlesUploadTest = GlesTest;

TEST_F(GlesUploadTest, UploadsOnceAndThenOnlyBinds) {
  StandaloneScene scene(64, 64);
  scene.windowHandle = makeWindow(0, 0, 64, 64);
  ASSERT_TRUE(scene.setUp(drivers, kRendererGles));
  SurfaceTexture t(4, 4);
  GlRecorder::get().clear();
  uploadTexture(t.texturePixels(), GL_RGBA, GL_RGBA, GL_UNSIGNED_BYTE, false);
  uploadTexture(t.texturePixels(), GL_RGBA, GL_RGBA, GL_UNSIGNED_BYTE, false);
  EXPECT_EQ(GlRecorder::get().count("glTexImage2D"), 1);
  EXPECT_EQ(GlRecorder::get().count("glBindTexture"), 2);
  EXPECT_TRUE(GlRecorder::get().called("glBindTexture", {GL_TEXTURE_2D, t.texturePixels()->name}));
  EXPECT_TRUE(t.texturePixels()->uploaded);
  GLint filter = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
  EXPECT_EQ(filter, GL_NEAREST);

  // Releasing deletes the GL texture; the next use uploads again, here with linear filtering.
  gles(scene).releaseTexture(*t.texturePixels());
  EXPECT_FALSE(t.texturePixels()->uploaded);
  EXPECT_EQ(glIsTexture(t.texturePixels()->name), GL_FALSE);
  uploadTexture(t.texturePixels(), GL_RGBA, GL_RGBA, GL_UNSIGNED_BYTE, true);
  EXPECT_EQ(GlRecorder::get().count("glTexImage2D"), 2);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
  EXPECT_EQ(filter, GL_LINEAR);
}

using GlesUploadDeathTest = GlesTest;

TEST_F(GlesUploadDeathTest, A16BitPictureEndsTheProcessWithTheMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        SurfaceTexture t(2, 2);
        t.texturePixels()->bitsPerPixel = 16;
        uploadTexture(t.texturePixels(), GL_RGBA, GL_RGBA, GL_UNSIGNED_BYTE, false);
      },
      ::testing::ExitedWithCode(1), "OpenGL Requires 32-bit pixamap\\.");
}

}  // namespace
}  // namespace engine3d::testing
