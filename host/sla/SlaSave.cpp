#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>

#include "host/HostError.h"
#include "host/sla/SlaDocument.h"

namespace host::sla {

namespace {

[[noreturn]] void fail(const std::filesystem::path& path, const std::string& reason) {
    throw HostError("Cannot save \"" + path.string() + "\": " + reason + ".");
}

std::string errnoText(const char* what) {
    return std::string(what) + " (" + std::strerror(errno) + ")";
}

bool writeAll(int fd, const char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = ::write(fd, data + done, size - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

// Hands the text to the file piece by piece as it is made, so that a large
// document is never held a second time, as text, in memory.
class FileWriter : public pugi::xml_writer {
public:
    explicit FileWriter(int fd) : m_fd(fd) {}
    void write(const void* data, std::size_t size) override {
        m_ok = m_ok && writeAll(m_fd, static_cast<const char*>(data), size);
    }
    bool ok() const { return m_ok; }

private:
    int m_fd;
    bool m_ok = true;
};

// Writes `document` to a new temporary file beside `target` with the mode, owner
// and group of `original`; returns its path and fills `written` from its descriptor.
std::string writeTemporary(const std::filesystem::path& target, const SlaDocument& document,
                           const struct stat& original, struct stat& written) {
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    // Appended piece by piece: GCC 12 at -O3 misreads "." + std::string as an
    // overlapping copy (-Wrestrict), which breaks Release builds with -Werror.
    std::string hidden = ".";
    hidden += target.filename().string();
    hidden += ".XXXXXX";
    std::string name = (folder / hidden).string();
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        fail(target, errnoText("cannot create a temporary file in its folder"));
    }
    std::string problem;
    FileWriter writer(fd);
    document.serializeTo(writer);
    if (!writer.ok()) {
        problem = errnoText("cannot write the temporary file");
    } else if (::fchmod(fd, original.st_mode & 07777) != 0) {
        problem = errnoText("cannot set the file mode");
    } else if (::fchown(fd, original.st_uid, original.st_gid) != 0 && errno != EPERM) {
        // Only a privileged user may give a file away; anyone else keeps the file as theirs.
        problem = errnoText("cannot keep the file's owner and group");
    } else if (::fsync(fd) != 0) {
        problem = errnoText("cannot flush the temporary file");
    } else if (::fstat(fd, &written) != 0) {
        problem = errnoText("cannot examine the temporary file");
    }
    if (::close(fd) != 0 && problem.empty()) {
        problem = errnoText("cannot close the temporary file");
    }
    if (!problem.empty()) {
        ::unlink(name.c_str());
        fail(target, problem);
    }
    return name;
}

void syncFolder(const std::filesystem::path& target) {
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);  // makes the rename durable; the file itself is already complete
        ::close(fd);
    }
}

}  // namespace

std::string SlaDocument::serialize() const {
    std::ostringstream out;
    pugi::xml_writer_stream writer(out);
    serializeTo(writer);
    return out.str();
}

void SlaDocument::serializeTo(pugi::xml_writer& writer) const {
    unsigned flags = pugi::format_raw | pugi::format_no_declaration;
    if (m_hasBom) {
        flags |= pugi::format_write_bom;
    }
    m_xml.save(writer, "", flags, pugi::encoding_utf8);
}

void SlaDocument::recordDiskState(const struct stat& info) {
    m_diskState.size = static_cast<long long>(info.st_size);
    m_diskState.modifiedNs =
        static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
}

void SlaDocument::save() {
    std::error_code error;
    // Save through a link to the file it names, keeping the link.
    const bool link = std::filesystem::is_symlink(m_path, error);
    const std::filesystem::path target = link ? std::filesystem::canonical(m_path, error) : m_path;
    if (link && error) {
        fail(m_path, "it is a link to \"" + std::filesystem::read_symlink(m_path, error).string() +
                         "\", which does not exist any more");
    }
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        fail(m_path, errnoText("the file is gone"));
    }
    const long long modifiedNs =
        static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    if (static_cast<long long>(info.st_size) != m_diskState.size ||
        modifiedNs != m_diskState.modifiedNs) {
        fail(m_path, "it was changed by another program since it was opened");
    }
    struct stat written {};
    const std::string temporary = writeTemporary(target, *this, info, written);
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const std::string problem = errnoText("cannot replace the file");
        ::unlink(temporary.c_str());
        fail(m_path, problem);
    }
    syncFolder(target);
    m_changed = false;
    recordDiskState(written);
}

}  // namespace host::sla
