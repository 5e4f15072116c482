#include "host/contract/SlaAdapter.h"

#include <unistd.h>

#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>
#include <stdexcept>

#include "host/ItemGeometry.h"
#include "host/sla/SlaItem.h"

namespace contract {

namespace {

// Where the document's one page lies on Scribus's canvas.
constexpr double kPageX = 100.0;
constexpr double kPageY = 20.0;

// A PAGEOBJECT's frame: origin (the unturned top-left corner) on the canvas,
// size, and Scribus's clockwise ROT.
struct SlaFrame {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    double rotation = 0.0;
};

std::string number(double value) {
    std::ostringstream text;
    text.precision(17);
    text << value;
    return text.str();
}

double cosOf(double degrees) {
    return std::cos(degrees * std::numbers::pi / 180.0);
}
double sinOf(double degrees) {
    return std::sin(degrees * std::numbers::pi / 180.0);
}

// The frame whose box, turned about its centre by the sheet's angle, is the
// sheet's box. A line is a length along its angle.
SlaFrame frameOf(const SheetItem& item) {
    const double c = std::abs(cosOf(item.angle));
    const double s = std::abs(sinOf(item.angle));
    const double boxWidth = item.box.width();
    const double boxHeight = item.box.height();
    const bool line = item.type == "Line";
    SlaFrame frame;
    if (s < 1e-12) {
        frame.width = boxWidth;
        frame.height = boxHeight;
    } else if (c < 1e-12) {
        frame.width = boxHeight;
        frame.height = boxWidth;
    } else if (line) {
        frame.width = boxWidth / c;
    } else {
        frame.width = (boxWidth * c - boxHeight * s) / (c * c - s * s);
        frame.height = (boxHeight * c - boxWidth * s) / (c * c - s * s);
    }
    if (line) {
        frame.height = 0.0;
    }
    frame.rotation = host::normalizedDegrees(-item.angle);
    // The origin is the centre less the turned half diagonal.
    const double u = frame.width / 2.0;
    const double v = frame.height / 2.0;
    const double centreX = kPageX + (item.box.left + item.box.right) / 2.0;
    const double centreY = kPageY + (item.box.top + item.box.bottom) / 2.0;
    frame.x = centreX - (u * cosOf(frame.rotation) - v * sinOf(frame.rotation));
    frame.y = centreY - (u * sinOf(frame.rotation) + v * cosOf(frame.rotation));
    if (line) {
        frame.height = 1.0;  // Scribus ignores a line's height
    }
    return frame;
}

std::string typeAttributes(const std::string& type) {
    if (type == "Rectangle") {
        return "PTYPE=\"6\" FRTYPE=\"0\"";
    }
    if (type == "Line") {
        return "PTYPE=\"5\"";
    }
    if (type == "Group") {
        return "PTYPE=\"12\"";
    }
    if (type == "TextFrame") {
        return "PTYPE=\"4\"";
    }
    if (type == "Oval") {
        return "PTYPE=\"6\" FRTYPE=\"1\"";
    }
    throw std::invalid_argument("the .sla fixture cannot build a " + type);
}

// Top-level items carry their own place in gXpos/gYpos; members the place in
// their group's frame.
struct Parent {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    bool group = false;
};

void writeItem(std::ostringstream& out, const SheetItem& item, const Parent& parent, int& id) {
    const bool group = item.type == "Group";
    const SlaFrame frame = group ? SlaFrame{kPageX + item.box.left, kPageY + item.box.top,
                                            item.box.width(), item.box.height(), 0.0}
                                 : frameOf(item);
    out << "  <PAGEOBJECT ANNAME=\"" << item.name << "\" ItemID=\"" << ++id << "\" "
        << typeAttributes(item.type) << " OwnPage=\"0\" LAYER=\"0\" XPOS=\"" << number(frame.x)
        << "\" YPOS=\"" << number(frame.y) << "\" WIDTH=\"" << number(frame.width) << "\" HEIGHT=\""
        << number(frame.height) << "\" ROT=\"" << number(frame.rotation) << "\" gXpos=\""
        << number(parent.group ? frame.x - parent.x : frame.x) << "\" gYpos=\""
        << number(parent.group ? frame.y - parent.y : frame.y) << "\" gWidth=\""
        << number(parent.width) << "\" gHeight=\"" << number(parent.height) << "\"";
    if (!group) {
        out << "/>\n";
        return;
    }
    out << " groupWidth=\"" << number(frame.width) << "\" groupHeight=\"" << number(frame.height)
        << "\">\n";
    const Parent self{frame.x, frame.y, frame.width, frame.height, true};
    for (const SheetItem& member : item.members) {
        writeItem(out, member, self, id);
    }
    out << "  </PAGEOBJECT>\n";
}

}  // namespace

std::string slaDocument(const Sheet& sheet) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SCRIBUSUTF8NEW Version=\"1.5.8\">\n"
        << " <DOCUMENT PAGEWIDTH=\"" << number(sheet.pageWidth) << "\" PAGEHEIGHT=\""
        << number(sheet.pageHeight) << "\" UNITS=\"0\" BOOK=\"0\" ScratchLeft=\"" << number(kPageX)
        << "\" ScratchTop=\"" << number(kPageY) << "\" GapHorizontal=\"0\" GapVertical=\"40\">\n"
        << "  <LAYERS NUMMER=\"0\" LEVEL=\"0\" NAME=\"Background\" SICHTBAR=\"1\" DRUCKEN=\"1\" "
           "EDIT=\"1\"/>\n"
        << "  <PAGE PAGEXPOS=\"" << number(kPageX) << "\" PAGEYPOS=\"" << number(kPageY)
        << "\" PAGEWIDTH=\"" << number(sheet.pageWidth) << "\" PAGEHEIGHT=\""
        << number(sheet.pageHeight) << "\" NUM=\"0\"/>\n";
    int id = 0;
    for (const SheetItem& item : sheet.items) {
        writeItem(out, item, Parent{}, id);
    }
    out << " </DOCUMENT>\n</SCRIBUSUTF8NEW>\n";
    return out.str();
}

SlaAdapter::SlaAdapter() {
    std::string name =
        (std::filesystem::temp_directory_path() / "quarvel-contract-XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr) {
        throw std::runtime_error("cannot create a scratch folder");
    }
    m_folder = name;
}

SlaAdapter::~SlaAdapter() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

std::shared_ptr<host::Application> SlaAdapter::open(const Sheet& sheet) {
    const auto path = m_folder / ("sheet" + std::to_string(++m_documents) + ".sla");
    std::ofstream(path, std::ios::binary) << slaDocument(sheet);
    return host::sla::SlaHost::open({path});
}

std::shared_ptr<host::Application> SlaAdapter::openEmpty() {
    return host::sla::SlaHost::open({});
}

std::string SlaAdapter::nameOf(host::PageItem& item) {
    return dynamic_cast<host::sla::SlaItem&>(item).name();
}

double SlaAdapter::reported(double degrees) const {
    return host::normalizedDegrees(degrees);
}

}  // namespace contract
