#pragma once

// The identities in use anywhere in a document, that a copy of a page must
// not repeat: item names (ANNAME), item ids (ItemID) and mark labels. Found
// once, in one walk over the whole document; each fresh one handed out is
// added. One that was in use stays taken for the rest of the session, even
// when its element has gone (a dissolved group): a fresh identity never
// repeats one the document held.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include <pugixml.hpp>

namespace host::sla {

class SlaIdentities {
public:
    // Collects from every element under `root`. Names whose text lies in
    // [textBegin, textEnd) (the parse buffer, which never changes) are
    // referred to there; others are copied.
    void collect(pugi::xml_node root, const char* textBegin, const char* textEnd);
    // The same in steps, for a walk of the caller's: start(), then add() for
    // each element (its ANNAME, ItemID and, for a MARK, label; each may be
    // null), then finish() with DOCUMENT's Marks and Notes (may be null nodes).
    void start(const char* textBegin, const char* textEnd);
    void add(const char* name, const char* id, const char* markLabel);
    void finish(pugi::xml_node marks, pugi::xml_node notes);

    bool nameTaken(std::string_view name) const { return m_names.count(name) != 0; }
    void takeName(std::string_view name);
    // The text at `value`, a name in use, is about to be overwritten: the
    // name is kept as a copy of its own.
    void release(const char* value);

    // One past the highest id; past INT_MAX (where Scribus keeps ids in an
    // int), the lowest free one from 1.
    long long freshId();

    // Labels of the marks defined, of the notes and of the marks in texts.
    std::set<std::string>& labels() { return m_labels; }

private:
    // A document's copies bring tens of thousands of short names: the set
    // keeps no hash beside each (std::hash<std::string_view> would), and
    // names not in the parse buffer are kept together in large blocks.
    struct NameHash {
        std::size_t operator()(std::string_view name) const noexcept {
            return std::hash<std::string_view>{}(name);
        }
    };
    std::string_view keepOwn(std::string_view name);

    std::unordered_set<std::string_view, NameHash> m_names;
    std::vector<std::unique_ptr<char[]>> m_ownBlocks;  // names not in the parse buffer
    char* m_ownNext = nullptr;
    std::size_t m_ownLeft = 0;
    const char* m_textBegin = nullptr;  // the parse buffer
    const char* m_textEnd = nullptr;
    std::optional<long long> m_highestId;
    std::vector<long long> m_ids;                 // every id, for a search below INT_MAX
    std::optional<std::set<long long>> m_idsSet;  // made from m_ids once that search is needed
    std::set<std::string> m_labels;
};

}  // namespace host::sla
