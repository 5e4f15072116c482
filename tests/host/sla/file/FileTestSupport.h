#pragma once

// Shared by the file tests (and the .sla host tests): scratch folders, whole
// files, and running as an ordinary user. Permissions do not bind the
// superuser, and CI runs as root: tests of what a user may not do run their
// body in a child process that, when started by the superuser, first becomes
// an unprivileged user.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "host/sla/file/ByteStream.h"
#include "host/sla/file/DocumentFile.h"

namespace filetest {

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& text);
// Everything `source` yields, to its end.
std::string readAll(host::sla::file::ByteSource& source);
// `text` gzip-compressed as the .sla.gz writer compresses it.
std::string compress(const std::string& text);
// Opens `path` for a later save, keeping nothing of its text.
std::unique_ptr<host::sla::file::DocumentFile> openFile(const std::filesystem::path& path);

// A fresh folder, removed with everything in it at the end of the test.
class Scratch {
public:
    Scratch();
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
    std::filesystem::path write(const std::string& name, const std::string& text) const;
    // Names of the entries in the folder, sorted.
    std::string listing() const;

private:
    std::filesystem::path m_path;
};

// The user the child runs as when this process is the superuser (nobody).
inline constexpr unsigned kUnprivilegedId = 65534;

// Runs `body` in a child process; returns what it returned (empty for
// success, else what went wrong) or how the child failed.
std::string runUnprivileged(const std::function<std::string()>& body);

// Gives `path` and everything in it to the user the child runs as, so that
// the child owns its scratch files as an ordinary user owns theirs.
void handOver(const std::filesystem::path& path);

}  // namespace filetest
