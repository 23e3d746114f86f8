#include "platform/Threads.h"

#include <pthread.h>
#include <sched.h>

namespace platform {

void RunBeside(std::thread& thread) {
#if defined(__linux__)
  const int here = sched_getcpu();
  cpu_set_t cores;
  if (here < 0 || here >= CPU_SETSIZE || !thread.joinable() ||
      pthread_getaffinity_np(thread.native_handle(), sizeof cores, &cores) != 0 ||
      !CPU_ISSET(here, &cores))
    return;
  CPU_CLR(here, &cores);
  if (CPU_COUNT(&cores) > 0) pthread_setaffinity_np(thread.native_handle(), sizeof cores, &cores);
#else
  (void)thread;
#endif
}

}  // namespace platform
