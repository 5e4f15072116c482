#include "host/sla/index/SlaIdentities.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "host/sla/read/SlaNumbers.h"

namespace host::sla {

void SlaIdentities::collect(pugi::xml_node root, const char* textBegin, const char* textEnd) {
    start(textBegin, textEnd);
    // Iterative: the load checks bound the depth, but a walk need not rely on it.
    std::vector<pugi::xml_node> pending{root};
    while (!pending.empty()) {
        const pugi::xml_node node = pending.back();
        pending.pop_back();
        const bool mark = std::strcmp(node.name(), "MARK") == 0;
        for (pugi::xml_attribute attribute = node.first_attribute(); attribute;
             attribute = attribute.next_attribute()) {
            const char* name = attribute.name();
            if (name[0] == 'A' && std::strcmp(name, "ANNAME") == 0) {
                add(attribute.value(), nullptr, nullptr);
            } else if (name[0] == 'I' && std::strcmp(name, "ItemID") == 0) {
                add(nullptr, attribute.value(), nullptr);
            } else if (mark && std::strcmp(name, "label") == 0) {
                add(nullptr, nullptr, attribute.value());
            }
        }
        for (pugi::xml_node child = node.last_child(); child; child = child.previous_sibling()) {
            if (child.type() == pugi::node_element) {
                pending.push_back(child);
            }
        }
    }
    finish(root.child("Marks"), root.child("Notes"));
}

void SlaIdentities::start(const char* textBegin, const char* textEnd) {
    m_textBegin = textBegin;
    m_textEnd = textEnd;
}

void SlaIdentities::add(const char* name, const char* id, const char* markLabel) {
    if (name) {
        if (name >= m_textBegin && name < m_textEnd) {
            m_names.insert(name);
        } else {
            takeName(name);
        }
    }
    if (id) {
        if (const auto value = parseInteger(id)) {
            m_ids.push_back(*value);
            m_highestId = std::max(m_highestId.value_or(*value), static_cast<long long>(*value));
        }
    }
    if (markLabel) {
        m_labels.insert(markLabel);
    }
}

void SlaIdentities::finish(pugi::xml_node marks, pugi::xml_node notes) {
    for (pugi::xml_node mark : marks.children("Mark")) {
        m_labels.insert(mark.attribute("label").value());
    }
    for (pugi::xml_node note : notes.children("Note")) {
        m_labels.insert(note.attribute("Master").value());
    }
}

void SlaIdentities::takeName(std::string_view name) {
    if (m_names.count(name) == 0) {
        m_names.insert(keepOwn(name));
    }
}

void SlaIdentities::release(const char* value) {
    if (value < m_textBegin || value >= m_textEnd) {
        return;  // a name of its own, never written over
    }
    const auto found = m_names.find(std::string_view(value));
    if (found != m_names.end() && found->data() == value) {
        const std::string_view kept = keepOwn(*found);
        m_names.erase(found);
        m_names.insert(kept);
    }
}

std::string_view SlaIdentities::keepOwn(std::string_view name) {
    constexpr std::size_t kBlock = std::size_t{64} << 10;
    if (name.size() > m_ownLeft) {
        const std::size_t size = std::max(kBlock, name.size());
        m_ownBlocks.push_back(std::make_unique<char[]>(size));
        m_ownNext = m_ownBlocks.back().get();
        m_ownLeft = size;
    }
    const std::string_view kept(m_ownNext, name.size());
    std::copy(name.begin(), name.end(), m_ownNext);
    m_ownNext += name.size();
    m_ownLeft -= name.size();
    return kept;
}

long long SlaIdentities::freshId() {
    long long id = m_highestId ? *m_highestId + 1 : 1;
    if (id > INT_MAX) {
        // Scribus keeps ids in an int: look for a gap from the bottom.
        if (!m_idsSet) {
            m_idsSet.emplace(m_ids.begin(), m_ids.end());
            m_ids.clear();
        }
        for (id = 1; m_idsSet->count(id) != 0; ++id) {
        }
        m_idsSet->insert(id);
        return id;
    }
    m_highestId = id;
    m_ids.push_back(id);
    return id;
}

}  // namespace host::sla
