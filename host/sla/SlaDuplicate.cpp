// Scribus re-lays pages out on load but never moves items, and reads a group's
// page from the file: so the copy's items are moved by the offset between the
// two laid-out pages and every element of a copy names the new page.

#include "host/sla/SlaDuplicate.h"

#include <climits>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/HostError.h"
#include "host/sla/SlaNumbers.h"

namespace host::sla {

namespace {

struct CopyContext {
    SlaDocument& document;
    int page = 0;
    double dx = 0.0;
    double dy = 0.0;
    std::set<std::string> names;                      // every ANNAME in the document
    std::set<long long> ids;                          // every ItemID in the document
    std::unordered_map<long long, long long> newIds;  // within the copies
};

template <typename Visit>
void forEachObject(pugi::xml_node node, Visit visit) {
    for (pugi::xml_node child : node.children("PAGEOBJECT")) {
        visit(child);
        forEachObject(child, visit);  // nesting depth is bounded by the load checks
    }
}

long long freshId(CopyContext& context) {
    long long id = context.ids.empty() ? 1 : *context.ids.rbegin() + 1;
    if (id > INT_MAX) {  // Scribus keeps ids in an int: look for a gap from the bottom
        for (id = 1; context.ids.count(id) != 0; ++id) {
        }
    }
    context.ids.insert(id);
    return id;
}

std::string freshName(CopyContext& context, const std::string& name) {
    std::string candidate = name + " p" + std::to_string(context.page + 1);
    for (int n = 2; context.names.count(candidate) != 0; ++n) {
        candidate = name + " p" + std::to_string(context.page + 1) + "." + std::to_string(n);
    }
    context.names.insert(candidate);
    return candidate;
}

void adaptElement(CopyContext& context, pugi::xml_node element, bool topLevel) {
    SlaDocument& document = context.document;
    document.setNumber(element, "XPOS", numberAttribute(element, "XPOS") + context.dx);
    document.setNumber(element, "YPOS", numberAttribute(element, "YPOS") + context.dy);
    if (topLevel && element.attribute("gXpos")) {
        document.setNumber(element, "gXpos", numberAttribute(element, "gXpos") + context.dx);
        document.setNumber(element, "gYpos", numberAttribute(element, "gYpos") + context.dy);
    }
    document.setNumber(element, "OwnPage", context.page);
    if (const pugi::xml_attribute name = element.attribute("ANNAME"); name && *name.value()) {
        document.setAttribute(element, "ANNAME", freshName(context, name.value()));
    }
    if (element.attribute("ItemID")) {
        const long long old = intAttribute(element, "ItemID", 0);
        const long long id = freshId(context);
        context.newIds[old] = id;
        document.setNumber(element, "ItemID", static_cast<double>(id));
    }
}

// Text chains may only link items of the copy; links out of it are cut.
void relinkChains(CopyContext& context, pugi::xml_node element) {
    for (const char* link : {"NEXTITEM", "BACKITEM"}) {
        if (!element.attribute(link)) {
            continue;
        }
        const long long old = intAttribute(element, link, -1);
        const auto found = context.newIds.find(old);
        const long long now = found != context.newIds.end() ? found->second : -1;
        context.document.setNumber(element, link, static_cast<double>(now));
    }
}

CopyContext contextFor(SlaDocument& document) {
    CopyContext context{document, 0, 0.0, 0.0, {}, {}, {}};
    forEachObject(document.documentNode(), [&](pugi::xml_node object) {
        if (const pugi::xml_attribute name = object.attribute("ANNAME")) {
            context.names.insert(name.value());
        }
        if (object.attribute("ItemID")) {
            context.ids.insert(intAttribute(object, "ItemID", 0));
        }
    });
    return context;
}

void addPageElement(SlaDocument& document, int source, int index);
void updatePageCounters(SlaDocument& document, int lastIndex);

}  // namespace

int duplicatePage(SlaDocument& document, int source) {
    const int index = static_cast<int>(document.pageNodes().size());  // of the new page
    if (source < 0 || source >= index) {
        throw HostError("\"" + document.path().string() + "\" has no page " +
                        std::to_string(source + 1) + ".");
    }
    std::vector<pugi::xml_node> originals;
    for (pugi::xml_node item : document.topLevelItems()) {
        if (document.itemPage(item) == source) {
            originals.push_back(item);
        }
    }
    const PageRect from = document.pageRects()[static_cast<std::size_t>(source)];
    addPageElement(document, source, index);
    const PageRect to = document.pageRects()[static_cast<std::size_t>(index)];
    document.setNumber(document.pageNodes().back(), "PAGEXPOS", to.x);
    document.setNumber(document.pageNodes().back(), "PAGEYPOS", to.y);

    CopyContext context = contextFor(document);
    context.page = index;
    context.dx = to.x - from.x;
    context.dy = to.y - from.y;
    std::vector<pugi::xml_node> copies;
    pugi::xml_node anchor = document.topLevelItems().empty() ? document.pageNodes().back()
                                                             : document.topLevelItems().back();
    for (pugi::xml_node original : originals) {
        // After the last item: page 1's stacking is kept.
        anchor = document.insertCopyAfter(anchor, original);
        adaptElement(context, anchor, true);
        forEachObject(anchor, [&](pugi::xml_node child) { adaptElement(context, child, false); });
        copies.push_back(anchor);
    }
    for (pugi::xml_node copy : copies) {
        relinkChains(context, copy);
        forEachObject(copy, [&](pugi::xml_node child) { relinkChains(context, child); });
    }
    updatePageCounters(document, index);
    document.markChanged();
    return index;
}

namespace {

void addPageElement(SlaDocument& document, int source, int index) {
    const auto& pages = document.pageNodes();  // read before pagesChanged() drops them
    const pugi::xml_node page =
        document.insertCopyAfter(pages.back(), pages[static_cast<std::size_t>(source)]);
    document.pagesChanged();
    document.setNumber(page, "NUM", index);
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
}

void updatePageCounters(SlaDocument& document, int lastIndex) {
    const pugi::xml_node root = document.documentNode();
    if (root.attribute("ANZPAGES")) {
        document.setNumber(root, "ANZPAGES", lastIndex + 1);
    }
    // The section that ended at the old last page now runs to the new one.
    for (pugi::xml_node section : root.child("Sections").children("Section")) {
        if (numberAttribute(section, "To", -1) == lastIndex - 1) {
            document.setNumber(section, "To", lastIndex);
        }
    }
}

}  // namespace

}  // namespace host::sla
