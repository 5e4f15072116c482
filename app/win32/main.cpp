// quarvel.exe: computes the back side of an imposed press sheet in the
// document open in the host application, beside it on the same desktop, and
// writes it as a new page.
//
// The Windows launcher: the only place that picks the host adapter (the live
// host over its automation interface) and the window toolkit (Win32).
//
//   quarvel.exe                  connects to the first InDesign found
//   quarvel.exe --host PROGID    connects to the InDesign that PROGID names
//                                ("InDesign.Application.2025") and no other

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "host/HostConnection.h"
#include "host/com/ComHost.h"
#include "host/com/ComTypes.h"
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
int runWindow(host::com::ComSession& session, const std::string& progId) {
    window::win32::SkinWindow skin;
    window::win32::Win32EventLoop loop(skin);
    window::form::EventGuard guard(reportError, [&loop](int status) { loop.leave(status); });
    host::HostConnection hosts;
    host::com::registerComHost(hosts, session, progId);
    window::form::Form1 form(hosts, skin.controls(), skin);
    skin.connectHandlers(form, guard);
    guard.run([&] { form.formLoad(); });
    const int status = loop.run();
    if (skin.failure()) {
        std::rethrow_exception(skin.failure());
    }
    return status;
}

constexpr const char* kUsage = "Usage: quarvel.exe [--host PROGID]";

// The ProgID pinned by --host, or "" for the first InDesign found. Returns
// false for any other command line.
bool parseArguments(std::string& progId) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) {
        return false;
    }
    bool valid = count == 1;
    if (count == 3 && std::wstring_view(arguments[1]) == L"--host" && arguments[2][0] != L'\0') {
        progId = host::com::utf8Of(std::wstring_view(arguments[2]));
        valid = true;
    }
    LocalFree(arguments);
    return valid;
}

}  // namespace

int main() {
    std::string progId;
    if (!parseArguments(progId)) {
        reportError(kUsage);
        return 2;
    }
    try {
        // The session outlives the window and the tool state, and its end
        // releases whatever host reference is left and leaves the apartment.
        host::com::ComSession session;
        return runWindow(session, progId);
    } catch (const std::exception& error) {
        reportError(window::form::reportText(error));
        return 1;
    }
}
