#include <new>

#include "host/HostError.h"
#include "host/sla/SlaDocument.h"
#include "host/sla/SlaWriter.h"
#include "host/sla/file/DocumentFile.h"
#include "host/sla/file/FileError.h"

namespace host::sla {

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
