// Fuzzes the 3DS model reader and what the engine then does with a model: normalising,
// preparing normals and bounds, index arrays and cloning.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine3d/Model3dsLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  engine3d::ModelLoadOptions options;
  options.messages = [](const engine3d::UserMessage&) {};
  // Every map is a small picture whose size depends on its name, so texture and opacity maps
  // of different sizes meet.
  options.textures = [](const engine3d::TextureRequest& request) {
    const int side = 1 << (request.name.size() % 4);
    return std::make_shared<engine3d::PixelTexture>(side, side);
  };
  const engine3d::NameFilter filter{std::string("body;rotor1"), std::string("shadow")};
  std::unique_ptr<engine3d::Group3D> model =
      engine3d::parseModel3ds(data, size, "maps/", 2.0f, filter, options);
  if (!model) return 0;
  std::unique_ptr<engine3d::Group3D> copy = model->clone();
  model.reset();
  copy->normalize(5.0f);
  copy->prepare(true);
  copy->buildIndexArrays();
  return 0;
}
