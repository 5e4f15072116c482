#include "app/CommandLine.h"

#include <charconv>

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

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool onlyFiles = false;
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
        } else if (argument == "--page") {
            if (++i == arguments.size()) {
                throw UsageError("--page needs a page number");
            }
            line.page = parsePage(arguments[i]);
        } else if (argument.rfind("--page=", 0) == 0) {
            line.page = parsePage(argument.substr(7));
        } else {
            throw UsageError("unknown option " + argument);
        }
    }
    return line;
}

std::string usageText() {
    return "Usage: quarvel [--page N] [FILE.sla ...]\n"
           "\n"
           "Shows the press sheet drawn on a page of a Scribus document, front and back,\n"
           "and on Reflect Page writes the back side into the document as a new page.\n"
           "The last file given is the active document; the others are open beside it.\n"
           "Documents are saved when the tool closes normally, and only if it changed them.\n"
           "\n"
           "  --page N     show the spread holding page N of the active document\n"
           "               (default: the first spread)\n"
           "  -h, --help   show this help and exit\n"
           "  --version    show the version and exit\n";
}

std::string versionText() {
    return "Quarvel 0.3\n";
}

}  // namespace app
