// quarvel: computes the back side of an imposed press sheet in a Scribus
// document and writes it as a new page.

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "app/CommandLine.h"
#include "app/Session.h"
#include "host/HostRegistry.h"
#include "host/sla/SlaHost.h"
#include "window/EventGuard.h"
#include "window/Form1.h"
#include "window/MessageBox.h"
#include "window/SkinWindow.h"

namespace {

void reportError(const std::string& message) {
    std::cerr << "quarvel: " << message << '\n';
    window::showMessageBox(message);
}

// Ends the process at once: no later event, step or window destructor runs.
[[noreturn]] void endTool(int status, host::sla::SlaHost* documents) {
    const int exitStatus = app::finishSession(status, documents, reportError);
    std::fflush(nullptr);
    std::exit(exitStatus);
}

std::vector<std::filesystem::path> paths(const std::vector<std::string>& files) {
    return {files.begin(), files.end()};
}

}  // namespace

int main(int argc, char* argv[]) {
    app::CommandLine line;
    try {
        line = app::parseCommandLine({argv + std::min(argc, 1), argv + argc});
    } catch (const app::UsageError& error) {
        std::cerr << "quarvel: " << error.what() << "\n\n" << app::usageText();
        return 2;
    }
    if (line.action != app::CommandLine::Action::Run) {
        std::cout << (line.action == app::CommandLine::Action::Help ? app::usageText()
                                                                    : app::versionText());
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(window::kCaption);

    std::shared_ptr<host::sla::SlaHost> documents;
    host::HostRegistry hosts;
    window::EventGuard guard(reportError, [&](int status) { endTool(status, documents.get()); });
    guard.run([&] {
        documents = host::sla::SlaHost::open(paths(line.files), line.page);
        host::sla::registerSlaHost(hosts, documents);
    });

    window::SkinWindow skin;
    window::Form1 form(hosts, skin.controls(), skin);
    skin.connectHandlers(form, guard);
    guard.run([&] { form.formLoad(); });
    skin.show();
    // Closing the window by other means than its buttons ends the tool like Forget.
    endTool(QApplication::exec(), documents.get());
}
