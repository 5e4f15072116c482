#include "host/memory/MemoryHostModel.h"

#include <algorithm>
#include <stdexcept>

#include "host/HostError.h"

namespace host {

namespace {

// One axis of a box mapped linearly onto the same axis of another box.
struct AxisMap {
    double from = 0.0;
    double to = 0.0;
    double scale = 1.0;
    double operator()(double value) const { return to + (value - from) * scale; }
};

// An axis of no extent can only be moved, as there is nothing to stretch.
AxisMap mapAxis(double fromLow, double fromHigh, double toLow, double toHigh) {
    const double extent = fromHigh - fromLow;
    return {fromLow, toLow, extent > 0.0 ? (toHigh - toLow) / extent : 1.0};
}

}  // namespace

MemoryItem::MemoryItem(std::string typeName, std::string label)
    : m_typeName(std::move(typeName)), m_label(std::move(label)) {}

MemoryShape::MemoryShape(std::string typeName, std::string label, const Bounds& box, double degrees)
    : MemoryItem(std::move(typeName), std::move(label)), m_degrees(degrees) {
    // The unit frame only matters where the box cannot tell the sides apart (45 degrees): there
    // it gives a line its zero side and anything else a square.
    const bool line = this->typeName() == "Line";
    m_frame = fitFrame(Frame{{}, 1.0, line ? 0.0 : 1.0}, degrees, box);
    if (line && m_frame.width > kGeometryTolerance * m_frame.height &&
        m_frame.height > kGeometryTolerance * m_frame.width) {
        throw std::invalid_argument("Line " + this->label() +
                                    ": its box is no line's box at its angle");
    }
}

MemoryShape::MemoryShape(std::string typeName, std::string label, const Frame& frame,
                         double degrees)
    : MemoryItem(std::move(typeName), std::move(label)), m_frame(frame), m_degrees(degrees) {}

Bounds MemoryShape::bounds() const {
    return boxOf(m_frame, m_degrees);
}

void MemoryShape::setBounds(const Bounds& box) {
    m_frame = fitFrame(m_frame, m_degrees, box);
}

void MemoryShape::turnAbout(Point pivot, double degrees) {
    m_frame.centre = host::turnAbout(m_frame.centre, pivot, degrees);
    m_degrees += degrees;
}

std::shared_ptr<MemoryItem> MemoryShape::copy() const {
    return std::make_shared<MemoryShape>(typeName(), label() + "'", m_frame, m_degrees);
}

MemoryShape& MemoryItemList::addRectangle(std::string label, const Bounds& box, double degrees) {
    return addItem("Rectangle", std::move(label), box, degrees);
}

MemoryShape& MemoryItemList::addLine(std::string label, const Bounds& box, double degrees) {
    return addItem("Line", std::move(label), box, degrees);
}

MemoryShape& MemoryItemList::addItem(std::string typeName, std::string label, const Bounds& box,
                                     double degrees) {
    if (typeName == "Group") {
        throw std::invalid_argument("Groups are made with addGroup");
    }
    auto item = std::make_shared<MemoryShape>(std::move(typeName), std::move(label), box, degrees);
    MemoryShape& shape = *item;
    append(std::move(item));
    return shape;
}

MemoryGroup& MemoryItemList::addGroup(std::string label) {
    auto item = std::make_shared<MemoryGroup>(std::move(label));
    MemoryGroup& group = *item;
    append(std::move(item));
    return group;
}

std::vector<std::string> MemoryItemList::labels() const {
    std::vector<std::string> result;
    for (const auto& item : m_items) {
        result.push_back(item->label());
    }
    return result;
}

void MemoryItemList::append(std::shared_ptr<MemoryItem> item) {
    item->m_parent = this;
    m_items.push_back(std::move(item));
}

void MemoryItemList::appendCopies(const MemoryItemList& source) {
    for (const auto& item : source.m_items) {
        append(item->copy());
    }
}

MemoryGroup::MemoryGroup(std::string label) : MemoryItem("Group", std::move(label)) {}

Bounds MemoryGroup::bounds() const {
    if (items().empty()) {
        throw HostError("The group " + label() + " is empty and has no bounds.");
    }
    Bounds box = items().front()->bounds();
    for (const auto& member : items()) {
        box = unite(box, member->bounds());
    }
    return box;
}

void MemoryGroup::setBounds(const Bounds& box) {
    const Bounds old = bounds();
    if (box.bottom < box.top || box.right < box.left) {
        throw HostError("The bounds put on the group " + label() + " are inverted.");
    }
    if ((old.bottom == old.top && box.bottom != box.top) ||
        (old.right == old.left && box.right != box.left)) {
        throw HostError("The group " + label() + " has no extent to stretch.");
    }
    const AxisMap vertical = mapAxis(old.top, old.bottom, box.top, box.bottom);
    const AxisMap horizontal = mapAxis(old.left, old.right, box.left, box.right);
    std::vector<Bounds> targets;
    for (const auto& member : items()) {
        const Bounds from = member->bounds();
        targets.push_back({vertical(from.top), horizontal(from.left), vertical(from.bottom),
                           horizontal(from.right)});
        // A member the host cannot fit must fail the put before any member has moved.
        member->copy()->setBounds(targets.back());
    }
    for (std::size_t index = 0; index < targets.size(); ++index) {
        items()[index]->setBounds(targets[index]);
    }
}

void MemoryGroup::setRotation(double degrees) {
    const Point pivot = centreOf(bounds());
    for (const auto& member : items()) {
        member->turnAbout(pivot, degrees - m_degrees);
    }
    m_degrees = degrees;
}

void MemoryGroup::turnAbout(Point pivot, double degrees) {
    for (const auto& member : items()) {
        member->turnAbout(pivot, degrees);
    }
    m_degrees += degrees;
}

std::shared_ptr<MemoryItem> MemoryGroup::copy() const {
    auto twin = std::make_shared<MemoryGroup>(label() + "'");
    twin->m_degrees = m_degrees;
    twin->appendCopies(*this);
    return twin;
}

void MemoryGroup::ungroup() {
    if (!exists()) {
        throw HostError("The group " + label() + " is no longer in the document.");
    }
    auto& siblings = m_parent->m_items;
    const auto place = std::find_if(siblings.begin(), siblings.end(),
                                    [this](const auto& item) { return item.get() == this; });
    // Keeps this group alive until the members are in place.
    const std::shared_ptr<MemoryItem> self = *place;
    std::vector<std::shared_ptr<MemoryItem>> members;
    members.swap(m_items);
    for (const auto& member : members) {
        member->m_parent = m_parent;
    }
    const auto at = siblings.erase(place);
    siblings.insert(at, members.begin(), members.end());
    m_parent = nullptr;
}

MemoryPage::MemoryPage(MemorySpread& spread, std::string label)
    : m_spread(&spread), m_label(std::move(label)) {}

MemorySpread& MemoryPage::duplicate() const {
    MemorySpread& spread = m_spread->document().addSpread();
    spread.addPage().appendCopies(*this);
    return spread;
}

MemorySpread::MemorySpread(MemoryDocument& document, std::string label)
    : m_document(&document), m_label(std::move(label)) {}

MemoryPage& MemorySpread::addPage() {
    const int number = ++m_document->m_pagesMade;
    m_pages.push_back(std::make_shared<MemoryPage>(*this, "page" + std::to_string(number)));
    return *m_pages.back();
}

std::vector<std::shared_ptr<MemoryItem>> MemorySpread::items() const {
    std::vector<std::shared_ptr<MemoryItem>> result;
    for (const auto& page : m_pages) {
        result.insert(result.end(), page->items().begin(), page->items().end());
    }
    return result;
}

std::vector<std::string> MemorySpread::labels() const {
    std::vector<std::string> result;
    for (const auto& item : items()) {
        result.push_back(item->label());
    }
    return result;
}

MemoryDocument::MemoryDocument(std::string label, double pageWidth, double pageHeight)
    : m_label(std::move(label)), m_pageWidth(pageWidth), m_pageHeight(pageHeight) {}

MemorySpread& MemoryDocument::addSpread() {
    const auto number = m_spreads.size() + 1;
    m_spreads.push_back(std::make_shared<MemorySpread>(*this, "spread" + std::to_string(number)));
    return *m_spreads.back();
}

}  // namespace host
