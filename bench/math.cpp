// Engine math throughput: batched point transforms and table trigonometry against libm.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "engine3d/FixedPoint.h"
#include "engine3d/MathTables.h"
#include "engine3d/Matrix4.h"

namespace {

using engine3d::Matrix4;
using engine3d::Vector3;

std::vector<Vector3> makePoints(int count) {
  std::vector<Vector3> points(count);
  for (int i = 0; i < count; ++i) {
    points[i] = Vector3(static_cast<float>(i % 97) - 48.0f, static_cast<float>(i % 31) * 0.5f,
                        static_cast<float>(i % 13) + 1.0f);
  }
  return points;
}

Matrix4 modelView() {
  Matrix4 m = Matrix4::lookAt(Vector3(3, 4, -20), Vector3(0, 0, 0), Vector3(0, 1, 0), true) *
              Matrix4::rotation(Vector3(0.3f, 1, 0.2f), 0.7f);
  m.setTranslation(Vector3(1, 2, 30));
  return m;
}

void transformPoints(benchmark::State& state) {
  const auto count = static_cast<int>(state.range(0));
  const std::vector<Vector3> in = makePoints(count);
  std::vector<Vector3> out(count);
  const Matrix4 m = modelView();
  for (auto _ : state) {
    for (int i = 0; i < count; ++i) out[i] = m.transformPoint(in[i]);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(transformPoints)->Arg(1024)->Arg(16384);

// The same batch ending in 16.16, as a renderer consumes it.
void transformPointsToFixed(benchmark::State& state) {
  const auto count = static_cast<int>(state.range(0));
  const std::vector<Vector3> in = makePoints(count);
  std::vector<std::int32_t> out(3 * static_cast<std::size_t>(count));
  const Matrix4 m = modelView();
  for (auto _ : state) {
    for (int i = 0; i < count; ++i) {
      const Vector3 p = m.transformPoint(in[i]);
      out[3 * i] = engine3d::floatToFixed(p.x);
      out[3 * i + 1] = engine3d::floatToFixed(p.y);
      out[3 * i + 2] = engine3d::floatToFixed(p.z);
    }
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(transformPointsToFixed)->Arg(16384);

void matrixProduct(benchmark::State& state) {
  Matrix4 a = modelView();
  const Matrix4 b = Matrix4::rotationY(0.01f);
  for (auto _ : state) {
    engine3d::mulInPlace(a, b);
    benchmark::DoNotOptimize(a.m);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(matrixProduct);

std::vector<float> makeAngles() {
  std::vector<float> angles(4096);
  for (std::size_t i = 0; i < angles.size(); ++i) {
    angles[i] = static_cast<float>(i) * 0.0137f - 20.0f;
  }
  return angles;
}

void tableSine(benchmark::State& state) {
  engine3d::initMath();
  const std::vector<float> angles = makeAngles();
  for (auto _ : state) {
    float sum = 0.0f;
    for (float a : angles) sum += engine3d::sinLookup(a);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(angles.size()));
}
BENCHMARK(tableSine);

void librarySineFloat(benchmark::State& state) {
  const std::vector<float> angles = makeAngles();
  for (auto _ : state) {
    float sum = 0.0f;
    for (float a : angles) sum += std::sin(a);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(angles.size()));
}
BENCHMARK(librarySineFloat);

void librarySineDouble(benchmark::State& state) {
  const std::vector<float> angles = makeAngles();
  for (auto _ : state) {
    double sum = 0.0;
    for (float a : angles) sum += std::sin(static_cast<double>(a));
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(angles.size()));
}
BENCHMARK(librarySineDouble);

}  // namespace
