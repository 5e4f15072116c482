// The document's top-level items: where Scribus places each, and the index
// that lists a page's items without walking the document (SlaItemIndex.h);
// and its other children, the sections, kept apart so that finding one does
// not walk the items either.

#include <algorithm>
#include <cstring>

#include "host/sla/SlaDocument.h"
#include "host/sla/SlaItem.h"
#include "host/sla/read/SlaGeometry.h"

namespace host::sla {

std::vector<pugi::xml_node> SlaDocument::topLevelItems() const {
    std::vector<pugi::xml_node> items;
    for (pugi::xml_node item : documentNode().children("PAGEOBJECT")) {
        items.push_back(item);
    }
    return items;
}

ItemPlace SlaDocument::itemPlace(pugi::xml_node item) const {
    return placeOf(readShape(item));
}

ItemPlace SlaDocument::placeOf(const ItemShape& shape) const {
    const auto& rects = pageRects();
    const int count = static_cast<int>(rects.size());
    const int own = shape.ownPage;
    if (shape.group) {
        return {own >= 0 && own < count ? own : -1,
                own};  // Scribus keeps a group's page as written
    }
    const Bounds box = boxOf(shape.frame);
    const auto touches = [&](int page) {
        const PageRect& r = rects[static_cast<std::size_t>(page)];
        return box.left <= r.x + r.width && box.right >= r.x && box.top <= r.y + r.height &&
               box.bottom >= r.y;
    };
    // Scribus keeps the stored page while the item touches it, else takes the first it touches.
    if (own >= 0 && own < count && touches(own)) {
        return {own, own};
    }
    for (int page = 0; page < count; ++page) {
        if (touches(page)) {
            return {page, own};
        }
    }
    return {-1, own};
}

bool SlaDocument::isTopLevelItem(pugi::xml_node node) const {
    return node.parent() == m_document && std::strcmp(node.name(), "PAGEOBJECT") == 0;
}

void SlaDocument::indexItems() {
    if (m_scannedItems && !m_index.built()) {
        // Placed from the shapes the load checks read: no second walk.
        const std::vector<PageRect>& rects = pageRects();
        std::vector<std::pair<pugi::xml_node, ItemPlace>> placed;
        placed.reserve(m_scannedItems->size());
        for (const ScannedItem& item : *m_scannedItems) {
            placed.emplace_back(item.node, placeOf(item.shape));
        }
        m_index.build(placed, static_cast<int>(rects.size()));
        m_indexedRects = rects;
        m_layoutChecked = true;
    }
    m_scannedItems.reset();
    syncIndex();
    identities();
}

void SlaDocument::syncIndex() {
    if (m_index.built() && m_layoutChecked) {
        return;
    }
    const std::vector<PageRect>& rects = pageRects();
    const int count = static_cast<int>(rects.size());
    if (!m_index.built()) {
        m_index.build(m_document, count);
        m_indexedRects = rects;
    } else if (rects != m_indexedRects) {
        // Pages added at the end move only items that no page held, or whose
        // OwnPage named a page not there yet; any other change places all anew.
        const bool appended =
            rects.size() > m_indexedRects.size() &&
            std::equal(m_indexedRects.begin(), m_indexedRects.end(), rects.begin());
        if (appended) {
            m_index.pagesAppended(count);
        } else {
            m_index.build(m_document, count);
        }
        m_indexedRects = rects;
    }
    m_layoutChecked = true;
}

std::vector<PlacedItem> SlaDocument::itemsOn(const std::vector<int>& pages) {
    syncIndex();
    return m_index.itemsOn(pages);
}

void SlaDocument::sortInDocumentOrder(std::vector<pugi::xml_node>& items) {
    syncIndex();
    m_index.sortInDocumentOrder(items);
}

pugi::xml_node SlaDocument::lastTopLevelItem() const {
    for (pugi::xml_node node = m_document.last_child(); node; node = node.previous_sibling()) {
        if (node.type() == pugi::node_element && std::strcmp(node.name(), "PAGEOBJECT") == 0) {
            return node;
        }
    }
    return {};
}

bool SlaDocument::isSection(pugi::xml_node node) const {
    return node.parent() == m_document && node.type() == pugi::node_element &&
           std::strcmp(node.name(), "PAGEOBJECT") != 0;
}

const std::vector<pugi::xml_node>& SlaDocument::sections() const {
    if (!m_sections) {
        m_sections.emplace();
        for (pugi::xml_node node = m_document.first_child(); node; node = node.next_sibling()) {
            if (isSection(node)) {
                m_sections->push_back(node);
            }
        }
    }
    return *m_sections;
}

pugi::xml_node SlaDocument::section(const char* name) const {
    for (pugi::xml_node node : sections()) {
        if (std::strcmp(node.name(), name) == 0) {
            return node;
        }
    }
    return {};
}

void SlaDocument::sectionAdded(pugi::xml_node node) {
    if (!m_sections) {
        return;  // listed when first needed
    }
    // After the nearest section before it (a new page: the last page).
    pugi::xml_node before = node.previous_sibling();
    while (before && !isSection(before)) {
        before = before.previous_sibling();
    }
    auto at = m_sections->begin();
    if (before) {
        at = std::find(m_sections->begin(), m_sections->end(), before);
        at = at == m_sections->end() ? at : at + 1;
    }
    m_sections->insert(at, node);
}

void SlaDocument::sectionRemoved(pugi::xml_node node) {
    if (m_sections) {
        m_sections->erase(std::remove(m_sections->begin(), m_sections->end(), node),
                          m_sections->end());
    }
}

SlaIdentities& SlaDocument::identities() {
    if (!m_identities) {
        m_identities = std::make_unique<SlaIdentities>();
        m_identities->collect(m_document, m_text.get(), m_text.get() + m_textSize);
    }
    return *m_identities;
}

}  // namespace host::sla
