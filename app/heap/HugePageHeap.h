#pragma once

// The process's heap backed by huge pages where the system offers them
// (Linux with glibc; transparent huge pages in "madvise" or "always" mode).
// A large sheet takes some hundred megabytes in small pieces, and every first
// touch of a 4 KiB page is a page fault: on a virtual machine these cost
// more than the work itself. Call it first thing in main(), before the
// heap grows; it changes how memory is obtained, never what the program does.

#include <cstddef>

namespace app::heap {

// Virtual address space reserved for the heap at once and marked for huge
// pages; only what is touched becomes resident (in 2 MiB steps).
inline constexpr std::size_t kHugeHeapReserve = std::size_t{256} << 20;

// Returns whether the reservation was made; without it the heap works as before.
bool reserveHugePageHeap();

}  // namespace app::heap
