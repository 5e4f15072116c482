#include "app/BatchReport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace app {

namespace {

// Cuts the decimal text `out`..`cut` there and adds one in its last place,
// carrying (9.99999 -> 10); returns the new end.
char* roundedUp(char* out, char* cut) {
    char* end = cut;
    for (std::ptrdiff_t at = cut - out - 1;; --at) {
        if (at < 0 || out[at] == '-') {  // one more digit in front
            std::memmove(out + at + 2, out + at + 1, static_cast<std::size_t>(end - out - at - 1));
            out[at + 1] = '1';
            return end + 1;
        }
        if (out[at] == '9') {
            out[at] = '0';
        } else if (out[at] != '.') {
            ++out[at];
            return end;
        }
    }
}

// Four decimals are far finer than print needs; trailing zeros go. Written
// into `out`, which must hold the largest double's 309 digits and more.
//
// printf's exact rounding is slow, and a table prints 65,470 rows of five.
// Below 2^33 a double lies within 1e-6 of its shortest text, so that text
// rounded to four decimals is the double rounded (a rounding boundary between
// the two would itself be a shorter or closer text of the double); only a
// text that ends exactly on a boundary (…5 in the fifth decimal) needs printf's way.
std::string_view tableNumber(double value, char* out, std::size_t size) {
    char* end = nullptr;
    char* cut = nullptr;
    if (std::abs(value) < 0x1p33) {
        end = std::to_chars(out, out + size, value, std::chars_format::fixed).ptr;
        cut = std::find(out, end, '.') + 5;  // the fifth decimal
    }
    if (!end || (cut < end && *cut == '5' && end - cut == 1)) {
        end = std::to_chars(out, out + size, value, std::chars_format::fixed, 4).ptr;
    } else if (cut < end) {
        end = *cut >= '5' ? roundedUp(out, cut) : cut;
    }
    std::string_view number(out, static_cast<std::size_t>(end - out));
    if (number.find('.') != std::string_view::npos) {
        number.remove_suffix(number.size() - 1 - number.find_last_not_of('0'));
        if (number.back() == '.') {
            number.remove_suffix(1);
        }
    }
    return number == "-0" ? std::string_view("0") : number;
}

// `text` right-aligned in `width` characters, as std::setw does.
void appendAligned(std::string& line, std::string_view text, std::size_t width) {
    if (text.size() < width) {
        line.append(width - text.size(), ' ');
    }
    line.append(text);
}

// The shortest text that reads back as the same double; JSON has no
// infinities or NaN, so those are null (the tool never holds one).
std::string jsonNumber(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

// A table of tens of thousands of rows: built as one text and written at once.
void printTable(std::ostream& out, const char* side, const std::vector<PageRow>& rows) {
    std::string text = std::string(side) + "\n";
    appendAligned(text, "page", 6);
    for (const char* column : {"top", "left", "bottom", "right", "angle"}) {
        appendAligned(text, column, 11);
    }
    text += '\n';
    text.reserve(text.size() + rows.size() * 64);
    char digits[400];
    for (const PageRow& row : rows) {
        const std::string page = std::to_string(row.page);
        appendAligned(text, page, 6);
        for (const double value : {row.top, row.left, row.bottom, row.right, row.angle}) {
            text += ' ';
            appendAligned(text, tableNumber(value, digits, sizeof digits), 10);
        }
        text += '\n';
    }
    out << text;
}

std::string jsonRows(const std::vector<PageRow>& rows) {
    std::string json = "[";
    for (const PageRow& row : rows) {
        json += (json.size() > 1 ? "," : "");
        json += "{\"page\":" + std::to_string(row.page) + ",\"top\":" + jsonNumber(row.top) +
                ",\"left\":" + jsonNumber(row.left) + ",\"bottom\":" + jsonNumber(row.bottom) +
                ",\"right\":" + jsonNumber(row.right) + ",\"angle\":" + jsonNumber(row.angle) + "}";
    }
    return json + "]";
}

std::string jsonObject(const SheetReport& report) {
    std::string json = "{\"file\":" + jsonString(report.file);
    if (!report.error.empty()) {
        return json + ",\"error\":" + jsonString(report.error) + "}";
    }
    json += ",\"page\":" + std::to_string(report.page) + ",\"direction\":\"" +
            directionName(report.direction) +
            "\",\"written\":" + (report.newPage ? "true" : "false") +
            ",\"newPage\":" + (report.newPage ? std::to_string(*report.newPage) : "null");
    return json + ",\"front\":" + jsonRows(report.front) + ",\"back\":" + jsonRows(report.back) +
           "}";
}

// The length of the UTF-8 sequence at `at`, or 0 when it is not a valid one
// (overlong forms, surrogates and code points past U+10FFFF included).
std::size_t utf8Length(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(at);
    std::size_t length = 0;
    unsigned lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    unsigned code = lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < lowest || code > 0x10FFFF || surrogate ? 0 : length;
}

}  // namespace

std::vector<PageRow> pageRows(const state::PageTable& table, int count) {
    using Column = state::PageTable::Column;
    std::vector<PageRow> rows;
    rows.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int index = 0; index < count; ++index) {
        const auto row = static_cast<std::size_t>(index);
        rows.push_back({table.number(row), table.at(row, Column::Top), table.at(row, Column::Left),
                        table.at(row, Column::Bottom), table.at(row, Column::Right),
                        table.at(row, Column::Angle)});
    }
    return rows;
}

void printText(std::ostream& out, const SheetReport& report) {
    if (!report.error.empty()) {
        return;
    }
    out << report.file << ": page " << report.page << " turned " << directionName(report.direction)
        << (report.newPage ? ", back side written as page " + std::to_string(*report.newPage)
                           : std::string(", dry run: nothing written"))
        << '\n';
    printTable(out, "front", report.front);
    printTable(out, "back", report.back);
}

void printJson(std::ostream& out, const std::vector<SheetReport>& reports) {
    out << '[';
    for (std::size_t i = 0; i < reports.size(); ++i) {
        out << (i == 0 ? "\n" : ",\n") << jsonObject(reports[i]);
    }
    out << (reports.empty() ? "]\n" : "\n]\n");
}

std::string errorLine(const std::optional<std::string>& file, const std::string& error) {
    if (!file || error.find('"' + *file + '"') != std::string::npos) {
        return error;
    }
    return *file + ": " + error;
}

std::string jsonString(const std::string& text) {
    std::string json = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte == '"' || byte == '\\') {
            json += '\\';
            json += static_cast<char>(byte);
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            json += escaped;
        } else if (byte < 0x80) {
            json += static_cast<char>(byte);
        } else if (const std::size_t length = utf8Length(text, at)) {
            json.append(text, at, length);
            at += length;
            continue;
        } else {
            json += "\\ufffd";
        }
        ++at;
    }
    return json + "\"";
}

}  // namespace app
