// Saving and loading a project tree of about 100,000 elements of mixed kinds with code texts,
// in memory and through the configuration file, next to copying the same bytes in memory.
// Each benchmark reports elements per second and "x_memcpy", its time over one copy of the
// image with memcpy.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

#include "core/App.h"
#include "model/Kinds.h"
#include "storage/Config.h"
#include "storage/Stream.h"

namespace {

CApp* app = nullptr;
std::int64_t elements = 0;

template <class T>
T* Add(CInfo* parent, const CStr& name) {
  auto* node = new T;
  node->SetName(name);
  parent->Append(node);
  ++elements;
  return node;
}

// 10 groups x 10 applications x 10 units x 10 classes, each class with five operations (a
// body and two parameters) and four attributes: 101,110 elements.
void BuildTree(CInfo& root) {
  const CStr body = "{\r\n  if (Count > 0)\r\n    Count = Count - 1;\r\n  return Count;\r\n}";
  for (int g = 0; g < 10; ++g) {
    auto* group = Add<CProjectGroupInfo>(&root, CStr("Group") + CInt(g).ToStr());
    for (int a = 0; a < 10; ++a) {
      auto* pack = Add<CAppInfo>(group, CStr("App") + CInt(a).ToStr());
      for (int u = 0; u < 10; ++u) {
        auto* unit = Add<CUnitInfo>(pack, CStr("Unit") + CInt(u).ToStr());
        for (int c = 0; c < 10; ++c) {
          auto* cls = Add<CClassInfo>(unit, CStr("CClass") + CInt(c).ToStr());
          cls->Base = "CObject";
          cls->About = "Класс модели"_cp;
          for (int o = 0; o < 5; ++o) {
            auto* oper = Add<COperInfo>(cls, CStr("Method") + CInt(o).ToStr());
            oper->Type = "int";
            oper->Access = 2;
            oper->Code = body;
            oper->AddParam("int", "first");
            oper->AddParam("CStr", "second");
          }
          for (int m = 0; m < 4; ++m) {
            auto* atr = Add<CAtrInfo>(cls, CStr("Field") + CInt(m).ToStr());
            atr->Type = "long";
          }
        }
      }
    }
  }
}

CMemory& Image() {
  static CMemory image;
  if (image.GetSize().Value == 0) WriteConfig(image, app->InfoMan.Root);
  return image;
}

// Seconds for one memcpy of the image, the best of a few runs.
double CopySeconds() {
  static double best = 0;
  if (best > 0) return best;
  CMemory& image = Image();
  std::vector<std::uint8_t> target(static_cast<std::size_t>(image.GetSize().Value));
  best = 1e9;
  for (int run = 0; run < 20; ++run) {
    const auto start = std::chrono::steady_clock::now();
    std::memcpy(target.data(), image.Data(), target.size());
    benchmark::ClobberMemory();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

void Report(benchmark::State& state, double seconds) {
  state.SetItemsProcessed(state.iterations() * elements);
  state.SetBytesProcessed(state.iterations() * Image().GetSize().Value);
  state.counters["x_memcpy"] = seconds / double(state.iterations()) / CopySeconds();
}

void SaveToMemory(benchmark::State& state) {
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    CMemory out;
    WriteConfig(out, app->InfoMan.Root);
    benchmark::DoNotOptimize(out.Data());
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  Report(state, seconds);
}

void LoadFromMemory(benchmark::State& state) {
  CMemory& image = Image();
  double seconds = 0;
  for (auto _ : state) {
    CInfo root;
    const auto start = std::chrono::steady_clock::now();
    const CLoadReport report = ReadConfig(image, root);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!report.Ok()) state.SkipWithError("the image did not load");
    state.PauseTiming();  // destroying the tree is not part of loading
    root.Children.Clear();
    state.ResumeTiming();
  }
  Report(state, seconds);
}

void SaveAndLoadFile(benchmark::State& state) {
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (SaveConfig(*app).Length().Value) state.SkipWithError("the file was not saved");
    const CLoadReport report = LoadConfig(*app);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!report.Ok()) state.SkipWithError("the file did not load");
  }
  Report(state, seconds);
}

void MemoryCopy(benchmark::State& state) {
  CMemory& image = Image();
  std::vector<std::uint8_t> target(static_cast<std::size_t>(image.GetSize().Value));
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    std::memcpy(target.data(), image.Data(), target.size());
    benchmark::ClobberMemory();
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  Report(state, seconds);
}

}  // namespace

BENCHMARK(MemoryCopy)->Unit(benchmark::kMicrosecond);
BENCHMARK(SaveToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadFromMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveAndLoadFile)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  // The file benchmark writes on a drive C: of its own.
  const auto drive = std::filesystem::temp_directory_path() /
                     ("qxbench-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(drive);
  setenv("QXWORKS_DRIVE_C", drive.c_str(), 1);

  app = new CApp;
  BuildTree(app->InfoMan.Root);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  delete app;
  std::filesystem::remove_all(drive);
  return 0;
}
