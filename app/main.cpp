// quarvel: computes the back side of an imposed press sheet in a Scribus
// document and writes it as a new page.
//
// The launcher: it reads the command line, runs the batch mode (--reflect) over
// the headless window, which needs no display, and loads the window (Qt
// Widgets, app/qt) only when it is asked for, so that the batch mode never
// loads Qt. Both open the documents with the host adapter app/OpenDocuments
// picks (.sla documents or IDML packages).

#include <algorithm>
#include <iostream>

#include "app/Batch.h"
#include "app/CommandLine.h"
#include "app/heap/HugePageHeap.h"
#include "app/module/WindowModule.h"

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

    app::module::WindowEntry window = nullptr;
    try {
        window = app::module::loadWindow();
    } catch (const app::module::ModuleError& error) {
        std::cerr << "quarvel: " << error.what() << '\n';
        return 1;
    }
    return window(argc, argv);
}
