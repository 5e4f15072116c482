// The floor for opening and saving a .sla: read and parse it, write it back
// synced, and print the CPU and wall time of both, in ms, as key=value lines.
//
//   quarvel_floor_opensave FILE.sla    (FILE is overwritten with what it holds)

#include <cstdio>
#include <exception>

#include "bench/floor/FloorFile.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quarvel_floor_opensave FILE.sla\n");
        return 2;
    }
    try {
        const long long cpu0 = floors::threadCpuNs(), wall0 = floors::monotonicNs();
        floors::ParsedFile parsed;
        floors::readAndParse(argv[1], parsed);
        const long long cpu1 = floors::threadCpuNs(), wall1 = floors::monotonicNs();
        floors::saveSynced(parsed.xml, argv[1]);
        const long long cpu2 = floors::threadCpuNs(), wall2 = floors::monotonicNs();
        const auto ms = [](long long from, long long to) {
            return static_cast<double>(to - from) / 1e6;
        };
        std::printf("open.cpu=%.3f\nopen.wall=%.3f\nsave.cpu=%.3f\nsave.wall=%.3f\n",
                    ms(cpu0, cpu1), ms(wall0, wall1), ms(cpu1, cpu2), ms(wall1, wall2));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quarvel_floor_opensave: %s\n", error.what());
        return 1;
    }
    return 0;
}
