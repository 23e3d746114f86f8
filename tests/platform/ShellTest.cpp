// Starting programs: directly when executable, through xdg-open otherwise, never through a shell.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include <sys/stat.h>

#include "platform/Files.h"
#include "platform/Shell.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

void WriteLinux(const std::string& path, const std::string& bytes, mode_t mode) {
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  chmod(path.c_str(), mode);
}

// The started program runs on its own; give it a few seconds to leave its mark.
std::string AwaitFile(const std::string& path) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    std::ifstream in(path, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    if (!text.empty() && text.back() == '\n') return text;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return "(nothing after 10 s)";
}

class ShellTest : public testing::Test {
 protected:
  void SetUp() override {
    drive_ = LinuxPath("C:\\");
    fs::remove_all(drive_ + "/Qxe");  // no mark of an earlier run may count
    fs::remove(drive_ + "/opened.txt");
    fs::create_directories(drive_ + "/Qxe/work");
  }
  std::string drive_;
};

TEST_F(ShellTest, AnExecutableStartsInTheGivenFolder) {
  // A name a shell would split or expand: it must reach exec as it is.
  WriteLinux(drive_ + "/Qxe/My $Demo.exe", "#!/bin/sh\necho \"$(pwd) $#\" > started.txt\n", 0755);
  ASSERT_TRUE(StartProgram("c:\\Qxe\\My $Demo.exe", "C:\\Qxe\\work"));
  EXPECT_EQ(AwaitFile(drive_ + "/Qxe/work/started.txt"),
            fs::canonical(drive_ + "/Qxe/work").string() + " 0\n");
}

TEST_F(ShellTest, AFileThatIsNotExecutableGoesToXdgOpen) {
  // A stand-in for the desktop's opener, first on the search path, records what it was given.
  const std::string bin = drive_ + "/bin";
  fs::create_directories(bin);
  WriteLinux(bin + "/xdg-open", "#!/bin/sh\necho \"$(pwd)|$#|$1\" > \"" + drive_ + "/opened.txt\"\n",
             0755);
  WriteLinux(drive_ + "/Qxe/Notes.txt", "text", 0644);
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (bin + ":" + path).c_str(), 1);
  const bool started = StartProgram("C:\\Qxe\\Notes.txt", "C:\\Qxe");
  setenv("PATH", path.c_str(), 1);
  ASSERT_TRUE(started);
  EXPECT_EQ(AwaitFile(drive_ + "/opened.txt"),
            fs::canonical(drive_ + "/Qxe").string() + "|1|" + drive_ + "/Qxe/Notes.txt\n");
}

TEST_F(ShellTest, FailuresAreReportedByTheResult) {
  WriteLinux(drive_ + "/Qxe/Garbage.exe", "not a program at all\n", 0755);
  WriteLinux(drive_ + "/Qxe/Good.exe", "#!/bin/sh\ntrue\n", 0755);
  EXPECT_FALSE(StartProgram("C:\\Qxe\\Missing.exe", "C:\\Qxe")) << "no such file";
  EXPECT_FALSE(StartProgram("C:\\Qxe\\Garbage.exe", "C:\\Qxe")) << "cannot be executed";
  EXPECT_FALSE(StartProgram("C:\\Qxe\\Good.exe", "C:\\Qxe\\NoSuchFolder"));
  EXPECT_FALSE(StartProgram("D:\\Good.exe", "C:\\Qxe"));
  EXPECT_FALSE(StartProgram("C:\\Qxe\\Good.exe", "D:\\"));
  EXPECT_TRUE(StartProgram("C:\\Qxe\\Good.exe", ""));
}

}  // namespace
}  // namespace platform
