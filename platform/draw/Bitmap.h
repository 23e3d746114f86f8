// .bmp files to and from surfaces. Paths are Linux paths (UTF-8); mapping the system's own
// paths onto them is the file layer's business.
#pragma once

#include <string>

#include "platform/draw/Surface.h"

namespace platform {

struct BitmapResult {
  bool ok = false;
  std::string error;  // why not, when !ok
  explicit operator bool() const { return ok; }
};

// Any depth the loader knows (1, 4, 8, 16, 24, 32 bits, compressed or not) becomes 0x00RRGGBB
// pixels. On failure (missing, unreadable or malformed file) picture is left as it was.
BitmapResult LoadBmp(const std::string& path, Surface& picture);

// Writes a 24-bit .bmp.
BitmapResult SaveBmp(const std::string& path, const Surface& picture);

}  // namespace platform
