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
#include <vector>

#include <pugixml.hpp>

#include "host/sla/file/ByteStream.h"
#include "host/sla/index/SlaDocumentIndex.h"
#include "host/sla/read/SlaGeometry.h"
#include "host/sla/write/SlaEdits.h"
#include "host/sla/write/SlaParsedFile.h"

namespace host::sla {

// Over three parts: the file as read and written back (SlaParsedFile), what is
// found in it without walking it again (SlaDocumentIndex), and the edits
// (SlaEdits). Each edit goes to the edits and is told to the index.
class SlaDocument {
public:
    ~SlaDocument();
    SlaDocument(const SlaDocument&) = delete;
    SlaDocument& operator=(const SlaDocument&) = delete;

    // Reads and checks the file; throws HostError naming the file and the reason.
    static std::shared_ptr<SlaDocument> load(const std::filesystem::path& path);

    const std::filesystem::path& path() const { return m_file.path(); }
    pugi::xml_node documentNode() const { return m_file.documentNode(); }

    // DOCUMENT's default page size.
    double pageWidth() const { return m_index.pageWidth(); }
    double pageHeight() const { return m_index.pageHeight(); }

    // Pages, their rectangles and the rows are worked out once and kept until a
    // page changes (see pagesChanged()), which also ends the references given out.
    const std::vector<pugi::xml_node>& pageNodes() const { return m_index.pageNodes(); }
    const std::vector<PageRect>& pageRects() const { return m_index.pageRects(); }
    // Drops the kept pages, page rectangles and rows. Writes through setAttribute to the
    // document, its pages or its page sets do this themselves; call it after
    // adding or removing a PAGE element directly.
    void pagesChanged() { m_index.pagesChanged(); }
    // Rows of the page layout: single pages, or facing pages and folds as Scribus shows them.
    const std::vector<std::vector<int>>& spreads() const { return m_index.spreads(); }
    // Index into spreads() of the row holding `page`.
    int spreadOf(int page) const { return m_index.spreadOf(page); }
    // The layout the document chooses (BOOK and its page set).
    PageLayout layout() const { return m_index.layout(); }

    // Every top-level item, in document order: a walk over the whole document.
    std::vector<pugi::xml_node> topLevelItems() const;
    // The page a top-level item belongs to when Scribus loads the file, or -1,
    // worked out from its attributes.
    int itemPage(pugi::xml_node item) const { return itemPlace(item).page; }
    ItemPlace itemPlace(pugi::xml_node item) const;
    ItemPlace placeOf(const ItemShape& shape) const { return m_index.placeOf(shape); }

    // Lays the pages out (throwing HostError when they cannot be) and indexes
    // the items by page and the identities in use; done once, when opened.
    void indexItems() { m_index.indexItems(); }
    // The top-level items on `pages`, in document order, as itemPage() places them.
    std::vector<PlacedItem> itemsOn(const std::vector<int>& pages) {
        return m_index.itemsOn(pages);
    }
    // Puts top-level items into document order.
    void sortInDocumentOrder(std::vector<pugi::xml_node>& items) {
        m_index.sortInDocumentOrder(items);
    }
    // The last top-level item, or a null node.
    pugi::xml_node lastTopLevelItem() const { return m_index.lastTopLevelItem(); }
    // The first child of DOCUMENT named `name` that is not an item (PAGE,
    // Sections, NotesFrames …), or a null node; found without walking the items.
    pugi::xml_node section(const char* name) const { return m_index.section(name); }
    // Names, ids and labels in use (see SlaIdentities.h).
    SlaIdentities& identities() { return m_index.identities(); }

    NodeHandle handle(pugi::xml_node node) const { return m_edits.handle(node); }
    bool alive(const NodeHandle& handle) const { return m_edits.alive(handle); }
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
    std::uint64_t edits() const { return m_edits.count(); }
    // The frame the last write of an item's frame left in `item`, as long as
    // nothing was edited since: a sheet's rectangles get their bounds and
    // then their angle, and the second write need not read the first back.
    std::optional<Frame> lastWrittenFrame(pugi::xml_node item) const {
        if (m_lastWritten && m_lastWritten->item == item && m_lastWritten->at == edits()) {
            return m_lastWritten->frame;
        }
        return std::nullopt;
    }
    // Call just after writing `frame` into `item`.
    void wroteFrame(pugi::xml_node item, const Frame& frame) {
        m_lastWritten = WrittenFrame{item, frame, edits()};
    }
    void markChanged() { m_edits.setChanged(true); }
    void setChanged(bool changed) { m_edits.setChanged(changed); }
    bool changed() const { return m_edits.changed(); }

    // Whether the file is gzip-compressed (then it is saved compressed too).
    bool compressed() const { return m_file.compressed(); }

    // The document as text (uncompressed): unchanged parts exactly as they were read.
    std::string serialize() const;
    void writeTo(file::ByteSink& out) const;
    // Replaces the file (see file::DocumentFile::replace); throws HostError
    // and leaves the file as it was on failure.
    void save();

private:
    explicit SlaDocument(const std::filesystem::path& path);

    struct WrittenFrame {
        pugi::xml_node item;
        Frame frame;
        std::uint64_t at = 0;  // the edit count just after the write
    };

    SlaParsedFile m_file;
    SlaEdits m_edits;
    SlaDocumentIndex m_index;
    std::optional<WrittenFrame> m_lastWritten;
};

}  // namespace host::sla
