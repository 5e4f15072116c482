#pragma once

// The attributes the load checks read as numbers, per element, shared by the
// full check (SlaCheck.cpp) and the one pass over a document (SlaScan.cpp).
// Those the tool needs must hold a finite number; one it can do without may
// also be empty, as Scribus reads it. Attributes read as ints must be whole
// and within int's range: a value outside it would make the conversion
// undefined, and a fraction would mean a different page or type.

#include <cstdint>
#include <cstring>

#include "host/sla/read/SlaNumbers.h"

namespace host::sla::rules {

enum class Need {
    Always,
    InGroup,  // read for a group's members only (to ungroup them)
    OnGroup,  // read for groups only
    Never,
};
struct Rule {
    const char* name;
    bool whole;
    Need need;
};
inline constexpr Rule kDocumentRules[] = {{"PAGEWIDTH", false, Need::Always},
                                          {"PAGEHEIGHT", false, Need::Always},
                                          {"ScratchLeft", false, Need::Always},
                                          {"ScratchTop", false, Need::Always},
                                          {"ScratchRight", false, Need::Never},
                                          {"ScratchBottom", false, Need::Never},
                                          {"GapHorizontal", false, Need::Always},
                                          {"GapVertical", false, Need::Always},
                                          {"BOOK", true, Need::Always}};
// Scribus reads NUM as the place in the page list where the page goes.
inline constexpr Rule kPageRules[] = {{"PAGEXPOS", false, Need::Never},
                                      {"PAGEYPOS", false, Need::Never},
                                      {"PAGEWIDTH", false, Need::Always},
                                      {"PAGEHEIGHT", false, Need::Always},
                                      {"NUM", true, Need::Always}};
// The one pass reads an item's place from the first seven, by their index.
inline constexpr Rule kItemRules[] = {
    {"XPOS", false, Need::Always},         {"YPOS", false, Need::Always},
    {"WIDTH", false, Need::Always},        {"HEIGHT", false, Need::Always},
    {"ROT", false, Need::Always},          {"PTYPE", true, Need::Always},
    {"OwnPage", true, Need::Always},       {"ItemID", true, Need::Always},
    {"gXpos", false, Need::InGroup},       {"gYpos", false, Need::InGroup},
    {"PWIDTH", false, Need::InGroup},      {"groupWidth", false, Need::OnGroup},
    {"groupHeight", false, Need::OnGroup}, {"FRTYPE", true, Need::Always},
    {"NEXTITEM", true, Need::Always},      {"BACKITEM", true, Need::Always}};
inline constexpr Rule kSetRules[] = {{"FirstPage", true, Need::Always},
                                     {"Columns", true, Need::Always}};

// Where an item stands, for the rules that depend on it.
struct Place {
    bool member = false;
    bool group = false;
};

// Whether `value` passes `rule` for an item standing at `place`.
inline bool usable(const Rule& rule, const char* value, Place place = {}) {
    const bool mayBeEmpty = rule.need == Need::Never ||
                            (rule.need == Need::InGroup && !place.member) ||
                            (rule.need == Need::OnGroup && !place.group);
    return (mayBeEmpty && *value == '\0') ||
           (rule.whole ? parseInteger(value).has_value() : parseNumber(value).has_value());
}

// A cheap key of a name: its length and first two letters. Names with equal
// keys still have to be compared whole.
inline std::uint32_t nameKey(const char* name, std::size_t length) {
    const auto letter = [&](std::size_t i) {
        return i < length ? static_cast<std::uint32_t>(static_cast<unsigned char>(name[i])) : 0U;
    };
    return (static_cast<std::uint32_t>(length) << 16U) | (letter(0) << 8U) | letter(1);
}
inline std::uint32_t nameKey(const char* name) {
    return nameKey(name, std::strlen(name));
}

// Whether two names are the same; inline, as names are a few letters and
// are compared hundreds of thousands of times per document.
inline bool sameName(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

}  // namespace host::sla::rules
