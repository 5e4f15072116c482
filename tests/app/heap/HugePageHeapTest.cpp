// The launcher's heap: reserved in one piece and marked for huge pages, so
// that a large sheet is not paid for in page faults; memory from it works as any.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "app/heap/HugePageHeap.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kGlibcHeap = false;  // the sanitizer brings its own allocator: nothing to reserve
#else
constexpr bool kGlibcHeap = true;
#endif

// The VmFlags line of the mapping holding `address`, from /proc/self/smaps.
std::string flagsOfMappingAt(const void* address) {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        std::uintptr_t begin = 0, end = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> begin >> dash >> end && dash == '-') {
            inside = begin <= at && at < end;
        } else if (inside && line.rfind("VmFlags:", 0) == 0) {
            return line;
        }
    }
    return "";
}

TEST(HugePageHeap, MemoryAllocatedAfterwardsIsMarkedForHugePagesAndWorks) {
    ASSERT_EQ(app::heap::reserveHugePageHeap(), kGlibcHeap);
    // Larger than a huge page, smaller than what goes to its own mapping.
    std::vector<std::uint32_t> block(std::size_t{4} << 20);
    std::iota(block.begin(), block.end(), 0U);
    if (kGlibcHeap) {
        EXPECT_NE(flagsOfMappingAt(block.data() + block.size() / 2).find(" hg"), std::string::npos)
            << flagsOfMappingAt(block.data());
    }
    EXPECT_EQ(block[123457], 123457U);
    EXPECT_EQ(block.back(), block.size() - 1);
}

}  // namespace
