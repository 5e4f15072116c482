#pragma once

// What one benchmark run found, per sheet size, and how it is printed.

#include <map>
#include <string>
#include <vector>

namespace bench {

struct ProcessFigures {
    std::vector<double> firstPaintMs;  // spawn to first paint, wall
    std::vector<double> wallMs;        // spawn to end, wall
    std::vector<double> cpuMs;         // user + system, whole process
    std::vector<double> peakRssMb;
    std::vector<double> clickToEndMs;  // Reflect's click (a floor: its document ready) to end
};

struct SizeFigures {
    int rectangles = 0;
    ProcessFigures startUp;     // to the first paint
    ProcessFigures session;     // start-up, Reflect, save, end
    ProcessFigures parseFloor;  // the plain window that first reads and parses the sheet
    ProcessFigures copyFloor;   // the floor that copies the page, saves and ends
    ProcessFigures batch;       // quarvel --reflect left-right: read, Reflect, save, end
    // The copy floor with its heap in huge pages too, as quarvel's launcher
    // keeps its own (app/heap): the same floor without the page faults.
    ProcessFigures copyFloorHuge;
    // Medians of the key=value lines of the in-process runs, one run per process.
    std::map<std::string, double> handlers;
    // The .sla host in process (open, capture, repaint, reflect, save) and the
    // open-and-save floor, medians over processes.
    std::map<std::string, double> sla;
    std::map<std::string, double> slaFloor;
};

struct Figures {
    int runs = 0;
    std::string load;      // the machine's load averages while measuring
    ProcessFigures floor;  // a plain window with a picture
    std::vector<SizeFigures> sizes;
    // The sheet of 64 on the last of 50 pages beside 100,000 text frames.
    SizeFigures big;
};

void printTable(const Figures& figures);

}  // namespace bench
