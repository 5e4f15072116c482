#include "fuzz/FuzzChecks.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <set>
#include <sstream>

#include "host/Capture.h"
#include "host/sla/SlaElements.h"
#include "host/sla/SlaHost.h"
#include "host/sla/SlaItem.h"
#include "host/sla/read/SlaCheck.h"
#include "host/sla/read/SlaNumbers.h"
#include "host/sla/read/SlaScan.h"
#include "host/sla/write/SlaChanges.h"

namespace fuzzcheck {

namespace {

using host::sla::forEachElement;

// Attributes the host writes as numbers.
const std::set<std::string> kNumbers = {
    "XPOS",        "YPOS",       "WIDTH",    "HEIGHT",   "ROT",     "PWIDTH",   "gXpos",
    "gYpos",       "gWidth",     "gHeight",  "OwnPage",  "ItemID",  "NEXTITEM", "BACKITEM",
    "NUM",         "PAGEXPOS",   "PAGEYPOS", "ANZPAGES", "To",      "LEFT",     "TransValue",
    "TransValueS", "WeldSource", "Target",   "myID",     "MasterID"};

std::string text(pugi::xml_node node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

bool readsBackAsWritten(const std::string& value) {
    const auto number = host::sla::parseNumber(value);
    return number && host::sla::formatNumber(*number) == value;
}

// Every number in an outline path ("M0 0 L150 0 … Z").
bool pathReadsBack(const std::string& path) {
    std::string token;
    for (const char ch : path + " ") {
        if (std::isalpha(static_cast<unsigned char>(ch)) || ch == ' ' || ch == ',') {
            if (!token.empty() && !readsBackAsWritten(token)) {
                return false;
            }
            token.clear();
        } else {
            token += ch;
        }
    }
    return true;
}

}  // namespace

void checkScanAgrees(const std::string& input) {
    std::string text = input;
    pugi::xml_document xml;
    if (!xml.load_buffer_inplace(text.data(), text.size(), host::sla::kParseFlags,
                                 pugi::encoding_utf8)) {
        return;
    }
    const bool sound = host::sla::scanDocument(xml, [](const host::sla::ScannedElement&) {}).sound;
    const std::string problem = host::sla::documentProblem(xml, [](std::ptrdiff_t) { return 0; });
    require(sound == problem.empty(), "the one pass and the full checks disagree" +
                                          (problem.empty() ? std::string() : ": " + problem));
}

void require(bool condition, const std::string& message) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", message.c_str());
        std::abort();
    }
}

Attributes attributesOf(const host::sla::SlaDocument& document) {
    Attributes attributes;
    forEachElement(document.documentNode(), [&](pugi::xml_node node) {
        for (pugi::xml_attribute attribute : node.attributes()) {
            attributes[{node.internal_object(), attribute.name()}] = attribute.value();
        }
    });
    return attributes;
}

Before before(const host::sla::SlaDocument& document) {
    Before state;
    for (pugi::xml_node page : document.pageNodes()) {
        state.pages[page.internal_object()] = text(page);
    }
    for (pugi::xml_node item : document.topLevelItems()) {
        state.items[item.internal_object()] = text(item);
    }
    forEachElement(document.documentNode(), [&](pugi::xml_node node) {
        if (std::strcmp(node.name(), "MARK") == 0) {
            ++state.marks[{node.attribute("label").value(), node.attribute("type").value()}];
        }
    });
    return state;
}

void checkWrittenNumbers(const host::sla::SlaDocument& document, const Attributes& asRead) {
    // A copy carries its original's values: a value some element held as read
    // may have been copied, not written.
    std::set<std::pair<std::string, std::string>> values;
    for (const auto& [key, value] : asRead) {
        values.insert({key.second, value});
    }
    forEachElement(document.documentNode(), [&](pugi::xml_node node) {
        for (pugi::xml_attribute attribute : node.attributes()) {
            const std::string value = attribute.value();
            if (values.count({attribute.name(), value}) != 0) {
                continue;  // as read somewhere: not necessarily written by the host
            }
            const std::string name = attribute.name();
            const bool path = name == "path" || name == "copath";
            require(kNumbers.count(name) == 0 || readsBackAsWritten(value),
                    "<" + std::string(node.name()) + "> " + name + "=\"" + value +
                        "\" was written but does not read back as written");
            require(!path || pathReadsBack(value),
                    "<" + std::string(node.name()) + "> " + name + "=\"" + value +
                        "\" holds a number that does not read back as written");
        }
    });
}

void checkOnlyCopiesAdded(const host::sla::SlaDocument& document, const Before& before,
                          host::Spread& reflected, int duplicates) {
    const auto& pages = document.pageNodes();
    require(pages.size() == before.pages.size() + std::size_t(duplicates),
            "Reflect did not add exactly one page per duplicate");
    for (const auto& [node, was] : before.pages) {
        const pugi::xml_node page(static_cast<pugi::xml_node_struct*>(const_cast<void*>(node)));
        require(text(page) == was, "a page that was there before changed:\n" + was);
    }
    std::set<const void*> added;
    for (pugi::xml_node item : document.topLevelItems()) {
        const auto found = before.items.find(item.internal_object());
        if (found != before.items.end()) {
            require(text(item) == found->second, "an item that was there before changed:\n" +
                                                     found->second + "\nbecame\n" + text(item));
            continue;
        }
        added.insert(item.internal_object());
        const int page = host::sla::parseInteger(item.attribute("OwnPage").value()).value_or(-1);
        require(page >= int(before.pages.size()), "a new item names an old page:\n" + text(item));
    }
    require(before.items.size() + added.size() == document.topLevelItems().size(),
            "an item that was there before is gone");
    for (const auto& item : reflected.pageItems()->enumerate()) {
        const auto* copy = dynamic_cast<host::sla::SlaItem*>(item.get());
        require(copy && added.count(copy->node().internal_object()) != 0,
                "Reflect's page holds an item that was there before");
    }
}

void checkMarksNotShared(const host::sla::SlaDocument& document, const Before& before) {
    // Scribus skips a mark in a text that the document does not define.
    std::set<std::pair<std::string, std::string>> defined;
    for (pugi::xml_node mark : document.documentNode().child("Marks").children("Mark")) {
        defined.insert({mark.attribute("label").value(), mark.attribute("type").value()});
    }
    std::map<std::pair<std::string, std::string>, int> now;
    forEachElement(document.documentNode(), [&](pugi::xml_node node) {
        const std::pair<std::string, std::string> mark{node.attribute("label").value(),
                                                       node.attribute("type").value()};
        if (std::strcmp(node.name(), "MARK") == 0 && defined.count(mark) != 0) {
            ++now[mark];
        }
    });
    for (const auto& [mark, count] : now) {
        const auto found = before.marks.find(mark);
        const int was = found == before.marks.end() ? 0 : found->second;
        require(mark.second == "3" || count <= std::max(was, 1),
                "mark \"" + mark.first + "\" of type " + mark.second + " now appears " +
                    std::to_string(count) + " times, " + std::to_string(was) + " before");
    }
}

void checkNewPagesReadBack(const std::filesystem::path& file, int firstNew) {
    for (int page = firstNew;; ++page) {
        std::shared_ptr<host::sla::SlaHost> documents;
        try {
            documents = host::sla::SlaHost::open({file}, page);
        } catch (const std::exception& error) {
            require(false, "the saved file does not open again at page " + std::to_string(page) +
                               ": " + error.what());
        }
        const auto items = documents->activeWindow()->activeSpread()->pageItems();
        host::dissolveGroups(*items);
        for (const auto& item : items->enumerate()) {
            const auto bounds = item->visibleBounds();
            require(std::isfinite(bounds.top) && std::isfinite(bounds.left) &&
                        std::isfinite(bounds.bottom) && std::isfinite(bounds.right) &&
                        std::isfinite(item->rotationAngle()),
                    "an item of page " + std::to_string(page) + " reads back as no place");
        }
        if (page >= static_cast<int>(documents->openDocuments().front()->pageNodes().size())) {
            return;
        }
    }
}

}  // namespace fuzzcheck
