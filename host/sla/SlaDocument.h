#pragma once

// One Scribus 1.5 or 1.6 document (.sla, or .sla.gz) held in memory. Lengths
// are points. Page rectangles are canvas coordinates where Scribus lays the
// pages out when it opens the file (it ignores the stored PAGEXPOS/PAGEYPOS);
// item positions are canvas coordinates too. Pages are numbered from 0 here.
//
// Saving writes every part the tool did not change byte for byte as it was
// read (SlaWriter.h). For that the document must see every change, so:
// - attributes are written only through setAttribute() or setNumber();
// - nodes are copied only through insertCopyAfter() or insertCopyBefore(),
//   never with pugixml's insert_copy_*/append_copy/prepend_copy: a pugixml
//   copy shares its source's strings and would pass for the source;
// - nodes are moved only through moveBefore() and removed only through
//   removeNode();
// - names, text nodes and comments are never changed.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

#include "host/sla/file/ByteStream.h"
#include "host/sla/index/SlaIdentities.h"
#include "host/sla/index/SlaItemIndex.h"
#include "host/sla/read/SlaItemShape.h"
#include "host/sla/read/SlaLayout.h"
#include "host/sla/write/SlaChanges.h"

namespace host::sla {

namespace file {
class DocumentFile;
}

// A PAGEOBJECT element that may be removed (by an ungroup) while page items
// still refer to it; `alive` tells them.
struct NodeHandle {
    pugi::xml_node node;
    bool alive = true;
};

class SlaDocument {
public:
    ~SlaDocument();
    SlaDocument(const SlaDocument&) = delete;
    SlaDocument& operator=(const SlaDocument&) = delete;

    // Reads and checks the file; throws HostError naming the file and the reason.
    static std::shared_ptr<SlaDocument> load(const std::filesystem::path& path);

    const std::filesystem::path& path() const { return m_path; }
    pugi::xml_node documentNode() const;

    // DOCUMENT's default page size.
    double pageWidth() const;
    double pageHeight() const;

    // Pages, their rectangles and the rows are worked out once and kept until a
    // page changes (see pagesChanged()), which also ends the references given out.
    const std::vector<pugi::xml_node>& pageNodes() const;
    const std::vector<PageRect>& pageRects() const;
    // Drops the kept pages, page rectangles and rows. Writes through setAttribute to the
    // document, its pages or its page sets do this themselves; call it after
    // adding or removing a PAGE element directly.
    void pagesChanged();
    // Rows of the page layout: single pages, or facing pages and folds as Scribus shows them.
    const std::vector<std::vector<int>>& spreads() const;
    // Index into spreads() of the row holding `page`.
    int spreadOf(int page) const;
    // The layout the document chooses (BOOK and its page set).
    PageLayout layout() const;

    // Every top-level item, in document order: a walk over the whole document.
    std::vector<pugi::xml_node> topLevelItems() const;
    // The page a top-level item belongs to when Scribus loads the file, or -1,
    // worked out from its attributes.
    int itemPage(pugi::xml_node item) const { return itemPlace(item).page; }
    ItemPlace itemPlace(pugi::xml_node item) const;
    ItemPlace placeOf(const ItemShape& shape) const;

    // Lays the pages out (throwing HostError when they cannot be) and indexes
    // the items by page and the identities in use; done once, when opened.
    void indexItems();
    // The top-level items on `pages`, in document order, as itemPage() places them.
    std::vector<PlacedItem> itemsOn(const std::vector<int>& pages);
    // Puts top-level items into document order.
    void sortInDocumentOrder(std::vector<pugi::xml_node>& items);
    // The last top-level item, or a null node.
    pugi::xml_node lastTopLevelItem() const;
    // The first child of DOCUMENT named `name` that is not an item (PAGE,
    // Sections, NotesFrames …), or a null node; found without walking the items.
    pugi::xml_node section(const char* name) const;
    // Names, ids and labels in use (see SlaIdentities.h).
    SlaIdentities& identities();

    std::shared_ptr<NodeHandle> handle(pugi::xml_node node);
    // Inserts a copy of `original` (with its subtree) after `anchor`, a sibling-to-be,
    // preceded by the white space that precedes `original`; returns the copy.
    pugi::xml_node insertCopyAfter(pugi::xml_node anchor, pugi::xml_node original);
    // Inserts a copy of `original` (with its subtree, and nothing else) before
    // `anchor`, a sibling-to-be; returns the copy.
    pugi::xml_node insertCopyBefore(pugi::xml_node anchor, pugi::xml_node original);
    // Moves `node` (with its subtree) before `anchor`.
    void moveBefore(pugi::xml_node node, pugi::xml_node anchor);
    void removeNode(pugi::xml_node node);

    // Writes an attribute; the document counts as changed only when the text differs.
    void setAttribute(pugi::xml_node node, const char* name, std::string_view value);
    // Writes `value` as Scribus writes numbers; returns what the text written reads as.
    double setNumber(pugi::xml_node node, const char* name, double value);
    // Rises with every edit of the document's nodes (attributes written,
    // nodes copied, moved or removed): what was read at one count still stands
    // while it is unchanged.
    std::uint64_t edits() const { return m_edits; }
    void markChanged() { m_changed = true; }
    void setChanged(bool changed) { m_changed = changed; }
    bool changed() const { return m_changed; }

    // Whether the file is gzip-compressed (then it is saved compressed too).
    bool compressed() const;

    // The document as text (uncompressed): unchanged parts exactly as they were read.
    std::string serialize() const;
    void writeTo(file::ByteSink& out) const;
    // Replaces the file (see file::DocumentFile::replace); throws HostError
    // and leaves the file as it was on failure.
    void save();

private:
    SlaDocument();
    void read();
    // The load checks; keeps what they found for indexItems() and identities().
    void check();
    // 1-based line of a byte offset in the text as read.
    int lineAt(std::ptrdiff_t offset) const;
    // Records a fresh copy (see SlaChanges::adoptCopy); throws when pugixml made none.
    pugi::xml_node adopt(pugi::xml_node copy);
    std::vector<pugi::xml_node> findPageNodes() const;
    // Brings the item index up to date with the page layout.
    void syncIndex();
    bool isTopLevelItem(pugi::xml_node node) const;
    bool isSection(pugi::xml_node node) const;
    // DOCUMENT's children other than items, in document order.
    const std::vector<pugi::xml_node>& sections() const;
    void sectionAdded(pugi::xml_node node);
    void sectionRemoved(pugi::xml_node node);

    std::filesystem::path m_path;
    std::unique_ptr<file::DocumentFile> m_file;
    std::unique_ptr<char[]> m_text;  // parsed in place: m_xml's strings point into it
    std::size_t m_textSize = 0;
    pugi::xml_document m_xml;
    pugi::xml_node m_document;  // DOCUMENT
    std::unique_ptr<SlaChanges> m_changes;
    bool m_changed = false;
    std::uint64_t m_edits = 0;
    bool m_hasBom = false;
    std::unordered_map<pugi::xml_node_struct*, std::shared_ptr<NodeHandle>> m_handles;
    // Finding the pages walks every element of the document, so each item asking
    // for its page would cost the whole document.
    mutable std::optional<std::vector<pugi::xml_node>> m_pageNodes;
    mutable std::optional<std::vector<PageRect>> m_pageRects;
    mutable std::optional<std::vector<std::vector<int>>> m_spreads;
    mutable std::optional<std::vector<pugi::xml_node>> m_sections;
    SlaItemIndex m_index{[this](pugi::xml_node item) { return itemPlace(item); }};
    std::vector<PageRect> m_indexedRects;  // the layout the index places items on
    bool m_layoutChecked = false;          // pages unchanged since the index was compared
    std::unique_ptr<SlaIdentities> m_identities;
    // The items and their shapes as read by the load checks, until indexed.
    std::optional<std::vector<ScannedItem>> m_scannedItems;
};

}  // namespace host::sla
