#pragma once

// The text a document was parsed from, read again from the file from its first
// byte to its last, node by node: saving copies unchanged nodes from it. It
// keeps the elements open at the current position, so that it can find the
// end tag of an element whose children were partly skipped.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "host/sla/file/ByteStream.h"

namespace host::sla {

// A start tag as written: the whole text and where its attributes are.
struct StartTag {
    struct Attribute {
        std::size_t begin;  // of the white space before the name
        std::size_t nameBegin;
        std::size_t nameEnd;
        std::size_t valueBegin;  // after the opening quote
        std::size_t valueEnd;    // at the closing quote
    };
    std::string text;
    std::vector<Attribute> attributes;
    std::size_t tail = 0;  // start of what follows the last attribute: white space, "/>" or ">"
    bool empty = false;    // written as <NAME .../>
};

class SlaOriginalText {
public:
    explicit SlaOriginalText(file::ByteSource& source);

    std::size_t position() const { return m_position; }
    // Passes over `count` bytes without looking at them (a byte order mark).
    void skipBytes(std::size_t count);
    // Passes over whole nodes until `offset`; false when `offset` lies behind
    // the position or inside a node.
    bool skipTo(std::size_t offset);
    // Whether the position holds the start tag of an element named `name`.
    bool atElement(std::string_view name);
    // Copies the node at the position, with all it holds, to `out`.
    void copyNode(file::ByteSink& out);
    // Reads the start tag at the position (atElement() holds).
    StartTag readStartTag();
    // Passes over what is left of the element that starts at `begin` and
    // copies its end tag to `out`; false when that element is not open here.
    bool copyEndTag(std::size_t begin, file::ByteSink& out);

private:
    enum class Unit { Text, StartTag, EmptyTag, EndTag, Other, End };

    Unit passUnit(file::ByteSink* out, std::string* keep = nullptr);
    void passStartTag(file::ByteSink* out, std::string* keep, bool& empty);
    void passDeclaration(file::ByteSink* out, std::string* keep);
    // Byte at position + ahead, or -1 past the end.
    int peek(std::size_t ahead);
    bool startsWith(std::string_view text);
    void take(std::size_t count, file::ByteSink* out, std::string* keep);
    // Up to and including `terminator`, or to the end.
    void takeThrough(std::string_view terminator, file::ByteSink* out, std::string* keep);
    // Up to the first byte that is one of `stops` (not included), or to the end.
    void takeUntilAny(std::string_view stops, file::ByteSink* out, std::string* keep);
    bool fill(std::size_t wanted);

    file::ByteSource& m_source;
    std::vector<char> m_window;
    std::size_t m_start = 0;  // first unread byte in m_window
    std::size_t m_end = 0;    // end of the bytes in m_window
    bool m_sourceEnded = false;
    std::size_t m_position = 0;       // in the whole text
    std::vector<std::size_t> m_open;  // starts of the elements open at the position
};

}  // namespace host::sla
