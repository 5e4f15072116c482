// The window program: Qt Widgets over the documents of the command line. It is
// a module of its own (quarvel-window.so) that the launcher (app/main.cpp)
// loads only to show the window, so that nothing else ever loads Qt; its one
// entry takes main()'s arguments, which the launcher has already found good.

#include <QApplication>
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <type_traits>

#include "app/CommandLine.h"
#include "app/FinishSession.h"
#include "app/OpenDocuments.h"
#include "app/module/WindowModule.h"
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

extern "C" __attribute__((visibility("default"))) int quarvel_window_main(int argc, char* argv[]) {
    const app::CommandLine line = app::parseCommandLine({argv + std::min(argc, 1), argv + argc});
    QApplication application(argc, argv);
    QApplication::setApplicationName(window::kCaption);

    std::shared_ptr<host::DocumentHost> documents;
    const int status = runWindow(line, documents);
    return app::finishSession(status, documents.get(), reportError);
}

static_assert(std::is_same_v<decltype(&quarvel_window_main), app::module::WindowEntry>,
              "the entry the launcher calls");
