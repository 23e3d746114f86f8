#include "platform/Scale.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include <SDL.h>

#include "platform/Video.h"
#include "platform/draw/Surface.h"

namespace platform {
namespace {

constexpr float kUsualDpi = 96;

int scale = 0;  // 0 until settled

// A whole number from 1 up, or 0.
int Whole(const char* text) {
  if (!text || !*text) return 0;
  const std::string_view view(text);
  int value = 0;
  const auto [end, ec] = std::from_chars(view.data(), view.data() + view.size(), value);
  return ec == std::errc() && end == view.data() + view.size() && value >= 1 ? value : 0;
}

}  // namespace

int ChooseScale(const char* qxworksScale, const char* gdkScale, float dpi) {
  if (const int own = Whole(qxworksScale); own >= 1 && own <= kMaxScale) return own;
  if (const int gdk = Whole(gdkScale)) return std::min(gdk, kMaxScale);
  if (dpi > 0) return std::clamp(int((dpi + kUsualDpi / 4) / kUsualDpi), 1, kMaxScale);
  return 1;
}

int DisplayScale() {
  if (scale != 0) return scale;
  const char* own = std::getenv("QXWORKS_SCALE");
  if (own && *own && (Whole(own) < 1 || Whole(own) > kMaxScale))
    std::fprintf(stderr, "qxworks: QXWORKS_SCALE=%s is not 1, 2 or 3; ignored\n", own);
  // Only a display a person looks at has a density, and only there does the desktop's setting
  // apply: tests under the offscreen driver run at 1 unless they ask.
  if (detail::VideoIsHeadless()) {
    scale = ChooseScale(own, nullptr, 0);
    return scale;
  }
  float dpi = 0;
  if (SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) != 0) dpi = 0;
  scale = ChooseScale(own, std::getenv("GDK_SCALE"), dpi);
  return scale;
}

void SetDisplayScale(int factor) { scale = std::clamp(factor, 1, kMaxScale); }

namespace detail {

bool PresentEnlarged(const Surface& image, SDL_Window* window, int factor) {
  SDL_Surface* screen = SDL_GetWindowSurface(window);
  if (!screen) return false;
  const int width = std::min(screen->w / factor, image.width);
  const int height = std::min(screen->h / factor, image.height);
  const bool locked = width > 0 && height > 0 && SDL_MUSTLOCK(screen);
  if (locked && SDL_LockSurface(screen) != 0) return false;
  const bool same = screen->format->format == SDL_PIXELFORMAT_RGB888;
  auto* pixels = static_cast<std::uint8_t*>(screen->pixels);
  static std::vector<Pixel> wide;  // one enlarged row, in the image's format
  wide.resize(size_t(width) * factor);
  const size_t rowBytes = wide.size() * sizeof(Pixel);
  for (int y = 0; y < height; ++y) {
    const Pixel* from = image.Row(y);
    std::uint8_t* first = pixels + size_t(y) * factor * screen->pitch;
    // The row is enlarged once, straight into the screen when the formats agree, and its
    // copies below it are copies of that.
    Pixel* to = same ? reinterpret_cast<Pixel*>(first) : wide.data();
    if (factor == 2) {  // the common one, in a loop the compiler can widen
      for (int x = 0; x < width; ++x) to[2 * x] = to[2 * x + 1] = from[x];
    } else {
      for (int x = 0; x < width; ++x) std::fill_n(to + size_t(x) * factor, factor, from[x]);
    }
    if (!same)
      SDL_ConvertPixels(int(wide.size()), 1, SDL_PIXELFORMAT_RGB888, wide.data(),
                        int(rowBytes), screen->format->format, first, screen->pitch);
    for (int copy = 1; copy < factor; ++copy)
      std::memcpy(first + size_t(copy) * screen->pitch, first,
                  same ? rowBytes : size_t(screen->pitch));
  }
  if (locked) SDL_UnlockSurface(screen);
  return SDL_UpdateWindowSurface(window) == 0;
}

}  // namespace detail
}  // namespace platform
