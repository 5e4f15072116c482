#include "host/sla/SlaDocument.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/HostError.h"
#include "host/sla/read/SlaGeometry.h"
#include "host/sla/read/SlaNumbers.h"

namespace host::sla {

namespace {

// Elements whose attributes place or size the pages.
bool shapesLayout(pugi::xml_node node) {
    const char* name = node.name();
    return std::strcmp(name, "PAGE") == 0 || std::strcmp(name, "DOCUMENT") == 0 ||
           std::strcmp(name, "Set") == 0;
}

// Attributes that decide which page a top-level item is on (itemPlace()).
bool decidesPlace(const char* name) {
    for (const char* decisive : {"XPOS", "YPOS", "WIDTH", "HEIGHT", "ROT", "PTYPE", "OwnPage"}) {
        if (name[0] == decisive[0] && std::strcmp(name, decisive) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

pugi::xml_node SlaDocument::documentNode() const {
    return m_document;
}

double SlaDocument::pageWidth() const {
    return numberAttribute(documentNode(), "PAGEWIDTH",
                           numberAttribute(pageNodes()[0], "PAGEWIDTH"));
}

double SlaDocument::pageHeight() const {
    return numberAttribute(documentNode(), "PAGEHEIGHT",
                           numberAttribute(pageNodes()[0], "PAGEHEIGHT"));
}

const std::vector<pugi::xml_node>& SlaDocument::pageNodes() const {
    if (!m_pageNodes) {
        m_pageNodes = findPageNodes();
    }
    return *m_pageNodes;
}

const std::vector<PageRect>& SlaDocument::pageRects() const {
    if (!m_pageRects) {
        m_pageRects =
            layOutPages(documentNode(), pageNodes(), layout(), pageWidth(), m_path.string());
    }
    return *m_pageRects;
}

void SlaDocument::pagesChanged() {
    m_pageNodes.reset();
    m_pageRects.reset();
    m_spreads.reset();
    m_layoutChecked = false;
}

std::vector<pugi::xml_node> SlaDocument::findPageNodes() const {
    std::vector<pugi::xml_node> pages;
    for (pugi::xml_node node : sections()) {
        if (std::strcmp(node.name(), "PAGE") == 0) {
            pages.push_back(node);
        }
    }
    return pages;
}

PageLayout SlaDocument::layout() const {
    return layoutOf(documentNode(), section("PageSets"));
}

const std::vector<std::vector<int>>& SlaDocument::spreads() const {
    if (!m_spreads) {
        m_spreads = spreadsOf(static_cast<int>(pageNodes().size()), layout());
    }
    return *m_spreads;
}

int SlaDocument::spreadOf(int page) const {
    const auto& rows = spreads();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (std::find(rows[row].begin(), rows[row].end(), page) != rows[row].end()) {
            return static_cast<int>(row);
        }
    }
    throw HostError("\"" + m_path.string() + "\" has no page " + std::to_string(page + 1) + ".");
}

pugi::xml_node SlaDocument::insertCopyAfter(pugi::xml_node anchor, pugi::xml_node original) {
    const pugi::xml_node indent = original.previous_sibling();
    if (indent.type() == pugi::node_pcdata) {
        anchor = adopt(anchor.parent().insert_copy_after(indent, anchor));
    }
    return adopt(anchor.parent().insert_copy_after(original, anchor));
}

pugi::xml_node SlaDocument::insertCopyBefore(pugi::xml_node anchor, pugi::xml_node original) {
    return adopt(anchor.parent().insert_copy_before(original, anchor));
}

pugi::xml_node SlaDocument::adopt(pugi::xml_node copy) {
    if (!copy) {
        // pugixml refuses a copy only when out of memory or misused.
        throw HostError("Cannot change \"" + m_path.string() + "\": there is not enough memory.");
    }
    ++m_edits;
    m_changes->adoptCopy(copy);
    m_changes->childrenChanged(copy.parent());
    if (isTopLevelItem(copy)) {
        m_index.added(m_document, copy);
    } else if (isSection(copy)) {
        sectionAdded(copy);
    }
    if (std::strcmp(copy.name(), "PAGE") == 0) {
        pagesChanged();
    }
    m_changed = true;
    return copy;
}

void SlaDocument::moveBefore(pugi::xml_node node, pugi::xml_node anchor) {
    ++m_edits;
    m_changes->childrenChanged(node.parent());
    m_index.removed(node);
    if (isSection(node)) {
        sectionRemoved(node);
    }
    if (!anchor.parent().insert_move_before(node, anchor)) {
        throw HostError("Cannot change \"" + m_path.string() + "\": there is not enough memory.");
    }
    m_changes->childrenChanged(node.parent());
    if (isTopLevelItem(node)) {
        m_index.added(m_document, node);
    } else if (isSection(node)) {
        sectionAdded(node);
    }
    if (std::strcmp(node.name(), "PAGE") == 0) {
        pagesChanged();
    }
    m_changed = true;
}

std::shared_ptr<NodeHandle> SlaDocument::handle(pugi::xml_node node) {
    auto& slot = m_handles[node.internal_object()];
    if (!slot) {
        slot = std::make_shared<NodeHandle>(NodeHandle{node, true});
    }
    return slot;
}

void SlaDocument::removeNode(pugi::xml_node node) {
    ++m_edits;
    // Its memory may be reused by a later node: retire the handle before removing.
    if (const auto found = m_handles.find(node.internal_object()); found != m_handles.end()) {
        found->second->alive = false;
        m_handles.erase(found);
    }
    const bool page = std::strcmp(node.name(), "PAGE") == 0;
    m_changes->childrenChanged(node.parent());
    m_index.removed(node);
    if (isSection(node)) {
        sectionRemoved(node);
    }
    node.parent().remove_child(node);
    if (page) {
        pagesChanged();
    }
    m_changed = true;
}

void SlaDocument::setAttribute(pugi::xml_node node, const char* name, std::string_view value) {
    pugi::xml_attribute attribute = node.attribute(name);
    if (attribute && value == attribute.value()) {
        return;
    }
    ++m_edits;
    if (shapesLayout(node)) {
        pagesChanged();
    }
    if (decidesPlace(name) && node.parent() == m_document) {
        m_index.changed(node);
    }
    // pugixml writes a value no longer than the old one over it in place.
    if (attribute && m_identities && std::strcmp(name, "ANNAME") == 0 &&
        value.size() <= std::strlen(attribute.value())) {
        m_identities->release(attribute.value());
    }
    if (!attribute) {
        attribute = node.append_attribute(name);
    }
    if (!attribute.set_value(value.data(), value.size())) {
        throw HostError("Cannot change \"" + m_path.string() + "\": there is not enough memory.");
    }
    m_changes->attributesChanged(node);
    m_changed = true;
}

double SlaDocument::setNumber(pugi::xml_node node, const char* name, double value) {
    const NumberText text(value);
    setAttribute(node, name, text.view());
    return parseNumber(text.view()).value_or(value);
}

}  // namespace host::sla
