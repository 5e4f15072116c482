#include "host/idml/IdmlGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "host/HostError.h"

namespace host::idml {

namespace {

Bounds pointBox(Point p) {
    return {p.y, p.x, p.y, p.x};
}

Bounds boxOfPoints(const std::vector<Point>& points) {
    Bounds box = pointBox(points.front());
    for (const Point& p : points) {
        box = unite(box, pointBox(p));
    }
    return box;
}

Bounds grown(const Bounds& box, double by) {
    return {box.top - by, box.left - by, box.bottom + by, box.right + by};
}

Point pointAttribute(pugi::xml_node node, const char* name, Point fallback) {
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) {
        return fallback;
    }
    const auto numbers = parseNumbers(attribute.value());
    if (!numbers || numbers->size() != 2) {
        throw HostError("The page item \"" + describe(node.parent().parent().parent().parent()) +
                        "\" has a path point that is no pair of numbers.");
    }
    return {(*numbers)[0], (*numbers)[1]};
}

std::vector<pugi::xml_node> pathPointNodes(pugi::xml_node node) {
    std::vector<pugi::xml_node> points;
    const pugi::xml_node geometry = node.child("Properties").child("PathGeometry");
    for (pugi::xml_node path : geometry.children("GeometryPathType")) {
        for (pugi::xml_node point : path.child("PathPointArray").children("PathPointType")) {
            points.push_back(point);
        }
    }
    return points;
}

}  // namespace

bool isPageItem(pugi::xml_node node) {
    return node.type() == pugi::node_element && node.attribute("ItemTransform") &&
           std::strcmp(node.name(), "Page") != 0 && std::strcmp(node.name(), "Spread") != 0;
}

std::string typeNameOf(pugi::xml_node node) {
    std::string name = node.name();
    if (name == "GraphicLine") {
        return "Line";
    }
    return name;  // Rectangle, Group and every other kind by its own name
}

std::string describe(pugi::xml_node node) {
    const char* name = node.attribute("Name").value();
    if (*name != '\0' && std::strcmp(name, "$ID/") != 0) {
        return name;
    }
    return node.attribute("Self").value();
}

Transform ownTransform(pugi::xml_node node) {
    const auto transform = parseTransform(node.attribute("ItemTransform").value());
    if (!transform) {
        throw HostError("The page item \"" + describe(node) +
                        "\" has an ItemTransform that is not six numbers.");
    }
    return *transform;
}

Transform toSheet(const IdmlDocument& document, pugi::xml_node node, pugi::xml_node page) {
    Transform transform;
    for (pugi::xml_node at = node; at && std::strcmp(at.name(), "Spread") != 0; at = at.parent()) {
        if (isPageItem(at)) {
            transform = ownTransform(at).after(transform);
        }
    }
    const double scale = 1.0 / document.unit();
    return Transform::scaling(scale, scale).after(document.placeOf(page).toPage).after(transform);
}

std::vector<PathPoint> pathOf(pugi::xml_node node) {
    std::vector<PathPoint> path;
    for (pugi::xml_node point : pathPointNodes(node)) {
        const Point anchor = pointAttribute(point, "Anchor", {});
        if (!point.attribute("Anchor")) {
            throw HostError("The page item \"" + describe(node) +
                            "\" has a path point without "
                            "its anchor.");
        }
        path.push_back({anchor, pointAttribute(point, "LeftDirection", anchor),
                        pointAttribute(point, "RightDirection", anchor)});
    }
    return path;
}

void writePath(IdmlDocument& document, pugi::xml_node node, const std::vector<PathPoint>& path) {
    const std::vector<pugi::xml_node> points = pathPointNodes(node);
    const auto text = [](Point p) { return numberText(p.x) + " " + numberText(p.y); };
    for (std::size_t i = 0; i < points.size() && i < path.size(); ++i) {
        document.setAttribute(points[i], "Anchor", text(path[i].anchor));
        document.setAttribute(points[i], "LeftDirection", text(path[i].left));
        document.setAttribute(points[i], "RightDirection", text(path[i].right));
    }
}

double strokeOutset(pugi::xml_node node) {
    const double weight = node.attribute("StrokeWeight").as_double(0.0);
    const char* colour = node.attribute("StrokeColor").value();
    if (!(weight > 0.0) || !std::isfinite(weight) || *colour == '\0' ||
        std::strcmp(colour, "Swatch/None") == 0) {
        return 0.0;
    }
    if (std::strcmp(node.name(), "GraphicLine") == 0) {
        return weight / 2.0;  // a line's stroke lies on both sides of it
    }
    const char* alignment = node.attribute("StrokeAlignment").value();
    if (std::strcmp(alignment, "InsideAlignment") == 0) {
        return 0.0;
    }
    return std::strcmp(alignment, "OutsideAlignment") == 0 ? weight : weight / 2.0;
}

Bounds innerBox(pugi::xml_node node) {
    const std::vector<PathPoint> path = pathOf(node);
    if (!path.empty()) {
        std::vector<Point> anchors;
        for (const PathPoint& point : path) {
            anchors.push_back(point.anchor);
        }
        return boxOfPoints(anchors);
    }
    std::vector<Point> corners;
    for (pugi::xml_node child : node.children()) {
        if (!isPageItem(child)) {
            continue;
        }
        const Bounds box = innerBox(child);
        const Transform own = ownTransform(child);
        for (const Point p : {Point{box.left, box.top}, Point{box.right, box.top},
                              Point{box.left, box.bottom}, Point{box.right, box.bottom}}) {
            corners.push_back(own.apply(p));
        }
    }
    return corners.empty() ? Bounds{} : boxOfPoints(corners);
}

Bounds visibleBoundsOf(pugi::xml_node node, const Transform& transform, double unit) {
    const double outset = strokeOutset(node) / unit;
    const std::vector<PathPoint> path = pathOf(node);
    if (path.empty()) {
        // A group, or an item without a path of its own: its members' bounds.
        std::optional<Bounds> box;
        for (pugi::xml_node child : node.children()) {
            if (isPageItem(child)) {
                const Bounds member =
                    visibleBoundsOf(child, transform.after(ownTransform(child)), unit);
                box = box ? unite(*box, member) : member;
            }
        }
        return box.value_or(pointBox(transform.apply({})));
    }
    if (std::strcmp(node.name(), "GraphicLine") == 0) {
        const Point from = transform.apply(path.front().anchor);
        const Point to = transform.apply(path.back().anchor);
        const double length = std::hypot(to.x - from.x, to.y - from.y);
        const double nx = length > 0.0 ? -(to.y - from.y) / length * outset : 0.0;
        const double ny = length > 0.0 ? (to.x - from.x) / length * outset : 0.0;
        return boxOfPoints({{from.x + nx, from.y + ny},
                            {from.x - nx, from.y - ny},
                            {to.x + nx, to.y + ny},
                            {to.x - nx, to.y - ny}});
    }
    const Bounds inner = innerBox(node);
    if (!transform.shearedOrMirrored()) {
        const Frame frame{transform.apply(centreOf(inner)),
                          std::hypot(transform.a, transform.b) * inner.width() + 2 * outset,
                          std::hypot(transform.c, transform.d) * inner.height() + 2 * outset};
        return boxOf(frame, transform.angle());
    }
    return grown(boxOfPoints({transform.apply({inner.left, inner.top}),
                              transform.apply({inner.right, inner.top}),
                              transform.apply({inner.left, inner.bottom}),
                              transform.apply({inner.right, inner.bottom})}),
                 outset);
}

}  // namespace host::idml
