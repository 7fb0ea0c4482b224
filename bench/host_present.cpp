// Cost of getting a frame to the device screen: a full-screen 16-bit blit from a back buffer
// into a window DC (the canvas path), the same with 16-to-32-bit conversion, and showing a
// 480x640 screen through SDL (needs a display, or SDL_VIDEODRIVER=offscreen).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "host/Gdi.h"
#include "host/Host.h"
#include "host/Screen.h"
#include "host/WindowManager.h"

namespace {

using namespace host;

Host& startHost(BackendKind kind) {
  HostConfig config;
  config.backend = kind;
  config.profile = *findProfile("vga");
  return Host::restart(config);
}

Hwnd makeWindow(Host& host) {
  WindowClass c;
  c.name = "BENCH";
  c.proc = [](Hwnd w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
    return Host::get().windows().defWindowProc(w, m, wp, lp);
  };
  host.windows().registerClass(c);
  return host.windows().createWindow(0, "BENCH", "bench", WS_VISIBLE, 0, 0, 480, 640, 0, 0,
                                     nullptr);
}

Hdc backBuffer(Gdi& gdi, int bits) {
  BitmapInfo info;
  info.width = 480;
  info.height = -640;
  info.bitCount = bits;
  info.compression = BI_BITFIELDS;
  if (bits == 16)
    info.redMask = 0xF800, info.greenMask = 0x07E0, info.blueMask = 0x001F;
  else
    info.redMask = 0xFF0000, info.greenMask = 0xFF00, info.blueMask = 0xFF;
  void* bits_ = nullptr;
  Hbitmap b = gdi.createDibSection(info, &bits_);
  auto* p = static_cast<std::uint8_t*>(bits_);
  for (int i = 0; i < 480 * 640 * bits / 8; ++i) p[i] = static_cast<std::uint8_t>(i * 7);
  Hdc dc = gdi.createCompatibleDc(0);
  gdi.selectObject(dc, b);
  return dc;
}

// A full-screen blit from a back buffer of the given depth (16 or 32 bits) into a window DC.
void BM_FullScreenBlit(benchmark::State& state) {
  Host& host = startHost(BackendKind::Headless);
  Hwnd w = makeWindow(host);
  Hdc src = backBuffer(host.gdi(), static_cast<int>(state.range(0)));
  Hdc dst = host.windows().getDC(w);
  for (auto _ : state) {
    host.gdi().bitBlt(dst, 0, 0, 480, 640, src, 0, 0, SRCCOPY);
    benchmark::DoNotOptimize(host.screen().pixels()[1000]);
  }
  state.SetItemsProcessed(state.iterations() * 480 * 640);
  Host::shutdown();
}
BENCHMARK(BM_FullScreenBlit)->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);

void BM_PresentSdl480x640(benchmark::State& state) {
  if (!std::getenv("DISPLAY")) ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
  ::setenv("SKIRROW_SCALE", "1", 1);
  Host& host = startHost(BackendKind::Sdl);
  if (std::string(host.backend().name()) != "sdl") {
    state.SkipWithError("SDL cannot open a window here");
    Host::shutdown();
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(host.backend().present(host.screen()));
  Host::shutdown();
}
BENCHMARK(BM_PresentSdl480x640)->Unit(benchmark::kMicrosecond);

}  // namespace
