#pragma once

// The contract every host adapter keeps, as one type-parameterised suite.
// A test program includes this header once and instantiates the suite for
// its adapter fixture:
//
//     INSTANTIATE_TYPED_TEST_SUITE_P(Memory, HostContract, MemoryAdapter);
//
// An adapter fixture is a default-constructible class with:
//
//     // `sheet` as the only open document, active, its one page on the
//     // spread the active window shows.
//     std::shared_ptr<host::Application> open(const contract::Sheet& sheet);
//     // The host with no document open.
//     std::shared_ptr<host::Application> openEmpty();
//     // The name the sheet gave the item.
//     std::string nameOf(host::PageItem& item);
//     // The angle the adapter reports after a put of `degrees` (host/Host.h).
//     double reported(double degrees) const;
//
// It outlives every host object the suite takes from it. Only the suite and
// the sheet are shared by every platform: no toolkit, no POSIX.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/Capture.h"
#include "host/ExpectBounds.h"
#include "host/Host.h"
#include "host/HostError.h"
#include "host/contract/Sheet.h"

namespace contract {

inline constexpr double kTolerance = 1e-6;

template <class Adapter>
class HostContract : public testing::Test {
protected:
    // Opens the standard sheet; returns the spread the active window shows.
    std::shared_ptr<host::Spread> openSheet() {
        m_application = m_adapter.open(standardSheet());
        return m_application->activeWindow()->activeSpread();
    }

    std::vector<std::string> names(host::Spread& spread) {
        std::vector<std::string> found;
        for (const auto& item : spread.pageItems()->enumerate()) {
            found.push_back(m_adapter.nameOf(*item));
        }
        return found;
    }

    std::shared_ptr<host::PageItem> named(host::Spread& spread, const std::string& name) {
        for (const auto& item : spread.pageItems()->enumerate()) {
            if (m_adapter.nameOf(*item) == name) {
                return item;
            }
        }
        ADD_FAILURE() << "no item " << name << " on the spread";
        throw std::logic_error("no item " + name);
    }

    // The item reports the box and angle the sheet gave it.
    void expectAsBuilt(host::PageItem& item, const SheetItem& built) {
        SCOPED_TRACE(built.name);
        EXPECT_EQ(item.typeName(), built.type);
        testing_support::expectBoundsNear(item.visibleBounds(), built.box, kTolerance);
        EXPECT_NEAR(item.rotationAngle(), m_adapter.reported(built.angle), 1e-9);
    }

    struct Centre {
        double x;
        double y;
    };
    static Centre centreOf(const host::Bounds& box) {
        return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    }

    Adapter m_adapter;
    std::shared_ptr<host::Application> m_application;
};

TYPED_TEST_SUITE_P(HostContract);

TYPED_TEST_P(HostContract, TheDocumentHasThePageSizeOfTheSheet) {
    this->openSheet();
    EXPECT_EQ(this->m_application->documents()->count(), 1);
    const auto preferences = this->m_application->activeDocument()->preferences();
    EXPECT_DOUBLE_EQ(preferences->pageWidth(), standardSheet().pageWidth);
    EXPECT_DOUBLE_EQ(preferences->pageHeight(), standardSheet().pageHeight);
}

TYPED_TEST_P(HostContract, WithoutADocumentTheCountIsZeroAndTheRestFails) {
    this->m_application = this->m_adapter.openEmpty();
    EXPECT_EQ(this->m_application->documents()->count(), 0);
    EXPECT_THROW(this->m_application->activeDocument(), host::HostError);
    EXPECT_THROW(this->m_application->activeWindow()->activeSpread(), host::HostError);
}

TYPED_TEST_P(HostContract, ItemsComeInTheHostsOrderWithTheirTypeNamesBoxesAndAngles) {
    const auto spread = this->openSheet();
    const auto items = spread->pageItems()->enumerate();
    const auto& built = standardSheet().items;
    ASSERT_EQ(items.size(), built.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(this->m_adapter.nameOf(*items[i]), built[i].name);
        this->expectAsBuilt(*items[i], built[i]);
    }
}

TYPED_TEST_P(HostContract, AfterUngroupAFreshEnumerationListsTheMembersInTheGroupsPlace) {
    const auto spread = this->openSheet();
    const auto items = spread->pageItems();
    const auto group = this->named(*spread, "g1");
    group->ungroup();
    // The same collection enumerates afresh, and so does a new one.
    std::vector<std::string> listed;
    for (const auto& item : items->enumerate()) {
        listed.push_back(this->m_adapter.nameOf(*item));
    }
    const std::vector<std::string> expected{"r0", "h", "r90", "g2", "t1", "r270", "r180"};
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(this->names(*this->m_application->activeWindow()->activeSpread()), expected);
    // The members stay where they were drawn; the dissolved group answers no call.
    this->expectAsBuilt(*this->named(*spread, "r90"), sheetItem("r90"));
    this->expectAsBuilt(*this->named(*spread, "g2"), sheetItem("g2"));
    EXPECT_THROW(group->visibleBounds(), host::HostError);
    EXPECT_THROW(group->ungroup(), host::HostError);
}

TYPED_TEST_P(HostContract, NestedGroupsDissolveIntoEveryMemberInPlace) {
    const auto spread = this->openSheet();
    host::dissolveGroups(*spread->pageItems());
    EXPECT_EQ(this->names(*spread),
              (std::vector<std::string>{"r0", "h", "r90", "r30", "v", "t1", "r270", "r180"}));
    for (const char* name : {"r90", "r30", "v"}) {
        this->expectAsBuilt(*this->named(*spread, name), sheetItem(name));
    }
}

struct BoundsPut {
    const char* situation;
    const char* name;
    host::Bounds target;
};

TYPED_TEST_P(HostContract, ABoundsPutGivesThatBoxAndKeepsTheRotation) {
    const double root3 = std::sqrt(3.0);
    const BoundsPut puts[] = {
        {"upright rectangle moved and resized", "r0", {50, 60, 250, 160}},
        {"quarter-turned rectangle resized", "r90", {10, 10, 110, 310}},
        {"rectangle at 30 degrees moved", "r30", {0, 0, 50 + 30 * root3, 50 * root3 + 30}},
        {"rectangle at 30 degrees resized", "r30", {0, 0, 60 + 40 * root3, 60 * root3 + 40}},
        {"rectangle at 270 degrees", "r270", {5, 5, 105, 35}},
        {"horizontal line", "h", {300, 100, 300, 500}},
        {"vertical line", "v", {10, 20, 90, 20}},
    };
    for (const BoundsPut& put : puts) {
        SCOPED_TRACE(put.situation);
        const auto spread = this->openSheet();
        host::dissolveGroups(*spread->pageItems());
        const auto item = this->named(*spread, put.name);
        const double angle = item->rotationAngle();
        item->setVisibleBounds(put.target);
        testing_support::expectBoundsNear(item->visibleBounds(), put.target, kTolerance);
        EXPECT_EQ(item->rotationAngle(), angle);
    }
}

struct RotationPut {
    const char* name;
    double degrees;
    double width;  // of the box afterwards
    double height;
};

TYPED_TEST_P(HostContract, ARotationPutTurnsAboutTheBoxCentre) {
    const double root3 = std::sqrt(3.0);
    const RotationPut puts[] = {
        {"r0", 90, 100, 200},     {"r0", -90, 100, 200},
        {"r0", 180, 200, 100},    {"r0", 30, 100 * root3 + 50, 100 + 50 * root3},
        {"r30", 0, 100, 60},      {"r30", 450, 60, 100},
        {"h", 90, 0, 200},        {"v", 0, 100, 0},
        {"r180", -180, 140, 100},
    };
    for (const RotationPut& put : puts) {
        SCOPED_TRACE(std::string(put.name) + " to " + std::to_string(put.degrees));
        const auto spread = this->openSheet();
        host::dissolveGroups(*spread->pageItems());
        const auto item = this->named(*spread, put.name);
        const auto centre = this->centreOf(item->visibleBounds());
        item->setRotationAngle(put.degrees);
        const host::Bounds box = item->visibleBounds();
        EXPECT_NEAR(this->centreOf(box).x, centre.x, kTolerance);
        EXPECT_NEAR(this->centreOf(box).y, centre.y, kTolerance);
        EXPECT_NEAR(box.width(), put.width, kTolerance);
        EXPECT_NEAR(box.height(), put.height, kTolerance);
        EXPECT_NEAR(item->rotationAngle(), this->m_adapter.reported(put.degrees), 1e-9);
    }
}

TYPED_TEST_P(HostContract, AnyFiniteAngleIsTakenAndReportedInTheAdaptersRange) {
    const auto spread = this->openSheet();
    const auto item = this->named(*spread, "r0");
    for (const double degrees : {-90.0, 359.5, 360.0, 450.0, -725.25, 1e6}) {
        SCOPED_TRACE(degrees);
        item->setRotationAngle(degrees);
        const double reported = item->rotationAngle();
        EXPECT_NEAR(reported, this->m_adapter.reported(degrees), 1e-9);
        // The same angle modulo 360.
        const double turns = (reported - degrees) / 360.0;
        EXPECT_NEAR(turns, std::round(turns), 1e-9);
    }
    item->setRotationAngle(0);
    for (const double bad : {std::nan(""), std::numeric_limits<double>::infinity()}) {
        EXPECT_THROW(item->setRotationAngle(bad), host::HostError);
    }
    this->expectAsBuilt(*item, sheetItem("r0"));
}

TYPED_TEST_P(HostContract, ADuplicateIsASpreadOfThePagesCopiesAndNothingElse) {
    const auto spread = this->openSheet();
    const auto copy = spread->pages()->item(1)->duplicate();
    const auto copies = copy->pageItems()->enumerate();
    const auto& built = standardSheet().items;
    ASSERT_EQ(copies.size(), built.size());
    for (std::size_t i = 0; i < copies.size(); ++i) {
        this->expectAsBuilt(*copies[i], built[i]);
    }
    // The copy's items are its own: a change to one leaves the original.
    copies.front()->setVisibleBounds({0, 0, 10, 10});
    const auto shown = this->m_application->activeWindow()->activeSpread();
    this->expectAsBuilt(*this->named(*shown, "r0"), sheetItem("r0"));
    EXPECT_EQ(shown->pageItems()->enumerate().size(), built.size());
    EXPECT_NO_THROW(copy->pages()->item(1));
    EXPECT_THROW(copy->pages()->item(2), host::HostError);
}

TYPED_TEST_P(HostContract, EveryFailedCallIsTheOneHostErrorAndChangesNothing) {
    const auto spread = this->openSheet();
    host::dissolveGroups(*spread->pageItems());
    const auto r0 = this->named(*spread, "r0");
    const auto r30 = this->named(*spread, "r30");
    EXPECT_THROW(r0->ungroup(), host::HostError);
    EXPECT_THROW(r0->setVisibleBounds({100, 0, 0, 100}), host::HostError);  // inverted
    EXPECT_THROW(r0->setVisibleBounds({0, 0, std::nan(""), 10}), host::HostError);
    // No frame turned by 30 degrees has a box 400 wide and only 10 tall.
    EXPECT_THROW(r30->setVisibleBounds({0, 0, 10, 400}), host::HostError);
    EXPECT_THROW(spread->pages()->item(0), host::HostError);
    EXPECT_THROW(spread->pages()->item(2), host::HostError);
    this->expectAsBuilt(*r0, sheetItem("r0"));
    this->expectAsBuilt(*r30, sheetItem("r30"));
}

REGISTER_TYPED_TEST_SUITE_P(HostContract, TheDocumentHasThePageSizeOfTheSheet,
                            WithoutADocumentTheCountIsZeroAndTheRestFails,
                            ItemsComeInTheHostsOrderWithTheirTypeNamesBoxesAndAngles,
                            AfterUngroupAFreshEnumerationListsTheMembersInTheGroupsPlace,
                            NestedGroupsDissolveIntoEveryMemberInPlace,
                            ABoundsPutGivesThatBoxAndKeepsTheRotation,
                            ARotationPutTurnsAboutTheBoxCentre,
                            AnyFiniteAngleIsTakenAndReportedInTheAdaptersRange,
                            ADuplicateIsASpreadOfThePagesCopiesAndNothingElse,
                            EveryFailedCallIsTheOneHostErrorAndChangesNothing);

}  // namespace contract
