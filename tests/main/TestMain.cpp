// Each test program gets a fresh drive C: and cache folder of its own, so tests never touch the
// user's files and two test programs running side by side never see each other's.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

int main(int argc, char** argv) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/qxtest-XXXXXX";
  const char* drive = mkdtemp(pattern.data());
  if (drive) setenv("QXWORKS_DRIVE_C", drive, 1);
  // What the toolkit keeps in the user's cache (the fonts an earlier start found) starts empty.
  std::string cachePattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/qxcache-XXXXXX";
  const char* cache = mkdtemp(cachePattern.data());
  if (cache) setenv("XDG_CACHE_HOME", cache, 1);
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::error_code ignored;
  if (drive) std::filesystem::remove_all(drive, ignored);
  if (cache) std::filesystem::remove_all(cache, ignored);
  return result;
}
