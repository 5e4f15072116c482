// quarvel: computes the back side of an imposed press sheet in a Scribus
// document and writes it as a new page.
//
// The launcher: the only place that picks the host adapter (.sla documents or
// IDML packages, app/OpenDocuments)
// and the window toolkit: Qt Widgets for the window, the headless backend for
// the batch mode (--reflect), which never starts Qt and needs no display.

#include <QApplication>
#include <algorithm>
#include <filesystem>
#include <iostream>

#include "app/Batch.h"
#include "app/CommandLine.h"
#include "app/FinishSession.h"
#include "app/OpenDocuments.h"
#include "app/heap/HugePageHeap.h"
#include "host/DocumentHost.h"
#include "host/HostConnection.h"
#include "window/Design.h"
#include "window/form/EventGuard.h"
#include "window/form/Form1.h"
#include "window/qt/EventLoop.h"
#include "window/qt/MessageBox.h"
#include "window/qt/SkinWindow.h"

namespace {

void reportError(const std::string& message) {
    std::cerr << "quarvel: " << message << '\n';
    window::qt::showMessageBox(message);
}

std::vector<std::filesystem::path> paths(const std::vector<std::string>& files) {
    return {files.begin(), files.end()};
}

// Opens the documents and runs the window until the tool ends; returns the
// status it ended with. The window, the tool state and every host reference
// they held are gone on return.
int runWindow(const app::CommandLine& line, std::shared_ptr<host::DocumentHost>& documents) {
    window::qt::SkinWindow skin;
    window::qt::QtEventLoop loop(skin);
    window::form::EventGuard guard(reportError, [&loop](int status) { loop.leave(status); });
    host::HostConnection hosts;
    guard.run([&] { documents = app::openDocuments(paths(line.files), line.page, hosts); });

    window::form::Form1 form(hosts, skin.controls(), skin);
    skin.connectHandlers(form, guard);
    guard.run([&] { form.formLoad(); });
    // Closing the window by other means than its buttons ends the tool like Forget.
    return loop.run();
}

}  // namespace

int main(int argc, char* argv[]) {
    app::heap::reserveHugePageHeap();  // where it cannot be made, memory comes as before
    app::CommandLine line;
    try {
        line = app::parseCommandLine({argv + std::min(argc, 1), argv + argc});
    } catch (const app::UsageError& error) {
        std::cerr << "quarvel: " << error.what() << "\n\n" << app::usageText();
        return 2;
    }
    switch (line.action) {
        case app::CommandLine::Action::Help:
            std::cout << app::usageText();
            return 0;
        case app::CommandLine::Action::Version:
            std::cout << app::versionText();
            return 0;
        case app::CommandLine::Action::Reflect:
            return app::runBatch(line, std::cout, std::cerr);
        case app::CommandLine::Action::Run:
            break;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(window::kCaption);

    std::shared_ptr<host::DocumentHost> documents;
    const int status = runWindow(line, documents);
    return app::finishSession(status, documents.get(), reportError);
}
