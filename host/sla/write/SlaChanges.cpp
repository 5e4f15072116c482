#include "host/sla/write/SlaChanges.h"

#include <cstring>
#include <stdexcept>

namespace host::sla {

namespace {

// Where pugixml keeps the string that locates each kind of node, and how far
// before it the node's markup starts ("<", "<?", "<!--", "<![CDATA[").
struct Anchor {
    bool byName;
    std::size_t lead;
};

std::optional<Anchor> anchorOf(pugi::xml_node_type type) {
    switch (type) {
        case pugi::node_element:
            return Anchor{true, 1};
        case pugi::node_pi:
        case pugi::node_declaration:
            return Anchor{true, 2};
        case pugi::node_pcdata:
            return Anchor{false, 0};
        case pugi::node_comment:
            return Anchor{false, 4};
        case pugi::node_cdata:
            return Anchor{false, 9};
        default:
            return std::nullopt;  // the document itself, and DOCTYPE (never in .sla files): written
                                  // anew
    }
}

}  // namespace

void SlaChanges::open(pugi::xml_node node) {
    for (; node && m_open.insert(key(node)).second; node = node.parent()) {
    }
}

void SlaChanges::attributesChanged(pugi::xml_node element) {
    // An element that was not read is written whole, whatever changed in it:
    // nothing to record but that its parent is open (which its arrival
    // recorded already). Copies of 32,735 items would otherwise take two
    // records each.
    if (!begin(element)) {
        open(element.parent());
        return;
    }
    m_touched.insert(key(element));
    open(element);
}

void SlaChanges::childrenChanged(pugi::xml_node parent) {
    open(parent);
}

void SlaChanges::adoptCopy(pugi::xml_node copy) {
    // A string shared with the source makes pugixml allocate a new one on any set.
    const auto adopt = [this](pugi::xml_node node) {
        const std::optional<Anchor> anchor = anchorOf(node.type());
        if (!anchor) {
            return;
        }
        if (anchor->byName ? !node.set_name(node.name()) : !node.set_value(node.value())) {
            throw std::bad_alloc();
        }
        if (inText(anchor->byName ? node.name() : node.value())) {
            throw std::logic_error("a copied node still points into the document's text");
        }
    };
    adopt(copy);
    for (pugi::xml_node node = copy.first_child(); node;) {
        adopt(node);
        // Depth-first without recursion, staying inside the copy.
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node != copy && !node.next_sibling()) {
            node = node.parent();
        }
        node = node == copy ? pugi::xml_node() : node.next_sibling();
    }
}

std::optional<std::size_t> SlaChanges::begin(pugi::xml_node node) const {
    const std::optional<Anchor> anchor = anchorOf(node.type());
    if (!anchor) {
        return std::nullopt;
    }
    const char* string = anchor->byName ? node.name() : node.value();
    if (!inText(string) || static_cast<std::size_t>(string - m_text) < anchor->lead) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(string - m_text) - anchor->lead;
}

}  // namespace host::sla
