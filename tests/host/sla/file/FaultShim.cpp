// Preloaded into a saving process by the fault tests: the file system calls
// a save makes go through here, where the environment can make one fail or
// stop the process right after it, and where each call can be logged.
//   QUARVEL_FAULT_LOG=FILE     each call's name, a line each, appended to FILE
//   QUARVEL_FAULT_FAIL=NAME:N:ERRNO[,...]  the Nth call of NAME fails with ERRNO
//   QUARVEL_FAULT_SIGNAL=K:SIGNAL  after the Kth call of any name, raise SIGNAL

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kNames[] = {"write",     "pwrite",    "fsync", "rename",
                                  "ftruncate", "fallocate", "link"};
constexpr int kNameCount = sizeof kNames / sizeof kNames[0];
int g_calls[kNameCount] = {};
int g_all = 0;

int indexOf(const char* name) {
    for (int i = 0; i < kNameCount; ++i) {
        if (std::strcmp(kNames[i], name) == 0) {
            return i;
        }
    }
    return -1;
}

void log(const char* name) {
    const char* path = std::getenv("QUARVEL_FAULT_LOG");
    if (path == nullptr) {
        return;
    }
    // Straight to the kernel: the calls logged are the ones intercepted here.
    const int fd = static_cast<int>(
        ::syscall(SYS_openat, AT_FDCWD, path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600));
    if (fd >= 0) {
        ::syscall(SYS_write, fd, name, std::strlen(name));
        ::syscall(SYS_write, fd, "\n", 1);
        ::syscall(SYS_close, fd);
    }
}

// Counts the call; the errno it is to fail with, or 0.
int before(const char* name) {
    const int index = indexOf(name);
    const int nth = ++g_calls[index];
    log(name);
    const char* failures = std::getenv("QUARVEL_FAULT_FAIL");
    for (const char* at = failures; at != nullptr && *at != '\0';) {
        const char* colon = std::strchr(at, ':');
        if (colon == nullptr) {
            break;
        }
        char* end = nullptr;
        const long n = std::strtol(colon + 1, &end, 10);
        const long error = *end == ':' ? std::strtol(end + 1, &end, 10) : EIO;
        if (static_cast<std::size_t>(colon - at) == std::strlen(name) &&
            std::strncmp(at, name, std::strlen(name)) == 0 && n == nth) {
            return static_cast<int>(error);
        }
        at = *end == ',' ? end + 1 : nullptr;
    }
    return 0;
}

void after() {
    ++g_all;
    const char* stop = std::getenv("QUARVEL_FAULT_SIGNAL");
    if (stop == nullptr) {
        return;
    }
    char* end = nullptr;
    const long k = std::strtol(stop, &end, 10);
    const int signal = *end == ':' ? static_cast<int>(std::strtol(end + 1, nullptr, 10)) : SIGKILL;
    if (k == g_all) {
        ::raise(signal);
    }
}

template <class Function>
Function real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

// Runs the real call unless it is to fail.
template <class Result, class Call>
Result intercept(const char* name, Call call) {
    if (const int error = before(name); error != 0) {
        after();
        errno = error;
        return static_cast<Result>(-1);
    }
    const Result result = call();
    const int saved = errno;
    after();
    errno = saved;
    return result;
}

}  // namespace

extern "C" {

ssize_t write(int fd, const void* data, size_t size) {
    static const auto call = real<ssize_t (*)(int, const void*, size_t)>("write");
    return intercept<ssize_t>("write", [&] { return call(fd, data, size); });
}

ssize_t pwrite(int fd, const void* data, size_t size, off_t offset) {
    static const auto call = real<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    return intercept<ssize_t>("pwrite", [&] { return call(fd, data, size, offset); });
}

ssize_t pwrite64(int fd, const void* data, size_t size, off_t offset) {
    static const auto call = real<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite64");
    return intercept<ssize_t>("pwrite", [&] { return call(fd, data, size, offset); });
}

int fsync(int fd) {
    static const auto call = real<int (*)(int)>("fsync");
    return intercept<int>("fsync", [&] { return call(fd); });
}

int rename(const char* from, const char* to) {
    static const auto call = real<int (*)(const char*, const char*)>("rename");
    return intercept<int>("rename", [&] { return call(from, to); });
}

int link(const char* from, const char* to) {
    static const auto call = real<int (*)(const char*, const char*)>("link");
    return intercept<int>("link", [&] { return call(from, to); });
}

int ftruncate(int fd, off_t size) {
    static const auto call = real<int (*)(int, off_t)>("ftruncate");
    return intercept<int>("ftruncate", [&] { return call(fd, size); });
}

int ftruncate64(int fd, off_t size) {
    static const auto call = real<int (*)(int, off_t)>("ftruncate64");
    return intercept<int>("ftruncate", [&] { return call(fd, size); });
}

int fallocate(int fd, int mode, off_t offset, off_t size) {
    static const auto call = real<int (*)(int, int, off_t, off_t)>("fallocate");
    return intercept<int>("fallocate", [&] { return call(fd, mode, offset, size); });
}

int fallocate64(int fd, int mode, off_t offset, off_t size) {
    static const auto call = real<int (*)(int, int, off_t, off_t)>("fallocate64");
    return intercept<int>("fallocate", [&] { return call(fd, mode, offset, size); });
}

}  // extern "C"
