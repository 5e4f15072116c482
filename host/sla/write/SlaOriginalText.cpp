#include "host/sla/write/SlaOriginalText.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace host::sla {

namespace {

constexpr std::size_t kWindow = std::size_t{1} << 18;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

SlaOriginalText::SlaOriginalText(file::ByteSource& source) : m_source(source), m_window(kWindow) {}

bool SlaOriginalText::fill(std::size_t wanted) {
    while (m_end - m_start < wanted && !m_sourceEnded) {
        if (m_start > 0) {
            std::memmove(m_window.data(), m_window.data() + m_start, m_end - m_start);
            m_end -= m_start;
            m_start = 0;
        }
        const std::size_t got = m_source.read(m_window.data() + m_end, m_window.size() - m_end);
        m_sourceEnded = got == 0;
        m_end += got;
    }
    return m_end - m_start >= wanted;
}

int SlaOriginalText::peek(std::size_t ahead) {
    if (!fill(ahead + 1)) {
        return -1;
    }
    return static_cast<unsigned char>(m_window[m_start + ahead]);
}

bool SlaOriginalText::startsWith(std::string_view text) {
    return fill(text.size()) &&
           std::memcmp(m_window.data() + m_start, text.data(), text.size()) == 0;
}

void SlaOriginalText::take(std::size_t count, file::ByteSink* out, std::string* keep) {
    while (count > 0) {
        if (!fill(1)) {
            throw std::logic_error("the document's text ended inside a node");
        }
        const std::size_t part = std::min(count, m_end - m_start);
        const char* data = m_window.data() + m_start;
        if (out != nullptr) {
            out->write(data, part);
        }
        if (keep != nullptr) {
            keep->append(data, part);
        }
        m_start += part;
        m_position += part;
        count -= part;
    }
}

void SlaOriginalText::skipBytes(std::size_t count) {
    take(count, nullptr, nullptr);
}

void SlaOriginalText::takeUntilAny(std::string_view stops, file::ByteSink* out, std::string* keep) {
    while (fill(1)) {
        const char* first = m_window.data() + m_start;
        const char* last = m_window.data() + m_end;
        const char* found = stops.size() == 1
                                ? static_cast<const char*>(std::memchr(
                                      first, stops[0], static_cast<std::size_t>(last - first)))
                                : std::find_first_of(first, last, stops.begin(), stops.end());
        if (found == nullptr) {
            found = last;
        }
        take(static_cast<std::size_t>(found - first), out, keep);
        if (found != last) {
            return;
        }
    }
}

void SlaOriginalText::takeThrough(std::string_view terminator, file::ByteSink* out,
                                  std::string* keep) {
    for (;;) {
        takeUntilAny(terminator.substr(0, 1), out, keep);
        if (!fill(1)) {
            return;
        }
        if (startsWith(terminator)) {
            take(terminator.size(), out, keep);
            return;
        }
        take(1, out, keep);
    }
}

void SlaOriginalText::passStartTag(file::ByteSink* out, std::string* keep, bool& empty) {
    // One pass over the bytes of the window at a time: most of a document is
    // start tags, and most of a start tag is quoted values.
    char quote = 0;
    char previous = 0;
    std::size_t from = 1;  // past the '<'
    for (;;) {
        if (!fill(from + 1)) {
            throw std::logic_error("the document's text ended inside a start tag");
        }
        const char* data = m_window.data() + m_start;
        const std::size_t size = m_end - m_start;
        std::size_t i = from;
        for (; i < size; ++i) {
            if (quote != 0) {
                const void* close = std::memchr(data + i, quote, size - i);
                if (close == nullptr) {
                    i = size;
                    break;
                }
                i = static_cast<std::size_t>(static_cast<const char*>(close) - data);
                previous = quote;
                quote = 0;
                continue;
            }
            const char c = data[i];
            if (c == '>') {
                empty = previous == '/';
                take(i + 1, out, keep);
                return;
            }
            if (c == '"' || c == '\'') {
                quote = c;
            }
            previous = c;
        }
        take(i, out, keep);
        from = 0;
    }
}

void SlaOriginalText::passDeclaration(file::ByteSink* out, std::string* keep) {
    take(2, out, keep);  // "<!"
    int depth = 0;
    for (;;) {
        takeUntilAny("\"'[]<>", out, keep);
        const int c = peek(0);
        if (c < 0) {
            return;
        }
        if (c == '"' || c == '\'') {
            take(1, out, keep);
            takeThrough(std::string_view(c == '"' ? "\"" : "'"), out, keep);
        } else if (c == '<' && startsWith("<!--")) {
            takeThrough("-->", out, keep);
        } else {
            take(1, out, keep);
            depth += c == '[' ? 1 : c == ']' ? -1 : 0;
            if (c == '>' && depth <= 0) {
                return;
            }
        }
    }
}

SlaOriginalText::Unit SlaOriginalText::passUnit(file::ByteSink* out, std::string* keep) {
    const int c = peek(0);
    if (c < 0) {
        return Unit::End;
    }
    if (c != '<') {
        takeUntilAny("<", out, keep);
        return Unit::Text;
    }
    const int d = peek(1);
    if (d == '/') {
        takeThrough(">", out, keep);
        if (!m_open.empty()) {
            m_open.pop_back();
        }
        return Unit::EndTag;
    }
    if (d == '?') {
        takeThrough("?>", out, keep);
        return Unit::Other;
    }
    if (d == '!') {
        if (startsWith("<!--")) {
            take(4, out, keep);
            takeThrough("-->", out, keep);
        } else if (startsWith("<![CDATA[")) {
            take(9, out, keep);
            takeThrough("]]>", out, keep);
        } else {
            passDeclaration(out, keep);
        }
        return Unit::Other;
    }
    const std::size_t begin = m_position;
    bool empty = false;
    passStartTag(out, keep, empty);
    if (empty) {
        return Unit::EmptyTag;
    }
    m_open.push_back(begin);
    return Unit::StartTag;
}

bool SlaOriginalText::skipTo(std::size_t offset) {
    while (m_position < offset) {
        if (passUnit(nullptr) == Unit::End) {
            return false;
        }
    }
    return m_position == offset;
}

bool SlaOriginalText::atElement(std::string_view name) {
    if (!fill(name.size() + 2) || m_window[m_start] != '<' ||
        std::memcmp(m_window.data() + m_start + 1, name.data(), name.size()) != 0) {
        return false;
    }
    const char after = m_window[m_start + 1 + name.size()];
    return isSpace(after) || after == '/' || after == '>';
}

void SlaOriginalText::copyNode(file::ByteSink& out) {
    if (passUnit(&out) != Unit::StartTag) {
        return;
    }
    const std::size_t depth = m_open.size();
    while (m_open.size() >= depth) {
        if (passUnit(&out) == Unit::End) {
            throw std::logic_error("the document's text ended inside an element");
        }
    }
}

StartTag SlaOriginalText::readStartTag() {
    StartTag tag;
    const std::size_t begin = m_position;
    passStartTag(nullptr, &tag.text, tag.empty);
    if (!tag.empty) {
        m_open.push_back(begin);
    }
    const std::string& text = tag.text;
    std::size_t i = 1;
    while (i < text.size() && !isSpace(text[i]) && text[i] != '/' && text[i] != '>') {
        ++i;
    }
    for (;;) {
        const std::size_t before = i;
        while (i < text.size() && isSpace(text[i])) {
            ++i;
        }
        if (i >= text.size() || text[i] == '/' || text[i] == '>') {
            tag.tail = before;
            return tag;
        }
        StartTag::Attribute attribute{before, i, 0, 0, 0};
        while (i < text.size() && text[i] != '=' && !isSpace(text[i])) {
            ++i;
        }
        attribute.nameEnd = i;
        i = text.find_first_of("\"'", i);
        if (i == std::string::npos) {
            throw std::logic_error("a start tag of the document's text has no closing quote");
        }
        attribute.valueBegin = i + 1;
        attribute.valueEnd = text.find(text[i], i + 1);
        if (attribute.valueEnd == std::string::npos) {
            throw std::logic_error("a start tag of the document's text has no closing quote");
        }
        i = attribute.valueEnd + 1;
        tag.attributes.push_back(attribute);
    }
}

bool SlaOriginalText::copyEndTag(std::size_t begin, file::ByteSink& out) {
    if (std::find(m_open.begin(), m_open.end(), begin) == m_open.end()) {
        return false;
    }
    for (;;) {
        if (m_open.back() == begin && startsWith("</")) {
            passUnit(&out);
            return true;
        }
        if (passUnit(nullptr) == Unit::End) {
            return false;
        }
    }
}

}  // namespace host::sla
