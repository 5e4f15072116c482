#pragma once

// One Scribus 1.5 document (.sla) held in memory. Lengths are points. Page
// rectangles are canvas coordinates where Scribus lays the pages out when it
// opens the file (it ignores the stored PAGEXPOS/PAGEYPOS); item positions are
// canvas coordinates too. Pages are numbered from 0 here.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

struct stat;

namespace host::sla {

struct PageRect {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
};

// How the pages are laid out in rows: pages per row and the column of the first page.
struct PageLayout {
    int columns = 1;
    int firstColumn = 0;
};

// A PAGEOBJECT element that may be removed (by an ungroup) while page items
// still refer to it; `alive` tells them.
struct NodeHandle {
    pugi::xml_node node;
    bool alive = true;
};

class SlaDocument {
public:
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

    std::vector<pugi::xml_node> topLevelItems() const;
    // The page a top-level item belongs to when Scribus loads the file, or -1.
    int itemPage(pugi::xml_node item) const;

    std::shared_ptr<NodeHandle> handle(pugi::xml_node node);
    void removeNode(pugi::xml_node node);
    // Inserts a copy of `original` (with its subtree) after `anchor`, a sibling-to-be,
    // preceded by the white space that precedes `original`; returns the copy.
    pugi::xml_node insertCopyAfter(pugi::xml_node anchor, pugi::xml_node original);

    // Writes an attribute; the document counts as changed only when the text differs.
    void setAttribute(pugi::xml_node node, const char* name, const std::string& value);
    void setNumber(pugi::xml_node node, const char* name, double value);
    void markChanged() { m_changed = true; }
    void setChanged(bool changed) { m_changed = changed; }
    bool changed() const { return m_changed; }

    // The document as text: unchanged parts exactly as they were read.
    std::string serialize() const;
    void serializeTo(pugi::xml_writer& writer) const;
    // Replaces the file atomically; throws HostError and leaves the file as it was on failure.
    void save();

private:
    SlaDocument() = default;
    // Keeps the size and modification time of the file as `info` describes it.
    void recordDiskState(const struct stat& info);
    std::vector<pugi::xml_node> findPageNodes() const;
    std::vector<PageRect> layOutPages() const;
    std::vector<std::vector<int>> findSpreads() const;

    struct DiskState {
        long long size = -1;
        long long modifiedNs = -1;
    };

    std::filesystem::path m_path;
    pugi::xml_document m_xml;
    bool m_changed = false;
    bool m_hasBom = false;
    DiskState m_diskState;  // when loaded or last saved, to refuse overwriting newer edits
    std::unordered_map<pugi::xml_node_struct*, std::shared_ptr<NodeHandle>> m_handles;
    // Finding the pages walks every element of the document, so each item asking
    // for its page would cost the whole document.
    mutable std::optional<std::vector<pugi::xml_node>> m_pageNodes;
    mutable std::optional<std::vector<PageRect>> m_pageRects;
    mutable std::optional<std::vector<std::vector<int>>> m_spreads;
};

}  // namespace host::sla
