// A headless host with the OpenGL ES driver registered, a canvas window to draw into and the
// scenes the driver's tests draw. GL runs on Mesa's surfaceless platform (no X server).
#pragma once

#include <gtest/gtest.h>

#include <GLES/gl.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "GlRecorder.h"
#include "engine3d/FixedPoint.h"
#include "engine3d/Material.h"
#include "engine3d/Mesh.h"
#include "engine3d/Primitives.h"
#include "engine3d/RendererDrivers.h"
#include "engine3d/StandaloneScene.h"
#include "engine3d/SurfaceTexture.h"
#include "engine3d/gles/GlesDriver.h"
#include "engine3d/gles/GlesRenderer.h"
#include "host/Host.h"
#include "host/Messages.h"
#include "host/Png.h"
#include "host/Screen.h"
#include "host/WindowManager.h"
#include "support/HeadlessHost.h"

namespace engine3d::testing {

class GlesTest : public testing_support::HeadlessHostTest {
 protected:
  void SetUp() override {
    HeadlessHostTest::SetUp();
    drivers.add(kRendererGles, glesDriver(1));
    GlRecorder::get().clear();
    GlRecorder::get().version.reset();
    GlRecorder::get().vendor.reset();
  }
  // The OpenGL ES driver as the Common build offers it; a test may replace it.
  RendererDrivers drivers;

  // A visible top-level window of `width` x `height` at (x, y) on the device screen.
  host::Hwnd makeWindow(int x, int y, int width, int height) {
    if (!wm().isClassRegistered("GlesTestCanvas")) {
      host::WindowClass windowClass;
      windowClass.name = "GlesTestCanvas";
      windowClass.proc = [](host::Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
        return host::Host::get().windows().defWindowProc(w, m, wp, lp);
      };
      wm().registerClass(windowClass);
    }
    return wm().createWindow(0, "GlesTestCanvas", "canvas", host::WS_POPUP | host::WS_VISIBLE, x, y,
                             width, height, 0, 0, nullptr);
  }

  // The device screen's pixels in `area` as 8-bit RGB (565 widened by bit replication).
  static host::RgbImage screenPicture(int left, int top, int width, int height) {
    host::Screen& screen = host::Host::get().screen();
    host::RgbImage image{width, height, {}};
    for (int y = top; y < top + height; ++y)
      for (int x = left; x < left + width; ++x) {
        const std::uint16_t p = screen.pixels()[y * screen.width() + x];
        image.rgb.push_back(static_cast<std::uint8_t>(host::red565(p)));
        image.rgb.push_back(static_cast<std::uint8_t>(host::green565(p)));
        image.rgb.push_back(static_cast<std::uint8_t>(host::blue565(p)));
      }
    return image;
  }

  static GlesRenderer& gles(StandaloneScene& scene) {
    return dynamic_cast<GlesRenderer&>(scene.draw());
  }
};

// A checker of two colours, `cells` x `cells` squares over `size` pixels, in the red-low layout
// the driver uploads.
inline std::shared_ptr<SurfaceTexture> checker(int size, int cells, Colour a, Colour b) {
  std::vector<std::uint32_t> rgb(static_cast<std::size_t>(size) * size);
  const int cell = size / cells;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) rgb[y * size + x] = ((x / cell + y / cell) % 2) ? a : b;
  return std::make_shared<SurfaceTexture>(size, size, SurfaceTexture::fromRgb(rgb));
}

// One group with one mesh: a quad of side 2 * half in the plane z = 0, seen from -z (where the
// cameras of these tests stand), with material `material` (owned by the group). Texture
// coordinates run 0..1. The engine's faces are wound so that their normals, (B - A) x (C - B),
// point away from the side they are seen from (+z here), as the model loader's faces are.
inline std::unique_ptr<Group3D> quad(float half, std::unique_ptr<Material> material,
                                     const Vector3& at) {
  auto group = std::make_unique<Group3D>();
  auto mesh = std::make_unique<Mesh>();
  mesh->addVertex(-half, -half, 0, 0, fixedOne);
  mesh->addVertex(half, -half, 0, fixedOne, fixedOne);
  mesh->addVertex(half, half, 0, fixedOne, 0);
  mesh->addVertex(-half, half, 0, 0, 0);
  mesh->addFace(0, 1, 2);
  mesh->addFace(0, 2, 3);
  Material* m = group->addMaterial("mat", std::move(material));
  mesh->material = m;
  group->addMesh("quad", std::move(mesh));
  group->localMatrix.setTranslation(at);
  group->cullingPolicy = kCullNever;
  return group;
}

// A floor of cells x cells squares, `size` wide and deep, centred on the origin in the plane
// y = 0 and seen from above (normals down, into it). Per-vertex fog and lighting need the
// small squares: GL interpolates them linearly across each triangle.
inline std::unique_ptr<Group3D> grid(int cells, float size, std::unique_ptr<Material> material) {
  auto group = std::make_unique<Group3D>();
  auto mesh = std::make_unique<Mesh>();
  const float step = size / static_cast<float>(cells);
  for (int j = 0; j <= cells; ++j)
    for (int i = 0; i <= cells; ++i)
      mesh->addVertex(-size / 2 + step * static_cast<float>(i), 0.0f,
                      -size / 2 + step * static_cast<float>(j), i * fixedOne / 2, j * fixedOne / 2);
  const int row = cells + 1;
  for (int j = 0; j < cells; ++j)
    for (int i = 0; i < cells; ++i) {
      const int a = j * row + i;
      mesh->addFace(a, a + 1, a + row + 1);
      mesh->addFace(a, a + row + 1, a + row);
    }
  mesh->material = group->addMaterial("mat", std::move(material));
  group->addMesh("grid", std::move(mesh));
  group->cullingPolicy = kCullNever;
  return group;
}

inline std::unique_ptr<Material> plainMaterial(Colour colour, int mode, int transparency = 0) {
  auto m = std::make_unique<Material>();
  m->colour = colour;
  m->shadingMode = mode;
  m->transparency = transparency;
  m->twoSided = true;
  return m;
}

// The reference scene: a lit, textured box turned towards the camera on a fogged, textured
// floor, with a half-transparent red pane in front. The camera sits at (0, 3, -12) looking at
// (0, 0, 0).
inline void buildReferenceScene(StandaloneScene& scene) {
  scene.background = 0x203050;
  scene.ambientColour = 0x303030;
  // Light directions are the way the light travels: down, to the right and away.
  scene.lights.push_back(Light::make("sun", Vector3(0.4f, -1.0f, 0.6f), 0xFFFFFF));
  scene.hasFog = true;
  scene.fogSettings.front = 12;
  scene.fogSettings.back = 30;
  scene.fogSettings.colour = 0x203050;

  auto box = Box3D::create(1, 1, 1, 2.0f, checker(64, 4, 0xFFD040, 0x4080FF), nullptr);
  box->setFlat(false);
  box->setDetailLevel(kShadingSpecular);
  box->setSpecularLevel(60);
  box->localMatrix = Matrix4::rotationY(0.6f) * Matrix4::rotationX(0.3f);
  box->localMatrix.setTranslation(Vector3(0, 0, 0));
  box->cullingPolicy = kCullNever;
  scene.add(std::move(box));

  auto floorMaterial = std::make_unique<Material>();
  floorMaterial->attachTexture(checker(64, 8, 0x30A030, 0xE0E0E0));
  floorMaterial->shadingMode = kShadingLit;
  floorMaterial->twoSided = true;
  auto floor = grid(24, 48.0f, std::move(floorMaterial));
  floor->localMatrix.setTranslation(Vector3(0, -2.5f, 14));
  scene.add(std::move(floor));

  scene.add(quad(1.5f, plainMaterial(0xFF2020, kShadingUnlitTransparent, 128),
                 Vector3(-2.5f, 0.5f, -3.0f)));
}

inline void aimCamera(StandaloneScene& scene) {
  scene.cam().setEye(0, 3, -12);
  scene.cam().setTarget(0, 0, 0);
}

}  // namespace engine3d::testing
