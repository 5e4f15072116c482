#include "bench/InProcess.h"

#include <QApplication>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/FloorWindow.h"
#include "bench/Measure.h"
#include "bench/Sheet.h"
#include "host/HostConnection.h"
#include "host/memory/MemoryHost.h"
#include "window/form/EventGuard.h"
#include "window/form/Form1.h"
#include "window/form/FormDriver.h"
#include "window/qt/Artwork.h"
#include "window/qt/SkinWindow.h"

namespace bench {

namespace {

// The launcher's wiring, with a guard that records the end instead of exiting.
struct Rig {
    explicit Rig(int rectangles) {
        buildMemorySheet(host, rectangles);
        host.registerIn(connection);
        skin.connectHandlers(form, guard);
    }

    // Times one of the driver's operations, which fails the run when the tool reports.
    template <class Operation>
    Sample handle(Operation operation) {
        const Sample sample = measure(operation);
        if (!reports.empty()) {
            throw std::runtime_error("the tool reported: " + reports.front());
        }
        return sample;
    }

    host::MemoryHost host;
    host::HostConnection connection;
    std::vector<std::string> reports;
    window::form::EventGuard guard{[this](const std::string& text) { reports.push_back(text); },
                                   [](int) {}};
    window::qt::SkinWindow skin;
    window::form::Form1 form{connection, skin.controls(), skin};
    window::form::FormDriver driver{form, guard};
};

using Samples = std::map<std::string, std::vector<Sample>>;

void runOnce(int rectangles, Samples& samples, std::map<std::string, std::size_t>& calls) {
    Rig rig(rectangles);
    samples["load"].push_back(rig.handle([&] { rig.driver.load(); }));
    calls["capture"] = rig.host.calls().size();
    rig.skin.show();
    QApplication::processEvents();
    samples["repaint"].push_back(measure([&] { rig.skin.repaint(); }));
    samples["flip"].push_back(
        rig.handle([&] { rig.driver.choose(window::form::Flip::TopBottom); }));
    QApplication::processEvents();
    rig.host.clearCalls();
    samples["refresh"].push_back(rig.handle([&] { rig.driver.refresh(); }));
    calls["refresh"] = rig.host.calls().size();
    QApplication::processEvents();
    rig.host.clearCalls();
    samples["reflect"].push_back(rig.handle([&] { rig.driver.reflect(); }));
    calls["reflect"] = rig.host.calls().size();
    if (!rig.guard.ended() || rig.guard.exitStatus() != 0) {
        throw std::runtime_error("Reflect did not end the tool normally");
    }
}

}  // namespace

// What the tool's window costs to make beyond a bare skinned window: the bare
// one first, so that what both need once per process falls on it.
void timeWindows(Samples& samples) {
    samples["bare"].push_back(
        measure([] { FloorWindow bare(window::qt::artworkPicture("skin")); }));
    samples["window"].push_back(measure([] { window::qt::SkinWindow skin; }));
    samples["artwork"].push_back(measure([] {
        for (const std::string_view name : window::qt::artworkNames()) {
            if (name != "skin") {
                window::qt::artworkPicture(name);
            }
        }
    }));
}

void runHandlers(int rectangles, int runs) {
    Samples samples;
    std::map<std::string, std::size_t> calls;
    timeWindows(samples);
    for (int run = 0; run < runs; ++run) {
        runOnce(rectangles, samples, calls);
    }
    for (const auto& [name, values] : samples) {
        std::printf("%s.cpu=%.3f\n%s.wall=%.3f\n", name.c_str(), medianCpu(values), name.c_str(),
                    medianWall(values));
    }
    for (const auto& [name, count] : calls) {
        std::printf("calls.%s=%zu\n", name.c_str(), count);
    }
}

}  // namespace bench
