// Each test program gets a fresh drive C: of its own, so tests never touch the user's files and
// two test programs running side by side never see each other's.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <unistd.h>

int main(int argc, char** argv) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/qxtest-XXXXXX";
  if (char* dir = mkdtemp(pattern.data())) setenv("QXWORKS_DRIVE_C", dir, 1);
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
