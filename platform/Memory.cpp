#include "platform/Memory.h"

#include <cstdlib>  // defines __GLIBC__ on glibc

#include <cstring>
#include <fstream>
#include <string>

#if defined(__GLIBC__)
#include <malloc.h>
#include <unistd.h>
#endif

namespace platform {

void TuneAllocator() {
#if defined(__GLIBC__)
  // glibc keeps small freed blocks unmerged in "fast bins" and later sweeps them all whenever a
  // large block is freed or asked for. A project tree is hundreds of thousands of small blocks
  // freed together (closing a project, leaving a program) and allocated again (loading one):
  // the sweeps and the cold lists cost more than the fast bins save. Without them a small block
  // merges with its free neighbours as it is freed; the per-thread cache still serves the
  // quick reuse of temporaries.
  static const bool tuned = mallopt(M_MXFAST, 0) == 1;
  (void)tuned;
  // The heap grows in large steps and takes the large blocks too (screen-sized window buffers,
  // a project tree's image), so a start makes few calls to the system for memory. No huge-page
  // advice: where the kernel must compact memory to find a huge page, one fault can stall the
  // program for a third of a second.
  static const bool stepped = [] {
    constexpr int kStep = 64 << 20;
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TOP_PAD, kStep);
    mallopt(M_TRIM_THRESHOLD, kStep);
    return true;
  }();
  (void)stepped;
#endif
}

void KeepFreedMemory() {
#if defined(__GLIBC__)
  // A text of a large file read and dropped, and the image of the tree as it grows, are the
  // blocks that would otherwise go back and forth. Tuned first, so that the CApp made after this
  // cannot put the common settings back over this one.
  TuneAllocator();
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
}

void RestartWithHugePages(char** argv) {
#if defined(__GLIBC__)
  constexpr const char* kTunable = "glibc.malloc.hugetlb=1";
  const char* tunables = std::getenv("GLIBC_TUNABLES");
  if (tunables && std::strstr(tunables, "glibc.malloc.hugetlb")) return;  // already, or refused
  // "always" gives them without asking; "never" not at all; only "[madvise]" needs the advice.
  std::ifstream mode("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string line;
  if (!std::getline(mode, line) || line.find("[madvise]") == std::string::npos) return;
  const std::string value =
      tunables && *tunables ? std::string(tunables) + ":" + kTunable : std::string(kTunable);
  if (setenv("GLIBC_TUNABLES", value.c_str(), 1) != 0) return;
  // On failure, go on as started; the variable set keeps a later call from trying again.
  execv("/proc/self/exe", argv);
#else
  (void)argv;
#endif
}

}  // namespace platform
