// Rewriting a file in place keeps its inode: its hard links, owner, group,
// mode and extended attributes stay. It is done with care: the complete new
// text is already in a temporary file, the space is reserved before the first
// byte changes, and a copy of the file as it was is kept to put back should
// the rewrite fail half-way.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "host/sla/file/DocumentFile.h"
#include "host/sla/file/FileError.h"
#include "host/sla/file/Replace.h"

namespace host::sla::file {

namespace {

[[noreturn]] void fail(const std::string& reason) {
    throw FileError(reason);
}

// An unnamed file in the system's temporary folder: it disappears with its
// descriptor, even if the tool does not end normally.
Descriptor anonymousFile(const std::filesystem::path& target) {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error) {
        folder = "/tmp";
    }
    Descriptor fd(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (fd.valid()) {
        return fd;
    }
    Temporary named = Temporary::inTemporaryFolder(target);  // where O_TMPFILE is not offered
    Descriptor reopened(::open(named.name().c_str(), O_RDWR | O_CLOEXEC));
    return reopened;
}

bool rewrite(int to, int from, off_t size) {
    return copyContents(from, to, size) && ::ftruncate(to, size) == 0 && ::fsync(to) == 0;
}

}  // namespace

void Temporary::reopen() {
    m_fd = Descriptor(::open(m_name.c_str(), O_RDONLY | O_CLOEXEC));
    if (!m_fd.valid()) {
        fail(errnoText("cannot read the temporary file again"));
    }
}

void DocumentFile::replaceInPlace(const Target& target, Temporary& temporary) {
    Descriptor out(::open(target.path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY));
    struct stat before {};
    struct stat written {};
    if (!out.valid() || ::fstat(out.get(), &before) != 0) {
        fail(errnoText("the file cannot be written"));
    }
    if (static_cast<unsigned long long>(before.st_ino) != m_identity.inode ||
        static_cast<unsigned long long>(before.st_dev) != m_identity.device ||
        !S_ISREG(before.st_mode)) {
        fail("it was changed by another program since it was opened");
    }
    if (::fstat(temporary.fd(), &written) != 0) {
        fail(errnoText("cannot examine the temporary file"));
    }
    Descriptor backup = anonymousFile(target.path);
    if (!backup.valid() || !copyContents(out.get(), backup.get(), before.st_size)) {
        fail(errnoText("cannot keep a copy of the file while it is rewritten"));
    }
    // Reserving the blocks first: a full disk then stops the save before any change.
    if (written.st_size > before.st_size &&
        ::fallocate(out.get(), FALLOC_FL_KEEP_SIZE, 0, written.st_size) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS) {
        fail(errnoText("there is no room for it on the disk"));
    }
    if (!rewrite(out.get(), temporary.fd(), written.st_size)) {
        const std::string problem = errnoText("it could not be rewritten in place");
        if (rewrite(out.get(), backup.get(), before.st_size)) {
            fail(problem + "; it was put back as it was");
        }
        temporary.keep();
        fail(problem + ", nor put back as it was; the complete new version is in \"" +
             temporary.name() + "\"");
    }
    struct stat now {};
    if (::fstat(out.get(), &now) != 0) {
        fail(errnoText("cannot examine the file"));
    }
    m_identity = identityOf(now);
    // Unchanged parts of later saves are copied from the text as first read:
    // when that was this very file, the copy holds it now.
    struct stat original {};
    if (::fstat(m_original, &original) == 0 && original.st_ino == before.st_ino &&
        original.st_dev == before.st_dev) {
        ::close(m_original);
        m_original = backup.release();
    }
}

}  // namespace host::sla::file
