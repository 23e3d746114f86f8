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
  // The threads that help a start (the configuration's load, fontconfig's start) share the one
  // arena: an arena of their own would take fresh pages for all they allocate, and the blocks
  // they leave would be freed across arenas later.
  static const bool tuned = mallopt(M_MXFAST, 0) == 1 && mallopt(M_ARENA_MAX, 1) == 1;
  (void)tuned;
#endif
}

}  // namespace platform
