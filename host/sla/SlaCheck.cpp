#include "host/sla/SlaCheck.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "host/sla/SlaNumbers.h"

namespace host::sla {

namespace {

// Attributes read as numbers, per element.
constexpr const char* kDocumentNumbers[] = {"PAGEWIDTH",     "PAGEHEIGHT",   "ScratchLeft",
                                            "ScratchTop",    "ScratchRight", "ScratchBottom",
                                            "GapHorizontal", "GapVertical"};
constexpr const char* kPageNumbers[] = {"PAGEXPOS", "PAGEYPOS", "PAGEWIDTH", "PAGEHEIGHT"};
constexpr const char* kItemNumbers[] = {"XPOS",   "YPOS",  "WIDTH", "HEIGHT",     "ROT",
                                        "PWIDTH", "gXpos", "gYpos", "groupWidth", "groupHeight"};
// Attributes read as ints: a value outside int's range would make the
// conversion undefined, and a fraction would mean a different page or type.
constexpr const char* kDocumentIntegers[] = {"BOOK"};
// Scribus reads NUM as the place in the page list where the page goes.
constexpr const char* kPageIntegers[] = {"NUM"};
constexpr const char* kItemIntegers[] = {"PTYPE",  "FRTYPE",   "OwnPage",
                                         "ItemID", "NEXTITEM", "BACKITEM"};
constexpr const char* kSetIntegers[] = {"FirstPage", "Columns"};

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
std::string repeatedAttributeProblem(const pugi::xml_document& xml, std::string_view text) {
    std::vector<pugi::xml_node> pending{xml};
    std::vector<std::string_view> names;
    while (!pending.empty()) {
        const pugi::xml_node node = pending.back();
        pending.pop_back();
        names.clear();
        for (pugi::xml_attribute attribute : node.attributes()) {
            names.emplace_back(attribute.name());
        }
        std::sort(names.begin(), names.end());
        const auto repeated = std::adjacent_find(names.begin(), names.end());
        if (repeated != names.end()) {
            return "it is not well-formed XML (attribute " + std::string(*repeated) +
                   " appears twice in <" + node.name() + "> on line " +
                   std::to_string(lineAt(text, node.offset_debug())) + ")";
        }
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() == pugi::node_element) {
                pending.push_back(child);
            }
        }
    }
    return {};
}

template <std::size_t N>
std::string numberProblem(pugi::xml_node node, const char* const (&names)[N], std::string_view text,
                          bool whole = false) {
    for (const char* name : names) {
        const pugi::xml_attribute attribute = node.attribute(name);
        if (!attribute) {
            continue;
        }
        const bool usable = whole ? parseInteger(attribute.value()).has_value()
                                  : parseNumber(attribute.value()).has_value();
        if (!usable) {
            return "attribute " + std::string(name) + " of <" + node.name() + "> on line " +
                   std::to_string(lineAt(text, node.offset_debug())) +
                   (whole ? " is not a whole number within range" : " is not a finite number") +
                   " (\"" + attribute.value() + "\")";
        }
    }
    return {};
}

template <std::size_t N, std::size_t M>
std::string elementProblem(pugi::xml_node node, const char* const (&numbers)[N],
                           const char* const (&integers)[M], std::string_view text) {
    if (auto problem = numberProblem(node, numbers, text); !problem.empty()) {
        return problem;
    }
    return numberProblem(node, integers, text, true);
}

std::string itemsProblem(pugi::xml_node parent, std::string_view text) {
    for (pugi::xml_node item : parent.children("PAGEOBJECT")) {
        if (auto problem = elementProblem(item, kItemNumbers, kItemIntegers, text);
            !problem.empty()) {
            return problem;
        }
        if (auto problem = itemsProblem(item, text); !problem.empty()) {
            return problem;  // depth is bounded by the nesting check above
        }
    }
    return {};
}

std::string pagesProblem(pugi::xml_node document, std::string_view text) {
    double previousNum = -1;
    int count = 0;
    for (pugi::xml_node page : document.children("PAGE")) {
        ++count;
        if (auto problem = elementProblem(page, kPageNumbers, kPageIntegers, text);
            !problem.empty()) {
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

}  // namespace

int lineAt(std::string_view text, std::ptrdiff_t offset) {
    if (offset < 0) {
        return 0;
    }
    const auto end = text.begin() + std::min<std::ptrdiff_t>(offset, std::ssize(text));
    return 1 + static_cast<int>(std::count(text.begin(), end, '\n'));
}

std::string documentProblem(const pugi::xml_document& xml, std::string_view text) {
    if (auto problem = shapeProblem(xml); !problem.empty()) {
        return problem;
    }
    const pugi::xml_node root = xml.document_element();
    if (std::strcmp(root.name(), "SCRIBUSUTF8NEW") != 0) {
        return "it is not a Scribus document (its root element is <" + std::string(root.name()) +
               ">)";
    }
    const std::string version = root.attribute("Version").value();
    if (version != "1.5" && version.rfind("1.5.", 0) != 0) {
        return "it is not a Scribus 1.5 document (version \"" + version + "\")";
    }
    if (auto problem = depthProblem(xml); !problem.empty()) {
        return problem;
    }
    if (auto problem = repeatedAttributeProblem(xml, text); !problem.empty()) {
        return problem;
    }
    const pugi::xml_node document = root.child("DOCUMENT");
    if (!document) {
        return "it has no DOCUMENT element";
    }
    if (auto problem = elementProblem(document, kDocumentNumbers, kDocumentIntegers, text);
        !problem.empty()) {
        return problem;
    }
    for (pugi::xml_node set : document.child("PageSets").children("Set")) {
        if (auto problem = numberProblem(set, kSetIntegers, text, true); !problem.empty()) {
            return problem;
        }
    }
    if (auto problem = pagesProblem(document, text); !problem.empty()) {
        return problem;
    }
    return itemsProblem(document, text);
}

}  // namespace host::sla
