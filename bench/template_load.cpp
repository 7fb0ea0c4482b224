// Loading and reading a large template: 5,000 properties, a fifth of them nested item lists and
// a third of them holding value references, with comment and empty lines between groups.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/Template.h"

namespace {

const std::string& benchFolder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/skirrow-bench-XXXXXX";
    std::string made = ::mkdtemp(pattern);
    std::string text = "# generated for the template benchmark\nbase=GUI\ndepth0=pics\n";
    for (int d = 1; d < 6; ++d)
      text += "depth" + std::to_string(d) + "={depth" + std::to_string(d - 1) + "}/d\n";
    for (int i = 0; i < 5000; ++i) {
      if (i % 100 == 0) text += "\n# group " + std::to_string(i / 100) + "\n";
      std::string key = "spt" + std::to_string(i);
      switch (i % 5) {
        case 0:
          text += key + "=type:Sprite, pos:(" + std::to_string(i % 240) + ";" +
                  std::to_string(i % 320) + ";0), image:{depth5}/s" + std::to_string(i) +
                  ".gif, frames:4, bkgColor:(10;20;30)\n";
          break;
        case 1:
          text += "{base}Title" + std::to_string(i) + " = Title number " + std::to_string(i) +
                  " // a comment\n";
          break;
        case 2:
          text += key + "=" + std::to_string(i * 37) + "\n";
          break;
        case 3:
          text += key + "={spt" + std::to_string(i - 1) + "} and {depth3}\n";
          break;
        default:
          text += key + "=(1.5;-2;" + std::to_string(i) + ")\n";
      }
    }
    std::FILE* f = std::fopen((made + "/big.properties").c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return made;
  }();
  return folder;
}

void loadTemplate(benchmark::State& state) {
  const std::string& folder = benchFolder();
  for (auto _ : state) {
    platform::Template t;
    t.load(folder, "big.properties");
    benchmark::DoNotOptimize(t.count());
  }
}
BENCHMARK(loadTemplate)->Unit(benchmark::kMillisecond);

void loadAndReadEveryValue(benchmark::State& state) {
  const std::string& folder = benchFolder();
  for (auto _ : state) {
    platform::Template t;
    t.load(folder, "big.properties");
    int64_t sum = 0;
    for (const std::string& key : t.keys()) {
      sum += t.getInt(key, "frames", 0);
      sum += static_cast<int64_t>(t.getRaw(key)->size());
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(loadAndReadEveryValue)->Unit(benchmark::kMillisecond);

}  // namespace
