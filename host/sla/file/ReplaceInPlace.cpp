// Rewriting a file in place keeps its inode: its hard links, owner, group,
// mode and extended attributes stay. It is done with care: the complete new
// text is already in a temporary file, the old version is copied to a named
// backup (checked against what was read, and flushed) before the first byte
// changes, the space is reserved, and the signals that end a program on
// request wait until the rewrite is flushed. A save stopped half-way by
// anything else leaves the backup, which the next run finds and names.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <memory>

#include "host/sla/file/Digest.h"
#include "host/sla/file/DocumentFile.h"
#include "host/sla/file/FileError.h"
#include "host/sla/file/Replace.h"

namespace host::sla::file {

namespace {

void syncFolderOf(const std::filesystem::path& file) {
    Descriptor fd(::open(folderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) {
        ::fsync(fd.get());
    }
}

// The old version of a file being rewritten, under a name a user finds. It
// is filled under a temporary name and named only when complete and
// flushed, so that a backup found is always whole; removed again unless kept.
class Backup {
public:
    // Beside `target`, or in the temporary folder where its folder refuses new files.
    Backup(const std::filesystem::path& target, const struct stat& info) {
        const std::string name = target.filename().string();
        m_path = backupBeside(target);
        m_filling = (folderOf(target) / ("." + name + kTemporaryMark + "XXXXXX")).string();
        m_fd = Descriptor(::mkstemp(m_filling.data()));
        if (!m_fd.valid() && (errno == EACCES || errno == EPERM || errno == EROFS)) {
            m_path = temporaryFolder() / (backupElsewherePrefix(info) + name);
            m_filling = (temporaryFolder() / ("quarvel-" + name + ".XXXXXX")).string();
            m_fd = Descriptor(::mkstemp(m_filling.data()));
        }
        if (!m_fd.valid()) {
            fail(errnoText("cannot keep a copy of the file while it is rewritten"));
        }
    }
    ~Backup() {
        if (!m_named) {
            ::unlink(m_filling.c_str());
        } else if (!m_keep) {
            remove();
        }
    }
    Backup(const Backup&) = delete;
    Backup& operator=(const Backup&) = delete;

    int fd() const { return m_fd.get(); }
    const std::filesystem::path& path() const { return m_path; }
    // Flushes the complete copy and gives it its name.
    void name() {
        if (::fsync(m_fd.get()) != 0) {
            fail(errnoText("cannot flush the copy of the file kept while it is rewritten"));
        }
        if (::link(m_filling.c_str(), m_path.c_str()) != 0) {
            fail(errnoText("cannot keep a copy of the file as \"" + m_path.string() + "\""));
        }
        m_named = true;
        ::unlink(m_filling.c_str());
        syncFolderOf(m_path);
    }
    void keep() { m_keep = true; }
    // The name goes; the descriptor stays open, for reading.
    void remove() {
        if (::unlink(m_path.c_str()) == 0) {
            syncFolderOf(m_path);
        }
        m_keep = true;
    }
    int release() { return m_fd.release(); }

private:
    std::filesystem::path m_path;
    std::string m_filling;
    Descriptor m_fd;
    bool m_named = false;
    bool m_keep = false;
};

// SIGINT, SIGTERM and SIGHUP are noted, not acted on, while this lives; one
// that came meanwhile is raised again at its end, as it would have acted.
// Handlers rather than a signal mask: any of the program's threads may take
// a signal sent to the process.
class SignalsHeld {
public:
    SignalsHeld() {
        struct sigaction noting {};
        noting.sa_handler = [](int signal) { s_pending[index(signal)] = 1; };
        sigemptyset(&noting.sa_mask);
        noting.sa_flags = SA_RESTART;
        for (int i = 0; i < kCount; ++i) {
            s_pending[i] = 0;
            ::sigaction(kSignals[i], &noting, &m_before[i]);
        }
    }
    ~SignalsHeld() {
        for (int i = 0; i < kCount; ++i) {
            ::sigaction(kSignals[i], &m_before[i], nullptr);
        }
        for (int i = 0; i < kCount; ++i) {
            if (s_pending[i] != 0) {
                ::raise(kSignals[i]);
            }
        }
    }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    static constexpr int kCount = 3;
    static constexpr int kSignals[kCount] = {SIGINT, SIGTERM, SIGHUP};
    static int index(int signal) { return signal == SIGINT ? 0 : signal == SIGTERM ? 1 : 2; }
    static inline volatile std::sig_atomic_t s_pending[kCount] = {};
    struct sigaction m_before[kCount] {};
};

bool rewrite(int to, int from, off_t size) {
    return copyContents(from, to, size) && ::ftruncate(to, size) == 0 && ::fsync(to) == 0;
}

// Whether `a` and `b` hold the same `size` bytes (and `a` no more).
bool sameContents(int a, int b, off_t size) {
    struct stat info {};
    if (::fstat(a, &info) != 0 || info.st_size != size) {
        return false;
    }
    const auto left = std::make_unique<char[]>(kDigestBlock);
    const auto right = std::make_unique<char[]>(kDigestBlock);
    for (off_t done = 0; done < size;) {
        const auto want = static_cast<std::size_t>(
            std::min<off_t>(size - done, static_cast<off_t>(kDigestBlock)));
        if (readFullyAt(a, left.get(), want, done) != static_cast<ssize_t>(want) ||
            readFullyAt(b, right.get(), want, done) != static_cast<ssize_t>(want) ||
            std::char_traits<char>::compare(left.get(), right.get(), want) != 0) {
            return false;
        }
        done += static_cast<off_t>(want);
    }
    return true;
}

// After a failed rewrite: the old version is put back, and the message says
// how that turned out, judged by the bytes the file holds then.
[[noreturn]] void failRewrite(int out, Backup& backup, Temporary& temporary, off_t oldSize) {
    const std::string problem = errnoText("it could not be rewritten in place");
    const bool putBack = rewrite(out, backup.fd(), oldSize);
    if (sameContents(out, backup.fd(), oldSize)) {
        if (putBack) {
            fail(problem + "; it was put back as it was");
        }
        // The same bytes, though the disk may not have them yet.
        backup.keep();
        fail(problem +
             "; it was put back as it was, but the disk reported an error, so its old "
             "version is also kept in \"" +
             backup.path().string() + "\"");
    }
    backup.keep();
    temporary.keep();
    fail(problem + ", nor put back as it was; its old version is in \"" + backup.path().string() +
         "\" and the complete new version in \"" + temporary.name() + "\"");
}

}  // namespace

void DocumentFile::replaceInPlace(const Target& target, Temporary& temporary) {
    Descriptor out(::open(target.path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat before {};
    struct stat written {};
    if (!out.valid() || ::fstat(out.get(), &before) != 0) {
        fail(errnoText("the file cannot be written"));
    }
    if (::fstat(temporary.fd(), &written) != 0) {
        fail(errnoText("cannot examine the temporary file"));
    }
    // Held first, ended last: a signal acts only once the backup is gone again.
    const SignalsHeld held;
    Backup backup(target.path, before);
    // The old version is copied from the file itself, checked on the way
    // against what was read or last saved.
    checkUnchanged(out.get(), backup.fd());
    backup.name();
    // The last look, just before: the name still leads to the file checked.
    struct stat named {};
    if (::stat(target.path.c_str(), &named) != 0 || named.st_ino != before.st_ino ||
        named.st_dev != before.st_dev) {
        fail("it was changed by another program since it was opened");
    }
    // Reserving the blocks first: a full disk then stops the save before any change.
    if (written.st_size > before.st_size &&
        ::fallocate(out.get(), FALLOC_FL_KEEP_SIZE, 0, written.st_size) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS) {
        fail(errnoText("there is no room for it on the disk"));
    }
    if (!rewrite(out.get(), temporary.fd(), written.st_size)) {
        failRewrite(out.get(), backup, temporary, before.st_size);
    }
    struct stat now {};
    if (::fstat(out.get(), &now) != 0) {
        fail(errnoText("cannot examine the file"));
    }
    m_identity = identityOf(now);
    backup.remove();
    // Unchanged parts of later saves are copied from the text as first read:
    // when that was this very file, the backup's bytes are it now.
    struct stat original {};
    if (::fstat(m_original, &original) == 0 && original.st_ino == before.st_ino &&
        original.st_dev == before.st_dev) {
        ::close(m_original);
        m_original = backup.release();
    }
}

}  // namespace host::sla::file
