#include "host/sla/SlaNumbers.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

namespace {

// `value` (finite, not tiny) spelt out with `digits` significant digits and no exponent.
std::string plainDecimal(double value, int digits) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, std::abs(value));
    std::string mantissa;
    mantissa += buffer[0];
    mantissa.append(buffer + 2, static_cast<std::size_t>(digits - 1));
    const int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
    mantissa.erase(mantissa.find_last_not_of('0') + 1);
    std::string text = value < 0 ? "-" : "";
    if (exponent < 0) {
        return text + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
    }
    const auto whole = static_cast<std::size_t>(exponent) + 1;
    if (mantissa.size() <= whole) {
        return text + mantissa + std::string(whole - mantissa.size(), '0');
    }
    return text + mantissa.substr(0, whole) + "." + mantissa.substr(whole);
}

}  // namespace

std::string formatNumber(double value) {
    if (!std::isfinite(value)) {
        throw HostError(std::string("A position or size worked out for the document is ") +
                        (std::isnan(value) ? "not a number" : "too large to be written") + ".");
    }
    if (std::abs(value) < 1e-9) {
        return "0";  // trigonometry leaves residues such as 6e-17 where Scribus writes 0
    }
    // Spelt out without the exponent, which Scribus never writes ("1e+20" would
    // be read back as 1).
    std::string text = plainDecimal(value, 15);
    if (!parseNumber(text)) {
        text = plainDecimal(value, 17);  // 15 digits round the largest numbers up past the range
    }
    return text;
}

double numberAttribute(pugi::xml_node node, const char* name, double fallback) {
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute || *attribute.value() == '\0') {
        return fallback;  // the load checks let only attributes the tool can do without be empty
    }
    const std::optional<double> value = parseNumber(attribute.value());
    if (!value) {
        // Never a stand-in such as 0: a number misread would move or shrink the item.
        throw HostError("Attribute " + std::string(name) + " of <" + node.name() +
                        "> is not a finite number (\"" + attribute.value() + "\").");
    }
    return *value;
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
