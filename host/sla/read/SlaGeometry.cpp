#include "host/sla/read/SlaGeometry.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "host/HostError.h"
#include "host/sla/read/SlaNumbers.h"

namespace host::sla {

namespace {

// Frame corner offset (u, v) turned by the frame's clockwise rotation.
void turned(double degrees, double u, double v, double& dx, double& dy) {
    double c = 0.0;
    double s = 0.0;
    cosSin(degrees, c, s);
    dx = u * c - v * s;
    dy = u * s + v * c;
}

// The frame as the shared item geometry holds it: centred, unrotated, with
// its counter-clockwise angle the negated ROT.
host::Frame centred(const Frame& frame) {
    const double height = frame.line ? 0.0 : frame.height;
    double dx = 0.0;
    double dy = 0.0;
    turned(frame.rotation, frame.width / 2, height / 2, dx, dy);
    return {{frame.x + dx, frame.y + dy}, frame.width, height};
}

// `like` with its size and origin taken from `centredFrame`; lines keep the
// stored height, which Scribus ignores for them.
Frame fromCentred(const host::Frame& centredFrame, Frame like) {
    like.width = centredFrame.width;
    if (!like.line) {
        like.height = centredFrame.height;
    }
    double dx = 0.0;
    double dy = 0.0;
    turned(like.rotation, centredFrame.width / 2, like.line ? 0.0 : centredFrame.height / 2, dx,
           dy);
    like.x = centredFrame.centre.x - dx;
    like.y = centredFrame.centre.y - dy;
    return like;
}

Frame lineFittedToBox(Frame frame, const Bounds& box) {
    double c = 0.0;
    double s = 0.0;
    cosSin(frame.rotation, c, s);
    if (std::abs(s) < kGeometryTolerance) {
        frame.width = box.width();
    } else if (std::abs(c) < kGeometryTolerance) {
        frame.width = box.height();
    } else {
        // The longest segment at this angle that stays inside the box.
        frame.width = std::min(box.width() / std::abs(c), box.height() / std::abs(s));
    }
    frame.x = c >= 0 ? box.left : box.right;
    frame.y = s >= 0 ? box.top : box.bottom;
    return frame;
}

}  // namespace

void cosSin(double degrees, double& cosine, double& sine) {
    const Turn turn = turnOf(degrees);
    cosine = turn.cos;
    sine = turn.sin;
}

Bounds boxOf(const Frame& frame) {
    return host::boxOf(centred(frame), -frame.rotation);
}

Frame fittedToBox(const Frame& frame, const Bounds& box) {
    if (frame.line) {
        return lineFittedToBox(frame, box);
    }
    return fromCentred(host::fitFrame(centred(frame), -frame.rotation, box), frame);
}

Frame rotatedAboutCentre(const Frame& frame, double rotation) {
    Frame turnedFrame = frame;
    turnedFrame.rotation = rotation;
    return fromCentred(centred(frame), turnedFrame);
}

std::string rectanglePath(double width, double height) {
    const std::string w = formatNumber(width);
    const std::string h = formatNumber(height);
    return "M0 0 L" + w + " 0 L" + w + " " + h + " L0 " + h + " L0 0 Z";
}

}  // namespace host::sla
