// Saving: the new text goes to a complete temporary file first, flushed to
// disk, which then takes the file's place by an atomic rename. Where a rename
// would split hard links, give the file to another owner, or is not allowed
// in the folder, the file is rewritten in place instead (ReplaceInPlace.cpp).

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "host/sla/file/Digest.h"
#include "host/sla/file/DocumentFile.h"
#include "host/sla/file/FileError.h"
#include "host/sla/file/Gzip.h"
#include "host/sla/file/Processes.h"
#include "host/sla/file/Replace.h"

namespace host::sla::file {

namespace {

// Collects writes into large blocks for the descriptor, and their digest.
class DescriptorSink : public ByteSink {
public:
    explicit DescriptorSink(int fd) : m_fd(fd), m_buffer(std::size_t{1} << 18) {}
    Digest finish() {
        flush();
        return m_digest.finish();
    }
    using ByteSink::write;
    void write(const char* data, std::size_t size) override {
        if (m_used + size > m_buffer.size()) {
            flush();
        }
        if (size >= m_buffer.size()) {
            put(data, size);
            return;
        }
        std::copy(data, data + size, m_buffer.data() + m_used);
        m_used += size;
    }
    void flush() {
        put(m_buffer.data(), m_used);
        m_used = 0;
    }

private:
    void put(const char* data, std::size_t size) {
        if (!writeAll(m_fd, data, size)) {
            fail(errnoText("cannot write the temporary file"));
        }
        m_digest.add(data, size);
    }
    int m_fd;
    DigestBuilder m_digest;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
};

void syncFolder(const std::filesystem::path& folder) {
    Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) {
        ::fsync(fd.get());  // makes the rename durable; the file itself is already complete
    }
}

}  // namespace

std::filesystem::path folderOf(const std::filesystem::path& target) {
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

std::filesystem::path temporaryFolder() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : folder;
}

Temporary Temporary::besideTarget(const std::filesystem::path& target) {
    std::string name = ".";
    name += target.filename().string();
    name += kTemporaryMark;
    name += "XXXXXX";
    Temporary temporary;
    temporary.m_name = (folderOf(target) / name).string();
    temporary.m_fd = Descriptor(::mkstemp(temporary.m_name.data()));
    temporary.m_beside = true;
    if (!temporary.created() && errno != EACCES && errno != EPERM) {
        fail(errnoText("cannot create a temporary file in its folder"));
    }
    return temporary;
}

Temporary Temporary::inTemporaryFolder(const std::filesystem::path& target) {
    const std::filesystem::path folder = temporaryFolder();
    std::string name = "quarvel-";
    name += target.filename().string();
    name += ".XXXXXX";
    Temporary temporary;
    temporary.m_name = (folder / name).string();
    temporary.m_fd = Descriptor(::mkstemp(temporary.m_name.data()));
    if (!temporary.created()) {
        fail(errnoText("cannot create a temporary file in " + folder.string()));
    }
    return temporary;
}

Temporary::Temporary(Temporary&& other) noexcept
    : m_fd(std::move(other.m_fd)),
      m_name(std::move(other.m_name)),
      m_beside(other.m_beside),
      m_keep(other.m_keep) {
    other.m_keep = true;
}

Temporary& Temporary::operator=(Temporary&& other) noexcept {
    if (this != &other) {
        discard();
        m_fd = std::move(other.m_fd);
        m_name = std::move(other.m_name);
        m_beside = other.m_beside;
        m_keep = other.m_keep;
        other.m_keep = true;
    }
    return *this;
}

Temporary::~Temporary() {
    discard();
}

void Temporary::discard() {
    m_fd.close();
    if (!m_keep && !m_name.empty()) {
        ::unlink(m_name.c_str());
    }
}

bool DocumentFile::sameIdentity(const struct stat& info) const {
    const Identity now = identityOf(info);
    return now.device == m_identity.device && now.inode == m_identity.inode &&
           now.size == m_identity.size && now.modifiedNs == m_identity.modifiedNs;
}

void DocumentFile::checkUnchanged(int fd, int copyTo) const {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        fail(errnoText("cannot examine the file"));
    }
    if (!sameIdentity(info) || !S_ISREG(info.st_mode) || !matches(fd, *m_onDisk, copyTo)) {
        fail("it was changed by another program since it was opened");
    }
    refuseWriters(info);
}

void DocumentFile::refuseWriters(const struct stat& info) {
    // What another process writes after a rename would go to the old file, lost.
    for (const Holder& holder : holdersOf(info.st_dev, info.st_ino, info.st_uid).list) {
        if (holder.writing) {
            fail(describe(holder) +
                 " has it open for writing; close it there and run Quarvel again");
        }
    }
}

DocumentFile::Target DocumentFile::checkTarget() const {
    std::error_code error;
    // Save through a link to the file it names, keeping the link.
    const bool link = std::filesystem::is_symlink(m_path, error);
    Target target{link ? std::filesystem::canonical(m_path, error) : m_path, {}};
    if (link && error) {
        fail("it is a link to \"" + std::filesystem::read_symlink(m_path, error).string() +
             "\", which does not exist any more");
    }
    if (::stat(target.path.c_str(), &target.info) != 0) {
        fail(errnoText("the file is gone"));
    }
    if (!sameIdentity(target.info)) {
        fail("it was changed by another program since it was opened");
    }
    if (::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0) {
        if (errno == EROFS) {
            fail("it is on a read-only file system");
        }
        if (errno == EACCES || errno == EPERM) {
            fail("the file is read-only; make it writable and run Quarvel again");
        }
        fail(errnoText("the file cannot be written"));
    }
    return target;
}

void DocumentFile::writeNew(int fd, const std::function<void(ByteSink&)>& write,
                            Digest& written) const {
    DescriptorSink sink(fd);
    if (m_compressed) {
        GzipSink compressed(sink);
        write(compressed);
        compressed.finish();
    } else {
        write(sink);
    }
    written = sink.finish();
}

void DocumentFile::replace(const std::function<void(ByteSink&)>& write) {
    const Target target = checkTarget();
    refuseWriters(target.info);  // before anything is written
    Temporary temporary = Temporary::besideTarget(target.path);
    if (!temporary.created()) {
        temporary = Temporary::inTemporaryFolder(target.path);  // a folder the user may not write
    }
    Digest digest;
    writeNew(temporary.fd(), write, digest);
    if (::fchmod(temporary.fd(), target.info.st_mode & 07777) != 0) {
        fail(errnoText("cannot set the file mode"));
    }
    // Only a privileged user may give a file away; a file that is someone
    // else's is rewritten in place rather than taken over.
    const bool ownerKept = ::fchown(temporary.fd(), target.info.st_uid, target.info.st_gid) == 0;
    if (!ownerKept && errno != EPERM) {
        fail(errnoText("cannot keep the file's owner and group"));
    }
    if (::fsync(temporary.fd()) != 0) {
        fail(errnoText("cannot flush the temporary file"));
    }
    struct stat written {};
    if (::fstat(temporary.fd(), &written) != 0) {
        fail(errnoText("cannot examine the temporary file"));
    }
    if (temporary.beside() && ownerKept && target.info.st_nlink == 1) {
        if (commitByRename(target, temporary)) {
            m_identity = identityOf(written);
            *m_onDisk = std::move(digest);
            return;
        }
    }
    replaceInPlace(target, temporary);
    *m_onDisk = std::move(digest);
}

bool DocumentFile::commitByRename(const Target& target, Temporary& temporary) {
    {
        Descriptor current(
            ::open(target.path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
        if (!current.valid()) {
            fail("it was changed by another program since it was opened");
        }
        checkUnchanged(current.get());
    }
    // The last look, just before: the name still leads to the file checked.
    struct stat now {};
    if (::stat(target.path.c_str(), &now) != 0 || !sameIdentity(now)) {
        fail("it was changed by another program since it was opened");
    }
    // Kept open until renamed: a file no process holds is a stale one to
    // a later run, which removes it.
    if (::rename(temporary.name().c_str(), target.path.c_str()) == 0) {
        temporary.keep();
        temporary.close();  // flushed already: nothing of it can be lost now
        syncFolder(folderOf(target.path));
        return true;
    }
    if (errno != EPERM && errno != EACCES) {
        fail(errnoText("cannot replace the file"));
    }
    // A folder that lets us add files but not replace this one (sticky, for instance).
    return false;
}

}  // namespace host::sla::file
