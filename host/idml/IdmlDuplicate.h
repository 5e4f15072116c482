#pragma once

// Copying a page of an IDML document as a new spread of its own, placed right
// after the page's spread: fresh ids for everything copied, copies of the
// stories of copied text frames, threads kept within the copy and cut where
// they lead out of it, the pages after it numbered on.

#include <pugixml.hpp>

#include <vector>

#include "host/idml/IdmlDocument.h"

namespace host::idml {

// The top-level page items of spread `spread` that lie on its first page: on a
// spread of one page all of them, else those nearer that page than any other.
std::vector<pugi::xml_node> itemsOnFirstPage(const IdmlDocument& document, std::size_t spread);

struct Duplicate {
    std::size_t spread = 0;  // index of the new spread
    pugi::xml_node page;     // the new page
};

// Copies the first page of spread `spread` with its items. Throws HostError.
Duplicate duplicateFirstPage(IdmlDocument& document, std::size_t spread);

// Copies the stories of the text frames under `copy` (a new spread), gives
// the frames their copies and cuts threads leading out of `copy`.
void copyStories(IdmlDocument& document, pugi::xml_node copy);

// Numbers `page` (new, after its predecessor) and the pages after it, and
// counts it in its section.
void numberNewPage(IdmlDocument& document, pugi::xml_node page);

}  // namespace host::idml
