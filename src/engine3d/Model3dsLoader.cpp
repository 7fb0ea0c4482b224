#include "engine3d/Model3dsLoader.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "engine3d/FixedPoint.h"
#include "platform/Files.h"

namespace engine3d {

namespace {

// Chunk ids the loader understands.
enum ChunkId : std::uint16_t {
  kMain = 0x4D4D,
  kEditor = 0x3D3D,
  kNamedObject = 0x4000,
  kTriangleMesh = 0x4100,
  kVertexList = 0x4110,
  kFaceList = 0x4120,
  kFaceMaterial = 0x4130,
  kTextureCoordinates = 0x4140,
  kLocalAxes = 0x4160,
  kMaterialEntry = 0xAFFF,
  kMaterialName = 0xA000,
  kDiffuse = 0xA020,
  kShininess = 0xA040,
  kShininessStrength = 0xA041,
  kTransparency = 0xA050,
  kSelfIllumination = 0xA080,
  kTwoSided = 0xA081,
  kWire = 0xA085,
  kShading = 0xA100,
  kTextureMap = 0xA200,
  kOpacityMap = 0xA210,
  kReflectionMap = 0xA220,
  kKeyframer = 0xB000,
  kObjectNode = 0xB002,
  kKeySegment = 0xB008,
  kNodeHeader = 0xB010,
  kPivot = 0xB013,
  // Sub-chunks of colours and percentages.
  kColourFloat = 0x0010,
  kColour24 = 0x0011,
  kPercentInt = 0x0030,
  kPercentFloat = 0x0031,
};

constexpr std::size_t kHeaderSize = 6;
// Names are read into a 30-byte buffer with its terminator: 29 characters at most.
constexpr std::size_t kMaxNameBytes = 29;
constexpr int kFlatShading = 1;

// Bytes 0x80..0xFF of the file's single-byte code page, taken as Latin-1, become two-byte
// UTF-8 sequences.
std::string ansiToUtf8(const std::string& bytes) {
  std::string out;
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out.push_back(ch);
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

class Parser {
 public:
  Parser(const std::uint8_t* data, std::size_t size, const std::string& textureFolder,
         const ModelLoadOptions& options)
      : data_(data), size_(size), textureFolder_(textureFolder), options_(options) {}

  std::unique_ptr<Group3D> run() {
    group_ = std::make_unique<Group3D>();
    std::uint16_t id = 0;
    std::uint32_t length = 0;
    const std::string& name = options_.sourceName;
    if (!readHeader(id, length) || id != kMain) {
      std::string text =
          name.empty() ? kInvalidModelText : "Error: " + name + " is not a valid 3DS file.";
      showMessage(options_.messages, {"Error", text, MessageIcon::kExclamation});
      return nullptr;
    }
    // The main chunk says how long the file is: a shorter one lost its end on the way.
    const bool cutOff = length > size_;
    while (!ended_) {
      const std::size_t start = pos_;
      if (!readHeader(id, length) || id == 0 || length < kHeaderSize) break;
      // The chunk's end within the file: leaf records never reach past it or past the file.
      const bool inFile = length <= size_ - start;
      chunkEnd_ = inFile ? start + length : size_;
      handle(id, inFile);
    }
    pending_.reset();
    if (cutOff) {
      std::string file = name.empty() ? std::string("(in memory)") : name;
      showMessage(
          options_.messages,
          {"Error",
           kCutOffModelText + file + "' is cut off; only the part that could be read is shown.",
           MessageIcon::kExclamation});
    }
    // A keyed texture is its own alpha-tested opacity map.
    const auto& materials = group_->materials();
    for (auto m = materials.rbegin(); m != materials.rend(); ++m)
      if ((*m)->texture) (*m)->attachTexture((*m)->texture);
    return std::move(group_);
  }

 private:
  // Reading. Each read fails (leaving zeros) when the bytes are not there before `limit`. A read
  // that runs out of file ends the parse; one that runs out of its chunk only ends that chunk.
  bool readBytes(void* out, std::size_t n, std::size_t limit) {
    if (pos_ > limit || limit - pos_ < n) {
      std::memset(out, 0, n);
      pos_ = limit;
      return false;
    }
    std::memcpy(out, data_ + pos_, n);
    pos_ += n;
    return true;
  }
  std::uint16_t u16(std::size_t limit) {
    std::uint8_t b[2];
    if (!readBytes(b, 2, limit) && limit >= size_) ended_ = true;
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
  }
  std::uint32_t u32(std::size_t limit) {
    std::uint8_t b[4];
    if (!readBytes(b, 4, limit) && limit >= size_) ended_ = true;
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
  }
  float f32(std::size_t limit) {
    const std::uint32_t bits = u32(limit);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  std::uint8_t u8(std::size_t limit) {
    std::uint8_t b = 0;
    if (!readBytes(&b, 1, limit) && limit >= size_) ended_ = true;
    return b;
  }

  bool readHeader(std::uint16_t& id, std::uint32_t& length) {
    if (size_ - pos_ < kHeaderSize) return false;
    id = u16(size_);
    length = u32(size_);
    return true;
  }

  // A zero-terminated name: the first 29 bytes are kept, the rest up to the terminator is
  // consumed and dropped.
  std::string readName(std::size_t limit) {
    std::string bytes;
    while (pos_ < limit) {
      const char c = static_cast<char>(data_[pos_++]);
      if (c == '\0') return ansiToUtf8(bytes);
      if (bytes.size() < kMaxNameBytes) bytes.push_back(c);
    }
    if (pos_ >= size_) ended_ = true;
    return ansiToUtf8(bytes);
  }

  // Leaf chunks continue after their end; one that runs past the file ends the parse.
  void finishLeaf(bool inFile) {
    if (!inFile) {
      ended_ = true;
      return;
    }
    if (pos_ < chunkEnd_) pos_ = chunkEnd_;
  }

  // Colour sub-chunk: 24-bit or float colour; any other kind gives 0 and is left unread.
  Colour readColour() {
    std::uint16_t id = 0;
    std::uint32_t length = 0;
    if (!readHeader(id, length)) {
      ended_ = true;
      return 0;
    }
    if (id == kColour24) {
      const std::uint32_t r = u8(size_), g = u8(size_), b = u8(size_);
      return rgb(r, g, b);
    }
    if (id == kColourFloat) {
      std::uint32_t channel[3];
      for (auto& value : channel)
        value = static_cast<std::uint32_t>(truncateToInt(f32(size_) + 0.5f)) & 0xFFu;
      return rgb(channel[0], channel[1], channel[2]);
    }
    return 0;
  }

  // Percentage sub-chunk as 0..255: integer percent or float fraction; any other kind gives 0.
  int readPercentage() {
    std::uint16_t id = 0;
    std::uint32_t length = 0;
    if (!readHeader(id, length)) {
      ended_ = true;
      return 0;
    }
    if (id == kPercentInt) return u16(size_) * 255 / 100;
    if (id == kPercentFloat) return truncateToInt(f32(size_) * 255.0f);
    return 0;
  }

  void handle(std::uint16_t id, bool inFile) {
    switch (id) {
      case kMain:
      case kEditor:
      case kKeyframer:
      case kObjectNode:
      case kShininess:
        return;  // containers: their contents follow as ordinary chunks
      case kNamedObject:
        objectName_ = readName(chunkEnd_);
        return;
      case kTriangleMesh:
        mesh_ = group_->addMesh(objectName_, std::make_unique<Mesh>());
        return;
      case kVertexList:
        readVertices();
        return finishLeaf(inFile);
      case kFaceList:
        readFaces();
        return;  // its sub-chunks follow as ordinary chunks
      case kFaceMaterial: {
        const std::string name = readName(chunkEnd_);
        if (mesh_) mesh_->material = group_->findMaterial(name);
        return finishLeaf(inFile);
      }
      case kTextureCoordinates:
        readTextureCoordinates();
        return finishLeaf(inFile);
      case kLocalAxes:
      case kKeySegment:
      case kPivot:
      case kTwoSided:
      case kWire:
      case kShading:
      case kMaterialName:
      case kNodeHeader:
        readLeaf(id);
        return finishLeaf(inFile);
      case kMaterialEntry:
        pending_ = std::make_unique<Material>();
        material_ = pending_.get();
        return;
      case kDiffuse: {
        const Colour colour = readColour();
        if (material_) material_->colour = colour;
        return;
      }
      case kSelfIllumination: {
        const Colour colour = readColour();
        if (material_) material_->selfIllumination = colour;
        return;
      }
      case kShininessStrength: {
        const int level = readPercentage();
        if (material_) material_->specularLevel = level;
        return;
      }
      case kTransparency: {
        const int level = readPercentage();
        if (material_) material_->transparency = level;
        return;
      }
      case kTextureMap:
      case kOpacityMap:
      case kReflectionMap:
        readMap(id);
        return;
      default:
        // Unknown: skip its whole length; one that claims more than the file holds ends here.
        if (!inFile) {
          ended_ = true;
          return;
        }
        pos_ = chunkEnd_;
        return;
    }
  }

  void readLeaf(std::uint16_t id) {
    switch (id) {
      case kTwoSided:
        if (material_) material_->twoSided = true;
        return;
      case kWire:
        if (material_) material_->wire = true;
        return;
      case kShading: {
        const int shading = u16(chunkEnd_);
        if (material_ && shading == kFlatShading) material_->flat = true;
        return;
      }
      case kMaterialName: {
        const std::string name = readName(chunkEnd_);
        // The entry's first name adds it to the group; a repeated name chunk is ignored.
        if (pending_) material_ = group_->addMaterial(name, std::move(pending_));
        return;
      }
      case kNodeHeader:
        objectName_ = readName(chunkEnd_);
        return;  // the flags and parent that follow are not used
      default:
        return;  // local axes, key segment, pivot: not used
    }
  }

  // Records that do not fit the chunk are dropped.
  std::size_t recordsThatFit(std::size_t count, std::size_t recordSize) const {
    const std::size_t room = chunkEnd_ > pos_ ? (chunkEnd_ - pos_) / recordSize : 0;
    return count < room ? count : room;
  }

  void readVertices() {
    const std::size_t count = recordsThatFit(u16(chunkEnd_), 12);
    if (mesh_) mesh_->vertices.reserve(mesh_->vertices.size() + count);
    for (std::size_t i = 0; i < count; ++i) {
      const float x = f32(chunkEnd_), y = f32(chunkEnd_), z = f32(chunkEnd_);
      // The file's z-up axes become the engine's y-up axes.
      if (mesh_) mesh_->addVertex(-x, z, -y, 0, 0);
    }
  }

  void readFaces() {
    const std::size_t count = recordsThatFit(u16(chunkEnd_), 8);
    if (mesh_) mesh_->faces.reserve(mesh_->faces.size() + count);
    for (std::size_t i = 0; i < count; ++i) {
      const int a = u16(chunkEnd_), b = u16(chunkEnd_), c = u16(chunkEnd_);
      u16(chunkEnd_);  // edge and mapping flags: not used
      if (!mesh_) continue;
      const int n = mesh_->vertexCount();
      if (a < n && b < n && c < n) mesh_->addFace(a, b, c);
    }
  }

  void readTextureCoordinates() {
    const std::size_t count = recordsThatFit(u16(chunkEnd_), 8);
    for (std::size_t i = 0; i < count; ++i) {
      const float u = f32(chunkEnd_), v = f32(chunkEnd_);
      if (!mesh_ || i >= mesh_->vertices.size()) continue;
      Vertex& vertex = mesh_->vertices[i];
      vertex.u = floatToFixed(u);
      vertex.v = floatToFixed(1.0f - v);
    }
  }

  void readMap(std::uint16_t id) {
    readPercentage();  // the map's strength is not used
    std::uint16_t nameId = 0;
    std::uint32_t nameLength = 0;
    if (!readHeader(nameId, nameLength)) {
      ended_ = true;
      return;
    }
    const std::string fileName = readName(size_);
    if (!material_) return;
    std::shared_ptr<Texture> picture;
    if (options_.textures && !fileName.empty())
      picture = options_.textures(TextureRequest{textureFolder_, fileName, true, false});
    if (id == kTextureMap) {
      material_->textureName = fileName;
      material_->texture = std::move(picture);
    } else if (id == kOpacityMap) {
      material_->opacityMapName = fileName;
      material_->opacityMap = std::move(picture);
    } else {
      material_->reflectionMapName = fileName;
      material_->reflectionMap = std::move(picture);
      return;
    }
    const Texture* t = material_->texture.get();
    const Texture* o = material_->opacityMap.get();
    if (t && o && (t->width() != o->width() || t->height() != o->height()))
      showMessage(options_.messages, {"Error", kMapSizeMismatchText, MessageIcon::kInformation});
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  std::size_t chunkEnd_ = 0;
  bool ended_ = false;
  const std::string& textureFolder_;
  const ModelLoadOptions& options_;

  std::unique_ptr<Group3D> group_;
  Mesh* mesh_ = nullptr;
  Material* material_ = nullptr;
  // A material entry before its name chunk adds it to the group.
  std::unique_ptr<Material> pending_;
  std::string objectName_;
};

bool isSeparator(char c) {
  return c == '\\' || c == '/';
}

}  // namespace

std::unique_ptr<Group3D> parseModel3ds(const std::uint8_t* data, std::size_t size,
                                       const std::string& textureFolder, float radius,
                                       const NameFilter& filter, const ModelLoadOptions& options) {
  std::unique_ptr<Group3D> group = Parser(data, size, textureFolder, options).run();
  if (group && radius > 0.0f) group->normalize(radius, filter);
  return group;
}

std::unique_ptr<Group3D> loadModel3ds(const std::string& directory, const std::string& modelName,
                                      float radius, const NameFilter& filter,
                                      const ModelLoadOptions& options) {
  std::string folder = directory;
  if (!folder.empty() && !isSeparator(folder.back())) folder += '\\';
  std::string name = modelName;
  if (!name.empty() && isSeparator(name.front())) name.erase(0, 1);
  const size_t cut = name.find_last_of("\\/");
  if (cut != std::string::npos) {
    folder += name.substr(0, cut + 1);
    name.erase(0, cut + 1);
  }
  const std::string path = folder + name;
  ModelLoadOptions named = options;
  named.sourceName = platform::displayPath(path);

  std::vector<std::uint8_t> bytes;
  {
    platform::ResourceStream stream = platform::openResource(path, "rb");
    if (!stream) {
      if (!options.quietWhenMissing)
        showMessage(options.messages, {"Error", kMissingModelText + named.sourceName + "'",
                                       MessageIcon::kExclamation});
      return nullptr;
    }
    std::uint8_t buffer[16384];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stream.get())) > 0)
      bytes.insert(bytes.end(), buffer, buffer + n);
    platform::closeResource(std::move(stream));
  }
  const std::string& textures = options.textureFolder.empty() ? folder : options.textureFolder;
  return parseModel3ds(bytes.data(), bytes.size(), textures, radius, filter, named);
}

}  // namespace engine3d
