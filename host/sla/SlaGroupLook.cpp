// A group with an effect of its own and no page rectangle or line is left
// whole (it is no business of the tool's); one that holds a rectangle or a
// line has to go, since the capture reads rectangles inside groups, so its
// opacity and blend mode move to its members. A clip that cuts, a shadow
// or a mask cannot move and is lost with such a group.

#include "host/sla/SlaGroupLook.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "host/sla/SlaItem.h"
#include "host/sla/read/SlaGeometry.h"
#include "host/sla/read/SlaNumbers.h"

namespace host::sla {

namespace {

constexpr double kTolerance = 1e-6;

// The attribute as a number: `absent` when missing, nothing when unreadable.
std::optional<double> number(pugi::xml_node node, const char* name, double absent) {
    const pugi::xml_attribute attribute = node.attribute(name);
    return attribute ? parseNumber(attribute.value()) : std::optional<double>(absent);
}

bool nonZero(pugi::xml_node node, const char* name) {
    const std::optional<double> value = number(node, name, 0.0);
    return !value || *value != 0.0;
}

// Half the stroke Scribus draws around `member`, as its boxes count it.
double halfStroke(pugi::xml_node member) {
    const char* colour = member.attribute("PCOLOR2").value();
    if (!member.attribute("PCOLOR2") || std::strcmp(colour, "None") == 0) {
        return 0.0;
    }
    const double width = number(member, "PWIDTH", 1.0).value_or(1.0);
    return (width == 0.0 ? 0.72 : std::abs(width)) / 2.0;
}

// Whether `member`, drawn with its stroke, lies within the group's unscaled frame.
bool insideFrame(pugi::xml_node member, double width, double height) {
    const std::optional<double> x = number(member, "gXpos", 0.0);
    const std::optional<double> y = number(member, "gYpos", 0.0);
    if (!x || !y) {
        return false;
    }
    Frame frame = readFrame(member);
    frame.x = *x;
    frame.y = *y;
    const Bounds box = boxOf(frame);
    double c = 0.0;
    double s = 0.0;
    cosSin(frame.rotation, c, s);
    const double h = halfStroke(member);
    const double grow = frame.line ? h * std::abs(s) : h * (std::abs(c) + std::abs(s));
    const double growY = frame.line ? h * std::abs(c) : grow;
    const double slack = kTolerance * std::max({1.0, width, height});
    return box.left - grow >= -slack && box.top - growY >= -slack &&
           box.right + grow <= width + slack && box.bottom + growY <= height + slack;
}

bool clipCuts(pugi::xml_node group) {
    const std::optional<double> clips = number(group, "groupClips", 1.0);
    if (clips && *clips == 0.0) {
        return false;
    }
    const Frame frame = readFrame(group);
    const double width = number(group, "groupWidth", frame.width).value_or(-1.0);
    const double height = number(group, "groupHeight", frame.height).value_or(-1.0);
    const std::string path = group.attribute("path").value();
    const bool rectangular = number(group, "FRTYPE", 0.0) == 0.0 &&
                             (path.empty() || path == rectanglePath(width, height) ||
                              path == rectanglePath(frame.width, frame.height));
    if (!rectangular || width < 0 || height < 0) {
        return true;
    }
    for (pugi::xml_node member : group.children("PAGEOBJECT")) {
        if (!insideFrame(member, width, height)) {
            return true;
        }
    }
    return false;
}

// 1 - (1 - a)(1 - b): two transparencies one over the other.
void foldOpacity(SlaDocument& document, pugi::xml_node member, const char* name, double group) {
    const std::optional<double> own = number(member, name, 0.0);
    if (own) {
        document.setNumber(member, name, 1.0 - (1.0 - group) * (1.0 - *own));
    }
}

void foldBlend(SlaDocument& document, pugi::xml_node member, const char* name,
               const std::string& blend) {
    const std::optional<double> own = number(member, name, 0.0);
    if (own && *own == 0.0) {
        document.setAttribute(member, name, blend);
    }
}

}  // namespace

bool groupChangesLook(pugi::xml_node group) {
    return nonZero(group, "TransValue") || nonZero(group, "TransBlend") ||
           nonZero(group, "HASSOFTSHADOW") || nonZero(group, "GRTYPM") || clipCuts(group);
}

bool holdsRectangleOrLine(pugi::xml_node group) {
    for (pugi::xml_node member : group.children("PAGEOBJECT")) {
        const std::optional<int> type = parseInteger(member.attribute("PTYPE").value());
        if (type == 12 ? holdsRectangleOrLine(member)  // depth is bounded by the load checks
                       : itemTypeName(member) == "Rectangle" || itemTypeName(member) == "Line") {
            return true;
        }
    }
    return false;
}

void foldGroupLook(SlaDocument& document, pugi::xml_node group, pugi::xml_node member) {
    const std::optional<double> opacity = number(group, "TransValue", 0.0);
    if (opacity && *opacity != 0.0) {
        foldOpacity(document, member, "TransValue", *opacity);
        if (parseInteger(member.attribute("PTYPE").value()) != 12) {
            foldOpacity(document, member, "TransValueS", *opacity);
        }
    }
    const std::optional<double> blend = number(group, "TransBlend", 0.0);
    if (blend && *blend != 0.0) {
        const std::string mode = group.attribute("TransBlend").value();
        foldBlend(document, member, "TransBlend", mode);
        if (parseInteger(member.attribute("PTYPE").value()) != 12) {
            foldBlend(document, member, "TransBlendS", mode);
        }
    }
}

}  // namespace host::sla
