// quarvel.exe: computes the back side of an imposed press sheet in the
// document open in the host application, beside it on the same desktop, and
// writes it as a new page.
//
// The Windows launcher: the only place that picks the host adapter (the live
// host over its automation interface) and the window toolkit (Win32). It
// takes no command line.

#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>

#include "host/HostConnection.h"
#include "host/com/ComHost.h"
#include "window/form/EventGuard.h"
#include "window/form/Form1.h"
#include "window/win32/EventLoop.h"
#include "window/win32/MessageBox.h"
#include "window/win32/SkinWindow.h"

namespace {

// The error report: a message box, and the same words on standard error for
// whoever started the tool from a console.
void reportError(const std::string& message) {
    std::fprintf(stderr, "quarvel: %s\n", message.c_str());
    std::fflush(stderr);
    try {
        window::win32::showMessageBox(nullptr, message);
    } catch (const std::exception&) {
        // Standard error already has it; nothing else can show it.
    }
}

// Runs the window until the tool ends; returns the status it ended with. The
// window, the tool state and every host reference they held are gone on return.
int runWindow(host::com::ComSession& session) {
    window::win32::SkinWindow skin;
    window::win32::Win32EventLoop loop(skin);
    window::form::EventGuard guard(reportError, [&loop](int status) { loop.leave(status); });
    host::HostConnection hosts;
    host::com::registerComHost(hosts, session);
    window::form::Form1 form(hosts, skin.controls(), skin);
    skin.connectHandlers(form, guard);
    guard.run([&] { form.formLoad(); });
    const int status = loop.run();
    if (skin.failure()) {
        std::rethrow_exception(skin.failure());
    }
    return status;
}

}  // namespace

int main() {
    try {
        // The session outlives the window and the tool state, and its end
        // releases whatever host reference is left and leaves the apartment.
        host::com::ComSession session;
        return runWindow(session);
    } catch (const std::exception& error) {
        reportError(window::form::reportText(error));
        return 1;
    }
}
