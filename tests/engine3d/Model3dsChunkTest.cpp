// The 3DS reader against hand-built chunk streams: the cases exporters rarely write.
#include <gtest/gtest.h>

#include <map>

#include "ChunkWriter.h"
#include "engine3d/FixedPoint.h"
#include "engine3d/Model3dsLoader.h"

namespace engine3d {
namespace {

using engine3d_test::ChunkWriter;

struct Harness {
  std::vector<UserMessage> messages;
  std::vector<TextureRequest> requests;
  std::map<std::string, std::shared_ptr<Texture>> pictures;
  ModelLoadOptions options;

  Harness() {
    options.messages = [this](const UserMessage& m) { messages.push_back(m); };
    options.textures = [this](const TextureRequest& r) -> std::shared_ptr<Texture> {
      requests.push_back(r);
      auto found = pictures.find(r.name);
      return found == pictures.end() ? nullptr : found->second;
    };
  }

  std::unique_ptr<Group3D> parse(const std::vector<std::uint8_t>& bytes, float radius = 0) {
    return parseModel3ds(bytes.data(), bytes.size(), "maps\\", radius, {}, options);
  }
};

// One object "obj" with the given vertex list, face list and uv chunks inside main/editor.
ChunkWriter oneObject(const std::string& name, const std::vector<float>& xyz,
                      const std::vector<int>& faces) {
  ChunkWriter w;
  w.begin(0x4D4D).begin(0x3D3D).begin(0x4000).str(name).begin(0x4100).vertices(xyz);
  w.begin(0x4120).faces(faces).end();
  w.end().end().end().end();
  return w;
}

const std::vector<float> kTriangle = {0, 0, 0, 1, 0, 0, 0, 1, 0};

TEST(Model3dsChunks, AxesTurnFromZUpToYUp) {
  Harness h;
  auto group = h.parse(oneObject("obj", {1, 2, 3, -4, 5.5f, 0}, {}).bytes());
  ASSERT_NE(group, nullptr);
  const Mesh* mesh = group->findMesh("obj");
  ASSERT_NE(mesh, nullptr);
  // (x, y, z) in the file is (-x, z, -y) in the engine.
  EXPECT_EQ(mesh->vertices[0].x, -65536);
  EXPECT_EQ(mesh->vertices[0].y, 3 * 65536);
  EXPECT_EQ(mesh->vertices[0].z, -2 * 65536);
  EXPECT_EQ(mesh->vertices[1].x, 4 * 65536);
  EXPECT_EQ(mesh->vertices[1].z, -360448);  // -5.5
  EXPECT_TRUE(h.messages.empty());
}

TEST(Model3dsChunks, TextureCoordinatesFlipV) {
  ChunkWriter w;
  w.begin(0x4D4D).begin(0x4000).str("o").begin(0x4100).vertices(kTriangle);
  w.begin(0x4140).u16(2).f32(0.25f).f32(0.75f).f32(1.0f).f32(-0.5f).end();
  w.end().end().end();
  Harness h;
  auto group = h.parse(w.bytes());
  const Mesh& mesh = *group->firstMesh();
  EXPECT_EQ(mesh.vertices[0].u, 16384);
  EXPECT_EQ(mesh.vertices[0].v, 16384);
  EXPECT_EQ(mesh.vertices[1].u, 65536);
  EXPECT_EQ(mesh.vertices[1].v, 98304);  // 1 - (-0.5)
  EXPECT_EQ(mesh.vertices[2].u, 0);
}

TEST(Model3dsChunks, AFileThatDoesNotStartWithTheMainChunkIsRejected) {
  for (const std::vector<std::uint8_t>& bytes :
       {ChunkWriter().begin(0x3D3D).end().bytes(), std::vector<std::uint8_t>{0x4D, 0x4D, 0, 0},
        std::vector<std::uint8_t>{}}) {
    Harness h;
    EXPECT_EQ(h.parse(bytes), nullptr);
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_EQ(h.messages[0].caption, "Error");
    EXPECT_EQ(h.messages[0].text, "Error: this is not a valid 3DS file.");
    EXPECT_EQ(h.messages[0].icon, MessageIcon::kExclamation);
  }
}

TEST(Model3dsChunks, NamesKeepTwentyNineCharactersAndTheStreamStaysInStep) {
  const std::string name29 = "abcdefghijklmnopqrstuvwxyz012";
  ASSERT_EQ(name29.size(), 29u);
  Harness h;
  auto group = h.parse(oneObject(name29, kTriangle, {0, 1, 2}).bytes());
  ASSERT_NE(group->findMesh(name29), nullptr);

  // Longer names are cut to 29, and the chunks after the name are still read.
  auto longer = h.parse(oneObject(name29 + "3456789", kTriangle, {0, 1, 2}).bytes());
  const Mesh* mesh = longer->findMesh(name29);
  ASSERT_NE(mesh, nullptr);
  EXPECT_EQ(mesh->vertexCount(), 3);
  EXPECT_EQ(mesh->faceCount(), 1);

  // Single-byte characters above 127 become UTF-8.
  auto accented = h.parse(oneObject("h\xE9lice", kTriangle, {}).bytes());
  EXPECT_NE(accented->findMesh("h\xC3\xA9lice"), nullptr);
}

// A material entry named "m" with extra chunks written by `body`.
template <class Body>
std::vector<std::uint8_t> material(Body body) {
  ChunkWriter w;
  w.begin(0x4D4D).begin(0x3D3D).begin(0xAFFF).begin(0xA000).str("m").end();
  body(w);
  w.end().end().end();
  return w.bytes();
}

TEST(Model3dsChunks, PercentagesAsIntegerOrFloat) {
  Harness h;
  auto integer = h.parse(material([](ChunkWriter& w) {
    w.percentInt(0xA050, 50).percentInt(0xA041, 100);
    w.begin(0xA040).begin(0x0030).u16(70).end().end();  // shininess: not used
  }));
  const Material* m = integer->findMaterial("m");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->transparency, 127);  // 50 * 255 / 100
  EXPECT_EQ(m->specularLevel, 255);

  auto real = h.parse(material([](ChunkWriter& w) {
    w.begin(0xA050).begin(0x0031).f32(0.5f).end().end();
    w.begin(0xA041).begin(0x0031).f32(0.1f).end().end();
  }));
  EXPECT_EQ(real->findMaterial("m")->transparency, 127);  // trunc(127.5)
  EXPECT_EQ(real->findMaterial("m")->specularLevel, 25);  // trunc(25.5)

  // An unknown percentage kind reads as 0 (its data is left for the next header).
  auto unknown = h.parse(material([](ChunkWriter& w) {
    w.percentInt(0xA050, 40);
    w.begin(0xA050).begin(0x0032).end().end();
  }));
  EXPECT_EQ(unknown->findMaterial("m")->transparency, 0);
}

TEST(Model3dsChunks, ColoursAs24BitOrFloat) {
  Harness h;
  auto group = h.parse(material([](ChunkWriter& w) {
    w.colour24(0xA020, 200, 100, 50);
    w.begin(0xA080).begin(0x0010).f32(10.4f).f32(20.5f).f32(0.49f).end().end();
    w.colour24(0xA010, 1, 2, 3);  // ambient: skipped
    w.colour24(0xA030, 4, 5, 6);  // specular: skipped
  }));
  const Material* m = group->findMaterial("m");
  EXPECT_EQ(m->colour, 0xC86432u);
  // Float channels are rounded, not scaled: 10.4 -> 10, 20.5 -> 21, 0.49 -> 0.
  EXPECT_EQ(m->selfIllumination, 0x0A1500u);

  auto other = h.parse(material([](ChunkWriter& w) {
    w.begin(0xA020).begin(0x0013).end().end();  // an unknown colour kind reads as 0
  }));
  EXPECT_EQ(other->findMaterial("m")->colour, 0u);
}

TEST(Model3dsChunks, MaterialSwitches) {
  Harness h;
  auto group = h.parse(material([](ChunkWriter& w) {
    w.begin(0xA081).end().begin(0xA085).end().begin(0xA100).u16(1).end();
  }));
  const Material* m = group->findMaterial("m");
  EXPECT_TRUE(m->twoSided);
  EXPECT_TRUE(m->wire);
  EXPECT_TRUE(m->flat);
  auto smooth = h.parse(material([](ChunkWriter& w) { w.begin(0xA100).u16(3).end(); }));
  EXPECT_FALSE(smooth->findMaterial("m")->flat);
  EXPECT_FALSE(smooth->findMaterial("m")->twoSided);
  EXPECT_EQ(smooth->findMaterial("m")->shadingMode, 3);
}

std::vector<std::uint8_t> mapped(const std::vector<std::pair<std::uint16_t, std::string>>& maps) {
  return material([&](ChunkWriter& w) {
    for (const auto& [id, file] : maps) {
      w.begin(id).begin(0x0030).u16(100).end().begin(0xA300).str(file).end();
      w.begin(0xA351).u16(0).end();  // tiling: skipped
      w.end();
    }
  });
}

TEST(Model3dsChunks, MapsAreLoadedFromTheTextureFolderAtPowerOfTwoSizes) {
  Harness h;
  h.pictures["skin.gif"] = std::make_shared<PixelTexture>(64, 32);
  h.pictures["mask.gif"] = std::make_shared<PixelTexture>(64, 32);
  h.pictures["env.jpg"] = std::make_shared<PixelTexture>(16, 16);
  auto group = h.parse(mapped({{0xA200, "skin.gif"}, {0xA210, "mask.gif"}, {0xA220, "env.jpg"}}));
  const Material* m = group->findMaterial("m");
  ASSERT_EQ(h.requests.size(), 3u);
  EXPECT_EQ(h.requests[0].folder, "maps\\");
  EXPECT_EQ(h.requests[0].name, "skin.gif");
  EXPECT_TRUE(h.requests[0].powerOfTwo);
  EXPECT_FALSE(h.requests[0].padToPowerOfTwo);
  EXPECT_EQ(m->texture, h.pictures["skin.gif"]);
  EXPECT_EQ(m->opacityMap, h.pictures["mask.gif"]);
  EXPECT_EQ(m->reflectionMap, h.pictures["env.jpg"]);
  EXPECT_EQ(m->textureName, "skin.gif");
  EXPECT_FALSE(m->alphaTest);
  EXPECT_TRUE(h.messages.empty());
}

TEST(Model3dsChunks, MismatchedOpacityMapIsReportedAndKept) {
  Harness h;
  h.pictures["skin.gif"] = std::make_shared<PixelTexture>(64, 32);
  h.pictures["mask.gif"] = std::make_shared<PixelTexture>(32, 32);
  auto group = h.parse(mapped({{0xA210, "mask.gif"}, {0xA200, "skin.gif"}}));
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_EQ(h.messages[0].text,
            "The alpha channel texture does not match original texture in deminsion.");
  EXPECT_EQ(h.messages[0].icon, MessageIcon::kInformation);
  EXPECT_NE(group->findMaterial("m")->opacityMap, nullptr);
  EXPECT_NE(group->findMaterial("m")->texture, nullptr);
}

TEST(Model3dsChunks, AColourKeyedTextureBecomesTheOpacityMapAfterTheParse) {
  Harness h;
  h.pictures["sprite.gif"] =
      std::make_shared<PixelTexture>(8, 8, std::vector<std::uint32_t>{}, Colour{0x00FF00});
  h.pictures["mask.gif"] = std::make_shared<PixelTexture>(8, 8);
  auto group = h.parse(mapped({{0xA200, "sprite.gif"}, {0xA210, "mask.gif"}}));
  const Material* m = group->findMaterial("m");
  EXPECT_EQ(m->opacityMap, h.pictures["sprite.gif"]);
  EXPECT_TRUE(m->alphaTest);
  EXPECT_EQ(m->colourKey, 0x00FF00u);
}

TEST(Model3dsChunks, FaceMaterialPicksTheGroupsMaterialByName) {
  for (const char* name : {"m", "missing"}) {
    ChunkWriter w;
    w.begin(0x4D4D).begin(0x3D3D).begin(0xAFFF).begin(0xA000).str("m").end().end();
    w.begin(0x4000).str("o").begin(0x4100).vertices(kTriangle).begin(0x4120).faces({0, 1, 2});
    w.begin(0x4130).str(name).u16(1).u16(0).end();
    w.end().end().end().end().end();
    Harness h;
    auto group = h.parse(w.bytes());
    Mesh* mesh = group->firstMesh();
    SCOPED_TRACE(name);
    EXPECT_EQ(mesh->material, group->findMaterial(name));
    mesh->prepare(false);
    ASSERT_NE(mesh->material, nullptr);
    if (std::string(name) == "missing") {
      EXPECT_EQ(mesh->material->colour, 0x969696u);
    }
  }
}

TEST(Model3dsChunks, KeyframerChunksAreReadAndDropped) {
  ChunkWriter w = oneObject("body", kTriangle, {0, 1, 2});
  std::vector<std::uint8_t> bytes = w.bytes();
  ChunkWriter kf;
  kf.begin(0xB000).begin(0xB00A).u16(5).str("MAXSCENE").u32(100).end();
  kf.begin(0xB008).u32(0).u32(100).end();
  kf.begin(0xB002).begin(0xB030).u16(0).end();
  kf.begin(0xB010).str("body").u16(0x4000).u16(0).u16(0xFFFF).end();
  kf.begin(0xB013).f32(1).f32(2).f32(3).end();
  kf.end().end();
  // Append the keyframer inside the main chunk by patching its length.
  bytes.insert(bytes.end(), kf.bytes().begin(), kf.bytes().end());
  const auto total = static_cast<std::uint32_t>(bytes.size());
  for (int i = 0; i < 4; ++i) bytes[2 + i] = static_cast<std::uint8_t>(total >> (8 * i));
  Harness h;
  auto group = h.parse(bytes);
  ASSERT_EQ(group->meshes().size(), 1u);
  EXPECT_EQ(group->firstMesh()->faceCount(), 1);
}

// Damaged files: nothing is read outside the buffer (the sanitizer build checks that), what
// fits is kept and the rest is dropped.
TEST(Model3dsDamage, FacesNamingMissingVerticesAreDropped) {
  Harness h;
  auto group = h.parse(oneObject("o", kTriangle, {0, 1, 2, 0, 1, 3, 2, 1, 0, 65535, 0, 1}).bytes());
  const Mesh& mesh = *group->firstMesh();
  ASSERT_EQ(mesh.faceCount(), 2);
  EXPECT_EQ(mesh.faces[1].index(0), 2);
}

TEST(Model3dsDamage, CountsLargerThanTheirChunkKeepOnlyWhatFits) {
  ChunkWriter w;
  w.begin(0x4D4D).begin(0x4000).str("o").begin(0x4100);
  w.begin(0x4110).u16(1000).f32(1).f32(2).f32(3).f32(4).f32(5).f32(6).end();
  w.begin(0x4120).u16(500).u16(0).u16(1).u16(0).u16(0).end();
  w.begin(0x4140).u16(9).f32(0.5f).f32(0.5f).end();
  w.end().end().end();
  w.begin(0x4000).str("after").begin(0x4100).vertices(kTriangle).end().end();
  Harness h;
  auto group = h.parse(w.bytes());
  const Mesh* mesh = group->findMesh("o");
  ASSERT_NE(mesh, nullptr);
  EXPECT_EQ(mesh->vertexCount(), 2);
  EXPECT_EQ(mesh->faceCount(), 1);  // the one record that fits
  EXPECT_EQ(mesh->vertices[0].u, 32768);
  ASSERT_NE(group->findMesh("after"), nullptr);
  EXPECT_EQ(group->findMesh("after")->vertexCount(), 3);
}

TEST(Model3dsDamage, ALeafChunkWithoutItsDataOnlyEndsItself) {
  Harness h;
  auto group = h.parse(material([](ChunkWriter& w) {
    w.begin(0xA100).end();  // shading without its value
    w.begin(0x4110).end();  // vertex list without a count (and no mesh)
    w.begin(0xA081).end();
  }));
  const Material* m = group->findMaterial("m");
  EXPECT_FALSE(m->flat);
  EXPECT_TRUE(m->twoSided);
}

TEST(Model3dsDamage, TextureCoordinatesBeyondTheVertexListAreDropped) {
  ChunkWriter w;
  w.begin(0x4D4D).begin(0x4000).str("o").begin(0x4100).vertices({1, 1, 1});
  w.begin(0x4140).u16(3).f32(0.5f).f32(0).f32(0.25f).f32(0).f32(0.75f).f32(0).end();
  w.vertices({2, 2, 2});
  w.end().end().end();
  Harness h;
  auto group = h.parse(w.bytes());
  const Mesh& mesh = *group->firstMesh();
  ASSERT_EQ(mesh.vertexCount(), 2);
  EXPECT_EQ(mesh.vertices[0].u, 32768);
  EXPECT_EQ(mesh.vertices[1].u, 0);  // added after the list: untouched
}

TEST(Model3dsDamage, ShortOrOverlongChunksEndTheParseKeepingWhatWasRead) {
  for (std::uint32_t badLength : {0u, 5u, 0xFFFFFFFFu, 1000u}) {
    ChunkWriter w;
    w.begin(0x4D4D).begin(0x4000).str("first").begin(0x4100).vertices(kTriangle).end().end();
    w.header(0x1234, badLength);
    w.u32(0);
    w.begin(0x4000).str("second").begin(0x4100).vertices(kTriangle).end().end();
    w.end();
    Harness h;
    auto group = h.parse(w.bytes());
    SCOPED_TRACE(badLength);
    ASSERT_NE(group, nullptr);
    EXPECT_NE(group->findMesh("first"), nullptr);
    EXPECT_EQ(group->findMesh("second"), nullptr);
  }
}

TEST(Model3dsDamage, EveryTruncationKeepsTheCompleteObjectsBeforeIt) {
  ChunkWriter w;
  w.begin(0x4D4D).begin(0x3D3D);
  w.begin(0xAFFF).begin(0xA000).str("m").end().colour24(0xA020, 1, 2, 3).percentInt(0xA050, 10);
  w.begin(0xA200).begin(0x0030).u16(100).end().begin(0xA300).str("t.gif").end().end();
  w.end();
  w.begin(0x4000).str("a").begin(0x4100).vertices(kTriangle).begin(0x4120).faces({0, 1, 2});
  w.begin(0x4130).str("m").u16(1).u16(0).end().end();
  w.begin(0x4140).u16(3).f32(0).f32(0).f32(1).f32(0).f32(0).f32(1).end().end().end();
  const size_t firstObjectEnd = w.bytes().size();
  w.begin(0x4000).str("b").begin(0x4100).vertices(kTriangle).end().end();
  w.end().end();
  const std::vector<std::uint8_t>& full = w.bytes();
  for (size_t n = 0; n <= full.size(); ++n) {
    // A copy of exactly n bytes, so reading past it is caught by the sanitizers.
    std::vector<std::uint8_t> prefix(full.begin(), full.begin() + static_cast<long>(n));
    Harness h;
    auto group = h.parse(prefix);
    if (n < 6) {
      EXPECT_EQ(group, nullptr);
      continue;
    }
    ASSERT_NE(group, nullptr) << n;
    if (n >= firstObjectEnd) {
      const Mesh* a = group->findMesh("a");
      ASSERT_NE(a, nullptr) << n;
      EXPECT_EQ(a->faceCount(), 1) << n;
      EXPECT_EQ(a->material, group->findMaterial("m")) << n;
    }
  }
}

}  // namespace
}  // namespace engine3d
