// The pages and their layout, kept until a page changes; the document's
// top-level items: where Scribus places each, and the index that lists a
// page's items without walking the document (SlaItemIndex.h); and its other
// children, the sections, kept apart so that finding one does not walk the
// items either.

#include "host/sla/index/SlaDocumentIndex.h"

#include <algorithm>
#include <cstring>

#include "host/HostError.h"
#include "host/sla/read/SlaCheck.h"
#include "host/sla/read/SlaGeometry.h"
#include "host/sla/read/SlaNumbers.h"
#include "host/sla/read/SlaScan.h"

namespace host::sla {

namespace {

// Elements whose attributes place or size the pages.
bool shapesLayout(pugi::xml_node node) {
    const char* name = node.name();
    return std::strcmp(name, "PAGE") == 0 || std::strcmp(name, "DOCUMENT") == 0 ||
           std::strcmp(name, "Set") == 0;
}

// Attributes that decide which page a top-level item is on (SlaDocument::itemPlace()).
bool decidesPlace(const char* name) {
    for (const char* decisive : {"XPOS", "YPOS", "WIDTH", "HEIGHT", "ROT", "PTYPE", "OwnPage"}) {
        if (name[0] == decisive[0] && std::strcmp(name, decisive) == 0) {
            return true;
        }
    }
    return false;
}

bool isPage(pugi::xml_node node) {
    return std::strcmp(node.name(), "PAGE") == 0;
}

}  // namespace

SlaDocumentIndex::SlaDocumentIndex(std::string fileName, SlaItemIndex::PlaceOf placeOf)
    : m_fileName(std::move(fileName)), m_items(std::move(placeOf)) {}

std::string SlaDocumentIndex::check(const pugi::xml_document& xml, const char* textBegin,
                                    const char* textEnd, const LineFinder& lineAt) {
    m_document = xml.document_element().child("DOCUMENT");
    m_textBegin = textBegin;
    m_textEnd = textEnd;
    // One walk checks the document and collects its identities and its items'
    // places; a problem found is then named by the full checks.
    auto identities = std::make_unique<SlaIdentities>();
    identities->start(textBegin, textEnd);
    std::vector<ScannedItem> items;
    const DocumentScan scan = scanDocument(xml, [&](const ScannedElement& element) {
        identities->add(element.name, element.id, element.mark ? element.label : nullptr);
        if (element.item) {
            items.push_back({element.node, shapeOf(element.place)});
        }
    });
    if (!scan.sound) {
        // Without a problem named, the index and the identities are made on their own, as later.
        return documentProblem(xml, lineAt);
    }
    m_sections = scan.sections;
    identities->finish(section("Marks"), section("Notes"));
    m_identities = std::move(identities);
    m_scannedItems = std::move(items);
    return {};
}

double SlaDocumentIndex::pageWidth() const {
    return numberAttribute(m_document, "PAGEWIDTH", numberAttribute(pageNodes()[0], "PAGEWIDTH"));
}

double SlaDocumentIndex::pageHeight() const {
    return numberAttribute(m_document, "PAGEHEIGHT", numberAttribute(pageNodes()[0], "PAGEHEIGHT"));
}

const std::vector<pugi::xml_node>& SlaDocumentIndex::pageNodes() const {
    if (!m_pageNodes) {
        m_pageNodes = findPageNodes();
    }
    return *m_pageNodes;
}

const std::vector<PageRect>& SlaDocumentIndex::pageRects() const {
    if (!m_pageRects) {
        m_pageRects = layOutPages(m_document, pageNodes(), layout(), pageWidth(), m_fileName);
    }
    return *m_pageRects;
}

void SlaDocumentIndex::pagesChanged() {
    m_pageNodes.reset();
    m_pageRects.reset();
    m_spreads.reset();
    m_layoutChecked = false;
}

std::vector<pugi::xml_node> SlaDocumentIndex::findPageNodes() const {
    std::vector<pugi::xml_node> pages;
    for (pugi::xml_node node : sections()) {
        if (isPage(node)) {
            pages.push_back(node);
        }
    }
    return pages;
}

PageLayout SlaDocumentIndex::layout() const {
    return layoutOf(m_document, section("PageSets"));
}

const std::vector<std::vector<int>>& SlaDocumentIndex::spreads() const {
    if (!m_spreads) {
        m_spreads = spreadsOf(static_cast<int>(pageNodes().size()), layout());
    }
    return *m_spreads;
}

int SlaDocumentIndex::spreadOf(int page) const {
    const auto& rows = spreads();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (std::find(rows[row].begin(), rows[row].end(), page) != rows[row].end()) {
            return static_cast<int>(row);
        }
    }
    throw HostError("\"" + m_fileName + "\" has no page " + std::to_string(page + 1) + ".");
}

ItemPlace SlaDocumentIndex::placeOf(const ItemShape& shape) const {
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

bool SlaDocumentIndex::isTopLevelItem(pugi::xml_node node) const {
    return node.parent() == m_document && std::strcmp(node.name(), "PAGEOBJECT") == 0;
}

void SlaDocumentIndex::indexItems() {
    if (m_scannedItems && !m_items.built()) {
        // Placed from the shapes the load checks read: no second walk.
        const std::vector<PageRect>& rects = pageRects();
        std::vector<std::pair<pugi::xml_node, ItemPlace>> placed;
        placed.reserve(m_scannedItems->size());
        for (const ScannedItem& item : *m_scannedItems) {
            placed.emplace_back(item.node, placeOf(item.shape));
        }
        m_items.build(placed, static_cast<int>(rects.size()));
        m_indexedRects = rects;
        m_layoutChecked = true;
    }
    m_scannedItems.reset();
    syncIndex();
    identities();
}

void SlaDocumentIndex::syncIndex() {
    if (m_items.built() && m_layoutChecked) {
        return;
    }
    const std::vector<PageRect>& rects = pageRects();
    const int count = static_cast<int>(rects.size());
    if (!m_items.built()) {
        m_items.build(m_document, count);
        m_indexedRects = rects;
    } else if (rects != m_indexedRects) {
        // Pages added at the end move only items that no page held, or whose
        // OwnPage named a page not there yet; any other change places all anew.
        const bool appended =
            rects.size() > m_indexedRects.size() &&
            std::equal(m_indexedRects.begin(), m_indexedRects.end(), rects.begin());
        if (appended) {
            m_items.pagesAppended(count);
        } else {
            m_items.build(m_document, count);
        }
        m_indexedRects = rects;
    }
    m_layoutChecked = true;
}

std::vector<PlacedItem> SlaDocumentIndex::itemsOn(const std::vector<int>& pages) {
    syncIndex();
    return m_items.itemsOn(pages);
}

void SlaDocumentIndex::sortInDocumentOrder(std::vector<pugi::xml_node>& items) {
    syncIndex();
    m_items.sortInDocumentOrder(items);
}

pugi::xml_node SlaDocumentIndex::lastTopLevelItem() const {
    for (pugi::xml_node node = m_document.last_child(); node; node = node.previous_sibling()) {
        if (node.type() == pugi::node_element && std::strcmp(node.name(), "PAGEOBJECT") == 0) {
            return node;
        }
    }
    return {};
}

bool SlaDocumentIndex::isSection(pugi::xml_node node) const {
    return node.parent() == m_document && node.type() == pugi::node_element &&
           std::strcmp(node.name(), "PAGEOBJECT") != 0;
}

const std::vector<pugi::xml_node>& SlaDocumentIndex::sections() const {
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

pugi::xml_node SlaDocumentIndex::section(const char* name) const {
    for (pugi::xml_node node : sections()) {
        if (std::strcmp(node.name(), name) == 0) {
            return node;
        }
    }
    return {};
}

void SlaDocumentIndex::sectionAdded(pugi::xml_node node) {
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

void SlaDocumentIndex::sectionRemoved(pugi::xml_node node) {
    if (m_sections) {
        m_sections->erase(std::remove(m_sections->begin(), m_sections->end(), node),
                          m_sections->end());
    }
}

SlaIdentities& SlaDocumentIndex::identities() {
    if (!m_identities) {
        m_identities = std::make_unique<SlaIdentities>();
        m_identities->collect(m_document, m_textBegin, m_textEnd);
    }
    return *m_identities;
}

void SlaDocumentIndex::leaving(pugi::xml_node node) {
    m_items.removed(node);
    if (isSection(node)) {
        sectionRemoved(node);
    }
    if (isPage(node)) {
        pagesChanged();
    }
}

void SlaDocumentIndex::arrived(pugi::xml_node node) {
    if (isTopLevelItem(node)) {
        m_items.added(m_document, node);
    } else if (isSection(node)) {
        sectionAdded(node);
    }
    if (isPage(node)) {
        pagesChanged();
    }
}

void SlaDocumentIndex::attributeWriting(pugi::xml_node node, pugi::xml_attribute attribute,
                                        const char* name, std::string_view value) {
    if (shapesLayout(node)) {
        pagesChanged();
    }
    if (decidesPlace(name) && node.parent() == m_document) {
        m_items.changed(node);
    }
    // pugixml writes a value no longer than the old one over it in place.
    if (attribute && m_identities && std::strcmp(name, "ANNAME") == 0 &&
        value.size() <= std::strlen(attribute.value())) {
        m_identities->release(attribute.value());
    }
}

}  // namespace host::sla
