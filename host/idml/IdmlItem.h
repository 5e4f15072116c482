#pragma once

// A page item of an IDML spread as the host object model shows it, measured
// on the sheet page (see IdmlGeometry.h). Rectangles and other framed items
// are moved, sized and turned by rewriting their ItemTransform, their paths
// kept; a line's bounds are set through its path's anchors. A rectangle
// sheared or mirrored cannot stand for a page: reading it throws HostError.

#include <memory>
#include <string>

#include "host/Host.h"
#include "host/idml/IdmlDocument.h"

namespace host::idml {

class IdmlItem : public PageItem {
public:
    IdmlItem(std::shared_ptr<IdmlDocument> document, std::shared_ptr<NodeHandle> node,
             std::shared_ptr<NodeHandle> page)
        : m_document(std::move(document)), m_node(std::move(node)), m_page(std::move(page)) {}

    std::string typeName() override;
    Bounds visibleBounds() override;
    void setVisibleBounds(const Bounds& bounds) override;
    double rotationAngle() override;
    void setRotationAngle(double degrees) override;
    void ungroup() override;

    // The item's Name, else its id.
    std::string name();

private:
    pugi::xml_node node() const;
    pugi::xml_node page() const;
    Transform transform() const;
    Transform parentTransform() const;
    // Rectangles must be upright frames turned and scaled only.
    void requireFrame(const Transform& transform) const;
    void setTransform(const Transform& onSheet);

    std::shared_ptr<IdmlDocument> m_document;
    std::shared_ptr<NodeHandle> m_node;
    std::shared_ptr<NodeHandle> m_page;
};

}  // namespace host::idml
