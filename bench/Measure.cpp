#include "bench/Measure.h"

#include <algorithm>
#include <ctime>

namespace bench {

namespace {

long long nanoseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

double milliseconds(long long ns) {
    return static_cast<double>(ns) / 1e6;
}

}  // namespace

long long monotonicNs() {
    return nanoseconds(CLOCK_MONOTONIC);
}

Sample measure(const std::function<void()>& work) {
    const long long cpu0 = nanoseconds(CLOCK_THREAD_CPUTIME_ID);
    const long long wall0 = monotonicNs();
    work();
    const long long wall1 = monotonicNs();
    const long long cpu1 = nanoseconds(CLOCK_THREAD_CPUTIME_ID);
    return {milliseconds(cpu1 - cpu0), milliseconds(wall1 - wall0)};
}

double median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

double medianCpu(const std::vector<Sample>& samples) {
    std::vector<double> values;
    for (const Sample& sample : samples) {
        values.push_back(sample.cpuMs);
    }
    return median(values);
}

double medianWall(const std::vector<Sample>& samples) {
    std::vector<double> values;
    for (const Sample& sample : samples) {
        values.push_back(sample.wallMs);
    }
    return median(values);
}

}  // namespace bench
