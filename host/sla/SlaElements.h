#pragma once

// Walking a .sla document's elements.

#include <vector>

#include <pugixml.hpp>

namespace host::sla {

// Calls `visit` with `root` and every element below it, each before its
// children, in document order. Iterative: the load checks bound the depth,
// but a walk need not rely on it.
template <typename Visit>
void forEachElement(pugi::xml_node root, Visit visit) {
    std::vector<pugi::xml_node> pending{root};
    while (!pending.empty()) {
        const pugi::xml_node node = pending.back();
        pending.pop_back();
        visit(node);
        for (pugi::xml_node child = node.last_child(); child; child = child.previous_sibling()) {
            if (child.type() == pugi::node_element) {
                pending.push_back(child);
            }
        }
    }
}

}  // namespace host::sla
