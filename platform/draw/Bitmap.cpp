#include "platform/draw/Bitmap.h"

#include <SDL.h>

#include <cstring>

namespace platform {
namespace {

BitmapResult Failure(const std::string& what, const std::string& path) {
  const char* reason = SDL_GetError();
  return {false, what + " " + path + (reason && *reason ? ": " + std::string(reason) : "")};
}

}  // namespace

BitmapResult LoadBmp(const std::string& path, Surface& picture) {
  SDL_ClearError();
  SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
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
  picture = std::move(result);
  return {true, {}};
}

BitmapResult SaveBmp(const std::string& path, const Surface& picture) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() < size_t(picture.width) * size_t(picture.height))
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
