#include "host/sla/write/SlaEdits.h"

#include "host/HostError.h"

namespace host::sla {

void SlaEdits::start(const char* text, std::size_t size) {
    m_changes = std::make_unique<SlaChanges>(text, size);
}

void SlaEdits::outOfMemory() const {
    // pugixml refuses a change only when out of memory (or misused).
    throw HostError("Cannot change \"" + m_path.string() + "\": there is not enough memory.");
}

bool SlaEdits::alive(const NodeHandle& handle) const {
    if (m_removedAt.empty()) {
        return true;  // the common case: nothing was ever removed
    }
    const auto found = m_removedAt.find(handle.node.internal_object());
    return found == m_removedAt.end() || found->second <= handle.removalsBefore;
}

void SlaEdits::setAttribute(pugi::xml_node node, pugi::xml_attribute attribute, const char* name,
                            std::string_view value) {
    ++m_count;
    if (!attribute) {
        attribute = node.append_attribute(name);
    }
    if (!attribute.set_value(value.data(), value.size())) {
        outOfMemory();
    }
    m_changes->attributesChanged(node);
    m_changed = true;
}

pugi::xml_node SlaEdits::insertCopyAfter(pugi::xml_node anchor, pugi::xml_node original) {
    const pugi::xml_node indent = original.previous_sibling();
    if (indent.type() == pugi::node_pcdata) {
        anchor = adopt(anchor.parent().insert_copy_after(indent, anchor));
    }
    return adopt(anchor.parent().insert_copy_after(original, anchor));
}

pugi::xml_node SlaEdits::insertCopyBefore(pugi::xml_node anchor, pugi::xml_node original) {
    return adopt(anchor.parent().insert_copy_before(original, anchor));
}

pugi::xml_node SlaEdits::adopt(pugi::xml_node copy) {
    ++m_count;
    if (!copy) {
        outOfMemory();
    }
    m_changes->adoptCopy(copy);
    m_changes->childrenChanged(copy.parent());
    m_changed = true;
    return copy;
}

void SlaEdits::moveBefore(pugi::xml_node node, pugi::xml_node anchor) {
    ++m_count;
    m_changes->childrenChanged(node.parent());
    if (!anchor.parent().insert_move_before(node, anchor)) {
        outOfMemory();
    }
    m_changes->childrenChanged(node.parent());
    m_changed = true;
}

void SlaEdits::removeNode(pugi::xml_node node) {
    ++m_count;
    // Its memory may go to a later node: handles made until now are retired.
    m_removedAt[node.internal_object()] = ++m_removals;
    m_changes->childrenChanged(node.parent());
    node.parent().remove_child(node);
    m_changed = true;
}

}  // namespace host::sla
