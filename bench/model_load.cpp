// Loading a 3DS model of about 10,000 faces (a rippled 72 x 72 grid in four objects, with a
// material and texture coordinates) from memory and from a file, and preparing its normals
// and bounds.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine3d/Model3dsLoader.h"

namespace {

constexpr int kSide = 72;       // vertices per grid side
constexpr int kObjects = 4;     // the grid is cut into this many objects by rows
constexpr float kCell = 0.25f;  // grid spacing in file units

class Writer {
 public:
  void begin(std::uint16_t id) {
    u16(id);
    open_.push_back(bytes.size());
    u32(0);
  }
  void end() {
    const std::size_t at = open_.back();
    open_.pop_back();
    const auto length = static_cast<std::uint32_t>(bytes.size() - (at - 2));
    std::memcpy(&bytes[at], &length, 4);  // little-endian host
  }
  void u16(std::uint16_t v) { append(&v, 2); }
  void u32(std::uint32_t v) { append(&v, 4); }
  void f32(float v) { append(&v, 4); }
  void str(const std::string& s) { append(s.c_str(), s.size() + 1); }

  std::vector<std::uint8_t> bytes;

 private:
  void append(const void* p, std::size_t n) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    bytes.insert(bytes.end(), b, b + n);
  }
  std::vector<std::size_t> open_;
};

const std::vector<std::uint8_t>& model() {
  static const std::vector<std::uint8_t> bytes = [] {
    Writer w;
    w.begin(0x4D4D);
    w.begin(0x3D3D);
    w.begin(0xAFFF);
    w.begin(0xA000);
    w.str("ground");
    w.end();
    w.begin(0xA020);
    w.begin(0x0011);
    for (int i = 0; i < 3; ++i) w.bytes.push_back(static_cast<std::uint8_t>(90 + 40 * i));
    w.end();
    w.end();
    w.end();
    const int rowsPerObject = (kSide - 1) / kObjects + 1;
    for (int object = 0; object < kObjects; ++object) {
      const int firstRow = object * (rowsPerObject - 1);
      const int rows = std::min(rowsPerObject, kSide - firstRow);
      if (rows < 2) break;
      w.begin(0x4000);
      w.str("part" + std::to_string(object));
      w.begin(0x4100);
      w.begin(0x4110);
      w.u16(static_cast<std::uint16_t>(rows * kSide));
      for (int r = 0; r < rows; ++r)
        for (int c = 0; c < kSide; ++c) {
          const float x = c * kCell, y = (firstRow + r) * kCell;
          w.f32(x);
          w.f32(y);
          w.f32(0.5f * std::sin(x) * std::cos(y));
        }
      w.end();
      w.begin(0x4120);
      w.u16(static_cast<std::uint16_t>((rows - 1) * (kSide - 1) * 2));
      for (int r = 0; r + 1 < rows; ++r)
        for (int c = 0; c + 1 < kSide; ++c) {
          const auto i = static_cast<std::uint16_t>(r * kSide + c);
          const std::uint16_t quad[6] = {i,
                                         static_cast<std::uint16_t>(i + 1),
                                         static_cast<std::uint16_t>(i + kSide + 1),
                                         i,
                                         static_cast<std::uint16_t>(i + kSide + 1),
                                         static_cast<std::uint16_t>(i + kSide)};
          for (int t = 0; t < 2; ++t) {
            for (int k = 0; k < 3; ++k) w.u16(quad[t * 3 + k]);
            w.u16(7);
          }
        }
      w.begin(0x4130);
      w.str("ground");
      w.u16(0);
      w.end();
      w.end();
      w.begin(0x4140);
      w.u16(static_cast<std::uint16_t>(rows * kSide));
      for (int r = 0; r < rows; ++r)
        for (int c = 0; c < kSide; ++c) {
          w.f32(static_cast<float>(c) / kSide);
          w.f32(static_cast<float>(firstRow + r) / kSide);
        }
      w.end();
      w.end();
      w.end();
    }
    w.end();
    w.end();
    return w.bytes;
  }();
  return bytes;
}

engine3d::ModelLoadOptions quietOptions() {
  engine3d::ModelLoadOptions options;
  options.messages = [](const engine3d::UserMessage&) {};
  return options;
}

void BM_Parse3dsFromMemory(benchmark::State& state) {
  const std::vector<std::uint8_t>& bytes = model();
  const engine3d::ModelLoadOptions options = quietOptions();
  int faces = 0;
  for (auto _ : state) {
    auto group = engine3d::parseModel3ds(bytes.data(), bytes.size(), "", 10.0f, {}, options);
    faces = group->faceCount();
    benchmark::DoNotOptimize(group);
  }
  state.counters["faces"] = faces;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_Parse3dsFromMemory)->Unit(benchmark::kMicrosecond);

void BM_Load3dsFromFile(benchmark::State& state) {
  char pattern[] = "/tmp/skirrow-bench-model-XXXXXX";
  const std::string folder = ::mkdtemp(pattern);
  const std::string path = folder + "/grid.3ds";
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(model().data(), 1, model().size(), f);
    std::fclose(f);
  }
  const engine3d::ModelLoadOptions options = quietOptions();
  for (auto _ : state) {
    auto group = engine3d::loadModel3ds(folder, "grid.3ds", 10.0f, {}, options);
    if (!group) state.SkipWithError("model file not readable");
    benchmark::DoNotOptimize(group);
  }
  std::remove(path.c_str());
  ::rmdir(folder.c_str());
}
BENCHMARK(BM_Load3dsFromFile)->Unit(benchmark::kMicrosecond);

// Face normals, vertex normals and bounds of every mesh, as at scene set-up.
void BM_PrepareModel(benchmark::State& state) {
  auto group =
      engine3d::parseModel3ds(model().data(), model().size(), "", 10.0f, {}, quietOptions());
  for (auto _ : state) {
    for (const auto& mesh : group->meshes()) mesh->prepared = false;
    group->prepare(true);
    benchmark::DoNotOptimize(group->firstMesh()->vertices.data());
  }
  state.counters["faces"] = group->faceCount();
}
BENCHMARK(BM_PrepareModel)->Unit(benchmark::kMicrosecond);

void BM_BuildIndexArrays(benchmark::State& state) {
  auto group =
      engine3d::parseModel3ds(model().data(), model().size(), "", 10.0f, {}, quietOptions());
  for (auto _ : state) {
    group->buildIndexArrays();
    benchmark::DoNotOptimize(group->firstMesh()->indexArray.data());
  }
}
BENCHMARK(BM_BuildIndexArrays)->Unit(benchmark::kMicrosecond);

}  // namespace
