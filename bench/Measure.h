#pragma once

// Clocks and medians for the benchmark.

#include <functional>
#include <vector>

namespace bench {

// One timed piece of work: CPU time of the calling thread and wall time, in ms.
struct Sample {
    double cpuMs = 0.0;
    double wallMs = 0.0;
};

long long monotonicNs();
Sample measure(const std::function<void()>& work);

double median(std::vector<double> values);
double medianCpu(const std::vector<Sample>& samples);
double medianWall(const std::vector<Sample>& samples);

}  // namespace bench
