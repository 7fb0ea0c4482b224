// Both drivers inside every content room, with the battle's lens: fov 50 degrees, near plane
// 1, far plane 3 x the room's radius, a 240 x 320 portrait view. Each room is loaded from the
// build's scenes.zip as the battle loads it (normalised to radius 50, or 80 for rooms 4 and 6,
// culled mesh by mesh), and every mesh gets a flat, unlit colour of its own, so that each pixel
// of both pictures names the object it shows. Textures and lighting are compared elsewhere;
// this is about geometry: what is culled, clipped at the near plane and hidden by depth. (The
// battle's face-subdivision answer only bends textures less in the software renderer: with
// flat colours and an exact depth test it would change nothing compared here.)
//
// Four eyes per room, placed from the room's box E: the centre looking towards a wall; 1.5 units
// above the floor looking across it; 1.5 units from a side wall looking along it; and at the
// battle camera's bound (0.45 x E) looking into the upper corner, where a wall mesh's centre
// lies further behind the eye than its bounding radius.
//
// Per view, bounds a little above what Mesa's llvmpipe gave over the 28 views (each view's
// figures are printed):
//  - differ: share of pixels of different colour. The software renderer's focal length is a
//    whole number of pixels and its vertices sit on whole pixels, so its edges lie up to a
//    pixel from GL's. Measured 0.00% to 2.72% (level 5, floor: the thin legs of the desks and
//    chairs); at most 3%.
//  - holes: pixels showing the background; the rooms are closed. Measured 0 to 65 in the
//    software pictures (cracks along edges where the ceiling's or floor's faces meet the
//    walls' at other vertices), 0 to 4 in GL's; at most 0.15% and 0.02% (115 and 15 pixels).
//  - objects: every mesh covering at least 100 pixels in one picture covers at least 80% as
//    many in the other (measured: 89% or more); none covers less than half, that is, no object
//    is missing.
// The pictures are also compared with stored references (tests/reference/engine3d/gles/rooms/,
// GL within 8 per channel except 0.5% of the pixels, software within 4 except 0.2%).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../soft/SoftScene.h"
#include "GlesFixture.h"
#include "engine3d/Model3dsLoader.h"
#include "engine3d/gles/GlesPicture.h"
#include "platform/ResourceArchive.h"
#include "support/ReferenceImage.h"
#include "support/TempFolder.h"

namespace engine3d::testing {
namespace {

using soft_test::SoftScene;

constexpr int kWidth = 240;
constexpr int kHeight = 320;
constexpr int kRooms = 7;

constexpr double kMostDiffering = 0.03;
constexpr double kMostSoftHoles = 0.0015;
constexpr double kMostGlHoles = 0.0002;
constexpr int kObjectPixels = 100;
constexpr double kLeastObjectShare = 0.8;

// A colour of its own for each mesh of a room (the rooms hold at most 19), none of them the
// background's black.
constexpr Colour kObjectColours[] = {
    0xE6194B, 0x3CB44B, 0xFFE119, 0x4363D8, 0xF58231, 0x911EB4, 0x46F0F0, 0xF032E6,
    0xBCF60C, 0xFABEBE, 0x008080, 0xE6BEFF, 0x9A6324, 0xFFFAC8, 0x800000, 0xAAFFC3,
    0x808000, 0xFFD8B1, 0x000075, 0x808080, 0xFFFFFF, 0x5A5AFF, 0xC86464, 0x64C864,
};
constexpr int kObjectColourCount = static_cast<int>(std::size(kObjectColours));

Colour objectColour(int index) {
  return kObjectColours[index % kObjectColourCount];
}

// One room as the battle loads it, each mesh in its object colour.
struct Room {
  std::unique_ptr<Group3D> model;
  std::vector<std::string> names;  // mesh i's name
};

float roomRadius(int level) {
  return level == 4 || level == 6 ? 80.0f : 50.0f;
}

std::unique_ptr<Room> loadRoom(const std::string& folder, int level) {
  auto room = std::make_unique<Room>();
  ModelLoadOptions options;
  options.messages = [](const UserMessage& m) { ADD_FAILURE() << m.text; };
  room->model = loadModel3ds(folder, "level.3ds", roomRadius(level), {}, options);
  if (!room->model) return nullptr;
  room->model->cullingPolicy = kCullMesh;
  EXPECT_LE(room->model->meshes().size(), std::size(kObjectColours)) << "colours for each mesh";
  int index = 0;
  for (const auto& mesh : room->model->meshes()) {
    auto material = std::make_unique<Material>();
    material->colour = objectColour(index);
    material->shadingMode = kShadingUnlit;
    mesh->material =
        room->model->addMaterial("object" + std::to_string(index), std::move(material));
    room->names.push_back(mesh->name);
    ++index;
  }
  room->model->prepare(true);
  return room;
}

struct View {
  const char* name;
  Vector3 eye;
  Vector3 target;
};

// The four eyes of a room whose box is `e` (centred on the origin, floor at -e.y / 2).
std::vector<View> viewsOf(const Vector3& e) {
  const float floor = -e.y / 2;
  return {
      {"centre", {0, 0, 0}, {0, -0.1f * e.y, 0.5f * e.z}},
      {"floor", {-0.2f * e.x, floor + 1.5f, -0.3f * e.z}, {0.1f * e.x, floor + 1.0f, 0.4f * e.z}},
      {"wall", {0.5f * e.x - 1.5f, 0.1f * e.y, -0.2f * e.z}, {0.5f * e.x - 2.5f, 0, 0.4f * e.z}},
      {"corner", {0.45f * e.x, 0.45f * e.y, 0.45f * e.z}, {0.6f * e.x, 0.55f * e.y, 0.6f * e.z}},
  };
}

struct Measures {
  double differ = 0;  // share of the pixels
  int holesSoft = 0;
  int holesGl = 0;
  int missing = 0;             // objects covered well in one picture and not in the other
  double leastShare = 1.0;     // of the objects compared, the smallest coverage ratio
  std::string leastShareName;  // and whose it is
  std::string missingNames;
};

Measures compare(const host::RgbImage& soft, const host::RgbImage& gl, const Room& room) {
  Measures m;
  std::map<Colour, std::pair<int, int>> coverage;
  int differing = 0;
  for (std::size_t i = 0; i < soft.rgb.size(); i += 3) {
    const Colour a = rgb(soft.rgb[i], soft.rgb[i + 1], soft.rgb[i + 2]);
    const Colour b = rgb(gl.rgb[i], gl.rgb[i + 1], gl.rgb[i + 2]);
    ++coverage[a].first;
    ++coverage[b].second;
    differing += a != b;
    m.holesSoft += a == 0;
    m.holesGl += b == 0;
  }
  m.differ = static_cast<double>(differing) / static_cast<double>(soft.rgb.size() / 3);
  for (std::size_t i = 0; i < room.names.size(); ++i) {
    const auto [a, b] = coverage[objectColour(static_cast<int>(i))];
    if (std::max(a, b) < kObjectPixels) continue;
    const double share = static_cast<double>(std::min(a, b)) / std::max(a, b);
    if (share < m.leastShare) {
      m.leastShare = share;
      m.leastShareName =
          room.names[i] + " (soft " + std::to_string(a) + ", GL " + std::to_string(b) + ")";
    }
    if (share < 0.5) {
      ++m.missing;
      m.missingNames += " " + room.names[i];
    }
  }
  return m;
}

class GlesRooms : public GlesTest, public ::testing::WithParamInterface<int> {
 protected:
  // Takes the room's model and textures out of the build's scenes.zip.
  std::string extractRoom(int level) {
    platform::ResourceArchive zip(std::string(SKIRROW_BIN_DIR) + "/../resources/scenes/scenes.zip");
    EXPECT_TRUE(zip.isOpen()) << "the content build writes build/resources/scenes/scenes.zip";
    const std::string member = "level" + std::to_string(level) + "/level.3ds";
    EXPECT_EQ(zip.extractMember(member, folder_.path() + "/", true).code, platform::kExtractOk);
    return folder_.path() + "/level" + std::to_string(level) + "/";
  }

  testing_support::TempFolder folder_;
};

TEST_P(GlesRooms, BothDriversDrawTheSameGeometryFromInside) {
  const int level = GetParam();
  const std::string folder = extractRoom(level);
  std::unique_ptr<Room> probe = loadRoom(folder, level);
  ASSERT_TRUE(probe);
  const float radius = roomRadius(level);
  for (const View& view : viewsOf(probe->model->size)) {
    const std::string name = "rooms/level" + std::to_string(level) + "_" + view.name;

    std::unique_ptr<Room> forSoft = loadRoom(folder, level);
    SoftScene soft(kWidth, kHeight, 32);
    soft.cam().setPerspective(50.0f, 1.0f, 3.0f * radius);
    soft.cam().setEye(view.eye);
    soft.cam().setTarget(view.target);
    soft.adopt(std::move(forSoft->model));
    soft.render();
    const host::RgbImage softPicture = soft.picture();

    std::unique_ptr<Room> forGl = loadRoom(folder, level);
    GlesPictureRequest request;
    request.width = kWidth;
    request.height = kHeight;
    request.eye = view.eye;
    request.target = view.target;
    request.fov = 50.0f;
    request.near = 1.0f;
    request.far = 3.0f * radius;
    std::vector<std::unique_ptr<Group3D>> groups;
    groups.push_back(std::move(forGl->model));
    const std::optional<host::RgbImage> glPicture = renderGlesPicture(request, std::move(groups));
    ASSERT_TRUE(glPicture);

    EXPECT_TRUE(testing_support::matchesReferenceFile(
        softPicture, testing_support::referenceFile("engine3d/gles/" + name + "_soft"), 4, 0.002))
        << name;
    EXPECT_TRUE(testing_support::matchesReferenceFile(
        *glPicture, testing_support::referenceFile("engine3d/gles/" + name + "_gles"), 8, 0.005))
        << name;

    const Measures m = compare(softPicture, *glPicture, *probe);
    std::printf(
        "[ measured ] level %d %s: differ %.2f%%, holes soft %d GL %d, smallest share %.2f %s\n",
        level, view.name, 100.0 * m.differ, m.holesSoft, m.holesGl, m.leastShare,
        m.leastShareName.c_str());
    EXPECT_LE(m.differ, kMostDiffering) << name;
    EXPECT_LE(m.holesSoft, kMostSoftHoles * kWidth * kHeight) << name;
    EXPECT_LE(m.holesGl, kMostGlHoles * kWidth * kHeight) << name;
    EXPECT_EQ(m.missing, 0) << name << ":" << m.missingNames;
    EXPECT_GE(m.leastShare, kLeastObjectShare) << name << ": " << m.leastShareName;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryRoom, GlesRooms, ::testing::Range(0, kRooms),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "level" + std::to_string(info.param);
                         });

}  // namespace
}  // namespace engine3d::testing
