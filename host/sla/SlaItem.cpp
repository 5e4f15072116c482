#include "host/sla/SlaItem.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "host/HostError.h"
#include "host/sla/SlaGroupLook.h"
#include "host/sla/SlaUngroup.h"
#include "host/sla/read/SlaNumbers.h"
#include "host/sla/read/SlaPath.h"

namespace host::sla {

namespace {

void rewritePaths(SlaDocument& document, pugi::xml_node item, const Frame& old, const Frame& now) {
    for (const char* name : {"path", "copath"}) {
        const pugi::xml_attribute attribute = item.attribute(name);
        if (!attribute || *attribute.value() == '\0') {
            continue;
        }
        // A frame of zero size has lost its shape; a rectangle is the only sensible outline.
        const bool degenerate = old.width == 0 || old.height == 0;
        document.setAttribute(item, name,
                              degenerate ? rectanglePath(now.width, now.height)
                                         : scaledPath(attribute.value(), now.width / old.width,
                                                      now.height / old.height));
    }
}

// What the file now says (`written`) must be the frame asked for, to a
// millionth of its size: 15 digits cannot place a frame that far from the origin.
void requireWritten(pugi::xml_node item, const Frame& written, const Frame& frame) {
    const double tolerance = 1e-6 * std::max({1.0, std::abs(frame.width), std::abs(frame.height)});
    const bool kept = std::abs(written.x - frame.x) <= tolerance &&
                      std::abs(written.y - frame.y) <= tolerance &&
                      std::abs(written.width - frame.width) <= tolerance &&
                      (frame.line || std::abs(written.height - frame.height) <= tolerance);
    if (!kept) {
        throw HostError("The item \"" + std::string(item.attribute("ANNAME").value()) +
                        "\" cannot be placed exactly so far from the document's origin.");
    }
}

}  // namespace

std::string itemTypeName(pugi::xml_node item) {
    const int type = intAttribute(item, "PTYPE", -1);
    const int shape = intAttribute(item, "FRTYPE", 0);
    const bool rectangular = shape == 0 || shape == 2;
    switch (type) {
        case 2:
            return rectangular ? "Rectangle" : "ImageFrame";
        case 4:
            return "TextFrame";
        case 5:
            return "Line";
        case 6:
            return rectangular ? "Rectangle" : shape == 1 ? "Oval" : "Polygon";
        case 7:
            return "Polyline";
        case 8:
            return "PathText";
        case 9:
            return "LatexFrame";
        case 10:
            return "OSGFrame";
        case 11:
            return "Symbol";
        case 12:
            // A group whose effects would be lost, holding nothing the tool works on, stays whole.
            return groupChangesLook(item) && !holdsRectangleOrLine(item) ? "EffectGroup" : "Group";
        case 13:
            return "RegularPolygon";
        case 14:
            return "Arc";
        case 15:
            return "Spiral";
        case 16:
            return "Table";
        case 17:
            return "NoteFrame";
        default:
            return "PageItem";
    }
}

ItemShape readShape(pugi::xml_node item) {
    // One pass over the attributes: every item of a document is read so when it is opened.
    pugi::xml_attribute x, y, width, height, rotation, type, own;
    for (pugi::xml_attribute attribute = item.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        const char* name = attribute.name();
        const auto pick = [&](pugi::xml_attribute& slot, const char* wanted) {
            if (!slot && std::strcmp(name, wanted) == 0) {
                slot = attribute;
            }
        };
        switch (name[0]) {
            case 'X':
                pick(x, "XPOS");
                break;
            case 'Y':
                pick(y, "YPOS");
                break;
            case 'W':
                pick(width, "WIDTH");
                break;
            case 'H':
                pick(height, "HEIGHT");
                break;
            case 'R':
                pick(rotation, "ROT");
                break;
            case 'P':
                pick(type, "PTYPE");
                break;
            case 'O':
                pick(own, "OwnPage");
                break;
            default:
                break;
        }
    }
    const double kind = numberValue(type, item);
    return {Frame{numberValue(x, item), numberValue(y, item), numberValue(width, item),
                  numberValue(height, item), numberValue(rotation, item), kind == 5},
            kind == 12, intValue(own, item, -1)};
}

ItemShape shapeOf(const ScannedPlace& place) {
    return {Frame{place.x, place.y, place.width, place.height, place.rotation, place.type == 5},
            place.type == 12, place.own};
}

Frame readFrame(pugi::xml_node item) {
    return readShape(item).frame;
}

void writeFrame(SlaDocument& document, pugi::xml_node item, const Frame& frame) {
    writeFrame(document, item, readFrame(item), frame);
}

Frame writeFrame(SlaDocument& document, pugi::xml_node item, const Frame& old, const Frame& frame) {
    Frame written = old;  // what the file says, as each number is written
    written.x = document.setNumber(item, "XPOS", frame.x);
    written.y = document.setNumber(item, "YPOS", frame.y);
    // Scribus writes a top-level item's gXpos/gYpos as its position; keep them in step.
    if (item.attribute("gXpos")) {
        document.setNumber(item, "gXpos", frame.x);
        document.setNumber(item, "gYpos", frame.y);
    }
    if (!nearlyEqual(old.width, frame.width)) {
        written.width = document.setNumber(item, "WIDTH", frame.width);
    }
    if (!frame.line && !nearlyEqual(old.height, frame.height)) {
        written.height = document.setNumber(item, "HEIGHT", frame.height);
    }
    if (!frame.line &&
        (!nearlyEqual(old.width, frame.width) || !nearlyEqual(old.height, frame.height))) {
        rewritePaths(document, item, old, frame);
    }
    // Scribus writes ROT in [0, 360); 359.9999999999999 would print as 360.
    const double rotation = NumberText(frame.rotation).view() == "360" ? 0.0 : frame.rotation;
    if (item.attribute("ROT") || rotation != 0) {
        written.rotation = document.setNumber(item, "ROT", rotation);
    }
    requireWritten(item, written, frame);
    return written;
}

SlaItem::SlaItem(std::shared_ptr<SlaDocument> document, NodeHandle node, int page)
    : m_document(std::move(document)), m_node(node), m_page(page) {}

pugi::xml_node SlaItem::node() const {
    if (!m_document->alive(m_node)) {
        throw HostError("The page item no longer exists: its group was dissolved.");
    }
    return m_node.node;
}

Frame SlaItem::currentFrame(pugi::xml_node item) const {
    if (const std::optional<Frame> written = m_document->lastWrittenFrame(item)) {
        return *written;
    }
    return readFrame(item);
}

PageRect SlaItem::pageRect() const {
    return m_document->pageRects().at(static_cast<std::size_t>(m_page));
}

std::string SlaItem::name() const {
    return node().attribute("ANNAME").value();
}

std::string SlaItem::typeName() {
    return itemTypeName(node());
}

Bounds SlaItem::visibleBounds() {
    const PageRect page = pageRect();
    const Bounds box = boxOf(readFrame(node()));
    return {box.top - page.y, box.left - page.x, box.bottom - page.y, box.right - page.x};
}

void SlaItem::setVisibleBounds(const Bounds& bounds) {
    for (double value : {bounds.top, bounds.left, bounds.bottom, bounds.right}) {
        if (!std::isfinite(value)) {
            throw HostError("Visible bounds must be finite numbers.");
        }
    }
    if (bounds.bottom < bounds.top || bounds.right < bounds.left) {
        throw HostError("Visible bounds must have bottom ≥ top and right ≥ left.");
    }
    const PageRect page = pageRect();
    const Bounds canvas{bounds.top + page.y, bounds.left + page.x, bounds.bottom + page.y,
                        bounds.right + page.x};
    const pugi::xml_node item = node();
    const Frame old = currentFrame(item);
    m_document->wroteFrame(item, writeFrame(*m_document, item, old, fittedToBox(old, canvas)));
}

double SlaItem::rotationAngle() {
    // Stored ROT is clockwise; users see (and the host reports) counter-clockwise.
    return normalizedDegrees(-numberAttribute(node(), "ROT"));
}

void SlaItem::setRotationAngle(double degrees) {
    if (!std::isfinite(degrees)) {
        throw HostError("A rotation angle must be a finite number.");
    }
    const pugi::xml_node item = node();
    const Frame old = currentFrame(item);
    m_document->wroteFrame(item, writeFrame(*m_document, item, old,
                                            rotatedAboutCentre(old, normalizedDegrees(-degrees))));
}

void SlaItem::ungroup() {
    // Reading a sheet dissolves its groups. That alone is no edit the user
    // asked for and no reason to rewrite the file (Forget leaves it as it
    // was); the dissolved groups are written with the first real change.
    const bool changedBefore = m_document->changed();
    ungroupItem(*m_document, node());
    m_document->setChanged(changedBefore);
}

}  // namespace host::sla
