// Another program at the document while it is open: a change after the last
// check is refused, never mixed into the save nor overwritten; a process
// holding it open for writing is named; and what an unfinished save left
// beside it is found when it is opened again.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <functional>

#include "FileTestSupport.h"
#include "host/sla/file/DocumentFile.h"
#include "host/sla/file/FileError.h"

namespace {

using host::sla::file::ByteSink;
using host::sla::file::FileError;

const std::string kOurs = "<old text=\"as read\"/>\n";
const std::string kTheirs = "<new text=\"by them\"/>\n";  // the same size

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileError& error) {
        return error.what();
    }
    return "no error";
}

// Writes `text` into the file in place and gives it back its modification time.
void editKeepingTime(const std::filesystem::path& path, const std::string& text) {
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, text.data(), text.size(), 0), static_cast<ssize_t>(text.size()));
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    ASSERT_EQ(::futimens(fd, times), 0);
    ::close(fd);
}

const char* const kChanged = "it was changed by another program since it was opened";

TEST(Conflict, AChangeWhileTheNewVersionIsWrittenIsRefusedAndKept) {
    struct Row {
        const char* name;
        bool inPlace;   // a second hard link makes the save rewrite in place
        bool replaced;  // by a rename, else edited in place with its time restored
    };
    const Row rows[] = {{"renamed over, rename path", false, true},
                        {"edited in place, rename path", false, false},
                        {"renamed over, in-place path", true, true},
                        {"edited in place, in-place path", true, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        filetest::Scratch folder;
        const auto path = folder.write("doc.sla", kOurs);
        if (row.inPlace) {
            std::filesystem::create_hard_link(path, folder / "link.sla");
        }
        const auto file = filetest::openFile(path);
        // The other program acts after the save's first look at the file.
        EXPECT_EQ(errorOf([&] {
                      file->replace([&](ByteSink& out) {
                          if (row.replaced) {
                              std::filesystem::rename(folder.write("theirs", kTheirs), path);
                          } else {
                              editKeepingTime(path, kTheirs);
                          }
                          out.write("<mine/>\n");
                      });
                  }),
                  kChanged);
        EXPECT_EQ(filetest::readFile(path), kTheirs);
        EXPECT_EQ(folder.listing(), row.inPlace ? "doc.sla link.sla" : "doc.sla");
    }
}

TEST(Conflict, TheTextIsNeverReadAgainFromAFileChangedUnderItsTime) {
    filetest::Scratch folder;
    const auto path = folder.write("doc.sla", kOurs);
    const auto file = filetest::openFile(path);
    editKeepingTime(path, kTheirs);
    EXPECT_EQ(errorOf([&] {
                  char piece[64];
                  file->readAgain()->read(piece, sizeof piece);
              }),
              kChanged);
    // Nor does a save splice it in: it copies from what was read.
    EXPECT_EQ(errorOf([&] {
                  file->replace([&](ByteSink& out) {
                      char piece[64];
                      const auto source = file->readAgain();
                      for (std::size_t got; (got = source->read(piece, sizeof piece)) > 0;) {
                          out.write(piece, got);
                      }
                  });
              }),
              kChanged);
    EXPECT_EQ(filetest::readFile(path), kTheirs);
}

TEST(Conflict, AProcessHoldingTheFileOpenForWritingIsNamed) {
    filetest::Scratch folder;
    const auto path = folder.write("doc.sla", kOurs);
    const auto file = filetest::openFile(path);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
        ::write(ready[1], fd >= 0 ? "y" : "n", 1);
        ::pause();
        ::_exit(0);
    }
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    ASSERT_EQ(answer, 'y');
    std::string name;
    std::getline(std::ifstream("/proc/" + std::to_string(holder) + "/comm"), name);
    EXPECT_EQ(errorOf([&] { file->replace([](ByteSink& out) { out.write("<mine/>\n"); }); }),
              "\"" + name + "\" (process " + std::to_string(holder) +
                  ") has it open for writing; close it there and run Quarvel again");
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(filetest::readFile(path), kOurs);
    EXPECT_EQ(folder.listing(), "doc.sla");
    // Once it is gone, the save goes ahead.
    file->replace([](ByteSink& out) { out.write("<mine/>\n"); });
    EXPECT_EQ(filetest::readFile(path), "<mine/>\n");
}

TEST(Conflict, ABackupLeftBesideTheFileIsNamedUnderAnyOfItsNames) {
    filetest::Scratch folder;
    const auto path = folder.write("doc.sla", kOurs);
    std::filesystem::create_hard_link(path, folder / "link.sla");
    const auto backup = folder.write("doc.sla.quarvel-backup", "<older/>\n");
    for (const char* name : {"doc.sla", "link.sla"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(errorOf([&] { filetest::openFile(folder / name); }),
                  "a save that did not finish left its old version in \"" + backup.string() +
                      "\"; put that back or delete it, then run Quarvel again");
    }
    // A backup of another file with a name of its own is no business of this one.
    std::filesystem::remove(backup);
    folder.write("other.sla.quarvel-backup", "<older/>\n");
    EXPECT_NO_THROW(filetest::openFile(path));
}

TEST(Conflict, ATemporaryFileLeftBesideTheFileIsRemovedUnlessInUse) {
    filetest::Scratch folder;
    const auto path = folder.write("doc.sla", kOurs);
    folder.write(".doc.sla.quarvel-Ab12Cd", "<half");
    folder.write(".doc.sla.backup", "the user's own");  // not ours: left alone
    const auto busy = folder.write(".doc.sla.quarvel-Ef34Gh", "<being written");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const int fd = ::open(busy.c_str(), O_RDWR);
        ::write(ready[1], fd >= 0 ? "y" : "n", 1);
        ::pause();
        ::_exit(0);
    }
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    EXPECT_NO_THROW(filetest::openFile(path));
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(folder.listing(), ".doc.sla.backup .doc.sla.quarvel-Ef34Gh doc.sla");
}

TEST(Conflict, ATemporaryFileThatCannotBeToldStaleIsNamed) {
    // Someone else's (the superuser's, when the test runs as root): whether
    // one of their processes still writes it is not for an ordinary user to
    // see. Run as that user, only a file of one's own is removed.
    filetest::Scratch folder;
    const auto path = folder.write("doc.sla", kOurs);
    const auto left = folder.write(".doc.sla.quarvel-Ab12Cd", "<half");
    filetest::handOver(folder.path());
    const bool othersFile = ::geteuid() == 0 && ::chown(left.c_str(), 0, 0) == 0;
    const std::string expected = othersFile
                                     ? "a save that did not finish left \"" + left.string() +
                                           "\" beside it; delete that file, then run Quarvel again"
                                     : "no error";
    EXPECT_EQ(filetest::runUnprivileged([&]() -> std::string {
                  const std::string error = errorOf([&] { filetest::openFile(path); });
                  return error == expected ? "" : error;
              }),
              "");
    EXPECT_EQ(std::filesystem::exists(left), othersFile);
}

}  // namespace
