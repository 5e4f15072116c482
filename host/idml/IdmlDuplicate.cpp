#include "host/idml/IdmlDuplicate.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <string>

#include "host/HostError.h"
#include "host/idml/IdmlGeometry.h"

namespace host::idml {

namespace {

double distanceTo(const Bounds& box, Point p) {
    const double dx = std::max({box.left - p.x, 0.0, p.x - box.right});
    const double dy = std::max({box.top - p.y, 0.0, p.y - box.bottom});
    return std::hypot(dx, dy);
}

// Spread coordinates of a page's box.
Bounds pageBox(const IdmlDocument& document, pugi::xml_node page) {
    const PagePlace place = document.placeOf(page);
    const Transform onSpread = place.toPage.inverse();
    const Point a = onSpread.apply({0.0, 0.0});
    const Point b = onSpread.apply({place.width, place.height});
    return {std::min(a.y, b.y), std::min(a.x, b.x), std::max(a.y, b.y), std::max(a.x, b.x)};
}

// Fresh ids for every element of `root` that has one, and every reference
// inside `root` to one of them turned to the copy's.
void renameIds(IdmlDocument& document, pugi::xml_node root) {
    std::map<std::string, std::string> renamed;
    std::vector<pugi::xml_node> stack{root};
    std::vector<pugi::xml_node> all;
    while (!stack.empty()) {
        pugi::xml_node node = stack.back();
        stack.pop_back();
        all.push_back(node);
        if (pugi::xml_attribute self = node.attribute("Self")) {
            const std::string fresh = document.freshId();
            renamed[self.value()] = fresh;
            self.set_value(fresh.c_str());
        }
        for (pugi::xml_node child : node.children()) {
            if (child.type() == pugi::node_element) {
                stack.push_back(child);
            }
        }
    }
    for (pugi::xml_node node : all) {
        for (pugi::xml_attribute attribute : node.attributes()) {
            if (std::strcmp(attribute.name(), "Self") == 0) {
                continue;
            }
            if (const auto found = renamed.find(attribute.value()); found != renamed.end()) {
                attribute.set_value(found->second.c_str());
            }
        }
    }
}

void setOrAdd(pugi::xml_node node, const char* name, const std::string& value) {
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) {
        attribute = node.append_attribute(name);
    }
    attribute.set_value(value.c_str());
}

bool isRightHand(const IdmlDocument& document, int number) {
    return (number % 2 == 1) != document.rightToLeft();
}

// A spread of one page: in a facing document the page goes on the side of
// the spine its number gives (odd numbers on the right when the document
// binds on the left), the spread's origin at the spine; otherwise the page
// is centred on the origin.
void placeAlone(IdmlDocument& document, pugi::xml_node spread, pugi::xml_node page) {
    const PagePlace place = document.placeOf(page);
    setOrAdd(spread, "PageCount", "1");
    double pageLeft = -place.width / 2.0;
    bool right = true;
    if (document.facingPages()) {
        const std::string name = page.attribute("Name").value();
        const std::size_t digits = name.find_last_not_of("0123456789") + 1;
        const int number = digits < name.size() ? std::atoi(name.c_str() + digits) : 1;
        right = isRightHand(document, number);
        pageLeft = right ? 0.0 : -place.width;
    }
    setOrAdd(spread, "BindingLocation", right ? "0" : "1");
    if (const auto own = parseTransform(page.attribute("ItemTransform").value())) {
        const auto bounds = parseNumbers(page.attribute("GeometricBounds").value());
        const bool given = bounds && bounds->size() == 4;
        const double left = given ? (*bounds)[1] : 0.0;
        const double top = given ? (*bounds)[0] : 0.0;
        Transform moved = *own;
        moved.tx = pageLeft - (own->a * left + own->c * top);
        setOrAdd(page, "ItemTransform", transformText(moved));
    }
}

}  // namespace

std::vector<pugi::xml_node> itemsOnFirstPage(const IdmlDocument& document, std::size_t spread) {
    const std::vector<pugi::xml_node> pages = document.pagesOf(spread);
    std::vector<Bounds> boxes;
    for (pugi::xml_node page : pages) {
        boxes.push_back(pageBox(document, page));
    }
    std::vector<pugi::xml_node> items;
    for (pugi::xml_node child :
         const_cast<IdmlDocument&>(document).spread(spread).spread.children()) {
        if (!isPageItem(child)) {
            continue;
        }
        if (pages.size() > 1) {
            const Transform own = ownTransform(child);
            const Point centre = centreOf(visibleBoundsOf(child, own, 1.0));
            std::size_t nearest = 0;
            for (std::size_t i = 1; i < boxes.size(); ++i) {
                if (distanceTo(boxes[i], centre) < distanceTo(boxes[nearest], centre)) {
                    nearest = i;
                }
            }
            if (nearest != 0) {
                continue;
            }
        }
        items.push_back(child);
    }
    return items;
}

Duplicate duplicateFirstPage(IdmlDocument& document, std::size_t spread) {
    SpreadPart& source = document.spread(spread);
    const std::vector<pugi::xml_node> pages = document.pagesOf(spread);
    const pugi::xml_node sourcePage = pages.front();
    const std::vector<pugi::xml_node> items = itemsOnFirstPage(document, spread);

    auto part = std::make_unique<SpreadPart>();
    part->xml.reset(source.xml);
    part->spread = part->xml.document_element().child("Spread");
    // Keep the first page, the items on it and what is not a page item; the
    // source's children and the copy's correspond one to one.
    std::vector<pugi::xml_node> drop;
    pugi::xml_node copy = part->spread.first_child();
    for (pugi::xml_node original = source.spread.first_child(); original;
         original = original.next_sibling(), copy = copy.next_sibling()) {
        const bool page = std::strcmp(original.name(), "Page") == 0;
        if ((page && original != sourcePage) ||
            (isPageItem(original) &&
             std::find(items.begin(), items.end(), original) == items.end())) {
            drop.push_back(copy);
        }
    }
    for (pugi::xml_node node : drop) {
        // The blank before a dropped element goes with it.
        if (node.previous_sibling().type() == pugi::node_pcdata) {
            part->spread.remove_child(node.previous_sibling());
        }
        part->spread.remove_child(node);
    }
    renameIds(document, part->spread);
    copyStories(document, part->spread);
    part->entry = "Spreads/Spread_" + std::string(part->spread.attribute("Self").value()) + ".xml";
    if (document.package().has(part->entry)) {
        throw HostError("Cannot add a spread to \"" + document.path().string() +
                        "\": its package already holds \"" + part->entry + "\".");
    }
    const Transform before = document.placeOf(sourcePage).toPage;
    SpreadPart& added = document.insertSpread(spread, std::move(part));
    const pugi::xml_node page = added.spread.child("Page");
    numberNewPage(document, page);
    placeAlone(document, added.spread, page);
    // Every copied item keeps its place on the page.
    const Transform shift = document.placeOf(page).toPage.inverse().after(before);
    for (pugi::xml_node child : added.spread.children()) {
        if (isPageItem(child)) {
            setOrAdd(child, "ItemTransform", transformText(shift.after(ownTransform(child))));
        }
    }
    return {spread + 1, page};
}

}  // namespace host::idml
