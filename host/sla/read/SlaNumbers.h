#pragma once

// Numbers as .sla files store them: '.' decimal point, up to 15 significant
// digits, never an exponent.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace host::sla {

// The whole text as a finite number, or nothing (empty, trailing text, NaN, infinity, overflow).
std::optional<double> parseNumber(std::string_view text);

// Shortest plain decimal of at most 15 significant digits (17 where 15 would
// round past the largest number), never an exponent;
// magnitudes below 1e-9 become "0". parseNumber() reads it back as the value
// those digits spell. Throws HostError for infinity and NaN, which no
// document may hold.
std::string formatNumber(double value);

// The same text, made without allocating: writes go through here, thousands
// of numbers per copied page.
class NumberText {
public:
    explicit NumberText(double value);
    std::string_view view() const { return {m_text, m_size}; }

private:
    // The longest text: a sign, 17 digits and 292 zeros of the largest number.
    static constexpr std::size_t kCapacity = 320;
    char m_text[kCapacity];
    std::size_t m_size = 0;
};

// The whole text as a whole number within int's range ("3", "3.0", "-1"), or nothing.
std::optional<int> parseInteger(std::string_view text);

// The attribute's value, or `fallback` when it is absent or empty (the load
// checks let only attributes the tool can do without be empty). Throws
// HostError naming the attribute when it holds text that is not a finite number.
double numberAttribute(pugi::xml_node node, const char* name, double fallback = 0.0);

// The same for an attribute already found (null when absent) on `node`.
double numberValue(pugi::xml_attribute attribute, pugi::xml_node node, double fallback = 0.0);

// The attribute's value as an int, or `fallback` when it is absent. Throws
// HostError naming the attribute when it is not a whole number within range
// (load checks refuse such files, so only a bad edit can get here).
int intAttribute(pugi::xml_node node, const char* name, int fallback);
int intValue(pugi::xml_attribute attribute, pugi::xml_node node, int fallback);

}  // namespace host::sla
