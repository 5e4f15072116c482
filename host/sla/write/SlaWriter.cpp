#include "host/sla/write/SlaWriter.h"

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "host/sla/write/SlaOriginalText.h"

namespace host::sla {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kNotRead = static_cast<std::size_t>(-1);

// The value pugixml reads from `raw`, an attribute value as written between `quote`s.
bool readsAs(std::string_view raw, char quote, const char* value) {
    if (raw.find('&') == std::string_view::npos) {
        return raw == value;  // nothing to decode: the bytes are the value
    }
    std::string element = "<a v=";
    element += quote;
    element += raw;
    element += quote;
    element += "/>";
    pugi::xml_document parsed;
    return parsed.load_buffer(element.data(), element.size(), kParseFlags, pugi::encoding_utf8) &&
           std::strcmp(parsed.first_child().attribute("v").value(), value) == 0;
}

pugi::xml_attribute attributeNamed(pugi::xml_node element, std::string_view name) {
    for (pugi::xml_attribute attribute : element.attributes()) {
        if (name == attribute.name()) {
            return attribute;
        }
    }
    return {};
}

class Writer {
public:
    Writer(const SlaChanges& changes, file::ByteSource& original, file::ByteSink& out)
        : m_changes(changes), m_text(original), m_out(out) {}

    void writeDocument(const pugi::xml_document& xml, bool byteOrderMark) {
        if (byteOrderMark) {
            m_out.write(kByteOrderMark.data(), kByteOrderMark.size());
            m_text.skipBytes(kByteOrderMark.size());
        }
        writeChildren(xml);
    }

private:
    void writeChildren(pugi::xml_node parent) {
        for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
            writeNode(child);
        }
    }

    void writeNode(pugi::xml_node node) {
        const std::optional<std::size_t> begin = m_changes.begin(node);
        // A node moved before text already written is written anew.
        const bool found = begin && m_text.skipTo(*begin) &&
                           (node.type() != pugi::node_element || m_text.atElement(node.name()));
        if (found && m_changes.asRead(node)) {
            m_text.copyNode(m_out);
        } else if (node.type() == pugi::node_element) {
            writeElement(node, found ? *begin : kNotRead);
        } else {
            writeNew(node);
        }
    }

    // `begin` is where the element starts in the text, at the text's position, or kNotRead.
    void writeElement(pugi::xml_node element, std::size_t begin) {
        const bool hasChildren = static_cast<bool>(element.first_child());
        bool openInText = false;
        if (begin != kNotRead) {
            const StartTag tag = m_text.readStartTag();
            writeStartTag(element, tag, hasChildren);
            openInText = !tag.empty;
        } else {
            m_out.write("<");
            m_out.write(element.name(), std::strlen(element.name()));
            for (pugi::xml_attribute attribute : element.attributes()) {
                writeAttribute(attribute);
            }
            m_out.write(hasChildren ? ">" : "/>");
        }
        if (!hasChildren && !openInText) {
            return;
        }
        writeChildren(element);
        if (!openInText || !m_text.copyEndTag(begin, m_out)) {
            m_out.write("</");
            m_out.write(element.name(), std::strlen(element.name()));
            m_out.write(">");
        }
    }

    // The tag as written, but for the attributes whose value changed, those
    // added, and "/>" turned into ">" when the element gained children.
    void writeStartTag(pugi::xml_node element, const StartTag& tag, bool hasChildren) {
        const std::string_view text = tag.text;
        const bool attributesAsRead = m_changes.attributesAsRead(element);
        const bool opens = tag.empty && hasChildren;
        if (attributesAsRead && !opens) {
            m_out.write(tag.text);
            return;
        }
        const std::size_t first = tag.attributes.empty() ? tag.tail : tag.attributes[0].begin;
        put(text.substr(0, first));
        if (!attributesAsRead) {
            writeAttributes(element, tag);
        } else {
            put(text.substr(first, tag.tail - first));
        }
        const std::string_view tail = text.substr(tag.tail);
        if (opens) {
            put(tail.substr(0, tail.size() - 2));  // white space before "/>"
            m_out.write(">");
        } else {
            put(tail);
        }
    }

    void writeAttributes(pugi::xml_node element, const StartTag& tag) {
        const std::string_view text = tag.text;
        for (const StartTag::Attribute& written : tag.attributes) {
            const pugi::xml_attribute now = attributeNamed(
                element, text.substr(written.nameBegin, written.nameEnd - written.nameBegin));
            if (!now) {
                continue;
            }
            const char quote = text[written.valueBegin - 1];
            const std::string_view raw =
                text.substr(written.valueBegin, written.valueEnd - written.valueBegin);
            if (readsAs(raw, quote, now.value())) {
                put(text.substr(written.begin, written.valueEnd + 1 - written.begin));
            } else {
                put(text.substr(written.begin, written.valueBegin - written.begin));
                writeEscaped(now.value(), quote);
                m_out.write(&quote, 1);
            }
        }
        for (pugi::xml_attribute attribute : element.attributes()) {
            bool wasWritten = false;
            for (const StartTag::Attribute& written : tag.attributes) {
                wasWritten = wasWritten ||
                             text.substr(written.nameBegin, written.nameEnd - written.nameBegin) ==
                                 attribute.name();
            }
            if (!wasWritten) {
                writeAttribute(attribute);
            }
        }
    }

    void writeAttribute(pugi::xml_attribute attribute) {
        m_out.write(" ");
        m_out.write(attribute.name(), std::strlen(attribute.name()));
        m_out.write("=\"");
        writeEscaped(attribute.value(), '"');
        m_out.write("\"");
    }

    // As Scribus escapes: markup characters and the quote, and in attribute
    // values tabs and line ends as character references.
    void writeEscaped(const char* value, char quote) {
        const char* run = value;
        for (const char* c = value; *c != '\0'; ++c) {
            const char* replacement = nullptr;
            switch (*c) {
                case '&':
                    replacement = "&amp;";
                    break;
                case '<':
                    replacement = "&lt;";
                    break;
                case '>':
                    replacement = "&gt;";
                    break;
                case '"':
                    replacement = quote == '"' ? "&quot;" : nullptr;
                    break;
                case '\'':
                    replacement = quote == '\'' ? "&apos;" : nullptr;
                    break;
                case '\t':
                    replacement = quote != 0 ? "&#9;" : nullptr;
                    break;
                case '\n':
                    replacement = quote != 0 ? "&#10;" : nullptr;
                    break;
                case '\r':
                    replacement = quote != 0 ? "&#13;" : nullptr;
                    break;
                default:
                    break;
            }
            if (replacement != nullptr) {
                m_out.write(run, static_cast<std::size_t>(c - run));
                m_out.write(replacement, std::strlen(replacement));
                run = c + 1;
            }
        }
        m_out.write(run, std::strlen(run));
    }

    void writeNew(pugi::xml_node node) {
        const auto text = [this](const char* value) { m_out.write(value, std::strlen(value)); };
        switch (node.type()) {
            case pugi::node_pcdata:
                writeEscaped(node.value(), 0);
                break;
            case pugi::node_cdata:
                text("<![CDATA[");
                text(node.value());
                text("]]>");
                break;
            case pugi::node_comment:
                text("<!--");
                text(node.value());
                text("-->");
                break;
            case pugi::node_pi:
            case pugi::node_declaration:
                text("<?");
                text(node.name());
                for (pugi::xml_attribute attribute : node.attributes()) {
                    writeAttribute(attribute);
                }
                if (*node.value() != '\0') {
                    text(" ");
                    text(node.value());
                }
                text("?>");
                break;
            case pugi::node_doctype:
                text("<!DOCTYPE ");
                text(node.value());
                text(">");
                break;
            default:
                break;
        }
    }

    void put(std::string_view text) { m_out.write(text.data(), text.size()); }

    const SlaChanges& m_changes;
    SlaOriginalText m_text;
    file::ByteSink& m_out;
};

}  // namespace

void writeDocument(const pugi::xml_document& xml, const SlaChanges& changes, bool byteOrderMark,
                   file::ByteSource& original, file::ByteSink& out) {
    Writer(changes, original, out).writeDocument(xml, byteOrderMark);
}

}  // namespace host::sla
