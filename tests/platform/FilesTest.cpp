// Files by system paths: the drive mapping, directories, reading and writing, and the safe
// replacement of a saved file.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Files.h"
#include "platform/Text.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

std::string ReadLinux(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteLinux(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Everything in a folder besides the given names: leftovers of an interrupted save show here.
std::vector<std::string> Others(const std::string& folder, const std::vector<std::string>& known) {
  std::vector<std::string> others;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (std::find(known.begin(), known.end(), name) == known.end()) others.push_back(name);
  }
  return others;
}

// Each test gets a drive C: of its own below the program's.
class FilesTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::getenv("QXWORKS_DRIVE_C");
    drive_ = saved_ + "/" + testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(drive_);  // a repeated run starts afresh too
    fs::create_directories(drive_);
    setenv("QXWORKS_DRIVE_C", drive_.c_str(), 1);
  }
  void TearDown() override { setenv("QXWORKS_DRIVE_C", saved_.c_str(), 1); }

  std::string saved_;
  std::string drive_;
};

TEST_F(FilesTest, SystemPathsMapOntoTheDriveFolder) {
  struct Case {
    std::string system;
    std::string linux;  // below the drive folder; "" for no path at all
  } const cases[] = {
      {"C:\\Qxe\\Conf.qxe", "/Qxe/Conf.qxe"},
      {"c:\\Qxe\\Demo.exe", "/Qxe/Demo.exe"},
      {"C:\\Qxe\\Pics\\16x16silver\\New.bmp", "/Qxe/Pics/16x16silver/New.bmp"},
      {"C:/Qxe/x", "/Qxe/x"},
      {"\\Pics\\Form\\Close.bmp", "/Pics/Form/Close.bmp"},  // the current drive's root is C:'s
      {"C:", ""},
      {"C:\\", ""},
      {"C:Qxe", "/Qxe"},
      {"C:\\Qxe\\\\x\\.\\y\\", "/Qxe/x/y"},
      {"C:\\Qxe\\..\\..\\..\\etc\\passwd", "/etc/passwd"},  // ".." stops at the drive's root
      {"C:\\Qxe\\\xDF\xE4\xF0\xEE.h", "/Qxe/Ядро.h"},        // cp1251 names become UTF-8
  };
  for (const Case& c : cases) EXPECT_EQ(LinuxPath(c.system), drive_ + c.linux) << c.system;

  EXPECT_EQ(LinuxPath("D:\\Qxe\\x"), "") << "there is no drive D:";
  EXPECT_EQ(LinuxPath("d:"), "");
  EXPECT_EQ(LinuxPath("Qxe\\x.h"), "Qxe/x.h") << "relative to the working folder";
  EXPECT_EQ(LinuxPath(""), "");
}

TEST_F(FilesTest, TheDriveFolderFollowsTheEnvironment) {
  const char* home = std::getenv("HOME");
  const std::string savedHome = home ? home : "";
  const char* data = std::getenv("XDG_DATA_HOME");
  const bool hadData = data != nullptr;
  const std::string savedData = hadData ? data : "";

  struct Case {
    const char* drive;
    const char* dataHome;
    const char* expected;
  } const cases[] = {
      {"/d/c/", "/x", "/d/c"},
      {"", "/x/", "/x/qxworks/drive_c"},
      {"", "", "/home/u/.local/share/qxworks/drive_c"},
      {"", "relative", "/home/u/.local/share/qxworks/drive_c"},  // not a base directory
  };
  setenv("HOME", "/home/u", 1);
  for (const Case& c : cases) {
    setenv("QXWORKS_DRIVE_C", c.drive, 1);
    setenv("XDG_DATA_HOME", c.dataHome, 1);
    EXPECT_EQ(DriveCFolder(), c.expected) << c.drive << " " << c.dataHome;
  }
  unsetenv("QXWORKS_DRIVE_C");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(LinuxPath("C:\\Qxe\\Conf.qxe"), "/home/u/.local/share/qxworks/drive_c/Qxe/Conf.qxe");

  setenv("HOME", savedHome.c_str(), 1);
  if (hadData) setenv("XDG_DATA_HOME", savedData.c_str(), 1);
}

TEST_F(FilesTest, DirectoriesAreMadeOneLevelAtATime) {
  const std::string fresh = drive_ + "/not/yet";
  setenv("QXWORKS_DRIVE_C", fresh.c_str(), 1);
  EXPECT_TRUE(MakeDirectory("C:\\Qxe\\")) << "the drive folder itself is made on first use";
  EXPECT_TRUE(fs::is_directory(fresh + "/Qxe"));
  EXPECT_TRUE(MakeDirectory("C:\\Qxe")) << "an existing directory is fine";
  EXPECT_FALSE(MakeDirectory("C:\\Qxe\\a\\b")) << "its parent is missing";
  EXPECT_TRUE(MakeDirectory("C:\\Qxe\\\xC0"));
  EXPECT_TRUE(fs::is_directory(fresh + "/Qxe/А"));
  EXPECT_FALSE(MakeDirectory("D:\\Qxe"));

  WriteLinux(fresh + "/Qxe/file", "x");
  EXPECT_FALSE(MakeDirectory("C:\\Qxe\\file")) << "a file stands there";
  EXPECT_TRUE(FileExists("C:\\Qxe\\file"));
  EXPECT_TRUE(FileExists("c:\\Qxe\\file"));
  EXPECT_FALSE(FileExists("C:\\Qxe")) << "a directory is not a file";
  EXPECT_FALSE(FileExists("C:\\Qxe\\none"));
  EXPECT_FALSE(FileExists("D:\\Qxe\\file"));
}

TEST_F(FilesTest, AFileBeingWrittenCanBeSeekedPatchedAndReadBack) {
  File f;
  ASSERT_TRUE(f.CreateForWriting("C:\\Rw.bin"));
  EXPECT_TRUE(f.IsWritable());
  EXPECT_EQ(f.Write("0123456789", 10), 10);
  EXPECT_EQ(f.Position(), 10);
  EXPECT_EQ(f.Size(), 10);

  EXPECT_EQ(f.Seek(2, SeekOrigin::Begin), 2);  // patch, as a stream does with a record length
  EXPECT_EQ(f.Write("ab", 2), 2);
  EXPECT_EQ(f.Position(), 4);
  EXPECT_EQ(f.Size(), 10);

  char buffer[16] = {};
  EXPECT_EQ(f.Seek(0, SeekOrigin::Begin), 0);
  EXPECT_EQ(f.Read(buffer, 10), 10);
  EXPECT_EQ(std::string(buffer, 10), "01ab456789");

  EXPECT_EQ(f.Seek(-3, SeekOrigin::End), 7);
  EXPECT_EQ(f.Read(buffer, 5), 3) << "only up to the end";
  EXPECT_EQ(std::string(buffer, 3), "789");
  EXPECT_EQ(f.Position(), 10);
  EXPECT_EQ(f.Read(buffer, 5), 0);
  EXPECT_EQ(f.Seek(-20, SeekOrigin::Current), -1);
  EXPECT_EQ(f.Position(), 10) << "a failed seek moves nothing";

  EXPECT_EQ(f.Seek(5, SeekOrigin::End), 15);
  EXPECT_EQ(f.Write("Z", 1), 1);
  EXPECT_EQ(f.Size(), 16);
  EXPECT_EQ(f.Seek(-6, SeekOrigin::Current), 10);
  EXPECT_EQ(f.Read(buffer, 16), 6);
  EXPECT_EQ(std::string(buffer, 6), std::string("\0\0\0\0\0Z", 6)) << "the gap reads as zeros";

  EXPECT_TRUE(f.SetSize(12));
  EXPECT_EQ(f.Size(), 12);
  EXPECT_EQ(f.Write(nullptr, 3), 0);
  EXPECT_EQ(f.Write("x", 0), 0);
  EXPECT_TRUE(f.Close());
  EXPECT_FALSE(f.IsOpen());
  EXPECT_FALSE(f.Close()) << "nothing open any more";
  EXPECT_EQ(ReadLinux(drive_ + "/Rw.bin"), std::string("01ab456789\0\0", 12));
}

TEST_F(FilesTest, AFileIsReadFromItsStartToItsEnd) {
  WriteLinux(drive_ + "/In.txt", "ab\r\nc");
  File f;
  ASSERT_TRUE(f.OpenForReading("C:\\In.txt"));
  EXPECT_FALSE(f.IsWritable());
  EXPECT_EQ(f.Size(), 5);
  char buffer[8] = {};
  EXPECT_EQ(f.Read(buffer, 2), 2);
  EXPECT_EQ(f.Read(buffer + 2, 8), 3);
  EXPECT_EQ(std::string(buffer, 5), "ab\r\nc");
  EXPECT_EQ(f.Read(buffer, 1), 0);
  EXPECT_EQ(f.Write("x", 1), 0) << "opened for reading only";
  EXPECT_FALSE(f.SetSize(0));
  EXPECT_EQ(f.Seek(1, SeekOrigin::Begin), 1);
  EXPECT_EQ(f.Read(buffer, 1), 1);
  EXPECT_EQ(buffer[0], 'b');
  EXPECT_TRUE(f.Close());
  EXPECT_EQ(ReadLinux(drive_ + "/In.txt"), "ab\r\nc");
}

// Every name the system can spell is a file of its own and can be saved, even a cp1251 byte
// with no character of its own (0x98) and a name as long as the file system allows.
TEST_F(FilesTest, NamesKeepEveryByteAndTheirFullLength) {
  const std::string longName(250, 'n');
  struct Case {
    std::string name;
    std::string bytes;
  } const cases[] = {{"a\x98" "b.txt", "first"}, {"ab.txt", "second"}, {"\x98", "third"},
                     {longName, "fourth"}, {std::string(120, '\xC0'), "fifth"}};
  for (const Case& c : cases) {
    File f;
    ASSERT_TRUE(f.CreateForWriting("C:\\" + c.name)) << c.name.size() << " bytes";
    EXPECT_EQ(f.Write(c.bytes.data(), std::int64_t(c.bytes.size())), std::int64_t(c.bytes.size()));
    EXPECT_TRUE(f.Close());
  }
  for (const Case& c : cases) {
    File f;
    ASSERT_TRUE(f.OpenForReading("C:\\" + c.name)) << c.bytes;
    std::string read(16, '\0');
    read.resize(std::size_t(f.Read(read.data(), 16)));
    EXPECT_EQ(read, c.bytes);
  }
  EXPECT_EQ(Others(drive_, {}).size(), std::size(cases)) << "no leftovers, no name shared";

  for (int byte = 1; byte < 256; ++byte) {
    const std::string one(1, char(byte));
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(one)), one) << "byte " << byte;
  }
}

TEST_F(FilesTest, WhatCannotBeOpenedIsRefused) {
  fs::create_directories(drive_ + "/Dir");
  File f;
  EXPECT_FALSE(f.OpenForReading("C:\\Missing.txt"));
  EXPECT_FALSE(f.OpenForReading("C:\\Dir"));
  EXPECT_FALSE(f.OpenForReading("D:\\x"));
  EXPECT_FALSE(f.CreateForWriting("C:\\Dir"));
  EXPECT_FALSE(f.CreateForWriting("C:\\NoSuchDir\\x"));
  EXPECT_FALSE(f.CreateForWriting("C:\\Dir\\"));
  EXPECT_FALSE(f.IsOpen());
  char buffer[4];
  EXPECT_EQ(f.Read(buffer, 4), 0);
  EXPECT_EQ(f.Write("x", 1), 0);
  EXPECT_EQ(f.Seek(0, SeekOrigin::Begin), -1);
  EXPECT_EQ(Others(drive_, {"Dir"}), std::vector<std::string>{});
}

TEST_F(FilesTest, TheTargetChangesOnlyWhenTheWrittenFileIsClosed) {
  const std::string target = drive_ + "/Conf.qxe";
  WriteLinux(target, "old");
  chmod(target.c_str(), 0640);

  File f;
  ASSERT_TRUE(f.CreateForWriting("C:\\Conf.qxe"));
  f.Write("new content", 11);
  EXPECT_EQ(ReadLinux(target), "old") << "untouched while being written";
  File reader;
  ASSERT_TRUE(reader.OpenForReading("C:\\Conf.qxe"));
  EXPECT_EQ(reader.Size(), 3);
  ASSERT_TRUE(f.Close());
  EXPECT_EQ(ReadLinux(target), "new content");
  EXPECT_EQ(Others(drive_, {"Conf.qxe"}), std::vector<std::string>{}) << "nothing left beside it";
  struct stat info;
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u) << "the saved file keeps its permissions";

  {
    File scoped;
    ASSERT_TRUE(scoped.CreateForWriting("C:\\Conf.qxe"));
    scoped.Write("by destructor", 13);
  }
  EXPECT_EQ(ReadLinux(target), "by destructor");

  File moved;
  ASSERT_TRUE(moved.CreateForWriting("C:\\Conf.qxe"));
  moved.Write("moved", 5);
  File owner = std::move(moved);
  EXPECT_FALSE(moved.IsOpen());
  EXPECT_TRUE(owner.Close());
  EXPECT_EQ(ReadLinux(target), "moved");
}

// A save killed halfway through writing (a crash, a power cut without the disk's cache) must
// leave the previous file as it was, byte for byte.
TEST_F(FilesTest, ASaveKilledHalfwayLeavesThePreviousFileIntact) {
  const std::string target = drive_ + "/Big.qxe";
  std::string previous;
  for (int i = 0; i < 300'000; ++i) previous += static_cast<char>(i * 7 % 251);
  WriteLinux(target, previous);

  int halfway[2];
  ASSERT_EQ(pipe(halfway), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(halfway[0]);
    File f;
    if (!f.CreateForWriting("C:\\Big.qxe")) _exit(2);
    const std::string chunk(64 * 1024, 'n');
    for (int i = 0; i < 64; ++i) {
      f.Write(chunk.data(), static_cast<std::int64_t>(chunk.size()));
      if (i == 31) {  // 2 MB of 4 written: tell the parent, then wait for the end
        const char ready = 1;
        if (write(halfway[1], &ready, 1) != 1) _exit(4);
        pause();
      }
    }
    _exit(3);
  }
  close(halfway[1]);
  char ready = 0;
  ASSERT_EQ(read(halfway[0], &ready, 1), 1);
  close(halfway[0]);
  kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;

  EXPECT_TRUE(ReadLinux(target) == previous) << "the previous file changed";
  // The half-written bytes went to a file beside it, which the next save does not mind.
  const auto leftovers = Others(drive_, {"Big.qxe"});
  ASSERT_EQ(leftovers.size(), 1u);
  EXPECT_GE(fs::file_size(drive_ + "/" + leftovers[0]), 1u << 20);
  File again;
  ASSERT_TRUE(again.CreateForWriting("C:\\Big.qxe"));
  again.Write("saved", 5);
  EXPECT_TRUE(again.Close());
  EXPECT_EQ(ReadLinux(target), "saved");
  // ...and removes: the process that wrote it is gone.
  EXPECT_EQ(Others(drive_, {"Big.qxe"}), std::vector<std::string>{});
}

// The temporaries a save leaves when it is killed are removed by the next save of the same
// target, or at the start of the program; those of a save still running, and those of other
// files, stay.
TEST_F(FilesTest, StaleTemporariesOfASaveAreRemoved) {
  const pid_t gone = fork();
  ASSERT_GE(gone, 0);
  if (gone == 0) _exit(0);
  ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
  const std::string dead = std::to_string(gone), alive = std::to_string(getppid());
  const std::string stale[] = {
      ".Conf.qxe.saving-" + dead + "-1",
      ".Conf.qxe.saving-" + dead + "-27",
  };
  const std::vector<std::string> kept = {
      "Conf.qxe",
      ".Conf.qxe.saving-" + alive + "-1",  // its save is still running
      ".Other.qxe.saving-" + dead + "-1",  // another file's
      ".Conf.qxe.saving-" + dead,          // not a name a save makes
      ".Conf.qxe.saving-x" + dead + "-1",
      ".Conf.qxe.bak",
      "Conf.qxe.saving-" + dead + "-1",
  };
  auto place = [&] {
    for (const std::string& name : stale) WriteLinux(drive_ + "/" + name, "partial");
    for (const std::string& name : kept) WriteLinux(drive_ + "/" + name, "kept");
  };
  place();
  File f;
  ASSERT_TRUE(f.CreateForWriting("C:\\Conf.qxe"));
  f.Write("new", 3);
  ASSERT_TRUE(f.Close());
  EXPECT_EQ(Others(drive_, kept), std::vector<std::string>{});
  EXPECT_EQ(ReadLinux(drive_ + "/Conf.qxe"), "new");

  place();
  RemoveStaleTemporaries("C:\\Conf.qxe");
  EXPECT_EQ(Others(drive_, kept), std::vector<std::string>{});
  EXPECT_EQ(ReadLinux(drive_ + "/.Conf.qxe.saving-" + alive + "-1"), "kept");

  // A name too long to take the whole suffix is cut the way the save cuts it.
  const std::string longName(250, 'n');
  const std::string suffix = ".saving-" + dead + "-3";
  const std::string cut = "." + longName.substr(0, NAME_MAX - 1 - suffix.size()) + suffix;
  WriteLinux(drive_ + "/" + cut, "partial");
  RemoveStaleTemporaries("C:\\" + longName);
  EXPECT_FALSE(fs::exists(drive_ + "/" + cut));
}

// What stops a save is named, and the platform's line on stderr names this program.
TEST_F(FilesTest, AFailedSaveNamesItsReason) {
  File f;
  EXPECT_FALSE(f.CreateForWriting("C:\\Missing\\Conf.qxe"));
  EXPECT_EQ(f.FailureText(), "No such file or directory");
  EXPECT_EQ(f.Reason(), FailureReason::Missing);
  fs::create_directories(drive_ + "/Folder");
  EXPECT_FALSE(f.CreateForWriting("C:\\Folder"));
  EXPECT_EQ(f.FailureText(), "Is a directory");
  EXPECT_EQ(f.Reason(), FailureReason::Folder);
  EXPECT_FALSE(f.OpenForReading("C:\\Folder"));
  EXPECT_EQ(f.Reason(), FailureReason::Folder);
  EXPECT_FALSE(f.CreateForWriting("D:\\Conf.qxe"));
  EXPECT_EQ(f.FailureText(), "No such file or directory");

  ASSERT_TRUE(f.CreateForWriting("C:\\Conf.qxe"));
  EXPECT_EQ(f.FailureText(), "");
  f.Write("x", 1);
  fs::remove_all(drive_);  // the folder goes away before the file is put in place
  testing::internal::CaptureStderr();
  EXPECT_FALSE(f.Close());
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(f.FailureText(), "No such file or directory");
  EXPECT_EQ(err, "test_platform: cannot save " + drive_ + "/Conf.qxe: No such file or directory\n");
}

// A disk that fills up during a save: the file size limit makes writes fail the same way.
TEST_F(FilesTest, AFailedWriteIsReportedByCloseAndLeavesTheOldFile) {
  const std::string target = drive_ + "/Conf.qxe";
  WriteLinux(target, "previous configuration");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{8192, 8192};
    setrlimit(RLIMIT_FSIZE, &limit);
    File f;
    if (!f.CreateForWriting("C:\\Conf.qxe")) _exit(2);
    const std::string data(100'000, 'x');
    f.Write(data.data(), static_cast<std::int64_t>(data.size()));
    _exit(f.Close() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: Close claimed success; 2: could not create";
  EXPECT_EQ(ReadLinux(target), "previous configuration");
  EXPECT_EQ(Others(drive_, {"Conf.qxe"}), std::vector<std::string>{}) << "the partial file is gone";
}

TEST_F(FilesTest, ACopyIsKeptBesideAFileUnderTheLowestFreeNumber) {
  const std::string file = drive_ + "/Conf.qxe";
  WriteLinux(file, "damaged");
  WriteLinux(file + ".damaged-1", "another file");
  int error = -1;
  EXPECT_EQ(KeepCopy("C:\\Conf.qxe", ".damaged-", error), 2);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(ReadLinux(file + ".damaged-1"), "another file");
  EXPECT_EQ(ReadLinux(file + ".damaged-2"), "damaged");
  // The same bytes again: the copy made already.
  EXPECT_EQ(KeepCopy("C:\\Conf.qxe", ".damaged-", error), 2);
  // Other bytes: a new copy, and no folder or link is taken for one.
  WriteLinux(file, "damaged otherwise");
  fs::create_directories(file + ".damaged-3");
  fs::create_symlink(file, file + ".damaged-4");
  EXPECT_EQ(KeepCopyOfHostPath(file, ".damaged-", error), 5);
  EXPECT_EQ(ReadLinux(file + ".damaged-5"), "damaged otherwise");
  EXPECT_EQ(Others(drive_, {"Conf.qxe", "Conf.qxe.damaged-1", "Conf.qxe.damaged-2",
                            "Conf.qxe.damaged-3", "Conf.qxe.damaged-4", "Conf.qxe.damaged-5"}),
            std::vector<std::string>{});

  // What cannot be read is not copied.
  EXPECT_EQ(KeepCopy("C:\\Missing.qxe", ".damaged-", error), 0);
  EXPECT_EQ(ReasonOf(error), FailureReason::Missing);
  EXPECT_EQ(KeepCopyOfHostPath(file + ".damaged-3", ".x-", error), 0);
  EXPECT_EQ(ReasonOf(error), FailureReason::Folder);
}

// A disk that fills up while the copy is written leaves no copy, and says why.
TEST_F(FilesTest, ACopyThatCannotBeWrittenWholeIsNotLeftBehind) {
  const std::string file = drive_ + "/Conf.qxe";
  WriteLinux(file, std::string(100'000, 'd'));
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{8192, 8192};
    setrlimit(RLIMIT_FSIZE, &limit);
    int error = 0;
    _exit(KeepCopy("C:\\Conf.qxe", ".damaged-", error) == 0 && error == EFBIG ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(Others(drive_, {"Conf.qxe"}), std::vector<std::string>{});
}

TEST_F(FilesTest, AWriteLeftByAnExceptionLeavesTheOldFile) {
  const std::string target = drive_ + "/Conf.qxe";
  WriteLinux(target, "previous configuration");
  try {
    File f;
    ASSERT_TRUE(f.CreateForWriting("C:\\Conf.qxe"));
    f.Write("Qx", 2);  // the header, and then the record cannot be made
    throw std::bad_alloc();
  } catch (const std::bad_alloc&) {
  }
  EXPECT_EQ(ReadLinux(target), "previous configuration");
  EXPECT_EQ(Others(drive_, {"Conf.qxe"}), std::vector<std::string>{}) << "the partial file is gone";

  {  // a file written in full while an older exception is in flight is still put in place
    struct Writer {
      ~Writer() {
        File f;
        if (f.CreateForWriting("C:\\Conf.qxe")) f.Write("new", 3);
      }
    };
    try {
      Writer w;
      throw 1;
    } catch (int) {
    }
  }
  EXPECT_EQ(ReadLinux(target), "new");
}

}  // namespace
}  // namespace platform
