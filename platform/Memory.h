// How the process's allocator is set up for the project tree's pattern of allocation.
#pragma once

namespace platform {

// Called once a program starts (CApp does it); later calls change nothing.
void TuneAllocator();

}  // namespace platform
