// Which files are Scribus documents of the format this adapter reads: the
// format of Scribus 1.5, which Scribus 1.6 continues. Scribus 1.2 wrote
// <SCRIBUSUTF8>, older ones <SCRIBUS>; 1.3 and 1.4 wrote <SCRIBUSUTF8NEW> in
// a format of their own. Scribus 1.5 and later open all of those.

#include "host/sla/read/SlaFormat.h"

#include <charconv>
#include <string>

#include "host/sla/read/SlaCheck.h"

namespace host::sla {

namespace {

// "1.6.3" → 1 and 6; false unless the text starts with two numbers and a dot between.
bool seriesOf(const std::string& version, int& major, int& minor) {
    const char* end = version.data() + version.size();
    const auto first = std::from_chars(version.data(), end, major);
    if (first.ec != std::errc() || first.ptr == end || *first.ptr != '.') {
        return false;
    }
    return std::from_chars(first.ptr + 1, end, minor).ec == std::errc();
}

std::string olderScribus(const std::string& savedBy) {
    return "it was saved by " + savedBy +
           ", whose format this tool does not read; open it in Scribus 1.5 or later and save it "
           "again to make it usable here";
}

}  // namespace

std::string encodingProblem(std::string_view text) {
    const auto startsWith = [text](std::string_view prefix) {
        return text.substr(0, prefix.size()) == prefix;
    };
    using namespace std::string_view_literals;
    if (startsWith("\xFF\xFE\0\0"sv) || startsWith("\0\0\xFE\xFF"sv)) {
        return "it is stored as UTF-32 text, which Scribus does not open either (Scribus "
               "documents are UTF-8)";
    }
    if (startsWith("\xFF\xFE"sv) || startsWith("\xFE\xFF"sv) || startsWith("<\0"sv) ||
        startsWith("\0<"sv)) {
        return "it is stored as UTF-16 text, which Scribus does not open either (Scribus "
               "documents are UTF-8)";
    }
    if (const std::size_t zero = text.find('\0'); zero != std::string_view::npos) {
        return "it is not a text file (it holds a zero byte on line " +
               std::to_string(lineAt(text, static_cast<std::ptrdiff_t>(zero))) + ")";
    }
    return {};
}

std::string formatProblem(pugi::xml_node root) {
    const std::string name = root.name();
    const std::string version = root.attribute("Version").value();
    if (name == "SCRIBUSUTF8" || name == "SCRIBUS") {
        return olderScribus(version.empty() ? "Scribus 1.2 or older" : "Scribus " + version);
    }
    if (name != "SCRIBUSUTF8NEW") {
        return "it is not a Scribus document (its root element is <" + name + ">)";
    }
    int major = 0;
    int minor = 0;
    if (!seriesOf(version, major, minor) || major < 1 || minor < 0) {
        return "it does not say which Scribus saved it (version \"" + version + "\")";
    }
    if (major == 1 && minor <= 4) {
        return olderScribus("Scribus " + version);
    }
    if (major > 1 || minor > 6) {
        return "it was saved by Scribus " + version +
               ", which is newer than this tool: it reads documents of Scribus 1.5 and 1.6";
    }
    return {};
}

namespace {

// `text` from `at` on past what comes before the root element: white space,
// the XML declaration, comments and processing instructions; npos when
// something else (a document type, say) or the end comes first.
std::size_t rootStart(std::string_view text, std::size_t at) {
    while (at < text.size()) {
        const char c = text[at];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++at;
        } else if (text.substr(at, 2) == "<?") {
            at = text.find("?>", at);
            at = at == std::string_view::npos ? at : at + 2;
        } else if (text.substr(at, 4) == "<!--") {
            at = text.find("-->", at);
            at = at == std::string_view::npos ? at : at + 3;
        } else {
            return c == '<' && text.substr(at, 2) != "<!" ? at : std::string_view::npos;
        }
    }
    return std::string_view::npos;
}

// The value of attribute `name` in start tag `tag`, when plainly written.
bool attributeIn(std::string_view tag, std::string_view name, std::string& value) {
    for (std::size_t at = tag.find(name); at != std::string_view::npos;
         at = tag.find(name, at + 1)) {
        const char before = tag[at - 1];
        const std::size_t quote = at + name.size() + 1;
        if ((before != ' ' && before != '\t' && before != '\r' && before != '\n') ||
            tag.substr(at + name.size(), 1) != "=" || quote >= tag.size() ||
            (tag[quote] != '"' && tag[quote] != '\'')) {
            continue;
        }
        const std::size_t end = tag.find(tag[quote], quote + 1);
        if (end == std::string_view::npos) {
            return false;
        }
        value = std::string(tag.substr(quote + 1, end - quote - 1));
        return value.find('&') == std::string::npos;
    }
    value.clear();
    return true;
}

}  // namespace

std::string olderFormatInHead(std::string_view head) {
    const std::size_t start = rootStart(head, head.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0);
    const std::size_t end = start == std::string_view::npos ? start : head.find('>', start);
    if (end == std::string_view::npos) {
        return {};
    }
    const std::string_view tag = head.substr(start + 1, end - start - 1);
    const std::size_t nameEnd = std::min(tag.find_first_of(" \t\r\n/"), tag.size());
    const std::string_view name = tag.substr(0, nameEnd);
    std::string version;
    if ((name != "SCRIBUSUTF8NEW" && name != "SCRIBUSUTF8" && name != "SCRIBUS") ||
        !attributeIn(tag, "Version", version)) {
        return {};
    }
    if (name != "SCRIBUSUTF8NEW") {
        return olderScribus(version.empty() ? "Scribus 1.2 or older" : "Scribus " + version);
    }
    int major = 0;
    int minor = 0;
    if (seriesOf(version, major, minor) && major == 1 && minor >= 0 && minor <= 4) {
        return olderScribus("Scribus " + version);
    }
    return {};
}

}  // namespace host::sla
