#pragma once

// One benchmark run: writes the sheets, starts the tool and the bare window
// under the current display, runs the in-process and document timings in
// child processes, and gathers the figures.

#include <filesystem>
#include <vector>

#include "bench/Figures.h"

namespace bench {

struct BenchSetup {
    std::filesystem::path quarvel;    // the tool's executable
    std::filesystem::path self;       // this program
    std::filesystem::path floorDir;   // holds the floor programs
    std::filesystem::path pluginDir;  // holds generic/ with the first-paint probe
    std::filesystem::path sample;     // the sample sheet the sheets derive from
    std::filesystem::path work;       // scratch folder for sheets and logs
    std::vector<int> sizes;
    int runs = 5;
};

Figures runBenchmark(const BenchSetup& setup);

}  // namespace bench
