// Ungrouping as Scribus 1.5.8 does it: a member's stored position is relative
// to the group's unscaled, unrotated frame (gXpos/gYpos), so the group's
// rotation and scale have to be applied to place it where it is drawn. The
// group's opacity and blend mode pass to the members (SlaGroupLook.h).

#include <cmath>
#include <string>

#include "host/sla/SlaUngroup.h"

#include "host/HostError.h"
#include "host/sla/SlaGroupLook.h"
#include "host/sla/SlaItem.h"
#include "host/sla/read/SlaNumbers.h"

namespace host::sla {

namespace {

struct GroupTransform {
    double x = 0.0;  // group origin, canvas
    double y = 0.0;
    double rotation = 0.0;  // clockwise
    double scaleX = 1.0;
    double scaleY = 1.0;
};

GroupTransform transformOf(pugi::xml_node group) {
    const Frame frame = readFrame(group);
    const double groupWidth = numberAttribute(group, "groupWidth", frame.width);
    const double groupHeight = numberAttribute(group, "groupHeight", frame.height);
    return {frame.x, frame.y, frame.rotation, groupWidth > 0 ? frame.width / groupWidth : 1.0,
            groupHeight > 0 ? frame.height / groupHeight : 1.0};
}

// The member's own width and height factors: a member turned by 90° stretches
// along the group's other axis.
void memberScale(const GroupTransform& group, const Frame& member, pugi::xml_node node, double& sx,
                 double& sy) {
    if (nearlyEqual(group.scaleX, group.scaleY)) {
        sx = sy = group.scaleX;
        return;
    }
    const double quarterTurns = normalizedDegrees(member.rotation) / 90.0;
    if (quarterTurns != std::floor(quarterTurns)) {
        // Scribus would shear such a member into a parallelogram; refuse instead.
        throw HostError("Cannot ungroup: the group is stretched unevenly and its member \"" +
                        std::string(node.attribute("ANNAME").value()) +
                        "\" is turned by an angle that is not a multiple of 90°.");
    }
    const bool across = static_cast<int>(quarterTurns) % 2 == 1;
    sx = across ? group.scaleY : group.scaleX;
    sy = across ? group.scaleX : group.scaleY;
}

void placeMember(SlaDocument& document, const GroupTransform& group, pugi::xml_node member) {
    const Frame old = readFrame(member);
    double c = 0.0;
    double s = 0.0;
    cosSin(group.rotation, c, s);
    const double u = group.scaleX * numberAttribute(member, "gXpos");
    const double v = group.scaleY * numberAttribute(member, "gYpos");
    double sx = 1.0;
    double sy = 1.0;
    memberScale(group, old, member, sx, sy);

    Frame placed = old;
    placed.x = group.x + u * c - v * s;
    placed.y = group.y + u * s + v * c;
    placed.rotation = normalizedDegrees(old.rotation + group.rotation);
    placed.width = old.width * sx;
    placed.height = old.height * sy;
    writeFrame(document, member, placed);
    if (sx != 1.0 && member.attribute("PWIDTH")) {
        document.setNumber(member, "PWIDTH",
                           numberAttribute(member, "PWIDTH") * std::sqrt(sx * sy));
    }
    // Top-level items carry their own position in gXpos/gYpos and no parent size.
    document.setNumber(member, "gXpos", placed.x);
    document.setNumber(member, "gYpos", placed.y);
    document.setNumber(member, "gWidth", 0);
    document.setNumber(member, "gHeight", 0);
}

}  // namespace

std::vector<pugi::xml_node> ungroupItem(SlaDocument& document, pugi::xml_node group) {
    if (numberAttribute(group, "PTYPE") != 12) {
        throw HostError("Cannot ungroup \"" + std::string(group.attribute("ANNAME").value()) +
                        "\": it is a " + itemTypeName(group) + ", not a group.");
    }
    const GroupTransform transform = transformOf(group);
    std::vector<pugi::xml_node> members;
    for (pugi::xml_node member : group.children("PAGEOBJECT")) {
        members.push_back(member);
    }
    // Check every member before changing any, so a refused ungroup changes nothing.
    for (pugi::xml_node member : members) {
        double sx = 1.0;
        double sy = 1.0;
        memberScale(transform, readFrame(member), member, sx, sy);
    }
    // Members go where the group was, each on its own line at the group's indent.
    const pugi::xml_node indent = group.previous_sibling();
    bool first = true;
    for (pugi::xml_node member : members) {
        foldGroupLook(document, group, member);
        placeMember(document, transform, member);
        if (!first && indent.type() == pugi::node_pcdata) {
            document.insertCopyBefore(group, indent);
        }
        document.moveBefore(member, group);
        first = false;
    }
    document.removeNode(group);
    return members;
}

}  // namespace host::sla
