#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/ExpectBounds.h"
#include "host/HostError.h"
#include "host/memory/MemoryHost.h"

namespace {

using host::Bounds;
using host::HostError;

const double kRoot3 = std::sqrt(3.0);

void expectBox(const Bounds& actual, const Bounds& expected, double tolerance) {
    testing_support::expectBoundsNear(actual, expected, tolerance);
}

// One page on a spread shown in the window; items are reached through the host objects.
class Sheet : public ::testing::Test {
protected:
    Sheet() : spread(host.addDocument(1000, 700).addSpread()), page(spread.addPage()) {
        host.showWindow(spread);
    }

    std::shared_ptr<host::PageItem> item(std::size_t index) {
        return host.application()->activeWindow()->activeSpread()->pageItems()->enumerate().at(
            index);
    }

    host::MemoryHost host;
    host::MemorySpread& spread;
    host::MemoryPage& page;
};

struct TurnCase {
    const char* situation;
    double degrees;
    Bounds box;
};

TEST_F(Sheet, RightAngleTurnsGiveExactBoxesAboutTheSameCentre) {
    // 200 wide, 300 high, centred on (200, 200).
    const Bounds upright{50, 100, 350, 300};
    const Bounds across{100, 50, 300, 350};
    const std::vector<TurnCase> cases = {
        {"quarter turn", 90, across},        {"half turn", 180, upright},
        {"three quarters", 270, across},     {"clockwise quarter", -90, across},
        {"beyond a full turn", 450, across}, {"full turn", 360, upright},
        {"back upright", 0, upright},
    };
    page.addRectangle("r1", upright);
    for (const TurnCase& turn : cases) {
        SCOPED_TRACE(turn.situation);
        item(0)->setRotationAngle(turn.degrees);
        EXPECT_EQ(item(0)->visibleBounds(), turn.box);
        EXPECT_EQ(item(0)->rotationAngle(), turn.degrees);  // as put, never reduced
    }
}

TEST_F(Sheet, TurningALineSwapsItsZeroSide) {
    page.addLine("l1", {100, 100, 100, 300});
    item(0)->setRotationAngle(90);
    EXPECT_EQ(item(0)->visibleBounds(), (Bounds{0, 200, 200, 200}));
}

TEST_F(Sheet, TurningByThirtyAndBackRestoresTheBox) {
    const Bounds upright{50, 100, 350, 300};
    auto& r1 = page.addRectangle("r1", upright);
    item(0)->setRotationAngle(30);
    // A 200 x 300 frame at 30 degrees spans 200 cos 30 + 300 sin 30 across.
    const double width = 100 * kRoot3 + 150;
    const double height = 100 + 150 * kRoot3;
    expectBox(item(0)->visibleBounds(),
              {200 - height / 2, 200 - width / 2, 200 + height / 2, 200 + width / 2}, 1e-9);
    EXPECT_NEAR(r1.frame().width, 200, 1e-9);
    EXPECT_NEAR(r1.frame().height, 300, 1e-9);
    item(0)->setRotationAngle(0);
    expectBox(item(0)->visibleBounds(), upright, 1e-9);
}

struct FitCase {
    const char* situation;
    const char* typeName;
    Bounds made;
    double degrees;
    Bounds put;
    double tolerance;
};

TEST_F(Sheet, BoundsPutKeepsTheRotationAndGivesThatBox) {
    const double lineWidth = 100 * kRoot3;  // a line 200 long at 30 degrees
    const std::vector<FitCase> cases = {
        {"upright rectangle", "Rectangle", {0, 0, 100, 200}, 0, {10, 20, 410, 520}, 0},
        {"rectangle at 90", "Rectangle", {50, 100, 350, 300}, 90, {0, 0, 100, 400}, 0},
        {"rectangle at 270", "Rectangle", {50, 100, 350, 300}, 270, {5, 5, 6, 9}, 0},
        {"rectangle at 30", "Rectangle", {50, 100, 350, 300}, 30, {10, 20, 410, 520}, 1e-9},
        {"rectangle at -150", "Rectangle", {50, 100, 350, 300}, -150, {0, 0, 300, 280}, 1e-9},
        {"square box at 45", "Oval", {0, 0, 100, 100}, 45, {200, 200, 500, 500}, 1e-9},
        {"mirrored line at 330",
         "Line",
         {0, 0, 100, lineWidth},
         330,
         {0, 1000 - lineWidth, 100, 1000},
         1e-9},
        {"vertical line at 0", "Line", {50, 100, 250, 100}, 0, {50, 900, 250, 900}, 0},
        {"horizontal line at 180", "Line", {100, 200, 100, 800}, 180, {600, 200, 600, 800}, 0},
    };
    for (const FitCase& fit : cases) {
        SCOPED_TRACE(fit.situation);
        page.addItem(fit.typeName, fit.situation, fit.made, fit.degrees);
        const auto added = item(page.items().size() - 1);
        added->setVisibleBounds(fit.put);
        expectBox(added->visibleBounds(), fit.put, fit.tolerance);
        EXPECT_EQ(added->rotationAngle(), fit.degrees);
    }
}

TEST_F(Sheet, BoundsPutAtFortyFiveScalesTheFrameUniformly) {
    auto& r1 = page.addRectangle("r1", {0, 0, 100, 200});
    item(0)->setRotationAngle(45);
    item(0)->setVisibleBounds({0, 0, 600, 600});
    expectBox(item(0)->visibleBounds(), {0, 0, 600, 600}, 1e-9);
    EXPECT_NEAR(r1.frame().width / r1.frame().height, 2.0, 1e-9);
}

TEST_F(Sheet, BoundsPutsTheHostRefusesChangeNothing) {
    auto& r1 = page.addRectangle("r1", {50, 100, 350, 300}, 30);
    const Bounds before = r1.bounds();
    // At 30 degrees a box this flat would need a frame with a negative side.
    EXPECT_THROW(item(0)->setVisibleBounds({0, 0, 10, 100}), HostError);
    EXPECT_THROW(item(0)->setVisibleBounds({100, 0, 0, 100}), HostError);  // inverted
    EXPECT_EQ(r1.bounds(), before);
}

TEST_F(Sheet, ALineIsMadeFromALinesBox) {
    EXPECT_THROW(page.addLine("diagonal", {0, 0, 100, 100}), std::invalid_argument);
    auto& slanted = page.addLine("slanted", {0, 0, 100, 100}, 45);
    EXPECT_NEAR(slanted.frame().width, 100 * std::sqrt(2.0), 1e-9);
    EXPECT_EQ(slanted.frame().height, 0.0);
    expectBox(slanted.bounds(), {0, 0, 100, 100}, 1e-9);
}

// r1 and r2 are 200 x 100 and touch at a corner; the group's box is 400 x 200, centred on
// (200, 100).
class GroupSheet : public Sheet {
protected:
    GroupSheet()
        : group(page.addGroup("g1")),
          r1(group.addRectangle("r1", {0, 0, 100, 200})),
          r2(group.addGroup("g2").addRectangle("r2", {100, 200, 200, 400})) {}

    host::MemoryGroup& group;
    host::MemoryShape& r1;
    host::MemoryShape& r2;
};

TEST_F(GroupSheet, GroupBoundsHoldEveryMember) {
    EXPECT_EQ(item(0)->visibleBounds(), (Bounds{0, 0, 200, 400}));
    EXPECT_EQ(item(0)->rotationAngle(), 0.0);
    EXPECT_THROW(page.addGroup("empty").bounds(), HostError);
}

TEST_F(GroupSheet, TurningAGroupTurnsItsMembersAboutItsCentre) {
    item(0)->setRotationAngle(90);
    // Counter-clockwise on screen: r2, right of the centre, comes to lie above it.
    EXPECT_EQ(r1.bounds(), (Bounds{100, 100, 300, 200}));
    EXPECT_EQ(r2.bounds(), (Bounds{-100, 200, 100, 300}));
    EXPECT_EQ(r1.rotation(), 90.0);
    EXPECT_EQ(r2.rotation(), 90.0);
    EXPECT_EQ(item(0)->rotationAngle(), 90.0);
    EXPECT_EQ(item(0)->visibleBounds(), (Bounds{-100, 100, 300, 300}));
}

TEST_F(GroupSheet, GroupBoundsPutMapsEveryMember) {
    item(0)->setVisibleBounds({10, 20, 110, 220});
    EXPECT_EQ(r1.bounds(), (Bounds{10, 20, 60, 120}));
    EXPECT_EQ(r2.bounds(), (Bounds{60, 120, 110, 220}));
    EXPECT_EQ(item(0)->visibleBounds(), (Bounds{10, 20, 110, 220}));
}

TEST_F(GroupSheet, GroupBoundsPutAMemberCannotTakeMovesNothing) {
    r2.setRotation(30);
    const Bounds r1Before = r1.bounds();
    const Bounds r2Before = r2.bounds();
    // Squashed flat, the turned r2 has no frame; r1 comes first and must not move either.
    EXPECT_THROW(item(0)->setVisibleBounds({0, 0, 1, 400}), HostError);
    EXPECT_EQ(r1.bounds(), r1Before);
    EXPECT_EQ(r2.bounds(), r2Before);
}

}  // namespace
