// A damaged configuration file in the environment: whatever the load refused or passed over is
// kept in a copy beside the file before anything can be written over it, and the box says where.
// Why a file cannot be read or written is said in the user's words.
#include <sys/resource.h>

#include <csignal>

#include "platform/Text.h"
#include "tests/ide/IdeFixture.h"
#include "tests/import/Tree.h"

namespace {

using namespace qxtest;

constexpr const char* kCopy1 = "C:\\Qxe\\Conf.qxe.damaged-1";
constexpr const char* kCopy2 = "C:\\Qxe\\Conf.qxe.damaged-2";

bool Exists(const char* systemPath) {
  return std::filesystem::exists(platform::LinuxPath(systemPath));
}

bool Has(const std::string& text, const char* cp1251) {
  return text.find(platform::Cp1251ToUtf8(cp1251)) != std::string::npos;
}

class DamagedFileTest : public IdeTest {
 protected:
  // A project of a few thousand bytes, saved; its bytes.
  std::string SavedProject() {
    CInfo* group = Make(&Root(), "CProjectGroupInfo", "Work");
    CInfo* demo = Make(group, "CAppInfo", "Demo");
    demo->About = CStr(std::string(4000, 'a'));
    Make(&Root(), "CProjectGroupInfo", "Rest");
    EXPECT_EQ(SaveConfig(*CoreApp), "");
    return FileBytes(kConf);
  }

  // A start whose box (headless: on stderr) is returned.
  std::string StartTold() {
    testing::internal::CaptureStderr();
    Start();
    return testing::internal::GetCapturedStderr();
  }
  std::string CommandTold(int number) {
    testing::internal::CaptureStderr();
    Command(number, true);
    return testing::internal::GetCapturedStderr();
  }

  static std::string Truncated(const std::string& bytes) {
    return bytes.substr(0, bytes.size() / 2);
  }
  // One flipped bit makes the application's record one of a class nobody knows.
  static std::string WithUnknownClass(std::string bytes) {
    const std::size_t at = bytes.find("CAppInfo");
    EXPECT_NE(at, std::string::npos);
    bytes[at + 1] ^= 0x20;  // "CappInfo"
    return bytes;
  }
};

// Refused at start, or read without a record: in both the file is copied before Save replaces it.
TEST_F(DamagedFileTest, AFileRefusedOrReadInPartIsKeptBeforeSaveWritesOverIt) {
  const std::string project = SavedProject();
  const struct {
    const char* what;
    std::string bytes;
    const char* tree;  // after the start
  } cases[] = {
      {"truncated", Truncated(project), ""},
      {"unknown class", WithUnknownClass(project),
       "CProjectGroupInfo Work\nCProjectGroupInfo Rest\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(platform::LinuxPath(kCopy1));
    WriteFileBytes(kConf, c.bytes);
    const std::string told = StartTold();
    EXPECT_EQ(Describe(&Root()), c.tree);
    // Kept at the load: a crash before any Save still leaves the copy.
    EXPECT_EQ(FileBytes(kCopy1), c.bytes);
    EXPECT_TRUE(Has(told, "повреждённый файл сохранён в копии C:\\Qxe\\Conf.qxe.damaged-1"_cp))
        << told;

    Command(3, true);
    EXPECT_NE(FileBytes(kConf), c.bytes);  // the save went ahead
    EXPECT_EQ(FileBytes(kCopy1), c.bytes);
    EXPECT_FALSE(Exists(kCopy2));
  }
}

TEST_F(DamagedFileTest, ACopyNeverReplacesAnotherFileAndTheSameBytesAreKeptOnce) {
  const std::string damaged = Truncated(SavedProject());
  WriteFileBytes(kConf, damaged);
  WriteFileBytes(kCopy1, "someone else's file");
  const std::string told = StartTold();
  EXPECT_EQ(FileBytes(kCopy1), "someone else's file");
  EXPECT_EQ(FileBytes(kCopy2), damaged);
  EXPECT_TRUE(Has(told, "Conf.qxe.damaged-2"_cp)) << told;

  // Started again from the same file, and opened once more: the copy made already is named.
  const std::string again = StartTold();
  EXPECT_TRUE(Has(again, "Conf.qxe.damaged-2"_cp)) << again;
  const std::string opened = CommandTold(2);
  EXPECT_TRUE(Has(opened, "повреждённый файл сохранён в копии C:\\Qxe\\Conf.qxe.damaged-2"_cp))
      << opened;
  EXPECT_FALSE(Exists("C:\\Qxe\\Conf.qxe.damaged-3"));
}

TEST_F(DamagedFileTest, OpenKeepsADamagedFileAndTheTreeItShows) {
  const std::string project = SavedProject();
  WriteFileBytes(kConf, WithUnknownClass(project));
  const std::string told = CommandTold(2);
  EXPECT_EQ(Describe(&Root()), "CProjectGroupInfo Work\nCProjectGroupInfo Rest\n");
  EXPECT_TRUE(Has(told, "CappInfo")) << told;
  EXPECT_TRUE(Has(told, "повреждённый файл сохранён в копии C:\\Qxe\\Conf.qxe.damaged-1"_cp))
      << told;
  EXPECT_EQ(FileBytes(kCopy1), WithUnknownClass(project));
}

// Without room for the copy nothing is written over the file; once there is room, Save makes the
// copy first and says where.
TEST_F(DamagedFileTest, WithoutItsCopyTheFileIsNotWrittenOver) {
  const std::string damaged = Truncated(SavedProject());
  ASSERT_GT(damaged.size(), 2000u);
  WriteFileBytes(kConf, damaged);
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const rlimit tight{1024, saved.rlim_max};
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
  const std::string told = StartTold();
  const std::string refused = CommandTold(3);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);

  EXPECT_TRUE(Has(told, "не удалось сделать копию повреждённого файла: "_cp)) << told;
  EXPECT_EQ(FileBytes(kConf), damaged);
  EXPECT_FALSE(Exists(kCopy1));
  EXPECT_TRUE(Has(refused, "не удалось сделать копию повреждённого файла C:\\Qxe\\Conf.qxe: "_cp))
      << refused;
  EXPECT_TRUE(Has(refused, "; файл не перезаписан"_cp)) << refused;

  Make(&Root(), "CProjectGroupInfo", "New");
  const std::string afterwards = CommandTold(3);
  EXPECT_TRUE(Has(afterwards, "повреждённый файл сохранён в копии C:\\Qxe\\Conf.qxe.damaged-1"_cp))
      << afterwards;
  EXPECT_EQ(FileBytes(kCopy1), damaged);
  Start();
  EXPECT_EQ(Describe(&Root()), "CProjectGroupInfo New\n");
  EXPECT_FALSE(Exists(kCopy2));
}

// [Reasons]

// A folder where the file should stand is no missing file: the start says so, and so does Save.
TEST_F(DamagedFileTest, AFolderInTheFilesPlaceIsReportedAtStartAndBySave) {
  std::filesystem::create_directories(platform::LinuxPath(kConf));
  const std::string told = StartTold();
  EXPECT_TRUE(Has(told, "не удалось открыть файл C:\\Qxe\\Conf.qxe: на месте файла стоит папка"_cp))
      << told;
  const std::string opened = CommandTold(2);
  EXPECT_TRUE(Has(opened, "на месте файла стоит папка"_cp)) << opened;
  const std::string saved = CommandTold(3);
  EXPECT_TRUE(
      Has(saved, "не удалось создать файл C:\\Qxe\\Conf.qxe: на месте файла стоит папка"_cp))
      << saved;
  EXPECT_FALSE(Exists(kCopy1));
}

}  // namespace
