#pragma once

// A Scribus document file as read: the file, the text parsed from it in place
// and the XML parsed from that text; and writing the document back, every
// part not recorded as changed (SlaChanges.h) copied from the file byte for
// byte. Offsets are bytes of the text; lines are counted from 1.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "host/sla/file/ByteStream.h"
#include "host/sla/write/SlaChanges.h"

namespace host::sla {

namespace file {
class DocumentFile;
}

class SlaParsedFile {
public:
    explicit SlaParsedFile(std::filesystem::path path);
    ~SlaParsedFile();
    SlaParsedFile(const SlaParsedFile&) = delete;
    SlaParsedFile& operator=(const SlaParsedFile&) = delete;

    // Reads and parses the file. Throws HostError naming the file for text
    // that is no document, file::FileError for a file that cannot be read,
    // std::bad_alloc.
    void read();

    const std::filesystem::path& path() const { return m_path; }
    const pugi::xml_document& xml() const { return m_xml; }
    pugi::xml_node documentNode() const { return m_document; }  // DOCUMENT
    // The parse buffer, which the parsed names and values point into.
    const char* textBegin() const { return m_text.get(); }
    const char* textEnd() const { return m_text.get() + m_textSize; }
    // 1-based line of a byte offset in the text as read.
    int lineAt(std::ptrdiff_t offset) const;
    // Whether the file is gzip-compressed (then it is saved compressed too).
    bool compressed() const;

    // The document as text (uncompressed), written as `changes` says.
    void writeTo(const SlaChanges& changes, file::ByteSink& out) const;
    // Replaces the file (see file::DocumentFile::replace); throws HostError
    // and leaves the file as it was on failure.
    void save(const SlaChanges& changes);

private:
    std::filesystem::path m_path;
    std::unique_ptr<file::DocumentFile> m_file;
    std::unique_ptr<char[]> m_text;  // parsed in place: m_xml's strings point into it
    std::size_t m_textSize = 0;
    pugi::xml_document m_xml;
    pugi::xml_node m_document;
    bool m_hasBom = false;
};

}  // namespace host::sla
