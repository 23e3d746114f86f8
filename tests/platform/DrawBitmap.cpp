// .bmp files: saving as 24 bits and loading back, loading other depths, refusing bad files.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "platform/draw/Bitmap.h"
#include "tests/platform/DrawPictures.h"

namespace {

using namespace platform;
using namespace qxtest;

class DrawBitmap : public testing::Test {
 protected:
  // Each test program has a drive C: of its own under a fresh temporary folder.
  std::string Path(const std::string& name) const {
    const char* dir = std::getenv("QXWORKS_DRIVE_C");
    return std::string(dir ? dir : "/tmp") + "/" + name;
  }
  std::vector<std::uint8_t> ReadFile(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) const {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
};

TEST_F(DrawBitmap, SavedPictureLoadsBackPixelForPixelFromATwentyFourBitFile) {
  Surface picture(5, 3);  // 15-byte rows: each is padded in the file
  for (int i = 0; i < 15; ++i) picture.pixels[i] = MakePixel(i * 17, 255 - i * 13, (i * 71) & 0xFF);
  const std::string path = Path("roundtrip.bmp");
  const BitmapResult saved = SaveBmp(path, picture);
  ASSERT_TRUE(saved) << saved.error;

  const std::vector<std::uint8_t> file = ReadFile(path);
  ASSERT_GT(file.size(), 54u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(file[28] | file[29] << 8, 24);  // bits per pixel

  Surface loaded;
  const BitmapResult result = LoadBmp(path, loaded);
  ASSERT_TRUE(result) << result.error;
  EXPECT_EQ(loaded.width, 5);
  EXPECT_EQ(loaded.height, 3);
  EXPECT_EQ(loaded.pixels, picture.pixels);
}

TEST_F(DrawBitmap, PalettedFileLoadsAsColours) {
  // 2 x 1, 8 bits a pixel, two palette entries (blue, green, red, unused): red then blue.
  const std::vector<std::uint8_t> bytes = {
      'B', 'M', 66, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0,           // file header
      40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 8, 0,          // size, width, height, planes, bits
      0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,           // no compression, image size
      2, 0, 0, 0, 0, 0, 0, 0,                                   // colours used
      0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0x00,           // palette: red, blue
      0, 1, 0, 0,                                               // the row, padded to 4 bytes
  };
  const std::string path = Path("paletted.bmp");
  WriteFile(path, bytes);
  Surface loaded;
  const BitmapResult result = LoadBmp(path, loaded);
  ASSERT_TRUE(result) << result.error;
  EXPECT_EQ(loaded.width, 2);
  EXPECT_EQ(loaded.height, 1);
  EXPECT_EQ(loaded.pixels, (std::vector<Pixel>{kRed, kBlue}));
}

TEST_F(DrawBitmap, MissingAndBrokenFilesAreRefusedAndLeaveThePictureAlone) {
  Surface picture(2, 2);
  picture.pixels = {kRed, kGreen, kBlue, kInk};
  const std::string good = Path("good.bmp");
  ASSERT_TRUE(SaveBmp(good, Surface(16, 16, kRed)));
  const std::vector<std::uint8_t> valid = ReadFile(good);

  std::vector<std::uint8_t> truncated(valid.begin(), valid.begin() + 80);
  std::vector<std::uint8_t> hugeSize = valid;
  hugeSize[18] = hugeSize[19] = hugeSize[20] = 0xFF;  // width near 16 million, no data for it
  std::vector<std::uint8_t> badDepth = valid;
  badDepth[28] = 7;
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
  } const cases[] = {
      {"empty file", {}},
      {"not a bitmap", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}},
      {"header only, cut short", std::vector<std::uint8_t>(valid.begin(), valid.begin() + 20)},
      {"pixel rows cut short", truncated},
      {"size larger than the data", hugeSize},
      {"impossible depth", badDepth},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = Path("broken.bmp");
    WriteFile(path, c.bytes);
    const BitmapResult result = LoadBmp(path, picture);
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(picture.width, 2);
    EXPECT_EQ(picture.pixels, (std::vector<Pixel>{kRed, kGreen, kBlue, kInk}));
  }
  const BitmapResult missing = LoadBmp(Path("no-such-file.bmp"), picture);
  EXPECT_FALSE(missing);
  EXPECT_NE(missing.error.find("no-such-file.bmp"), std::string::npos);
}

// A damaged header of 70 bytes that claims 12000 x 12000 pixels must not make the loader take
// half a gigabyte before it finds the data missing.
TEST_F(DrawBitmap, AHeaderClaimingAHugePictureIsRefusedBeforeAnythingIsMade) {
  const std::string good = Path("small.bmp");
  ASSERT_TRUE(SaveBmp(good, Surface(4, 4, kRed)));
  std::vector<std::uint8_t> bytes = ReadFile(good);
  ASSERT_GE(bytes.size(), 54u);
  const auto put32 = [&bytes](size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = std::uint8_t(v >> (8 * i));
  };
  put32(18, 12000);  // width
  put32(22, 12000);  // height
  bytes.resize(70);
  const std::string path = Path("huge.bmp");
  WriteFile(path, bytes);

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const long peakBefore = usage.ru_maxrss;
  Surface picture(2, 2, kBlue);
  const BitmapResult result = LoadBmp(path, picture);
  getrusage(RUSAGE_SELF, &usage);
  EXPECT_FALSE(result);
  EXPECT_NE(result.error.find("12000 x 12000"), std::string::npos) << result.error;
  EXPECT_EQ(picture.width, 2);
  EXPECT_LT(usage.ru_maxrss - peakBefore, 64l << 10) << "peak resident size grew, in KB";

  // A picture of a sensible size that the file does hold still loads.
  Surface loaded;
  EXPECT_TRUE(LoadBmp(good, loaded));
  EXPECT_EQ(loaded.width, 4);
}

// The same file is loaded by many controls: a load must give the file as it is now, and a
// picture handed out must be the caller's own.
TEST_F(DrawBitmap, EachLoadGivesTheFileAsItIsNowAndAPictureOfItsOwn) {
  const std::string path = Path("changing.bmp");
  ASSERT_TRUE(SaveBmp(path, Surface(3, 2, kRed)));
  Surface first;
  ASSERT_TRUE(LoadBmp(path, first));
  first.pixels[0] = kInk;  // the caller's copy, not the loader's

  Surface again;
  ASSERT_TRUE(LoadBmp(path, again));
  EXPECT_EQ(again.pixels, Surface(3, 2, kRed).pixels);

  // Rewritten in place, same size, at once: the new pixels, not the ones decoded before.
  ASSERT_TRUE(SaveBmp(path, Surface(3, 2, kBlue)));
  Surface changed;
  ASSERT_TRUE(LoadBmp(path, changed));
  EXPECT_EQ(changed.pixels, Surface(3, 2, kBlue).pixels);

  // A file that became unreadable since is refused, even though its old bytes were decoded.
  const std::vector<std::uint8_t> bytes = ReadFile(path);
  WriteFile(path, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 40));
  Surface kept(1, 1, kGreen);
  EXPECT_FALSE(LoadBmp(path, kept));
  EXPECT_EQ(kept.pixels, Surface(1, 1, kGreen).pixels);
}

TEST_F(DrawBitmap, SavingNothingOrToAMissingFolderFails) {
  EXPECT_FALSE(SaveBmp(Path("empty.bmp"), Surface{}));
  const BitmapResult result = SaveBmp(Path("no/such/folder/x.bmp"), Surface(2, 2));
  EXPECT_FALSE(result);
  EXPECT_FALSE(result.error.empty());
}

}  // namespace
