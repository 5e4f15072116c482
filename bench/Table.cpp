#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "bench/Figures.h"
#include "bench/Measure.h"
#include "bench/Sheet.h"

namespace bench {

namespace {

constexpr int kLabelWidth = 40;
constexpr int kCellWidth = 16;

using Cell = std::function<std::string(const SizeFigures&)>;

std::string number(double value) {
    char text[32];
    const char* format = value < 10 ? "%.2f" : value < 100 ? "%.1f" : "%.0f";
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string pair(double cpu, double wall) {
    return number(cpu) + " (" + number(wall) + ")";
}

std::string verdict(bool met) {
    return met ? "met" : "MISSED";
}

const SizeFigures* sizeOf(const Figures& figures, int rectangles) {
    for (const auto& size : figures.sizes) {
        if (size.rectangles == rectangles) {
            return &size;
        }
    }
    return nullptr;
}

void row(const Figures& figures, const std::string& label, const Cell& cell,
         const std::string& target = "") {
    std::printf("  %-*s", kLabelWidth - 2, label.c_str());
    for (const auto& size : figures.sizes) {
        std::printf("%*s", kCellWidth, cell(size).c_str());
    }
    std::printf("   %s\n", target.c_str());
}

void heading(const std::string& text) {
    std::printf("%s\n", text.c_str());
}

double startWall(const SizeFigures& size) {
    return median(size.startUp.firstPaintMs);
}
double startCpu(const SizeFigures& size) {
    return median(size.startUp.cpuMs);
}
double handlerCpu(const SizeFigures& size, const std::string& name) {
    return size.handlers.at(name + ".cpu");
}
// The fewest host calls the operations allow: one type name per item, bounds
// and angle per rectangle; start-up adds the document check (2), sheet fitting
// (4) and reaching the spread's items (4); Reflect adds the duplicate and its
// items (5), a put of bounds and angle per rectangle, and per line a get and a
// put of both.
long leastCaptureCalls(int rectangles) {
    const SheetCounts counts = sheetCounts(rectangles);
    return 10 + counts.items() + 2 * counts.rectangles;
}
long leastReflectCalls(int rectangles) {
    const SheetCounts counts = sheetCounts(rectangles);
    return 5 + counts.items() + 2 * counts.rectangles + 4 * counts.lines;
}

std::string target(const Figures& figures, int rectangles, const std::string& text,
                   const std::function<bool(const SizeFigures&)>& met) {
    const SizeFigures* size = sizeOf(figures, rectangles);
    return text + ": " + (size ? verdict(met(*size)) : std::string("not measured"));
}

void printStartUp(const Figures& figures) {
    const double floorWall = median(figures.floor.firstPaintMs);
    const double floorCpu = median(figures.floor.cpuMs);
    const auto parseWall = [](const SizeFigures& s) { return median(s.parseFloor.firstPaintMs); };
    heading("Start-up under Xvfb, whole process, spawn to first paint finished");
    row(figures, "quarvel, wall ms", [](auto& s) { return number(startWall(s)); });
    row(figures, "plain window with a picture, wall ms", [&](auto&) { return number(floorWall); });
    row(
        figures, "  ratio", [&](auto& s) { return number(startWall(s) / floorWall) + "x"; },
        target(figures, 64, "<= 1.15x at 64",
               [&](auto& s) { return startWall(s) <= 1.15 * floorWall; }));
    row(figures, "the same, reading and parsing, wall ms",
        [&](auto& s) { return number(parseWall(s)); });
    row(
        figures, "  ratio", [&](auto& s) { return number(startWall(s) / parseWall(s)) + "x"; },
        target(figures, 32735, "<= 1.5x at 32,735",
               [&](auto& s) { return startWall(s) <= 1.5 * parseWall(s); }));
    row(figures, "quarvel, CPU ms", [](auto& s) { return number(startCpu(s)); });
    row(figures, "plain window with a picture, CPU ms", [&](auto&) { return number(floorCpu); });
    row(figures, "the same, reading and parsing, CPU ms",
        [](auto& s) { return number(median(s.parseFloor.cpuMs)); });
}

void printHandlers(const Figures& figures) {
    heading("In-process, in-memory host: CPU ms (wall ms)");
    const auto cell = [](const char* name) {
        return [name](const SizeFigures& s) {
            return pair(handlerCpu(s, name), s.handlers.at(std::string(name) + ".wall"));
        };
    };
    row(figures, "bare skinned window, made first", cell("bare"));
    row(figures, "tool window, made after it", cell("window"));
    row(figures, "  its pictures rendered again, warm", cell("artwork"));
    row(figures, "capture + back side + previews", cell("load"),
        target(figures, 1000, "< 50 ms at 1,000",
               [](auto& s) { return handlerCpu(s, "load") < 50; }));
    row(
        figures, "", [](auto&) { return std::string(); },
        target(figures, 32735, "< 1 s at 32,735",
               [](auto& s) { return handlerCpu(s, "load") < 1000; }));
    row(figures, "repaint of the whole window", cell("repaint"));
    row(figures, "flip (back side + back previews)", cell("flip"));
    row(figures, "Refresh", cell("refresh"));
    row(figures, "Reflect", cell("reflect"), target(figures, 32735, "< 1 s at 32,735", [](auto& s) {
            return handlerCpu(s, "reflect") < 1000;
        }));
}

void printCalls(const Figures& figures) {
    heading("Host calls (in-memory host's call log)");
    const auto count = [](const char* name) {
        return [name](const SizeFigures& s) {
            return std::to_string(static_cast<long>(s.handlers.at(std::string("calls.") + name)));
        };
    };
    row(figures, "per capture at start-up", count("capture"));
    row(figures, "  least the operations allow",
        [](auto& s) { return std::to_string(leastCaptureCalls(s.rectangles)); });
    row(figures, "per Reflect", count("reflect"));
    row(figures, "  least the operations allow",
        [](auto& s) { return std::to_string(leastReflectCalls(s.rectangles)); });
}

double slaCpu(const std::map<std::string, double>& values, const char* name) {
    return values.at(std::string(name) + ".cpu");
}
double slaWall(const std::map<std::string, double>& values, const char* name) {
    return values.at(std::string(name) + ".wall");
}
double openSaveCpu(const std::map<std::string, double>& values) {
    return slaCpu(values, "open") + slaCpu(values, "save");
}
double clickToEnd(const SizeFigures& size) {
    return median(size.session.clickToEndMs);
}
double copyFloorEnd(const SizeFigures& size) {
    return median(size.copyFloor.clickToEndMs);
}

void printDocuments(const Figures& figures) {
    heading("Scribus document host (.sla), in process: CPU ms (wall ms)");
    const auto cell = [](const char* name) {
        return [name](const SizeFigures& s) {
            return pair(slaCpu(s.sla, name), slaWall(s.sla, name));
        };
    };
    row(figures, "open", cell("open"));
    row(figures, "capture + back side + previews", cell("capture"));
    row(figures, "repaint of the whole window", cell("repaint"));
    row(figures, "  floor: skin, icons and digits, cached", cell("repaintfloor"));
    row(
        figures, "  ratio (CPU)",
        [](auto& s) {
            return number(slaCpu(s.sla, "repaint") / slaCpu(s.sla, "repaintfloor")) + "x";
        },
        target(figures, 32735, "<= 2x at 32,735", [](auto& s) {
            return slaCpu(s.sla, "repaint") <= 2 * slaCpu(s.sla, "repaintfloor");
        }));
    row(figures, "Reflect", cell("reflect"));
    row(figures, "save", cell("save"));
    row(figures, "open + save", [](auto& s) {
        return pair(openSaveCpu(s.sla), slaWall(s.sla, "open") + slaWall(s.sla, "save"));
    });
    row(figures, "  floor: sized read, in-place parse, write, fsync", [](auto& s) {
        return pair(openSaveCpu(s.slaFloor),
                    slaWall(s.slaFloor, "open") + slaWall(s.slaFloor, "save"));
    });
    row(
        figures, "  ratio (CPU)",
        [](auto& s) { return number(openSaveCpu(s.sla) / openSaveCpu(s.slaFloor)) + "x"; },
        target(figures, 32735, "<= 1.2x at 32,735",
               [](auto& s) { return openSaveCpu(s.sla) <= 1.2 * openSaveCpu(s.slaFloor); }));
    heading("Reflect under Xvfb, click to the end of the process, wall ms");
    row(figures, "quarvel", [](auto& s) { return number(clickToEnd(s)); });
    row(figures, "  floor: copy the page, save with fsync, end",
        [](auto& s) { return number(copyFloorEnd(s)); });
    row(
        figures, "  ratio", [](auto& s) { return number(clickToEnd(s) / copyFloorEnd(s)) + "x"; },
        target(figures, 32735, "<= 2x at 32,735",
               [](auto& s) { return clickToEnd(s) <= 2 * copyFloorEnd(s); }));
}

double batchWall(const SizeFigures& size) {
    return median(size.batch.wallMs);
}
double floorWall(const SizeFigures& size) {
    return median(size.copyFloor.wallMs);
}
double batchRss(const SizeFigures& size) {
    return median(size.batch.peakRssMb);
}
double floorRss(const SizeFigures& size) {
    return median(size.copyFloor.peakRssMb);
}

void printBatch(const Figures& figures) {
    heading("quarvel --reflect left-right, no window, whole process (spawn to end), wall ms");
    row(figures, "quarvel --reflect", [](auto& s) { return number(batchWall(s)); });
    row(figures, "  floor: read, parse, copy, save synced",
        [](auto& s) { return number(floorWall(s)); });
    row(
        figures, "  ratio", [](auto& s) { return number(batchWall(s) / floorWall(s)) + "x"; },
        target(figures, 32735, "<= 2x at 32,735",
               [](auto& s) { return batchWall(s) <= 2 * floorWall(s); }));
    const auto hugeWall = [](const SizeFigures& s) { return median(s.copyFloorHuge.wallMs); };
    row(figures, "  floor with its heap in huge pages too",
        [&](auto& s) { return number(hugeWall(s)); });
    row(figures, "  ratio", [&](auto& s) { return number(batchWall(s) / hugeWall(s)) + "x"; });
    row(figures, "  CPU ms, quarvel (floor)",
        [](auto& s) { return pair(median(s.batch.cpuMs), median(s.copyFloor.cpuMs)); });
    row(figures, "  peak MB, quarvel (floor)",
        [](auto& s) { return pair(batchRss(s), floorRss(s)); });
    row(
        figures, "  ratio", [](auto& s) { return number(batchRss(s) / floorRss(s)) + "x"; },
        target(figures, 32735, "<= 1.5x at 32,735",
               [](auto& s) { return batchRss(s) <= 1.5 * floorRss(s); }));
}

void printBig(const Figures& figures) {
    const SizeFigures& big = figures.big;
    const SizeFigures* alone = sizeOf(figures, 64);
    heading(
        "A sheet of 64 on page 50 of 50 beside 100,000 text frames, .sla host: CPU ms (wall ms)");
    const auto line = [&](const std::string& label, const char* name) {
        std::printf("  %-*s%*s", kLabelWidth - 2, label.c_str(), kCellWidth,
                    pair(slaCpu(big.sla, name), slaWall(big.sla, name)).c_str());
        if (alone) {
            std::printf("   the sheet alone: %s",
                        pair(slaCpu(alone->sla, name), slaWall(alone->sla, name)).c_str());
        }
        std::printf("\n");
    };
    line("open", "open");
    line("capture + back side + previews", "capture");
    line("Reflect", "reflect");
    line("save", "save");
    const double both = slaCpu(big.sla, "capture") + slaCpu(big.sla, "reflect");
    std::printf("  %-*s%*s   < 5 ms: %s\n", kLabelWidth - 2, "capture + Reflect, CPU", kCellWidth,
                number(both).c_str(), verdict(both < 5).c_str());
    const double floor = openSaveCpu(big.slaFloor);
    std::printf("  %-*s%*s   floor %s, %sx\n", kLabelWidth - 2, "open + save, CPU", kCellWidth,
                number(openSaveCpu(big.sla)).c_str(), number(floor).c_str(),
                number(openSaveCpu(big.sla) / floor).c_str());
    const double ratio = batchWall(big) / floorWall(big);
    std::printf("  %-*s%*s   floor %s, %sx; <= 1.3x: %s\n", kLabelWidth - 2,
                "quarvel --reflect --page 50, wall", kCellWidth, number(batchWall(big)).c_str(),
                number(floorWall(big)).c_str(), number(ratio).c_str(),
                verdict(ratio <= 1.3).c_str());
    const double huge = median(big.copyFloorHuge.wallMs);
    std::printf("  %-*s%*s   %sx\n", kLabelWidth - 2, "  floor with its heap in huge pages",
                kCellWidth, number(huge).c_str(), number(batchWall(big) / huge).c_str());
    std::printf("  %-*s%*s   floor %s\n", kLabelWidth - 2, "  peak MB", kCellWidth,
                number(batchRss(big)).c_str(), number(floorRss(big)).c_str());
}

void printMemory(const Figures& figures) {
    heading("Peak resident memory of the whole process, MB");
    const double floorRss = median(figures.floor.peakRssMb);
    const auto floorParse = [](const SizeFigures& s) { return median(s.parseFloor.peakRssMb); };
    const auto session = [](const SizeFigures& s) { return median(s.session.peakRssMb); };
    row(figures, "plain window with a picture", [&](auto&) { return number(floorRss); });
    row(figures, "the same, reading and parsing", [&](auto& s) { return number(floorParse(s)); });
    row(figures, "copy-save-exit floor",
        [](auto& s) { return number(median(s.copyFloor.peakRssMb)); });
    row(figures, "quarvel, start-up to first paint",
        [](auto& s) { return number(median(s.startUp.peakRssMb)); });
    row(figures, "quarvel, start-up + Reflect + save", [&](auto& s) { return number(session(s)); });
    row(
        figures, "  ratio to the window reading and parsing",
        [&](auto& s) { return number(session(s) / floorParse(s)) + "x"; },
        target(figures, 32735, "<= 1.2x at 32,735",
               [&](auto& s) { return session(s) <= 1.2 * floorParse(s); }));
    row(figures, "  its whole run, wall ms",
        [](auto& s) { return number(median(s.session.wallMs)); });
}

}  // namespace

void printTable(const Figures& figures) {
    std::printf("Quarvel benchmark: medians of %d runs; load average %s (1, 5, 15 min)\n",
                figures.runs, figures.load.c_str());
    std::printf("%-*s", kLabelWidth, "rectangles on the sheet");
    for (const auto& size : figures.sizes) {
        std::printf("%*d", kCellWidth, size.rectangles);
    }
    std::printf("   target\n");
    printStartUp(figures);
    printHandlers(figures);
    printCalls(figures);
    printDocuments(figures);
    printBatch(figures);
    printBig(figures);
    printMemory(figures);
    std::printf(
        "Targets are judged on CPU time where both are shown, and on wall time for the\n"
        "start-up ratio; the machine is shared, so wall times carry other work's load.\n");
}

}  // namespace bench
