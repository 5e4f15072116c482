#include "host/sla/SlaNumbers.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "host/HostError.h"

namespace host::sla {

std::optional<double> parseNumber(std::string_view text) {
    double value = 0.0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || text.empty() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> parseInteger(std::string_view text) {
    const std::optional<double> value = parseNumber(text);
    // Checked as a double first: casting one outside int's range is undefined.
    if (!value || *value != std::trunc(*value) || *value < INT_MIN || *value > INT_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

std::string formatNumber(double value) {
    if (std::abs(value) < 1e-9) {
        return "0";  // trigonometry leaves residues such as 6e-17 where Scribus writes 0
    }
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    if (std::strchr(buffer, 'e') != nullptr) {
        // Scribus never writes exponents; spell the value out and trim the zeros.
        std::snprintf(buffer, sizeof buffer, "%.9f", value);
        std::string text(buffer);
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
        return text;
    }
    return buffer;
}

double numberAttribute(pugi::xml_node node, const char* name, double fallback) {
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute || *attribute.value() == '\0') {
        return fallback;  // the load checks let only attributes the tool can do without be empty
    }
    return parseNumber(attribute.value()).value_or(fallback);
}

int intAttribute(pugi::xml_node node, const char* name, int fallback) {
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) {
        return fallback;
    }
    const std::optional<int> value = parseInteger(attribute.value());
    if (!value) {
        throw HostError("Attribute " + std::string(name) + " of <" + node.name() +
                        "> is not a whole number within range (\"" + attribute.value() + "\").");
    }
    return *value;
}

}  // namespace host::sla
