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
};

struct SizeFigures {
    int rectangles = 0;
    ProcessFigures startUp;  // to the first paint
    ProcessFigures session;  // start-up, Reflect, save, end
    // Medians of the key=value lines of the in-process runs, one run per process.
    std::map<std::string, double> handlers;
    std::map<std::string, double> documents;
};

struct Figures {
    int runs = 0;
    std::string load;  // the machine's load averages while measuring
    ProcessFigures floor;
    std::vector<SizeFigures> sizes;
};

void printTable(const Figures& figures);

}  // namespace bench
