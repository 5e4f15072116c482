#pragma once

// Small POSIX helpers for this folder: an owned file descriptor and reads and
// writes that retry after interruptions and partial transfers.

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace host::sla::file {

// Owns a file descriptor; closes it when destroyed.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor();
    Descriptor(Descriptor&& other) noexcept : m_fd(other.release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release();
    // Closes now; false (errno set) when the close reports an error.
    bool close();

private:
    int m_fd = -1;
};

// `what` followed by the system's reason for errno `error`, in parentheses.
std::string errnoText(const std::string& what, int error);
// The same for the current errno.
std::string errnoText(const std::string& what);

// Reads until `size` bytes or the end; returns the count, or -1 (errno set).
ssize_t readFully(int fd, char* into, std::size_t size);
// The same from `offset` on, leaving the file position alone.
ssize_t readFullyAt(int fd, char* into, std::size_t size, off_t offset);
// Writes all of `data`; false (errno set) on failure.
bool writeAll(int fd, const char* data, std::size_t size);
// Writes all of `data` at `offset`, leaving the file position alone; false (errno set) on failure.
bool writeAllAt(int fd, const char* data, std::size_t size, off_t offset);
// Copies `size` bytes from the start of `from` to the start of `to`; false (errno set) on failure.
bool copyContents(int from, int to, off_t size);

}  // namespace host::sla::file
