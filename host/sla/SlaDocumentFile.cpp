// Reading a document from its file and writing it back (the file itself is
// file::DocumentFile's business).

#include <algorithm>
#include <new>

#include "host/HostError.h"
#include "host/sla/SlaDocument.h"
#include "host/sla/file/DocumentFile.h"
#include "host/sla/file/FileError.h"
#include "host/sla/read/SlaCheck.h"
#include "host/sla/read/SlaFormat.h"
#include "host/sla/read/SlaItemShape.h"
#include "host/sla/read/SlaScan.h"
#include "host/sla/write/SlaWriter.h"

namespace host::sla {

namespace {

[[noreturn]] void fail(const std::filesystem::path& path, const std::string& reason) {
    throw HostError("Cannot open \"" + path.string() + "\": " + reason + ".");
}

}  // namespace

SlaDocument::SlaDocument() = default;
SlaDocument::~SlaDocument() = default;

std::shared_ptr<SlaDocument> SlaDocument::load(const std::filesystem::path& path) {
    std::shared_ptr<SlaDocument> document(new SlaDocument());
    document->m_path = path;
    try {
        document->read();
    } catch (const file::FileError& error) {
        fail(path, error.what());
    } catch (const std::bad_alloc&) {
        fail(path, "there is not enough memory to open it");
    }
    return document;
}

void SlaDocument::read() {
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
        fail(m_path, problem);
    }
    m_hasBom = view.rfind("\xEF\xBB\xBF", 0) == 0;
    // In place, with the closing zero: the file's text is not held twice.
    const pugi::xml_parse_result parsed =
        m_xml.load_buffer_inplace(m_text.get(), m_textSize + 1, kParseFlags, pugi::encoding_utf8);
    if (parsed.status == pugi::status_out_of_memory) {
        throw std::bad_alloc();
    }
    if (!parsed) {
        fail(m_path, std::string("it is not well-formed XML (") + parsed.description() +
                         " on line " + std::to_string(lineAt(parsed.offset)) + ")");
    }
    m_changes = std::make_unique<SlaChanges>(m_text.get(), m_textSize);
    m_document = m_xml.document_element().child("DOCUMENT");
    check();
}

void SlaDocument::check() {
    // One walk checks the document and collects its identities and its items'
    // places; a problem found is then named by the full checks.
    auto identities = std::make_unique<SlaIdentities>();
    identities->start(m_text.get(), m_text.get() + m_textSize);
    std::vector<ScannedItem> items;
    const DocumentScan scan = scanDocument(m_xml, [&](const ScannedElement& element) {
        identities->add(element.name, element.id, element.mark ? element.label : nullptr);
        if (element.item) {
            items.push_back({element.node, shapeOf(element.place)});
        }
    });
    if (!scan.sound) {
        const std::string problem =
            documentProblem(m_xml, [this](std::ptrdiff_t offset) { return lineAt(offset); });
        if (!problem.empty()) {
            fail(m_path, problem);
        }
        return;  // the index and the identities are then made on their own, as later
    }
    m_sections = scan.sections;
    identities->finish(section("Marks"), section("Notes"));
    m_identities = std::move(identities);
    m_scannedItems = std::move(items);
}

int SlaDocument::lineAt(std::ptrdiff_t offset) const {
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

bool SlaDocument::compressed() const {
    return m_file->compressed();
}

std::string SlaDocument::serialize() const {
    file::StringSink out;
    writeTo(out);
    return std::move(out.text());
}

void SlaDocument::writeTo(file::ByteSink& out) const {
    // Unchanged parts come from the file as it was read: the parse buffer has
    // been altered by parsing in place.
    const std::unique_ptr<file::ByteSource> original = m_file->readAgain();
    writeDocument(m_xml, *m_changes, m_hasBom, *original, out);
}

void SlaDocument::save() {
    const auto fail = [this](const std::string& reason) {
        throw HostError("Cannot save \"" + m_path.string() + "\": " + reason + ".");
    };
    try {
        m_file->replace([this](file::ByteSink& out) { writeTo(out); });
    } catch (const file::FileError& error) {
        fail(error.what());
    } catch (const std::bad_alloc&) {
        fail("there is not enough memory");
    }
    // What was changed stays recorded: a later save again copies the rest
    // from the text as first read.
    m_changed = false;
}

}  // namespace host::sla
