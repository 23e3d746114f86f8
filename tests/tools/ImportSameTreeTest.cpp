// A change made for speed must make the same trees and the same reports: `qxtree import` on the
// importer's seed files and on generated units, each result (exit code, stderr and the dump
// of the saved file) compared by its digest with what the importer gives (types, parameters and
// qualifiers kept, the report's position on disk and its last box the lines around the error).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/App.h"
#include "model/Kinds.h"
#include "storage/Config.h"
#include "storage/File.h"
#include "tests/tools/RunTool.h"

namespace {

using qxtest::Outcome;
using qxtest::RunTool;
using qxtest::Slurp;
using qxtest::Spit;

namespace fs = std::filesystem;

std::uint64_t Digest(const std::string& bytes) {
  std::uint64_t h = 1469598103934665603ull;  // FNV-1a
  for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
  return h;
}

// Many small classes with two operations each, the form the speed was measured on.
void SmallClasses(int count, std::string& header, std::string& source) {
  for (int n = 0; n < count; ++n) {
    const std::string c = "TItem" + std::to_string(n);
    header += "class " + c + " : public TObject\n{\nprivate:\n\tint FValue;\n\tCStr FName;\npublic:\n"
              "\tvoid __fastcall SetValue(int Value);\n\tint __fastcall GetValue();\n};\n";
    source += "void __fastcall " + c + "::SetValue(int Value)\n{\n\tFValue = Value + " + std::to_string(n) +
              ";\n\tif (Value > '9') { FName = \"}\"; }\n}\nint __fastcall " + c +
              "::GetValue()\n{\n\treturn FValue;\n}\n";
  }
  source += "int Stray(int a) { return a; }\n";
}

class ImportSameTree : public testing::Test {
 protected:
  void SetUp() override {
    drive_ = std::getenv("QXWORKS_DRIVE_C");
    unitDir_ = drive_ + "/Qxe/Work/Demo";
    fs::remove_all(drive_ + "/Qxe");
    fs::create_directories(unitDir_);
    dir_ = drive_ + "/same-tree";
    fs::create_directories(dir_);
    auto* group = new CProjectGroupInfo;
    app.InfoMan.Root.Append(group);
    group->SetName("Work");
    auto* demo = new CAppInfo;
    group->Append(demo);
    demo->SetName("Demo");
    auto* unit = new CUnitInfo;
    demo->Append(unit);
    unit->SetName("Main");
    CFile file(CHostPath{dir_ + "/conf.qxe"}, CFile::kCreate);
    ASSERT_EQ(WriteConfigFile(file, app.InfoMan.Root), "");
  }

  // The digest of what `qxtree import` says and saves for the unit's two files.
  std::uint64_t Imported(const std::string& header, const std::string& source) {
    fs::remove(unitDir_ + "/Main.h");
    fs::remove(unitDir_ + "/Main.cpp");
    if (!header.empty()) Spit(unitDir_ + "/Main.h", header);
    if (!source.empty()) Spit(unitDir_ + "/Main.cpp", source);
    const std::string saved = Slurp(dir_ + "/conf.qxe");
    const Outcome run = RunTool("qxtree", "import " + dir_ + "/conf.qxe Work/Demo/Main", dir_);
    const Outcome dump = RunTool("qxtree", "dump " + dir_ + "/conf.qxe", dir_);
    Spit(dir_ + "/conf.qxe", saved);  // each case starts from the same file
    exitCode_ = run.exitCode;
    return Digest(std::to_string(run.exitCode) + run.err + dump.out);
  }

  CApp app;
  std::string drive_, unitDir_, dir_;
  int exitCode_ = -1;
};

TEST_F(ImportSameTree, TheSeedsAndAGeneratedUnitImportAsBefore) {
  const std::string seeds = std::string(QX_SOURCE_DIR) + "/fuzz/seeds/Importer/";
  std::string header, source;
  SmallClasses(2000, header, source);
  struct Case {
    const char* what;
    std::string header, source;
    int exitCode;
    std::uint64_t digest;
  } cases[] = {
      // The unit keeps its head texts and its own variables and functions, so the digests of
      // the inputs that have them changed with that, on purpose.
      {"form", Slurp(seeds + "form-header.h"), Slurp(seeds + "form-source.cpp"), 0, 3789081077742850896ull},
      {"broken", Slurp(seeds + "broken.h"), "", 1, 10193654564248080321ull},
      {"line ends", Slurp(seeds + "lf-mixed.h"), "", 0, 12429106915507795303ull},
      {"tokens", Slurp(seeds + "tokens.txt"), "", 1, 3572175851473352157ull},
      {"generated", header, source, 0, 804986738956228960ull},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Imported(c.header, c.source), c.digest) << c.what;
    EXPECT_EQ(exitCode_, c.exitCode) << c.what;
  }
}

}  // namespace
