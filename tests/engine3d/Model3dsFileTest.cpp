// The 3DS loader against files written by lib3ds, an exporter we did not write.
#include <gtest/gtest.h>

#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>

#include <cstring>

#include "engine3d/Model3dsLoader.h"
#include "engine3d/ModelCache.h"
#include "support/TempFolder.h"

namespace engine3d {
namespace {

void copyName(char* out, const char* name) {
  std::strncpy(out, name, 63);
  out[63] = '\0';
}

Lib3dsMaterial* addMaterial(Lib3dsFile* file, const char* name, float r, float g, float b) {
  Lib3dsMaterial* m = lib3ds_material_new();
  copyName(m->name, name);
  m->diffuse[0] = r;
  m->diffuse[1] = g;
  m->diffuse[2] = b;
  lib3ds_file_insert_material(file, m);
  return m;
}

// A mesh from file-space points and faces, every face using `material` ("" for none).
Lib3dsMesh* addMesh(Lib3dsFile* file, const char* name, const std::vector<float>& xyz,
                    const std::vector<int>& faces, const char* material,
                    const std::vector<float>& uv = {}) {
  Lib3dsMesh* mesh = lib3ds_mesh_new(name);
  const auto points = static_cast<Lib3dsDword>(xyz.size() / 3);
  lib3ds_mesh_new_point_list(mesh, points);
  for (Lib3dsDword i = 0; i < points; ++i)
    for (int k = 0; k < 3; ++k) mesh->pointL[i].pos[k] = xyz[i * 3 + k];
  const auto count = static_cast<Lib3dsDword>(faces.size() / 3);
  lib3ds_mesh_new_face_list(mesh, count);
  for (Lib3dsDword i = 0; i < count; ++i) {
    for (int k = 0; k < 3; ++k)
      mesh->faceL[i].points[k] = static_cast<Lib3dsWord>(faces[i * 3 + k]);
    copyName(mesh->faceL[i].material, material);
  }
  if (!uv.empty()) {
    lib3ds_mesh_new_texel_list(mesh, static_cast<Lib3dsDword>(uv.size() / 2));
    for (size_t i = 0; i < uv.size() / 2; ++i) {
      mesh->texelL[i][0] = uv[i * 2];
      mesh->texelL[i][1] = uv[i * 2 + 1];
    }
  }
  lib3ds_file_insert_mesh(file, mesh);
  return mesh;
}

void addNode(Lib3dsFile* file, const char* name, Lib3dsWord id) {
  Lib3dsNode* node = lib3ds_node_new_object();
  copyName(node->name, name);
  node->node_id = id;
  node->parent_id = LIB3DS_NO_PARENT;
  lib3ds_file_insert_node(file, node);
}

// A small helicopter: a textured body, a transparent rotor, a ground plane without material.
void writeHelicopter(const std::string& path) {
  Lib3dsFile* file = lib3ds_file_new();
  Lib3dsMaterial* paint = addMaterial(file, "paint", 200 / 255.0f, 100 / 255.0f, 50 / 255.0f);
  copyName(paint->texture1_map.name, "skin.gif");
  paint->texture1_map.percent = 1.0f;
  paint->shading = LIB3DS_FLAT;
  paint->two_sided = LIB3DS_TRUE;
  Lib3dsMaterial* glass = addMaterial(file, "glass", 0.2f, 0.4f, 0.6f);
  glass->transparency = 0.5f;
  glass->shin_strength = 0.2f;
  glass->use_wire = LIB3DS_TRUE;
  copyName(glass->opacity_map.name, "glassmask.gif");
  glass->shading = LIB3DS_GOURAUD;
  // Body: a tetrahedron. File (1, 2, 3) is the first point.
  addMesh(file, "body", {1, 2, 3, -1, 0, 0, 0, -1, 0, 0, 0, 4},
          {0, 1, 2, 0, 2, 3, 0, 3, 1, 1, 3, 2}, "paint", {0.25f, 0.75f, 0, 0, 1, 0, 0, 1});
  addMesh(file, "rotor1", {-3, -3, 4, 3, -3, 4, 3, 3, 4, -3, 3, 4}, {0, 1, 2, 0, 2, 3}, "glass");
  addMesh(file, "ground", {-5, -5, -1, 5, -5, -1, 5, 5, -1}, {0, 1, 2}, "");
  addNode(file, "body", 0);
  addNode(file, "rotor1", 1);
  ASSERT_TRUE(lib3ds_file_save(file, path.c_str()));
  lib3ds_file_free(file);
}

struct Recorder {
  std::vector<UserMessage> messages;
  std::vector<TextureRequest> requests;
  ModelLoadOptions options() {
    ModelLoadOptions o;
    o.messages = [this](const UserMessage& m) { messages.push_back(m); };
    o.textures = [this](const TextureRequest& r) -> std::shared_ptr<Texture> {
      requests.push_back(r);
      return std::make_shared<PixelTexture>(32, 32);
    };
    return o;
  }
};

TEST(Model3dsFile, ObjectsMaterialsAndMapsOfAnExportedModel) {
  testing_support::TempFolder dir;
  writeHelicopter(dir.write("models/heli.3ds", ""));
  Recorder recorder;
  // The model name carries a sub-folder and a leading separator; maps come from that folder.
  auto group = loadModel3ds(dir.path(), "\\models\\heli.3ds", 0, {}, recorder.options());
  ASSERT_NE(group, nullptr);
  EXPECT_TRUE(recorder.messages.empty());

  ASSERT_EQ(group->meshes().size(), 3u);
  // In file order (lib3ds writes objects and materials sorted by name).
  EXPECT_EQ(group->meshes()[0]->name, "body");
  EXPECT_EQ(group->meshes()[1]->name, "ground");
  EXPECT_EQ(group->meshes()[2]->name, "rotor1");
  const Mesh& body = *group->findMesh("body");
  EXPECT_EQ(body.vertexCount(), 4);
  EXPECT_EQ(body.faceCount(), 4);
  // (1, 2, 3) in the file is (-1, 3, -2) before normalising; uv (0.25, 0.75) -> (16384, 16384).
  EXPECT_EQ(body.vertices[0].x, -65536);
  EXPECT_EQ(body.vertices[0].y, 3 * 65536);
  EXPECT_EQ(body.vertices[0].z, -2 * 65536);
  EXPECT_EQ(body.vertices[0].u, 16384);
  EXPECT_EQ(body.vertices[0].v, 16384);
  EXPECT_EQ(body.faces[1].index(1), 2);
  EXPECT_EQ(body.faces[1].index(2), 3);

  const Material* paint = group->findMaterial("paint");
  const Material* glass = group->findMaterial("glass");
  ASSERT_NE(paint, nullptr);
  ASSERT_NE(glass, nullptr);
  EXPECT_EQ(body.material, paint);
  EXPECT_EQ(group->findMesh("rotor1")->material, glass);
  EXPECT_EQ(group->findMesh("ground")->material, nullptr);
  EXPECT_EQ(paint->colour, 0xC86432u);
  EXPECT_EQ(glass->colour, 0x336699u);  // 0.2, 0.4, 0.6 written as 51, 102, 153
  EXPECT_TRUE(paint->flat);
  EXPECT_TRUE(paint->twoSided);
  EXPECT_FALSE(glass->flat);
  EXPECT_TRUE(glass->wire);
  EXPECT_EQ(glass->transparency, 127);  // written as 50 %
  EXPECT_EQ(glass->specularLevel, 51);  // 20 % -> 20 * 255 / 100
  EXPECT_EQ(paint->textureName, "skin.gif");
  EXPECT_EQ(glass->opacityMapName, "glassmask.gif");
  ASSERT_EQ(recorder.requests.size(), 2u);
  EXPECT_EQ(recorder.requests[0].folder, dir.path() + "\\models\\");
  EXPECT_EQ(recorder.requests[0].name, "glassmask.gif");
  EXPECT_EQ(recorder.requests[1].name, "skin.gif");

  // Prepared, the ground falls back to the default material.
  group->prepare(true);
  ASSERT_NE(group->findMesh("ground")->material, nullptr);
  EXPECT_EQ(group->findMesh("ground")->material->colour, 0x969696u);
  EXPECT_EQ(group->findMesh("ground")->material->shadingMode, 3);
}

TEST(Model3dsFile, NormalisedWithFilters) {
  testing_support::TempFolder dir;
  writeHelicopter(dir / "heli.3ds");
  Recorder recorder;
  // Without the ground (10 x 10 in the file's x-y plane) the box is the body and rotor:
  // engine x from -3 to 3, y (file z) from 0 to 4, z (-file y) from -3 to 3.
  auto group = loadModel3ds(dir.path() + "/", "heli.3ds", 6,
                            NameFilter{std::nullopt, std::string("ground")}, recorder.options());
  ASSERT_NE(group, nullptr);
  Vector3 min, max;
  ASSERT_TRUE(group->boundingBox(min, max, NameFilter{std::nullopt, std::string("ground")}));
  EXPECT_EQ(min, Vector3(-6, -4, -6));
  EXPECT_EQ(max, Vector3(6, 4, 6));
  EXPECT_EQ(group->size, Vector3(12, 8, 12));
  EXPECT_EQ(group->radius, 6.0f);
  // The ground moved with the rest: file z = -1 is engine y = -1, now (-1 - 2) * 2.
  EXPECT_EQ(group->findMesh("ground")->vertices[0].y, -6 * 65536);
}

TEST(Model3dsFile, MissingFileIsReportedUnlessQuiet) {
  testing_support::TempFolder dir;
  Recorder recorder;
  EXPECT_EQ(loadModel3ds(dir.path(), "nothing.3ds", 1, {}, recorder.options()), nullptr);
  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_EQ(recorder.messages[0].caption, "Error");
  EXPECT_EQ(recorder.messages[0].text,
            "Error: can not find the 3DS file '" + dir.path() + "/nothing.3ds'");
  EXPECT_EQ(recorder.messages[0].icon, MessageIcon::kExclamation);

  ModelLoadOptions quiet = recorder.options();
  quiet.quietWhenMissing = true;
  EXPECT_EQ(loadModel3ds(dir.path(), "nothing.3ds", 1, {}, quiet), nullptr);
  EXPECT_EQ(recorder.messages.size(), 1u);
}

TEST(Model3dsFile, ACutOffOrForeignFileIsNamedToTheUser) {
  testing_support::TempFolder dir;
  writeHelicopter(dir / "heli.3ds");
  std::string whole = testing_support::readFile(dir / "heli.3ds");
  // Cut to two thirds: the part read is kept, and the user learns which file lost its end.
  dir.write("models/cut.3ds", whole.substr(0, whole.size() * 2 / 3));
  Recorder recorder;
  auto group =
      loadModel3ds(dir.path() + "\\models\\..\\models", "cut.3ds", 0, {}, recorder.options());
  ASSERT_NE(group, nullptr);
  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_EQ(recorder.messages[0].caption, "Error");
  EXPECT_EQ(recorder.messages[0].text, "Error: the 3DS file '" + dir.path() +
                                           "/models/cut.3ds' is cut off; only the part that "
                                           "could be read is shown.");
  // Cut at every length past the main chunk's header: never silent.
  for (size_t n = 6; n + 1 < whole.size(); n += 37) {
    dir.write("short.3ds", whole.substr(0, n));
    Recorder each;
    loadModel3ds(dir.path(), "short.3ds", 0, {}, each.options());
    ASSERT_EQ(each.messages.size(), 1u) << n;
    EXPECT_NE(each.messages[0].text.find("short.3ds"), std::string::npos) << n;
  }
  // The whole file says nothing; a file that is no 3DS model is named too.
  Recorder quiet;
  EXPECT_NE(loadModel3ds(dir.path(), "heli.3ds", 0, {}, quiet.options()), nullptr);
  EXPECT_TRUE(quiet.messages.empty());
  dir.write("notes.3ds", "just some text, no chunks");
  Recorder foreign;
  EXPECT_EQ(loadModel3ds(dir.path(), "notes.3ds", 0, {}, foreign.options()), nullptr);
  ASSERT_EQ(foreign.messages.size(), 1u);
  EXPECT_EQ(foreign.messages[0].text,
            "Error: " + dir.path() + "/notes.3ds is not a valid 3DS file.");
}

TEST(ModelCache, LoadsOnceAndHandsOutIndependentClones) {
  testing_support::TempFolder dir;
  writeHelicopter(dir / "heli.3ds");
  Recorder recorder;
  ModelCache cache(recorder.options());
  auto first = cache.get(dir.path(), "heli.3ds", 2);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->isClone);
  // The file is gone: the second request can only come from the cache.
  std::filesystem::remove(dir / "heli.3ds");
  auto second = cache.get(dir.path(), "heli.3ds", 2);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(cache.count(), 1);
  EXPECT_EQ(recorder.requests.size(), 2u);  // maps were loaded once
  EXPECT_NE(second->findMesh("body"), first->findMesh("body"));
  EXPECT_EQ(second->findMesh("body")->vertices, first->findMesh("body")->vertices);
  first->findMesh("body")->vertices[0].x = 1;
  EXPECT_NE(second->findMesh("body")->vertices[0].x, 1);
  // A different radius re-normalises the clone.
  auto bigger = cache.get(dir.path(), "heli.3ds", 4);
  EXPECT_EQ(bigger->radius, 4.0f);
  EXPECT_EQ(bigger->findMesh("rotor1")->vertices[0].y,
            2 * second->findMesh("rotor1")->vertices[0].y);
  EXPECT_EQ(cache.get(dir.path(), "other.3ds", 1), nullptr);
}

TEST(ModelCache, LevelsOfDetailFromAModelList) {
  testing_support::TempFolder dir;
  writeHelicopter(dir / "near.3ds");
  writeHelicopter(dir / "far.3ds");
  Recorder recorder;
  ModelCache cache(recorder.options());
  auto group = cache.get(dir.path(), "near.3ds", 1);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(
      cache.loadLevels(*group, dir.path(), " ( near.3ds ;\tfar.3ds ; missing.3ds) ", 3, 50, 1), 2);
  EXPECT_EQ(group->lodDistance(), 50.0f);
  EXPECT_EQ(group->levelMeshes(1).size(), 3u);
  EXPECT_EQ(recorder.messages.size(), 1u);                                  // the missing model
  EXPECT_EQ(cache.loadLevels(*group, dir.path(), "far.3ds", 0, 50, 1), 2);  // unchanged
}

}  // namespace
}  // namespace engine3d
