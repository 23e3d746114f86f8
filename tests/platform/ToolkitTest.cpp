// Where the environment looks for the toolkit it builds the user's programs against.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Toolkit.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class ToolkitRootTest : public testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(std::getenv("QXWORKS_DRIVE_C")) /
            testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(root_);
    // A build folder with its staged root, an install prefix, a build folder whose toolkit/
    // lacks the headers inside an install prefix, and a bare folder.
    for (const char* folder : {"build/toolkit/include/qxworks", "prefix/include/qxworks",
                               "prefix/bin", "prefix/half/toolkit/lib", "bare/bin"})
      fs::create_directories(root_ / folder);
  }

  std::string At(const char* folder) { return (root_ / folder).string(); }

  fs::path root_;
};

TEST_F(ToolkitRootTest, TheVariableElseBesideTheProgramElseAboveIt) {
  struct Case {
    const char* variable;
    std::string programFolder;
    std::string root;
  };
  const Case cases[] = {
      {nullptr, At("build"), At("build/toolkit")},
      {nullptr, At("build") + "/", At("build/toolkit")},
      {nullptr, At("prefix/bin"), At("prefix")},
      {nullptr, At("prefix/bin/"), At("prefix")},
      // toolkit/ without headers is no root; the prefix above still is.
      {nullptr, At("prefix/half"), At("prefix")},
      {nullptr, At("bare/bin"), ""},
      {nullptr, "", ""},
      // The variable wins, even naming a folder that holds nothing yet; empty is unset.
      {"/opt/qxtoolkit", At("build"), "/opt/qxtoolkit"},
      {"/opt/qxtoolkit", "", "/opt/qxtoolkit"},
      {"", At("prefix/bin"), At("prefix")},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ToolkitRootFor(c.variable, c.programFolder), c.root)
        << "variable " << (c.variable ? c.variable : "(unset)") << ", program in "
        << c.programFolder;
}

TEST_F(ToolkitRootTest, ReadsTheEnvironment) {
  setenv("QXWORKS_TOOLKIT", At("prefix").c_str(), 1);
  EXPECT_EQ(ToolkitRoot(), At("prefix"));
  unsetenv("QXWORKS_TOOLKIT");
  // The test program lies in the build folder's tests/, with no root beside or above it.
  EXPECT_EQ(ToolkitRoot(), "");
}

}  // namespace
}  // namespace platform
