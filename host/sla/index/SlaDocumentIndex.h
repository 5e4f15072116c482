#pragma once

// What a parsed document holds, found without walking it again: its pages,
// where Scribus lays them out (SlaLayout.h) and their rows, DOCUMENT's other
// children (the sections: PAGE, Sections, NotesFrames …), its top-level items
// by page (SlaItemIndex.h) and the identities in use (SlaIdentities.h). The
// document tells it of every edit before it is made (leaving(),
// attributeWriting()) and after (arrived()), so that what it keeps stays
// right. Lengths are points, canvas coordinates; pages are numbered from 0.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "host/sla/index/SlaIdentities.h"
#include "host/sla/index/SlaItemIndex.h"
#include "host/sla/read/SlaCheck.h"
#include "host/sla/read/SlaItemShape.h"
#include "host/sla/read/SlaLayout.h"

namespace host::sla {

class SlaDocumentIndex {
public:
    // `fileName` names the document in messages; `placeOf` tells where a
    // top-level item lies (SlaDocument::itemPlace()).
    SlaDocumentIndex(std::string fileName, SlaItemIndex::PlaceOf placeOf);

    // The load checks over `xml`, parsed in place from [textBegin, textEnd)
    // (`lineAt` gives a byte offset's line): returns the problem found, or nothing. Keeps what they
    // found for indexItems() and identities().
    std::string check(const pugi::xml_document& xml, const char* textBegin, const char* textEnd,
                      const LineFinder& lineAt);

    // What these give is told at SlaDocument's methods of the same names.
    double pageWidth() const;
    double pageHeight() const;
    const std::vector<pugi::xml_node>& pageNodes() const;
    const std::vector<PageRect>& pageRects() const;
    void pagesChanged();
    const std::vector<std::vector<int>>& spreads() const;
    int spreadOf(int page) const;
    PageLayout layout() const;
    ItemPlace placeOf(const ItemShape& shape) const;

    void indexItems();
    std::vector<PlacedItem> itemsOn(const std::vector<int>& pages);
    void sortInDocumentOrder(std::vector<pugi::xml_node>& items);
    pugi::xml_node lastTopLevelItem() const;
    pugi::xml_node section(const char* name) const;
    SlaIdentities& identities();

    // `node` is about to leave its place (moved or removed).
    void leaving(pugi::xml_node node);
    // `node` has just been put in its place (inserted or moved).
    void arrived(pugi::xml_node node);
    // `node`'s attribute `name` (null `attribute`: a new one) is about to be
    // written with `value`, which differs from the one there.
    void attributeWriting(pugi::xml_node node, pugi::xml_attribute attribute, const char* name,
                          std::string_view value);

private:
    std::vector<pugi::xml_node> findPageNodes() const;
    // Brings the item index up to date with the page layout.
    void syncIndex();
    bool isTopLevelItem(pugi::xml_node node) const;
    bool isSection(pugi::xml_node node) const;
    // DOCUMENT's children other than items, in document order.
    const std::vector<pugi::xml_node>& sections() const;
    void sectionAdded(pugi::xml_node node);
    void sectionRemoved(pugi::xml_node node);

    std::string m_fileName;
    pugi::xml_node m_document;          // DOCUMENT
    const char* m_textBegin = nullptr;  // the parse buffer
    const char* m_textEnd = nullptr;
    // Finding the pages walks every element of the document, so each item asking
    // for its page would cost the whole document.
    mutable std::optional<std::vector<pugi::xml_node>> m_pageNodes;
    mutable std::optional<std::vector<PageRect>> m_pageRects;
    mutable std::optional<std::vector<std::vector<int>>> m_spreads;
    mutable std::optional<std::vector<pugi::xml_node>> m_sections;
    SlaItemIndex m_items;
    std::vector<PageRect> m_indexedRects;  // the layout the index places items on
    bool m_layoutChecked = false;          // pages unchanged since the index was compared
    std::unique_ptr<SlaIdentities> m_identities;
    // The items and their shapes as read by the load checks, until indexed.
    std::optional<std::vector<ScannedItem>> m_scannedItems;
};

}  // namespace host::sla
