#include "platform/draw/Bitmap.h"

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

namespace platform {
namespace {

// 64 M pixels (256 MB), as for memory bitmaps; far beyond any picture the system uses.
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26;

BitmapResult Failure(const std::string& what, const std::string& path) {
  const char* reason = SDL_GetError();
  return {false, what + " " + path + (reason && *reason ? ": " + std::string(reason) : "")};
}

// The loader makes (and clears) the whole picture before it reads a pixel, so a damaged header
// claiming a huge size would cost gigabytes. The header's size is checked first: against a
// limit, and, for uncompressed pixels, against what the file holds. Other files are left to SDL.
std::string CheckHeader(const std::string& path, const Uint8* h, size_t got, Sint64 fileSize) {
  if (got < 26 || h[0] != 'B' || h[1] != 'M') return {};
  auto u16 = [&h](int at) { return std::uint32_t(h[at] | h[at + 1] << 8); };
  auto u32 = [&](int at) { return u16(at) | u16(at + 2) << 16; };
  const std::uint32_t infoSize = u32(14);
  std::int64_t width, height;
  std::uint32_t depth, compression = 0;
  if (infoSize == 12) {  // the old core header: 16-bit sizes
    width = u16(18), height = u16(20), depth = u16(24);
  } else if (got >= 34) {
    width = std::int32_t(u32(18)), height = std::int32_t(u32(22)), depth = u16(28);
    compression = u32(30);
  } else {
    return {};
  }
  height = height < 0 ? -height : height;
  if (width <= 0 || height <= 0) return {};
  const std::string size = std::to_string(width) + " x " + std::to_string(height);
  if (width * height > kMaxPixels) return "picture too large (" + size + ") in " + path;
  const std::int64_t rowBytes = (width * depth + 31) / 32 * 4;
  const bool plain = compression == 0 || compression == 3;  // BI_RGB, BI_BITFIELDS
  if (plain && fileSize >= 0 && std::int64_t(u32(10)) + rowBytes * height > fileSize)
    return "file too short for its " + size + " picture: " + path;
  return {};
}

// The file is opened once: its header is checked, then the rest is read and decoded from
// memory. Files it cannot hold that way (unreadable, empty, their size unknown) are left to SDL
// as they are. On a refusal the file's bytes stay empty.
struct FileBytes {
  std::string refused;
  std::string bytes;
};

FileBytes ReadChecked(const std::string& path) {
  FileBytes file;
  SDL_RWops* in = SDL_RWFromFile(path.c_str(), "rb");
  if (!in) return file;
  Uint8 h[54] = {};
  const size_t got = SDL_RWread(in, h, 1, sizeof h);
  const Sint64 fileSize = SDL_RWsize(in);
  file.refused = CheckHeader(path, h, got, fileSize);
  if (file.refused.empty() && got > 0 && fileSize == Sint64(got)) {
    file.bytes.assign(reinterpret_cast<const char*>(h), got);
  } else if (file.refused.empty() && got == sizeof h && fileSize > Sint64(got) &&
             fileSize <= (kMaxPixels + 1) * 4) {
    file.bytes.resize(size_t(fileSize));
    std::memcpy(file.bytes.data(), h, got);
    const size_t rest = file.bytes.size() - got;
    if (SDL_RWread(in, file.bytes.data() + got, 1, rest) != rest) file.bytes.clear();
  }
  SDL_RWclose(in);
  return file;
}

// The same small pictures (arrows, caption buttons) are asked for by every control that shows
// them: a file whose bytes were decoded before is not decoded again. Keyed by the bytes, not the
// path, so a file changed between loads is read anew.
constexpr size_t kMaxSharedFile = 64 << 10;
constexpr size_t kMaxShared = 256;

std::mutex sharedLock;
std::unordered_map<std::string, Surface>& Shared() {
  static auto* shared = new std::unordered_map<std::string, Surface>;  // lives to the end
  return *shared;
}

}  // namespace

BitmapResult LoadBmp(const std::string& path, Surface& picture) {
  FileBytes file = ReadChecked(path);
  if (!file.refused.empty()) return {false, file.refused};
  const bool share = !file.bytes.empty() && file.bytes.size() <= kMaxSharedFile;
  if (share) {
    std::lock_guard hold(sharedLock);
    const auto found = Shared().find(file.bytes);
    if (found != Shared().end()) {
      picture = found->second;
      return {true, {}};
    }
  }
  SDL_ClearError();
  SDL_Surface* loaded =
      file.bytes.empty()
          ? SDL_LoadBMP(path.c_str())
          : SDL_LoadBMP_RW(SDL_RWFromConstMem(file.bytes.data(), int(file.bytes.size())), 1);
  if (!loaded) return Failure("cannot load", path);
  SDL_Surface* pixels = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_XRGB8888, 0);
  SDL_FreeSurface(loaded);
  if (!pixels) return Failure("cannot convert", path);
  if (pixels->w <= 0 || pixels->h <= 0 || SDL_LockSurface(pixels) != 0) {
    SDL_FreeSurface(pixels);
    return {false, "empty picture in " + path};
  }
  // SDL_PIXELFORMAT_XRGB8888 is 0x00RRGGBB in a 32-bit word, as Surface keeps it; only the
  // unused top byte may hold anything.
  Surface result(pixels->w, pixels->h, 0);
  for (int y = 0; y < result.height; ++y) {
    const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(pixels->pixels) +
                                                      y * pixels->pitch);
    Pixel* out = result.Row(y);
    for (int x = 0; x < result.width; ++x) out[x] = row[x] & 0xFFFFFF;
  }
  SDL_UnlockSurface(pixels);
  SDL_FreeSurface(pixels);
  if (share) {
    std::lock_guard hold(sharedLock);
    if (Shared().size() >= kMaxShared) Shared().clear();
    Shared().emplace(std::move(file.bytes), result);
  }
  picture = std::move(result);
  return {true, {}};
}

BitmapResult SaveBmp(const std::string& path, const Surface& picture) {
  if (picture.width <= 0 || picture.height <= 0 || !picture.Whole())
    return {false, "nothing to save to " + path};
  SDL_ClearError();
  SDL_Surface* rgb =
      SDL_CreateRGBSurfaceWithFormat(0, picture.width, picture.height, 24, SDL_PIXELFORMAT_RGB24);
  if (!rgb) return Failure("cannot save", path);
  if (SDL_LockSurface(rgb) != 0) {
    SDL_FreeSurface(rgb);
    return Failure("cannot save", path);
  }
  for (int y = 0; y < picture.height; ++y) {
    Uint8* out = static_cast<Uint8*>(rgb->pixels) + y * rgb->pitch;
    const Pixel* in = picture.Row(y);
    for (int x = 0; x < picture.width; ++x) {
      out[3 * x] = Uint8(in[x] >> 16);
      out[3 * x + 1] = Uint8(in[x] >> 8);
      out[3 * x + 2] = Uint8(in[x]);
    }
  }
  SDL_UnlockSurface(rgb);
  // SDL writes a 24-bit file for a surface without alpha.
  const bool saved = SDL_SaveBMP(rgb, path.c_str()) == 0;
  SDL_FreeSurface(rgb);
  if (!saved) return Failure("cannot save", path);
  return {true, {}};
}

}  // namespace platform
