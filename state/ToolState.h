#pragma once

// Everything the tool keeps between two window events.
// Host units: lengths as the host reports them for the document.
// Window units: pixels of the window's client area (x right, y down).
// The window's own Left and Top are twips (1/1440 inch).

#include <cstdint>
#include <memory>
#include <optional>

#include "state/PageTable.h"

namespace host {
class Application;
class Document;
class PageItems;
class Spread;
}  // namespace host

namespace state {

struct ToolState {
    // Host references; none until set.
    std::shared_ptr<host::Application> hostApp;
    std::shared_ptr<host::Spread> curSpread;  // the spread of the last capture
    std::shared_ptr<host::PageItems> spreadItems;
    std::shared_ptr<host::Document> activeDoc;  // the active document at the last fitting

    // The press sheet, host units; no value until the first sheet fitting.
    std::optional<double> sheetWidth;
    std::optional<double> sheetHeight;
    // Window units per host unit; no value until the first sheet fitting.
    std::optional<double> fitScale;

    // Shape1's designed box, window units, read once at start-up.
    float sheetTop = 0.0f;
    float sheetLeft = 0.0f;
    float boxWidth = 0.0f;
    float boxHeight = 0.0f;

    // Page tables and their counters.
    int pageCount = 0;                // captured rectangles = filled rows of both tables
    std::int16_t frontCapacity = 32;  // highest row index of frontPages
    PageTable frontPages;             // side 1, pages 1, 3, 5, ...
    PageTable backPages;              // side 2, pages 2, 4, 6, ...

    // True: the back side is the front mirrored left-right; false: top-bottom.
    bool flipLeftRight = true;

    // Whether marker elements 1 .. pageCount - 1 exist on each side.
    bool side1Loaded = false;
    bool side2Loaded = false;

    // Whether each picture button shows its Up face.
    bool reflectUp = true;
    bool duplicateUp = true;
    bool forgetUp = true;
    bool refreshUp = true;

    // Drag anchor: pointer in window units, window position in twips.
    float dragX = 0.0f;
    float dragY = 0.0f;
    float winLeft = 0.0f;
    std::int16_t winTop = 0;
};

// Starts a capture: a new, empty front table of rows 0 .. frontCapacity.
void newFrontTable(ToolState& state);

// Counts the rectangle just written into row pageCount and grows the front table
// by 32 rows when it is full. Throws OverflowError when frontCapacity would
// leave the 16-bit range (the 32,736th rectangle); nothing changes then.
void countFrontPage(ToolState& state);

// Front row r holds page 2r + 1.
int frontPageNumber(int row);

}  // namespace state
