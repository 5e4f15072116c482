// Scribus re-lays pages out on load but never moves items, and reads a group's
// page from the file: so the copy's items are moved by the offset between the
// two laid-out pages and every element of a copy names the new page.

#include "host/sla/SlaDuplicate.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "host/HostError.h"
#include "host/sla/SlaItem.h"
#include "host/sla/SlaReferences.h"
#include "host/sla/read/SlaNumbers.h"

namespace host::sla {

namespace {

struct CopyContext {
    SlaDocument& document;
    SlaIdentities& identities;  // names and ids in use
    int page = 0;
    double dx = 0.0;
    double dy = 0.0;
    IdMap newIds;  // within the copies
};

template <typename Visit>
void forEachObject(pugi::xml_node node, Visit visit) {
    for (pugi::xml_node child : node.children("PAGEOBJECT")) {
        visit(child);
        forEachObject(child, visit);  // nesting depth is bounded by the load checks
    }
}

std::string freshName(CopyContext& context, const std::string& name) {
    const std::string stem = name + " p" + std::to_string(context.page + 1);
    std::string candidate = stem;
    for (int n = 2; context.identities.nameTaken(candidate); ++n) {
        candidate = stem + "." + std::to_string(n);
    }
    context.identities.takeName(candidate);
    return candidate;
}

// Returns where the element now lies, as its XPOS and YPOS read back.
std::pair<double, double> adaptElement(CopyContext& context, pugi::xml_node element,
                                       bool topLevel) {
    SlaDocument& document = context.document;
    const double x =
        document.setNumber(element, "XPOS", numberAttribute(element, "XPOS") + context.dx);
    const double y =
        document.setNumber(element, "YPOS", numberAttribute(element, "YPOS") + context.dy);
    // Scribus ignores a top-level item's gXpos/gYpos; they follow when they can be read.
    const auto groupX = parseNumber(element.attribute("gXpos").value());
    const auto groupY = parseNumber(element.attribute("gYpos").value());
    if (topLevel && groupX && groupY) {
        document.setNumber(element, "gXpos", *groupX + context.dx);
        document.setNumber(element, "gYpos", *groupY + context.dy);
    }
    document.setNumber(element, "OwnPage", context.page);
    if (const pugi::xml_attribute name = element.attribute("ANNAME"); name && *name.value()) {
        document.setAttribute(element, "ANNAME", freshName(context, name.value()));
    }
    if (element.attribute("ItemID")) {
        const long long old = intAttribute(element, "ItemID", 0);
        const long long id = context.identities.freshId();
        context.newIds[old] = id;
        document.setNumber(element, "ItemID", static_cast<double>(id));
    }
    return {x, y};
}

// The NUM the new last page takes: one past the last page's, as the document
// counts (Scribus reads NUM as the place a page goes, so it must keep rising).
int nextPageNumber(const SlaDocument& document) {
    int number = -1;
    for (pugi::xml_node page : document.pageNodes()) {
        number = intAttribute(page, "NUM", number < INT_MAX ? number + 1 : number);
    }
    if (number == INT_MAX) {
        throw HostError("\"" + document.path().string() +
                        "\" cannot take another page: its last page has the highest number "
                        "there is.");
    }
    return number + 1;
}

// Appends a copy of page `source` as page `index`, placed where Scribus will lay it out.
PageRect addPageElement(SlaDocument& document, int source, int index) {
    const int number = nextPageNumber(document);
    const auto& pages = document.pageNodes();  // read before the insertion drops them
    const pugi::xml_node page =
        document.insertCopyAfter(pages.back(), pages[static_cast<std::size_t>(source)]);
    document.setNumber(page, "NUM", number);
    // Facing layouts use the master of the side the new page lands on.
    const std::string master = page.attribute("MNAM").value();
    const PageLayout layout = document.layout();
    const int columns = layout.columns;
    if (columns > 1 && master.rfind("Normal ", 0) == 0) {
        const int column = (layout.firstColumn + index) % columns;
        const char* side = column == 0             ? "Normal Left"
                           : column == columns - 1 ? "Normal Right"
                                                   : "Normal Middle";
        document.setAttribute(page, "MNAM", side);
        if (page.attribute("LEFT")) {
            document.setNumber(page, "LEFT", column == 0 ? 1 : 0);
        }
    }
    PageRect to;
    try {
        to = document.pageRects().at(static_cast<std::size_t>(index));
    } catch (const HostError&) {
        document.removeNode(page);  // a page that cannot be placed is not added
        throw HostError("Cannot add a page to \"" + document.path().string() +
                        "\": it would lie beyond the largest position a document can hold.");
    }
    document.setNumber(page, "PAGEXPOS", to.x);
    document.setNumber(page, "PAGEYPOS", to.y);
    return to;
}

void updatePageCounters(SlaDocument& document, int lastIndex) {
    const pugi::xml_node root = document.documentNode();
    if (root.attribute("ANZPAGES")) {
        document.setNumber(root, "ANZPAGES", lastIndex + 1);
    }
    // The section that ended at the old last page now runs to the new one.
    for (pugi::xml_node section : document.section("Sections").children("Section")) {
        if (parseInteger(section.attribute("To").value()) == lastIndex - 1) {
            document.setNumber(section, "To", lastIndex);
        }
    }
}

// Copies `original` after `anchor` as an item of the new page; `placed`, the
// original's frame, becomes the copy's as written (only its position changes).
pugi::xml_node copyItem(CopyContext& context, pugi::xml_node anchor, pugi::xml_node original,
                        Frame& placed) {
    const pugi::xml_node copy = context.document.insertCopyAfter(anchor, original);
    std::tie(placed.x, placed.y) = adaptElement(context, copy, true);
    forEachObject(copy, [&](pugi::xml_node child) { adaptElement(context, child, false); });
    return copy;
}

// A copy keeps its place on its page to a millionth of its size; far enough
// from the origin, the positions written would lose the offset between the pages.
void requireSamePlace(const Frame& frame, const Frame& placed, const PageRect& from,
                      const PageRect& to) {
    const Bounds before = boxOf(frame);
    const Bounds after = boxOf(placed);
    const double tolerance = 1e-6 * std::max({1.0, std::abs(frame.width), std::abs(frame.height)});
    const double down = to.y - from.y;
    const double across = to.x - from.x;
    const auto kept = [&](double was, double now, double moved) {
        return std::abs(now - (was + moved)) <= tolerance;
    };
    if (!(kept(before.top, after.top, down) && kept(before.left, after.left, across) &&
          kept(before.bottom, after.bottom, down) && kept(before.right, after.right, across))) {
        throw HostError(
            "The page cannot be copied exactly: its items lie too far from the "
            "document's origin for their new places to be written.");
    }
}

}  // namespace

Duplicate duplicatePage(SlaDocument& document, int source) {
    const int index = static_cast<int>(document.pageNodes().size());  // of the new page
    if (source < 0 || source >= index) {
        throw HostError("\"" + document.path().string() + "\" has no page " +
                        std::to_string(source + 1) + ".");
    }
    std::vector<pugi::xml_node> onPage;
    for (const PlacedItem& item : document.itemsOn({source})) {
        onPage.push_back(item.node);
    }
    const std::vector<pugi::xml_node> originals = itemsToCopy(document, onPage);
    const PageRect from = document.pageRects()[static_cast<std::size_t>(source)];
    const PageRect to = addPageElement(document, source, index);

    CopyContext context{document, document.identities(), index, to.x - from.x, to.y - from.y, {}};
    Duplicate result{index, {}};
    const pugi::xml_node last = document.lastTopLevelItem();
    pugi::xml_node anchor = last ? last : document.pageNodes().back();
    for (pugi::xml_node original : originals) {
        const Frame frame = readFrame(original);
        Frame placed = frame;
        anchor =
            copyItem(context, anchor, original, placed);  // after the last: the stacking is kept
        requireSamePlace(frame, placed, from, to);
        result.copies.push_back(anchor);
    }
    relinkCopies(document, result.copies, context.newIds);
    updatePageCounters(document, index);
    document.markChanged();
    return result;
}

}  // namespace host::sla
