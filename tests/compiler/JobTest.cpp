// Building a program with the system compiler against a toolkit root: only what changed is
// compiled again, a failed build leaves the previous program, and the compiler's lines come
// parsed. The toolkit here is a root of the same shape as the real one with one small function in
// its archive, so each build takes a fraction of a second.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "compiler/Compiler.h"
#include "platform/Files.h"
#include "platform/Process.h"

namespace compiler {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs a program to its end; its lines, or a failure of the test.
std::vector<std::string> RunToEnd(const std::vector<std::string>& arguments, const std::string& folder,
                             int* exitCode = nullptr) {
  std::string error;
  auto process = platform::Process::Start(arguments, folder, error);
  EXPECT_NE(process, nullptr) << error;
  if (!process) return {};
  EXPECT_TRUE(process->Wait(60000));
  std::vector<std::string> lines;
  for (const auto& line : process->TakeLines()) lines.push_back(line.Text);
  if (exitCode)
    *exitCode = process->ExitCode();
  else
    EXPECT_EQ(process->ExitCode(), 0) << arguments[0];
  return lines;
}

class JobTest : public testing::Test {
 protected:
  void SetUp() override {
    unsetenv("CXX");
    base_ = fs::path(platform::DriveCFolder()) / "job";
    fs::remove_all(base_);
    root_ = base_ / "toolkit";
    folder_ = base_ / "build";
    program_ = base_ / "Qxe" / "Demo";
    Write(root_ / "include/qxworks/kit/Kit.h", "#pragma once\nint KitValue();\n");
    Write(base_ / "kit/Kit.cpp", "#include \"kit/Kit.h\"\nint KitValue() { return 42; }\n");
    Write(root_ / "lib/qxworks/cxxflags.txt", "-std=c++20\n\n");
    Write(root_ / "lib/qxworks/link.txt", "-lm\n");
    const std::string include = "-I" + (root_ / "include/qxworks").string();
    RunToEnd({"c++", "-std=c++20", include, "-c", "Kit.cpp", "-o", "Kit.o"}, (base_ / "kit").string());
    fs::create_directories(root_ / "lib");
    RunToEnd({"ar", "rcs", (root_ / "lib/libqxtoolkit.a").string(), "Kit.o"}, (base_ / "kit").string());
    std::string error;
    ASSERT_TRUE(FindToolchain(root_.string(), tools_, error)) << error;
    WriteSources("KitValue()");
  }

  void WriteSources(const std::string& value) {
    Write(folder_ / "Shared.h", "#pragma once\n#include \"kit/Kit.h\"\nint Twice(int);\n");
    Write(folder_ / "Shared.cpp", "#include \"Shared.h\"\nint Twice(int v) { return 2 * v; }\n");
    Write(folder_ / "Main.cpp",
          "#include <cstdio>\n#include \"Shared.h\"\nint main() { std::printf(\"%d\\n\", Twice(" +
              value + ")); }\n");
  }

  Plan MakePlan() const {
    return {folder_.string(), {"Main.cpp", "Shared.cpp"}, {"Shared.h"}, program_.string()};
  }

  std::unique_ptr<Job> Build(std::vector<BuildLine>* lines = nullptr) {
    auto job = Job::Start(tools_, MakePlan());
    job->Finish();
    std::vector<BuildLine> taken = job->TakeLines();
    if (lines) *lines = taken;
    return job;
  }

  // File times are coarse: a change made right after a build must still count as later.
  static void Later() { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }

  fs::path base_, root_, folder_, program_;
  Toolchain tools_;
};

TEST_F(JobTest, BuildsTheProgramAndCompilesOnlyWhatChanged) {
  auto first = Build();
  ASSERT_TRUE(first->Succeeded());
  EXPECT_EQ(first->Compiled(), 2);
  EXPECT_TRUE(first->Linked());
  EXPECT_EQ(RunToEnd({program_.string()}, base_.string()), std::vector<std::string>{"84"});
  EXPECT_TRUE(fs::exists(folder_ / "Main.o"));
  EXPECT_TRUE(fs::exists(folder_ / "Shared.o"));

  auto again = Build();
  EXPECT_TRUE(again->Succeeded());
  EXPECT_EQ(again->Compiled(), 0) << "nothing changed";
  EXPECT_FALSE(again->Linked());

  Later();
  Write(folder_ / "Main.cpp",
        "#include <cstdio>\n#include \"Shared.h\"\nint main() { std::printf(\"%d\\n\", Twice(5)); }\n");
  auto one = Build();
  EXPECT_TRUE(one->Succeeded());
  EXPECT_EQ(one->Compiled(), 1);
  EXPECT_TRUE(one->Linked());
  EXPECT_EQ(RunToEnd({program_.string()}, base_.string()), std::vector<std::string>{"10"});

  Later();
  Write(folder_ / "Shared.h", Read(folder_ / "Shared.h") + "// changed\n");
  auto all = Build();
  EXPECT_TRUE(all->Succeeded());
  EXPECT_EQ(all->Compiled(), 2) << "a written header compiles every source";

  // A newer toolkit links again without compiling.
  Later();
  fs::last_write_time(tools_.Archive, fs::file_time_type::clock::now());
  auto relink = Build();
  EXPECT_TRUE(relink->Succeeded());
  EXPECT_EQ(relink->Compiled(), 0);
  EXPECT_TRUE(relink->Linked());
}

TEST_F(JobTest, AFailedBuildLeavesThePreviousProgramAndSaysWhere) {
  ASSERT_TRUE(Build()->Succeeded());
  const std::string before = Read(program_);
  struct Case {
    const char* what;
    std::string value;
    bool compiles;
  };
  const Case cases[] = {
      {"a compile error", "undeclared_name", false},
      {"a link error", "Missing()", true},
  };
  for (const Case& c : cases) {
    Later();
    WriteSources(c.value);
    if (c.compiles) {
      Write(folder_ / "Shared.h", Read(folder_ / "Shared.h") + "int Missing();\n");
    }
    std::vector<BuildLine> lines;
    auto job = Build(&lines);
    EXPECT_FALSE(job->Succeeded()) << c.what;
    EXPECT_FALSE(job->Linked()) << c.what;
    EXPECT_EQ(Read(program_), before) << c.what;
    for (const auto& entry : fs::directory_iterator(folder_))
      EXPECT_NE(entry.path().extension(), ".linking")
          << c.what << ": the half-made program stays: " << entry.path();
    bool placed = false, anError = false;
    for (const BuildLine& line : lines) {
      if (line.Kind == LineKind::Error) anError = true;
      if (line.Kind == LineKind::Error && line.File == "Main.cpp" && line.Line == 3) placed = true;
    }
    EXPECT_TRUE(anError) << c.what;
    EXPECT_EQ(placed, !c.compiles) << c.what;
  }
}

// A library has no program: its objects are what the build makes.
TEST_F(JobTest, WithoutAProgramNothingIsLinked) {
  Plan plan = MakePlan();
  plan.Program = "";
  auto job = Job::Start(tools_, plan);
  job->Finish();
  EXPECT_TRUE(job->Succeeded());
  EXPECT_EQ(job->Compiled(), 2);
  EXPECT_FALSE(job->Linked());
  EXPECT_TRUE(fs::exists(folder_ / "Main.o"));
  EXPECT_FALSE(fs::exists(program_));
  for (const auto& entry : fs::directory_iterator(folder_))
    EXPECT_NE(entry.path().extension(), ".linking") << entry.path();
}

TEST_F(JobTest, ACompilerThatCannotStartFailsTheBuildWithAReason) {
  tools_.Compiler = {(base_ / "no-such-compiler").string()};
  std::vector<BuildLine> lines;
  auto job = Build(&lines);
  EXPECT_FALSE(job->Succeeded());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].Kind, LineKind::Outcome);
  EXPECT_NE(lines[0].Text.find("no-such-compiler"), std::string::npos) << lines[0].Text;
}

TEST_F(JobTest, CancelStopsTheCompilersAndFailsTheBuild) {
  // A compiler that takes its time: a shell script that waits before it would compile.
  Write(base_ / "slow-cxx", "#!/bin/sh\nsleep 30\n");
  fs::permissions(base_ / "slow-cxx", fs::perms::owner_all);
  tools_.Compiler = {(base_ / "slow-cxx").string()};
  auto job = Job::Start(tools_, MakePlan());
  EXPECT_TRUE(job->Running());
  EXPECT_GE(job->Compiled(), 1);
  const auto started = std::chrono::steady_clock::now();
  job->Cancel();
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  EXPECT_FALSE(job->Running());
  EXPECT_FALSE(job->Succeeded());
  EXPECT_FALSE(fs::exists(program_));
}

class ToolchainTest : public testing::Test {
 protected:
  void SetUp() override {
    unsetenv("CXX");
    savedPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    root_ = fs::path(platform::DriveCFolder()) / "kit";
    fs::remove_all(root_);
    Write(root_ / "include/qxworks/core/Str.h", "");
    Write(root_ / "lib/libqxtoolkit.a", "!<arch>\n");
    Write(root_ / "lib/qxworks/cxxflags.txt", "-std=c++20\n-pthread\n");
    Write(root_ / "lib/qxworks/link.txt", "-lSDL2\n-lfontconfig\n");
  }
  void TearDown() override {
    setenv("PATH", savedPath_.c_str(), 1);
    unsetenv("CXX");
  }
  std::string savedPath_;
  fs::path root_;
};

TEST_F(ToolchainTest, ReadsTheToolkitsFlagsAndLinkArguments) {
  Toolchain tools;
  std::string error;
  ASSERT_TRUE(FindToolchain(root_.string(), tools, error)) << error;
  ASSERT_EQ(tools.Compiler.size(), 1u);
  EXPECT_TRUE(fs::path(tools.Compiler[0]).is_absolute());
  const std::vector<std::string> flags{"-std=c++20", "-pthread",
                                       "-I" + (root_ / "include/qxworks").string()};
  EXPECT_EQ(tools.CompileFlags, flags);
  const std::vector<std::string> link{(root_ / "lib/libqxtoolkit.a").string(), "-lSDL2",
                                      "-lfontconfig"};
  EXPECT_EQ(tools.LinkArguments, link);
}

TEST_F(ToolchainTest, CxxChoosesTheCompilerWithItsArguments) {
  setenv("CXX", "sh -x", 1);
  Toolchain tools;
  std::string error;
  ASSERT_TRUE(FindToolchain(root_.string(), tools, error)) << error;
  ASSERT_EQ(tools.Compiler.size(), 2u);
  EXPECT_EQ(fs::path(tools.Compiler[0]).filename(), "sh");
  EXPECT_EQ(tools.Compiler[1], "-x");
}

TEST_F(ToolchainTest, WhatIsMissingIsNamed) {
  struct Case {
    const char* what;
    const char* cxx;       // nullptr: unset
    const char* path;      // nullptr: as it was
    const char* removed;   // below the root; nullptr: nothing
    bool noRoot;
    const char* named;     // a part of the message
  };
  const Case cases[] = {
      {"no compiler on the path", nullptr, "/nonexistent", nullptr, false, "c++, g++ и clang++"},
      {"CXX names nothing", "no-such-cxx -O2", nullptr, nullptr, false, "no-such-cxx"},
      {"no toolkit", nullptr, nullptr, nullptr, true, "QXWORKS_TOOLKIT"},
      {"no headers", nullptr, nullptr, "include", false, "include/qxworks"},
      {"no archive", nullptr, nullptr, "lib/libqxtoolkit.a", false, "libqxtoolkit.a"},
      {"no flags", nullptr, nullptr, "lib/qxworks/cxxflags.txt", false, "cxxflags.txt"},
      {"no link arguments", nullptr, nullptr, "lib/qxworks/link.txt", false, "link.txt"},
  };
  for (const Case& c : cases) {
    SetUp();
    if (c.cxx) setenv("CXX", c.cxx, 1);
    if (c.path) setenv("PATH", c.path, 1);
    if (c.removed) fs::remove_all(root_ / c.removed);
    Toolchain tools;
    std::string error;
    EXPECT_FALSE(FindToolchain(c.noRoot ? "" : root_.string(), tools, error)) << c.what;
    EXPECT_NE(error.find(c.named), std::string::npos) << c.what << ": " << error;
    TearDown();
  }
}

}  // namespace
}  // namespace compiler
