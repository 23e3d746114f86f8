#include "platform/Memory.h"

#include <cstdlib>  // defines __GLIBC__ on glibc

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
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
  static const bool huge = [] {
    // A start touches tens of megabytes at once (screen-sized window buffers, the project
    // tree), and faulting them in a page of 4 KB at a time was a fifth of the start-up's time.
    // So the heap is grown in large steps, takes the large blocks too, and is given to the
    // kernel's transparent huge pages (2 MB a fault) where the system offers them; elsewhere
    // the advice changes nothing.
    constexpr size_t kStep = size_t(64) << 20;
    constexpr uintptr_t kHuge = uintptr_t(2) << 20;
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TOP_PAD, int(kStep));
    mallopt(M_TRIM_THRESHOLD, int(kStep));
    // A block that grows the heap by a step shows where its free top lies.
    void* probe = malloc(size_t(16) << 20);
    const auto from = (reinterpret_cast<uintptr_t>(probe) + kHuge - 1) & ~(kHuge - 1);
    const auto top = reinterpret_cast<uintptr_t>(sbrk(0));
    // Another allocator in place of the system's (a sanitizer's) keeps its blocks elsewhere.
    if (probe && top > from && top - from <= 2 * kStep)
      madvise(reinterpret_cast<void*>(from), top - from, MADV_HUGEPAGE);
    free(probe);
    return true;
  }();
  (void)huge;
#endif
}

void KeepFreedMemory() {
#if defined(__GLIBC__)
  // A text of a large file read and dropped, and the image of the tree as it grows, are the
  // blocks that would otherwise go back and forth.
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
}

}  // namespace platform
