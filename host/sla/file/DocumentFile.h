#pragma once

// A document file as opened: its text, read once, and what it takes to read
// that text again and to replace the file later. Only regular files are
// opened; gzip files (recognised by their content) are uncompressed on
// reading and compressed again on saving.

#include <filesystem>
#include <functional>
#include <memory>

#include "host/sla/file/ByteStream.h"
#include "host/sla/file/FileText.h"

struct stat;

namespace host::sla::file {

class Temporary;
struct Digest;

class DocumentFile {
public:
    ~DocumentFile();
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;

    // Opens `path` (following links) and reads its text. Refuses, with a
    // FileError, anything but a regular file of at most kMaxDocumentBytes,
    // before reading from it, and a file beside which a save that did not
    // finish left the old version. `checkHead` sees the start of a
    // compressed file's text before the rest is uncompressed.
    static std::unique_ptr<DocumentFile> open(const std::filesystem::path& path, FileText& text,
                                              const HeadCheck& checkHead = {});

    const std::filesystem::path& path() const { return m_path; }
    bool compressed() const { return m_compressed; }

    // The text exactly as open() gave it, read again from its first byte;
    // reading throws FileError should the bytes differ from those first read.
    std::unique_ptr<ByteSource> readAgain() const;

    // Replaces the file's contents with what `write` writes (compressed when
    // the file was), keeping its links, mode, owner and group. Refuses when
    // the file is no longer exactly as read or last saved, or another
    // process has it open for writing. Throws FileError; the file is then as
    // it was, unless the message names where its old version was kept.
    void replace(const std::function<void(ByteSink&)>& write);

private:
    struct Identity {
        unsigned long long device = 0;
        unsigned long long inode = 0;
        long long size = -1;
        long long modifiedNs = -1;
    };
    struct Target;

    DocumentFile() = default;
    static Identity identityOf(const struct ::stat& info);
    Target checkTarget() const;
    bool sameIdentity(const struct ::stat& info) const;
    void checkUnchanged(int fd, int copyTo = -1) const;
    void writeNew(int fd, const std::function<void(ByteSink&)>& write, Digest& written) const;
    static void refuseWriters(const struct ::stat& info);
    bool commitByRename(const Target& target, Temporary& temporary);
    void replaceInPlace(const Target& target, Temporary& temporary);

    std::filesystem::path m_path;
    bool m_compressed = false;
    std::size_t m_textSize = 0;        // uncompressed
    Identity m_identity;               // of the file on disk, when read or last saved
    std::unique_ptr<Digest> m_onDisk;  // its contents then
    // The file as it was read, kept open: saving copies unchanged parts from
    // it, each checked against the digest of what was first read.
    int m_original = -1;
    std::unique_ptr<Digest> m_asRead;
};

}  // namespace host::sla::file
