#include "graphics/Bitmap.h"

#include <algorithm>
#include <utility>

#include "platform/Files.h"
#include "platform/draw/Bitmap.h"

CBool CBitmap::LoadFromFile(CStr path) {
  platform::Surface picture;
  if (!platform::LoadBmp(platform::LinuxPath(path.View()), picture) || picture.width <= 0 ||
      picture.height <= 0)
    return false;
  Width = picture.width;
  Height = picture.height;
  Pixels.SetPosition(0);
  Pixels.SetSize((Height * Width * CFloat(3.0)).Round());
  const int rows = Height.Trunc().Value;
  const int columns = Width.Trunc().Value;
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < columns; ++x) {
      const platform::Pixel p = picture.At(x, y);
      Pixels.WriteUChar(static_cast<std::uint8_t>(p >> 16));
      Pixels.WriteUChar(static_cast<std::uint8_t>(p >> 8));
      Pixels.WriteUChar(static_cast<std::uint8_t>(p));
    }
  }
  return true;
}

namespace {

// The platform refuses to make a picture this large; so do we, rather than run out of memory.
constexpr std::int64_t kMaxSide = 16384;
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26;

platform::Surface MakePicture(const CFloat& w, const CFloat& h) {
  const std::int64_t width = w.Round().Value;
  const std::int64_t height = h.Round().Value;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
      width * height > kMaxPixels)
    return platform::Surface();
  return platform::Surface(int(width), int(height), 0);
}

}  // namespace

CGDIBitmap::CGDIBitmap() : DC(&Image) {}

void CGDIBitmap::Replace(platform::Surface picture) {
  // The context keeps pointing at Image; only its pixels change.
  Image = std::move(picture);
  Handle = true;
}

CBool CGDIBitmap::LoadFromFile(CStr path) {
  platform::Surface picture;
  if (!platform::LoadBmp(platform::LinuxPath(path.View()), picture)) picture = platform::Surface();
  Replace(std::move(picture));
  Handle = Image.width > 0 && Image.height > 0;
  Width = Image.width;
  Height = Image.height;
  return true;
}

void CGDIBitmap::Create(const CFloat& w, const CFloat& h, std::span<const std::uint32_t> bits) {
  Width = w;
  Height = h;
  platform::Surface picture = MakePicture(w, h);
  const std::size_t n = std::min(picture.pixels.size(), bits.size());
  for (std::size_t i = 0; i < n; ++i) picture.pixels[i] = bits[i] & 0xFFFFFF;
  Replace(std::move(picture));
}

void CGDIBitmap::SetSize(const CFloat& w, const CFloat& h) {
  Replace(MakePicture(w, h));
  Width = w;
  Height = h;
}
