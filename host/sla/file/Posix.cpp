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

namespace {

// Moves `size` bytes by repeated calls of `transfer(done)`, a read or write of
// the rest from `done` on, until all moved or a call moves none; an
// interrupted call is made again. The count moved, or -1 (errno set).
template <class Transfer>
ssize_t transferFully(std::size_t size, Transfer transfer) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t moved = transfer(done);
        if (moved < 0 && errno == EINTR) {
            continue;
        }
        if (moved < 0) {
            return -1;
        }
        if (moved == 0) {
            break;
        }
        done += static_cast<std::size_t>(moved);
    }
    return static_cast<ssize_t>(done);
}

// The same for a write: whether all `size` bytes moved; one that stopped short is EIO.
template <class Transfer>
bool writeFully(std::size_t size, Transfer transfer) {
    const ssize_t wrote = transferFully(size, transfer);
    if (wrote >= 0 && static_cast<std::size_t>(wrote) != size) {
        errno = EIO;
        return false;
    }
    return wrote >= 0;
}

}  // namespace

ssize_t readFully(int fd, char* into, std::size_t size) {
    return transferFully(size,
                         [&](std::size_t done) { return ::read(fd, into + done, size - done); });
}

ssize_t readFullyAt(int fd, char* into, std::size_t size, off_t offset) {
    return transferFully(size, [&](std::size_t done) {
        return ::pread(fd, into + done, size - done, offset + static_cast<off_t>(done));
    });
}

bool writeAll(int fd, const char* data, std::size_t size) {
    return writeFully(size,
                      [&](std::size_t done) { return ::write(fd, data + done, size - done); });
}

bool writeAllAt(int fd, const char* data, std::size_t size, off_t offset) {
    return writeFully(size, [&](std::size_t done) {
        return ::pwrite(fd, data + done, size - done, offset + static_cast<off_t>(done));
    });
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
        if (!writeAllAt(to, buffer.data(), want, done)) {
            return false;
        }
        done += static_cast<off_t>(want);
    }
    return true;
}

}  // namespace host::sla::file
