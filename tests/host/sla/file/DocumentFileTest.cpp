// Opening: only regular files of a sane size are read, before anything is
// read from them (a pipe or a device never makes the tool wait or fill its
// memory); the text comes in one piece, gzip recognised by its content, and
// can be read again exactly.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "FileTestSupport.h"
#include "host/sla/file/DocumentFile.h"
#include "host/sla/file/FileError.h"
#include "host/sla/file/Gzip.h"

namespace {

using host::sla::file::DocumentFile;
using host::sla::file::FileError;
using host::sla::file::FileText;
using testing::HasSubstr;

std::string openError(const std::filesystem::path& path) {
    try {
        FileText text;
        DocumentFile::open(path, text);
    } catch (const FileError& error) {
        return error.what();
    }
    return "opened";
}

void makeSocket(const std::filesystem::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

TEST(DocumentFile, OnlyRegularFilesOfASaneSizeAreOpened) {
    filetest::Scratch folder;
    // A pipe with no writer: reading it would wait for ever.
    ASSERT_EQ(::mkfifo((folder / "pipe.sla").c_str(), 0600), 0);
    makeSocket(folder / "socket.sla");
    std::filesystem::create_symlink("/dev/zero", folder / "zero.sla");
    std::filesystem::create_symlink("nowhere.sla", folder / "dangling.sla");
    // Sparse: no disk space, and no byte of it may be read.
    const int huge = ::open((folder / "huge.sla").c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_EQ(::ftruncate(huge, static_cast<off_t>(host::sla::file::kMaxDocumentBytes) + 1), 0);
    ::close(huge);
    struct Row {
        std::filesystem::path path;
        const char* reason;
    };
    const Row rows[] = {
        {folder.path(), "it is a folder, not a file"},
        {folder / "pipe.sla", "it is a named pipe (FIFO), not a file"},
        {folder / "socket.sla", "it is a socket, not a file"},
        {"/dev/null", "it is a device, not a file"},
        {folder / "zero.sla", "it is a device, not a file"},
        {folder / "huge.sla",
         "it is 1.1 GiB, larger than 1 GiB, the largest document that can be opened"},
        {folder / "missing.sla", "the file does not exist"},
        {folder / "dangling.sla", "it is a link to \"nowhere.sla\", which does not exist"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path.string());
        EXPECT_EQ(openError(row.path), row.reason);
    }
    struct stat info {};
    ASSERT_EQ(::stat((folder / "pipe.sla").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(DocumentFile, UnreadableFilesAreRefusedWithTheReason) {
    filetest::Scratch folder;
    const auto path = folder.write("locked.sla", "<x/>");
    ::chmod(path.c_str(), 0);
    filetest::handOver(folder.path());
    EXPECT_EQ(filetest::runUnprivileged([&] {
                  const std::string message = openError(path);
                  return message.find("the file cannot be read (Permission denied)") == 0
                             ? std::string()
                             : message;
              }),
              "");
}

TEST(DocumentFile, TheTextIsReadWholeAndAgainExactly) {
    filetest::Scratch folder;
    const std::string text =
        "<SCRIBUSUTF8NEW Version=\"1.6.3\">\n\t&amp; \xC3\xA9</SCRIBUSUTF8NEW>\n";
    struct Row {
        const char* name;
        std::string contents;
        bool compressed;
    };
    // Compression is told by the content, not by the name.
    const Row rows[] = {{"plain.sla", text, false},
                        {"named.sla.gz", text, false},
                        {"packed.sla", filetest::compress(text), true},
                        {"packed.sla.gz", filetest::compress(text), true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FileText read;
        const auto file = DocumentFile::open(folder.write(row.name, row.contents), read);
        EXPECT_EQ(file->compressed(), row.compressed);
        ASSERT_EQ(std::string(read.data.get(), read.size), text);
        EXPECT_EQ(read.data[read.size], '\0');
        EXPECT_EQ(filetest::readAll(*file->readAgain()), text);
        EXPECT_EQ(filetest::readAll(*file->readAgain()), text);  // each time from the first byte
    }
}

TEST(DocumentFile, ADamagedCompressedFileIsNamedSo) {
    filetest::Scratch folder;
    const std::string packed = filetest::compress(std::string(20000, 'x'));
    EXPECT_THAT(openError(folder.write("short.sla.gz", packed.substr(0, packed.size() - 30))),
                HasSubstr("cut short"));
}

TEST(DocumentFile, ReadingAgainNoticesAFileShortenedInPlace) {
    filetest::Scratch folder;
    const auto path = folder.write("a.sla", std::string(10000, 'a'));
    FileText text;
    const auto file = DocumentFile::open(path, text);
    ASSERT_EQ(::truncate(path.c_str(), 100), 0);
    try {
        filetest::readAll(*file->readAgain());
        ADD_FAILURE() << "the shortened file was read";
    } catch (const FileError& error) {
        EXPECT_THAT(error.what(), HasSubstr("changed by another program"));
    }
}

}  // namespace
