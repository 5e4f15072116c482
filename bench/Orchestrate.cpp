#include "bench/Orchestrate.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "bench/Child.h"
#include "bench/Measure.h"
#include "bench/Sheet.h"

namespace bench {

namespace {

std::map<std::string, double> keyValues(const std::string& text) {
    std::map<std::string, double> values;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos) {
            values[line.substr(0, equals)] = std::stod(line.substr(equals + 1));
        }
    }
    return values;
}

std::string loadAverages() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

class Runner {
public:
    explicit Runner(const BenchSetup& setup) : m_setup(setup), m_log(setup.work / "children.log") {}

    std::filesystem::path sheet(int rectangles) const {
        return m_setup.work / ("sheet-" + std::to_string(rectangles) + ".sla");
    }
    std::filesystem::path picture() const { return m_setup.work / "skin.png"; }
    std::filesystem::path big() const { return m_setup.work / "big.sla"; }

    // A copy of `sheet` for a run that writes to it.
    std::filesystem::path scratchCopy(const std::filesystem::path& sheet) const {
        auto copy = m_setup.work / ("scratch-" + sheet.filename().string());
        std::filesystem::copy_file(sheet, copy, std::filesystem::copy_options::overwrite_existing);
        return copy;
    }

    // Runs `command` watched by the first-paint probe and records what it cost.
    void watched(std::vector<std::string> command, const char* probe, ProcessFigures& figures) {
        const ChildRun run = runChild(
            command,
            {"QT_QPA_GENERIC_PLUGINS=quarvelprobe", "QT_PLUGIN_PATH=" + m_setup.pluginDir.string(),
             std::string("QUARVEL_PROBE=") + probe},
            m_log);
        const auto values = keyValues(run.output);
        const auto paint = values.find("first-paint-ns");
        if (run.exitStatus != 0 || paint == values.end()) {
            throw std::runtime_error("no first paint from " + command.back() + "; see " +
                                     m_log.string());
        }
        figures.firstPaintMs.push_back((paint->second - static_cast<double>(run.startNs)) / 1e6);
        figures.wallMs.push_back(run.wallMs);
        figures.cpuMs.push_back(run.cpuMs);
        figures.peakRssMb.push_back(run.peakRssMb);
        const auto click = values.find("click-ns");
        if (click != values.end()) {
            figures.clickToEndMs.push_back(endMs(run) - click->second / 1e6);
        }
    }

    static double endMs(const ChildRun& run) {
        return static_cast<double>(run.startNs) / 1e6 + run.wallMs;
    }

    void startUp(SizeFigures& size, ProcessFigures& floor) {
        watched({m_setup.quarvel.string(), sheet(size.rectangles).string()}, "firstpaint",
                size.startUp);
        watched({m_setup.self.string(), "floor", picture().string()}, "firstpaint", floor);
        watched(
            {m_setup.self.string(), "floor", picture().string(), sheet(size.rectangles).string()},
            "firstpaint", size.parseFloor);
    }

    // The copy-save-exit floor: from its document parsed to its end, and the whole process.
    void copyFloor(const std::filesystem::path& sheet, int page, ProcessFigures& figures,
                   bool hugePages = false) {
        const auto copy = scratchCopy(sheet);
        const ChildRun run =
            runChild({(m_setup.floorDir / "quarvel_floor_copypage").string(), copy.string(),
                      std::to_string(page)},
                     hugePages ? std::vector<std::string>{"GLIBC_TUNABLES=glibc.malloc.hugetlb=1"}
                               : std::vector<std::string>{},
                     m_log);
        const auto values = keyValues(run.output);
        if (run.exitStatus != 0 || values.count("ready-ns") == 0) {
            throw std::runtime_error("the copy-page floor failed; see " + m_log.string());
        }
        figures.clickToEndMs.push_back(endMs(run) - values.at("ready-ns") / 1e6);
        figures.wallMs.push_back(run.wallMs);
        figures.cpuMs.push_back(run.cpuMs);
        figures.peakRssMb.push_back(run.peakRssMb);
    }

    // The tool without a window on a fresh copy: the whole process, as a script meets it.
    void batch(const std::filesystem::path& sheet, int page, ProcessFigures& figures) {
        const auto copy = scratchCopy(sheet);
        const ChildRun run = runChild({m_setup.quarvel.string(), "--reflect", "left-right",
                                       "--page", std::to_string(page), copy.string()},
                                      {}, m_log);
        if (run.exitStatus != 0) {
            throw std::runtime_error("quarvel --reflect failed; see " + m_log.string());
        }
        figures.wallMs.push_back(run.wallMs);
        figures.cpuMs.push_back(run.cpuMs);
        figures.peakRssMb.push_back(run.peakRssMb);
    }

    std::map<std::string, double> openSaveFloor(const std::filesystem::path& sheet) {
        const auto copy = scratchCopy(sheet);
        const ChildRun run = runChild(
            {(m_setup.floorDir / "quarvel_floor_opensave").string(), copy.string()}, {}, m_log);
        if (run.exitStatus != 0) {
            throw std::runtime_error("the open-save floor failed; see " + m_log.string());
        }
        return keyValues(run.output);
    }

    void session(SizeFigures& size) {
        const auto copy = m_setup.work / ("session-" + std::to_string(size.rectangles) + ".sla");
        std::filesystem::copy_file(sheet(size.rectangles), copy,
                                   std::filesystem::copy_options::overwrite_existing);
        watched({m_setup.quarvel.string(), copy.string()}, "reflect", size.session);
    }

    std::map<std::string, double> helper(const std::vector<std::string>& arguments) {
        std::vector<std::string> command{m_setup.self.string()};
        command.insert(command.end(), arguments.begin(), arguments.end());
        const ChildRun run = runChild(command, {"QT_QPA_PLATFORM=offscreen"}, m_log, 600);
        if (run.exitStatus != 0) {
            throw std::runtime_error("quarvel_bench " + arguments.front() + " failed; see " +
                                     m_log.string());
        }
        return keyValues(run.output);
    }

    const BenchSetup& m_setup;
    std::filesystem::path m_log;
};

// Values by name over several runs, and their medians.
class Medians {
public:
    void add(const std::map<std::string, double>& values) {
        for (const auto& [name, value] : values) {
            m_values[name].push_back(value);
        }
    }
    std::map<std::string, double> medians() const {
        std::map<std::string, double> result;
        for (const auto& [name, values] : m_values) {
            result[name] = median(values);
        }
        return result;
    }

private:
    std::map<std::string, std::vector<double>> m_values;
};

void progress(const std::string& text) {
    std::fprintf(stderr, "bench: %s\n", text.c_str());
}

}  // namespace

Figures runBenchmark(const BenchSetup& setup) {
    Runner runner(setup);
    Figures figures;
    figures.runs = setup.runs;
    runner.helper({"picture", runner.picture().string()});
    runner.helper({"big", runner.big().string()});
    for (int rectangles : setup.sizes) {
        writeSlaSheet(setup.sample, rectangles, runner.sheet(rectangles));
        figures.sizes.push_back({});
        figures.sizes.back().rectangles = rectangles;
    }
    // Rounds over every size, each tool start next to a bare-window start, so
    // that a change in the machine's load falls on both alike.
    for (int run = 0; run < setup.runs; ++run) {
        progress("start-up round " + std::to_string(run + 1));
        for (auto& size : figures.sizes) {
            runner.startUp(size, figures.floor);
            runner.session(size);
            runner.copyFloor(runner.sheet(size.rectangles), 1, size.copyFloor);
            runner.batch(runner.sheet(size.rectangles), 1, size.batch);
            runner.copyFloor(runner.sheet(size.rectangles), 1, size.copyFloorHuge, true);
        }
        // The sheet on the last page of the big document, batch beside its floor.
        runner.copyFloor(runner.big(), 50, figures.big.copyFloor);
        runner.batch(runner.big(), 50, figures.big.batch);
        runner.copyFloor(runner.big(), 50, figures.big.copyFloorHuge, true);
    }
    figures.load = loadAverages();
    // One run per process, as the tool meets a fresh process: a warm heap from
    // an earlier run in the same process would hide the cost of new memory.
    for (auto& size : figures.sizes) {
        const std::string n = std::to_string(size.rectangles);
        progress("handlers and documents, " + n + " rectangles");
        Medians handlers, sla, slaFloor;
        for (int run = 0; run < setup.runs; ++run) {
            handlers.add(runner.helper({"handlers", n, "1"}));
            sla.add(runner.helper({"session", runner.sheet(size.rectangles).string(), "1"}));
            slaFloor.add(runner.openSaveFloor(runner.sheet(size.rectangles)));
        }
        size.handlers = handlers.medians();
        size.sla = sla.medians();
        size.slaFloor = slaFloor.medians();
    }
    progress("the big document");
    Medians sla, slaFloor;
    for (int run = 0; run < setup.runs; ++run) {
        sla.add(runner.helper({"session", runner.big().string(), "50"}));
        slaFloor.add(runner.openSaveFloor(runner.big()));
    }
    figures.big.rectangles = 64;
    figures.big.sla = sla.medians();
    figures.big.slaFloor = slaFloor.medians();
    return figures;
}

}  // namespace bench
