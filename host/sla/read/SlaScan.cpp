#include "host/sla/read/SlaScan.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>

#include "host/sla/read/SlaCheck.h"
#include "host/sla/read/SlaRules.h"

namespace host::sla {

namespace {

using rules::nameKey;
using rules::Rule;
using rules::sameName;

// What an element is, as far as the checks and the visitor care; decided by its parent.
enum class Kind : std::uint8_t {
    Outside,  // not under DOCUMENT
    Root,     // the root element
    Document,
    PageSets,  // DOCUMENT's first
    Set,
    Page,
    Item,    // DOCUMENT's PAGEOBJECT
    Member,  // a PAGEOBJECT's PAGEOBJECT
    Inside,  // any other element under DOCUMENT
};

struct Pending {
    pugi::xml_node node;
    int depth = 0;
    Kind kind = Kind::Outside;
};

template <std::size_t N>
std::array<std::uint32_t, N> keysOf(const Rule (&table)[N]) {
    std::array<std::uint32_t, N> keys{};
    for (std::size_t i = 0; i < N; ++i) {
        keys[i] = nameKey(table[i].name);
    }
    return keys;
}

// The rules of one kind of element, with their names' keys.
struct RuleSet {
    std::span<const Rule> rules;
    std::span<const std::uint32_t> keys;

    int find(std::uint32_t key, const char* name) const {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i] == key && sameName(rules[i].name, name)) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
};

RuleSet rulesOf(Kind kind) {
    static const auto document = keysOf(rules::kDocumentRules);
    static const auto page = keysOf(rules::kPageRules);
    static const auto item = keysOf(rules::kItemRules);
    static const auto set = keysOf(rules::kSetRules);
    switch (kind) {
        case Kind::Document:
            return {rules::kDocumentRules, document};
        case Kind::Page:
            return {rules::kPageRules, page};
        case Kind::Item:
        case Kind::Member:
            return {rules::kItemRules, item};
        case Kind::Set:
            return {rules::kSetRules, set};
        default:
            return {};
    }
}

// An item's place is read from its first seven rules, in this order.
constexpr bool placeRulesFirst() {
    constexpr std::string_view kPlace[] = {"XPOS", "YPOS",  "WIDTH",  "HEIGHT",
                                           "ROT",  "PTYPE", "OwnPage"};
    for (std::size_t i = 0; i < std::size(kPlace); ++i) {
        if (kPlace[i] != rules::kItemRules[i].name ||
            rules::kItemRules[i].need != rules::Need::Always) {
            return false;
        }
    }
    return true;
}
static_assert(placeRulesFirst());

struct Name {
    std::uint32_t key;
    const char* text;
};

struct Found {
    int rule;
    const char* value;
};

class Scanner {
public:
    Scanner(const pugi::xml_document& xml, const ElementVisitor& visit) : m_visit(visit) {
        m_pending.push_back({xml, 0, Kind::Outside});
    }

    DocumentScan run();

private:
    bool element(const Pending& at);
    bool attributes(const Pending& at, ScannedElement& seen);
    bool ruleValues(const Pending& at, const RuleSet& rules, ScannedElement& seen);
    void pushChildren(const Pending& at);
    Kind childKind(Kind parent, pugi::xml_node child, bool& firstDocument, bool& firstSets);

    const ElementVisitor& m_visit;
    std::vector<Pending> m_pending;
    std::vector<Name> m_names;
    std::vector<Found> m_found;
    DocumentScan m_scan;
    std::vector<pugi::xml_node> m_pages;
};

const std::uint32_t kNameKey = nameKey("ANNAME");
const std::uint32_t kIdKey = nameKey("ItemID");
const std::uint32_t kLabelKey = nameKey("label");

bool Scanner::attributes(const Pending& at, ScannedElement& seen) {
    const RuleSet rules = rulesOf(at.kind);
    const bool inside = at.kind != Kind::Outside && at.kind != Kind::Root;
    m_names.clear();
    m_found.clear();
    for (pugi::xml_attribute attribute = at.node.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        const char* text = attribute.name();
        const std::uint32_t key = nameKey(text);
        m_names.push_back({key, text});
        if (const int rule = rules.find(key, text); rule >= 0) {
            m_found.push_back({rule, attribute.value()});
        }
        if (!inside) {
            continue;
        }
        if (key == kNameKey && sameName(text, "ANNAME")) {
            seen.name = seen.name ? seen.name : attribute.value();
        } else if (key == kIdKey && sameName(text, "ItemID")) {
            seen.id = seen.id ? seen.id : attribute.value();
        } else if (key == kLabelKey && sameName(text, "label")) {
            seen.label = seen.label ? seen.label : attribute.value();
        }
    }
    // A name twice: pugixml reads the first, Scribus refuses the file.
    if (m_names.size() > 1) {
        std::sort(m_names.begin(), m_names.end(), [](const Name& a, const Name& b) {
            return a.key != b.key ? a.key < b.key : std::strcmp(a.text, b.text) < 0;
        });
        const auto same = [](const Name& a, const Name& b) {
            return a.key == b.key && std::strcmp(a.text, b.text) == 0;
        };
        if (std::adjacent_find(m_names.begin(), m_names.end(), same) != m_names.end()) {
            return false;
        }
    }
    return m_found.empty() || ruleValues(at, rules, seen);
}

bool Scanner::ruleValues(const Pending& at, const RuleSet& rules, ScannedElement& seen) {
    const bool item = at.kind == Kind::Item || at.kind == Kind::Member;
    rules::Place place{at.kind == Kind::Member, false};
    if (item) {
        const auto type = std::find_if(m_found.begin(), m_found.end(),
                                       [](const Found& found) { return found.rule == 5; });
        place.group = type != m_found.end() && sameName(type->value, "12");
    }
    double* const numbers[] = {&seen.place.x, &seen.place.y, &seen.place.width, &seen.place.height,
                               &seen.place.rotation};
    int type = 0;
    for (const Found& found : m_found) {
        const Rule& rule = rules.rules[static_cast<std::size_t>(found.rule)];
        if (!seen.item || found.rule > 6) {
            if (!rules::usable(rule, found.value, place)) {
                return false;
            }
            continue;
        }
        // The first seven item rules are the place's, all needed, so never
        // empty: each value is read once, for the check and the place.
        if (found.rule == 6 || found.rule == 5) {
            const std::optional<int> value = parseInteger(found.value);
            if (!value) {
                return false;
            }
            *(found.rule == 6 ? &seen.place.own : &type) = *value;
        } else {
            const std::optional<double> value = parseNumber(found.value);
            if (!value) {
                return false;
            }
            *numbers[found.rule] = *value;
        }
    }
    seen.place.type = type;
    return true;
}

Kind Scanner::childKind(Kind parent, pugi::xml_node child, bool& firstDocument, bool& firstSets) {
    const char* name = child.name();
    switch (parent) {
        case Kind::Outside:
            return child.parent().type() == pugi::node_document ? Kind::Root : Kind::Outside;
        case Kind::Root:
            if (firstDocument && sameName(name, "DOCUMENT")) {
                firstDocument = false;
                return Kind::Document;
            }
            return Kind::Outside;
        case Kind::Document:
            if (sameName(name, "PAGEOBJECT")) {
                return Kind::Item;
            }
            m_scan.sections.push_back(child);
            if (sameName(name, "PAGE")) {
                m_pages.push_back(child);
                return Kind::Page;
            }
            if (firstSets && sameName(name, "PageSets")) {
                firstSets = false;
                return Kind::PageSets;
            }
            return Kind::Inside;
        case Kind::PageSets:
            return sameName(name, "Set") ? Kind::Set : Kind::Inside;
        case Kind::Item:
        case Kind::Member:
            return sameName(name, "PAGEOBJECT") ? Kind::Member : Kind::Inside;
        default:
            return Kind::Inside;
    }
}

void Scanner::pushChildren(const Pending& at) {
    // Pushed in order, then reversed: taken from the back, they come in document order.
    const std::size_t first = m_pending.size();
    bool firstDocument = true;
    bool firstSets = true;
    for (pugi::xml_node child = at.node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element) {
            m_pending.push_back(
                {child, at.depth + 1, childKind(at.kind, child, firstDocument, firstSets)});
        }
    }
    std::reverse(m_pending.begin() + static_cast<std::ptrdiff_t>(first), m_pending.end());
}

bool Scanner::element(const Pending& at) {
    if (at.depth > kMaxDepth) {
        return false;
    }
    ScannedElement seen;
    seen.item = at.kind == Kind::Item;
    if (!attributes(at, seen)) {
        return false;
    }
    if (at.kind == Kind::Document) {
        m_scan.document = at.node;
    }
    if (at.kind != Kind::Outside && at.kind != Kind::Root) {
        seen.node = at.node;
        seen.mark = sameName(at.node.name(), "MARK");
        m_visit(seen);
    }
    pushChildren(at);
    return true;
}

DocumentScan Scanner::run() {
    while (!m_pending.empty()) {
        const Pending at = m_pending.back();
        m_pending.pop_back();
        if (!element(at)) {
            return m_scan;  // not sound
        }
    }
    // The pages' own checks (sizes, order) read a few attributes again; there are few pages.
    m_scan.sound =
        m_scan.document && pagesProblem(m_pages, [](std::ptrdiff_t) { return 0; }).empty();
    return m_scan;
}

}  // namespace

DocumentScan scanDocument(const pugi::xml_document& xml, const ElementVisitor& visit) {
    if (!rootProblem(xml).empty()) {
        return {};
    }
    return Scanner(xml, visit).run();
}

}  // namespace host::sla
