// qxtree build as a user runs it: a project file with the application Work/Demo, whose unit Main
// holds a global main; the program it makes on drive C:, and what a failure says.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/App.h"
#include "model/HeadTexts.h"
#include "model/Kinds.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "storage/Config.h"
#include "storage/File.h"
#include "tests/tools/RunTool.h"

namespace {

namespace fs = std::filesystem;
using qxtest::Outcome;
using qxtest::RunTool;

class BuildTool : public testing::Test {
 protected:
  void SetUp() override {
    unsetenv("CXX");
    unsetenv("QXWORKS_TOOLKIT");  // qxtree finds the root staged beside it
    dir_ = platform::DriveCFolder() + "/qxtree-build-" +
           testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(dir_);
    fs::remove_all(platform::LinuxPath("C:\\Qxe"));
    file_ = dir_ + "/Conf.qxe";
  }

  // The project: Work/<application>/Main with main's code.
  void SaveProject(const char* code, const char* application = "Demo") {
    CInfo root;
    auto add = [](CInfo* parent, CInfo* node, const char* name) {
      node->SetName(name);
      parent->Append(node);
      return node;
    };
    CInfo* app = add(add(&root, new CProjectGroupInfo, "Work"), new CAppInfo, application);
    auto* unit = static_cast<CUnitInfo*>(add(app, new CUnitInfo, "Main"));
    unit->UnitExtra = WriteHeads({"", "#include <cstdio>\r\n"});
    auto* entry = static_cast<COperInfo*>(add(unit, new COperInfo, "main"));
    entry->Type = "int";
    entry->Code = code;
    CFile out(CHostPath{file_}, CFile::kCreate);
    ASSERT_EQ(WriteConfigFile(out, root), "");
  }

  Outcome Call(const std::string& arguments) { return RunTool("qxtree", arguments, dir_); }
  std::string Program() { return platform::LinuxPath("C:\\Qxe\\Demo"); }

  CApp app_;
  std::string dir_, file_;
};

TEST_F(BuildTool, BuildsTheProgramAndAFailureKeepsIt) {
  SaveProject("std::puts(\"built\");\r\nreturn 0;\r\n");
  const Outcome built = Call("build " + file_ + " Work/Demo");
  ASSERT_EQ(built.exitCode, 0) << built.err;
  ASSERT_TRUE(fs::exists(Program()));
  std::string error;
  auto ran = platform::Process::Start({Program()}, dir_, error);
  ASSERT_NE(ran, nullptr) << error;
  ASSERT_TRUE(ran->Wait(10000));
  EXPECT_EQ(ran->TakeLines(), (std::vector<platform::OutputLine>{{"built", false}}));
  const auto time = fs::last_write_time(Program());

  SaveProject("int a = 1;\r\nundeclared_thing(a);\r\nreturn 0;\r\n");
  const Outcome failed = Call("build " + file_ + " Work/Demo/Main");
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_NE(failed.err.find("Main.cpp:"), std::string::npos) << failed.err;
  EXPECT_NE(failed.err.find("undeclared_thing"), std::string::npos) << failed.err;
  EXPECT_EQ(failed.out, "");
  EXPECT_EQ(fs::last_write_time(Program()), time) << "the previous program stays";
}

TEST_F(BuildTool, WhatCannotBeBuiltEndsWithExitCodeOne) {
  struct Case {
    const char* what;
    const char* application;  // of the saved project
    const char* element;      // given to the command
    const char* cxx;          // nullptr: unset
    const char* said;         // a part of stderr
  };
  const Case cases[] = {
      {"no such element", "Demo", "Work/Other", nullptr, "нет элемента Work/Other"},
      {"a group holds no program", "Demo", "Work", nullptr, "не принадлежит приложению"},
      {"a name that leaves its folder", "..", "Work/..", nullptr, "Имя не может быть именем файла"},
      {"no compiler", "Demo", "Work/Demo", "no-such-compiler-anywhere", "no-such-compiler-anywhere"},
  };
  for (const Case& c : cases) {
    SaveProject("return 0;\r\n", c.application);
    if (c.cxx) setenv("CXX", c.cxx, 1);
    const Outcome outcome = Call("build " + file_ + " " + c.element);
    unsetenv("CXX");
    EXPECT_EQ(outcome.exitCode, 1) << c.what;
    EXPECT_NE(outcome.err.find(c.said), std::string::npos) << c.what << ": " << outcome.err;
    EXPECT_FALSE(fs::exists(Program())) << c.what;
  }
}

}  // namespace
