// libFuzzer target over the tool's whole path on a Scribus document: open,
// start-up (sheet fitting, capture with its ungrouping, back side, markers),
// optionally Just Duplicate, then Reflect, save and open again. The input is
// the file; its size picks the flip direction and whether Just Duplicate
// comes first, so that every mutation may take either way.
//
// A run may end in an error, as the tool would, but only in one the tool
// reports in words (its own error types). When Reflect succeeds:
// - every number the host wrote is finite and reads back as written;
// - every page and item that was there before is unchanged, and the new
//   page's items are exactly the copies Reflect moved;
// - no copy shares a mark with its original;
// - the saved file opens again, with one more page per duplicate.
// A broken invariant aborts with a message, which libFuzzer reports.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <typeinfo>
#include <unordered_map>

#include "fuzz/FuzzChecks.h"
#include "geometry/BackSide.h"
#include "host/BackSideWriter.h"
#include "host/Capture.h"
#include "host/HostError.h"
#include "host/HostRegistry.h"
#include "host/sla/SlaHost.h"
#include "preview/FakeToolkit.h"
#include "preview/PageMarkers.h"
#include "preview/SheetFit.h"
#include "state/Errors.h"

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

// What the tool reports to the user: its own errors, each with a message.
bool reportedInWords(const std::exception& error) {
    const bool own = dynamic_cast<const host::HostError*>(&error) ||
                     dynamic_cast<const state::TableError*>(&error) ||
                     dynamic_cast<const state::OverflowError*>(&error) ||
                     dynamic_cast<const state::PrecisionError*>(&error) ||
                     dynamic_cast<const preview::SheetError*>(&error) ||
                     dynamic_cast<const window::ToolkitError*>(&error);
    return own && std::string(error.what()).size() > 10;
}

// Start-up as the window runs it: fit the sheet, capture, back side, markers.
void startUp(state::ToolState& tool, window::Controls& ui) {
    tool.boxWidth = ui.Shape1.width();
    tool.boxHeight = ui.Shape1.height();
    tool.sheetTop = ui.Shape1.top();
    tool.sheetLeft = ui.Shape1.left();
    tool.frontCapacity = 32;
    tool.pageCount = 0;
    preview::drawSheet(tool, ui);
    host::captureSpread(tool);
    geometry::createSide2(tool);
    preview::DrawPages(tool, ui);
    preview::DrawPagesS2(tool, ui);
    preview::ShowSide2(tool, ui, true);
}

void run(const std::string& input, bool leftRight, bool duplicateFirst) {
    const std::filesystem::path& file = scratchFile();
    std::ofstream(file, std::ios::binary | std::ios::trunc) << input;

    const auto documents = host::sla::SlaHost::open({file});
    host::sla::SlaDocument& document = *documents->openDocuments().front();
    const fuzzcheck::Attributes asRead = fuzzcheck::attributesOf(document);
    state::ToolState tool;
    tool.hostApp = documents;
    testing_support::FakeToolkit toolkit;
    window::Controls ui = toolkit.controls();
    startUp(tool, ui);
    if (!leftRight) {
        tool.flipLeftRight = false;  // the vertical arrow
        geometry::createSide2(tool);
        preview::DrawPagesS2(tool, ui);
    }

    const fuzzcheck::Before before = fuzzcheck::before(document);
    int duplicates = 1;
    if (duplicateFirst) {
        host::duplicateFirstPage(tool);
        ++duplicates;
    }
    host::writeBackSide(tool);  // Reflect

    fuzzcheck::checkWrittenNumbers(document, asRead);
    fuzzcheck::checkOnlyCopiesAdded(document, before, *tool.curSpread, duplicates);
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
