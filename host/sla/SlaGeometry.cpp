#include "host/sla/SlaGeometry.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>

#include "host/HostError.h"
#include "host/sla/SlaNumbers.h"

namespace host::sla {

namespace {

constexpr double kTiny = 1e-9;

bool nearlyEqual(double a, double b) {
    return std::abs(a - b) <= kTiny * std::max({1.0, std::abs(a), std::abs(b)});
}

// Frame corner offset (u, v) turned by the frame's rotation.
void turned(double degrees, double u, double v, double& dx, double& dy) {
    double c = 0.0;
    double s = 0.0;
    cosSin(degrees, c, s);
    dx = u * c - v * s;
    dy = u * s + v * c;
}

void centreOf(const Frame& frame, double& cx, double& cy) {
    double dx = 0.0;
    double dy = 0.0;
    turned(frame.rotation, frame.width / 2, frame.line ? 0.0 : frame.height / 2, dx, dy);
    cx = frame.x + dx;
    cy = frame.y + dy;
}

Frame lineFittedToBox(Frame frame, const Bounds& box) {
    const double boxWidth = box[3] - box[1];
    const double boxHeight = box[2] - box[0];
    double c = 0.0;
    double s = 0.0;
    cosSin(frame.rotation, c, s);
    if (std::abs(s) < kTiny) {
        frame.width = boxWidth;
    } else if (std::abs(c) < kTiny) {
        frame.width = boxHeight;
    } else {
        // The longest segment at this angle that stays inside the box.
        frame.width = std::min(boxWidth / std::abs(c), boxHeight / std::abs(s));
    }
    frame.x = c >= 0 ? box[1] : box[3];
    frame.y = s >= 0 ? box[0] : box[2];
    return frame;
}

}  // namespace

void cosSin(double degrees, double& cosine, double& sine) {
    const double reduced = normalizedDegrees(degrees);
    if (reduced == 0.0 || reduced == 90.0 || reduced == 180.0 || reduced == 270.0) {
        static constexpr double kCos[] = {1, 0, -1, 0};
        static constexpr double kSin[] = {0, 1, 0, -1};
        const auto quarter = static_cast<int>(reduced / 90.0);
        cosine = kCos[quarter];
        sine = kSin[quarter];
        return;
    }
    const double radians = reduced * std::numbers::pi / 180.0;
    cosine = std::cos(radians);
    sine = std::sin(radians);
}

double normalizedDegrees(double degrees) {
    double reduced = std::fmod(degrees, 360.0);
    if (reduced < 0) {
        reduced += 360.0;
    }
    return reduced >= 360.0 ? 0.0 : reduced + 0.0;  // + 0.0 turns -0 into 0
}

Bounds boxOf(const Frame& frame) {
    const double height = frame.line ? 0.0 : frame.height;
    double left = frame.x;
    double right = frame.x;
    double top = frame.y;
    double bottom = frame.y;
    for (const auto& [u, v] : {std::pair{frame.width, 0.0}, {0.0, height}, {frame.width, height}}) {
        double dx = 0.0;
        double dy = 0.0;
        turned(frame.rotation, u, v, dx, dy);
        left = std::min(left, frame.x + dx);
        right = std::max(right, frame.x + dx);
        top = std::min(top, frame.y + dy);
        bottom = std::max(bottom, frame.y + dy);
    }
    return {top, left, bottom, right};
}

Frame fittedToBox(const Frame& frame, const Bounds& box) {
    if (frame.line) {
        return lineFittedToBox(frame, box);
    }
    const double boxWidth = box[3] - box[1];
    const double boxHeight = box[2] - box[0];
    const Bounds current = boxOf(frame);
    Frame fitted = frame;
    double c = 0.0;
    double s = 0.0;
    cosSin(frame.rotation, c, s);
    c = std::abs(c);
    s = std::abs(s);
    if (nearlyEqual(current[3] - current[1], boxWidth) &&
        nearlyEqual(current[2] - current[0], boxHeight)) {
        // Same size: a move only, which also keeps frames at 45° representable.
    } else if (s < kTiny) {
        fitted.width = boxWidth;
        fitted.height = boxHeight;
    } else if (c < kTiny) {
        fitted.width = boxHeight;
        fitted.height = boxWidth;
    } else {
        const double determinant = c * c - s * s;
        fitted.width = (boxWidth * c - boxHeight * s) / determinant;
        fitted.height = (boxHeight * c - boxWidth * s) / determinant;
        if (std::abs(determinant) < kTiny || fitted.width < 0 || fitted.height < 0) {
            throw HostError("No frame turned by " + formatNumber(frame.rotation) +
                            "° has a box of " + formatNumber(boxWidth) + " × " +
                            formatNumber(boxHeight) + " points.");
        }
    }
    double dx = 0.0;
    double dy = 0.0;
    turned(frame.rotation, fitted.width / 2, fitted.height / 2, dx, dy);
    fitted.x = (box[1] + box[3]) / 2 - dx;
    fitted.y = (box[0] + box[2]) / 2 - dy;
    return fitted;
}

Frame rotatedAboutCentre(const Frame& frame, double rotation) {
    double cx = 0.0;
    double cy = 0.0;
    centreOf(frame, cx, cy);
    Frame turnedFrame = frame;
    turnedFrame.rotation = rotation;
    double dx = 0.0;
    double dy = 0.0;
    turned(rotation, frame.width / 2, frame.line ? 0.0 : frame.height / 2, dx, dy);
    turnedFrame.x = cx - dx;
    turnedFrame.y = cy - dy;
    return turnedFrame;
}

std::string rectanglePath(double width, double height) {
    const std::string w = formatNumber(width);
    const std::string h = formatNumber(height);
    return "M0 0 L" + w + " 0 L" + w + " " + h + " L0 " + h + " L0 0 Z";
}

}  // namespace host::sla
