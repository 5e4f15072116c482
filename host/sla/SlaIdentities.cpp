#include "host/sla/SlaIdentities.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "host/sla/SlaNumbers.h"

namespace host::sla {

void SlaIdentities::collect(pugi::xml_node root, const char* textBegin, const char* textEnd) {
    m_textBegin = textBegin;
    m_textEnd = textEnd;
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
                const char* value = attribute.value();
                if (value >= textBegin && value < textEnd) {
                    m_names.insert(value);
                } else {
                    takeName(value);
                }
            } else if (name[0] == 'I' && std::strcmp(name, "ItemID") == 0) {
                if (const auto id = parseInteger(attribute.value())) {
                    m_ids.push_back(*id);
                    m_highestId = std::max(m_highestId.value_or(*id), static_cast<long long>(*id));
                }
            } else if (mark && std::strcmp(name, "label") == 0) {
                m_labels.insert(attribute.value());
            }
        }
        for (pugi::xml_node child = node.last_child(); child; child = child.previous_sibling()) {
            if (child.type() == pugi::node_element) {
                pending.push_back(child);
            }
        }
    }
    for (pugi::xml_node mark : root.child("Marks").children("Mark")) {
        m_labels.insert(mark.attribute("label").value());
    }
    for (pugi::xml_node note : root.child("Notes").children("Note")) {
        m_labels.insert(note.attribute("Master").value());
    }
}

void SlaIdentities::takeName(std::string_view name) {
    if (m_names.count(name) == 0) {
        m_names.insert(m_ownNames.emplace_back(name));
    }
}

void SlaIdentities::release(const char* value) {
    if (value < m_textBegin || value >= m_textEnd) {
        return;  // a name of its own, never written over
    }
    const auto found = m_names.find(std::string_view(value));
    if (found != m_names.end() && found->data() == value) {
        const std::string_view kept = m_ownNames.emplace_back(*found);
        m_names.erase(found);
        m_names.insert(kept);
    }
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
