// Reading a document from its file and writing it back (the file itself is
// file::DocumentFile's business).

#include "host/sla/write/SlaParsedFile.h"

#include <algorithm>
#include <new>

#include "host/HostError.h"
#include "host/sla/file/DocumentFile.h"
#include "host/sla/file/FileError.h"
#include "host/sla/read/SlaFormat.h"
#include "host/sla/write/SlaWriter.h"

namespace host::sla {

SlaParsedFile::SlaParsedFile(std::filesystem::path path) : m_path(std::move(path)) {}
SlaParsedFile::~SlaParsedFile() = default;

void SlaParsedFile::read() {
    const auto fail = [this](const std::string& reason) {
        throw HostError("Cannot open \"" + m_path.string() + "\": " + reason + ".");
    };
    file::FileText text;
    // A compressed document of an older Scribus is refused on sight of its
    // root element, before the rest is uncompressed.
    m_file = file::DocumentFile::open(m_path, text, [](std::string_view head) {
        if (const std::string problem = olderFormatInHead(head); !problem.empty()) {
            throw file::FileError(problem);
        }
    });
    m_text = std::move(text.data);
    m_textSize = text.size;
    const std::string_view view(m_text.get(), m_textSize);
    if (const std::string problem = encodingProblem(view); !problem.empty()) {
        fail(problem);
    }
    m_hasBom = view.rfind("\xEF\xBB\xBF", 0) == 0;
    // In place, with the closing zero: the file's text is not held twice.
    const pugi::xml_parse_result parsed =
        m_xml.load_buffer_inplace(m_text.get(), m_textSize + 1, kParseFlags, pugi::encoding_utf8);
    if (parsed.status == pugi::status_out_of_memory) {
        throw std::bad_alloc();
    }
    if (!parsed) {
        fail(std::string("it is not well-formed XML (") + parsed.description() + " on line " +
             std::to_string(lineAt(parsed.offset)) + ")");
    }
    m_document = m_xml.document_element().child("DOCUMENT");
}

int SlaParsedFile::lineAt(std::ptrdiff_t offset) const {
    // Parsing in place overwrote some bytes of the text: count in the file.
    const std::unique_ptr<file::ByteSource> text = m_file->readAgain();
    char buffer[65536];
    int line = 1;
    for (std::ptrdiff_t left = offset; left > 0;) {
        const std::size_t got = text->read(
            buffer, static_cast<std::size_t>(std::min<std::ptrdiff_t>(left, sizeof buffer)));
        if (got == 0) {
            break;
        }
        line += static_cast<int>(std::count(buffer, buffer + got, '\n'));
        left -= static_cast<std::ptrdiff_t>(got);
    }
    return line;
}

bool SlaParsedFile::compressed() const {
    return m_file->compressed();
}

void SlaParsedFile::writeTo(const SlaChanges& changes, file::ByteSink& out) const {
    // Unchanged parts come from the file as it was read: the parse buffer has
    // been altered by parsing in place.
    const std::unique_ptr<file::ByteSource> original = m_file->readAgain();
    writeDocument(m_xml, changes, m_hasBom, *original, out);
}

void SlaParsedFile::save(const SlaChanges& changes) {
    const auto fail = [this](const std::string& reason) {
        throw HostError("Cannot save \"" + m_path.string() + "\": " + reason + ".");
    };
    try {
        m_file->replace([&](file::ByteSink& out) { writeTo(changes, out); });
    } catch (const file::FileError& error) {
        fail(error.what());
    } catch (const std::bad_alloc&) {
        fail("there is not enough memory");
    }
}

}  // namespace host::sla
