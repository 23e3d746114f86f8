// Pictures from files (written here with the platform's own BMP writer) and made in memory.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "graphics/Bitmap.h"
#include "platform/Files.h"
#include "platform/draw/Bitmap.h"

namespace {

// Saves a picture on drive C: and answers its path as the system writes it.
CStr SavePicture(const std::string& name, const platform::Surface& picture) {
  const std::string path = "C:\\" + name;
  EXPECT_TRUE(platform::SaveBmp(platform::LinuxPath(path), picture)) << path;
  return CStr(path.c_str());
}

std::vector<int> Bytes(CMemory& memory) {
  std::vector<int> bytes;
  for (int i = 0; i < memory.GetSize().Value; ++i) bytes.push_back(memory.Data()[i]);
  return bytes;
}

}  // namespace

TEST(CBitmap, LoadsRowsOfRedGreenBlueBytes) {
  platform::Surface picture(2, 1);
  picture.pixels = {0xFF0000, 0x0000FF};
  const CStr path = SavePicture("TwoPixels.bmp", picture);

  CBitmap bitmap;
  EXPECT_TRUE(bitmap.LoadFromFile(path));
  EXPECT_EQ(bitmap.Width.Value, 2);
  EXPECT_EQ(bitmap.Height.Value, 1);
  EXPECT_EQ(Bytes(bitmap.Pixels), (std::vector<int>{255, 0, 0, 0, 0, 255}));

  platform::Surface square(2, 2);
  square.pixels = {0x010203, 0x040506, 0x070809, 0x0A0B0C};
  EXPECT_TRUE(bitmap.LoadFromFile(SavePicture("Square.bmp", square)));
  EXPECT_EQ(Bytes(bitmap.Pixels), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));

  // No picture: false, and nothing changes.
  EXPECT_FALSE(bitmap.LoadFromFile("C:\\Missing.bmp"));
  EXPECT_EQ(bitmap.Width.Value, 2);
  EXPECT_EQ(bitmap.Pixels.GetSize().Value, 12);
}

TEST(CGDIBitmap, EachLoadReplacesThePictureAndItsSize) {
  platform::Surface big(16, 16, 0x00FF00);
  platform::Surface small(3, 5, 0x0000FF);
  small.pixels[0] = 0xFF0000;
  const CStr bigPath = SavePicture("Big.bmp", big);
  const CStr smallPath = SavePicture("Small.bmp", small);

  CGDIBitmap bitmap;
  EXPECT_FALSE(bitmap.HasPicture());
  EXPECT_TRUE(bitmap.LoadFromFile(bigPath));
  EXPECT_EQ(bitmap.Width.Value, 16);
  EXPECT_EQ(bitmap.Height.Value, 16);
  EXPECT_EQ(bitmap.Picture().At(15, 15), 0x00FF00u);

  EXPECT_TRUE(bitmap.LoadFromFile(smallPath));
  EXPECT_EQ(bitmap.Width.Value, 3);
  EXPECT_EQ(bitmap.Height.Value, 5);
  EXPECT_EQ(bitmap.Picture().width, 3);
  EXPECT_EQ(bitmap.Picture().At(0, 0), 0xFF0000u);
  EXPECT_EQ(bitmap.Picture().At(2, 4), 0x0000FFu);
  // The picture the context copies from is the new one.
  EXPECT_EQ(bitmap.DC.GetPixel(0, 0), 0xFF0000u);

  // A missing file still answers true and leaves no picture.
  EXPECT_TRUE(bitmap.LoadFromFile("c:\\nowhere\\None.bmp"));
  EXPECT_FALSE(bitmap.HasPicture());
  EXPECT_EQ(bitmap.Width.Value, 0);
  EXPECT_EQ(bitmap.Height.Value, 0);
}

TEST(CGDIBitmap, MadePicturesRoundTheirSizeButKeepTheGivenOne) {
  CGDIBitmap bitmap;
  bitmap.SetSize(10.4L, 10.5L);
  EXPECT_EQ(bitmap.Picture().width, 10);
  EXPECT_EQ(bitmap.Picture().height, 11);
  EXPECT_EQ(bitmap.Width.Value, 10.4L);
  EXPECT_EQ(bitmap.Height.Value, 10.5L);

  const std::uint32_t bits[] = {0x123456, 0xFF654321};  // the top byte is not a colour
  bitmap.Create(2, 2, bits);
  ASSERT_EQ(bitmap.Picture().width, 2);
  EXPECT_EQ(bitmap.Picture().At(0, 0), 0x123456u);
  EXPECT_EQ(bitmap.Picture().At(1, 0), 0x654321u);
  EXPECT_EQ(bitmap.Picture().At(0, 1), 0u);  // beyond the given pixels: black
  EXPECT_EQ(bitmap.Picture().At(1, 1), 0u);

  // Sizes the platform would refuse give no picture rather than exhaust memory.
  bitmap.SetSize(1e9L, 1e9L);
  EXPECT_FALSE(bitmap.HasPicture() && bitmap.Picture().width > 0);
  EXPECT_EQ(bitmap.Picture().pixels.size(), 0u);
  bitmap.SetSize(-5, 3);
  EXPECT_EQ(bitmap.Picture().pixels.size(), 0u);
}
