#pragma once

// The top-level items of a document (DOCUMENT's PAGEOBJECT children) by the
// page Scribus gives each when it opens the file, in document order: listing a
// page costs that page's items, not the document's. The document tells the
// index of every change that can add, remove or move an item, or change what
// decides its page (SlaDocument keeps it right). Pages are numbered from 0;
// -1 is no page.

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

#include <pugixml.hpp>

namespace host::sla {

// Where Scribus puts an item: its page, and the page its OwnPage names.
struct ItemPlace {
    int page = -1;
    int own = -1;
};

struct PlacedItem {
    pugi::xml_node node;
    int page = -1;
};

class SlaItemIndex {
public:
    using PlaceOf = std::function<ItemPlace(pugi::xml_node)>;

    explicit SlaItemIndex(PlaceOf placeOf) : m_placeOf(std::move(placeOf)) {}

    // Indexes every PAGEOBJECT child of `document` afresh, for `pageCount` pages.
    void build(pugi::xml_node document, int pageCount);
    // The same from the items, in document order, and their places.
    void build(const std::vector<std::pair<pugi::xml_node, ItemPlace>>& items, int pageCount);
    bool built() const { return m_built; }

    // `item` has just become a child of `document` (inserted or moved there).
    void added(pugi::xml_node document, pugi::xml_node item);
    // `item`, if indexed, is about to stop being a top-level item.
    void removed(pugi::xml_node item);
    // An attribute that decides `item`'s page is being written.
    void changed(pugi::xml_node item);
    // Pages were added after the last one: an item on no page, or one whose
    // OwnPage named a page that did not exist, may now belong to one of them.
    void pagesAppended(int pageCount);

    bool contains(pugi::xml_node item) const { return m_entries.count(key(item)) != 0; }
    // The items on `pages`, in document order, each with its page.
    std::vector<PlacedItem> itemsOn(const std::vector<int>& pages);
    // Top-level items put into document order.
    void sortInDocumentOrder(std::vector<pugi::xml_node>& items) const;

private:
    using Key = pugi::xml_node_struct*;
    struct Entry {
        std::uint64_t order = 0;  // rises in document order, with gaps
        ItemPlace place;
        bool stale = false;  // its place is to be worked out again
    };
    // A page's items: every item on it, in document order while `sorted`, and
    // possibly items that have left it since (`dropped`), once or more.
    struct PageList {
        std::vector<Key> items;
        bool sorted = true;
        bool dropped = false;
    };

    static Key key(pugi::xml_node node) { return node.internal_object(); }
    static bool unsettled(const ItemPlace& place) {
        return place.page < 0 || place.own != place.page;
    }
    PageList& listOf(int page);
    void place(Key item, Entry& entry, ItemPlace place);
    void settle();
    const std::vector<Key>& tidy(int page);
    std::uint64_t orderBetween(pugi::xml_node document, pugi::xml_node item);
    void renumber(pugi::xml_node document);

    PlaceOf m_placeOf;
    bool m_built = false;
    std::unordered_map<Key, Entry> m_entries;
    std::vector<PageList> m_pages;  // index page + 1: no page first
    std::vector<Key> m_stale;
    std::vector<Key> m_unsettled;  // may hold items settled since, or gone
};

}  // namespace host::sla
