#pragma once

// Press sheets as text, for tests and the automation test host: a sheet is loaded into a
// MemoryHost, and the documents are written back in the same form.
//
//     document 1000 700                 opens a document (page width, height); it becomes active
//     spread                            adds a spread to the current document
//     page                              adds a page to the current spread
//     rectangle r1 50 100 350 300 90    label, box as drawn (top left bottom right), angle
//     line cut 675 50 675 950           the angle may be left out: 0
//     item Oval mark 660 960 680 980    any other kind of item: its type name first
//     group g1                          the items up to the matching "end" are its members
//     end
//     active 1                          makes document 1 the active one
//     window 2                          the active window shows spread 2 of the active document
//     window none                       an open window that shows no spread
//     window closed                     no window
//
// Lengths are host units, angles degrees (MemoryHostGeometry.h). Text after '#' and blank lines
// are ignored; indentation is free. Without a "window" line the window shows the first spread
// of the active document, if it has one.

#include <string>
#include <string_view>

#include "host/memory/MemoryHost.h"

namespace host::memory {

// Adds the documents of `text` to `host`. A malformed sheet is a mistake in the test:
// std::invalid_argument naming the line.
void loadSheet(MemoryHost& host, std::string_view text);

// Every document of `host` with its spreads, pages and items as the host now holds them: boxes
// as drawn and angles, groups with their members. loadSheet reads it back.
std::string dumpDocuments(const MemoryHost& host);

}  // namespace host::memory
