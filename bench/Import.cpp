// How fast the Import command reads a large unit: a generated header and source of about 10 MB
// together, imported through the driver from drive C:, against a plain pass over the same bytes
// (reading both files and counting their lines) measured in the same run; and the corpus of real
// headers of the import tests as one input.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#include "core/App.h"
#include "import/CppAnalys.h"
#include "model/Kinds.h"
#include "platform/Files.h"
#include "storage/Config.h"
#include "storage/Stream.h"

namespace {

constexpr std::size_t kTargetBytes = 10 * 1000 * 1000;

// Form classes as a form designer writes them: components, handlers, private state, a
// constructor with its initialiser, a destructor, an operator; and their definitions.
void Generate(std::string& header, std::string& source) {
  header = "//---------------------------------------------------------------------------\r\n"
           "#ifndef MainH\r\n#define MainH\r\n#include <Classes.hpp>\r\n#include <Controls.hpp>\r\n"
           "typedef void (__closure *TNotifyEvent)(TObject* Sender);\r\ntypedef int TCount;\r\n";
  source = "#include <vcl.h>\r\n#pragma hdrstop\r\n#include \"Main.h\"\r\n#pragma package(smart_init)\r\n";
  for (int n = 0; header.size() + source.size() < kTargetBytes; ++n) {
    const std::string c = "TForm" + std::to_string(n);
    header += "//---------------------------------------------------------------------------\r\n";
    header += "class " + c + " : public TForm\r\n{\r\npublished:\t// IDE-managed Components\r\n";
    for (int k = 0; k < 8; ++k) header += "  TButton *Button" + std::to_string(k) + ";\r\n";
    header += "  TLabel *Caption;\r\n  TEdit *Edit1;\r\n";
    for (int k = 0; k < 8; ++k)
      header += "  void __fastcall Button" + std::to_string(k) + "Click(TObject *Sender);\r\n";
    header += "private:\t// User declarations\r\n  int FCount;\r\n  CStr FTitle;\r\n"
              "  TList *FItems;\r\n  void __fastcall Recount(int From, int To = 10);\r\n"
              "public:\t\t// User declarations\r\n  __fastcall " + c + "(TComponent* Owner);\r\n"
              "  __fastcall ~" + c + "();\r\n  bool operator==(const " + c + "& Other);\r\n};\r\n"
              "extern PACKAGE " + c + " *Form" + std::to_string(n) + ";\r\n";

    source += "//---------------------------------------------------------------------------\r\n";
    source += c + " *Form" + std::to_string(n) + ";\r\n";
    source += "__fastcall " + c + "::" + c + "(TComponent* Owner)\r\n  : TForm(Owner)\r\n{\r\n"
              "  FCount = 0;\r\n  FItems = new TList;\r\n}\r\n";
    source += "__fastcall " + c + "::~" + c + "()\r\n{\r\n  delete FItems;\r\n}\r\n";
    for (int k = 0; k < 8; ++k) {
      source += "void __fastcall " + c + "::Button" + std::to_string(k) + "Click(TObject *Sender)\r\n{\r\n"
                "  // count the clicks\r\n  FCount = FCount + " + std::to_string(k) + ";\r\n"
                "  if (FCount > 100)\r\n  {\r\n    Caption->Caption = \"Too many: \" + IntToStr(FCount);\r\n"
                "    for (int i = 0; i < FItems->Count; i++)\r\n    {\r\n      Recount(i, i + 1);\r\n    }\r\n"
                "  }\r\n  else\r\n  {\r\n    Edit1->Text = \"\";\r\n  }\r\n}\r\n";
    }
    source += "void __fastcall " + c + "::Recount(int From, int To)\r\n{\r\n  while (From < To) { From++; }\r\n}\r\n";
    source += "bool " + c + "::operator==(const " + c + "& Other)\r\n{\r\n  return FCount == Other.FCount;\r\n}\r\n";
  }
  header += "#endif\r\n";
}

void Write(const std::string& systemPath, const std::string& bytes) {
  platform::File file;
  if (!file.CreateForWriting(systemPath) || file.Write(bytes.data(), bytes.size()) != std::int64_t(bytes.size()) ||
      !file.Close())
    std::abort();
}

// Reads both files and counts their lines: the least any importer must do with the bytes.
std::size_t PlainPass(const std::string& base) {
  std::size_t lines = 0;
  for (const char* ext : {".h", ".cpp"}) {
    platform::File file;
    if (!file.OpenForReading(base + ext)) std::abort();
    std::string bytes(file.Size(), '\0');
    file.Read(bytes.data(), file.Size());
    for (char c : bytes) lines += c == '\n';
  }
  return lines;
}

// Many small classes, as scripts/gen-unit.sh writes them: two attributes and two operations with
// short bodies each; 35,000 of them make about 10 MB.
void GenerateSmall(std::string& header, std::string& source) {
  header = "#ifndef MainH\n#define MainH\n#include <Classes.hpp>\n";
  source = "#include <vcl.h>\n#pragma hdrstop\n#include \"Main.h\"\n";
  for (int n = 0; n < 35000; ++n) {
    const std::string c = "TItem" + std::to_string(n);
    header += "class " + c +
              " : public TObject\n{\nprivate:\n\tint FValue;\n\tCStr FName;\npublic:\n"
              "\tvoid __fastcall SetValue(int Value);\n\tint __fastcall GetValue();\n};\n";
    source += "void __fastcall " + c + "::SetValue(int Value)\n{\n\tFValue = Value + " +
              std::to_string(n) + ";\n}\nint __fastcall " + c +
              "::GetValue()\n{\n\treturn FValue;\n}\n";
  }
  header += "#endif\n";
}

// The project group Bench with one unit of that name, at the top of the application's tree.
CUnitInfo* BenchUnit(CApp& app, const char* name) {
  auto* group = new CProjectGroupInfo;
  app.InfoMan.Root.Append(group);
  group->SetName("Bench");
  auto* unit = new CUnitInfo;
  group->Append(unit);
  unit->SetName(name);
  return unit;
}

// The import in the environment's own process, from drive C: to the tree, on either input.
void BM_ImportUnit(benchmark::State& state) {
  CApp app;
  CUnitInfo* unit = BenchUnit(app, "Main");

  std::string header, source;
  if (state.range(0) == 0)
    Generate(header, source);
  else
    GenerateSmall(header, source);
  platform::MakeDirectory("C:\\Qxe");
  platform::MakeDirectory("C:\\Qxe\\Bench");
  Write("C:\\Qxe\\Bench\\Main.h", header);
  Write("C:\\Qxe\\Bench\\Main.cpp", source);
  const double bytes = double(header.size() + source.size());

  using Clock = std::chrono::steady_clock;
  double importSeconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    unit->Children.Clear();  // deleting the last import's elements is not part of this one
    state.ResumeTiming();
    const auto start = Clock::now();
    CCppAnalys analys;
    if (!analys.ImportElement(unit)) state.SkipWithError("import failed");
    importSeconds += std::chrono::duration<double>(Clock::now() - start).count();
  }
  double plainSeconds = 1e9;
  for (int i = 0; i < 5; ++i) {
    const auto start = Clock::now();
    benchmark::DoNotOptimize(PlainPass("C:\\Qxe\\Bench\\Main"));
    plainSeconds = std::min(plainSeconds, std::chrono::duration<double>(Clock::now() - start).count());
  }
  state.SetBytesProcessed(std::int64_t(bytes) * state.iterations());
  state.counters["MB"] = bytes / 1e6;
  state.counters["classes"] = double(unit->ChildCount().Value);
  state.counters["import_MB_per_s"] = bytes / 1e6 / (importSeconds / double(state.iterations()));
  state.counters["plain_MB_per_s"] = bytes / 1e6 / plainSeconds;
  state.counters["times_plain_pass"] = (importSeconds / double(state.iterations())) / plainSeconds;
}
// 0: the form classes; 1: many small classes.
BENCHMARK(BM_ImportUnit)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The folder of this program's build, where qxtree lies.
std::string BuildFolder() {
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  return std::filesystem::path(self).parent_path().parent_path().string();
}

// `qxtree import` as a user runs it, start, load, import, save and exit included, on a project
// file that holds only the unit; against the plain pass over the same two files, in the same run.
void BM_QxtreeImport(benchmark::State& state) {
  std::string header, source;
  if (state.range(0) == 0)
    Generate(header, source);
  else
    GenerateSmall(header, source);
  platform::MakeDirectory("C:\\Qxe");
  platform::MakeDirectory("C:\\Qxe\\Bench");
  Write("C:\\Qxe\\Bench\\Main.h", header);
  Write("C:\\Qxe\\Bench\\Main.cpp", source);
  const double bytes = double(header.size() + source.size());

  const std::string project = platform::LinuxPath("C:\\project.qxe");
  std::string empty;
  {
    CApp app;
    auto* group = new CProjectGroupInfo;
    app.InfoMan.Root.Append(group);
    group->SetName("Bench");
    auto* unit = new CUnitInfo;
    group->Append(unit);
    unit->SetName("Main");
    CMemory image;
    WriteConfig(image, app.InfoMan.Root);
    empty.assign(reinterpret_cast<const char*>(image.Data()), image.GetSize().Value);
  }
  const std::string command = BuildFolder() + "/qxtree import " + project + " Bench/Main";

  // The processor time of the children too: on a machine shared with other work, the wall
  // clock says more about the others than about the import.
  auto childSeconds = [] {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  };
  using Clock = std::chrono::steady_clock;
  double seconds = 0, cpuSeconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Write("C:\\project.qxe", empty);
    state.ResumeTiming();
    const auto start = Clock::now();
    const double cpuStart = childSeconds();
    if (std::system(command.c_str()) != 0) state.SkipWithError("qxtree import failed");
    cpuSeconds += childSeconds() - cpuStart;
    seconds += std::chrono::duration<double>(Clock::now() - start).count();
  }
  double plainSeconds = 1e9;
  for (int i = 0; i < 5; ++i) {
    const auto start = Clock::now();
    benchmark::DoNotOptimize(PlainPass("C:\\Qxe\\Bench\\Main"));
    plainSeconds =
        std::min(plainSeconds, std::chrono::duration<double>(Clock::now() - start).count());
  }
  const double perRun = seconds / double(state.iterations());
  state.SetBytesProcessed(std::int64_t(bytes) * state.iterations());
  state.counters["MB"] = bytes / 1e6;
  state.counters["import_MB_per_s"] = bytes / 1e6 / perRun;
  state.counters["plain_MB_per_s"] = bytes / 1e6 / plainSeconds;
  state.counters["times_plain_pass"] = perRun / plainSeconds;
  state.counters["cpu_MB_per_s"] = bytes / 1e6 / (cpuSeconds / double(state.iterations()));
}
// 0: the form classes above; 1: many small classes.
BENCHMARK(BM_QxtreeImport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The corpus of real headers the tests import (tests/import/corpus/Headers.txt), those the
// system has, one after another as one header: real code rather than generated.
void BM_ImportCorpus(benchmark::State& state) {
  std::string header;
  std::ifstream list(std::string(QX_SOURCE_DIR) + "/tests/import/corpus/Headers.txt");
  int files = 0;
  for (std::string line; std::getline(list, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::ifstream in("/usr/include/" + line, std::ios::binary);
    if (!in) continue;
    header.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    header += "\n";
    ++files;
  }
  if (!files) {
    state.SkipWithError("none of the corpus is on this system");
    return;
  }
  CApp app;
  CUnitInfo* unit = BenchUnit(app, "Corpus");
  platform::MakeDirectory("C:\\Qxe");
  platform::MakeDirectory("C:\\Qxe\\Bench");
  Write("C:\\Qxe\\Bench\\Corpus.h", header);
  using Clock = std::chrono::steady_clock;
  double seconds = 0;
  std::size_t unplaced = 0;
  for (auto _ : state) {
    state.PauseTiming();
    unit->Children.Clear();
    state.ResumeTiming();
    const auto start = Clock::now();
    CCppAnalys analys([](const CStr&) {});
    if (!analys.ImportElement(unit)) state.SkipWithError("import failed");
    seconds += std::chrono::duration<double>(Clock::now() - start).count();
    unplaced = analys.Unplaced.size();
  }
  const double bytes = double(header.size());
  state.SetBytesProcessed(std::int64_t(bytes) * state.iterations());
  state.counters["MB"] = bytes / 1e6;
  state.counters["files"] = files;
  state.counters["unplaced"] = double(unplaced);
  state.counters["import_MB_per_s"] = bytes / 1e6 / (seconds / double(state.iterations()));
}
BENCHMARK(BM_ImportCorpus)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  // A drive C: of its own, so the benchmark never writes into the user's.
  char pattern[] = "/tmp/qxbench-XXXXXX";
  const char* own = nullptr;
  if (!std::getenv("QXWORKS_DRIVE_C"))
    if ((own = mkdtemp(pattern))) setenv("QXWORKS_DRIVE_C", own, 1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (own) std::filesystem::remove_all(own);
  return 0;
}
