#include "host/sla/file/Processes.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace host::sla::file {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using Dir = std::unique_ptr<DIR, DirCloser>;

bool numeric(const char* name, long& value) {
    const char* end = name;
    while (*end != '\0') {
        ++end;
    }
    const auto [ptr, error] = std::from_chars(name, end, value);
    return error == std::errc() && ptr == end && value > 0;
}

// Whether descriptor `fd` of the process in `folder` (/proc/PID) was opened
// for writing: its flags in fdinfo, in octal.
bool openForWriting(const std::string& folder, const char* fd) {
    std::ifstream info(folder + "/fdinfo/" + fd);
    std::string key;
    while (info >> key) {
        if (key == "flags:") {
            std::string flags;
            info >> flags;
            const long value = std::strtol(flags.c_str(), nullptr, 8);
            return (value & O_ACCMODE) == O_WRONLY || (value & O_ACCMODE) == O_RDWR;
        }
        std::getline(info, key);
    }
    return false;
}

std::string programName(const std::string& folder) {
    std::ifstream comm(folder + "/comm");
    std::string name;
    std::getline(comm, name);
    return name.empty() ? std::string("a program") : name;
}

}  // namespace

Holders holdersOf(dev_t device, ino_t inode, uid_t owner) {
    Holders holders;
    const Dir processes(::opendir("/proc"));
    if (!processes) {
        holders.complete = false;
        return holders;
    }
    const pid_t self = ::getpid();
    const bool privileged = ::geteuid() == 0;
    while (const dirent* entry = ::readdir(processes.get())) {
        long pid = 0;
        if (!numeric(entry->d_name, pid) || pid == self) {
            continue;
        }
        const std::string folder = std::string("/proc/") + entry->d_name;
        const Dir fds(::opendir((folder + "/fd").c_str()));
        if (!fds) {
            struct stat process {};
            // Gone meanwhile, or another user's whom the file does not belong to.
            if (::stat(folder.c_str(), &process) == 0 && (privileged || process.st_uid == owner)) {
                holders.complete = false;
            }
            continue;
        }
        Holder holder{static_cast<pid_t>(pid), {}, false};
        bool holds = false;
        while (const dirent* fd = ::readdir(fds.get())) {
            struct stat file {};
            if (fd->d_name[0] == '.' ||
                ::stat((folder + "/fd/" + fd->d_name).c_str(), &file) != 0 ||
                file.st_dev != device || file.st_ino != inode) {
                continue;
            }
            holds = true;
            holder.writing = holder.writing || openForWriting(folder, fd->d_name);
        }
        if (holds) {
            holder.name = programName(folder);
            holders.list.push_back(std::move(holder));
        }
    }
    return holders;
}

std::string describe(const Holder& holder) {
    return "\"" + holder.name + "\" (process " + std::to_string(holder.pid) + ")";
}

}  // namespace host::sla::file
