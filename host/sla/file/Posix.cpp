#include "host/sla/file/Posix.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace host::sla::file {

Descriptor::~Descriptor() {
    close();
}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        close();
        m_fd = other.release();
    }
    return *this;
}

int Descriptor::release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

bool Descriptor::close() {
    if (m_fd < 0) {
        return true;
    }
    // Linux releases the descriptor even when close fails: never retry it.
    const int result = ::close(m_fd);
    m_fd = -1;
    return result == 0;
}

std::string errnoText(const std::string& what, int error) {
    return what + " (" + std::strerror(error) + ")";
}

std::string errnoText(const std::string& what) {
    return errnoText(what, errno);
}

ssize_t readFully(int fd, char* into, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, into + done, size - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

ssize_t readFullyAt(int fd, char* into, std::size_t size, off_t offset) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got =
            ::pread(fd, into + done, size - done, offset + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

bool writeAll(int fd, const char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = ::write(fd, data + done, size - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            if (wrote == 0) {
                errno = EIO;
            }
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

bool copyContents(int from, int to, off_t size) {
    std::vector<char> buffer(std::size_t{1} << 18);
    off_t done = 0;
    while (done < size) {
        const std::size_t want = static_cast<std::size_t>(
            std::min<off_t>(size - done, static_cast<off_t>(buffer.size())));
        const ssize_t got = readFullyAt(from, buffer.data(), want, done);
        if (got < 0) {
            return false;
        }
        if (static_cast<std::size_t>(got) != want) {
            errno = EIO;  // the source is shorter than it was a moment ago
            return false;
        }
        const ssize_t wrote = ::pwrite(to, buffer.data(), want, done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            if (wrote == 0) {
                errno = EIO;
            }
            return false;
        }
        done += wrote;
    }
    return true;
}

}  // namespace host::sla::file
