// How fast the writer makes the C++ files of a 10 MB project: an application of form-like
// classes (attributes, operations with parameters and bodies of several lines), written out as
// headers and sources with their line maps, and stored in the build folder (the second store
// finds every file unchanged and writes nothing).
#include <benchmark/benchmark.h>

#include <string>

#include "core/App.h"
#include "model/HeadTexts.h"
#include "model/Kinds.h"
#include "writer/Writer.h"

namespace {

constexpr std::size_t kTargetBytes = 10 * 1000 * 1000;

template <class T>
T* Add(CInfo* parent, const std::string& name) {
  auto* node = new T;
  parent->Append(node);
  node->SetName(CStr(name));
  return node;
}

// Units of 50 classes each; answers the bytes of names, types and code the tree holds.
std::size_t Fill(CAppInfo& app) {
  std::size_t bytes = 0;
  CUnitInfo* unit = nullptr;
  for (int n = 0; bytes < kTargetBytes; ++n) {
    if (n % 50 == 0) {
      unit = Add<CUnitInfo>(&app, "Unit" + std::to_string(n / 50));
      unit->UnitExtra = WriteHeads({"#include <cstdio>\r\n#include <string>\r\n", "#include <vector>\r\n"});
    }
    auto* type = Add<CClassInfo>(unit, "TForm" + std::to_string(n));
    type->Base = "TBase";
    type->Kind = 2;
    for (int k = 0; k < 10; ++k) {
      auto* field = Add<CAtrInfo>(type, "Field" + std::to_string(k));
      field->Type = k % 2 ? "int" : "std::string";
      bytes += 24;
    }
    for (int k = 0; k < 10; ++k) {
      auto* operation = Add<COperInfo>(type, "Button" + std::to_string(k) + "Click");
      operation->Type = "void";
      operation->Access = 2;
      operation->AddParam("int", "count", "0");
      operation->AddParam("const std::string&", "text");
      std::string code = "//Imported";
      for (int line = 0; line < 8; ++line)
        code += "\r\n Field" + std::to_string(line) + " = Field" + std::to_string(line + 1) + "+count*" +
                std::to_string(k) + ";";
      operation->Code = CStr(code);
      bytes += code.size() + 60;
    }
  }
  auto* main = Add<COperInfo>(unit, "main");
  main->Type = "int";
  main->Code = "return 0;";
  return bytes;
}

void BM_WriteApplication(benchmark::State& state) {
  CApp app;
  auto* group = Add<CProjectGroupInfo>(&app.InfoMan.Root, "Bench");
  auto* project = Add<CAppInfo>(group, "Big");
  const std::size_t bytes = Fill(*project);
  std::size_t written = 0;
  for (auto _ : state) {
    const writer::Written files = writer::WriteApplication(*project);
    if (!files.Error.empty()) state.SkipWithError(files.Error.c_str());
    written = 0;
    for (const writer::WrittenFile& file : files.Files) written += file.Text.size();
    benchmark::DoNotOptimize(files.Files.data());
  }
  state.SetBytesProcessed(std::int64_t(written) * state.iterations());
  state.counters["model_MB"] = double(bytes) / 1e6;
  state.counters["written_MB"] = double(written) / 1e6;
}
BENCHMARK(BM_WriteApplication)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_StoreUnchanged(benchmark::State& state) {
  CApp app;
  auto* group = Add<CProjectGroupInfo>(&app.InfoMan.Root, "Bench");
  auto* project = Add<CAppInfo>(group, "Big");
  Fill(*project);
  const writer::Written files = writer::WriteApplication(*project);
  std::string error;
  if (!writer::StoreChanged(files, writer::BuildFolder(*project), error)) state.SkipWithError(error.c_str());
  for (auto _ : state)
    if (!writer::StoreChanged(files, writer::BuildFolder(*project), error)) state.SkipWithError(error.c_str());
  state.counters["files"] = double(files.Files.size());
}
BENCHMARK(BM_StoreUnchanged)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
