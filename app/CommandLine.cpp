#include "app/CommandLine.h"

#include <charconv>

#include "version/Version.h"

namespace app {

namespace {

int parsePage(const std::string& text) {
    int page = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, page);
    if (error != std::errc() || stop != end || page < 1) {
        throw UsageError("--page needs a page number of 1 or more, not \"" + text + "\"");
    }
    return page;
}

Direction parseDirection(const std::string& text) {
    for (const Direction direction : {Direction::LeftRight, Direction::TopBottom}) {
        if (text == directionName(direction)) {
            return direction;
        }
    }
    throw UsageError("--reflect needs left-right or top-bottom, not \"" + text + "\"");
}

// Reads the options that take a value, as "--name VALUE" or "--name=VALUE".
// Returns false when `argument` is none of them.
bool readValueOption(const std::vector<std::string>& arguments, std::size_t& i, CommandLine& line,
                     bool& reflect) {
    const std::string& argument = arguments[i];
    for (const std::string name : {"--page", "--reflect"}) {
        std::string value;
        if (argument == name) {
            if (++i == arguments.size()) {
                throw UsageError(name + (name == "--page" ? " needs a page number"
                                                          : " needs left-right or top-bottom"));
            }
            value = arguments[i];
        } else if (argument.rfind(name + "=", 0) == 0) {
            value = argument.substr(name.size() + 1);
        } else {
            continue;
        }
        if (name == "--page") {
            line.page = parsePage(value);
        } else {
            line.direction = parseDirection(value);
            reflect = true;
        }
        return true;
    }
    return false;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool onlyFiles = false;
    bool reflect = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (onlyFiles || argument.empty() || argument[0] != '-' || argument == "-") {
            line.files.push_back(argument);
        } else if (argument == "--") {
            onlyFiles = true;
        } else if (argument == "-h" || argument == "--help") {
            line.action = CommandLine::Action::Help;
        } else if (argument == "--version") {
            line.action = CommandLine::Action::Version;
        } else if (argument == "--json") {
            line.json = true;
        } else if (argument == "--dry-run") {
            line.dryRun = true;
        } else if (!readValueOption(arguments, i, line, reflect)) {
            throw UsageError("unknown option " + argument);
        }
    }
    if (line.action == CommandLine::Action::Run) {
        if (reflect) {
            line.action = CommandLine::Action::Reflect;
        } else if (line.json || line.dryRun) {
            throw UsageError(std::string(line.json ? "--json" : "--dry-run") +
                             " goes with --reflect");
        }
    }
    return line;
}

const char* directionName(Direction direction) {
    return direction == Direction::LeftRight ? "left-right" : "top-bottom";
}

std::string usageText() {
    return "Usage: quarvel [--page N] [FILE.sla ...]\n"
           "       quarvel --reflect left-right|top-bottom [--page N] [--json] [--dry-run]\n"
           "               FILE.sla ...\n"
           "\n"
           "Shows the press sheet drawn on a page of a Scribus document, front and back,\n"
           "and on Reflect Page writes the back side into the document as a new page.\n"
           "The last file given is the active document; the others are open beside it.\n"
           "Documents are saved when the tool closes normally, and only if it changed them.\n"
           "\n"
           "With --reflect there is no window: the tool does what a click on Reflect Page\n"
           "does, turning the sheet as given, for each FILE in turn, each on its own as if\n"
           "it were the only document open. It prints the front and back page tables\n"
           "(page, top, left, bottom, right in points from the page's top-left corner;\n"
           "angle in degrees). A FILE that fails is reported and left as it was, and the\n"
           "others still go ahead.\n"
           "\n"
           "  --page N       work on the spread holding page N of the (active) document\n"
           "                 (default: the first spread)\n"
           "  --reflect DIR  write the back side without a window, the sheet turned\n"
           "                 left-right or top-bottom\n"
           "  --json         with --reflect: print the tables as one JSON array, an entry\n"
           "                 per FILE\n"
           "  --dry-run      with --reflect: print the tables, write nothing\n"
           "  -h, --help     show this help and exit\n"
           "  --version      show the version and exit\n"
           "\n"
           "Exit status: 0 when every document is done, 1 after an error (reported on\n"
           "standard error), 2 for a mistake on the command line.\n";
}

std::string versionText() {
    return std::string("Quarvel ") + version::kVersion + "\n";
}

}  // namespace app
