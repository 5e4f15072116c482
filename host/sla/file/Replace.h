#pragma once

// Shared by the two ways of replacing a document file (Replace.cpp,
// ReplaceInPlace.cpp); not part of the folder's interface.

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "host/sla/file/DocumentFile.h"
#include "host/sla/file/Posix.h"

namespace host::sla::file {

// The file a save replaces, as it is on disk just before.
struct DocumentFile::Target {
    std::filesystem::path path;  // links followed
    struct stat info {};
};

// A temporary file that is removed again unless kept.
class Temporary {
public:
    // A new file beside `target` named after it, or, when its folder refuses
    // one (errno EACCES or EPERM), nothing: then created() is false.
    static Temporary besideTarget(const std::filesystem::path& target);
    // A new file in the system's temporary folder.
    static Temporary inTemporaryFolder(const std::filesystem::path& target);
    ~Temporary();
    Temporary(Temporary&& other) noexcept;
    Temporary& operator=(Temporary&& other) noexcept;

    bool created() const { return m_fd.valid(); }
    int fd() const { return m_fd.get(); }
    const std::string& name() const { return m_name; }
    bool beside() const { return m_beside; }
    // After a rename or to leave the file for the user: it is no longer removed.
    void keep() { m_keep = true; }
    bool close() { return m_fd.close(); }

private:
    Temporary() = default;
    void discard();
    Descriptor m_fd;
    std::string m_name;
    bool m_beside = false;
    bool m_keep = false;
};

std::filesystem::path folderOf(const std::filesystem::path& target);
// The system's temporary folder (TMPDIR, else /tmp).
std::filesystem::path temporaryFolder();

// What a save leaves behind only when it does not finish. The rewrite in
// place keeps the old version as NAME.quarvel-backup beside the file or,
// where its folder refuses new files, in the temporary folder under a name
// made of the file's device and inode; the rename path writes the new
// version to .NAME.quarvel-XXXXXX beside it.
inline constexpr char kBackupSuffix[] = ".quarvel-backup";
inline constexpr char kTemporaryMark[] = ".quarvel-";
std::filesystem::path backupBeside(const std::filesystem::path& target);
std::string backupElsewherePrefix(const struct stat& info);

// Refuses, with a FileError naming it, a file that such a backup belongs
// to; removes such temporary files of it that no process holds and that are
// provably stale, and refuses one it cannot tell about.
void refuseLeftovers(const std::filesystem::path& path, const struct stat& info);

}  // namespace host::sla::file
