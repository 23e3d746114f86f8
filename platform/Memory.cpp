#include "platform/Memory.h"

#include <cstdlib>  // defines __GLIBC__ on glibc

#if defined(__GLIBC__)
#include <malloc.h>
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

}  // namespace platform
