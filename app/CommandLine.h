#pragma once

// quarvel [--page N] [FILE.sla ...] | --help | --version

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace app {

struct CommandLine {
    enum class Action { Run, Help, Version };
    Action action = Action::Run;
    std::optional<int> page;         // 1-based page whose spread the window shows
    std::vector<std::string> files;  // opened in order; the last one is active
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// `arguments` without the program name. Throws UsageError for anything else.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

std::string usageText();
std::string versionText();

}  // namespace app
