// quarvel_bench: measures the tool and prints one table (see run.sh).
//
//   quarvel_bench table --quarvel EXE --sample SLA --work DIR [--runs N] [--sizes 6,64,...]
//   quarvel_bench floor PICTURE [SLA]       a plain window showing PICTURE, for start-up's
//                                           floor; with SLA, read and parsed first
//   quarvel_bench picture OUT.png           writes the tool's skin as a plain picture
//   quarvel_bench handlers RECTANGLES RUNS  in-process handler timings (key=value lines)
//   quarvel_bench documents SHEET.sla RUNS  .sla open and save timings (key=value lines)
//   quarvel_bench session SHEET.sla PAGE    one session on the .sla host (key=value lines)
//   quarvel_bench sheet RECTANGLES OUT.sla  writes a sheet, e.g. for profiling the tool
//   quarvel_bench big OUT.sla               the sheet of 64 on page 50 of 50, beside
//                                           100,000 text frames

#include <QApplication>
#include <cstdio>
#include <exception>
#include <sstream>
#include <string>
#include <vector>

#include "bench/BigDocument.h"
#include "bench/FloorWindow.h"
#include "bench/InProcess.h"
#include "bench/Orchestrate.h"
#include "bench/Sheet.h"
#include "bench/SlaSession.h"
#include "bench/SlaTiming.h"
#include "bench/floor/FloorFile.h"
#include "window/qt/Artwork.h"

namespace {

std::vector<int> sizeList(const std::string& text) {
    std::vector<int> sizes;
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, ',');) {
        sizes.push_back(std::stoi(item));
    }
    return sizes;
}

bench::BenchSetup parseSetup(const std::vector<std::string>& arguments) {
    bench::BenchSetup setup;
    setup.self = std::filesystem::read_symlink("/proc/self/exe");
    setup.pluginDir = setup.self.parent_path() / "plugins";
    setup.floorDir = setup.self.parent_path() / "floor";
    setup.sizes = {6, 64, 1000, 32735};
    for (std::size_t i = 0; i + 1 < arguments.size(); i += 2) {
        const std::string& name = arguments[i];
        const std::string& value = arguments[i + 1];
        if (name == "--quarvel") {
            setup.quarvel = std::filesystem::absolute(value);
        } else if (name == "--sample") {
            setup.sample = value;
        } else if (name == "--work") {
            setup.work = std::filesystem::absolute(value);
        } else if (name == "--runs") {
            setup.runs = std::stoi(value);
        } else if (name == "--sizes") {
            setup.sizes = sizeList(value);
        } else {
            throw std::invalid_argument("unknown option " + name);
        }
    }
    if (setup.quarvel.empty() || setup.sample.empty() || setup.work.empty()) {
        throw std::invalid_argument("table needs --quarvel, --sample and --work");
    }
    return setup;
}

int runFloor(int argc, char* argv[], const std::vector<std::string>& arguments) {
    floors::ParsedFile parsed;
    if (arguments.size() > 2) {
        floors::readAndParse(arguments[2], parsed);
    }
    QApplication application(argc, argv);
    bench::FloorWindow window{QPixmap(QString::fromStdString(arguments[1]))};
    window.show();
    return QApplication::exec();
}

int dispatch(int argc, char* argv[]) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string mode = arguments.empty() ? "" : arguments.front();
    if (mode == "table") {
        bench::printTable(
            bench::runBenchmark(parseSetup({arguments.begin() + 1, arguments.end()})));
        return 0;
    }
    if (mode == "floor" && (arguments.size() == 2 || arguments.size() == 3)) {
        return runFloor(argc, argv, arguments);
    }
    if (mode == "picture" && arguments.size() == 2) {
        QApplication application(argc, argv);
        return window::qt::artworkPicture("skin").save(QString::fromStdString(arguments[1])) ? 0
                                                                                             : 1;
    }
    if (mode == "session" && arguments.size() == 3) {
        QApplication application(argc, argv);
        bench::runSlaSession(arguments[1], std::stoi(arguments[2]));
        return 0;
    }
    if (mode == "big" && arguments.size() == 2) {
        bench::writeBigDocument(std::filesystem::path(PROJECT_SOURCE_DIR) / "samples/sheet.sla", 64,
                                100000, 50, arguments[1]);
        return 0;
    }
    if (mode == "handlers" && arguments.size() == 3) {
        QApplication application(argc, argv);
        bench::runHandlers(std::stoi(arguments[1]), std::stoi(arguments[2]));
        return 0;
    }
    if (mode == "documents" && arguments.size() == 3) {
        bench::runSlaOpenSave(arguments[1], std::stoi(arguments[2]));
        return 0;
    }
    if (mode == "sheet" && arguments.size() == 3) {
        bench::writeSlaSheet(std::filesystem::path(PROJECT_SOURCE_DIR) / "samples/sheet.sla",
                             std::stoi(arguments[1]), arguments[2]);
        return 0;
    }
    std::fprintf(stderr, "usage: quarvel_bench table|floor|handlers|documents ... (see source)\n");
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    try {
        return dispatch(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quarvel_bench: %s\n", error.what());
        return 1;
    }
}
