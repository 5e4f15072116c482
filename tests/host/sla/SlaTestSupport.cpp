#include "SlaTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "geometry/BackSide.h"
#include "host/BackSideWriter.h"
#include "host/Capture.h"
#include "host/ExpectBounds.h"
#include "host/sla/read/SlaNumbers.h"
#include "state/ToolState.h"

namespace slatest {

std::filesystem::path scribusSample(const std::string& name) {
    return std::filesystem::path(QUARVEL_SCRIBUS_SAMPLES) / name;
}

std::filesystem::path ownSample(const std::string& name) {
    return std::filesystem::path(QUARVEL_OWN_SAMPLES) / name;
}

std::filesystem::path ScratchFolder::copy(const std::filesystem::path& source) const {
    auto target = path() / source.filename();
    std::filesystem::copy_file(source, target);
    std::filesystem::permissions(
        target, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    return target;
}

std::vector<std::shared_ptr<host::sla::SlaItem>> itemsOf(host::Spread& spread) {
    std::vector<std::shared_ptr<host::sla::SlaItem>> items;
    for (const auto& item : spread.pageItems()->enumerate()) {
        items.push_back(std::dynamic_pointer_cast<host::sla::SlaItem>(item));
    }
    return items;
}

std::shared_ptr<host::sla::SlaItem> itemNamed(host::Spread& spread, const std::string& name) {
    for (const auto& item : itemsOf(spread)) {
        if (item->name() == name) {
            return item;
        }
    }
    throw std::runtime_error("no item named " + name);
}

std::vector<std::string> namesOf(host::Spread& spread) {
    std::vector<std::string> names;
    for (const auto& item : itemsOf(spread)) {
        names.push_back(item->name());
    }
    return names;
}

void reflectAndSave(const std::filesystem::path& path, int shownPage) {
    reflectFile(path, true, shownPage);
}

void reflectFile(const std::filesystem::path& path, bool leftRight, int shownPage) {
    state::ToolState tool;
    const auto host = host::sla::SlaHost::open({path}, shownPage);
    tool.hostApp = host;
    tool.sheetWidth = host->activeDocument()->preferences()->pageWidth();
    tool.sheetHeight = host->activeDocument()->preferences()->pageHeight();
    tool.flipLeftRight = leftRight;
    host::captureSpread(tool);
    geometry::createSide2(tool);
    host::writeBackSide(tool);
    host->saveChanged();
}

void expectFiniteNumbers(const host::sla::SlaDocument& document) {
    static const char* const kNumbers[] = {
        "XPOS",     "YPOS",     "WIDTH",     "HEIGHT",     "ROT",    "PWIDTH",    "gXpos",
        "gYpos",    "gWidth",   "gHeight",   "OwnPage",    "ItemID", "NEXTITEM",  "BACKITEM",
        "PAGEXPOS", "PAGEYPOS", "PAGEWIDTH", "PAGEHEIGHT", "NUM",    "TransValue"};
    std::vector<pugi::xml_node> pending{document.documentNode()};
    while (!pending.empty()) {
        const pugi::xml_node node = pending.back();
        pending.pop_back();
        for (const char* name : kNumbers) {
            if (const pugi::xml_attribute attribute = node.attribute(name)) {
                EXPECT_TRUE(host::sla::parseNumber(attribute.value()).has_value())
                    << node.name() << "@" << name << " = \"" << attribute.value() << "\"";
            }
        }
        for (pugi::xml_node child : node.children()) {
            if (child.type() == pugi::node_element) {
                pending.push_back(child);
            }
        }
    }
}

std::string documentWith(const std::string& items, const std::string& documentAttributes,
                         const std::string& pages) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SCRIBUSUTF8NEW Version=\"1.5.8\">\n"
           " <DOCUMENT PAGEWIDTH=\"1000\" PAGEHEIGHT=\"700\" UNITS=\"0\" " +
           (documentAttributes.empty() ? std::string("BOOK=\"0\"") : documentAttributes) +
           " ScratchLeft=\"100\" ScratchTop=\"20\" GapHorizontal=\"0\" GapVertical=\"40\">\n"
           "  <COLOR NAME=\"Black\" SPACE=\"CMYK\" C=\"0\" M=\"0\" Y=\"0\" K=\"100\"/>\n"
           "  <LAYERS NUMMER=\"0\" LEVEL=\"0\" NAME=\"Background\" SICHTBAR=\"1\" DRUCKEN=\"1\" "
           "EDIT=\"1\"/>\n" +
           (pages.empty() ? std::string("  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" "
                                        "PAGEWIDTH=\"1000\" PAGEHEIGHT=\"700\" NUM=\"0\"/>\n")
                          : pages) +
           items + " </DOCUMENT>\n</SCRIBUSUTF8NEW>\n";
}

void expectBounds(const host::Bounds& actual, const host::Bounds& expected) {
    testing_support::expectBoundsNear(actual, expected, 1e-6);
}

}  // namespace slatest
