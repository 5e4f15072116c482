#include "bench/floor/FloorFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <stdexcept>
#include <string>

namespace floors {

namespace {

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path) {
    throw std::runtime_error(what + " " + path.string());
}

// Writes what pugixml hands over straight to the file descriptor.
class FdWriter : public pugi::xml_writer {
public:
    explicit FdWriter(int fd) : m_fd(fd) {}
    void write(const void* data, size_t size) override {
        const char* bytes = static_cast<const char*>(data);
        while (size > 0 && m_ok) {
            const ssize_t done = ::write(m_fd, bytes, size);
            m_ok = done > 0;
            bytes += done > 0 ? done : 0;
            size -= done > 0 ? static_cast<size_t>(done) : 0;
        }
    }
    bool ok() const { return m_ok; }

private:
    int m_fd;
    bool m_ok = true;
};

long long now(clockid_t clock) {
    timespec time{};
    clock_gettime(clock, &time);
    return static_cast<long long>(time.tv_sec) * 1'000'000'000LL + time.tv_nsec;
}

}  // namespace

void readAndParse(const std::filesystem::path& path, ParsedFile& parsed) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        fail("cannot open", path);
    }
    const auto size = static_cast<size_t>(info.st_size);
    parsed.text.reset(new char[size + 1]);
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, parsed.text.get() + got, size - got);
        if (n <= 0) {
            ::close(fd);
            fail("cannot read", path);
        }
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    parsed.text[size] = '\0';
    if (!parsed.xml.load_buffer_inplace(parsed.text.get(), size + 1, pugi::parse_default,
                                        pugi::encoding_utf8)) {
        fail("cannot parse", path);
    }
}

void saveSynced(const pugi::xml_document& xml, const std::filesystem::path& path) {
    const std::filesystem::path fresh = path.string() + ".new";
    const int fd = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        fail("cannot create", fresh);
    }
    FdWriter writer(fd);
    xml.save(writer, " ", pugi::format_raw, pugi::encoding_utf8);
    const bool synced = writer.ok() && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !synced || ::rename(fresh.c_str(), path.c_str()) != 0) {
        fail("cannot write", fresh);
    }
}

long long monotonicNs() {
    return now(CLOCK_MONOTONIC);
}

long long threadCpuNs() {
    return now(CLOCK_THREAD_CPUTIME_ID);
}

}  // namespace floors
