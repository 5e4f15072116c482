#include "host/sla/file/DocumentFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "host/sla/file/Digest.h"
#include "host/sla/file/FileError.h"
#include "host/sla/file/Gzip.h"
#include "host/sla/file/Posix.h"
#include "host/sla/file/Replace.h"

namespace host::sla::file {

namespace {

// Rounded up, so that a file just over the limit never reads as "1.0 GiB".
std::string sizeText(long long bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f GiB",
                  std::ceil(static_cast<double>(bytes) / (1 << 30) * 10) / 10);
    return text;
}

// Refuses what is not a regular file of a size that can be read, without reading from it.
void checkKind(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) {
        fail("it is a folder, not a file");
    }
    if (S_ISFIFO(info.st_mode)) {
        fail("it is a named pipe (FIFO), not a file");
    }
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) {
        fail("it is a device, not a file");
    }
    if (S_ISSOCK(info.st_mode)) {
        fail("it is a socket, not a file");
    }
    if (!S_ISREG(info.st_mode)) {
        fail("it is not a regular file");
    }
    if (static_cast<unsigned long long>(info.st_size) > kMaxDocumentBytes) {
        fail("it is " + sizeText(info.st_size) +
             ", larger than 1 GiB, the largest document that can be opened");
    }
}

[[noreturn]] void failMissing(const std::filesystem::path& path, int error) {
    std::error_code ignored;
    if (error == ENOENT &&
        std::filesystem::is_symlink(std::filesystem::symlink_status(path, ignored))) {
        fail("it is a link to \"" + std::filesystem::read_symlink(path, ignored).string() +
             "\", which does not exist");
    }
    if (error == ENOENT) {
        fail("the file does not exist");
    }
    fail(errnoText("the file cannot be read", error));
}

// Reads the whole file in one sized read. Asking for one byte more than its
// size shows a file that grew meanwhile (or claims a size it does not have).
FileText readWhole(int fd, const struct stat& info) {
    const auto size = static_cast<std::size_t>(info.st_size);
    FileText text;
    try {
        text.data.reset(new char[size + 1]);
    } catch (const std::bad_alloc&) {
        fail("there is not enough memory to read it (" + sizeText(info.st_size) + ")");
    }
    const ssize_t got = readFully(fd, text.data.get(), size + 1);
    if (got < 0) {
        fail(errnoText("the file cannot be read"));
    }
    if (static_cast<std::size_t>(got) != size) {
        fail("it changed while it was read");
    }
    text.size = size;
    text.data[size] = '\0';
    return text;
}

// The file as first read, again, a digest block at a time: each block is
// checked before any of its bytes is handed on, so that what another program
// changed meanwhile never reaches a save.
class FileSource : public ByteSource {
public:
    FileSource(int fd, const Digest& digest)
        : m_fd(fd), m_digest(digest), m_block(std::make_unique<char[]>(kDigestBlock)) {}
    std::size_t read(char* into, std::size_t size) override {
        if (m_used == m_filled && !load()) {
            return 0;
        }
        const std::size_t count = std::min(size, m_filled - m_used);
        std::memcpy(into, m_block.get() + m_used, count);
        m_used += count;
        return count;
    }

private:
    bool load() {
        if (m_offset == m_digest.size) {
            return false;
        }
        const auto want = static_cast<std::size_t>(
            std::min<long long>(m_digest.size - m_offset, static_cast<long long>(kDigestBlock)));
        const ssize_t got = readFullyAt(m_fd, m_block.get(), want, static_cast<off_t>(m_offset));
        if (got < 0) {
            fail(errnoText("the file cannot be read again"));
        }
        const std::size_t index = static_cast<std::size_t>(m_offset) / kDigestBlock;
        if (static_cast<std::size_t>(got) != want ||
            blockDigest(m_block.get(), want) != m_digest.blocks[index]) {
            fail("it was changed by another program since it was opened");
        }
        m_offset += static_cast<long long>(want);
        m_used = 0;
        m_filled = want;
        return true;
    }

    int m_fd;
    const Digest& m_digest;
    std::unique_ptr<char[]> m_block;
    long long m_offset = 0;
    std::size_t m_used = 0;
    std::size_t m_filled = 0;
};

}  // namespace

DocumentFile::~DocumentFile() {
    if (m_original >= 0) {
        ::close(m_original);
    }
}

DocumentFile::Identity DocumentFile::identityOf(const struct stat& info) {
    return {static_cast<unsigned long long>(info.st_dev),
            static_cast<unsigned long long>(info.st_ino), static_cast<long long>(info.st_size),
            static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec};
}

std::unique_ptr<DocumentFile> DocumentFile::open(const std::filesystem::path& path, FileText& text,
                                                 const HeadCheck& checkHead) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        failMissing(path, errno);
    }
    checkKind(info);
    // Not waiting: should a pipe have taken the file's place meanwhile, opening
    // it must not wait for a writer. The descriptor is checked again below.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.valid()) {
        fail(errnoText("the file cannot be read"));
    }
    if (::fstat(fd.get(), &info) != 0) {
        fail(errnoText("the file cannot be examined"));
    }
    checkKind(info);
    refuseLeftovers(path, info);
    FileText raw = readWhole(fd.get(), info);
    struct stat after {};
    if (::fstat(fd.get(), &after) != 0) {
        fail(errnoText("the file cannot be examined"));
    }
    std::unique_ptr<DocumentFile> file(new DocumentFile());
    file->m_path = path;
    file->m_identity = identityOf(after);
    if (file->m_identity.size != static_cast<long long>(raw.size) ||
        file->m_identity.modifiedNs != identityOf(info).modifiedNs) {
        fail("it changed while it was read");
    }
    file->m_asRead = std::make_unique<Digest>(digestOf(raw.data.get(), raw.size));
    file->m_onDisk = std::make_unique<Digest>(*file->m_asRead);
    file->m_compressed = looksCompressed(raw.data.get(), raw.size);
    if (file->m_compressed) {
        try {
            text = inflateText(raw.data.get(), raw.size, kMaxDocumentBytes, checkHead);
        } catch (const std::bad_alloc&) {
            fail("there is not enough memory to uncompress it");
        }
    } else {
        text = std::move(raw);
    }
    file->m_textSize = text.size;
    file->m_original = fd.release();
    return file;
}

std::unique_ptr<ByteSource> DocumentFile::readAgain() const {
    auto source = std::make_unique<FileSource>(m_original, *m_asRead);
    if (m_compressed) {
        return std::make_unique<GzipSource>(std::move(source));
    }
    return source;
}

}  // namespace host::sla::file
