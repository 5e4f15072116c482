#include "host/sla/read/SlaCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "host/sla/read/SlaNumbers.h"
#include "host/sla/read/SlaRules.h"

namespace host::sla {

namespace {

using rules::kDocumentRules;
using rules::kItemRules;
using rules::kPageRules;
using rules::kSetRules;
using rules::Place;
using rules::Rule;

// Fragment parsing keeps the text around the root element; it must still be a
// document: one root element and nothing but markup and white space beside it.
std::string shapeProblem(const pugi::xml_document& xml) {
    int elements = 0;
    for (pugi::xml_node child = xml.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element) {
            ++elements;
        } else if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            const std::string_view value = child.value();
            if (value.find_first_not_of(" \t\r\n") != std::string_view::npos) {
                return "it is not well-formed XML (text outside the root element)";
            }
        }
    }
    if (elements != 1) {
        return elements == 0 ? "it is not well-formed XML (no root element)"
                             : "it is not well-formed XML (more than one root element)";
    }
    return {};
}

std::string depthProblem(const pugi::xml_document& xml) {
    // Iterative walk: a hostile file must not be able to exhaust the stack.
    std::vector<std::pair<pugi::xml_node, int>> pending{{xml, 0}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        if (depth > kMaxDepth) {
            return "its elements are nested more than " + std::to_string(kMaxDepth) + " deep";
        }
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() == pugi::node_element) {
                pending.emplace_back(child, depth + 1);
            }
        }
    }
    return {};
}

// XML allows an attribute once per element; pugixml keeps both and reads the
// first, while Scribus refuses the file.
std::string repeatedAttributeProblem(const pugi::xml_document& xml, const LineFinder& lineAt) {
    // Names ordered by a key of length and letters first: comparing whole
    // names only where keys tie keeps this cheap for millions of attributes.
    struct Name {
        std::uint32_t key;
        const char* text;
    };
    const auto before = [](const Name& a, const Name& b) {
        return a.key != b.key ? a.key < b.key : std::strcmp(a.text, b.text) < 0;
    };
    const auto same = [](const Name& a, const Name& b) {
        return a.key == b.key && std::strcmp(a.text, b.text) == 0;
    };
    std::vector<pugi::xml_node> pending{xml};
    std::vector<Name> names;
    while (!pending.empty()) {
        const pugi::xml_node node = pending.back();
        pending.pop_back();
        names.clear();
        for (pugi::xml_attribute attribute = node.first_attribute(); attribute;
             attribute = attribute.next_attribute()) {
            const char* text = attribute.name();
            const std::size_t length = std::strlen(text);
            const std::uint32_t first = static_cast<unsigned char>(text[0]);
            const std::uint32_t last =
                length > 0 ? static_cast<unsigned char>(text[length - 1]) : 0U;
            names.push_back(
                {(static_cast<std::uint32_t>(length) << 16U) | (first << 8U) | last, text});
        }
        std::sort(names.begin(), names.end(), before);
        const auto repeated = std::adjacent_find(names.begin(), names.end(), same);
        if (repeated != names.end()) {
            return "it is not well-formed XML (attribute " + std::string(repeated->text) +
                   " appears twice in <" + node.name() + "> on line " +
                   std::to_string(lineAt(node.offset_debug())) + ")";
        }
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() == pugi::node_element) {
                pending.push_back(child);
            }
        }
    }
    return {};
}

// One pass over the element's attributes: documents hold hundreds of
// thousands of them, and looking each rule up by name would cost far more.
template <std::size_t N>
std::string attributesProblem(pugi::xml_node node, const Rule (&rules)[N], const LineFinder& lineAt,
                              Place place = {}) {
    for (pugi::xml_attribute attribute = node.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        const char* name = attribute.name();
        for (const Rule& rule : rules) {
            if (name[0] != rule.name[0] || std::strcmp(name, rule.name) != 0) {
                continue;
            }
            const char* value = attribute.value();
            const bool usable = rules::usable(rule, value, place);
            if (!usable) {
                return "attribute " + std::string(name) + " of <" + node.name() + "> on line " +
                       std::to_string(lineAt(node.offset_debug())) +
                       (rule.whole ? " is not a whole number within range"
                                   : " is not a finite number") +
                       " (\"" + value + "\")";
            }
            break;
        }
    }
    return {};
}

std::string itemsProblem(pugi::xml_node parent, bool members, const LineFinder& lineAt) {
    for (pugi::xml_node item : parent.children("PAGEOBJECT")) {
        const Place place{members, std::strcmp(item.attribute("PTYPE").value(), "12") == 0};
        if (auto problem = attributesProblem(item, kItemRules, lineAt, place); !problem.empty()) {
            return problem;
        }
        if (auto problem = itemsProblem(item, true, lineAt); !problem.empty()) {
            return problem;  // depth is bounded by the nesting check above
        }
    }
    return {};
}

}  // namespace

std::string pagesProblem(const std::vector<pugi::xml_node>& pages, const LineFinder& lineAt) {
    double previousNum = -1;
    int count = 0;
    for (pugi::xml_node page : pages) {
        ++count;
        if (auto problem = attributesProblem(page, kPageRules, lineAt); !problem.empty()) {
            return problem;
        }
        if (numberAttribute(page, "PAGEWIDTH") <= 0 || numberAttribute(page, "PAGEHEIGHT") <= 0) {
            return "page " + std::to_string(count) + " has no size";
        }
        const double num = numberAttribute(page, "NUM", previousNum + 1);
        if (num <= previousNum) {
            return "its pages are out of order";
        }
        previousNum = num;
    }
    return count == 0 ? "it has no page" : std::string();
}

int lineAt(std::string_view text, std::ptrdiff_t offset) {
    if (offset < 0) {
        return 0;
    }
    const auto end = text.begin() + std::min<std::ptrdiff_t>(offset, std::ssize(text));
    return 1 + static_cast<int>(std::count(text.begin(), end, '\n'));
}

std::string rootProblem(const pugi::xml_document& xml) {
    if (auto problem = shapeProblem(xml); !problem.empty()) {
        return problem;
    }
    return formatProblem(xml.document_element());
}

std::string documentProblem(const pugi::xml_document& xml, const LineFinder& lineAt) {
    if (auto problem = rootProblem(xml); !problem.empty()) {
        return problem;
    }
    if (auto problem = depthProblem(xml); !problem.empty()) {
        return problem;
    }
    if (auto problem = repeatedAttributeProblem(xml, lineAt); !problem.empty()) {
        return problem;
    }
    const pugi::xml_node document = xml.document_element().child("DOCUMENT");
    if (!document) {
        return "it has no DOCUMENT element";
    }
    if (auto problem = attributesProblem(document, kDocumentRules, lineAt); !problem.empty()) {
        return problem;
    }
    for (pugi::xml_node set : document.child("PageSets").children("Set")) {
        if (auto problem = attributesProblem(set, kSetRules, lineAt); !problem.empty()) {
            return problem;
        }
    }
    std::vector<pugi::xml_node> pages;
    for (pugi::xml_node page : document.children("PAGE")) {
        pages.push_back(page);
    }
    if (auto problem = pagesProblem(pages, lineAt); !problem.empty()) {
        return problem;
    }
    return itemsProblem(document, false, lineAt);
}

}  // namespace host::sla
