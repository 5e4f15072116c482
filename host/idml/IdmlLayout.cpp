// Where a document's pages lie and the edits the host objects make to it.

#include <cstring>

#include "host/HostError.h"
#include "host/idml/IdmlDocument.h"

namespace host::idml {

std::vector<pugi::xml_node> IdmlDocument::pagesOf(std::size_t spread) const {
    std::vector<pugi::xml_node> pages;
    for (pugi::xml_node page : m_spreads.at(spread)->spread.children("Page")) {
        pages.push_back(page);
    }
    return pages;
}

int IdmlDocument::pageCount() const {
    std::size_t count = 0;
    for (std::size_t i = 0; i < m_spreads.size(); ++i) {
        count += pagesOf(i).size();
    }
    return static_cast<int>(count);
}

std::size_t IdmlDocument::spreadOfPage(int index) const {
    for (std::size_t i = 0; i < m_spreads.size(); ++i) {
        const auto pages = static_cast<int>(pagesOf(i).size());
        if (index < pages) {
            return i;
        }
        index -= pages;
    }
    throw HostError("The document has no page " + std::to_string(index + 1) + ".");
}

std::size_t IdmlDocument::indexOf(pugi::xml_node spread) const {
    for (std::size_t i = 0; i < m_spreads.size(); ++i) {
        if (m_spreads[i]->spread == spread) {
            return i;
        }
    }
    throw HostError("The spread is no longer part of the document.");
}

PagePlace IdmlDocument::placeOf(pugi::xml_node page) const {
    PagePlace place;
    double left = 0.0;
    double top = 0.0;
    Transform onSpread;
    if (const auto bounds = parseNumbers(page.attribute("GeometricBounds").value());
        bounds && bounds->size() == 4) {
        top = (*bounds)[0];
        left = (*bounds)[1];
        place.height = (*bounds)[2] - top;
        place.width = (*bounds)[3] - left;
    } else {
        place.height = m_pageHeight;
        place.width = m_pageWidth;
    }
    if (const auto transform = parseTransform(page.attribute("ItemTransform").value())) {
        onSpread = *transform;
    } else {
        // InDesign CS4 stores neither: the spread's origin is the binding in a
        // facing document, and the pages are centred on it otherwise.
        const pugi::xml_node spread = page.parent();
        int index = 0;
        for (pugi::xml_node before = page.previous_sibling("Page"); before;
             before = before.previous_sibling("Page")) {
            ++index;
        }
        const double binding = m_facing ? spread.attribute("BindingLocation").as_double()
                                        : spread.attribute("PageCount").as_double(1.0) / 2.0;
        onSpread = Transform::translation((index - binding) * place.width, -place.height / 2.0);
    }
    place.toPage = Transform::translation(-left, -top).after(onSpread.inverse());
    return place;
}

std::shared_ptr<NodeHandle> IdmlDocument::handle(pugi::xml_node node) {
    auto& slot = m_handles[node.internal_object()];
    if (!slot) {
        slot = std::make_shared<NodeHandle>(NodeHandle{node, true});
    }
    return slot;
}

void IdmlDocument::markChanged(pugi::xml_node inSpread) {
    pugi::xml_node top = inSpread;
    while (top.parent() && top.parent().type() != pugi::node_document) {
        top = top.parent();
    }
    for (const auto& part : m_spreads) {
        if (part->xml.document_element() == top) {
            part->changed = true;
        }
    }
    m_changed = true;
}

void IdmlDocument::removeNode(pugi::xml_node node) {
    // A removed node's memory may be reused by a later one: retire its handle first.
    if (const auto found = m_handles.find(node.internal_object()); found != m_handles.end()) {
        found->second->alive = false;
        m_handles.erase(found);
    }
    markChanged(node);
    node.parent().remove_child(node);
}

void IdmlDocument::setAttribute(pugi::xml_node node, const char* name, const std::string& value) {
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) {
        attribute = node.append_attribute(name);
    }
    if (!attribute.set_value(value.c_str())) {
        throw HostError("Cannot change \"" + m_path.string() + "\": there is not enough memory.");
    }
    markChanged(node);
}

SpreadPart& IdmlDocument::insertSpread(std::size_t after, std::unique_ptr<SpreadPart> part) {
    // Listed right after the spread it follows, on a line of its own as InDesign lists them.
    pugi::xml_node document = m_designmap.child("Document");
    pugi::xml_node anchor;
    for (pugi::xml_node listed : document.children("idPkg:Spread")) {
        if (m_spreads.at(after)->entry == listed.attribute("src").value()) {
            anchor = listed;
        }
    }
    if (!anchor) {
        throw HostError("The spread is no longer listed in \"designmap.xml\".");
    }
    pugi::xml_node entry = document.insert_child_after("idPkg:Spread", anchor);
    entry.append_attribute("src") = part->entry.c_str();
    if (const pugi::xml_node space = anchor.previous_sibling(); space.type() == pugi::node_pcdata) {
        document.insert_copy_after(space, anchor);
    }
    designmapChanged();
    part->changed = true;
    m_spreads.insert(m_spreads.begin() + static_cast<std::ptrdiff_t>(after) + 1, std::move(part));
    m_changed = true;
    return *m_spreads[after + 1];
}

}  // namespace host::idml
