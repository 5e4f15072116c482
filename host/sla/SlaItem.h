#pragma once

// A top-level page item of a .sla document. Bounds are points relative to the
// top-left corner of the item's page, without stroke; angles are degrees
// counter-clockwise, as Scribus shows them to its users (stored ROT is clockwise).

#include <memory>
#include <string>

#include "host/Host.h"
#include "host/sla/SlaDocument.h"
#include "host/sla/read/SlaGeometry.h"
#include "host/sla/read/SlaItemShape.h"

namespace host::sla {

// The host type name of a PAGEOBJECT: "Rectangle", "Line", "Group", "TextFrame", …
// A group that dissolving would change the look of and that holds no rectangle
// or line is an "EffectGroup", which a capture leaves whole (SlaGroupLook.h).
std::string itemTypeName(pugi::xml_node item);

// What decides where an item lies (SlaItemShape.h), read from its attributes.
ItemShape readShape(pugi::xml_node item);

// The item's frame in canvas coordinates, and writing one back (size changes
// rewrite the outline path).
Frame readFrame(pugi::xml_node item);
void writeFrame(SlaDocument& document, pugi::xml_node item, const Frame& frame);
// The same, given the frame the item holds now (as readFrame() gives it);
// returns the frame the item then holds, as readFrame() would read it.
Frame writeFrame(SlaDocument& document, pugi::xml_node item, const Frame& old, const Frame& frame);

class SlaItem : public PageItem {
public:
    SlaItem(std::shared_ptr<SlaDocument> document, NodeHandle node, int page);

    std::string typeName() override;
    Bounds visibleBounds() override;
    void setVisibleBounds(const Bounds& bounds) override;
    double rotationAngle() override;
    void setRotationAngle(double degrees) override;
    void ungroup() override;

    // The item's name (ANNAME), empty when Scribus names it itself.
    std::string name() const;
    pugi::xml_node node() const;

private:
    PageRect pageRect() const;
    // The item's frame: the one last written into it while the document has
    // not been edited since (SlaDocument::lastWrittenFrame), else read from
    // the attributes.
    Frame currentFrame(pugi::xml_node item) const;

    std::shared_ptr<SlaDocument> m_document;
    NodeHandle m_node;
    int m_page;
};

}  // namespace host::sla
