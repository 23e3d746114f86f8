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
#include <dlfcn.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

int ScaleOfDensity(float dpi) {
  return std::clamp(int((dpi + kUsualDpi / 4) / kUsualDpi), 1, kMaxScale);
}

// The X resources' Xft.dpi, the desktop's own word for its density (GNOME and KDE set it from
// their scaling); 0 when unset. SDL 2.26 does not read it and keeps its Display to itself:
// libX11, which SDL has loaded already, is asked on a connection of this function's own.
float XftDpi() {
  using Open = void* (*)(const char*);
  using Resources = char* (*)(void*);
  using Close = int (*)(void*);
  void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
  if (!x11) x11 = dlopen("libX11.so.6", RTLD_LAZY);
  if (!x11) return 0;
  const auto open = reinterpret_cast<Open>(dlsym(x11, "XOpenDisplay"));
  const auto resources = reinterpret_cast<Resources>(dlsym(x11, "XResourceManagerString"));
  const auto close = reinterpret_cast<Close>(dlsym(x11, "XCloseDisplay"));
  float dpi = 0;
  if (void* display = open && resources && close ? open(nullptr) : nullptr) {
    if (const char* text = resources(display)) dpi = XftDpiOf(text);
    close(display);
  }
  dlclose(x11);
  return dpi;
}

}  // namespace

float XftDpiOf(const char* resources) {
  for (std::string_view rest = resources ? resources : ""; !rest.empty();) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    constexpr std::string_view kName = "Xft.dpi:";
    if (!line.starts_with(kName)) continue;
    line.remove_prefix(kName.size());
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    float dpi = 0;
    const auto [at, ec] = std::from_chars(line.data(), line.data() + line.size(), dpi);
    return ec == std::errc() && dpi > 0 ? dpi : 0;
  }
  return 0;
}

int ChooseScale(const char* qxworksScale, float xftDpi, const char* gdkScale, float dpi) {
  if (const int own = Whole(qxworksScale); own >= 1 && own <= kMaxScale) return own;
  if (xftDpi > 0) return ScaleOfDensity(xftDpi);
  if (const int gdk = Whole(gdkScale)) return std::min(gdk, kMaxScale);
  if (dpi > 0) return ScaleOfDensity(dpi);
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
    scale = ChooseScale(own, 0, nullptr, 0);
    return scale;
  }
  if (const int given = Whole(own); given >= 1 && given <= kMaxScale) {
    scale = given;  // no need to ask the X server
    return scale;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  const float xft = driver && std::strcmp(driver, "x11") == 0 ? XftDpi() : 0;
  float dpi = 0;
  if (SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) != 0) dpi = 0;
  scale = ChooseScale(own, xft, std::getenv("GDK_SCALE"), dpi);
  return scale;
}

void SetDisplayScale(int factor) { scale = std::clamp(factor, 1, kMaxScale); }

namespace detail {

bool DoubleRowPastCaches(const Pixel* from, int width, Pixel* top, Pixel* bottom) {
#if defined(__SSE2__)
  const auto at = [](const Pixel* p) { return reinterpret_cast<std::uintptr_t>(p); };
  // Streamed past the caches: nothing here reads the screen back. Both rows must reach 16-byte
  // alignment after the same number of pixels; a source pixel makes 8 bytes of each, so one
  // pixel at most goes first.
  if (width <= 0 || at(top) % 8 != 0 || at(top) % 16 != at(bottom) % 16) return false;
  int x = 0;
  if (at(top) % 16 != 0) {
    top[0] = top[1] = bottom[0] = bottom[1] = from[0];
    x = 1;
  }
  for (; x + 4 <= width; x += 4) {
    const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x));
    const __m128i low = _mm_unpacklo_epi32(four, four), high = _mm_unpackhi_epi32(four, four);
    auto* t = reinterpret_cast<__m128i*>(top + 2 * x);
    auto* b = reinterpret_cast<__m128i*>(bottom + 2 * x);
    _mm_stream_si128(t, low);
    _mm_stream_si128(t + 1, high);
    _mm_stream_si128(b, low);
    _mm_stream_si128(b + 1, high);
  }
  for (; x < width; ++x) top[2 * x] = top[2 * x + 1] = bottom[2 * x] = bottom[2 * x + 1] = from[x];
  return true;
#else
  return false;
#endif
}

bool EnlargeRows(const Surface& image, SDL_Surface* screen, int factor, int first, int last) {
  const int width = std::min(screen->w / factor, image.width);
  last = std::min({last, screen->h / factor, image.height});
  const bool locked = width > 0 && first < last && SDL_MUSTLOCK(screen);
  if (locked && SDL_LockSurface(screen) != 0) return false;
  const bool same = screen->format->format == SDL_PIXELFORMAT_RGB888;
  auto* pixels = static_cast<std::uint8_t*>(screen->pixels);
  static std::vector<Pixel> wide;  // one enlarged row, in the image's format
  wide.resize(size_t(width) * factor);
  const size_t rowBytes = wide.size() * sizeof(Pixel);
  bool streamed = false;
  for (int y = first; y < last; ++y) {
    const Pixel* from = image.Row(y);
    std::uint8_t* top = pixels + size_t(y) * factor * screen->pitch;
    // At factor 2, the common one, both rows are written in one pass, four pixels at a time
    // (the optimiser of the usual build does not widen the loop below).
    if (factor == 2 && same &&
        DoubleRowPastCaches(from, width, reinterpret_cast<Pixel*>(top),
                            reinterpret_cast<Pixel*>(top + screen->pitch))) {
      streamed = true;
      continue;
    }
    // Otherwise the row is enlarged once, straight into the screen when the formats agree, and
    // its copies below it are copies of that.
    Pixel* to = same ? reinterpret_cast<Pixel*>(top) : wide.data();
    if (factor == 2) {
      for (int x = 0; x < width; ++x) to[2 * x] = to[2 * x + 1] = from[x];
    } else {
      for (int x = 0; x < width; ++x) std::fill_n(to + size_t(x) * factor, factor, from[x]);
    }
    if (!same)
      SDL_ConvertPixels(int(wide.size()), 1, SDL_PIXELFORMAT_RGB888, wide.data(),
                        int(rowBytes), screen->format->format, top, screen->pitch);
    for (int copy = 1; copy < factor; ++copy)
      std::memcpy(top + size_t(copy) * screen->pitch, top,
                  same ? rowBytes : size_t(screen->pitch));
  }
#if defined(__SSE2__)
  if (streamed) _mm_sfence();  // the streamed stores are seen before the screen is shown
#endif
  if (locked) SDL_UnlockSurface(screen);
  return true;
}

bool PresentEnlarged(const Surface& image, SDL_Window* window, int factor) {
  SDL_Surface* screen = SDL_GetWindowSurface(window);
  return screen && EnlargeRows(image, screen, factor, 0, image.height) &&
         SDL_UpdateWindowSurface(window) == 0;
}

}  // namespace detail
}  // namespace platform
