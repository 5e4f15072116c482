#include "host/sla/index/SlaItemIndex.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace host::sla {

namespace {

// Orders are spaced this far apart, so that items put between two others
// (the members of a dissolved group) find room without renumbering.
constexpr std::uint64_t kGap = std::uint64_t{1} << 32;
constexpr int kUnplaced = -2;  // an entry whose place is still to be worked out

}  // namespace

void SlaItemIndex::build(pugi::xml_node document, int pageCount) {
    std::vector<std::pair<pugi::xml_node, ItemPlace>> items;
    for (pugi::xml_node item : document.children("PAGEOBJECT")) {
        items.emplace_back(item, m_placeOf(item));
    }
    build(items, pageCount);
}

void SlaItemIndex::build(const std::vector<std::pair<pugi::xml_node, ItemPlace>>& items,
                         int pageCount) {
    m_entries.clear();
    m_entries.reserve(items.size());
    m_pages.assign(static_cast<std::size_t>(pageCount) + 1, {});
    m_stale.clear();
    m_unsettled.clear();
    std::uint64_t order = 0;
    for (const auto& [item, itemPlace] : items) {
        order += kGap;
        Entry& entry = m_entries[key(item)];
        entry.order = order;
        entry.place.page = kUnplaced;
        place(key(item), entry, itemPlace);
    }
    m_built = true;
}

SlaItemIndex::PageList& SlaItemIndex::listOf(int page) {
    const auto slot = static_cast<std::size_t>(page) + 1;  // no page (-1) first
    if (slot >= m_pages.size()) {
        m_pages.resize(slot + 1);
    }
    return m_pages[slot];
}

void SlaItemIndex::place(Key item, Entry& entry, ItemPlace place) {
    if (place.page != entry.place.page) {
        if (entry.place.page != kUnplaced) {
            listOf(entry.place.page).dropped = true;
        }
        PageList& list = listOf(place.page);
        if (!list.items.empty()) {
            const auto last = m_entries.find(list.items.back());
            list.sorted =
                list.sorted && last != m_entries.end() && last->second.order < entry.order;
        }
        list.items.push_back(item);
    }
    entry.place = place;
    if (unsettled(place)) {
        m_unsettled.push_back(item);
    }
}

void SlaItemIndex::added(pugi::xml_node document, pugi::xml_node item) {
    if (!m_built) {
        return;
    }
    const std::uint64_t order = orderBetween(document, item);
    Entry& entry = m_entries[key(item)];
    entry = Entry{order, {kUnplaced, kUnplaced}, true};
    m_stale.push_back(key(item));  // its attributes are usually written right after
}

void SlaItemIndex::removed(pugi::xml_node item) {
    const auto found = m_entries.find(key(item));
    if (found == m_entries.end()) {
        return;
    }
    if (found->second.place.page != kUnplaced) {
        listOf(found->second.place.page).dropped = true;
    }
    m_entries.erase(found);
}

void SlaItemIndex::changed(pugi::xml_node item) {
    const auto found = m_entries.find(key(item));
    if (found != m_entries.end() && !found->second.stale) {
        found->second.stale = true;
        m_stale.push_back(key(item));
    }
}

void SlaItemIndex::settle() {
    // An entry may be listed twice: a node freed and its memory reused by a new one.
    for (const Key item : std::exchange(m_stale, {})) {
        const auto found = m_entries.find(item);
        if (found != m_entries.end() && found->second.stale) {
            found->second.stale = false;
            place(item, found->second, m_placeOf(pugi::xml_node(item)));
        }
    }
}

void SlaItemIndex::pagesAppended(int pageCount) {
    if (!m_built) {
        return;
    }
    settle();
    listOf(pageCount - 1);
    for (const Key item : std::exchange(m_unsettled, {})) {
        const auto found = m_entries.find(item);
        if (found != m_entries.end() && unsettled(found->second.place)) {
            place(item, found->second, m_placeOf(pugi::xml_node(item)));
        }
    }
}

const std::vector<SlaItemIndex::Key>& SlaItemIndex::tidy(int page) {
    PageList& list = listOf(page);
    if (list.sorted && !list.dropped) {
        return list.items;
    }
    std::vector<std::pair<std::uint64_t, Key>> kept;
    kept.reserve(list.items.size());
    for (const Key item : list.items) {
        const auto found = m_entries.find(item);
        if (found != m_entries.end() && found->second.place.page == page) {
            kept.emplace_back(found->second.order, item);
        }
    }
    std::sort(kept.begin(), kept.end());
    kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    list.items.clear();
    for (const auto& [order, item] : kept) {
        list.items.push_back(item);
    }
    list.items.shrink_to_fit();
    list.sorted = true;
    list.dropped = false;
    return list.items;
}

std::vector<PlacedItem> SlaItemIndex::itemsOn(const std::vector<int>& pages) {
    settle();
    std::vector<PlacedItem> items;
    for (const int page : pages) {
        for (const Key item : tidy(page)) {
            items.push_back({pugi::xml_node(item), page});
        }
    }
    if (pages.size() > 1) {
        // The pages of a spread interleave in the document.
        std::sort(items.begin(), items.end(), [this](const PlacedItem& a, const PlacedItem& b) {
            return m_entries.at(key(a.node)).order < m_entries.at(key(b.node)).order;
        });
    }
    return items;
}

void SlaItemIndex::sortInDocumentOrder(std::vector<pugi::xml_node>& items) const {
    std::vector<std::pair<std::uint64_t, pugi::xml_node>> ordered;
    ordered.reserve(items.size());
    for (pugi::xml_node item : items) {
        const auto found = m_entries.find(key(item));
        if (found == m_entries.end()) {
            throw std::logic_error("an item to be ordered is not among the document's items");
        }
        ordered.emplace_back(found->second.order, item);
    }
    std::sort(ordered.begin(), ordered.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i] = ordered[i].second;
    }
}

std::uint64_t SlaItemIndex::orderBetween(pugi::xml_node document, pugi::xml_node item) {
    const auto orderOf = [this](pugi::xml_node node) -> const Entry* {
        const auto found = m_entries.find(key(node));
        return found != m_entries.end() ? &found->second : nullptr;
    };
    const Entry* before = nullptr;
    for (pugi::xml_node node = item.previous_sibling(); node && !before;
         node = node.previous_sibling()) {
        before = orderOf(node);
    }
    const Entry* after = nullptr;
    for (pugi::xml_node node = item.next_sibling(); node && !after; node = node.next_sibling()) {
        after = orderOf(node);
    }
    const std::uint64_t low = before ? before->order : 0;
    if (!after && low <= UINT64_MAX - kGap) {
        return low + kGap;
    }
    if (after && after->order - low >= 2) {
        // Small steps up from the item before: members of a dissolved group
        // arrive in order, each after the last.
        return low + std::max<std::uint64_t>(1, (after->order - low) >> 10);
    }
    renumber(document);
    return orderBetween(document, item);  // now every neighbour is kGap apart
}

void SlaItemIndex::renumber(pugi::xml_node document) {
    // Relative order stays, so the page lists stay sorted.
    std::uint64_t order = 0;
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
        const auto found = m_entries.find(key(node));
        if (found != m_entries.end()) {
            order += kGap;
            found->second.order = order;
        }
    }
}

}  // namespace host::sla
