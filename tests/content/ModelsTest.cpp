// The 3DS models, read back with lib3ds: the object names the game looks up, materials whose
// textures exist beside the model, and room shells that face into the room.
#include <gtest/gtest.h>
#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "BuiltTree.h"
#include "Builder.h"
#include "platform/Template.h"

namespace fs = std::filesystem;

namespace {

struct FileCloser {
  void operator()(Lib3dsFile* file) const { lib3ds_file_free(file); }
};
using Model = std::unique_ptr<Lib3dsFile, FileCloser>;

class Models : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string pattern = (fs::temp_directory_path() / "content-models-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    root_ = new fs::path(made ? made : "");
    built_ = made && content_test::writeBuiltTree(*root_);
  }
  static void TearDownTestSuite() {
    std::error_code ec;
    fs::remove_all(*root_, ec);
    delete root_;
  }
  void SetUp() override { ASSERT_TRUE(built_); }

  static Model load(const std::string& relative) {
    return Model(lib3ds_file_load((*root_ / "resources" / relative).string().c_str()));
  }
  static std::set<std::string> objectNames(Lib3dsFile* file) {
    std::set<std::string> names;
    for (Lib3dsMesh* m = file->meshes; m; m = m->next) names.insert(m->name);
    return names;
  }
  static Lib3dsMesh* find(Lib3dsFile* file, const std::string& name) {
    for (Lib3dsMesh* m = file->meshes; m; m = m->next)
      if (name == m->name) return m;
    return nullptr;
  }
  // Every face's material exists, and every texture it names lies beside the model.
  static void expectMaterialsResolve(Lib3dsFile* file, const fs::path& folder) {
    std::set<std::string> materials;
    for (Lib3dsMaterial* m = file->materials; m; m = m->next) {
      materials.insert(m->name);
      if (m->texture1_map.name[0]) {
        EXPECT_TRUE(fs::exists(folder / m->texture1_map.name))
            << folder << " " << m->texture1_map.name;
      }
    }
    for (Lib3dsMesh* mesh = file->meshes; mesh; mesh = mesh->next) {
      ASSERT_GT(mesh->faces, 0u) << mesh->name;
      EXPECT_EQ(mesh->texels, mesh->points) << mesh->name;
      std::string first = mesh->faceL[0].material;
      EXPECT_TRUE(materials.count(first)) << mesh->name << " uses unknown material " << first;
    }
  }

  static fs::path* root_;
  static bool built_;
};

fs::path* Models::root_ = nullptr;
bool Models::built_ = false;

// Area-weighted normal of a mesh (right-hand rule over each face's corners).
std::array<double, 3> meanNormal(const Lib3dsMesh* mesh) {
  std::array<double, 3> sum{0, 0, 0};
  for (unsigned i = 0; i < mesh->faces; ++i) {
    const float* a = mesh->pointL[mesh->faceL[i].points[0]].pos;
    const float* b = mesh->pointL[mesh->faceL[i].points[1]].pos;
    const float* c = mesh->pointL[mesh->faceL[i].points[2]].pos;
    double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    double v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    sum[0] += u[1] * v[2] - u[2] * v[1];
    sum[1] += u[2] * v[0] - u[0] * v[2];
    sum[2] += u[0] * v[1] - u[1] * v[0];
  }
  return sum;
}

TEST_F(Models, RoomsHaveShellMarkersAndFurniture) {
  int rooms = 0;
  for (int level = 0; level <= 6; ++level) {
    std::string folder = "scenes/level" + std::to_string(level);
    Model model = load(folder + "/level.3ds");
    ASSERT_TRUE(model) << folder;
    std::set<std::string> names = objectNames(model.get());
    for (const char* part : {"ground", "ceiling", "wall", "dummy_t0", "dummy_t1"})
      EXPECT_TRUE(names.count(part)) << folder << " lacks " << part;
    EXPECT_GE(names.size(), 8u) << folder << " has too little furniture";
    for (const std::string& name : names) EXPECT_LT(name.size(), 30u) << name;
    expectMaterialsResolve(model.get(), *root_ / "resources" / folder);
    EXPECT_TRUE(
        fs::exists(*root_ / "resources" / folder / ("map" + std::to_string(level) + ".jpg")));
    ++rooms;
  }
  EXPECT_EQ(rooms, 7);
}

TEST_F(Models, RoomShellsFaceIntoTheRoom) {
  for (int level = 0; level <= 6; ++level) {
    Model model = load("scenes/level" + std::to_string(level) + "/level.3ds");
    ASSERT_TRUE(model);
    Lib3dsMesh* ground = find(model.get(), "ground");
    Lib3dsMesh* ceiling = find(model.get(), "ceiling");
    Lib3dsMesh* wall = find(model.get(), "wall");
    ASSERT_TRUE(ground && ceiling && wall);
    // Files are z-up: the floor points up and the ceiling down.
    EXPECT_GT(meanNormal(ground)[2], 0.0) << level;
    EXPECT_LT(meanNormal(ceiling)[2], 0.0) << level;
    // Each wall face points towards the room's centre (the origin in x and y).
    for (unsigned i = 0; i < wall->faces; ++i) {
      const float* a = wall->pointL[wall->faceL[i].points[0]].pos;
      const float* b = wall->pointL[wall->faceL[i].points[1]].pos;
      const float* c = wall->pointL[wall->faceL[i].points[2]].pos;
      double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
      double v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
      double nx = u[1] * v[2] - u[2] * v[1], ny = u[2] * v[0] - u[0] * v[2];
      double toward = -(nx * a[0] + ny * a[1]);
      EXPECT_GT(toward, 0.0) << "level " << level << " wall face " << i << " faces outwards";
    }
  }
}

TEST_F(Models, HelicopterHasEveryPart) {
  Model model = load("chopper/chopper_LOD.3ds");
  ASSERT_TRUE(model);
  std::set<std::string> names = objectNames(model.get());
  for (const char* part :
       {"body", "body_ds", "dashboard", "hud", "rotor1", "rotor2", "spark", "windowL", "windowR"})
    EXPECT_TRUE(names.count(part)) << part;
  expectMaterialsResolve(model.get(), *root_ / "resources" / "chopper");
  Model bullet = load("chopper/bullet.3ds");
  ASSERT_TRUE(bullet);
  EXPECT_FALSE(objectNames(bullet.get()).empty());
}

TEST_F(Models, EveryListedFlyerHasTheModelPartsOfItsKind) {
  const std::map<int, std::vector<std::string>> partsOfKind = {
      {0, {"wing_l", "wing_r"}}, {1, {"wing0", "wing1", "wing2"}}, {2, {}}, {6, {}}};
  std::set<int> kinds;
  for (int level = 0; level <= 6; ++level) {
    platform::Template t;
    fs::path folder = *root_ / "resources" / "scenes" / ("level" + std::to_string(level));
    ASSERT_TRUE(t.load(folder.string() + "/", "flyable.properties"));
    ASSERT_GT(t.count(), 0);
    for (const std::string& name : t.keys()) {
      int kind = t.getInt(name, "type", -1);
      ASSERT_TRUE(partsOfKind.count(kind)) << name << " kind " << kind;
      kinds.insert(kind);
      Model model = load("flyable/" + name + "/" + name + ".3ds");
      ASSERT_TRUE(model) << name;
      std::set<std::string> names = objectNames(model.get());
      EXPECT_TRUE(names.count("box")) << name;
      EXPECT_TRUE(names.count("body")) << name;
      for (const std::string& part : partsOfKind.at(kind))
        EXPECT_TRUE(names.count(part)) << name << " " << part;
      int skins = t.getInt(name, "textureNum", 1);
      for (int i = 0; i < skins; ++i)
        EXPECT_TRUE(fs::exists(*root_ / "resources" / "flyable" / name /
                               (name + "_" + std::to_string(i) + ".gif")))
            << name << " skin " << i;
    }
  }
  EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 6}));
  EXPECT_TRUE(fs::exists(*root_ / "resources" / "flyable" / "box.jpg"));
  EXPECT_TRUE(fs::exists(*root_ / "resources" / "flyable" / "redcross.gif"));
}

}  // namespace
