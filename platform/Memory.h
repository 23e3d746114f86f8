// How the process's allocator is set up for the project tree's pattern of allocation.
#pragma once

namespace platform {

// Called once a program starts (CApp does it); later calls change nothing.
void TuneAllocator();

// For a program that builds one large tree, writes it and ends (qxtree import): blocks of every
// size come from the heap, and freed ones stay there for the next, where the allocator would hand
// a large freed block back to the system and take fresh pages, each a page fault, for the next.
// The memory is kept until the process ends.
void KeepFreedMemory();

// For such a program too: starts it again (same arguments, same environment) with the C
// library's allocator asking the kernel for huge pages, when the kernel gives them on request
// and the program was not started so already. Returns only when it did not restart. A large
// import then takes a page fault for every 2 MB instead of every 4 KB: a third of the time.
void RestartWithHugePages(char** argv);

}  // namespace platform
