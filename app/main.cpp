// quarvel: computes the back side of an imposed press sheet in the host
// document and writes it as a new page.

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "host/HostRegistry.h"
#include "window/EventGuard.h"
#include "window/Form1.h"
#include "window/MessageBox.h"
#include "window/SkinWindow.h"

namespace {

// Ends the process at once: no later event, step or destructor of the window runs.
[[noreturn]] void endProcess(int status) {
    std::fflush(nullptr);
    std::exit(status);
}

void reportError(const std::string& message) {
    std::cerr << "quarvel: " << message << '\n';
    window::showMessageBox(message);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(window::kCaption);

    host::HostRegistry hosts;
    window::EventGuard guard(reportError, [](int status) { endProcess(status); });
    window::SkinWindow skin;
    window::Form1 form(hosts, skin.controls(), skin);
    skin.connectHandlers(form, guard);

    guard.run([&] { form.formLoad(); });
    skin.show();
    return QApplication::exec();
}
