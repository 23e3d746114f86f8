// The pictures an installed program brings: found beside the program, copied to drive C: only
// where the user has none.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Install.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

std::string ReadLinux(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteLinux(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Every file below a folder, relative to it.
std::vector<std::string> FilesBelow(const fs::path& folder) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (!entry.is_directory()) found.push_back(fs::relative(entry.path(), folder).string());
  std::sort(found.begin(), found.end());
  return found;
}

// Each test gets a drive C: and a place for an installation of its own.
class InstallTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::getenv("QXWORKS_DRIVE_C");
    root_ = fs::path(saved_) / testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(root_);
    fs::create_directories(root_ / "drive");
    setenv("QXWORKS_DRIVE_C", (root_ / "drive").c_str(), 1);
  }
  void TearDown() override { setenv("QXWORKS_DRIVE_C", saved_.c_str(), 1); }

  std::string saved_;
  fs::path root_;
};

TEST_F(InstallTest, MissingPicturesAreCopiedAndTheUsersOwnStay) {
  const fs::path from = root_ / "share/qxworks/Pics";
  WriteLinux(from / "Form/Icon16.bmp", "installed icon");
  WriteLinux(from / "16x16silver/New.bmp", "installed new");
  WriteLinux(from / "Other/AboutPic64.bmp", "installed about");
  WriteLinux(from / ".stamp", "");
  const fs::path pics = root_ / "drive/Qxe/Pics";
  WriteLinux(pics / "Form/Icon16.bmp", "the user's own icon");
  fs::create_directories(pics / "Other");
  fs::create_symlink("/nowhere/About.bmp", pics / "Other/AboutPic64.bmp");

  EXPECT_EQ(CopyMissingFiles(from.string(), "C:\\Qxe\\Pics"), 1);
  EXPECT_EQ(ReadLinux(pics / "16x16silver/New.bmp"), "installed new");
  EXPECT_EQ(ReadLinux(pics / "Form/Icon16.bmp"), "the user's own icon");
  EXPECT_EQ(fs::read_symlink(pics / "Other/AboutPic64.bmp"), "/nowhere/About.bmp");
  // No stamp and no copy's temporary are left on the drive.
  EXPECT_EQ(FilesBelow(pics), (std::vector<std::string>{"16x16silver/New.bmp", "Form/Icon16.bmp",
                                                        "Other/AboutPic64.bmp"}));

  // A second start finds everything there; a picture the user removed comes back.
  EXPECT_EQ(CopyMissingFiles(from.string(), "C:\\Qxe\\Pics"), 0);
  fs::remove(pics / "16x16silver/New.bmp");
  EXPECT_EQ(CopyMissingFiles(from.string(), "C:\\Qxe\\Pics"), 1);
  EXPECT_EQ(ReadLinux(pics / "16x16silver/New.bmp"), "installed new");
}

TEST_F(InstallTest, NoPicturesToBringTouchNothing) {
  EXPECT_EQ(CopyMissingFiles((root_ / "missing").string(), "C:\\Qxe\\Pics"), 0);
  EXPECT_EQ(CopyMissingFiles("", "C:\\Qxe\\Pics"), 0);
  EXPECT_FALSE(fs::exists(root_ / "drive/Qxe"));
}

TEST_F(InstallTest, ThePicturesAreFoundBesideTheProgram) {
  fs::create_directories(root_ / "prefix/bin");
  fs::create_directories(root_ / "prefix/share/qxworks/Pics");
  fs::create_directories(root_ / "build/pics");
  fs::create_directories(root_ / "bare/bin");
  const fs::path installed = root_ / "prefix/share/qxworks/Pics";
  EXPECT_EQ(BundledPicturesFolder((root_ / "prefix/bin").string()), installed.string());
  EXPECT_EQ(BundledPicturesFolder((root_ / "build").string()), (root_ / "build/pics").string());
  EXPECT_EQ(BundledPicturesFolder((root_ / "bare/bin").string()), "");
  EXPECT_EQ(BundledPicturesFolder(""), "");
}

TEST(ProgramFolderTest, IsWhereTheRunningProgramLies) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(fs::exists(fs::path(folder) / "test_platform"));
}

}  // namespace
}  // namespace platform
