// What a save that did not finish left beside a document, found when the
// document is opened again: the old version kept by a rewrite in place is
// named and the document refused until the user has chosen; the rename
// path's temporary file, which the document never depends on, is removed
// when nothing can still be writing it.

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "host/sla/file/FileError.h"
#include "host/sla/file/Processes.h"
#include "host/sla/file/Replace.h"

namespace host::sla::file {

namespace {

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool sameFile(const std::filesystem::path& path, const struct stat& info) {
    struct stat other {};
    return ::stat(path.c_str(), &other) == 0 && other.st_dev == info.st_dev &&
           other.st_ino == info.st_ino;
}

// Calls `visit` with each entry of `folder`; a folder that cannot be read has none.
template <class Visit>
void forEachEntry(const std::filesystem::path& folder, Visit visit) {
    std::error_code error;
    std::filesystem::directory_iterator entry(folder, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        visit(entry->path());
    }
}

// A temporary file is stale when no process holds it and every process that
// could have made it was looked at; it is then removed. False when that
// cannot be told.
bool settleTemporary(const std::filesystem::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return true;
    }
    const Holders holders = holdersOf(info.st_dev, info.st_ino, info.st_uid);
    if (!holders.list.empty()) {
        return true;  // a save in progress
    }
    return holders.complete && info.st_uid == ::geteuid() && ::unlink(path.c_str()) == 0;
}

}  // namespace

std::filesystem::path backupBeside(const std::filesystem::path& target) {
    return folderOf(target) / (target.filename().string() + kBackupSuffix);
}

std::string backupElsewherePrefix(const struct stat& info) {
    return "quarvel-backup-" + std::to_string(info.st_dev) + "-" + std::to_string(info.st_ino) +
           "-";
}

void refuseLeftovers(const std::filesystem::path& path, const struct stat& info) {
    std::error_code error;
    const std::filesystem::path target =
        std::filesystem::is_symlink(path, error) ? std::filesystem::canonical(path, error) : path;
    if (error) {
        return;
    }
    // Beside the file, under any of its names there (its hard links).
    const std::string name = target.filename().string();
    std::vector<std::filesystem::path> backups;
    std::vector<std::filesystem::path> unsettled;
    forEachEntry(folderOf(target), [&](const std::filesystem::path& entry) {
        const std::string entryName = entry.filename().string();
        if (endsWith(entryName, kBackupSuffix)) {
            const std::string base =
                entryName.substr(0, entryName.size() - sizeof kBackupSuffix + 1);
            if (base == name || sameFile(folderOf(target) / base, info)) {
                backups.push_back(entry);
            }
        }
        const std::size_t mark = entryName.rfind(kTemporaryMark);
        if (entryName.size() > 1 && entryName[0] == '.' && mark != std::string::npos &&
            entryName.size() == mark + sizeof kTemporaryMark - 1 + 6) {
            const std::string base = entryName.substr(1, mark - 1);
            if ((base == name || sameFile(folderOf(target) / base, info)) &&
                !settleTemporary(entry)) {
                unsettled.push_back(entry);
            }
        }
    });
    const std::string prefix = backupElsewherePrefix(info);
    forEachEntry(temporaryFolder(), [&](const std::filesystem::path& entry) {
        if (entry.filename().string().rfind(prefix, 0) == 0) {
            backups.push_back(entry);
        }
    });
    if (!backups.empty()) {
        throw FileError("a save that did not finish left its old version in \"" +
                        backups.front().string() +
                        "\"; put that back or delete it, then run Quarvel again");
    }
    if (!unsettled.empty()) {
        throw FileError("a save that did not finish left \"" + unsettled.front().string() +
                        "\" beside it; delete that file, then run Quarvel again");
    }
}

}  // namespace host::sla::file
