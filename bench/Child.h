#pragma once

// Runs another program to its end and reports what it cost.

#include <filesystem>
#include <string>
#include <vector>

namespace bench {

struct ChildRun {
    int exitStatus = -1;     // -1 when it did not exit normally
    std::string output;      // its standard output
    long long startNs = 0;   // CLOCK_MONOTONIC just before the fork
    double wallMs = 0.0;     // fork to reaped
    double cpuMs = 0.0;      // user + system
    double peakRssMb = 0.0;  // peak resident set size
};

// `environment` holds NAME=VALUE pairs added to this process's environment.
// Standard error is appended to `errorLog`. A child still running after
// `timeoutSeconds` is killed by its own alarm.
ChildRun runChild(const std::vector<std::string>& command,
                  const std::vector<std::string>& environment,
                  const std::filesystem::path& errorLog, unsigned timeoutSeconds = 120);

}  // namespace bench
