#include <cstdio>
#include <cstdlib>
#include <string>

#include "Commands.h"
#include "ToolMessages.h"
#include "engine3d/Model3dsLoader.h"

namespace inspect {

namespace {

std::string mapName(const std::string& name) {
  return name.empty() ? "-" : name;
}

void printVector(const char* label, const engine3d::Vector3& v) {
  std::printf("  %-5s (%.4f, %.4f, %.4f)\n", label, v.x, v.y, v.z);
}

int info(const std::string& file, float radius) {
  // Split as the program would name the model: a folder and a file name in it.
  const size_t cut = file.find_last_of("\\/");
  const std::string folder = cut == std::string::npos ? "." : file.substr(0, cut + 1);
  const std::string name = cut == std::string::npos ? file : file.substr(cut + 1);

  ToolMessages messages;
  engine3d::ModelLoadOptions options;
  options.quietWhenMissing = true;
  // Maps are listed by name; the pictures themselves are not decoded here.
  options.messages = messages.modelSink();
  std::unique_ptr<engine3d::Group3D> model =
      engine3d::loadModel3ds(folder, name, radius, {}, options);
  if (!model) return messages.any() ? messages.finish() : fail("cannot read 3DS model " + file);

  std::printf("model %s\n", file.c_str());
  std::printf("objects: %zu (%d vertices, %d faces)\n", model->meshes().size(),
              model->vertexCount(), model->faceCount());
  for (const auto& mesh : model->meshes())
    std::printf("  %-30s vertices %6d  faces %6d  material %s\n", mesh->name.c_str(),
                mesh->vertexCount(), mesh->faceCount(),
                mesh->material ? mesh->material->name.c_str() : "(default)");
  std::printf("materials: %zu\n", model->materials().size());
  for (const engine3d::Material* m : model->materials()) {
    std::printf("  %-30s colour 0x%06X  self-illumination 0x%06X  transparency %d  specular %d",
                m->name.c_str(), m->colour & 0xFFFFFFu, m->selfIllumination & 0xFFFFFFu,
                m->transparency, m->specularLevel);
    if (m->flat) std::printf("  flat");
    if (m->twoSided) std::printf("  two-sided");
    if (m->wire) std::printf("  wire");
    std::printf("\n      texture %s  opacity %s  reflection %s\n", mapName(m->textureName).c_str(),
                mapName(m->opacityMapName).c_str(), mapName(m->reflectionMapName).c_str());
  }
  engine3d::Vector3 min, max;
  std::printf("bounds after normalising to radius %g:\n", radius);
  if (model->boundingBox(min, max)) {
    printVector("min", min);
    printVector("max", max);
    printVector("size", max - min);
  } else {
    std::printf("  (no vertices)\n");
  }
  // A model cut off still lists what could be read; the tool says it is damaged all the same.
  return messages.finish();
}

}  // namespace

int modelCommand(const Args& args) {
  if ((args.size() == 2 || args.size() == 3) && args[0] == "info") {
    float radius = 1.0f;
    if (args.size() == 3) {
      char* end = nullptr;
      radius = std::strtof(args[2].c_str(), &end);
      if (end == args[2].c_str() || *end != '\0' || !(radius > 0.0f))
        return fail("RADIUS must be a number greater than 0", 2);
    }
    return info(args[1], radius);
  }
  return fail("usage: skirrow-tool model info FILE.3ds [RADIUS]", 2);
}

}  // namespace inspect
