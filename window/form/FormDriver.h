#pragma once

// The tool's operations as calls, for the programs that run the window's logic
// without a user at a window (the batch mode, the fuzz target, the benchmark).
// Each call runs the very handler a click on its control runs, through the
// event guard as a toolkit's event does: a failure or an end is the guard's to
// handle, and once the tool has ended every call does nothing.

#include "window/FormHandlers.h"
#include "window/form/EventGuard.h"

namespace window::form {

// How the sheet turns for the back side: left-right (the horizontal arrow,
// Image4; the direction at start) or top-bottom (the vertical arrow, Image3).
enum class Flip { LeftRight, TopBottom };

class FormDriver {
public:
    // Both outlive the driver.
    FormDriver(FormHandlers& handlers, EventGuard& guard) : m_handlers(handlers), m_guard(guard) {}

    // The load event: start-up.
    void load() { run(&FormHandlers::formLoad); }
    // A click on the arrow that chooses `flip`; the direction in force stays as it is.
    void choose(Flip flip) {
        run(flip == Flip::TopBottom ? &FormHandlers::image3Click : &FormHandlers::image4Click);
    }
    void reflect() { run(&FormHandlers::bReflectClick); }      // Reflect Page: ends the tool
    void duplicate() { run(&FormHandlers::bDuplicateClick); }  // Just Duplicate
    void refresh() { run(&FormHandlers::bRefreshClick); }      // Refresh Now!
    void forget() { run(&FormHandlers::bForgetClick); }        // Forget about it: ends the tool

private:
    void run(void (FormHandlers::*handler)()) {
        m_guard.run([this, handler] { (m_handlers.*handler)(); });
    }

    FormHandlers& m_handlers;
    EventGuard& m_guard;
};

}  // namespace window::form
