// Programs started beside us: their output read line by line while they run, their exit, their
// stop. Every program here is /bin/sh with a script given as an argument, never a shell line.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/Files.h"
#include "platform/Process.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::unique_ptr<Process> Sh(const std::string& script, const std::vector<std::string>& more = {},
                            const std::string& folder = "") {
  std::vector<std::string> arguments{"sh", "-c", script, "sh"};
  arguments.insert(arguments.end(), more.begin(), more.end());
  std::string error;
  auto process = Process::Start(arguments, folder, error);
  EXPECT_NE(process, nullptr) << error;
  EXPECT_EQ(error, "");
  return process;
}

std::vector<OutputLine> AllLines(Process& process) {
  EXPECT_TRUE(process.Wait(10000)) << "the program did not end";
  return process.TakeLines();
}

TEST(Process, LinesOfBothStreamsComeInOrderWithTheExitCode) {
  auto process = Sh("echo one; sleep 0.2; echo two >&2; sleep 0.2; printf 'three\\r\\nlast'; exit 7");
  ASSERT_NE(process, nullptr);
  const std::vector<OutputLine> expected{
      {"one", false}, {"two", true}, {"three", false}, {"last", false}};
  EXPECT_EQ(AllLines(*process), expected);
  EXPECT_EQ(process->ExitCode(), 7);
  EXPECT_EQ(process->Signal(), 0);
  EXPECT_TRUE(process->TakeLines().empty()) << "lines are taken once";
}

TEST(Process, LinesArriveWhileTheProgramStillRuns) {
  auto process = Sh("echo early; sleep 30");
  ASSERT_NE(process, nullptr);
  std::vector<OutputLine> lines;
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (lines.empty() && Clock::now() < deadline) {
    lines = process->TakeLines();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(lines, (std::vector<OutputLine>{{"early", false}}));
  EXPECT_FALSE(process->Finished());
}

// What a shell would split, expand or run reaches the program as it is.
TEST(Process, ArgumentsAreAListAndTheFolderIsTheProgramsOwn) {
  const std::string folder = DriveCFolder() + "/work folder";
  fs::create_directories(folder);
  auto process = Sh("pwd; for a in \"$@\"; do echo \"[$a]\"; done",
                    {"two words", "$HOME", "; rm -rf x", "", "*"}, folder);
  ASSERT_NE(process, nullptr);
  std::vector<std::string> texts;
  for (const OutputLine& line : AllLines(*process)) texts.push_back(line.Text);
  const std::vector<std::string> expected{fs::canonical(folder).string(), "[two words]",
                                          "[$HOME]", "[; rm -rf x]", "[]", "[*]"};
  EXPECT_EQ(texts, expected);
  EXPECT_EQ(process->ExitCode(), 0);
}

TEST(Process, ALineLongerThanTheLongestComesInPieces) {
  auto process = Sh("head -c 40000 /dev/zero | tr '\\0' x; echo; echo after");
  ASSERT_NE(process, nullptr);
  const std::vector<OutputLine> lines = AllLines(*process);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].Text, std::string(Process::kLongestLine, 'x'));
  EXPECT_EQ(lines[1].Text, std::string(Process::kLongestLine, 'x'));
  EXPECT_EQ(lines[2].Text, std::string(40000 - 2 * Process::kLongestLine, 'x'));
  EXPECT_EQ(lines[3].Text, "after");
}

TEST(Process, WhatCannotStartIsRefusedWithAReason) {
  struct Case {
    std::vector<std::string> arguments;
    std::string folder;
  };
  const std::string notAProgram = DriveCFolder() + "/plain.txt";
  fs::create_directories(DriveCFolder());
  { std::ofstream(notAProgram) << "text"; }
  fs::permissions(notAProgram, fs::perms::owner_all);
  const Case cases[] = {
      {{}, ""},
      {{""}, ""},
      {{"no-such-program-anywhere"}, ""},
      {{"/no/such/program"}, ""},
      {{"sh", "-c", "true"}, DriveCFolder() + "/no such folder"},
      {{notAProgram}, ""},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(Process::Start(c.arguments, c.folder, error), nullptr)
        << (c.arguments.empty() ? "(none)" : c.arguments[0]);
    EXPECT_NE(error, "");
  }
}

TEST(Process, StopEndsTheProgramAndWhatItStarted) {
  const std::string mark = DriveCFolder() + "/grandchild-alive";
  fs::remove(mark);
  // The grandchild would write its mark after 2 s unless the stop reached it too.
  auto process = Sh("(sleep 2; echo x > \"$1\") & echo started; wait", {mark});
  ASSERT_NE(process, nullptr);
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (process->TakeLines().empty() && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  process->Stop();
  EXPECT_TRUE(process->Wait(5000));
  EXPECT_EQ(process->ExitCode(), -1);
  EXPECT_EQ(process->Signal(), SIGTERM);
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  EXPECT_FALSE(fs::exists(mark));
}

TEST(Process, AProgramThatIgnoresTheStopIsKilled) {
  auto process = Sh("trap '' TERM; echo ready; while :; do sleep 0.05; done");
  ASSERT_NE(process, nullptr);
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (process->TakeLines().empty() && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const auto stopped = Clock::now();
  process->Stop();
  ASSERT_TRUE(process->Wait(5000));
  EXPECT_EQ(process->Signal(), SIGKILL);
  EXPECT_GE(Clock::now() - stopped, std::chrono::milliseconds(900));
}

// A program that ended is finished even while a program it left behind holds its output open.
TEST(Process, EndsWhenTheProgramEndsThoughItsOutputStaysOpen) {
  auto process = Sh("sleep 5 & echo done");
  ASSERT_NE(process, nullptr);
  const auto started = Clock::now();
  ASSERT_TRUE(process->Wait(4000));
  EXPECT_LT(Clock::now() - started, std::chrono::seconds(3));
  EXPECT_EQ(process->TakeLines(), (std::vector<OutputLine>{{"done", false}}));
  EXPECT_EQ(process->ExitCode(), 0);
}

TEST(Process, DestroyingARunningProgramStopsItWithoutHanging) {
  const auto started = Clock::now();
  Sh("sleep 30").reset();
  EXPECT_LT(Clock::now() - started, std::chrono::seconds(3));
}

TEST(Process, FindProgramLooksOnThePath) {
  EXPECT_EQ(FindProgram("sh").empty(), false);
  EXPECT_EQ(fs::path(FindProgram("sh")).filename(), "sh");
  EXPECT_EQ(FindProgram("no-such-program-anywhere"), "");
  EXPECT_EQ(FindProgram(""), "");
  EXPECT_EQ(FindProgram("/bin/sh"), "/bin/sh");
  EXPECT_EQ(FindProgram("/no/such/program"), "");
}

}  // namespace
}  // namespace platform
