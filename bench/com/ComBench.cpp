// quarvel_com_bench: what the live host link costs, across processes under Wine. For sheets of 6,
// 64 and 1,000 rectangles (the benchmark's sheet: bench/Sheet.h) it runs start-up's host work
// (document check, sheet size, capture) and Reflect's through the automation adapter against the
// test host, and prints host calls and wall time next to the fewest calls the operations allow,
// then the cost of one cross-process call.
//
//   quarvel_com_bench [--runs N] [--sizes 6,64,1000]
//
// The test host must be registered (tests/com-server, "/regserver").

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "TestHostClient.h"
#include "bench/Sheet.h"
#include "geometry/BackSide.h"
#include "host/BackSideWriter.h"
#include "host/Capture.h"
#include "host/com/ComHost.h"
#include "host/memory/SheetText.h"
#include "state/ToolState.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    std::vector<double> wallMs;
    long hostCalls = 0;   // as the host logged them: one per operation
    long roundTrips = 0;  // as the adapter made them
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

std::string sheetText(int rectangles) {
    host::MemoryHost model;
    bench::buildMemorySheet(model, rectangles);
    return host::memory::dumpDocuments(model);
}

// The fewest host calls the operations allow, as the in-process benchmark counts them: one type
// name per item, bounds and angle per rectangle; start-up adds the document check (2), sheet
// fitting (4) and reaching the spread's items (4); Reflect adds the duplicate and its items
// (5), a put of bounds and angle per rectangle, and per line a get and a put of both.
long leastCapture(int rectangles) {
    const bench::SheetCounts counts = bench::sheetCounts(rectangles);
    return 10 + counts.items() + 2 * counts.rectangles;
}
long leastReflect(int rectangles) {
    const bench::SheetCounts counts = bench::sheetCounts(rectangles);
    return 5 + counts.items() + 2 * counts.rectangles + 4 * counts.lines;
}

// Start-up's host work: the document check, the sheet size, the capture and the back side.
void startUp(state::ToolState& tool) {
    if (tool.hostApp->documents()->count() == 0) {
        throw std::runtime_error("the test host has no document");
    }
    tool.activeDoc = tool.hostApp->activeDocument();
    const auto preferences = tool.activeDoc->preferences();
    tool.sheetWidth = preferences->pageWidth();
    tool.sheetHeight = preferences->pageHeight();
    host::captureSpread(tool);
    geometry::createSide2(tool);
}

template <class Work>
void measure(Figures& figures, host::com::ComSession& session, testhost::TestHostClient& testHost,
             Work&& work) {
    session.resetCounts();
    testHost.clearCalls();
    const auto start = Clock::now();
    work();
    figures.wallMs.push_back(
        std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    figures.roundTrips = static_cast<long>(session.counts().total());
    figures.hostCalls = static_cast<long>(testHost.calls().size());
}

void runSize(int rectangles, int runs, std::map<std::string, Figures>& figures) {
    testhost::TestHostClient& testHost = testhost::TestHostClient::get();
    const std::string sheet = sheetText(rectangles);
    for (int run = 0; run < runs; ++run) {
        testHost.load(sheet);
        host::com::ComSession session;
        state::ToolState tool;
        tool.hostApp = session.connect(host::kProgId);
        measure(figures["capture"], session, testHost, [&] { startUp(tool); });
        measure(figures["reflect"], session, testHost, [&] { host::writeBackSide(tool); });
        tool = state::ToolState{};
    }
}

// Wall time of one cross-process call: a property get repeated on one object.
double callCostUs(int calls) {
    testhost::TestHostClient::get().load(sheetText(6));
    host::com::ComSession session;
    const auto documents = session.connect(host::kProgId)->documents();
    documents->count();  // the member id is looked up once, before the clock runs
    const auto start = Clock::now();
    for (int call = 0; call < calls; ++call) {
        documents->count();
    }
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / calls;
}

void row(const char* label, const std::vector<std::string>& cells) {
    std::printf("%-44s", label);
    for (const std::string& cell : cells) {
        std::printf("%12s", cell.c_str());
    }
    std::printf("\n");
}

std::vector<int> sizesOf(const std::string& list) {
    std::vector<int> sizes;
    for (std::size_t at = 0; at < list.size();) {
        const std::size_t comma = std::min(list.find(',', at), list.size());
        sizes.push_back(std::atoi(list.substr(at, comma - at).c_str()));
        at = comma + 1;
    }
    return sizes;
}

using AllFigures = std::map<int, std::map<std::string, Figures>>;

void printTable(AllFigures& all, const std::vector<int>& sizes, int runs, double callUs) {
    std::printf(
        "Live host over COM, test host in its own process under Wine; median of %d "
        "runs\n\n",
        runs);
    std::vector<std::string> heads;
    for (const int size : sizes) {
        heads.push_back(std::to_string(size));
    }
    row("rectangles", heads);
    const struct {
        const char* name;
        const char* label;
        long (*least)(int);
    } operations[] = {{"capture", "start-up's capture, wall ms", leastCapture},
                      {"reflect", "Reflect, wall ms", leastReflect}};
    for (const auto& [name, label, least] : operations) {
        std::vector<std::string> wall, calls, trips, floor;
        for (const int size : sizes) {
            const Figures& figures = all[size][name];
            char text[32];
            std::snprintf(text, sizeof text, "%.1f", median(figures.wallMs));
            wall.push_back(text);
            calls.push_back(std::to_string(figures.hostCalls));
            trips.push_back(std::to_string(figures.roundTrips));
            floor.push_back(std::to_string(least(size)));
        }
        row(label, wall);
        row("  host calls (the host's log)", calls);
        row("  round trips made by the adapter", trips);
        row("  least the operations allow", floor);
    }
    std::printf("\none cross-process call (Documents.Count get), wall: %.0f us\n", callUs);
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 3;
    std::vector<int> sizes{6, 64, 1000};
    for (int index = 1; index + 1 < argc; index += 2) {
        const std::string option = argv[index];
        if (option == "--runs") {
            runs = std::max(1, std::atoi(argv[index + 1]));
        } else if (option == "--sizes") {
            sizes = sizesOf(argv[index + 1]);
        }
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::fprintf(stderr, "quarvel_com_bench: cannot join an apartment\n");
        return 1;
    }
    int status = 0;
    try {
        AllFigures all;
        for (const int size : sizes) {
            runSize(size, runs, all[size]);
        }
        const double callUs = callCostUs(2000);

        printTable(all, sizes, runs, callUs);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quarvel_com_bench: %s\n", error.what());
        status = 1;
    }
    testhost::TestHostClient::end();
    CoUninitialize();
    return status;
}
