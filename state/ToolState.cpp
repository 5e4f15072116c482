#include "state/ToolState.h"

#include <limits>
#include <string>

#include "state/Errors.h"

namespace state {

namespace {
constexpr int kGrowthStep = 32;
}

void newFrontTable(ToolState& state) {
    state.frontPages = PageTable(static_cast<std::size_t>(state.frontCapacity) + 1);
}

void countFrontPage(ToolState& state) {
    const int count = state.pageCount + 1;
    if (count == state.frontCapacity) {
        const int grown = state.frontCapacity + kGrowthStep;
        if (grown > std::numeric_limits<std::int16_t>::max()) {
            throw OverflowError("too many page rectangles: at most " + std::to_string(count - 1) +
                                " can be captured");
        }
        state.frontCapacity = static_cast<std::int16_t>(grown);
        state.frontPages.resize(static_cast<std::size_t>(grown) + 1);
    }
    state.pageCount = count;
}

int frontPageNumber(int row) {
    return 2 * row + 1;
}

}  // namespace state
