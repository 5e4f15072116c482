#include "host/sla/SlaCheck.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "host/sla/SlaNumbers.h"

namespace host::sla {

namespace {

// Attributes read as numbers, per element. Those the tool needs must hold a
// finite number; one it can do without may also be empty, as Scribus reads it.
struct Checked {
    const char* name;
    bool needed;
};
constexpr Checked kDocumentNumbers[] = {{"PAGEWIDTH", true},     {"PAGEHEIGHT", true},
                                        {"ScratchLeft", true},   {"ScratchTop", true},
                                        {"ScratchRight", false}, {"ScratchBottom", false},
                                        {"GapHorizontal", true}, {"GapVertical", true}};
constexpr Checked kPageNumbers[] = {{"PAGEXPOS", false},
                                    {"PAGEYPOS", false},
                                    {"PAGEWIDTH", true},
                                    {"PAGEHEIGHT", true},
                                    {"NUM", true}};
constexpr Checked kItemNumbers[] = {
    {"XPOS", true}, {"YPOS", true}, {"WIDTH", true}, {"HEIGHT", true}, {"ROT", true}};
// Read for a group's members only (to ungroup them), and for groups only.
constexpr Checked kMemberNumbers[] = {{"gXpos", true}, {"gYpos", true}, {"PWIDTH", true}};
constexpr Checked kGroupNumbers[] = {{"groupWidth", true}, {"groupHeight", true}};
// Attributes read as ints: a value outside int's range would make the
// conversion undefined, and a fraction would mean a different page or type.
constexpr Checked kDocumentIntegers[] = {{"BOOK", true}};
constexpr Checked kItemIntegers[] = {{"PTYPE", true},  {"FRTYPE", true},   {"OwnPage", true},
                                     {"ItemID", true}, {"NEXTITEM", true}, {"BACKITEM", true}};
constexpr Checked kSetIntegers[] = {{"FirstPage", true}, {"Columns", true}};

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

// `needed` false: every attribute of `names` may be empty (where the tool never reads it).
template <std::size_t N>
std::string numberProblem(pugi::xml_node node, const Checked (&names)[N], const LineFinder& lineAt,
                          bool whole = false, bool needed = true) {
    for (const auto& [name, neededHere] : names) {
        const pugi::xml_attribute attribute = node.attribute(name);
        if (!attribute || ((!needed || !neededHere) && *attribute.value() == '\0')) {
            continue;
        }
        const bool usable = whole ? parseInteger(attribute.value()).has_value()
                                  : parseNumber(attribute.value()).has_value();
        if (!usable) {
            return "attribute " + std::string(name) + " of <" + node.name() + "> on line " +
                   std::to_string(lineAt(node.offset_debug())) +
                   (whole ? " is not a whole number within range" : " is not a finite number") +
                   " (\"" + attribute.value() + "\")";
        }
    }
    return {};
}

template <std::size_t N, std::size_t M>
std::string elementProblem(pugi::xml_node node, const Checked (&numbers)[N],
                           const Checked (&integers)[M], const LineFinder& lineAt) {
    if (auto problem = numberProblem(node, numbers, lineAt); !problem.empty()) {
        return problem;
    }
    return numberProblem(node, integers, lineAt, true);
}

std::string itemProblem(pugi::xml_node item, bool member, const LineFinder& lineAt) {
    if (auto problem = elementProblem(item, kItemNumbers, kItemIntegers, lineAt);
        !problem.empty()) {
        return problem;
    }
    if (auto problem = numberProblem(item, kMemberNumbers, lineAt, false, member);
        !problem.empty()) {
        return problem;
    }
    return numberProblem(item, kGroupNumbers, lineAt, false,
                         std::string_view(item.attribute("PTYPE").value()) == "12");
}

std::string itemsProblem(pugi::xml_node parent, bool members, const LineFinder& lineAt) {
    for (pugi::xml_node item : parent.children("PAGEOBJECT")) {
        if (auto problem = itemProblem(item, members, lineAt); !problem.empty()) {
            return problem;
        }
        if (auto problem = itemsProblem(item, true, lineAt); !problem.empty()) {
            return problem;  // depth is bounded by the nesting check above
        }
    }
    return {};
}

std::string pagesProblem(pugi::xml_node document, const LineFinder& lineAt) {
    double previousNum = -1;
    int count = 0;
    for (pugi::xml_node page : document.children("PAGE")) {
        ++count;
        if (auto problem = numberProblem(page, kPageNumbers, lineAt); !problem.empty()) {
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

std::string documentProblem(const pugi::xml_document& xml, const LineFinder& lineAt) {
    if (auto problem = shapeProblem(xml); !problem.empty()) {
        return problem;
    }
    if (auto problem = formatProblem(xml.document_element()); !problem.empty()) {
        return problem;
    }
    if (auto problem = depthProblem(xml); !problem.empty()) {
        return problem;
    }
    const pugi::xml_node document = xml.document_element().child("DOCUMENT");
    if (!document) {
        return "it has no DOCUMENT element";
    }
    if (auto problem = elementProblem(document, kDocumentNumbers, kDocumentIntegers, lineAt);
        !problem.empty()) {
        return problem;
    }
    for (pugi::xml_node set : document.child("PageSets").children("Set")) {
        if (auto problem = numberProblem(set, kSetIntegers, lineAt, true); !problem.empty()) {
            return problem;
        }
    }
    if (auto problem = pagesProblem(document, lineAt); !problem.empty()) {
        return problem;
    }
    return itemsProblem(document, false, lineAt);
}

}  // namespace host::sla
