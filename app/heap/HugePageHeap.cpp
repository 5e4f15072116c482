#include "app/heap/HugePageHeap.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace app::heap {

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;

std::uintptr_t address(void* pointer) {
    return reinterpret_cast<std::uintptr_t>(pointer);
}

}  // namespace

bool reserveHugePageHeap() {
    // Blocks up to 32 MiB (the most glibc allows) come from the heap too, and
    // freed memory at its top stays: a heap shrunk and grown again would lose the mark.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(kHugeHeapReserve));
    // The next growth takes the whole reserve in one step; later ones are as usual.
    mallopt(M_TOP_PAD, static_cast<int>(kHugeHeapReserve));
    void* const before = sbrk(0);
    // More than the heap can hold yet, so that it grows; volatile: the pair must stay.
    void* volatile probe = std::malloc(16 << 20);
    std::free(probe);
    void* const after = sbrk(0);
    mallopt(M_TOP_PAD, 128 << 10);
    // sbrk() fails with (void*)-1.
    constexpr std::uintptr_t kFailed = ~std::uintptr_t{0};
    if (address(before) == kFailed || address(after) == kFailed) {
        return false;
    }
    const std::uintptr_t start = (address(before) + kHugePage - 1) & ~(kHugePage - 1);
    if (address(after) <= start + kHugePage) {
        return false;  // the heap is not in one piece (the reserve was refused)
    }
    // The first huge page boundary inside the heap, reached from the heap's own pointer.
    char* const first = static_cast<char*>(before) + (start - address(before));
    return madvise(first, address(after) - start, MADV_HUGEPAGE) == 0;
}

}  // namespace app::heap
