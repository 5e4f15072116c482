#pragma once

// quarvel [--page N] [FILE.sla ...]
// quarvel --reflect left-right|top-bottom [--page N] [--json] [--dry-run] FILE.sla ...
// quarvel --help | --version

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "window/form/FormDriver.h"

namespace app {

// How the sheet turns for its back side: the window's own choice.
using Direction = window::form::Flip;

struct CommandLine {
    enum class Action { Run, Reflect, Help, Version };
    Action action = Action::Run;
    std::optional<int> page;  // 1-based page whose spread the tool works on
    std::vector<std::string>
        files;  // Run: opened in order, the last one active; Reflect: each in turn
    // Reflect only: the direction, JSON instead of tables, and a run that writes nothing.
    Direction direction = Direction::LeftRight;
    bool json = false;
    bool dryRun = false;
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// `arguments` without the program name. Throws UsageError for anything else.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// "left-right" or "top-bottom", as the command line spells it.
const char* directionName(Direction direction);

std::string usageText();
std::string versionText();

}  // namespace app
