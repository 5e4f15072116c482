#include <gtest/gtest.h>

#include "window/win32/Placement.h"

namespace {

using window::win32::centredOn;

TEST(Placement, CentredOnTheWorkAreaAndNeverPartlyOffIt) {
    const struct {
        const char* situation;
        RECT work;
        int width, height;
        RECT placed;
    } cases[] = {
        {"primary, taskbar below", {0, 0, 1920, 1040}, 820, 558, {550, 241, 1370, 799}},
        {"left of the primary", {-1280, 0, 0, 984}, 1230, 837, {-1255, 73, -25, 910}},
        {"above, taskbar at the top", {0, -1040, 1920, -40}, 1640, 1116, {140, -1040, 1780, 76}},
        {"exactly as large", {100, 50, 920, 608}, 820, 558, {100, 50, 920, 608}},
        {"smaller than the window", {0, 0, 800, 600}, 1025, 698, {0, 0, 1025, 698}},
    };
    for (const auto& c : cases) {
        const RECT got = centredOn(c.work, c.width, c.height);
        EXPECT_TRUE(EqualRect(&got, &c.placed)) << c.situation << ": " << got.left << "," << got.top
                                                << " " << got.right << "," << got.bottom;
    }
}

// The tool's own window is never taken for the host's: with nothing else in
// front, the tool opens where the pointer is.
TEST(Placement, WithNoOtherProgramInFrontItOpensWhereThePointerIs) {
    POINT pointer{};
    ASSERT_TRUE(GetCursorPos(&pointer));
    EXPECT_EQ(window::win32::openingMonitor(nullptr),
              MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY));
}

}  // namespace
