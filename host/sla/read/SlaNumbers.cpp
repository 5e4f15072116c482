#include "host/sla/read/SlaNumbers.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

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

// `magnitude` with `digits` significant digits, "d.ddde±XX", rounded exactly
// as printf would; returns the end of the text.
char* scientific(double magnitude, int digits, char* text, std::size_t size) {
    return std::to_chars(text, text + size, magnitude, std::chars_format::scientific, digits - 1)
        .ptr;
}

bool readsAsInfinity(const char* first, const char* last) {
    double back = 0.0;
    return std::from_chars(first, last, back).ec == std::errc::result_out_of_range;
}

}  // namespace

NumberText::NumberText(double value) {
    if (!std::isfinite(value)) {
        throw HostError(std::string("A position or size worked out for the document is ") +
                        (std::isnan(value) ? "not a number" : "too large to be written") + ".");
    }
    const double magnitude = std::abs(value);
    if (magnitude < 1e-9) {
        m_text[0] = '0';  // trigonometry leaves residues such as 6e-17 where Scribus writes 0
        m_size = 1;
        return;
    }
    // Whole numbers of up to 15 digits (pages, ids, most positions) are their own digits.
    if (magnitude < 1e15 && value == std::trunc(value)) {
        m_size = static_cast<std::size_t>(
            std::to_chars(m_text, m_text + kCapacity, static_cast<long long>(value)).ptr - m_text);
        return;
    }
    char text[40];
    // The shortest text that reads back, when it has at most 15 digits, is
    // the 15-digit rounding without its trailing zeros (the value lies within
    // half a unit of its last place of it, far inside half a 15-digit step),
    // and it is found without printf's arithmetic, which the exact rounding needs.
    char* end =
        std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific).ptr;
    if (std::find(text, end, 'e') - text > 16) {  // more than 15 digits and the point
        end = scientific(magnitude, 15, text, sizeof text);
        if (magnitude >= 1e308 && readsAsInfinity(text, end)) {
            end = scientific(magnitude, 17, text, sizeof text);  // 15 digits round past the range
        }
    }
    const char* mark = std::find(text, end, 'e');
    int exponent = 0;
    std::from_chars(mark + (mark[1] == '+' ? 2 : 1), end, exponent);
    char digits[17];
    std::size_t count = 0;
    for (const char* c = text; c < mark; ++c) {
        if (*c != '.') {
            digits[count++] = *c;
        }
    }
    while (count > 1 && digits[count - 1] == '0') {
        --count;
    }
    // Spelt out without the exponent, which Scribus never writes ("1e+20"
    // would be read back as 1).
    char* out = m_text;
    if (value < 0) {
        *out++ = '-';
    }
    if (exponent < 0) {
        *out++ = '0';
        *out++ = '.';
        out = std::fill_n(out, -exponent - 1, '0');
        out = std::copy_n(digits, count, out);
    } else if (const auto whole = static_cast<std::size_t>(exponent) + 1; count <= whole) {
        out = std::copy_n(digits, count, out);
        out = std::fill_n(out, whole - count, '0');
    } else {
        out = std::copy_n(digits, whole, out);
        *out++ = '.';
        out = std::copy_n(digits + whole, count - whole, out);
    }
    m_size = static_cast<std::size_t>(out - m_text);
}

std::string formatNumber(double value) {
    return std::string(NumberText(value).view());
}

double numberAttribute(pugi::xml_node node, const char* name, double fallback) {
    return numberValue(node.attribute(name), node, fallback);
}

double numberValue(pugi::xml_attribute attribute, pugi::xml_node node, double fallback) {
    if (!attribute || *attribute.value() == '\0') {
        return fallback;  // the load checks let only attributes the tool can do without be empty
    }
    const std::optional<double> value = parseNumber(attribute.value());
    if (!value) {
        // Never a stand-in such as 0: a number misread would move or shrink the item.
        throw HostError("Attribute " + std::string(attribute.name()) + " of <" + node.name() +
                        "> is not a finite number (\"" + attribute.value() + "\").");
    }
    return *value;
}

int intAttribute(pugi::xml_node node, const char* name, int fallback) {
    return intValue(node.attribute(name), node, fallback);
}

int intValue(pugi::xml_attribute attribute, pugi::xml_node node, int fallback) {
    if (!attribute) {
        return fallback;
    }
    const std::optional<int> value = parseInteger(attribute.value());
    if (!value) {
        throw HostError("Attribute " + std::string(attribute.name()) + " of <" + node.name() +
                        "> is not a whole number within range (\"" + attribute.value() + "\").");
    }
    return *value;
}

}  // namespace host::sla
