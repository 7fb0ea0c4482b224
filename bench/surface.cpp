// Full-screen software blits on VGA Surfaces (480 x 640): unscaled and scaled copies, with and
// without a colour key, in 16 and 32 bits. Items are destination pixels.
#include <benchmark/benchmark.h>

#include <memory>

#include "host/Host.h"
#include "media/Blit.h"
#include "media/Surface.h"

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 640;
constexpr uint32_t kKey = 0xFF00FF;

// Surfaces live in the host's GDI; benchmarks run without a display.
void startHost() {
  static bool started = [] {
    host::HostConfig config;
    config.backend = host::BackendKind::Headless;
    config.profile = *host::findProfile("vga");
    host::Host::restart(config);
    return true;
  }();
  (void)started;
}

// A picture with a keyed pixel in every fourth column and an irregular pattern elsewhere, so
// that keyed copies take both branches.
std::unique_ptr<media::Surface> source(int bits, int width, int height) {
  auto s = media::Surface::create(width, height, media::PixelLayout{bits, false}, true);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      s->setPixel(x, y, x % 4 == 0 ? kKey : ((x * 7) ^ (y * 13)) * 0x010305u & 0xFFFFFF);
  return s;
}

void BM_Blit(benchmark::State& state) {
  startHost();
  const int bits = static_cast<int>(state.range(0));
  const uint32_t key = state.range(1) ? kKey : media::kNoColorKey;
  auto src = source(bits, kWidth, kHeight);
  auto dst = media::Surface::create(kWidth, kHeight, media::PixelLayout{bits, false}, true);
  for (auto _ : state) {
    media::blit(*dst, *src, 0, 0, 0, 0, -1, -1, key);
    benchmark::DoNotOptimize(dst->bits());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

// A quarter-size picture stretched over the whole screen (the enlarging case of menus).
void BM_StretchBlit(benchmark::State& state) {
  startHost();
  const int bits = static_cast<int>(state.range(0));
  const uint32_t key = state.range(1) ? kKey : media::kNoColorKey;
  auto src = source(bits, kWidth / 2, kHeight / 2);
  auto dst = media::Surface::create(kWidth, kHeight, media::PixelLayout{bits, false}, true);
  for (auto _ : state) {
    media::stretchBlit(*dst, *src, 0, 0, -1, -1, 0, 0, -1, -1, key);
    benchmark::DoNotOptimize(dst->bits());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_FillWhole(benchmark::State& state) {
  startHost();
  const int bits = static_cast<int>(state.range(0));
  auto dst = media::Surface::create(kWidth, kHeight, media::PixelLayout{bits, false}, true);
  for (auto _ : state) {
    media::fill(*dst, 0x203040, 0, 0, -1, -1, true);
    benchmark::DoNotOptimize(dst->bits());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

BENCHMARK(BM_Blit)->ArgNames({"bits", "keyed"})->ArgsProduct({{16, 32}, {0, 1}});
BENCHMARK(BM_StretchBlit)->ArgNames({"bits", "keyed"})->ArgsProduct({{16, 32}, {0, 1}});
BENCHMARK(BM_FillWhole)->ArgName("bits")->Arg(16)->Arg(32);

}  // namespace
