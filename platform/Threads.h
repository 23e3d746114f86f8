// Where the threads of the process run.
#pragma once

#include <thread>

namespace platform {

// Asks the system to run thread on a core other than the one the caller runs on now, where the
// process may use another. For a thread started to work beside its caller: some kernels (those of
// small virtual machines among them) put a process's new threads on the core it already uses and
// leave the others idle, so the two would take turns. Where that cannot be asked, nothing changes.
void RunBeside(std::thread& thread);

}  // namespace platform
