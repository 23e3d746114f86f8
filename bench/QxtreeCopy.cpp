// `qxtree copy` of a project file of 100,000 random elements, timed as the user waits for it:
// the whole process, from start to exit (tearing the tree down included).
//
// BM_QxtreeCopy runs `qxtree copy IN OUT` on a file made once from a seeded random tree of
// mixed kinds, names, texts and parameters; its counter x_true is its time over starting and
// waiting for /bin/true, measured in the same run. The qxtree next to this benchmark's folder
// is used (build/bench/../qxtree), or the one named by QXTREE (to time another build of it on
// the same file). QXBENCH_KEEP=1 leaves the file in the temporary folder afterwards.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "core/App.h"
#include "model/Kinds.h"
#include "storage/Config.h"
#include "storage/File.h"

extern char** environ;

namespace {

constexpr int kElements = 100000;

struct Files {
  std::filesystem::path folder;
  std::string in, out, qxtree;
  std::int64_t bytes = 0;
};

// A random name of letters and digits, sometimes Russian.
CStr RandomName(std::mt19937& random, const char* prefix) {
  static const std::string latin =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_";
  std::string name = prefix;
  const int length = 3 + int(random() % 14);
  const bool russian = random() % 8 == 0;
  for (int i = 0; i < length; ++i)
    name += russian ? char(0xC0 + random() % 64) : latin[random() % latin.size()];
  return CStr(std::string_view(name));
}

CStr RandomText(std::mt19937& random, int longest) {
  std::string text;
  const int length = int(random() % unsigned(longest + 1));
  for (int i = 0; i < length; ++i) {
    const unsigned pick = random() % 40;
    text += pick == 0   ? '\n'
            : pick < 8  ? ' '
            : pick < 12 ? char(0xC0 + random() % 64)
                        : char('a' + random() % 26);
  }
  return CStr(std::string_view(text));
}

// Groups, applications, units and classes at random counts; classes with operations (bodies and
// parameters), attributes and nested types; until kElements elements exist.
void BuildRandomTree(CInfo& root, std::uint32_t seed) {
  std::mt19937 random(seed);
  int made = 0;
  auto add = [&](CInfo* parent, CInfo* node, const char* prefix) {
    node->SetName(RandomName(random, prefix));
    if (random() % 3 == 0) node->About = RandomText(random, 40);
    if (random() % 10 == 0) node->Extra() = RandomText(random, 12);
    parent->Append(node);
    ++made;
    return node;
  };
  while (made < kElements) {
    CInfo* group = add(&root, new CProjectGroupInfo, "Group");
    for (int a = 0, apps = 1 + int(random() % 6); a < apps && made < kElements; ++a) {
      CInfo* app =
          add(group, random() % 4 ? static_cast<CInfo*>(new CAppInfo) : new CLibInfo, "App");
      for (int u = 0, units = 1 + int(random() % 12); u < units && made < kElements; ++u) {
        auto* unit = static_cast<CUnitInfo*>(add(app, new CUnitInfo, "Unit"));
        if (random() % 4 == 0) unit->UnitExtra = RandomText(random, 20);
        for (int c = 0, classes = int(random() % 16); c < classes && made < kElements; ++c) {
          auto* cls = static_cast<CClassInfo*>(add(unit, new CClassInfo, "C"));
          cls->Base = random() % 2 ? "CObject" : "CControl";
          for (int m = 0, members = int(random() % 20); m < members && made < kElements; ++m) {
            const unsigned kind = random() % 10;
            if (kind < 5) {
              auto* oper = static_cast<COperInfo*>(add(cls, new COperInfo, "Op"));
              oper->Type = random() % 2 ? "void" : "int";
              oper->Access = std::int32_t(random() % 3);
              oper->Code = RandomText(random, 300);
              for (int p = 0, params = int(random() % 4); p < params; ++p)
                oper->AddParam(random() % 2 ? "int" : "CStr", RandomName(random, "a"),
                               random() % 5 ? CStr() : RandomText(random, 20));
            } else if (kind < 9) {
              auto* atr = static_cast<CAtrInfo*>(add(cls, new CAtrInfo, "m"));
              atr->Type = random() % 2 ? "long" : "CStr";
            } else {
              add(cls, random() % 2 ? static_cast<CInfo*>(new CTypeInfo) : new CStructInfo, "T");
            }
          }
        }
      }
    }
  }
}

Files& TheFiles() {
  static Files files = [] {
    Files f;
    f.folder = std::filesystem::temp_directory_path() /
               ("qxbench-copy-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(f.folder);
    f.in = (f.folder / "in.qxe").string();
    f.out = (f.folder / "out.qxe").string();
    const char* named = std::getenv("QXTREE");
    f.qxtree =
        named
            ? named
            : (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "qxtree")
                  .string();
    CApp app;
    BuildRandomTree(app.InfoMan.Root, 20261210);
    CFile file(CHostPath{f.in}, CFile::kCreate);
    if (WriteConfigFile(file, app.InfoMan.Root).Length().Value) f.in.clear();
    f.bytes = f.in.empty() ? 0 : std::int64_t(std::filesystem::file_size(f.in));
    return f;
  }();
  return files;
}

// Seconds from spawning the program to reaping it; negative when it did not exit with 0.
double Run(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child) return -1;
  const double took =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? took : -1;
}

double TrueSeconds() {
  double best = 1e9;
  for (int i = 0; i < 10; ++i) {
    const double took = Run({"/bin/true"});
    if (took >= 0) best = std::min(best, took);
  }
  return best;
}

void BM_QxtreeCopy(benchmark::State& state) {
  Files& files = TheFiles();
  if (files.in.empty()) {
    state.SkipWithError("the input file could not be written");
    return;
  }
  double seconds = 0;
  for (auto _ : state) {
    const double took = Run({files.qxtree, "copy", files.in, files.out});
    if (took < 0) {
      state.SkipWithError(("qxtree copy failed: " + files.qxtree).c_str());
      return;
    }
    seconds += took;
    state.SetIterationTime(took);
  }
  state.SetItemsProcessed(state.iterations() * kElements);
  state.SetBytesProcessed(state.iterations() * files.bytes);
  state.counters["x_true"] = seconds / double(state.iterations()) / TrueSeconds();
}
BENCHMARK(BM_QxtreeCopy)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (!std::getenv("QXBENCH_KEEP")) std::filesystem::remove_all(TheFiles().folder);
  return 0;
}
