#pragma once

// A host over an in-memory model, for tests and benchmarks. Tests build documents, spreads,
// pages and items, hand application() to the tool and then read back the model and the log:
//
//     MemoryHost host;
//     MemoryDocument& doc = host.addDocument(1000, 700);
//     MemorySpread& spread = doc.addSpread();
//     MemoryPage& page = spread.addPage();
//     page.addRectangle("r1", {50, 100, 350, 300}, 90);  // box as drawn, angle
//     page.addGroup("g1").addLine("l1", {100, 100, 100, 300});
//     host.showWindow(spread);
//
// Call log: every call on a host object is recorded, in order, as "<object>.<operation>".
// Objects: "app", "docs", "window", documents "doc1", "doc2", ..., a document's preferences
// "doc1.prefs", spreads "spread1", ..., a spread's page items "spread1.items" and pages
// "spread1.pages", pages "page1", ..., and page items by the label given when made (a copy made
// by Duplicate adds a prime: "r1'"). Operations: "docs", "pacd", "pacw" (application), "Count"
// (documents), "dcpp" (document), "pageWidth", "pageHeight", "ActiveSpread" (window), "pits",
// "pags" (spread), "enumerate", "Item(<n>)", "Duplicate" (page), and on page items "typeName",
// "VisibleBounds", "RotationAngle", "Ungroup"; a put adds "=": "r1.VisibleBounds=".
// A call is recorded even when it fails.

#include <memory>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/HostConnection.h"
#include "host/memory/MemoryHostModel.h"

namespace host {

namespace memory {
struct HostState;
}

class MemoryHost {
public:
    MemoryHost();
    MemoryHost(const MemoryHost&) = delete;
    MemoryHost& operator=(const MemoryHost&) = delete;

    // Opens a document with the given page size (host units); it becomes the active one.
    MemoryDocument& addDocument(double pageWidth, double pageHeight);
    void activate(MemoryDocument& document);
    // The open documents in the order they were opened, and the active one (null: none).
    const std::vector<std::shared_ptr<MemoryDocument>>& documents() const;
    MemoryDocument* activeDocument() const;
    // Opens the active window, showing `spread`, or no spread at all.
    void showWindow(MemorySpread& spread);
    void showEmptyWindow();
    void closeWindow();

    // The application object; the same one on every call. It keeps the model alive.
    std::shared_ptr<Application> application() const { return m_application; }
    // Makes `connection` connect to application(), under `progId`: the
    // in-memory host plays the live host.
    void registerIn(HostConnection& connection, const std::string& progId = kProgId) const;

    const std::vector<std::string>& calls() const;
    void clearCalls();

    // Makes the call logged as `call` throw HostError before it takes effect: the
    // `occurrence`-th such call from now on (1-based), or every one when `occurrence` is 0.
    void failOn(std::string call, int occurrence = 0);
    void clearFailures();

private:
    std::shared_ptr<memory::HostState> m_state;
    std::shared_ptr<Application> m_application;
};

// The label of a page item a MemoryHost handed out; throws std::invalid_argument
// for an item of another host.
std::string labelOf(const PageItem& item);

}  // namespace host
