#pragma once

// The edits made to a parsed document, each recorded (SlaChanges.h) so that
// saving writes what changed and copies the rest byte for byte; whether the
// document changed since it was read or last saved; and handles on elements
// that an edit may remove while others still refer to them.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>

#include <pugixml.hpp>

#include "host/sla/write/SlaChanges.h"

namespace host::sla {

// A PAGEOBJECT element as a page item refers to it. An edit may remove the
// element (an ungroup) while items still refer to it, and pugixml may then
// give its memory to a node made later: SlaEdits::alive() tells the two apart
// by the removals done before the handle was made. A plain value, so that
// 32,735 items need no record of their own beside the document's.
struct NodeHandle {
    pugi::xml_node node;
    std::uint64_t removalsBefore = 0;
};

class SlaEdits {
public:
    // `path` names the document in messages.
    explicit SlaEdits(std::filesystem::path path) : m_path(std::move(path)) {}

    // Starts recording over `size` bytes of `text`, the buffer the document
    // was parsed from in place.
    void start(const char* text, std::size_t size);
    const SlaChanges& changes() const { return *m_changes; }

    NodeHandle handle(pugi::xml_node node) const { return {node, m_removals}; }
    // Whether the element `handle` was made for is still in the document.
    bool alive(const NodeHandle& handle) const;

    // Writes `value` into `attribute` of `node` (a null attribute: a new one
    // named `name`), a value that differs from the one there.
    void setAttribute(pugi::xml_node node, pugi::xml_attribute attribute, const char* name,
                      std::string_view value);
    // See SlaDocument's methods of the same names.
    pugi::xml_node insertCopyAfter(pugi::xml_node anchor, pugi::xml_node original);
    pugi::xml_node insertCopyBefore(pugi::xml_node anchor, pugi::xml_node original);
    void moveBefore(pugi::xml_node node, pugi::xml_node anchor);
    void removeNode(pugi::xml_node node);

    void setChanged(bool changed) { m_changed = changed; }
    bool changed() const { return m_changed; }
    // Rises with every edit (attributes written, nodes copied, moved or
    // removed): what was read at one count still stands while it is unchanged.
    std::uint64_t count() const { return m_count; }

private:
    // Records a fresh copy (see SlaChanges::adoptCopy); throws when pugixml made none.
    pugi::xml_node adopt(pugi::xml_node copy);
    [[noreturn]] void outOfMemory() const;

    std::filesystem::path m_path;
    std::unique_ptr<SlaChanges> m_changes;
    bool m_changed = false;
    std::uint64_t m_count = 0;
    std::uint64_t m_removals = 0;
    // For every address an element was removed from, the number of that
    // removal (counted from 1), the last one there.
    std::unordered_map<const pugi::xml_node_struct*, std::uint64_t> m_removedAt;
};

}  // namespace host::sla
