#include "host/sla/read/SlaPath.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "host/HostError.h"
#include "host/sla/read/SlaNumbers.h"

namespace host::sla {

namespace {

struct Command {
    char letter = 0;
    std::vector<double> numbers;
};

std::vector<Command> parsePath(const std::string& path) {
    std::vector<Command> commands;
    std::size_t at = 0;
    while (at < path.size()) {
        const char ch = path[at];
        if (std::isspace(static_cast<unsigned char>(ch)) || ch == ',') {
            ++at;
        } else if (std::isalpha(static_cast<unsigned char>(ch))) {
            commands.push_back({ch, {}});
            ++at;
        } else {
            // The number ends where from_chars stops: "1e-05" and "-5-5" need no separator.
            const std::size_t start = ch == '+' ? at + 1 : at;
            double number = 0.0;
            const auto [end, error] =
                std::from_chars(path.data() + start, path.data() + path.size(), number);
            if (error != std::errc() || !std::isfinite(number) || commands.empty()) {
                throw HostError("The outline path \"" + path + "\" cannot be read.");
            }
            commands.back().numbers.push_back(number);
            at = static_cast<std::size_t>(end - path.data());
        }
    }
    return commands;
}

}  // namespace

std::string scaledPath(const std::string& path, double sx, double sy) {
    std::string result;
    for (Command& command : parsePath(path)) {
        const char upper =
            static_cast<char>(std::toupper(static_cast<unsigned char>(command.letter)));
        for (std::size_t i = 0; i < command.numbers.size(); ++i) {
            if (upper == 'H') {
                command.numbers[i] *= sx;
            } else if (upper == 'V') {
                command.numbers[i] *= sy;
            } else if (upper == 'M' || upper == 'L' || upper == 'C' || upper == 'Q' ||
                       upper == 'S' || upper == 'T') {
                command.numbers[i] *= i % 2 == 0 ? sx : sy;
            } else {
                // Arcs carry radii, angles and flags; Scribus itself never writes them.
                throw HostError("The outline path \"" + path + "\" cannot be resized.");
            }
        }
        if (!result.empty()) {
            result += ' ';
        }
        result += command.letter;
        for (std::size_t i = 0; i < command.numbers.size(); ++i) {
            if (i > 0) {
                result += ' ';
            }
            result += formatNumber(command.numbers[i]);
        }
    }
    return result;
}

}  // namespace host::sla
