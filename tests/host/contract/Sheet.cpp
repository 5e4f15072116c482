#include "host/contract/Sheet.h"

#include <cmath>
#include <stdexcept>

namespace contract {

namespace {

// A rectangle of 100 x 60 turned by 30 degrees, its box from (300, 260).
host::Bounds box30() {
    const double root3 = std::sqrt(3.0);
    return {260.0, 300.0, 260.0 + 50.0 + 30.0 * root3, 300.0 + 50.0 * root3 + 30.0};
}

Sheet makeStandardSheet() {
    const host::Bounds r30 = box30();
    SheetItem g2{"Group",
                 "g2",
                 {250.0, 300.0, r30.bottom, 450.0},
                 0.0,
                 {{"Rectangle", "r30", r30, 30.0, {}},
                  {"Line", "v", {250.0, 450.0, 350.0, 450.0}, 90.0, {}}}};
    SheetItem g1{"Group",
                 "g1",
                 {40.0, 300.0, r30.bottom, 450.0},
                 0.0,
                 {{"Rectangle", "r90", {40.0, 300.0, 240.0, 400.0}, 90.0, {}}, g2}};
    return {600.0,
            400.0,
            {{"Rectangle", "r0", {20.0, 30.0, 120.0, 230.0}, 0.0, {}},
             {"Line", "h", {150.0, 30.0, 150.0, 230.0}, 0.0, {}},
             g1,
             {"TextFrame", "t1", {300.0, 30.0, 360.0, 130.0}, 0.0, {}},
             {"Rectangle", "r270", {200.0, 480.0, 260.0, 580.0}, 270.0, {}},
             {"Rectangle", "r180", {40.0, 450.0, 140.0, 590.0}, 180.0, {}}}};
}

const SheetItem* findIn(const std::vector<SheetItem>& items, const std::string& name) {
    for (const SheetItem& item : items) {
        if (item.name == name) {
            return &item;
        }
        if (const SheetItem* member = findIn(item.members, name)) {
            return member;
        }
    }
    return nullptr;
}

}  // namespace

const Sheet& standardSheet() {
    static const Sheet sheet = makeStandardSheet();
    return sheet;
}

const SheetItem& sheetItem(const std::string& name) {
    const SheetItem* item = findIn(standardSheet().items, name);
    if (!item) {
        throw std::invalid_argument("the standard sheet has no item " + name);
    }
    return *item;
}

}  // namespace contract
