#pragma once

// Which parts of a parsed document still stand as they were read, so that
// saving can copy them from the file byte for byte (SlaWriter.h).
//
// A node is "as read" when it was parsed from the text (its name or value
// still points into the parse buffer) and nothing in it has changed since.
// Copies never count as read: pugixml lets a copy share its source's strings,
// so adoptCopy() moves a copy's strings out of the buffer. Freed node memory
// that pugixml reuses belongs to a new node, whose strings are not in the
// buffer either; the sets below are only ever looked up, never followed.

#include <cstddef>
#include <optional>
#include <unordered_set>

#include <pugixml.hpp>

namespace host::sla {

// How documents are parsed, in place: everything the file holds is kept as
// nodes (white space, comments, the declaration); attribute values keep raw
// tabs and line ends; entity and character references are decoded.
inline constexpr unsigned kParseFlags =
    (pugi::parse_full | pugi::parse_ws_pcdata | pugi::parse_fragment) & ~pugi::parse_eol &
    ~pugi::parse_wconv_attribute;

class SlaChanges {
public:
    // `text` is the buffer the document was parsed from in place, `size` bytes long.
    SlaChanges(const char* text, std::size_t size) : m_text(text), m_size(size) {}

    // Records that `element`'s attributes were written with a different value.
    void attributesChanged(pugi::xml_node element);
    // Records that `parent` gained, lost or reordered children.
    void childrenChanged(pugi::xml_node parent);
    // Makes a freshly copied subtree count as new.
    void adoptCopy(pugi::xml_node copy);

    // Byte offset in the text where a node that was read starts; nothing for a new node.
    std::optional<std::size_t> begin(pugi::xml_node node) const;
    // Read, and neither it nor anything inside it changed.
    bool asRead(pugi::xml_node node) const { return begin(node) && !m_open.count(key(node)); }
    // Its own attributes are as read (its children may have changed).
    bool attributesAsRead(pugi::xml_node node) const { return !m_touched.count(key(node)); }

private:
    static const void* key(pugi::xml_node node) { return node.internal_object(); }
    bool inText(const char* string) const { return string >= m_text && string < m_text + m_size; }
    void open(pugi::xml_node node);

    const char* m_text;
    std::size_t m_size;
    std::unordered_set<const void*> m_touched;  // elements whose attributes changed
    std::unordered_set<const void*> m_open;     // changed nodes and every ancestor of one
};

}  // namespace host::sla
