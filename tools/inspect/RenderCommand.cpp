// skirrow-tool render: draws a 3DS model with one of the program's renderers into a PNG, so
// content authors see a model as the game will show it.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "ToolMessages.h"
#include "engine3d/Colour.h"
#include "engine3d/Group3D.h"
#include "engine3d/Light.h"
#include "engine3d/Model3dsLoader.h"
#include "engine3d/SceneView.h"
#include "engine3d/gles/GlesPicture.h"
#include "engine3d/soft/SoftCamera.h"
#include "engine3d/soft/VexagraphRenderer.h"
#include "host/Host.h"
#include "host/Png.h"
#include "host/Screen.h"
#include "media/Image.h"
#include "media/ImageMessages.h"
#include "media/ImageTexture.h"
#include "media/PixelFormat.h"
#include "media/Runtime.h"

namespace inspect {

namespace {

constexpr const char* kUsage =
    "usage: skirrow-tool render FILE.3ds OUT.png [--renderer soft|gles] [--size WxH] "
    "[--eye x,y,z] [--target x,y,z] [--depth 16|32]";

constexpr engine3d::Colour kBackground = 0x203040;
constexpr engine3d::Colour kAmbient = 0x404040;
// The lens of both renderers: a model normalised to radius 1 can be looked at from inside, so
// the near plane sits a tenth of the radius from the eye.
constexpr float kFov = 45.0f;
constexpr float kNear = 0.1f;
constexpr float kFar = 10000.0f;

// The one light both renderers get: white, from above, front and right.
engine3d::Light keyLight() {
  return engine3d::Light::make("key", engine3d::Vector3(0.4f, -1.0f, 0.6f), 0xFFFFFF);
}

// One loaded model, a light and a camera, drawn into a pixel buffer of the chosen depth.
class ModelScene : public engine3d::SceneView {
 public:
  ModelScene(std::unique_ptr<engine3d::Group3D> model, int width, int height, int bits)
      : model_(std::move(model)), width_(width), height_(height), bits_(bits) {
    pixels_.assign(static_cast<std::size_t>(width) * height * static_cast<std::size_t>(bits / 8),
                   0);
    camera_ = std::make_unique<engine3d::SoftCamera>(this, 0);
    camera_->setViewport(width, height);
    camera_->setPerspective(kFov, kNear, kFar);
    light_ = keyLight();
    model_->cullingPolicy = engine3d::kCullNever;
  }

  int groupCount() const override { return 1; }
  engine3d::Group3D* group(int) const override { return model_.get(); }
  engine3d::Camera* camera() const override { return camera_.get(); }
  int width() const override { return width_; }
  int height() const override { return height_; }
  engine3d::Colour ambient() const override { return kAmbient; }
  int lightCount() const override { return 1; }
  const engine3d::Light* light(int) const override { return &light_; }
  engine3d::PixelTarget drawTarget() const override {
    return {const_cast<std::uint8_t*>(pixels_.data()), width_, height_, width_ * bits_ / 8, bits_};
  }
  void drawBackgroundStep() override {
    for (int i = 0; i < width_ * height_; ++i) {
      if (bits_ == 32)
        reinterpret_cast<std::uint32_t*>(pixels_.data())[i] = kBackground;
      else
        reinterpret_cast<std::uint16_t*>(pixels_.data())[i] =
            static_cast<std::uint16_t>(engine3d::toRgb565(kBackground));
    }
  }

  engine3d::SoftCamera& cam() { return *camera_; }

  host::RgbImage picture() const {
    host::RgbImage image{width_, height_, {}};
    image.rgb.reserve(static_cast<std::size_t>(width_) * height_ * 3);
    for (int i = 0; i < width_ * height_; ++i) {
      if (bits_ == 32) {
        const std::uint32_t c = reinterpret_cast<const std::uint32_t*>(pixels_.data())[i];
        image.rgb.push_back(static_cast<std::uint8_t>(c >> 16));
        image.rgb.push_back(static_cast<std::uint8_t>(c >> 8));
        image.rgb.push_back(static_cast<std::uint8_t>(c));
      } else {
        const std::uint16_t p = reinterpret_cast<const std::uint16_t*>(pixels_.data())[i];
        image.rgb.push_back(static_cast<std::uint8_t>(host::red565(p)));
        image.rgb.push_back(static_cast<std::uint8_t>(host::green565(p)));
        image.rgb.push_back(static_cast<std::uint8_t>(host::blue565(p)));
      }
    }
    return image;
  }

 private:
  std::unique_ptr<engine3d::Group3D> model_;
  int width_, height_, bits_;
  std::vector<std::uint8_t> pixels_;
  std::unique_ptr<engine3d::SoftCamera> camera_;
  engine3d::Light light_;
};

bool parseVector(const std::string& text, engine3d::Vector3& out) {
  float v[3];
  const char* p = text.c_str();
  for (int i = 0; i < 3; ++i) {
    char* end = nullptr;
    v[i] = std::strtof(p, &end);
    if (end == p) return false;
    p = end;
    if (i < 2) {
      if (*p != ',') return false;
      ++p;
    }
  }
  if (*p != '\0') return false;
  out = engine3d::Vector3(v[0], v[1], v[2]);
  return true;
}

bool parseSize(const std::string& text, int& width, int& height) {
  char* end = nullptr;
  const long w = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || (*end != 'x' && *end != 'X')) return false;
  const char* rest = end + 1;
  const long h = std::strtol(rest, &end, 10);
  if (end == rest || *end != '\0') return false;
  if (w < 1 || h < 1 || w > 4096 || h > 4096) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

}  // namespace

int renderCommand(const Args& args) {
  std::vector<std::string> positional;
  std::string renderer = "soft";
  int width = 240, height = 320, bits = 32;
  engine3d::Vector3 eye(0.0f, 1.2f, -3.5f), target(0.0f, 0.0f, 0.0f);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.rfind("--", 0) != 0) {
      positional.push_back(a);
      continue;
    }
    if (i + 1 >= args.size()) return fail(kUsage, 2);
    const std::string& value = args[++i];
    if (a == "--renderer") {
      renderer = value;
    } else if (a == "--size") {
      if (!parseSize(value, width, height)) return fail("--size must be WxH, e.g. 240x320", 2);
    } else if (a == "--eye") {
      if (!parseVector(value, eye)) return fail("--eye must be x,y,z", 2);
    } else if (a == "--target") {
      if (!parseVector(value, target)) return fail("--target must be x,y,z", 2);
    } else if (a == "--depth") {
      if (value != "16" && value != "32") return fail("--depth must be 16 or 32", 2);
      bits = value == "16" ? 16 : 32;
    } else {
      return fail(kUsage, 2);
    }
  }
  if (positional.size() != 2) return fail(kUsage, 2);
  if (renderer != "soft" && renderer != "gles") return fail("--renderer must be soft or gles", 2);

  // Pictures decode into platform bitmaps: a headless host runs for the length of the command.
  host::HostConfig config = host::configFromEnvironment();
  config.backend = host::BackendKind::Headless;
  config.scriptPath.clear();
  host::Host::restart(config);
  struct HostEnd {
    ~HostEnd() { host::Host::shutdown(); }
  } hostEnd;
  ToolMessages messages;
  media::setUseDeviceDepth(false);
  // The model's pictures are shared as a page's are; they go with the runtime, before the host.
  media::Runtime runtime;

  const std::string& file = positional[0];
  const std::size_t cut = file.find_last_of("\\/");
  const std::string folder = cut == std::string::npos ? "." : file.substr(0, cut + 1);
  const std::string name = cut == std::string::npos ? file : file.substr(cut + 1);
  engine3d::ModelLoadOptions options;
  options.quietWhenMissing = true;
  options.textures = runtime.textures().loader();
  options.messages = messages.modelSink();
  std::unique_ptr<engine3d::Group3D> model =
      engine3d::loadModel3ds(folder, name, 1.0f, {}, options);
  if (!model) return messages.any() ? messages.finish() : fail("cannot read 3DS model " + file);
  if (renderer == "gles") {
    // The OpenGL ES driver draws 32-bit pictures only; --depth does not apply.
    engine3d::GlesPictureRequest request;
    request.width = width;
    request.height = height;
    request.eye = eye;
    request.target = target;
    request.fov = kFov;
    request.near = kNear;
    request.far = kFar;
    request.background = kBackground;
    request.ambient = kAmbient;
    request.lights.push_back(keyLight());
    model->cullingPolicy = engine3d::kCullNever;
    std::vector<std::unique_ptr<engine3d::Group3D>> groups;
    groups.push_back(std::move(model));
    std::optional<host::RgbImage> picture = engine3d::renderGlesPicture(request, std::move(groups));
    if (!picture) return fail("cannot draw with OpenGL ES");
    if (!host::writePng(positional[1], *picture)) return fail("cannot write " + positional[1]);
    std::printf("%s: %dx%d, 32 bits, OpenGL ES\n", positional[1].c_str(), width, height);
    return messages.finish();
  }
  model->prepare(true);

  ModelScene scene(std::move(model), width, height, bits);
  scene.cam().setEye(eye);
  scene.cam().setTarget(target);
  engine3d::VexagraphRenderer soft(&scene);
  soft.renderScene(0.0f);
  if (!host::writePng(positional[1], scene.picture())) return fail("cannot write " + positional[1]);
  std::printf("%s: %dx%d, %d bits, %d triangles drawn\n", positional[1].c_str(), width, height,
              bits, soft.statistics().trianglesDrawn);
  // A missing map or a model cut off still draws; the program would have said so.
  return messages.finish();
}

}  // namespace inspect
