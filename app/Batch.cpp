#include "app/Batch.h"

#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/BatchReport.h"
#include "app/FinishSession.h"
#include "app/OpenDocuments.h"
#include "host/DocumentHost.h"
#include "host/HostConnection.h"
#include "state/PageTable.h"
#include "window/form/EventGuard.h"
#include "window/form/Form1.h"
#include "window/form/FormDriver.h"
#include "window/headless/HeadlessEventLoop.h"
#include "window/headless/HeadlessWindow.h"

namespace app {

namespace {

// The page tables as the tool's last click left them: neither Reflect nor
// Forget changes them.
struct Tables {
    state::PageTable front;
    state::PageTable back;
    int pageCount = 0;
};

// The tool's run on the headless window, as far as the tool's end: the
// status it ended with and, when it got as far as the clicks, its tables.
// The form, the window and every host reference they held are gone on
// return; the documents stay open in `documents` for the session's end.
int runTool(const std::vector<std::filesystem::path>& files, const CommandLine& line,
            SheetReport& report, std::shared_ptr<host::DocumentHost>& documents, Tables& tables) {
    window::headless::HeadlessEventLoop loop;
    // A message box has no one to show it to: its text ends the run as an
    // error. Nothing shows the page markers either, so none are kept.
    window::headless::HeadlessWindow window(
        [&report](const std::string& text) { report.error = text; },
        window::headless::HeadlessWindow::Markers::Unkept);
    window::form::EventGuard guard([&report](const std::string& text) { report.error = text; },
                                   [&loop](int status) { loop.leave(status); });
    host::HostConnection hosts;
    guard.run([&] { documents = openDocuments(files, line.page, hosts); });

    window::form::Form1 form(hosts, window.controls(), window);
    window::form::FormDriver driver(form, guard);
    driver.load();
    // The user's clicks, each an event of its own: left-right is in force at start.
    if (line.direction != Direction::LeftRight) {
        loop.post([&driver, &line] { driver.choose(line.direction); });
    }
    loop.post([&driver, &line] { line.dryRun ? driver.forget() : driver.reflect(); });
    const bool started = !guard.ended();
    const int status = loop.run();
    // A run that ended at start-up (with the message that there is no
    // document, status 0) or after a report has failed.
    if (!started || !report.error.empty()) {
        return status == 0 ? 1 : status;
    }
    state::ToolState& tool = form.toolState();
    tables = {std::move(tool.frontPages), std::move(tool.backPages), tool.pageCount};
    return status;
}

// One document (or none): runs the tool, then ends its session, keeping
// what Reflect wrote unless the run failed or is a dry run.
SheetReport runDocument(const std::optional<std::string>& file, const CommandLine& line) {
    SheetReport report;
    report.file = file.value_or("");
    report.page = line.page.value_or(1);
    report.direction = line.direction;
    std::vector<std::filesystem::path> files;
    if (file) {
        files.emplace_back(*file);
    }
    std::shared_ptr<host::DocumentHost> documents;
    Tables tables;
    int status = runTool(files, line, report, documents, tables);
    if (line.dryRun && status == 0) {
        discardSession(documents.get());
    } else {
        status = finishSession(status, documents.get(),
                               [&report](const std::string& text) { report.error = text; });
        if (status != 0) {
            return report;  // a failed document has no tables
        }
        report.newPage = documents->lastAddedPage();
    }
    // The rows are made once the document is let go: at 32,735 pages, made
    // any earlier they would add to the run's peak of memory.
    documents.reset();
    report.front = pageRows(tables.front, tables.pageCount);
    tables.front = state::PageTable();
    report.back = pageRows(tables.back, tables.pageCount);
    return report;
}

}  // namespace

int runBatch(const CommandLine& line, std::ostream& out, std::ostream& err) {
    std::vector<std::optional<std::string>> runs(line.files.begin(), line.files.end());
    if (runs.empty()) {
        runs.emplace_back();
    }
    std::vector<SheetReport> reports;
    int status = 0;
    bool printed = false;
    for (const auto& file : runs) {
        SheetReport report;
        try {
            report = runDocument(file, line);
        } catch (const std::exception& error) {
            // A fault outside the tool's own guard still ends only this document.
            report.file = file.value_or("");
            report.error = window::form::reportText(error);
        }
        if (!report.error.empty()) {
            err << "quarvel: " << errorLine(file, report.error) << '\n' << std::flush;
            status = 1;
        }
        if (line.json) {
            if (file) {
                reports.push_back(std::move(report));
            }
        } else if (report.error.empty()) {
            out << (printed ? "\n" : "");
            printText(out, report);
            out << std::flush;
            printed = true;
        }
    }
    if (line.json) {
        printJson(out, reports);
    }
    return status;
}

}  // namespace app
