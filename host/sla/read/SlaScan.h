#pragma once

// One pass over a parsed document that runs the load checks (SlaCheck.h) and
// hands each element under DOCUMENT, in document order, to a visitor with the
// attributes the adapter collects at load: opening costs one walk over the
// document, one look at each attribute's name, instead of a walk per use.

#include <functional>
#include <vector>

#include <pugixml.hpp>

namespace host::sla {

// A top-level item's attributes that decide its place, as read (absent: 0;
// `own` -1).
struct ScannedPlace {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    double rotation = 0.0;
    double type = 0.0;  // PTYPE
    int own = -1;       // OwnPage
};

struct ScannedElement {
    pugi::xml_node node;
    bool mark = false;            // the element is named MARK
    const char* name = nullptr;   // ANNAME's text, or null when absent
    const char* id = nullptr;     // ItemID's
    const char* label = nullptr;  // label's
    bool item = false;            // a top-level item (DOCUMENT's PAGEOBJECT): `place` is read
    ScannedPlace place;
};

struct DocumentScan {
    // Whether every check passed; when not, documentProblem() names the
    // problem, and what was visited is to be dropped.
    bool sound = false;
    pugi::xml_node document;               // DOCUMENT
    std::vector<pugi::xml_node> sections;  // its children other than items, in order
};

using ElementVisitor = std::function<void(const ScannedElement&)>;

DocumentScan scanDocument(const pugi::xml_document& xml, const ElementVisitor& visit);

}  // namespace host::sla
