#include "host/contract/ComAdapter.h"

#include <charconv>
#include <stdexcept>

#include "host/com/Values.h"

namespace contract {

namespace {

std::string number(double value) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// The sheet in the test host's text form (host/memory/SheetText.h).
void write(std::string& text, const SheetItem& item) {
    if (item.type == "Group") {
        text += "group " + item.name + "\n";
        for (const SheetItem& member : item.members) {
            write(text, member);
        }
        text += "end\n";
        return;
    }
    text += item.type == "Rectangle" ? "rectangle "
            : item.type == "Line"    ? "line "
                                     : "item " + item.type + " ";
    text += item.name;
    for (const double side : {item.box.top, item.box.left, item.box.bottom, item.box.right}) {
        text += " " + number(side);
    }
    text += " " + number(item.angle) + "\n";
}

}  // namespace

ComAdapter::ComAdapter() : m_testHost(testhost::TestHostClient::get()) {}

std::shared_ptr<host::Application> ComAdapter::open(const Sheet& sheet) {
    std::string text =
        "document " + number(sheet.pageWidth) + " " + number(sheet.pageHeight) + "\nspread\npage\n";
    for (const SheetItem& item : sheet.items) {
        write(text, item);
    }
    m_testHost.load(text);
    return m_session.connectFirst(host::com::knownProgIds());
}

std::shared_ptr<host::Application> ComAdapter::openEmpty() {
    m_testHost.load("");
    return m_session.connectFirst(host::com::knownProgIds());
}

double ComAdapter::reported(double degrees) const {
    return testhost::TestHostClient::current() ? host::com::angleWithinTurn(degrees) : degrees;
}

std::string ComAdapter::nameOf(host::PageItem& item) {
    item.typeName();
    const auto calls = m_testHost.calls();
    const std::string suffix = ".typeName";
    if (calls.empty() || calls.back().size() <= suffix.size()) {
        throw std::logic_error("the test host logged no type name");
    }
    return calls.back().substr(0, calls.back().size() - suffix.size());
}

}  // namespace contract
