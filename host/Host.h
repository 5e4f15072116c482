#pragma once

// The host's automation object model, as far as the tool uses it.
// Lengths are host units (the unit the host reports for the document); bounds
// are top, left, bottom, right in that order, y growing downwards, measured from
// the top-left corner of the page (for a spread's items, its first page: the
// sheet), whatever zero point the host's rulers have.
//
// Angles: degrees, counter-clockwise on screen positive, about the centre of
// the item's box. A put takes any finite value (a non-finite one throws
// HostError); a get reports the same angle modulo 360, in the range of the
// adapter:
//   - a live host: InDesign 2.0 as it reports them, passed on unchanged; a later
//     InDesign, which reports (-180, 180], reduced into [0, 360) (-90 gives 270);
//   - the .sla host (host/sla): reduced to [0, 360);
//   - the in-memory host (host/memory): unreduced, exactly as put or built,
//     so that tests can hand the tool any angle a host might report.
// The tool's geometry takes any value and never reduces one, so the range an
// adapter reports is what the tool sees.
//
// Every call blocks until the host answers. A call that fails, a missing result
// (no active window, no spread) or a value of the wrong kind throws HostError;
// no call returns a null reference.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "state/Bounds.h"

namespace host {

using Bounds = state::Bounds;  // top, left, bottom, right

class Spread;

class PageItem {
public:
    virtual ~PageItem() = default;
    // The class name: "Rectangle", "Line", "Group" or another; compared exactly.
    virtual std::string typeName() = 0;
    virtual Bounds visibleBounds() = 0;
    virtual void setVisibleBounds(const Bounds& bounds) = 0;
    virtual double rotationAngle() = 0;
    virtual void setRotationAngle(double degrees) = 0;
    // Groups only: the members take the group's place among the spread's items.
    virtual void ungroup() = 0;
};

class PageItems {
public:
    virtual ~PageItems() = default;
    // One enumeration, from the beginning, in the host's order.
    virtual std::vector<std::shared_ptr<PageItem>> enumerate() = 0;
};

class Page {
public:
    virtual ~Page() = default;
    // Adds a copy of the page to the document; the result is the spread whose
    // page items are the copy's items (on a later host, the new page itself,
    // standing as that spread).
    virtual std::shared_ptr<Spread> duplicate() = 0;
};

class Pages {
public:
    virtual ~Pages() = default;
    // Page by 1-based index.
    virtual std::shared_ptr<Page> item(std::int16_t index) = 0;
};

class Spread {
public:
    virtual ~Spread() = default;
    virtual std::shared_ptr<PageItems> pageItems() = 0;  // pits
    virtual std::shared_ptr<Pages> pages() = 0;          // pags
};

class Window {
public:
    virtual ~Window() = default;
    virtual std::shared_ptr<Spread> activeSpread() = 0;
};

class DocumentPreferences {
public:
    virtual ~DocumentPreferences() = default;
    virtual double pageWidth() = 0;
    virtual double pageHeight() = 0;
};

class Document {
public:
    virtual ~Document() = default;
    virtual std::shared_ptr<DocumentPreferences> preferences() = 0;  // dcpp
};

class Documents {
public:
    virtual ~Documents() = default;
    virtual int count() = 0;
};

class Application {
public:
    virtual ~Application() = default;
    virtual std::shared_ptr<Documents> documents() = 0;      // docs
    virtual std::shared_ptr<Document> activeDocument() = 0;  // pacd
    virtual std::shared_ptr<Window> activeWindow() = 0;      // pacw
};

}  // namespace host
