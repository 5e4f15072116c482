#pragma once

// Which other processes hold a file open, as Linux shows them under /proc.
// Only processes whose descriptors this process may read are seen: all of
// them for the superuser, the user's own otherwise. Not part of the folder's
// interface.

#include <sys/types.h>

#include <string>
#include <vector>

namespace host::sla::file {

struct Holder {
    pid_t pid = 0;
    std::string name;  // the program's name, as /proc/PID/comm gives it
    bool writing = false;
};

struct Holders {
    std::vector<Holder> list;  // never this process
    // False when a process that might hold the file could not be looked at:
    // one of the file owner's, or any when this process is not the superuser
    // and the owner is someone else.
    bool complete = true;
};

// The processes other than this one with the file (device, inode) open.
Holders holdersOf(dev_t device, ino_t inode, uid_t owner);

// "NAME" (process PID)
std::string describe(const Holder& holder);

}  // namespace host::sla::file
