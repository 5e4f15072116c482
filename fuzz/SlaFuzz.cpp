// libFuzzer target over the tool's whole path on a Scribus document: open,
// then the tool itself (Form1 on the headless window): start-up (sheet
// fitting, capture with its ungrouping, back side, markers), optionally the
// vertical arrow and Just Duplicate, then Reflect; save and open again. The
// input is the file; its size picks the flip direction and whether Just
// Duplicate comes first, so that every mutation may take either way.
//
// The load checks' one pass must find a problem exactly where the full checks do.
// A run may end in an error, as the tool would, but only in one the tool
// reports in words (its own error types). When Reflect succeeds:
// - every number the host wrote is finite and reads back as written;
// - every page and item that was there before is unchanged, and the new
//   page's items are exactly the copies Reflect moved;
// - no copy shares a mark with its original;
// - the saved file opens again, with one more page per duplicate, and each
//   new page reads back as quarvel_pagelist reads it.
// A broken invariant aborts with a message, which libFuzzer reports.

#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <typeinfo>

#include "fuzz/FuzzChecks.h"
#include "host/HostConnection.h"
#include "host/sla/SlaHost.h"
#include "state/ToolState.h"
#include "window/form/EventGuard.h"
#include "window/form/Form1.h"
#include "window/form/FormDriver.h"
#include "window/headless/HeadlessWindow.h"

namespace {

using fuzzcheck::require;

// A private folder for the document, on a memory file system where there is one:
// every run saves, and saving flushes to disk.
const std::filesystem::path& scratchFile() {
    static const std::filesystem::path file = [] {
        std::error_code error;
        const bool shm =
            std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0;
        std::string name =
            ((shm ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path()) /
             "quarvel-fuzz-XXXXXX")
                .string();
        require(::mkdtemp(name.data()) != nullptr, "cannot make a scratch folder");
        static const std::string folder = name;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        return std::filesystem::path(name) / "sheet.sla";
    }();
    return file;
}

// What the tool reports to the user in words: its own errors, each with a
// message, which its error report shows as they are.
bool reportedInWords(const std::exception& error) {
    return window::form::reportText(error) == error.what() && std::string(error.what()).size() > 10;
}

// The tool's own window logic (Form1) on the headless window, each event run
// through the event guard as the window runs it. A failure the guard reports
// is thrown again as it was raised, for the caller to judge.
class Tool {
public:
    explicit Tool(const std::shared_ptr<host::sla::SlaHost>& documents) {
        host::sla::registerSlaHost(m_hosts, documents);
    }
    Tool(const Tool&) = delete;
    Tool& operator=(const Tool&) = delete;

    const state::ToolState& toolState() const { return m_form.toolState(); }
    bool endedWell() const { return m_guard.ended() && m_guard.exitStatus() == 0; }

    // Runs one of the driver's operations, then throws what it failed with.
    template <class Operation>
    void run(Operation operation) {
        operation(m_driver);
        throwFailure();
    }

private:
    void throwFailure() const {
        if (m_failure) {
            std::rethrow_exception(m_failure);
        }
    }

    host::HostConnection m_hosts;
    std::exception_ptr m_failure;
    // A document is open, so start-up shows no message box.
    window::headless::HeadlessWindow m_window{
        [](const std::string& text) { require(false, "a message box: " + text); }};
    // The guard reports a failure while handling it: the failure is kept as it was.
    window::form::EventGuard m_guard{[this](const std::string& text) {
                                         m_failure = std::current_exception();
                                         require(m_failure != nullptr, "reported: " + text);
                                     },
                                     [](int) {}};
    window::form::Form1 m_form{m_hosts, m_window.controls(), m_window};
    window::form::FormDriver m_driver{m_form, m_guard};
};

void run(const std::string& input, bool leftRight, bool duplicateFirst) {
    fuzzcheck::checkScanAgrees(input);
    const std::filesystem::path& file = scratchFile();
    std::ofstream(file, std::ios::binary | std::ios::trunc) << input;

    const auto documents = host::sla::SlaHost::open({file});
    host::sla::SlaDocument& document = *documents->openDocuments().front();
    const fuzzcheck::Attributes asRead = fuzzcheck::attributesOf(document);
    Tool tool(documents);
    using window::form::FormDriver;
    tool.run([](FormDriver& driver) { driver.load(); });
    if (!leftRight) {
        tool.run([](FormDriver& driver) { driver.choose(window::form::Flip::TopBottom); });
    }

    const fuzzcheck::Before before = fuzzcheck::before(document);
    int duplicates = 1;
    if (duplicateFirst) {
        tool.run([](FormDriver& driver) { driver.duplicate(); });
        ++duplicates;
    }
    tool.run([](FormDriver& driver) { driver.reflect(); });
    require(tool.endedWell(), "Reflect did not end the tool");

    fuzzcheck::checkWrittenNumbers(document, asRead);
    fuzzcheck::checkOnlyCopiesAdded(document, before, *tool.toolState().curSpread, duplicates);
    fuzzcheck::checkMarksNotShared(document, before);
    documents->saveChanged();

    std::shared_ptr<host::sla::SlaHost> reopened;
    try {
        reopened = host::sla::SlaHost::open({file});
    } catch (const std::exception& error) {
        require(false, std::string("the saved file does not open again: ") + error.what());
    }
    require(reopened->openDocuments().front()->pageNodes().size() ==
                before.pages.size() + std::size_t(duplicates),
            "the saved file lost or gained pages");
    fuzzcheck::checkNewPagesReadBack(file, static_cast<int>(before.pages.size()) + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    try {
        run(input, size % 2 == 0, size % 4 >= 2);
    } catch (const std::exception& error) {
        require(reportedInWords(error), std::string("an error the tool would show as \"") +
                                            error.what() + "\" (" + typeid(error).name() + ")");
    }
    return 0;
}
